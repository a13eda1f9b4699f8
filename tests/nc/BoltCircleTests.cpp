#include "NcTestSupport.h"

#include "nc/BoltCircle.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <limits>
#include "support/TestRegistry.h"

Q_DECLARE_METATYPE(std::optional<int>)

namespace {

BoltInput Input(float diameter, int holes, float firstAngle, float holeDiameter)
{
    return BoltInput{diameter, holes, firstAngle, holeDiameter};
}

QByteArray HoleLines(const BoltCircle& circle, bool comma)
{
    QByteArray lines;
    for (const BoltHole& hole : circle.holes)
        lines += QByteArray("X") + QByteArray::fromStdString(SingleText(hole.x)) + (comma ? "," : "") + "Y"
                 + QByteArray::fromStdString(SingleText(hole.y)) + " ";
    return lines.trimmed();
}

}  // namespace

class BoltCircleTests : public QObject {
    Q_OBJECT

private slots:
    void holeListOfFourHoles()
    {
        const BoltCircle circle = CalculateBoltCircle(Input(100, 4, 0, 10));
        QCOMPARE(Bytes(HoleListText(circle, false)),
                 QByteArray("G00G90\r\nX0Y0\r\nX50Y0\r\nX0Y50\r\nX-50Y0\r\nX0Y-50\r\n"
                            "(Bolt circle diameter = 100)\r\n(Number of holes = 4)\r\n"
                            "(Angle of the first hole = 0 degrees)\r\n(Angle between holes = 90.000 degrees)\r\n"
                            "(Cord length = 70.7107)\r\n(Distance between holes = 60.7107)\r\n"
                            "(Hole diameter = 10)\r\n"));
        QCOMPARE(Bytes(HoleListText(circle, true)).split('\n').mid(2, 4),
                 (QList<QByteArray>{"X50,Y0\r", "X0,Y50\r", "X-50,Y0\r", "X0,Y-50\r"}));
    }

    void boltFileHasNoStartCentreOrStepLine()
    {
        const BoltCircle circle = CalculateBoltCircle(Input(100, 4, 0, 10));
        QCOMPARE(Bytes(BoltFileText(circle)),
                 QByteArray("(Bolt circle diameter = 100)\r\n(Number of holes = 4)\r\n"
                            "(Angle of the first hole = 0 degrees)\r\n(Cord length = 70.7107)\r\n"
                            "(Distance between holes = 60.7107)\r\n(Hole diameter = 10)\r\n"
                            "X50,Y0\r\nX0,Y50\r\nX-50,Y0\r\nX0,Y-50\r\n"));
    }

    void holes_data()
    {
        QTest::addColumn<float>("diameter");
        QTest::addColumn<int>("holes");
        QTest::addColumn<float>("firstAngle");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("first angle 90: counter-clockwise from it")
            << 100.0f << 4 << 90.0f << QByteArray("X0Y50 X-50Y0 X0Y-50 X50Y0");
        QTest::newRow("one hole at the first angle") << 100.0f << 1 << 30.0f << QByteArray("X43.3013Y25");
        // The exact degree: a 0.01745329 constant would give X250.0001Y433.0127 and X249.9997Y-433.0129.
        QTest::newRow("six on 1000") << 1000.0f << 6 << 0.0f
                                     << QByteArray("X500Y0 X250Y433.0127 X-250Y433.0127 X-500Y0 X-250Y-433.0127 "
                                                   "X250Y-433.0127");
        QTest::newRow("eight on 1000")
            << 1000.0f << 8 << 0.0f
            << QByteArray("X500Y0 X353.5534Y353.5534 X0Y500 X-353.5534Y353.5534 X-500Y0 X-353.5534Y-353.5534 "
                          "X0Y-500 X353.5534Y-353.5534");
        QTest::newRow("half a unit") << 1.0f << 4 << 0.0f << QByteArray("X0.5Y0 X0Y0.5 X-0.5Y0 X0Y-0.5");
        QTest::newRow("negative first angle") << 20.0f << 2 << -90.0f << QByteArray("X0Y-10 X0Y10");
        QTest::newRow("seven significant digits") << 2469.1356f << 2 << 0.0f
                                                  << QByteArray("X1234.568Y0 X-1234.568Y0");
        // Rounded half up to five decimals first: 0.0000499 becomes 0.00005, then 0.0001.
        QTest::newRow("rounded twice") << 0.0000998f << 1 << 0.0f << QByteArray("X0.0001Y0");
        QTest::newRow("tiny from below is 0") << -0.00008f << 1 << 0.0f << QByteArray("X0Y0");
    }
    void holes()
    {
        QFETCH(float, diameter);
        QFETCH(int, holes);
        QFETCH(float, firstAngle);
        QFETCH(QByteArray, expected);
        const BoltCircle circle = CalculateBoltCircle(Input(diameter, holes, firstAngle, 1));
        QCOMPARE(HoleLines(circle, false), expected);
        // Never a minus before a zero ("-0.5" is fine).
        QVERIFY(!QString::fromLatin1(Bytes(HoleListText(circle, false)))
                     .contains(QRegularExpression(QStringLiteral("-0(?![.0-9])"))));
    }

    void spacingComments_data()
    {
        QTest::addColumn<float>("diameter");
        QTest::addColumn<int>("holes");
        QTest::addColumn<float>("holeDiameter");
        QTest::addColumn<QByteArray>("step");
        QTest::addColumn<QByteArray>("chord");
        QTest::addColumn<QByteArray>("distance");
        QTest::newRow("one hole") << 100.0f << 1 << 10.0f << QByteArray("360.000") << QByteArray("0")
                                  << QByteArray("-10");
        QTest::newRow("six on 1000") << 1000.0f << 6 << 20.0f << QByteArray("60.000") << QByteArray("500")
                                     << QByteArray("480");
        QTest::newRow("seven") << 100.0f << 7 << 0.5f << QByteArray("51.429") << QByteArray("43.3884")
                               << QByteArray("42.8884");
        QTest::newRow("step half away from zero") << 10.0f << 128 << 0.0f << QByteArray("2.813")
                                                  << QByteArray("0.2454") << QByteArray("0.2454");
        QTest::newRow("most holes") << 100.0f << 32767 << 0.0f << QByteArray("0.011") << QByteArray("0.0096")
                                    << QByteArray("0.0096");
    }
    void spacingComments()
    {
        QFETCH(float, diameter);
        QFETCH(int, holes);
        QFETCH(float, holeDiameter);
        QFETCH(QByteArray, step);
        QFETCH(QByteArray, chord);
        QFETCH(QByteArray, distance);
        const BoltCircle circle = CalculateBoltCircle(Input(diameter, holes, 0, holeDiameter));
        QCOMPARE(int(circle.holes.size()), holes);
        const QList<QByteArray> lines = Bytes(HoleListText(circle, false)).split('\n');
        QCOMPARE(lines.size(), holes + 2 + 7 + 1);
        const qsizetype comments = holes + 2;
        QCOMPARE(lines[comments + 1], "(Number of holes = " + QByteArray::number(holes) + ")\r");
        QCOMPARE(lines[comments + 3], "(Angle between holes = " + step + " degrees)\r");
        QCOMPARE(lines[comments + 4], "(Cord length = " + chord + ")\r");
        QCOMPARE(lines[comments + 5], "(Distance between holes = " + distance + ")\r");
    }

    void singleText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("zero") << 0.0f << QByteArray("0");
        QTest::newRow("minus zero") << -0.0f << QByteArray("0");
        QTest::newRow("whole") << 500.0f << QByteArray("500");
        QTest::newRow("half") << 0.5f << QByteArray("0.5");
        QTest::newRow("four decimals") << 70.7107f << QByteArray("70.7107");
        QTest::newRow("negative") << -433.0127f << QByteArray("-433.0127");
        QTest::newRow("seven digits") << 1234.5678f << QByteArray("1234.568");
        QTest::newRow("small") << 0.0001f << QByteArray("0.0001");
        QTest::newRow("smaller, no exponent") << 0.0000001f << QByteArray("0.0000001");
        QTest::newRow("large, no exponent") << 12345678.0f << QByteArray("12345680");
        QTest::newRow("1e10") << 1e10f << QByteArray("10000000000");
    }
    void singleText()
    {
        QFETCH(float, value);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(SingleText(value)), expected);
    }

    void holeCount_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<std::optional<int>>("expected");
        QTest::newRow("plain") << QByteArray("4") << std::optional<int>(4);
        QTest::newRow("leading part") << QByteArray(" 6 holes") << std::optional<int>(6);
        QTest::newRow("no exponent") << QByteArray("1e3") << std::optional<int>(1);
        QTest::newRow("half to even, down") << QByteArray("2.5") << std::optional<int>(2);
        QTest::newRow("half to even, up") << QByteArray("3.5") << std::optional<int>(4);
        QTest::newRow("most") << QByteArray("32767.4") << std::optional<int>(32767);
        QTest::newRow("rounds beyond the most") << QByteArray("32767.5") << std::optional<int>();
        QTest::newRow("too many") << QByteArray("40000") << std::optional<int>();
        QTest::newRow("rounds to none") << QByteArray("0.5") << std::optional<int>();
        QTest::newRow("none") << QByteArray("0") << std::optional<int>();
        QTest::newRow("negative") << QByteArray("-3") << std::optional<int>();
        QTest::newRow("not a number") << QByteArray("abc") << std::optional<int>();
        QTest::newRow("sign only") << QByteArray("-") << std::optional<int>();
        QTest::newRow("point only") << QByteArray(".") << std::optional<int>();
        QTest::newRow("beyond a double") << QByteArray(400, '9') << std::optional<int>();
    }
    void holeCount()
    {
        QFETCH(QByteArray, text);
        QFETCH(std::optional<int>, expected);
        QCOMPARE(ReadHoleCount(View(text)), expected);
    }

    void values_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<float>("expected");
        QTest::newRow("decimal point whatever the locale") << QByteArray("12.5mm") << true << 12.5f;
        QTest::newRow("comma ends the number") << QByteArray("1,5") << true << 1.0f;
        QTest::newRow("point first") << QByteArray(" .25") << true << 0.25f;
        QTest::newRow("signs") << QByteArray("-7") << true << -7.0f;
        QTest::newRow("plus") << QByteArray("+7") << true << 7.0f;
        QTest::newRow("no number is 0") << QByteArray("abc") << true << 0.0f;
        QTest::newRow("beyond a single") << "1" + QByteArray(39, '0') << false << 0.0f;
        QTest::newRow("beyond a double") << "-" + QByteArray(400, '9') << false << 0.0f;
        QTest::newRow("below a double is 0") << "0." + QByteArray(400, '0') + "1" << true << 0.0f;
    }
    void values()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, fits);
        QFETCH(float, expected);
        const std::optional<float> value = ReadBoltValue(View(text));
        QCOMPARE(value.has_value(), fits);
        if (fits)
            QCOMPARE(*value, expected);
    }

    void drawnHolesAreTheListedOnes_data()
    {
        QTest::addColumn<int>("holes");
        QTest::addColumn<float>("firstAngle");
        QTest::newRow("three from 30") << 3 << 30.0f;
        QTest::newRow("five from 10") << 5 << 10.0f;
        QTest::newRow("one at 45") << 1 << 45.0f;
    }
    void drawnHolesAreTheListedOnes()
    {
        QFETCH(int, holes);
        QFETCH(float, firstAngle);
        const BoltInput input = Input(100, holes, firstAngle, 1);
        const std::vector<BoltHole> listed = CalculateBoltCircle(input).holes;
        const std::vector<BoltHole> drawn = DrawnBoltHoles(input);
        QCOMPARE(drawn.size(), listed.size());
        // The screen's y axis points down: a listed hole (x, y) is drawn at (x, -y).
        QVERIFY(std::fabs(drawn[0].x - listed[0].x) < 1e-3 && std::fabs(drawn[0].y + listed[0].y) < 1e-3);
        for (const BoltHole& hole : drawn) {
            bool found = false;
            for (const BoltHole& other : listed)
                found = found || (std::fabs(hole.x - other.x) < 1e-3 && std::fabs(hole.y + other.y) < 1e-3);
            QVERIFY2(found, qPrintable(QStringLiteral("%1 %2").arg(hole.x).arg(hole.y)));
        }
    }

    void saveName_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no extension") << QByteArray("/home/m/plate") << QByteArray("/home/m/plate.blt");
        QTest::newRow("another extension") << QByteArray("/home/m/plate.txt") << QByteArray("/home/m/plate.blt");
        QTest::newRow("already .blt") << QByteArray("/home/m/plate.blt") << QByteArray("/home/m/plate.blt");
        QTest::newRow("last dot only") << QByteArray("/home/m/plate.v2.txt") << QByteArray("/home/m/plate.v2.blt");
        QTest::newRow("dot in a folder") << QByteArray("/home/m/jobs.v2/plate") << QByteArray("/home/m/jobs.v2/plate.blt");
        QTest::newRow("dot in a folder and name") << QByteArray("/home/m/jobs.v2/plate.txt")
                                                  << QByteArray("/home/m/jobs.v2/plate.blt");
        QTest::newRow("leading dot is no extension") << QByteArray("/home/m/.plate") << QByteArray("/home/m/.plate.blt");
        QTest::newRow("trailing dot") << QByteArray("/home/m/plate.") << QByteArray("/home/m/plate.blt");
        QTest::newRow("bare name") << QByteArray("plate.nc") << QByteArray("plate.blt");
    }
    void saveName()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(BoltSaveName(View(path))), expected);
    }
};

REGISTER_TEST(BoltCircleTests);

#include "BoltCircleTests.moc"
