#include "NcTestSupport.h"

#include "nc/MControl.h"
#include "nc/RenumberText.h"

#include <QTest>

#include <climits>
#include "support/TestRegistry.h"

namespace {

NumberingSettings With(void (*change)(NumberingSettings&))
{
    NumberingSettings settings;
    change(settings);
    return settings;
}

const QByteArray NumberedProgram = "%\r\nO1000\r\n(PART)\r\nG00 X0\r\n\r\nN5 G01 X1\r\nM30";

}  // namespace

class BlockNumberTests : public QObject {
    Q_OBJECT

private slots:
    void removeBlockNumbers_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("number and its blank") << QByteArray("N10 G01 X1.0") << QByteArray("G01 X1.0");
        QTest::newRow("comment after the number keeps its N") << QByteArray("N10 (FINISH PASS)")
                                                              << QByteArray("(FINISH PASS)");
        QTest::newRow("unclosed comment keeps the rest") << QByteArray("N10 (OPEN\r\nN20 G01")
                                                         << QByteArray("(OPEN\r\nN20 G01");
        QTest::newRow("comment spans lines") << QByteArray("N10 (A\r\nN20 B)\r\nN30 C")
                                             << QByteArray("(A\r\nN20 B)\r\nC");
        QTest::newRow("comments one after another") << QByteArray("N10 (A) N20 (B") << QByteArray("(A) (B");
        QTest::newRow("blanks and digits in any mix") << QByteArray("N 10 G01") << QByteArray("G01");
        QTest::newRow("digits after blanks after digits") << QByteArray("N10 20 G01") << QByteArray("G01");
        QTest::newRow("inside a block") << QByteArray("G01N10X1") << QByteArray("G01X1");
        QTest::newRow("two numbers in a row") << QByteArray("N10N20 G01") << QByteArray("G01");
        QTest::newRow("after a block skip") << QByteArray("/N10 G01") << QByteArray("/G01");
        QTest::newRow("stray closing bracket") << QByteArray(")N10") << QByteArray(")");
        QTest::newRow("tab is no blank") << QByteArray("N10\tG01") << QByteArray("\tG01");
        QTest::newRow("line left empty") << QByteArray("N10\r\nG01") << QByteArray("\r\nG01");
        QTest::newRow("lower-case n") << QByteArray("n10 G01") << QByteArray("n10 G01");
        QTest::newRow("no N, final break") << QByteArray("G01 X1\r\nG02 X2\r\n") << QByteArray("G01 X1\r\nG02 X2\r\n");
        QTest::newRow("no N, no final break") << QByteArray("G01 X1\r\nG02 X2") << QByteArray("G01 X1\r\nG02 X2");
        QTest::newRow("LF lines") << QByteArray("N10 G01\nN20 G02\n") << QByteArray("G01\nG02\n");
        QTest::newRow("mixed breaks kept") << QByteArray("N10 A\r\nN20 B\nN30 C") << QByteArray("A\r\nB\nC");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void removeBlockNumbers()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(RemoveBlockNumbers(View(input))), expected);
    }

    // Only an N that begins a block number goes: macro words and words such as NEXT stay whole.
    void keepsWordsWithN_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("NEXT") << QByteArray("NEXT");
        QTest::newRow("SIN and END") << QByteArray("#1=SIN[30]\r\nEND1");
        QTest::newRow("AND, ROUND, FIN") << QByteArray("IF[#1AND#2]GOTO5\r\n#3=ROUND[#4]\r\nFIN2");
        QTest::newRow("N followed by a word") << QByteArray("N G01");
        QTest::newRow("N at the end") << QByteArray("G01 N");
        QTest::newRow("N after a letter") << QByteArray("XN10");
    }
    void keepsWordsWithN()
    {
        QFETCH(QByteArray, input);
        QCOMPARE(Bytes(RemoveBlockNumbers(View(input))), input);
    }

    void insertBlockNumbers_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<NumberingSettings>("settings");
        QTest::addColumn<QByteArray>("expected");
        const NumberingSettings defaults;
        QTest::newRow("defaults") << NumberedProgram << defaults
                                  << QByteArray("%\r\nO1000\r\n(PART)\r\nN010G00 X0\r\n\r\nN020G01 X1\r\nN030M30");
        QTest::newRow("space") << NumberedProgram << With([](NumberingSettings& s) { s.Space = 1; })
                               << QByteArray("%\r\nO1000\r\n(PART)\r\nN010 G00 X0\r\n\r\nN020 G01 X1\r\nN030 M30");
        QTest::newRow("no N") << NumberedProgram << With([](NumberingSettings& s) { s.N = 0; })
                              << QByteArray("%\r\nO1000\r\n(PART)\r\n010G00 X0\r\n\r\n020G01 X1\r\n030M30");
        QTest::newRow("no N, space") << NumberedProgram << With([](NumberingSettings& s) { s.N = 0; s.Space = 1; })
                                     << QByteArray("%\r\nO1000\r\n(PART)\r\n010 G00 X0\r\n\r\n020 G01 X1\r\n030 M30");
        QTest::newRow("blank lines numbered") << NumberedProgram << With([](NumberingSettings& s) { s.BlankLines = 1; })
                                              << QByteArray("%\r\nO1000\r\n(PART)\r\nN010G00 X0\r\nN020\r\nN030G01 X1\r\nN040M30");
        QTest::newRow("other N option writes no number")
            << QByteArray("G01\r\nG02") << With([](NumberingSettings& s) { s.N = 2; }) << QByteArray("G01\r\nG02");
        QTest::newRow("restart") << QByteArray("G00 X0\r\nG01 X1\r\nG01 X2\r\nG01 X3\r\nM30\r\n")
                                 << With([](NumberingSettings& s) { s.RestartNum = 30; })
                                 << QByteArray("N010G00 X0\r\nN020G01 X1\r\nN030G01 X2\r\nN010G01 X3\r\nN020M30\r\n");
        QTest::newRow("start 5") << QByteArray("G01") << With([](NumberingSettings& s) { s.Startnumber = 5; })
                                 << QByteArray("N005G01");
        QTest::newRow("start 100") << QByteArray("G01") << With([](NumberingSettings& s) { s.Startnumber = 100; })
                                   << QByteArray("N100G01");
        QTest::newRow("start 1000") << QByteArray("G01")
                                    << With([](NumberingSettings& s) { s.Startnumber = 1000; s.RestartNum = 99999; })
                                    << QByteArray("N1000G01");
        QTest::newRow("start 0") << QByteArray("G01") << With([](NumberingSettings& s) { s.Startnumber = 0; })
                                 << QByteArray("N000G01");
        QTest::newRow("start -5") << QByteArray("G01") << With([](NumberingSettings& s) { s.Startnumber = -5; })
                                  << QByteArray("N00-5G01");
        QTest::newRow("counting down") << QByteArray("A\nB\nC")
                                       << With([](NumberingSettings& s) { s.Increment = -10; })
                                       << QByteArray("N010A\nN000B\nN00-10C");
        QTest::newRow("every old number goes") << QByteArray("N10 G01 N20 X1") << defaults << QByteArray("N010G01 X1");
        QTest::newRow("skip line loses its numbers unnumbered") << QByteArray("O1000 (MAIN) N5\r\nG01") << defaults
                                                                << QByteArray("O1000 (MAIN) \r\nN010G01");
        QTest::newRow("blanks-only line is no empty line") << QByteArray("   \r\nG01") << defaults
                                                           << QByteArray("N010   \r\nN020G01");
        QTest::newRow("word with N keeps it") << QByteArray("NEXT\r\nG01") << defaults
                                              << QByteArray("N010NEXT\r\nN020G01");
        QTest::newRow("line inside a comment") << QByteArray("(A\r\nB)\r\nG01") << defaults
                                               << QByteArray("(A\r\nN010B)\r\nN020G01");
        QTest::newRow("last line only a number") << QByteArray("G01\r\nN10")
                                                 << With([](NumberingSettings& s) { s.BlankLines = 1; })
                                                 << QByteArray("N010G01\r\n");
        QTest::newRow("skip entries trimmed, two characters")
            << QByteArray("O1\r\n(A)\r\n%\r\nG01\r\n O2") << SkipOnly({" O ", "(%"})
            << QByteArray("O1\r\n(A)\r\n%\r\nN010G01\r\nN020 O2");
        QTest::newRow("LF lines") << QByteArray("G00\nM30\n") << defaults << QByteArray("N010G00\nN020M30\n");
        QTest::newRow("mixed breaks kept") << QByteArray("G00\r\n\nM30\n") << defaults
                                           << QByteArray("N010G00\r\n\nN020M30\n");
        QTest::newRow("empty") << QByteArray() << defaults << QByteArray();
    }
    void insertBlockNumbers()
    {
        QFETCH(QByteArray, input);
        QFETCH(NumberingSettings, settings);
        QFETCH(QByteArray, expected);
        const NcResult result = InsertBlockNumbers(View(input), settings);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), expected);
    }

    // The "%" line put in front for the run is never numbered, so the first block gets
    // Startnumber even when "%" is not a skip character.
    void firstBlockGetsStartnumberWithoutPercentSkip()
    {
        const NcResult result = InsertBlockNumbers("G00 X0\r\nM30\r\n", SkipOnly({"(", "O"}));
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), QByteArray("N010G00 X0\r\nN020M30\r\n"));
    }

    void numbersStayInThe32BitRange_data()
    {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<NumberingSettings>("settings");
        QTest::addColumn<qint64>("line");
        QTest::newRow("whole text, counting down")
            << false << With([](NumberingSettings& s) { s.Startnumber = INT32_MIN + 5; s.Increment = -10; }) << qint64(2);
        QTest::newRow("selection, counting up")
            << true << With([](NumberingSettings& s) { s.Startnumber = INT32_MAX - 5; s.Increment = 10; }) << qint64(2);
    }
    void numbersStayInThe32BitRange()
    {
        QFETCH(bool, selection);
        QFETCH(NumberingSettings, settings);
        QFETCH(qint64, line);
        const std::string_view text = "G01\r\nG02\r\nG03";
        const NcResult result = selection ? NumberHighLightText(text, settings) : InsertBlockNumbers(text, settings);
        QVERIFY(!result.ok());
        QCOMPARE(result.error->kind, NcErrorKind::NumberOutOfRange);
        QCOMPARE(result.error->line, line);
    }

    // Whole-text numbering restarts before it can overflow.
    void restartsAtTheTopOfTheRange()
    {
        NumberingSettings settings;
        settings.Startnumber = INT32_MAX;
        settings.RestartNum = INT32_MAX;
        settings.Increment = INT32_MAX;
        const NcResult result = InsertBlockNumbers("A\nB", settings);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), QByteArray("N2147483647A\nN2147483647B"));
    }

    void numberHighLight_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<NumberingSettings>("settings");
        QTest::addColumn<QByteArray>("expected");
        const NumberingSettings defaults;
        QTest::newRow("short lines use no number") << QByteArray("G0X1\r\n\r\nX\r\nG1X2\r\n") << defaults
                                                   << QByteArray("N010G0X1\r\n\r\nX\r\nN020G1X2\r\n");
        QTest::newRow("old number and one blank") << QByteArray("N5 G01 X1") << defaults << QByteArray("N010G01 X1");
        QTest::newRow("digits and one blank") << QByteArray("123  X1") << defaults << QByteArray("N010 X1");
        QTest::newRow("word with N stays") << QByteArray("NEXT") << defaults << QByteArray("N010NEXT");
        QTest::newRow("blanks inside the old number") << QByteArray("N 5 G01") << defaults << QByteArray("N010G01");
        QTest::newRow("only at the line start") << QByteArray(" N10 G01\r\nG01 N10") << defaults
                                                << QByteArray("N010 N10 G01\r\nN020G01 N10");
        QTest::newRow("only an old number") << QByteArray("N10") << defaults << QByteArray("N010");
        QTest::newRow("no restart") << QByteArray("G1\r\nG2\r\nG3")
                                    << With([](NumberingSettings& s) { s.Startnumber = 9990; })
                                    << QByteArray("N9990G1\r\nN10000G2\r\nN10010G3");
        QTest::newRow("skip lines") << QByteArray("%\r\nO1\r\n(X)\r\nG1") << defaults
                                    << QByteArray("%\r\nO1\r\n(X)\r\nN010G1");
        QTest::newRow("blank entries are no skip characters") << QByteArray(" G1") << SkipOnly({" O"})
                                                              << QByteArray("N010 G1");
        QTest::newRow("LF, no final break") << QByteArray("G1\nG2") << defaults << QByteArray("N010G1\nN020G2");
    }
    void numberHighLight()
    {
        QFETCH(QByteArray, lines);
        QFETCH(NumberingSettings, settings);
        QFETCH(QByteArray, expected);
        const NcResult result = NumberHighLightText(View(lines), settings);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), expected);
    }

    void renumberTextReportsWhetherItNumbered()
    {
        const NumberingSettings settings;
        const SkipSet skip = SkipSet::FromSkipChars(settings.SkipChars);
        const RenumberedLine numbered = RenumberText("N5 G01", skip, 40, settings);
        QCOMPARE(numbered.text, std::string("N040G01"));
        QVERIFY(numbered.LineNumbered);
        const RenumberedLine skipped = RenumberText("(N5)", skip, 40, settings);
        QCOMPARE(skipped.text, std::string("(N5)"));
        QVERIFY(!skipped.LineNumbered);
        QVERIFY(!RenumberText("X", skip, 40, settings).LineNumbered);
    }
};

REGISTER_TEST(BlockNumberTests);

#include "BlockNumberTests.moc"
