// Measuring with Qt's fonts, and the code page at the Qt boundary.

#include "editctl/ZuQtMetrics.h"
#include "editctl/engine/ZuCodePage.h"
#include "editctl/engine/ZuFontTable.h"
#include "support/TestRegistry.h"

#include <QTest>

class ZuQtMetricsTests : public QObject {
    Q_OBJECT
private slots:
    void codePageRoundTrip()
    {
        std::string every;
        for (int b = 0; b < 256; ++b)
            every += char(b);
        QCOMPARE(ZuFromQString(ZuToQString(every)), every);
        QCOMPARE(ZuToQString("\x80 \x9f \xe9"), QString::fromUtf8("€ Ÿ é"));
        QCOMPARE(ZuFromQString(QString::fromUtf8("€uro – Ω")), std::string("\x80uro \x96 ?"));
        QCOMPARE(ZuUnicodeToAnsi(char32_t(0x2122)), 0x99);
        QCOMPARE(ZuUnicodeToAnsi(char32_t(0x3A9)), -1);
    }

    void measuresQtFonts()
    {
        ZuQtMetrics metrics(QFont("DejaVu Sans Mono", 10));
        ZuFontTable table(&metrics);
        const ZuFontEntry& mono = table.DefaultFont();
        QVERIFY(!mono.Metrics().variablePitch);
        QVERIFY(mono.Width('i') > 0);
        QCOMPARE(mono.Width('i'), mono.Width('W'));
        QCOMPARE(mono.Attribute(ZuAttrFaceName).text, std::string("DejaVu Sans Mono"));
        QVERIFY(!table.IsProportional());

        ZuFontEntry sans(&metrics);
        QCOMPARE(sans.SetAttribute(ZuAttrFaceName, ZuAttributeValue::Text("DejaVu Sans")), ZuOk);
        QVERIFY(sans.Metrics().variablePitch);
        QVERIFY(sans.Width('W') > sans.Width('i'));
        QVERIFY(sans.Width(0x80) > 0); // the euro sign through the code page
        std::uint32_t index = 0;
        table.FindOrAdd(sans, index);
        QVERIFY(table.IsProportional());
        QCOMPARE(sans.SetAttribute(ZuAttrSize, ZuAttributeValue::Number(20)), ZuOk);
        QVERIFY(sans.Metrics().ascent > mono.Metrics().ascent);
    }
};

REGISTER_TEST(ZuQtMetricsTests);
#include "ZuQtMetricsTests.moc"
