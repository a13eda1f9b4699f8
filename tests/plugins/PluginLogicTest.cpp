// The computations of the plug-ins, without windows: the statistics
// scanner and the cutting-data arithmetic.

#include "plugins/calc/CuttingData.h"
#include "plugins/stats/MStats.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <string>
#include "support/TestRegistry.h"

class PluginLogicTest : public QObject {
    Q_OBJECT

private slots:
    void axisRanges_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("axis");
        QTest::addColumn<bool>("found");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::newRow("negative and positive") << "X-5.5 Y1\nX12.25" << QChar(u'X') << true << -5.5 << 12.25;
        QTest::newRow("only negative") << "X-10 Y-20\nX-50 Y-2" << QChar(u'X') << true << -50.0 << -10.0;
        QTest::newRow("Y axis") << "X-10 Y-20\nX-50 Y-2" << QChar(u'Y') << true << -20.0 << -2.0;
        QTest::newRow("Z axis") << "G0 Z5.\nG1 Z-1.25 F100\nZ.1" << QChar(u'Z') << true << -1.25 << 5.0;
        QTest::newRow("comma ends the number") << "Z1,5" << QChar(u'Z') << true << 1.0 << 1.0;
        QTest::newRow("lower case is no axis") << "x5 X2" << QChar(u'X') << true << 2.0 << 2.0;
        QTest::newRow("point without leading digit") << "X.5 X-.25" << QChar(u'X') << true << -0.25 << 0.5;
        QTest::newRow("plus sign") << "X+5 X1" << QChar(u'X') << true << 1.0 << 5.0;
        QTest::newRow("second point ends the number") << "X1.2.3" << QChar(u'X') << true << 1.2 << 1.2;
        QTest::newRow("CR LF lines") << "X1\r\nX2\r\n" << QChar(u'X') << true << 1.0 << 2.0;
        QTest::newRow("comment word is not counted") << "X5 (MAX)" << QChar(u'X') << true << 5.0 << 5.0;
        QTest::newRow("coordinate in a comment is not counted") << "X2 (X-100) X3" << QChar(u'X') << true << 2.0 << 3.0;
        QTest::newRow("open comment ends at the line end") << "(X99 NO CLOSE\nX1" << QChar(u'X') << true << 1.0 << 1.0;
        QTest::newRow("semicolon comment is not counted") << "X10 ; X-999" << QChar(u'X') << true << 10.0 << 10.0;
        QTest::newRow("semicolon comment ends at the line end") << "X10 ; X-999\nX-3;\nX4" << QChar(u'X') << true << -3.0 << 10.0;
        QTest::newRow("letter at the end is no coordinate") << "G0 X5\nM30 X" << QChar(u'X') << true << 5.0 << 5.0;
        QTest::newRow("sign alone is no coordinate") << "X- X5 X+" << QChar(u'X') << true << 5.0 << 5.0;
        QTest::newRow("absurd number is ignored") << QStringLiteral("X1 X") + QString(400, u'9') << QChar(u'X') << true << 1.0 << 1.0;
        QTest::newRow("axis missing") << "N10 G01 Y5" << QChar(u'X') << false << 0.0 << 0.0;
        QTest::newRow("empty program") << "" << QChar(u'X') << false << 0.0 << 0.0;
    }
    void axisRanges()
    {
        QFETCH(QString, text);
        QFETCH(QChar, axis);
        QFETCH(bool, found);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        const std::string program = text.toStdString();
        const AxisRange range = GetAxisRange(program, char(axis.unicode()));
        QCOMPARE(range.found, found);
        if (found) {
            QCOMPARE(range.minimum, minimum);
            QCOMPARE(range.maximum, maximum);
        }
    }

    // Some CAM posts write a blank between the letter and its number, which
    // controls read past: those values count toward the extents too. A letter
    // followed by blanks and no number is still no coordinate.
    void blanksAfterTheLetter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("axis");
        QTest::addColumn<bool>("found");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        const QString vcarve = QStringLiteral("G0 Z 0.25\nG1 X 0.027623 Y 0.096259 Z-0.003253\n"
                                              "G1 X 1.5 Y -0.5 Z -0.01\n");
        QTest::newRow("V-carve, X") << vcarve << QChar(u'X') << true << 0.027623 << 1.5;
        QTest::newRow("V-carve, Y") << vcarve << QChar(u'Y') << true << -0.5 << 0.096259;
        QTest::newRow("V-carve, Z") << vcarve << QChar(u'Z') << true << -0.01 << 0.25;
        QTest::newRow("only words with a blank") << "X 2 Y1 X 3" << QChar(u'X') << true << 2.0 << 3.0;
        QTest::newRow("several spaces, tab") << "X1 X   -5\tX\t7 X \t 2" << QChar(u'X') << true << -5.0 << 7.0;
        QTest::newRow("point forms") << "X1 X .5 X -.25 X 3." << QChar(u'X') << true << -0.25 << 3.0;
        QTest::newRow("comma ends the number") << "Z1 Z 1,5 Z\t-2,5" << QChar(u'Z') << true << -2.0 << 1.0;
        QTest::newRow("letter, blanks, then nothing") << "X5\nG1 X Y-9\nX \nX " << QChar(u'X') << true << 5.0 << 5.0;
        QTest::newRow("letter, blanks, comment") << "X5 X (-100) X ;-200" << QChar(u'X') << true << 5.0 << 5.0;
        QTest::newRow("letter, blanks, sign alone") << "X5 X - 9 X + 1" << QChar(u'X') << true << 5.0 << 5.0;
        QTest::newRow("letter ending a comment word") << "X5 (MAX 99)" << QChar(u'X') << true << 5.0 << 5.0;
    }
    void blanksAfterTheLetter() { axisRanges(); }

    // The extent along an axis is the distance between its extremes, also
    // when both lie on one side of zero.
    void dimensionIsLargestMinusSmallest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("dimension");
        QTest::newRow("across zero") << "X-5.5 X12.25" << 17.75;
        QTest::newRow("both positive") << "X10 X50" << 40.0;
        QTest::newRow("both negative") << "X-50 X-10" << 40.0;
        QTest::newRow("one value") << "X7" << 0.0;
    }
    void dimensionIsLargestMinusSmallest()
    {
        QFETCH(QString, text);
        QFETCH(double, dimension);
        QCOMPARE(GetXRange(text.toStdString()).Dimension(), dimension);
    }

    void readNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("point") << "1.5" << 1.5;
        QTest::newRow("comma") << "1,5" << 1.5;
        QTest::newRow("comma first") << ",5" << 0.5;
        QTest::newRow("blanks ignored") << " 2 000 " << 2000.0;
        QTest::newRow("negative") << "-0.125" << -0.125;
        QTest::newRow("plus") << "+3" << 3.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("letter without exponent digits") << "1e" << qQNaN();
        QTest::newRow("trailing words") << "12abc" << qQNaN();
        QTest::newRow("second separator") << "1.5.2" << qQNaN();
        QTest::newRow("thousands and decimals") << "1,000.50" << qQNaN();
        // A single separator is always decimal: three-decimal inch sizes.
        QTest::newRow("comma with three decimals") << "1,375" << 1.375;
        QTest::newRow("comma with three decimals, 2 1/8") << "2,125" << 2.125;
        QTest::newRow("comma and three zeros") << "1,000" << 1.0;
        QTest::newRow("negative comma with three decimals") << "-12,345" << -12.345;
        QTest::newRow("comma after zero is decimal") << "0,125" << 0.125;
        QTest::newRow("comma with two decimals") << "1,25" << 1.25;
        QTest::newRow("point with three decimals") << "1.000" << 1.0;
        QTest::newRow("words") << "abc" << qQNaN();
        QTest::newRow("sign only") << "-" << qQNaN();
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blank") << "  " << 0.0;
        QTest::newRow("many digits kept") << "0.1234567890123" << 0.1234567890123;
    }
    void readNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ReadNumber(text), value);
    }

    // Whole-number boxes (speeds): a comma before exactly three digits
    // groups thousands; any other comma is still the decimal point.
    void readWholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("thousands") << "1,200" << 1200.0;
        QTest::newRow("thousands of a zero") << "1,000" << 1000.0;
        QTest::newRow("millions") << "12,000,000" << 12000000.0;
        QTest::newRow("negative") << "-2,292" << -2292.0;
        QTest::newRow("then decimals") << "1,200.5" << 1200.5;
        QTest::newRow("one decimal") << "1,2" << 1.2;
        QTest::newRow("two decimals") << "1,25" << 1.25;
        QTest::newRow("four digits") << "1,2000" << 1.2;
        QTest::newRow("comma first") << ",200" << 0.2;
        QTest::newRow("group then decimal comma") << "1,200,5" << qQNaN();
        QTest::newRow("point stays decimal") << "1.200" << 1.2;
        QTest::newRow("plain") << "2292" << 2292.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("words") << "1,200rpm" << qQNaN();
        QTest::newRow("empty") << "" << 0.0;
    }
    void readWholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ReadWholeNumber(text), value);
    }

    void clngRoundsHalvesToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("result");
        QTest::newRow("2.5") << 2.5 << true << 2;
        QTest::newRow("3.5") << 3.5 << true << 4;
        QTest::newRow("-2.5") << -2.5 << true << -2;
        QTest::newRow("196.5") << 196.5 << true << 196;
        QTest::newRow("largest") << 2147483647.4 << true << 2147483647;
        QTest::newRow("overflow") << 2147483648.0 << false << 0;
        QTest::newRow("negative overflow") << -2147483649.0 << false << 0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false << 0;
    }
    void clngRoundsHalvesToEven()
    {
        QFETCH(double, value);
        QFETCH(bool, fits);
        QFETCH(int, result);
        const std::optional<std::int32_t> rounded = CLng(value);
        QCOMPARE(rounded.has_value(), fits);
        if (fits)
            QCOMPARE(*rounded, result);
    }

    // What a box shows once left: rounded to the format's decimals, halves
    // away from zero as the typed digits read.
    void formatRoundsTheDisplay_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("fixed pads") << 1.5 << int(InputFormat::Fixed) << "1.50";
        QTest::newRow("fixed whole") << 2.0 << int(InputFormat::Fixed) << "2.00";
        QTest::newRow("fixed rounds 1/8 up") << 0.125 << int(InputFormat::Fixed) << "0.13";
        QTest::newRow("fixed rounds as typed, not as stored") << 1.005 << int(InputFormat::Fixed) << "1.01";
        QTest::newRow("fixed rounds down") << 0.994 << int(InputFormat::Fixed) << "0.99";
        QTest::newRow("fixed carries into the units") << 9.995 << int(InputFormat::Fixed) << "10.00";
        QTest::newRow("fixed negative half away from zero") << -0.125 << int(InputFormat::Fixed) << "-0.13";
        QTest::newRow("fixed tiny negative is zero") << -0.001 << int(InputFormat::Fixed) << "0.00";
        QTest::newRow("fixed negative zero") << -0.0 << int(InputFormat::Fixed) << "0.00";
        QTest::newRow("four places") << 0.005 << int(InputFormat::UpToFour) << "0.005";
        QTest::newRow("four places rounds") << 0.12345 << int(InputFormat::UpToFour) << "0.1235";
        QTest::newRow("four places small feed") << 0.00025 << int(InputFormat::UpToFour) << "0.0003";
        QTest::newRow("four places to nothing") << 0.00004 << int(InputFormat::UpToFour) << "0";
        QTest::newRow("four places carries") << 0.99996 << int(InputFormat::UpToFour) << "1";
        QTest::newRow("four places whole") << 2.0 << int(InputFormat::UpToFour) << "2";
        QTest::newRow("no format leaves the digits") << 0.12345 << int(InputFormat::None) << "0.12345";
    }
    void formatRoundsTheDisplay()
    {
        QFETCH(double, value);
        QFETCH(int, format);
        QFETCH(QString, text);
        QCOMPARE(FormatInput(value, InputFormat(format)), text);
    }

    void formulas_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<double>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("result");   // "" for the calculation error
        QTest::newRow("sfm 2 x 1000") << "sfm" << 2.0 << 1000 << "524";
        QTest::newRow("sfm half to even") << "sfm" << 1.0 << 750 << "196";
        QTest::newRow("sfm 1/8 inch at full precision") << "sfm" << 0.125 << 10000 << "328";
        QTest::newRow("sfm overflow") << "sfm" << 100000.0 << 100000 << "";
        QTest::newRow("rpm 300 sfm, 0.5 inch") << "rpm" << 0.5 << 300 << "2292";
        QTest::newRow("rpm half to even") << "rpm" << 1.0 << 75 << "286";
        QTest::newRow("rpm zero diameter") << "rpm" << 0.0 << 300 << "";
        QTest::newRow("rpm nothing at all") << "rpm" << 0.0 << 0 << "";
        QTest::newRow("ipm 0.005 x 2292") << "ipm" << 0.005 << 2292 << "11.46";
        QTest::newRow("ipm small feed kept") << "ipm" << 0.00025 << 1000 << "0.25";
    }
    void formulas()
    {
        QFETCH(QString, formula);
        QFETCH(double, first);
        QFETCH(int, second);
        QFETCH(QString, result);
        QString got;
        if (formula == u"sfm") {
            const auto sfm = SurfaceFeetPerMinute(first, second);
            got = sfm ? QString::number(*sfm) : QString();
        } else if (formula == u"rpm") {
            const auto rpm = RevolutionsPerMinute(second, first);
            got = rpm ? QString::number(*rpm) : QString();
        } else {
            const auto ipm = FeedRate(first, second);
            got = ipm ? FormatSingle(*ipm) : QString();
        }
        QCOMPARE(got, result);
    }
};

REGISTER_TEST(PluginLogicTest);

#include "PluginLogicTest.moc"
