#include "NcTestSupport.h"

#include "nc/ReplaceAll.h"

#include <QTest>
#include "support/TestRegistry.h"

class ReplaceAllTests : public QObject {
    Q_OBJECT

private slots:
    void replaceAll_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("find");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("inside longer words") << QByteArray("X1 X15 X1.5") << QByteArray("X1") << QByteArray("X2")
                                             << QByteArray("X2 X25 X2.5");
        QTest::newRow("left to right, no overlap") << QByteArray("AAA") << QByteArray("AA") << QByteArray("B")
                                                   << QByteArray("BA");
        QTest::newRow("replacement not searched again") << QByteArray("X1") << QByteArray("X") << QByteArray("XX")
                                                        << QByteArray("XX1");
        QTest::newRow("case matters") << QByteArray("X1 x1") << QByteArray("x1") << QByteArray("Y1")
                                      << QByteArray("X1 Y1");
        QTest::newRow("empty replacement") << QByteArray("/G01\r\n/G02") << QByteArray("/") << QByteArray()
                                           << QByteArray("G01\r\nG02");
        QTest::newRow("across a line break") << QByteArray("A\r\nB") << QByteArray("\r\n") << QByteArray("\n")
                                             << QByteArray("A\nB");
        QTest::newRow("empty find changes nothing") << QByteArray("X1") << QByteArray() << QByteArray("Y")
                                                    << QByteArray("X1");
        QTest::newRow("no match") << QByteArray("G01") << QByteArray("N0") << QByteArray("N") << QByteArray("G01");
    }
    void replaceAll()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, find);
        QFETCH(QByteArray, replacement);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(ReplaceAll(View(input), View(find), View(replacement))), expected);
    }

    void removeLeadingZeros_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("N005") << QByteArray("N005") << QByteArray("N5");
        QTest::newRow("N0005") << QByteArray("N0005") << QByteArray("N5");
        QTest::newRow("N010") << QByteArray("N010") << QByteArray("N10");
        QTest::newRow("N00005 keeps one") << QByteArray("N00005") << QByteArray("N05");
        QTest::newRow("N0, N00, N000") << QByteArray("N0 N00 N000") << QByteArray("N N N");
        QTest::newRow("N0001") << QByteArray("N0001") << QByteArray("N1");
        QTest::newRow("N100, N1000") << QByteArray("N100 N1000") << QByteArray("N100 N1000");
        QTest::newRow("comments too") << QByteArray("(N00 TOOL)") << QByteArray("(N TOOL)");
        QTest::newRow("case matters") << QByteArray("n005") << QByteArray("n005");
        QTest::newRow("program") << QByteArray("N010G01\r\nN020X1\nN100M30") << QByteArray("N10G01\r\nN20X1\nN100M30");
    }
    void removeLeadingZeros()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(Bytes(RemoveLeadingZeros(View(input))), expected);
    }

    // The one-pass version gives exactly the text of the two replace-all passes, on every text
    // of up to seven characters made of N, 0, 5 and a blank.
    void removeLeadingZerosEqualsTwoPasses()
    {
        const char alphabet[] = {'N', '0', '5', ' '};
        std::string text;
        for (int length = 0; length <= 7; ++length) {
            int count = 1;
            for (int i = 0; i < length; ++i)
                count *= 4;
            for (int code = 0; code < count; ++code) {
                text.clear();
                for (int i = 0, c = code; i < length; ++i, c /= 4)
                    text += alphabet[c % 4];
                const std::string twoPasses = ReplaceAll(ReplaceAll(text, "N00", "N"), "N0", "N");
                if (RemoveLeadingZeros(text) != twoPasses)
                    QFAIL(("differs on \"" + text + "\"").c_str());
            }
        }
    }
};

REGISTER_TEST(ReplaceAllTests);

#include "ReplaceAllTests.moc"
