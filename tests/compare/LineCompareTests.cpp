// The line compare: which lines differ, with the lines' breaks and bytes taken exactly.

#include "compare/LineCompare.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <string>

using compare::LineDifference;

Q_DECLARE_METATYPE(std::string)

namespace {

// "3" a differing line both texts have, "3<" one only the first has, "3>" only the second.
QString Describe(const std::vector<LineDifference>& lines)
{
    QStringList parts;
    for (const LineDifference& d : lines)
        parts << QString::number(d.line) + (d.inText1 && d.inText2 ? "" : d.inText1 ? "<" : ">");
    return parts.join(u' ');
}

}  // namespace

class LineCompareTests : public QObject {
    Q_OBJECT
private slots:
    void differingLines_data()
    {
        QTest::addColumn<std::string>("text1");
        QTest::addColumn<std::string>("text2");
        QTest::addColumn<QString>("expected");
        QTest::newRow("identical") << std::string("A\nB\n") << std::string("A\nB\n") << "";
        QTest::newRow("both empty") << std::string() << std::string() << "";
        QTest::newRow("one value") << std::string("N1\nN2\nG01 X10\n") << std::string("N1\nN2\nG01 X10.0\n") << "3";
        QTest::newRow("CR LF against LF") << std::string("A\r\nB") << std::string("A\nB") << "1";
        QTest::newRow("lone CR against CR LF") << std::string("A\rB\r\n") << std::string("A\r\nB\r\n") << "1";
        QTest::newRow("lone CR both") << std::string("A\rB\rC") << std::string("A\rB\rD") << "3";
        QTest::newRow("last line without break") << std::string("A\nB") << std::string("A\nBx") << "2";
        QTest::newRow("break only at one end") << std::string("A\nB") << std::string("A\nB\n") << "2";
        QTest::newRow("lone CR at the end") << std::string("A\r") << std::string("A\r\n") << "1";
        QTest::newRow("extra line at the end") << std::string("A\nB\n") << std::string("A\nB\nC\n") << "3>";
        QTest::newRow("first text longer") << std::string("A\nB\nC\nD") << std::string("A\nX\n") << "2 3< 4<";
        QTest::newRow("empty against text") << std::string() << std::string("A\n\n") << "1> 2>";
        QTest::newRow("empty lines count") << std::string("\n\n\n") << std::string("\n\nx\n") << "3";
        QTest::newRow("shifted lines are not searched") << std::string("A\nB\nC\n") << std::string("B\nC\n") << "1 2 3<";
        // The same letters in UTF-8 and in Windows-1252 are different bytes.
        QTest::newRow("encodings") << std::string("(\xC3\xA9)\n") << std::string("(\xE9)\n") << "1";
        QTest::newRow("outside ASCII") << std::string("(\xCE\xB1)\nX\n") << std::string("(\xCE\xB2)\nX\n") << "1";
        QTest::newRow("NUL inside a line") << std::string("A\0B\n", 4) << std::string("A\0C\n", 4) << "1";
        QTest::newRow("prefix of a longer line") << std::string("G1\nX") << std::string("G1 X5\nX") << "1";
    }
    void differingLines()
    {
        QFETCH(std::string, text1);
        QFETCH(std::string, text2);
        QFETCH(QString, expected);
        QCOMPARE(Describe(compare::DifferingLines(text1, text2)), expected);
        // Swapping the texts finds the same lines, with the sides swapped.
        QString swapped = expected;
        swapped.replace(u'<', u'#').replace(u'>', u'<').replace(u'#', u'>');
        QCOMPARE(Describe(compare::DifferingLines(text2, text1)), swapped);
    }

    void stepsFindWhatOneCallFinds()
    {
        std::string a, b;
        for (int i = 1; i <= 1000; ++i) {
            const std::string number = std::to_string(i);
            const char* const lineBreak = i % 3 == 0 ? "\r\n" : "\n";
            for (std::string* text : {&a, &b}) {
                text->append("N").append(number).append(" G01 X").append(std::to_string(i % 97));
                if (text == &b && i % 37 == 0)
                    text->append("1");
                text->append(lineBreak);
            }
        }
        b += "M30\n";
        const std::vector<LineDifference> whole = compare::DifferingLines(a, b);
        compare::LineCompare run(a, b);
        std::vector<LineDifference> stepped;
        std::size_t steps = 0;
        while (!run.Step(7, stepped))
            ++steps;
        QVERIFY(whole == stepped);
        QCOMPARE(whole.size(), std::size_t(1000 / 37 + 1));
        QCOMPARE(run.LinesCompared(), std::size_t(1001));
        QCOMPARE(steps + 1, std::size_t((1001 + 6) / 7));  // the last step reports the end
        // A stopped run leaves what it found so far.
        compare::LineCompare partial(a, b);
        std::vector<LineDifference> some;
        QVERIFY(!partial.Step(100, some));
        QCOMPARE(some.size(), std::size_t(2));
        QCOMPARE(partial.LinesCompared(), std::size_t(100));
    }

    void countLines_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty") << std::string() << 0;
        QTest::newRow("final break") << std::string("A\r\nB\r\n") << 2;
        QTest::newRow("no final break") << std::string("A\nB") << 2;
        QTest::newRow("lone CRs") << std::string("A\rB\r\r") << 3;
        QTest::newRow("one break") << std::string("\n") << 1;
    }
    void countLines()
    {
        QFETCH(std::string, text);
        QFETCH(int, lines);
        QCOMPARE(compare::CountLines(text), std::size_t(lines));
    }
};

REGISTER_TEST(LineCompareTests);
#include "LineCompareTests.moc"
