#include "NcTestSupport.h"

#include "nc/MControl.h"

#include <QTest>
#include "support/TestRegistry.h"

Q_DECLARE_METATYPE(AxisMap)

// Block skips, comments and end-of-block characters, the removal of comment brackets, and the
// axis switch.
class MarkAndSwitchTests : public QObject {
    Q_OBJECT

private slots:
    void markLines_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<QByteArray>("suffix");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("block skips, own breaks kept") << QByteArray("G01\r\nX1\nY2\r\n") << QByteArray("/")
                                                      << QByteArray() << QByteArray("/G01\r\n/X1\n/Y2\r\n");
        QTest::newRow("last line without a break gets none")
            << QByteArray("A\r\nB") << QByteArray("/") << QByteArray() << QByteArray("/A\r\n/B");
        QTest::newRow("comments, empty line too") << QByteArray("G01 (X)\r\n\r\nM30") << QByteArray("(")
                                                  << QByteArray(")") << QByteArray("(G01 (X))\r\n()\r\n(M30)");
        QTest::newRow("end of blocks after trailing blanks")
            << QByteArray("G01  \r\nX1") << QByteArray() << QByteArray(";") << QByteArray("G01  ;\r\nX1;");
        QTest::newRow("several characters") << QByteArray("G01") << QByteArray() << QByteArray("EOB")
                                            << QByteArray("G01EOB");
        QTest::newRow("twice gives two marks") << QByteArray("/G01") << QByteArray("/") << QByteArray()
                                               << QByteArray("//G01");
        QTest::newRow("one empty line in the middle") << QByteArray("\r\n") << QByteArray("/") << QByteArray()
                                                      << QByteArray("/\r\n");
        QTest::newRow("nothing after the final break") << QByteArray("A\n") << QByteArray("(") << QByteArray(")")
                                                       << QByteArray("(A)\n");
        QTest::newRow("no lines at all") << QByteArray() << QByteArray("/") << QByteArray() << QByteArray();
        QTest::newRow("CR alone is part of the line") << QByteArray("A\rB\n") << QByteArray("/") << QByteArray()
                                                      << QByteArray("/A\rB\n");
    }
    void markLines()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QByteArray, prefix);
        QFETCH(QByteArray, suffix);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(MarkLines(View(lines), View(prefix), View(suffix))), expected);
    }

    void markLinesOfALongProgram()
    {
        QByteArray program;
        QByteArray expected;
        for (int i = 0; i < 5000; ++i) {
            const QByteArray line = "N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i);
            program += line + (i % 2 ? "\n" : "\r\n");
            expected += "/" + line + "$" + (i % 2 ? "\n" : "\r\n");
        }
        QCOMPARE(Bytes(MarkLines(View(program), "/", "$")), expected);
    }

    void removeCommentBrackets_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("words stay, spaces as they were") << QByteArray("G01 (A B) X1") << QByteArray("G01 A B X1");
        QTest::newRow("nested") << QByteArray("((A))") << QByteArray("A");
        QTest::newRow("unbalanced, across lines") << QByteArray("(A\r\nB)\r\n)C(")
                                                  << QByteArray("A\r\nB\r\nC");
        QTest::newRow("nothing to remove") << QByteArray("G01 X1\n") << QByteArray("G01 X1\n");
    }
    void removeCommentBrackets()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(RemoveCommentBrackets(View(input))), expected);
    }

    void switchAxes_data()
    {
        QTest::addColumn<AxisMap>("map");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray block("G01 X1 Y2 Z3");
        QTest::newRow("X and Y") << AxisMap{'Y', 'X', 'Z'} << block << QByteArray("G01 Y1 X2 Z3");
        QTest::newRow("X and Z") << AxisMap{'Z', 'Y', 'X'} << block << QByteArray("G01 Z1 Y2 X3");
        QTest::newRow("Y and Z") << AxisMap{'X', 'Z', 'Y'} << block << QByteArray("G01 X1 Z2 Y3");
        QTest::newRow("rotation XYZ -> YZX") << AxisMap{'Y', 'Z', 'X'} << block << QByteArray("G01 Y1 Z2 X3");
        QTest::newRow("rotation XYZ -> ZXY") << AxisMap{'Z', 'X', 'Y'} << block << QByteArray("G01 Z1 X2 Y3");
        QTest::newRow("question mark stays") << AxisMap{'Y', 'X', 'Z'} << QByteArray("(WHAT?) X1 ?")
                                             << QByteArray("(WHAT?) Y1 ?");
        QTest::newRow("words outside comments too") << AxisMap{'Y', 'X', 'Z'} << QByteArray("MAX Y\r\nX1")
                                                    << QByteArray("MAY X\r\nY1");
        QTest::newRow("bracket comment stays") << AxisMap{'Y', 'X', 'Z'}
                                               << QByteArray("(MATERIAL: 100 X 60 X 12) X1\r\nY2")
                                               << QByteArray("(MATERIAL: 100 X 60 X 12) Y1\r\nX2");
        QTest::newRow("unclosed bracket ends at the line end") << AxisMap{'Z', 'Y', 'X'}
                                                               << QByteArray("X1 (OPEN X\r\nX2 (Z)")
                                                               << QByteArray("Z1 (OPEN X\r\nZ2 (Z)");
        QTest::newRow("semicolon comment stays") << AxisMap{'Y', 'Z', 'X'}
                                                 << QByteArray("X1 ;X Y (Z\nY2;\r\nZ3")
                                                 << QByteArray("Y1 ;X Y (Z\nZ2;\r\nX3");
        QTest::newRow("capitals only") << AxisMap{'Y', 'X', 'Z'} << QByteArray("x1 y2 X3")
                                       << QByteArray("x1 y2 Y3");
        QTest::newRow("bytes above ASCII kept") << AxisMap{'Z', 'Y', 'X'} << QByteArray("X\xc3\xa9Z\xff")
                                                << QByteArray("Z\xc3\xa9X\xff");
    }
    void switchAxes()
    {
        QFETCH(AxisMap, map);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QVERIFY(map.IsPermutation());
        QCOMPARE(Bytes(SwitchAxes(View(input), map)), expected);
    }

    void onlyPermutationsAreTaken_data()
    {
        QTest::addColumn<AxisMap>("map");
        QTest::addColumn<bool>("permutation");
        QTest::newRow("identity") << AxisMap{} << true;
        QTest::newRow("X X X") << AxisMap{'X', 'X', 'X'} << false;
        QTest::newRow("Y X X") << AxisMap{'Y', 'X', 'X'} << false;
        QTest::newRow("X X Y") << AxisMap{'X', 'X', 'Y'} << false;
        QTest::newRow("Z Z X") << AxisMap{'Z', 'Z', 'X'} << false;
        QTest::newRow("Y Z X") << AxisMap{'Y', 'Z', 'X'} << true;
    }
    void onlyPermutationsAreTaken()
    {
        QFETCH(AxisMap, map);
        QFETCH(bool, permutation);
        QCOMPARE(map.IsPermutation(), permutation);
    }
};

REGISTER_TEST(MarkAndSwitchTests);

#include "MarkAndSwitchTests.moc"
