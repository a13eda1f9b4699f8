#include "NcTestSupport.h"
#include "NcTextFuzzCheck.h"

#include "nc/MControl.h"
#include "nc/ShiftAddresses.h"
#include "nc/SyntaxCheck.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include "support/TestRegistry.h"

#include <cmath>

Q_DECLARE_METATYPE(AxisShift)

class ShiftAddressTests : public QObject {
    Q_OBJECT

private slots:
    void shifts_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<AxisShift>("shift");
        QTest::addColumn<QByteArray>("expected");
        const AxisShift x5{5, 0, 0};
        const AxisShift x1{1, 0, 0};
        QTest::newRow("X only, blank kept") << QByteArray("X10 Y20") << x5 << QByteArray("X15 Y20");
        QTest::newRow("to zero") << QByteArray("X10") << AxisShift{-10, 0, 0} << QByteArray("X0");
        QTest::newRow("no zero before the point") << QByteArray("X0") << AxisShift{0.5, 0, 0} << QByteArray("X.5");
        QTest::newRow("negative below one") << QByteArray("X0") << AxisShift{-0.25, 0, 0} << QByteArray("X-.25");
        QTest::newRow("no trailing zeros") << QByteArray("X1.001") << x1 << QByteArray("X2.001");
        QTest::newRow("leading zeros go") << QByteArray("X010") << x5 << QByteArray("X15");
        QTest::newRow("plus sign goes") << QByteArray("X+5") << x5 << QByteArray("X10");
        QTest::newRow("two addresses together") << QByteArray("X10X20") << x5 << QByteArray("X15X25");
        QTest::newRow("last value without a break") << QByteArray("G01\r\nX7") << x1 << QByteArray("G01\r\nX8");
        QTest::newRow("binary noise hidden") << QByteArray("X0.1") << AxisShift{0.2, 0, 0} << QByteArray("X.3");
        QTest::newRow("three axes, one pass") << QByteArray("X10Y20Z30") << AxisShift{5, -20, 0.5}
                                              << QByteArray("X15Y0Z30.5");
        QTest::newRow("never minus zero") << QByteArray("X-0.5") << AxisShift{0.5, 0, 0} << QByteArray("X0.");
        QTest::newRow("lower case stays") << QByteArray("x10 X10") << x5 << QByteArray("x10 X15");
        QTest::newRow("letter without a number") << QByteArray("MAX DEPTH X") << x5 << QByteArray("MAX DEPTH X");
        QTest::newRow("sign or point without a digit") << QByteArray("X- X. X,") << x5 << QByteArray("X- X. X,");
        QTest::newRow("bracket comment") << QByteArray("X1 (X1 MAX) X2") << x1 << QByteArray("X2 (X1 MAX) X3");
        QTest::newRow("unclosed bracket ends at the line end")
            << QByteArray("(X1 NOTE\r\nX1") << x1 << QByteArray("(X1 NOTE\r\nX2");
        QTest::newRow("semicolon comment") << QByteArray("X1 ;X1 (X1)\nX1") << x1 << QByteArray("X2 ;X1 (X1)\nX2");
        QTest::newRow("zero shift leaves bad values alone") << QByteArray("X1.2.3 Y1") << AxisShift{0, 1, 0}
                                                            << QByteArray("X1.2.3 Y2");
        QTest::newRow("tiny sum, no exponent") << QByteArray("X0") << AxisShift{1e-20, 0, 0}
                                               << QByteArray("X.00000000000000000001");
        QTest::newRow("huge sum, no exponent") << QByteArray("X0") << AxisShift{1e20, 0, 0}
                                               << QByteArray("X100000000000000000000");
        QTest::newRow("15 significant digits") << QByteArray("X0") << AxisShift{1.0 / 3, 0, 0}
                                               << QByteArray("X.333333333333333");
        QTest::newRow("many decimals read") << QByteArray("X1.23456789") << x1 << QByteArray("X2.23456789");
        QTest::newRow("nothing to shift") << QByteArray("X1") << AxisShift{} << QByteArray("X1");
        // A whole result keeps the point its value was written with: a control reads "Y-10" as
        // -0.01 mm. A value written without one is written as before.
        QTest::newRow("point kept, to a whole number") << QByteArray("G0 Y0.") << AxisShift{0, -10, 0}
                                                       << QByteArray("G0 Y-10.");
        QTest::newRow("point kept, trailing zeros go") << QByteArray("X1.000") << x1 << QByteArray("X2.");
        QTest::newRow("point kept at zero") << QByteArray("X10. Y.5") << AxisShift{-10, -0.5, 0}
                                            << QByteArray("X0. Y0.");
        QTest::newRow("point kept, many decimals") << QByteArray("X1.23456789") << AxisShift{0.76543211, 0, 0}
                                                   << QByteArray("X2.");
        QTest::newRow("point kept, huge") << QByteArray("X0.") << AxisShift{1e20, 0, 0}
                                          << QByteArray("X100000000000000000000.");
        QTest::newRow("no point, none added") << QByteArray("X10 Y0") << AxisShift{-10, 2.5, 0}
                                              << QByteArray("X0 Y2.5");
        // The bolt circle's holes with "Comma Separator" on: the comma separates the words.
        QTest::newRow("comma before a letter") << QByteArray("X50,Y0\r\nX-50,Y0") << AxisShift{5, 1, 0}
                                               << QByteArray("X55,Y1\r\nX-45,Y1");
        QTest::newRow("comma before a blank, a break, the end") << QByteArray("X1, Y2,\r\nX3,\nX4,")
                                                                << x1 << QByteArray("X2, Y2,\r\nX4,\nX5,");
    }
    void shifts()
    {
        QFETCH(QByteArray, input);
        QFETCH(AxisShift, shift);
        QFETCH(QByteArray, expected);
        const NcResult result = ShiftAddresses(View(input), shift);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), expected);
    }

    // Some CAM posts write a blank between the letter and its number, which controls read past:
    // such a value is shifted like any other and its blanks stay as written. A letter followed by
    // blanks and no number stays a letter without one.
    void blanksAfterTheLetter_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<AxisShift>("shift");
        QTest::addColumn<QByteArray>("expected");
        const AxisShift x5{5, 0, 0};
        const AxisShift all{1, -1, 0.5};
        QTest::newRow("space") << QByteArray("G1 X 10 Y20") << x5 << QByteArray("G1 X 15 Y20");
        QTest::newRow("several spaces") << QByteArray("X   10") << x5 << QByteArray("X   15");
        QTest::newRow("tab, sign after it") << QByteArray("X\t-0.25") << AxisShift{1, 0, 0} << QByteArray("X\t.75");
        QTest::newRow("blanks and tabs mixed") << QByteArray("X \t 1\r\nY\t 2") << AxisShift{1, 1, 0}
                                               << QByteArray("X \t 2\r\nY\t 3");
        QTest::newRow("point forms") << QByteArray("X .5 Y 10. Z -.25") << all << QByteArray("X 1.5 Y 9. Z .25");
        QTest::newRow("plus sign") << QByteArray("X +5") << x5 << QByteArray("X 10");
        QTest::newRow("V-carve block") << QByteArray("G1 X 0.027623 Y 0.096259 Z-0.003253") << all
                                       << QByteArray("G1 X 1.027623 Y -.903741 Z.496747");
        QTest::newRow("comma after the number") << QByteArray("X 50, Y 0") << AxisShift{5, 1, 0}
                                                << QByteArray("X 55, Y 1");
        QTest::newRow("letter, blanks, then another word") << QByteArray("G1 X Y 5") << AxisShift{5, 1, 0}
                                                           << QByteArray("G1 X Y 6");
        QTest::newRow("letter, blanks, line end") << QByteArray("X \r\nX\t\nX 1\nX ") << x5
                                                  << QByteArray("X \r\nX\t\nX 6\nX ");
        QTest::newRow("letter, blanks, comment") << QByteArray("X (COMMENT 5) X ;5") << x5
                                                 << QByteArray("X (COMMENT 5) X ;5");
        QTest::newRow("letter, blanks, sign alone") << QByteArray("X - 5 X . 5") << x5 << QByteArray("X - 5 X . 5");
        QTest::newRow("letter ending a comment word") << QByteArray("X1 (MAX 5) X 2") << AxisShift{1, 0, 0}
                                                      << QByteArray("X2 (MAX 5) X 3");
        QTest::newRow("other letters keep their blanks") << QByteArray("M 3 S 1000 F 100 X 1") << all
                                                         << QByteArray("M 3 S 1000 F 100 X 2");
    }
    void blanksAfterTheLetter() { shifts(); }

    void longTextShiftedCompletely()
    {
        QByteArray program;
        QByteArray expected;
        for (int i = 0; i < 3000; ++i) {
            program += "G01 X" + QByteArray::number(i) + " Y1.5\r\n";
            expected += "G01 X" + QByteArray::number(i + 2) + ".25 Y1.5\r\n";
        }
        const NcResult result = ShiftAddresses(View(program), AxisShift{2.25, 0, 0});
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), expected);
    }

    // Values longer than a 64-bit integer holds are read as doubles, whole: the reading must not
    // run past 64 bits on the way, and a large sum is written with its own exponent's digits
    // only (the sanitizer tree halts on either fault).
    void valuesOfManyDigits_data()
    {
        QTest::addColumn<QByteArray>("procedure");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray forty = "1234567890123456789012345678901234567890";
        QTest::newRow("18 digits") << QByteArray("shift") << QByteArray("X999999999999999999")
                                   << QByteArray("X1000000000000000000");
        QTest::newRow("19 digits") << QByteArray("shift") << QByteArray("X9999999999999999999")
                                   << QByteArray("X10000000000000000000");
        QTest::newRow("19 digits, minus") << QByteArray("shift") << QByteArray("X-9999999999999999999")
                                          << QByteArray("X-10000000000000000000");
        QTest::newRow("20 digits, plus") << QByteArray("shift") << QByteArray("X+12345678901234567890")
                                         << QByteArray("X12345678901234600000");
        QTest::newRow("40 digits") << QByteArray("shift") << "X" + forty
                                   << "X123456789012346" + QByteArray(25, '0');
        QTest::newRow("40 digits, minus") << QByteArray("shift") << "X-" + forty
                                          << "X-123456789012346" + QByteArray(25, '0');
        QTest::newRow("19 digits and decimals") << QByteArray("shift") << QByteArray("X9999999999999999999.25")
                                                << QByteArray("X10000000000000000000.");
        QTest::newRow("18 digits with the point among them") << QByteArray("shift")
                                                             << QByteArray("X99999999999999999.9")
                                                             << QByteArray("X100000000000000000.");
        QTest::newRow("19 decimals") << QByteArray("shift") << QByteArray("X-.9999999999999999999")
                                     << QByteArray("X0.");
        QTest::newRow("40 digits with a point") << QByteArray("shift") << "X" + forty.left(20) + "." + forty.mid(20)
                                                << QByteArray("X12345678901234600000.");
        QTest::newRow("to incremental, 19 digits") << QByteArray("incremental")
                                                   << QByteArray("X0\r\nX9999999999999999999")
                                                   << QByteArray("X0\r\nX10000000000000000000.0000");
        QTest::newRow("to incremental, 40 digits first") << QByteArray("incremental") << "X-" + forty + "\nX0"
                                                         << "X-" + forty + "\nX1234567890123456846996462118072609669120.0000";
        QTest::newRow("to absolute, 20 digits") << QByteArray("absolute")
                                                << QByteArray("X1\r\nX-99999999999999999999.5")
                                                << QByteArray("X1\r\nX-100000000000000000000.0000");
    }
    void valuesOfManyDigits()
    {
        QFETCH(QByteArray, procedure);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const NcResult result = procedure == "shift" ? ShiftAddresses(View(input), AxisShift{1, 0, 0})
                                : procedure == "incremental"
                                    ? ConvertAxes(View(input), NumberingSettings{}, AxisConversion::ToIncremental)
                                    : ConvertAxes(View(input), NumberingSettings{}, AxisConversion::ToAbsolute);
        QVERIFY(result.ok());
        QCOMPARE(Bytes(result.text), expected);
    }

    // The fuzzer's seeds and a few long values keep what the fuzzer checks (a shift undone, an
    // axis switch undone, numbering stable), in this tree and its sanitizers too.
    void fuzzSeedsKeepTheProperties()
    {
        const QDir seeds(qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/tests/nc/fuzz/seeds"));
        const QStringList names = seeds.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        QList<QByteArray> inputs;
        for (const QString& name : names) {
            QFile file(seeds.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            inputs << file.readAll();
        }
        const QByteArray header("\x10\x27\0\0\x07\x03\x01", 7);  // 1.0000 on X, Y and Z
        inputs << header + "X9999999999.9999 Y-9999999999 Z.0001\nN5 X1 (X2)\n"
               << header + "G01 X99999999999999999999 Y1\n";
        for (const QByteArray& input : inputs)
            ncfuzz::CheckInput(input.constData(), static_cast<std::size_t>(input.size()));
    }

    void refusesWhatItCannotRead_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<qint64>("line");
        QTest::newRow("two points") << QByteArray("G01\r\nX1.2.3") << qint64(2);
        QTest::newRow("comma") << QByteArray("X1\nX2\nG01 X1,5 Y2") << qint64(3);
        QTest::newRow("second sign") << QByteArray("X1-2") << qint64(1);
        QTest::newRow("Z on a later line") << QByteArray("X1\r\n(X1.2.3)\r\nZ--1") << qint64(3);
        QTest::newRow("two points after a blank") << QByteArray("X1\nY 1.2.3") << qint64(2);
        QTest::newRow("comma after a tab") << QByteArray("Z\t1,5") << qint64(1);
    }
    void refusesWhatItCannotRead()
    {
        QFETCH(QByteArray, input);
        QFETCH(qint64, line);
        const NcResult result = ShiftAddresses(View(input), AxisShift{1, 1, 1});
        QVERIFY(!result.ok());
        QCOMPARE(result.error->kind, NcErrorKind::UnreadableValue);
        QCOMPARE(result.error->line, line);
        QVERIFY(result.text.empty());
    }

    void readsTheBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << "" << true << 0.0;
        QTest::newRow("blanks") << "  " << true << 0.0;
        QTest::newRow("point") << "1.5" << true << 1.5;
        QTest::newRow("comma") << "-1,25" << true << -1.25;
        QTest::newRow("three decimals after a comma") << "1,375" << true << 1.375;
        QTest::newRow("blanks around") << " +2 " << true << 2.0;
        QTest::newRow("two separators") << "1,000.5" << false << 0.0;
        QTest::newRow("exponent") << "1e5" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("sign alone") << "-" << false << 0.0;
        QTest::newRow("two numbers") << "1 2" << false << 0.0;
    }
    void readsTheBoxes()
    {
        QFETCH(QString, box);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const std::string text = box.toStdString();
        const std::optional<double> read = ReadShiftValue(text);
        QCOMPARE(read.has_value(), valid);
        if (valid)
            QCOMPARE(*read, value);
    }
};

class SyntaxCheckTests : public QObject {
    Q_OBJECT

private slots:
    void firstFault_data()
    {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<QString>("message");  // empty: no fault
        QTest::addColumn<qint64>("line");
        QTest::newRow("empty document") << QByteArray() << QString() << qint64(0);
        QTest::newRow("percent line skipped") << QByteArray("% G5\r\nG01") << QString() << qint64(0);
        QTest::newRow("G0 to G4, G05") << QByteArray("G0 G1 G2 G3 G4 G05 G09") << QString() << qint64(0);
        QTest::newRow("G5") << QByteArray("G01\r\nG5") << "Invalid GCode Number G5" << qint64(1);
        QTest::newRow("M5, M05, M900, M901") << QByteArray("M5 M05 M900 M901 M30") << QString() << qint64(0);
        QTest::newRow("M13") << QByteArray("M13") << "Invalid MCode Number M13" << qint64(0);
        QTest::newRow("words run together") << QByteArray("G01G02X1.") << QString() << qint64(0);
        QTest::newRow("G1.5 reads as G1") << QByteArray("G1.5") << QString() << qint64(0);
        QTest::newRow("G-1 reads as G") << QByteArray("G-1") << "Invalid GCode Number G" << qint64(0);
        QTest::newRow("blank after the letter") << QByteArray("G 01") << "Invalid GCode Number G" << qint64(0);
        QTest::newRow("G after a comment") << QByteArray("(G5) G5") << "Invalid GCode Number G5" << qint64(0);
        QTest::newRow("G past a comment") << QByteArray("G01 (X) G5") << "Invalid GCode Number G5" << qint64(0);
        QTest::newRow("G inside a second comment") << QByteArray("G01 (A) X1 (G5)") << QString() << qint64(0);
        QTest::newRow("M past a comment") << QByteArray("M03 (SPINDLE) M13") << "Invalid MCode Number M13"
                                          << qint64(0);
        QTest::newRow("M inside a comment") << QByteArray("M03 (SPINDLE M13) M5") << QString() << qint64(0);
        QTest::newRow("unclosed bracket first") << QByteArray("G5 X1. (GO HOME") << "Missed matched comment brackets."
                                                << qint64(0);
        QTest::newRow("closing bracket alone") << QByteArray("G01 X1 )") << "Missed matched comment brackets."
                                               << qint64(0);
        QTest::newRow("brackets in any order") << QByteArray(") G01 (") << QString() << qint64(0);
        QTest::newRow("semicolon comment") << QByteArray("G01 ; G5 (") << QString() << qint64(0);
        QTest::newRow("semicolon inside brackets") << QByteArray("(A;B) G5") << "Invalid GCode Number G5"
                                                   << qint64(0);
        QTest::newRow("G before M on a line") << QByteArray("M13 G5") << "Invalid GCode Number G5" << qint64(0);
        QTest::newRow("first faulty line only") << QByteArray("G01\r\nM13\nG5") << "Invalid MCode Number M13"
                                                << qint64(1);
        QTest::newRow("invalid two- and three-digit words") << QByteArray("G100") << "Invalid GCode Number G100"
                                                            << qint64(0);
        QTest::newRow("G06") << QByteArray("G06") << "Invalid GCode Number G06" << qint64(0);
        QTest::newRow("G88") << QByteArray("G88") << "Invalid GCode Number G88" << qint64(0);
        QTest::newRow("G93") << QByteArray("G93") << "Invalid GCode Number G93" << qint64(0);
        QTest::newRow("M10") << QByteArray("M10") << "Invalid MCode Number M10" << qint64(0);
        QTest::newRow("macro word") << QByteArray("GOTO10") << "Invalid GCode Number G" << qint64(0);
        QTest::newRow("lower case passes") << QByteArray("g01 m03") << QString() << qint64(0);
        QTest::newRow("lower case reported as capital") << QByteArray("g5") << "Invalid GCode Number G5"
                                                        << qint64(0);
        QTest::newRow("repeated letters end") << QByteArray("GGGG") << "Invalid GCode Number G" << qint64(0);
        QTest::newRow("LF lines") << QByteArray("G01\nG02\nM7\nG24\n") << "Invalid GCode Number G24" << qint64(3);
        QTest::newRow("nothing after the final break") << QByteArray("G01\r\n") << QString() << qint64(0);
    }
    void firstFault()
    {
        QFETCH(QByteArray, program);
        QFETCH(QString, message);
        QFETCH(qint64, line);
        const std::optional<SyntaxFault> fault = FindSyntaxFault(View(program));
        QCOMPARE(fault.has_value(), !message.isEmpty());
        if (fault) {
            QCOMPARE(QString::fromStdString(SyntaxFaultMessage(*fault)), message);
            QCOMPARE(fault->line, line);
        }
    }

    void codeTables()
    {
        // Every one- and two-digit word against the lists of valid codes.
        const QList<int> validG{0,  1,  2,  3,  4,  5,  9,  10, 11, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23,
                                27, 28, 29, 30, 31, 32, 33, 34, 36, 37, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48,
                                49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 64, 65, 66, 67, 68, 69, 70,
                                71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 89, 90, 91,
                                92, 94, 95, 96, 97, 98, 99};
        const QList<int> validM{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  12, 19, 20, 21, 22, 23,
                                24, 25, 26, 28, 29, 30, 41, 42, 53, 58, 60, 61, 62, 66, 67, 85,
                                86, 97, 98, 99};
        int g = 0;
        int m = 0;
        for (int code = 0; code < 100; ++code) {
            const std::string two = QStringLiteral("%1").arg(code, 2, 10, QLatin1Char('0')).toStdString();
            QCOMPARE(IsValidGCode(two), validG.contains(code));
            QCOMPARE(IsValidMCode(two), validM.contains(code));
            g += IsValidGCode(two);
            m += IsValidMCode(two);
        }
        for (char digit = '0'; digit <= '9'; ++digit) {
            g += IsValidGCode(std::string(1, digit));
            m += IsValidMCode(std::string(1, digit));
        }
        QCOMPARE(g, 92);
        QCOMPARE(m + int(IsValidMCode("900")) + int(IsValidMCode("901")), 48);
        QVERIFY(!IsValidMCode("902"));
        QVERIFY(!IsValidGCode("000"));
        QVERIFY(!IsValidGCode(""));
        QVERIFY(!IsValidMCode(""));
    }

    void megabyteLineEnds()
    {
        // Linear whatever the line: letters, digits and comments of a megabyte each.
        std::string line(1 << 20, 'G');
        QCOMPARE(FindSyntaxFault(line)->word, std::string("G"));
        // Built by append: GCC 12 at -O3 misreads "G" + std::string(...) as out of bounds.
        const std::string spaces = std::string("G01").append(1 << 20, ' ').append("M13");
        QCOMPARE(FindSyntaxFault(spaces)->word, std::string("M13"));
        const std::string digits = std::string("G").append(1 << 20, '1');
        QCOMPARE(FindSyntaxFault(digits)->word, std::string("G").append(40, '1').append("..."));
        std::string comments;
        for (int i = 0; i < 100000; ++i)
            comments += "(G5)";
        QVERIFY(!FindSyntaxFault(comments));
    }
};

REGISTER_TEST(ShiftAddressTests);
REGISTER_TEST(SyntaxCheckTests);

#include "ShiftAndSyntaxTests.moc"
