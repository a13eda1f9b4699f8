// The print settings: defaults, what is stored, reading back, restore.

#include "print/CTxtPrintDoc.h"
#include "print/PrintProfile.h"
#include "PrintTestSupport.h"
#include "support/TestRegistry.h"

#include <QLocale>
#include <QTest>
#include <clocale>

using namespace prentil;

namespace {

std::vector<ExtensionEntry> DefaultList()
{
    return {{"Default", 8}, {"c", 4}, {"cnc", 4}, {"nwd", 4}, {"nc", 4}, {"ncc", 4}, {"abu", 4}, {"txt", 8}};
}

const QString Misc = QStringLiteral("Misc settings");
const QString Ext = QStringLiteral("Extensions");

}  // namespace

class tst_CTxtPrintDoc : public QObject {
    Q_OBJECT
private slots:
    void init() { printtest::ClearSettings(); }
    void cleanup() { printtest::ClearSettings(); }

    void freshStoreGivesDefaults()
    {
        CTxtPrintDoc doc;
        doc.LoadSettings();
        QCOMPARE(doc.TopMargin(), 20.0);
        QCOMPARE(doc.BottomMargin(), 15.0);
        QCOMPARE(doc.LeftMargin(), 15.0);
        QCOMPARE(doc.RightMargin(), 15.0);
        QCOMPARE(doc.Columns(), 2);
        QCOMPARE(doc.Rows(), 1);
        QCOMPARE(doc.Orientation(), 1);
        QCOMPARE(doc.HeaderOptions(), 259);
        QCOMPARE(doc.FooterOptions(), 252);
        QCOMPARE(doc.LineWrapOption(), WrapWords);
        QCOMPARE(doc.PointHeight(), 8);
        QCOMPARE(doc.Font().faceName, QStringLiteral("Courier New"));
        QVERIFY(doc.Extensions() == DefaultList());
    }

    void saveWritesTheStoredFormAndLoadsBack()
    {
        CTxtPrintDoc doc;
        doc.LoadSettings();
        doc.SetTopMargin(12.5);
        doc.SetRows(3);
        doc.SetHeaderOptions(0x105);
        doc.SetOrientation(0);
        doc.AppendExtension({"tap", 2});
        doc.SaveSettings();
        QCOMPARE(GetProfileString(Misc, "Top Margin", {}), QStringLiteral("12.5mm"));
        QCOMPARE(GetProfileString(Misc, "Left Margin", {}), QStringLiteral("15mm"));
        QCOMPARE(GetProfileInt(Ext, "Extension Count", 0), 9);
        QCOMPARE(GetProfileString(Ext, "0.Name", {}), QStringLiteral("Default"));
        QCOMPARE(GetProfileInt(Ext, "0.Tabs", 0), 8);
        QCOMPARE(GetProfileString(Ext, "8.Name", {}), QStringLiteral("tap"));

        CTxtPrintDoc again;
        again.LoadSettings();
        QCOMPARE(again.TopMargin(), 12.5);
        QCOMPARE(again.Rows(), 3);
        QCOMPARE(again.HeaderOptions(), 0x105);
        QCOMPARE(again.Orientation(), 0);
        QVERIFY(again.Extensions() == doc.Extensions());
    }

    // A process running under a locale with a decimal comma still writes a
    // point, and a comma written by an older copy reads as a decimal mark.
    void marginsIgnoreTheLocale()
    {
        const QByteArray old = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        CTxtPrintDoc doc;
        doc.SetLeftMargin(12.5);
        doc.SaveSettings();
        std::setlocale(LC_ALL, old.constData());
        QLocale::setDefault(QLocale::c());
        QCOMPARE(GetProfileString(Misc, "Left Margin", {}), QStringLiteral("12.5mm"));
        WriteProfileString(Misc, "Right Margin", "7,25mm");
        CTxtPrintDoc loaded;
        loaded.LoadSettings();
        QCOMPARE(loaded.LeftMargin(), 12.5);
        QCOMPARE(loaded.RightMargin(), 7.25);
    }

    void marginTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("mm");
        QTest::newRow("millimetres") << "12.5mm" << 12.5;
        QTest::newRow("comma") << "12,5mm" << 12.5;
        QTest::newRow("plain") << "20.0" << 20.0;
        QTest::newRow("leading blank") << " 3mm" << 3.0;
        QTest::newRow("negative") << "-1.5mm" << -1.5;
        QTest::newRow("no number") << "mm" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
    }
    void marginTexts()
    {
        QFETCH(QString, text);
        QFETCH(double, mm);
        QCOMPARE(ParseMargin(text), mm);
    }

    void extensionLists_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("second");
        QTest::newRow("Default alone") << 1 << 1 << QString();
        QTest::newRow("missing names read txt") << 5 << 5 << "first";
        QTest::newRow("huge count capped") << 2000000000 << MaxExtensionCount << "first";
    }
    void extensionLists()
    {
        QFETCH(int, count);
        QFETCH(int, size);
        QFETCH(QString, second);
        WriteProfileInt(Ext, "Extension Count", count);
        WriteProfileString(Ext, "1.Name", "first");
        WriteProfileString(Ext, "0.Name", "ignored");
        CTxtPrintDoc doc;
        doc.LoadSettings();
        QCOMPARE(static_cast<int>(doc.Extensions().size()), size);
        QCOMPARE(doc.Extensions()[0], (ExtensionEntry{"Default", 8}));
        if (size > 1) {
            QCOMPARE(doc.Extensions()[1].name, second);
            QCOMPARE(doc.Extensions()[2], (ExtensionEntry{"txt", 4}));
        }
    }

    void storedValuesAreNotValidatedOnLoad()
    {
        WriteProfileInt(Misc, "Rows", 0);
        WriteProfileInt(Misc, "Orientation", 7);
        WriteProfileInt("Printer Font", "Italic", 0x101);
        CTxtPrintDoc doc;
        doc.LoadSettings();
        QCOMPARE(doc.Rows(), 0);
        QCOMPARE(doc.Orientation(), 0);
        QCOMPARE(doc.Font().italic, 1);
    }

    void defaultOrientationComesFromThePrinter()
    {
        WriteProfileInt(Misc, "Use default Orientation", 1);
        WriteProfileInt(Misc, "Orientation", 1);
        CTxtPrintDoc doc;
        doc.SetPrinterDefaultOrientation(0);
        doc.LoadSettings();
        QCOMPARE(doc.Orientation(), 0);
    }

    void restoreBringsBackTheBuiltInDefaults()
    {
        CTxtPrintDoc doc;
        doc.LoadSettings();
        doc.SetTopMargin(40);
        doc.RemoveExtension(1);
        doc.SaveSettings();
        WriteProfileInt("Window placement", "normal.left", 10);
        doc.RestoreOriginalSettings();
        QCOMPARE(doc.TopMargin(), 20.0);
        QVERIFY(doc.Extensions() == DefaultList());
        QCOMPARE(GetProfileInt("Window placement", "normal.left", -1), -1);
    }

    void extensionLookupOrderAndEdits()
    {
        CTxtPrintDoc doc;
        QCOMPARE(doc.TabSpacingFor("nc"), 4);
        QCOMPARE(doc.TabSpacingFor("NC"), 8);  // names are compared exactly
        QCOMPARE(doc.ExtensionOrder("cnc", "nc"), -1);
        QCOMPARE(doc.ExtensionOrder("nc", "cnc"), 1);
        QCOMPARE(doc.ExtensionOrder("nc", "nc"), 0);
        QCOMPARE(doc.ExtensionOrder("bak", "zzz"), 0);
        QCOMPARE(doc.ExtensionOrder("bak", "nc"), 1);
        QVERIFY(doc.BothListed("cnc", "nc"));
        QVERIFY(!doc.BothListed("cnc", "bak"));
        doc.SetOnlyDefaultTab(1);
        QCOMPARE(doc.TabSpacingFor("nc"), 8);
        doc.SetOnlyDefaultTab(0);
        // A spacing below 1 never reaches tab expansion.
        doc.SetExtensionTabs(4, 0);
        doc.SetExtensionTabs(0, 0);
        QCOMPARE(doc.TabSpacingFor("nc"), FallbackTabSpacing);
        QVERIFY(!doc.RemoveExtension(0));
        QVERIFY(!doc.MoveExtension(3, 0));
        QVERIFY(!doc.MoveExtension(0, 3));
        QVERIFY(doc.MoveExtension(7, 1));
        QCOMPARE(doc.Extensions()[1].name, QStringLiteral("txt"));
        QCOMPARE(doc.Extensions()[0].name, QStringLiteral("Default"));
    }

    void layoutSettersInvalidateTheDerivedValues()
    {
        CTxtPrintDoc doc;
        int calls = 0;
        doc.SetLayoutCalculator([&](const CTxtPrintDoc& d, int& cpl, int& lpp) {
            ++calls;
            cpl = 100 / d.Columns();
            lpp = 50;
        });
        QCOMPARE(doc.CharactersPerLine(), 50);
        QCOMPARE(doc.LinesPerVirtualPage(), 50);
        QCOMPARE(calls, 1);
        doc.SetColumns(1);
        QCOMPARE(doc.CharactersPerLine(), 100);
        QCOMPARE(calls, 2);
        doc.SetPageBreakOption(2);  // does not change the layout
        QCOMPARE(doc.CharactersPerLine(), 100);
        QCOMPARE(calls, 2);
    }
};

REGISTER_TEST(tst_CTxtPrintDoc);
#include "tst_CTxtPrintDoc.moc"
