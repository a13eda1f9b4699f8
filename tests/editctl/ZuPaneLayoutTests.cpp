// The two panes and the splitter bar between them.

#include "ZuTestSupport.h"
#include "ZuViewFixture.h"
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

    void splitPanesShowOneDocument()
    {
        auto editor = ZuShownEditor("first line\r\nsecond line\r\nthird", {400, 200});
        QVERIFY(editor);
        editor->SetSplitterType(2);
        QVERIFY(editor->PaneWindow(1).isVisible());
        ZuPaneView& top = editor->View(0);
        ZuPaneView& bottom = editor->View(1);
        QCOMPARE(&top.Document(), &bottom.Document());
        QCOMPARE(top.LinkedView(), &bottom);
        // Each pane has its own caret; an edit in one moves the other's past it.
        bottom.CaretToPosition({3, 1});
        ZuTypeKeys(*editor, "x Enter");
        QCOMPARE(top.Caret(), ZuTextPosition({0, 1}));
        QCOMPARE(bottom.Caret(), ZuTextPosition({3, 2}));
        QCOMPARE(bottom.Document().LineText(1, 1), std::string("x"));
        // Shift+Tab moves the keys to the other pane.
        ZuTypeKeys(*editor, "S-Tab");
        QCOMPARE(editor->FocusPane(), 1);
        ZuTypeKeys(*editor, "y");
        QCOMPARE(editor->Document().LineText(0, 3), std::string("secyond line"));
        QCOMPARE(top.Caret(), ZuTextPosition({0, 1}));
        // Each pane wraps on its own: the lines differ, the text stays one.
        bottom.SetWrapX(4 * editor->Fonts().DefaultFont().Width('a'));
        QCOMPARE(bottom.SetWrapAutomatically(true), ZuOk);
        QVERIFY(bottom.LineCount() > top.LineCount());
        ZuTypeKeys(*editor, "z");
        QCOMPARE(editor->Document().LineCount(0), 4u);
        // Unsplitting gives the keys back to the first pane and cuts the link.
        editor->SetSplitterType(0);
        QCOMPARE(editor->FocusPane(), 0);
        QVERIFY(!editor->PaneWindow(1).isVisible());
        QCOMPARE(top.LinkedView(), nullptr);
        ZuTypeKeys(*editor, "w");
        QCOMPARE(editor->Document().LineText(0, 2), std::string("wfirst line"));
    }

    void splitterDrag_data()
    {
        QTest::addColumn<int>("dropX");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<int>("position");
        QTest::newRow("moved") << 150 << false << 146;
        QTest::newRow("beyond the far edge") << 420 << false << -1;
        QTest::newRow("at the near edge") << 2 << false << 0;
        QTest::newRow("cancelled by Esc") << 150 << true << -2;
    }
    void splitterDrag()
    {
        QFETCH(int, dropX);
        QFETCH(bool, escape);
        QFETCH(int, position);
        auto editor = ZuShownEditor("text", {407, 100});
        QVERIFY(editor);
        editor->SetSplitterType(1);
        QCOMPARE(editor->PaneWindow(0).width(), 200);
        // Grabbed 4 px into the bar, which starts at 200.
        QTest::mousePress(editor.get(), Qt::LeftButton, {}, QPoint(204, 50));
        QCOMPARE(editor->MouseMode(), 4);
        QVERIFY(editor->TimerRunning());
        QTest::mouseMove(editor.get(), QPoint(dropX, 50));
        if (escape)
            ZuTypeKeys(*editor, "Esc");
        QTest::mouseRelease(editor.get(), Qt::LeftButton, {}, QPoint(dropX, 50));
        QCOMPARE(int(editor->SplitterPosition), position);
        QCOMPARE(editor->MouseMode(), 0);
        QVERIFY(!editor->TimerRunning());
    }

    void splitterDisabledDoesNotDrag()
    {
        auto editor = ZuShownEditor("text", {407, 100});
        QVERIFY(editor);
        editor->SetSplitterType(1);
        editor->SplitterEnabled = false;
        QTest::mousePress(editor.get(), Qt::LeftButton, {}, QPoint(204, 50));
        QCOMPARE(editor->MouseMode(), 0);
        QTest::mouseRelease(editor.get(), Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(int(editor->SplitterPosition), -2);
    }
};

REGISTER_TEST(ZuPaneLayoutTests);
#include "ZuPaneLayoutTests.moc"
