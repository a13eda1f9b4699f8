// The two panes and the splitter bar between them.

#include "ZuTestSupport.h"
#include "support/TestRegistry.h"

#include "editctl/ZuEditor20.h"

#include <QTest>

class ZuPaneLayoutTests : public QObject {
    Q_OBJECT
private slots:
    void layout_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("bar");
        QTest::addColumn<int>("size"); // width for type 1, height for type 2
        QTest::addColumn<QRect>("first");
        QTest::addColumn<QRect>("second");
        QTest::newRow("no splitter") << 0 << -2 << 7 << 207 << QRect(0, 0, 207, 50) << QRect();
        QTest::newRow("halved") << 1 << -2 << 7 << 207 << QRect(0, 0, 100, 50) << QRect(107, 0, 100, 50);
        QTest::newRow("all to the first") << 1 << -1 << 7 << 207 << QRect(0, 0, 200, 50) << QRect();
        QTest::newRow("first hidden") << 1 << 0 << 7 << 207 << QRect(0, 0, 0, 50) << QRect(7, 0, 200, 50);
        QTest::newRow("at 30") << 1 << 30 << 7 << 207 << QRect(0, 0, 30, 50) << QRect(37, 0, 170, 50);
        QTest::newRow("beyond the space") << 1 << 500 << 7 << 207 << QRect(0, 0, 199, 50) << QRect(206, 0, 1, 50);
        QTest::newRow("bar as wide as the area") << 1 << -2 << 207 << 207 << QRect(0, 0, 0, 50) << QRect();
        QTest::newRow("above and below") << 2 << -2 << 7 << 207 << QRect(0, 0, 50, 100) << QRect(0, 107, 50, 100);
        QTest::newRow("above, position 30") << 2 << 30 << 4 << 100 << QRect(0, 0, 50, 30) << QRect(0, 34, 50, 66);
    }
    void layout()
    {
        QFETCH(int, type);
        QFETCH(int, position);
        QFETCH(int, bar);
        QFETCH(int, size);
        QFETCH(QRect, first);
        QFETCH(QRect, second);
        const int width = type == 2 ? 50 : size;
        const int height = type == 2 ? size : 50;
        const ZuPaneLayout layout = ZuEditor20::ComputeLayout(type, position, bar, width, height);
        QCOMPARE(layout.first, first);
        QCOMPARE(layout.second, second);

        // The widget places its panes the same way.
        ZuEditor20 editor;
        editor.resize(width, height);
        editor.SplitterWidth = std::int16_t(bar);
        editor.SetSplitterPosition(position);
        editor.SetSplitterType(type);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.PaneWindow(0).geometry(), first);
        QCOMPARE(editor.PaneWindow(1).isVisible(), !second.isEmpty());
        if (!second.isEmpty())
            QCOMPARE(editor.PaneWindow(1).geometry(), second);
    }

    void storedValues()
    {
        QCOMPARE(ZuEditor20::StoredSplitterType(5), std::int16_t(2));
        QCOMPARE(ZuEditor20::StoredSplitterType(-3), std::int16_t(0));
        QCOMPARE(ZuEditor20::StoredSplitterPosition(-7), std::int16_t(-2));
        QCOMPARE(ZuEditor20::StoredSplitterPosition(-1), std::int16_t(-1));
    }
};

REGISTER_TEST(ZuPaneLayoutTests);
#include "ZuPaneLayoutTests.moc"
