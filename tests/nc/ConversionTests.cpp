#include "NcTestSupport.h"

#include "nc/MControl.h"

#include <QTest>

#include <cstdio>
#include <random>
#include <string>
#include "support/TestRegistry.h"

Q_DECLARE_METATYPE(AxisConversion)

namespace {

constexpr auto Inc = AxisConversion::ToIncremental;
constexpr auto Abs = AxisConversion::ToAbsolute;

}  // namespace

class ConversionTests : public QObject {
    Q_OBJECT

private slots:
    void convertAxes_data()
    {
        QTest::addColumn<AxisConversion>("direction");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("to incremental") << Inc << QByteArray("G01 X10\r\nX20\r\nX25.5\r\nX20")
                                        << QByteArray("G01 X10\r\nX10.0000\r\nX5.5000\r\nX-5.5000");
        QTest::newRow("to absolute") << Abs << QByteArray("G01 X10\r\nX10\r\nX5.5\r\nX-5.5")
                                     << QByteArray("G01 X10\r\nX20.0000\r\nX25.5000\r\nX20.0000");
        QTest::newRow("block without the axis") << Inc << QByteArray("X10\r\nY5\r\nX20")
                                                << QByteArray("X10\r\nY5\r\nX10.0000");
        QTest::newRow("skip line, first value as written") << Inc << QByteArray("(X5)\r\nX10.\r\nX20")
                                                           << QByteArray("(X5)\r\nX10.\r\nX10.0000");
        QTest::newRow("three axes") << Inc << QByteArray("G01 X10 Y5 Z-1\r\nX20 Y10 Z-2")
                                    << QByteArray("G01 X10 Y5 Z-1\r\nX10.0000 Y5.0000 Z-1.0000");
        QTest::newRow("two in one block") << Inc << QByteArray("X10 X20") << QByteArray("X10 X10.0000");
        QTest::newRow("lower case is no axis") << Inc << QByteArray("x10\r\nx20") << QByteArray("x10\r\nx20");
        QTest::newRow("axis without value") << Inc << QByteArray("X\r\nX10\r\nX20")
                                            << QByteArray("X\r\nX10\r\nX10.0000");
        QTest::newRow("value forms") << Inc << QByteArray("X10.\r\nX.5\r\nX+5\r\nX-.5")
                                     << QByteArray("X10.\r\nX-9.5000\r\nX4.5000\r\nX-5.5000");
        QTest::newRow("absolute from G91") << Abs << QByteArray("G91\r\nX1\r\nX1\r\nX1")
                                           << QByteArray("G91\r\nX1\r\nX2.0000\r\nX3.0000");
        QTest::newRow("absolute adds to the position as written")
            << Abs << QByteArray("X0\r\nX0.00004\r\nX0.00004") << QByteArray("X0\r\nX0.0000\r\nX0.0000");
        QTest::newRow("rounds to four decimals") << Inc << QByteArray("X0\r\nX0.123456\r\nX0.5")
                                                 << QByteArray("X0\r\nX0.1235\r\nX0.3765");
        QTest::newRow("G words stay") << Inc << QByteArray("G90 X1\r\nG91 X3") << QByteArray("G90 X1\r\nG91 X2.0000");
        QTest::newRow("LF, mixed breaks kept") << Inc << QByteArray("X1\nX2\r\nX4\n")
                                               << QByteArray("X1\nX1.0000\r\nX2.0000\n");
        QTest::newRow("empty") << Inc << QByteArray() << QByteArray();
        // The bolt circle's holes with "Comma Separator" on.
        QTest::newRow("comma between words") << Inc << QByteArray("X0,Y0\r\nX50,Y0\r\nX0,Y50\r\nX-50,Y0")
                                             << QByteArray("X0,Y0\r\nX50.0000,Y0.0000\r\nX-50.0000,Y50.0000\r\n"
                                                           "X-50.0000,Y-50.0000");
        QTest::newRow("comma before a blank, at the line end") << Abs << QByteArray("X1, Y1,\r\nX2,\nX3,")
                                                              << QByteArray("X1, Y1,\r\nX3.0000,\nX6.0000,");
        QTest::newRow("semicolon comment") << Inc << QByteArray("G01 X10\r\nG01 X20 ;WAS X1,5 X15\r\nX30")
                                           << QByteArray("G01 X10\r\nG01 X10.0000 ;WAS X1,5 X15\r\nX10.0000");
    }
    void convertAxes()
    {
        QFETCH(AxisConversion, direction);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const NumberingSettings settings;
        const NcResult result = ConvertAxes(View(input), settings, direction);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), expected);

        // All axes in one pass give what the X, Y and Z passes give one after another.
        const bool inc = direction == Inc;
        const NcResult x = inc ? XToIncremental(View(input), settings) : XToAbsolute(View(input), settings);
        const NcResult y = inc ? YToIncremental(x.text, settings) : YToAbsolute(x.text, settings);
        const NcResult z = inc ? ZToIncremental(y.text, settings) : ZToAbsolute(y.text, settings);
        QVERIFY(x.ok() && y.ok() && z.ok());
        QCOMPARE(Bytes(z.text), expected);
    }

    // Some CAM posts write a blank between the letter and its number, which controls read past:
    // under G91 a value left absolute moves the machine elsewhere. Such values convert like any
    // other and keep their blanks; a letter followed by blanks and no number has no value.
    void blanksAfterTheLetter_data()
    {
        QTest::addColumn<AxisConversion>("direction");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        // A V-carve program's moves, to incremental, and its incremental form back to absolute.
        QTest::newRow("V-carve, to incremental")
            << Inc
            << QByteArray("G0 Z 0.25\nG1 X 0.027623 Y 0.096259 Z-0.003253\nG1 X 0.1 Y\t0.2 Z -0.01\nG1 X  0.5 Y 0.2\n")
            << QByteArray("G0 Z 0.25\nG1 X 0.027623 Y 0.096259 Z-0.2533\nG1 X 0.0724 Y\t0.1037 Z -0.0067\n"
                          "G1 X  0.4000 Y 0.0000\n");
        QTest::newRow("V-carve, to absolute")
            << Abs
            << QByteArray("G0 Z 0.25\nG1 X 0.027623 Y 0.096259 Z-0.2533\nG1 X 0.0724 Y\t0.1037 Z -0.0067\n"
                          "G1 X  0.4000 Y 0.0000\n")
            << QByteArray("G0 Z 0.25\nG1 X 0.027623 Y 0.096259 Z-0.0033\nG1 X 0.1000 Y\t0.2000 Z -0.0100\n"
                          "G1 X  0.5000 Y 0.2000\n");
        QTest::newRow("several spaces, tab") << Inc << QByteArray("X  10\r\nX\t20\r\nX \t 25")
                                             << QByteArray("X  10\r\nX\t10.0000\r\nX \t 5.0000");
        QTest::newRow("sign after the blank") << Abs << QByteArray("G91\nX -1\nX +3\nX\t-4")
                                              << QByteArray("G91\nX -1\nX 2.0000\nX\t-2.0000");
        QTest::newRow("point forms") << Inc << QByteArray("X 10.\r\nX .5\r\nX -.5\r\nX 2.25")
                                     << QByteArray("X 10.\r\nX -9.5000\r\nX -1.0000\r\nX 2.7500");
        QTest::newRow("letter, blanks, then nothing") << Inc << QByteArray("X1\r\nG1 X Y\r\nX \r\nX3 X ")
                                                      << QByteArray("X1\r\nG1 X Y\r\nX \r\nX2.0000 X ");
        QTest::newRow("letter, blanks, comment") << Inc << QByteArray("X1\nX (COMMENT 5)\nX ;5\nX3")
                                                 << QByteArray("X1\nX (COMMENT 5)\nX ;5\nX2.0000");
        QTest::newRow("letter, blanks, sign alone") << Inc << QByteArray("X1\nX - 5\nX3")
                                                    << QByteArray("X1\nX - 5\nX2.0000");
        QTest::newRow("comma after the number") << Inc << QByteArray("X 0, Y 0\r\nX 50, Y 5")
                                                << QByteArray("X 0, Y 0\r\nX 50.0000, Y 5.0000");
        QTest::newRow("skip line keeps its blanks") << Inc << QByteArray("(X 5)\nX 1\nX 2")
                                                    << QByteArray("(X 5)\nX 1\nX 1.0000");
    }
    void blanksAfterTheLetter() { convertAxes(); }

    void singleAxisLeavesTheOthers()
    {
        const NcResult result = XToIncremental("G01 X10 Y5 Z-1\r\nX20 Y10 Z-2", NumberingSettings());
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), QByteArray("G01 X10 Y5 Z-1\r\nX10.0000 Y10 Z-2"));
    }

    // A coordinate in a comment is no move: it neither changes nor becomes the previous value.
    void ignoresCoordinatesInComments()
    {
        const NcResult result =
            ConvertAxes("G01 X10\r\nG01 X20 (WAS X15)\r\nG01 X30 (OPEN X1", NumberingSettings(), Inc);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), QByteArray("G01 X10\r\nG01 X10.0000 (WAS X15)\r\nG01 X10.0000 (OPEN X1"));
    }

    void neverWritesNegativeZero()
    {
        const NcResult result = ConvertAxes("X10.00001\r\nX10", NumberingSettings(), Inc);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), QByteArray("X10.00001\r\nX0.0000"));
    }

    // A value that is no decimal number stops the conversion of every axis: nothing to write.
    void refusesUnreadableValues_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<qint64>("line");
        QTest::newRow("sign only") << QByteArray("X10\r\nX-\r\nX20") << qint64(2);
        QTest::newRow("comma, first value") << QByteArray("X1,5") << qint64(1);
        QTest::newRow("slash") << QByteArray("X10\r\nX1/2") << qint64(2);
        QTest::newRow("two points, Z") << QByteArray("X10\r\nY1\r\nZ1.2.3") << qint64(3);
        QTest::newRow("two signs") << QByteArray("X10\nX+-5") << qint64(2);
        QTest::newRow("two points after a blank") << QByteArray("X10\r\nX 1.2.3") << qint64(2);
        QTest::newRow("comma after a tab, Y") << QByteArray("X10\nY\t1,5") << qint64(2);
    }
    void refusesUnreadableValues()
    {
        QFETCH(QByteArray, input);
        QFETCH(qint64, line);
        for (AxisConversion direction : {Inc, Abs}) {
            const NcResult result = ConvertAxes(View(input), NumberingSettings(), direction);
            QVERIFY(!result.ok());
            QCOMPARE(result.error->kind, NcErrorKind::UnreadableValue);
            QCOMPARE(result.error->line, line);
        }
    }

    void unreadableTextOutsideMovesIsNoError()
    {
        const NcResult result = ConvertAxes("(X1,5)\r\nG01 (X-) X10\r\nX12", NumberingSettings(), Inc);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), QByteArray("(X1,5)\r\nG01 (X-) X10\r\nX2.0000"));
    }

    // Values of up to four decimals are added and subtracted exactly; the text written must be
    // the one that double arithmetic rounded to four decimals gives, also when values of more
    // decimals (which take the floating-point way) are mixed in.
    void exactValuesWriteWhatDoublesWrite()
    {
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> decimals(0, 5);
        std::uniform_int_distribution<long long> digits(0, 99999999999LL);
        for (AxisConversion direction : {Inc, Abs}) {
            std::string input;
            std::string expected;
            double previous = 0;
            char text[400];
            for (int i = 0; i < 3000; ++i) {
                const int d = decimals(random);
                long long magnitude = digits(random);
                for (int k = 11; k > 6 + d; --k)
                    magnitude /= 10;  // 6 + d digits at most: some values far past a million
                long long scale = 1;
                for (int k = 0; k < d; ++k)
                    scale *= 10;
                const char* sign = random() % 2 ? "-" : "";
                if (d == 0)
                    std::snprintf(text, sizeof text, "%s%lld", sign, magnitude);
                else
                    std::snprintf(text, sizeof text, "%s%lld.%0*lld", sign, magnitude / scale, d, magnitude % scale);
                const std::string value = text;
                input += "G01X" + value + "\n";
                const double v = std::stod(value);
                if (i == 0) {
                    expected += "G01X" + value + "\n";
                    previous = v;
                    continue;
                }
                std::snprintf(text, sizeof text, "%.4f", direction == Inc ? v - previous : v + previous);
                std::string out = text;
                if (out.find_first_not_of("-0.") == std::string::npos && out[0] == '-')
                    out.erase(0, 1);
                expected += "G01X" + out + "\n";
                previous = direction == Inc ? v : std::stod(out);
            }
            const NcResult result = ConvertAxes(input, NumberingSettings(), direction);
            QVERIFY(result.ok());
            QCOMPARE(result.text, expected);
        }
    }

    // A long difference is longer than the values it came from.
    void growsPastItsFirstEstimate()
    {
        const NcResult result = ConvertAxes("X100000000000000000000\nX1", NumberingSettings(), Inc);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), QByteArray("X100000000000000000000\nX-100000000000000000000.0000"));
    }
};

REGISTER_TEST(ConversionTests);

#include "ConversionTests.moc"
