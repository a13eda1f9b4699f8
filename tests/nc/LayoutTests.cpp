#include "NcTestSupport.h"

#include "nc/MControl.h"

#include <QTest>
#include "support/TestRegistry.h"

class LayoutTests : public QObject {
    Q_OBJECT

private slots:
    void removeBlankLines_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("one empty line") << QByteArray("A\r\n\r\nB") << QByteArray("A\r\nB");
        QTest::newRow("leading empty line") << QByteArray("\r\nA\r\nB") << QByteArray("A\r\nB");
        QTest::newRow("leading run") << QByteArray("\r\n\r\n\r\nA") << QByteArray("A");
        QTest::newRow("blanks-only line stays") << QByteArray("A\r\n  \r\nB") << QByteArray("A\r\n  \r\nB");
        QTest::newRow("trailing empty line") << QByteArray("A\r\n\r\n") << QByteArray("A\r\n");
        QTest::newRow("no final break") << QByteArray("A\r\nB") << QByteArray("A\r\nB");
        QTest::newRow("LF lines") << QByteArray("A\n\n\nB\n") << QByteArray("A\nB\n");
        QTest::newRow("mixed breaks kept") << QByteArray("A\r\n\nB\n\r\nC") << QByteArray("A\r\nB\nC");
        QTest::newRow("only empty lines") << QByteArray("\r\n\r\n") << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void removeBlankLines()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(RemoveBlankLines(View(input))), expected);
    }

    // A run of empty lines goes in one command, not half of it per run.
    void removesEveryEmptyLineInOneRun()
    {
        QCOMPARE(Bytes(RemoveBlankLines("A\r\n\r\n\r\n\r\n\r\nB\r\n\r\n\r\nC")), QByteArray("A\r\nB\r\nC"));
    }

    // Some controls ignore a last block without its end: the final break stays.
    void keepsFinalLineBreak()
    {
        QCOMPARE(Bytes(RemoveBlankLines("A\r\nB\r\n")), QByteArray("A\r\nB\r\n"));
    }

    void removeSpaces_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<NumberingSettings>("settings");
        QTest::addColumn<QByteArray>("expected");
        const NumberingSettings defaults;
        QTest::newRow("block with comment") << QByteArray("N10 G01 X 1.5 (ROUGH CUT)") << defaults
                                            << QByteArray("N10G01X1.5(ROUGH CUT)");
        QTest::newRow("skip lines keep blanks") << QByteArray("% A B\r\nO1000 (X Y)") << defaults
                                                << QByteArray("% A B\r\nO1000 (X Y)");
        QTest::newRow("after the first comment") << QByteArray("G01 X1 (A) Y 2") << defaults
                                                 << QByteArray("G01X1(A) Y 2");
        QTest::newRow("blank before a comment") << QByteArray(" (A B) C D") << defaults << QByteArray("(A B) C D");
        QTest::newRow("tab is no blank") << QByteArray("G01\tX1") << defaults << QByteArray("G01\tX1");
        QTest::newRow("blanks-only and empty lines") << QByteArray("   \r\n\r\nG0 X1") << defaults
                                                     << QByteArray("\r\n\r\nG0X1");
        QTest::newRow("other skip characters") << QByteArray("% A\r\nX 1") << SkipOnly({" X "})
                                               << QByteArray("%A\r\nX 1");
        QTest::newRow("mixed breaks kept") << QByteArray("G01 X1\r\nG02 Y2\nG03 Z3") << defaults
                                           << QByteArray("G01X1\r\nG02Y2\nG03Z3");
    }
    void removeSpaces()
    {
        QFETCH(QByteArray, input);
        QFETCH(NumberingSettings, settings);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(RemoveSpaces(View(input), settings)), expected);
    }

    void insertSpaces_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("words") << QByteArray("N10G01X1.5Y-2.0") << QByteArray("N10 G01 X1.5 Y-2.0");
        QTest::newRow("comment") << QByteArray("G01X1(CMT) Y2") << QByteArray("G01 X1 (CMT) Y2");
        QTest::newRow("block skip") << QByteArray("/1N10G00") << QByteArray("/1 N10 G00");
        QTest::newRow("lower case, empty line") << QByteArray("g01x1\r\n\r\nG02") << QByteArray("g01 x1\r\n\r\nG02");
        QTest::newRow("blank inside a word") << QByteArray("N10 G01 X 1.5") << QByteArray("N10 G01 X1.5");
        QTest::newRow("addresses without values") << QByteArray("MSG") << QByteArray("M S G");
        QTest::newRow("slash is an address") << QByteArray("X1/2") << QByteArray("X1 /2");
        QTest::newRow("trailing blanks") << QByteArray("G01 X1  \r\nG02") << QByteArray("G01 X1\r\nG02");
        QTest::newRow("unclosed comment") << QByteArray("G01X1(") << QByteArray("G01 X1 (");
        QTest::newRow("closing bracket") << QByteArray("G01)A B") << QByteArray("G01 )AB");
        QTest::newRow("sign and comma") << QByteArray("X-1.5Y+2,5") << QByteArray("X-1.5 Y+2,5");
        QTest::newRow("skip lines") << QByteArray("%\r\nO1000\r\n(A B)\r\nG1X1") << QByteArray("%\r\nO1000\r\n(A B)\r\nG1 X1");
        QTest::newRow("blanks-only line") << QByteArray("   \r\nG01X1") << QByteArray("\r\nG01 X1");
        QTest::newRow("bytes in a comment") << QByteArray("G01(\xc3\x84)") << QByteArray("G01 (\xc3\x84)");
        QTest::newRow("LF lines") << QByteArray("G01X1\nG02Y2\n") << QByteArray("G01 X1\nG02 Y2\n");
        QTest::newRow("mixed breaks kept") << QByteArray("G01X1\r\nG02Y2\nM30") << QByteArray("G01 X1\r\nG02 Y2\nM30");
    }
    void insertSpaces()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const NcResult result = InsertSpaces(View(input), NumberingSettings());
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), expected);
    }

    // A program error reports its line (every line counts, skip and empty lines too) and gives
    // no text to write.
    void insertSpacesReportsProgramError_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<qint64>("line");
        QTest::newRow("digits without address") << QByteArray("G01 X1\r\n100\r\n") << qint64(2);
        QTest::newRow("macro") << QByteArray("#100=1") << qint64(1);
        QTest::newRow("equals") << QByteArray("X1=2") << qint64(1);
        QTest::newRow("tab") << QByteArray("G01\tX1") << qint64(1);
        QTest::newRow("skip lines counted") << QByteArray("%\r\nO1\r\n(C)\r\n5") << qint64(4);
        QTest::newRow("empty lines counted") << QByteArray("G01\r\n\r\nG02\r\n=") << qint64(4);
        QTest::newRow("byte outside comments") << QByteArray("G01\xc3\x84") << qint64(1);
        QTest::newRow("LF lines") << QByteArray("G01\n5\n") << qint64(2);
    }
    void insertSpacesReportsProgramError()
    {
        QFETCH(QByteArray, input);
        QFETCH(qint64, line);
        const NcResult result = InsertSpaces(View(input), NumberingSettings());
        QVERIFY(!result.ok());
        QCOMPARE(result.error->kind, NcErrorKind::ProgramError);
        QCOMPARE(result.error->line, line);
        QVERIFY(result.text.empty());
    }

    void programErrorTextHasTwoBlanksBeforeTheNumber()
    {
        QCOMPARE(ProgramErrorText(2), std::string("Program error at line #  2"));
    }

    // One block of many addresses doubles in length: more than the first guess of the buffer.
    void insertSpacesGrowsPastItsFirstEstimate()
    {
        const std::string block(100000, 'M');
        std::string expected;
        for (std::size_t i = 0; i < block.size(); ++i)
            expected += i + 1 < block.size() ? "M " : "M\r\n";
        const NcResult result = InsertSpaces(block + "\r\n", NumberingSettings());
        QVERIFY(result.ok());
        QCOMPARE(result.text, expected);
    }
};

REGISTER_TEST(LayoutTests);

#include "LayoutTests.moc"
