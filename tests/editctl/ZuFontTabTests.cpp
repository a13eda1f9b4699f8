// Fonts, their attributes and table, and tab sets.

#include "editctl/engine/ZuFontTable.h"
#include "editctl/engine/ZuTabSet.h"
#include "support/TestRegistry.h"

#include <QTest>

class ZuFontTabTests : public QObject {
    Q_OBJECT
private slots:
    void stopPositions_data()
    {
        QTest::addColumn<int>("defaultWidth");
        QTest::addColumn<QList<int>>("set");
        QTest::addColumn<QList<int>>("stops");
        QTest::newRow("defaults only") << 40 << QList<int>{} << QList<int>{40, 80, 120};
        QTest::newRow("set stop, then defaults from its width") << 40 << QList<int>{50} << QList<int>{50, 80, 120};
        QTest::newRow("unset: eight average widths") << -1 << QList<int>{} << QList<int>{56, 112, 168};
        QTest::newRow("zero counts as unset") << 0 << QList<int>{} << QList<int>{56, 112, 168};
        QTest::newRow("set out of order") << 10 << QList<int>{35, 12} << QList<int>{12, 35, 40};
        QTest::newRow("capped") << 20000 << QList<int>{} << QList<int>{20000, 32767, 32767};
    }
    void stopPositions()
    {
        QFETCH(int, defaultWidth);
        QFETCH(QList<int>, set);
        QFETCH(QList<int>, stops);
        ZuTabSet tabs;
        tabs.SetDefaultWidth(defaultWidth);
        for (int x : set)
            tabs.InsertStop(x);
        for (int i = 0; i < stops.size(); ++i)
            QCOMPARE(tabs.StopPosition(i, ZuTabsSorted, 7), stops[i]);
    }

    void tabsAlwaysAdvance_data()
    {
        QTest::addColumn<int>("defaultWidth");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("previous");
        QTest::newRow("between defaults") << 40 << 45 << 80 << 40;
        QTest::newRow("on a default") << 40 << 80 << 120 << 40;
        QTest::newRow("width zero is eight averages") << 0 << 3 << 56 << 0;
        QTest::newRow("at the cap a tab still moves") << 40 << 32767 << 32807 << 32760;
        QTest::newRow("beyond the cap") << 100 << 40000 << 40100 << 32767;
    }
    void tabsAlwaysAdvance()
    {
        QFETCH(int, defaultWidth);
        QFETCH(int, x);
        ZuTabSet tabs;
        tabs.SetDefaultWidth(defaultWidth);
        QTEST(tabs.NextStop(x, 7), "next");
        QTEST(tabs.PreviousStop(x, 7), "previous");
    }

    void editStops()
    {
        ZuTabSet tabs;
        tabs.SetDefaultWidth(40);
        QCOMPARE(tabs.InsertStop(100), 0);
        QCOMPARE(tabs.InsertStop(30), 1);
        QCOMPARE(tabs.InsertStop(100), 0); // already there: nothing added
        QCOMPARE(tabs.Count(), 2);
        QCOMPARE(tabs.StopPosition(0, ZuTabsSorted, 7), 30);
        QCOMPARE(tabs.StopPosition(0, ZuTabsByIndex, 7), 100);
        QCOMPARE(tabs.StopIndexAt(30), 0);
        QCOMPARE(tabs.StopIndexAt(31), -1);
        QCOMPARE(tabs.StopIndexAfter(30, 7), 1);
        QCOMPARE(tabs.StopIndexAfter(100, 7), 2); // the first default stop, at 120
        QCOMPARE(tabs.StopPosition(2, ZuTabsSorted, 7), 120);
        QCOMPARE(tabs.StopIndexAtOrAfter(120, 7), 2);

        // Setting through one list sets the same stop in the other.
        tabs.SetAlignment(2, 0, ZuTabsSorted);
        QCOMPARE(tabs.Alignment(1, ZuTabsByIndex), 2u);
        tabs.SetLeader(1, 0, ZuTabsByIndex);
        QCOMPARE(tabs.Leader(1, ZuTabsSorted), 1u);
        QCOMPARE(tabs.Alignment(5, ZuTabsSorted), 0u);

        tabs.MoveStop(0, 10); // the stop set first moves before the other
        QCOMPARE(tabs.StopPosition(0, ZuTabsSorted, 7), 10);
        QCOMPARE(tabs.Leader(0, ZuTabsSorted), 1u);
        QCOMPARE(tabs.RemoveStop(1), 30);
        QCOMPARE(tabs.RemoveStop(1), -1);
        QCOMPARE(tabs.Count(), 1);

        QCOMPARE(tabs.SetCount(3, 7), ZuOk);
        QCOMPARE(tabs.Count(), 3);
        QCOMPARE(tabs.StopPosition(1, ZuTabsSorted, 7), 40);
        QCOMPARE(tabs.StopPosition(2, ZuTabsSorted, 7), 80);
        QCOMPARE(tabs.SetCount(1, 7), ZuOk);
        QCOMPARE(tabs.Count(), 1);
        QCOMPARE(tabs.StopPosition(0, ZuTabsSorted, 7), 10);
        QCOMPARE(tabs.InsertStop(99999), 1); // held at the cap
        QCOMPARE(tabs.StopPosition(1, ZuTabsSorted, 7), ZuMaxTabPosition);
    }

    void delegatedDefaultWidthAndClone()
    {
        ZuTabSet document;
        document.SetDefaultWidth(30);
        ZuTabSet paragraph;
        paragraph.DelegateDefaultWidth(&document);
        QCOMPARE(paragraph.DefaultWidth(7), 30);
        QCOMPARE(paragraph.SetDefaultWidth(50), 30);
        QCOMPARE(document.DefaultWidth(7), 50);
        paragraph.InsertStop(96);
        const std::unique_ptr<ZuTabSet> printer = paragraph.Clone(300, 96);
        QCOMPARE(printer->StopPosition(0, ZuTabsSorted, 7), 300);
    }

    void fontAttributes()
    {
        ZuFixedMetrics metrics(7);
        ZuFontEntry font(&metrics);
        QCOMPARE(font.Attribute(ZuAttrBold).number, 0.0);
        QCOMPARE(font.Attribute(ZuAttrFaceName).text, std::string("Fixed"));
        QCOMPARE(font.Attribute(ZuAttrSize).number, 12.0); // 16 px at 96 pixels per inch
        QCOMPARE(font.SetAttribute(ZuAttrBold, ZuAttributeValue::Number(-1)), ZuOk);
        QCOMPARE(font.Attribute(ZuAttrBold).number, -1.0);
        QCOMPARE(font.Font().weight, 700);
        QCOMPARE(font.Font().quality, 2);
        QCOMPARE(font.SetAttribute(ZuAttrSize, ZuAttributeValue::Number(9)), ZuOk);
        QCOMPARE(font.Font().height, -12);
        QCOMPARE(font.Attribute(ZuAttrSize).number, 9.0);
        QCOMPARE(font.SetAttribute(ZuAttrFaceName, ZuAttributeValue::Text(std::string(40, 'F'))), ZuOk);
        QCOMPARE(font.Font().faceName.size(), std::size_t(31));
        QCOMPARE(font.SetAttribute(9, ZuAttributeValue::Number(1)), ZuErrBadParameter);
        QCOMPARE(font.SetAttribute(ZuAttrSize, ZuAttributeValue::Number(-4)), ZuErrBadParameter);
        // A font that cannot be made leaves the entry as it was.
        const ZuFontDescriptor before = font.Font();
        QCOMPARE(font.SetAttribute(ZuAttrFaceName, ZuAttributeValue::Text("Missing")), ZuErrNoMemory);
        QVERIFY(font.Font() == before);
    }

    void boldOnBoldMakesNoFont()
    {
        ZuFixedMetrics metrics(7);
        ZuFontTable table(&metrics);
        ZuFontEntry bold(&metrics);
        bold.SetAttribute(ZuAttrBold, ZuAttributeValue::Number(1));
        std::uint32_t index = 0;
        QCOMPARE(table.FindOrAdd(bold, index), ZuOk);
        QCOMPARE(index, 1u);
        std::unique_ptr<ZuFontEntry> again = table.At(1).Clone();
        QCOMPARE(again->SetAttribute(ZuAttrBold, ZuAttributeValue::Number(1)), ZuOk);
        QCOMPARE(table.FindOrAdd(*again, index), ZuOk);
        QCOMPARE(index, 1u);
        QCOMPARE(table.Count(), 2u);
        QVERIFY(table.FindFont(table.DefaultFont(), index) && index == 0);
    }

    void mergeAndRenumber()
    {
        ZuFixedMetrics metrics(7);
        ZuFontTable ours(&metrics);
        ZuFontTable theirs(&metrics);
        ZuFontEntry italic(&metrics), bold(&metrics);
        italic.SetAttribute(ZuAttrItalic, ZuAttributeValue::Number(1));
        bold.SetAttribute(ZuAttrBold, ZuAttributeValue::Number(1));
        std::uint32_t index = 0;
        ours.FindOrAdd(italic, index);
        theirs.FindOrAdd(bold, index);
        theirs.FindOrAdd(italic, index);
        QCOMPARE(ours.MergeFrom(theirs), ZuOk);
        QCOMPARE(ours.Count(), 3u);
        std::vector<std::uint32_t> map;
        QCOMPARE(theirs.IndexMap(ours, map), ZuOk);
        QCOMPARE(map, (std::vector<std::uint32_t>{0, 2, 1}));
        ZuFontTable small(&metrics);
        QCOMPARE(theirs.IndexMap(small, map), ZuErrBadParameter);
    }

    void fontsForAPrinter()
    {
        ZuFixedMetrics screen(7);
        struct Printer : ZuFixedMetrics {
            Printer() : ZuFixedMetrics(28) {}
            int PixelsPerInchY() const override { return 384; }
        } printer;
        ZuFontTable table(&screen);
        ZuFontEntry big(&screen);
        big.SetAttribute(ZuAttrSize, ZuAttributeValue::Number(24)); // 32 px on the screen
        std::uint32_t index = 0;
        table.FindOrAdd(big, index);
        const std::unique_ptr<ZuFontTable> device = table.CreateForDC(&printer);
        QVERIFY(device);
        QCOMPARE(device->Count(), 2u);
        QCOMPARE(device->DefaultFont().Font().height, 64); // 16 px cell, four times the pixels per inch
        QCOMPARE(device->At(1).Font().height, 128);
        QCOMPARE(device->At(1).Width('x'), 28);
        QCOMPARE(device->At(1).Attribute(ZuAttrSize).number, 24.0);
        ZuFontEntry missing(&printer);
        QCOMPARE(missing.Measure(ZuFontDescriptor{"Missing"}), ZuErrNoMemory);
    }

    void proportional_data()
    {
        QTest::addColumn<QString>("defaultFace");
        QTest::addColumn<QString>("runFace");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("proportional");
        QTest::newRow("all fixed, same width") << "Fixed" << "Courier" << false << false;
        QTest::newRow("fixed default, proportional run") << "Fixed" << "Proportional" << false << true;
        QTest::newRow("proportional default, fixed run") << "Proportional" << "Fixed" << false << true;
        QTest::newRow("fixed fonts of other widths") << "Fixed" << "Courier" << true << true;
        QTest::newRow("no run fonts") << "Fixed" << "" << false << false;
    }
    void proportional()
    {
        QFETCH(QString, defaultFace);
        QFETCH(QString, runFace);
        QFETCH(bool, bold);
        ZuFixedMetrics metrics(7);
        metrics.widthOfBold = 9;
        ZuFontTable table(&metrics);
        table.DefaultFont().SetAttribute(ZuAttrFaceName, ZuAttributeValue::Text(defaultFace.toStdString()));
        if (!runFace.isEmpty()) {
            ZuFontEntry run(&metrics);
            run.SetAttribute(ZuAttrFaceName, ZuAttributeValue::Text(runFace.toStdString()));
            if (bold)
                run.SetAttribute(ZuAttrBold, ZuAttributeValue::Number(1));
            std::uint32_t index = 0;
            table.FindOrAdd(run, index);
        }
        QTEST(table.IsProportional(), "proportional");
    }
};

REGISTER_TEST(ZuFontTabTests);
#include "ZuFontTabTests.moc"
