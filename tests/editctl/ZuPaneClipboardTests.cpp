// Copy, cut and paste in the panes of the control, drag and drop inside one
// control and between two, and search and replace through a pane: each on a
// small text, checked by the bytes that result and by undo.

#include "ZuTestSupport.h"
#include "support/TestRegistry.h"

#include "editctl/ZuEditor20.h"
#include "editctl/ZuSystemClipboard.h"
#include "editctl/engine/ZuClipboard.h"
#include "editctl/engine/ZuPrivateClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

namespace {

// A shown control over a text, both panes side by side.
struct Control {
    explicit Control(const std::string& text, QPoint at = {0, 0})
    {
        editor.SetSplitterType(1);
        editor.setGeometry(QRect(at, QSize(420, 120)));
        editor.SetPlainText(text);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
    }
    // A selection of a pane from one position to another (0-based lines).
    void Select(int pane, ZuTextPosition from, ZuTextPosition to, int type = ZuRangeStream)
    {
        ZuPaneView& view = editor.View(pane);
        view.ClearSelection();
        view.CaretToPosition(from);
        view.StartSelection(type);
        view.CaretToPosition(to);
        view.FixSelection();
    }
    std::string Text() { return editor.Document().Text(); }
    // The client point of a text position of a pane.
    QPoint PointOf(int pane, ZuTextPosition p) { return editor.View(pane).PointOf(p) + QPoint(1, 2); }

    ZuEditor20 editor;
};

} // namespace

class ZuPaneClipboardTests : public QObject {
    Q_OBJECT
private slots:
    void copiesTheSelectionOfAPane_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<ZuTextPosition>("from");
        QTest::addColumn<ZuTextPosition>("to");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("recordType");

        QTest::newRow("stream") << int(ZuRangeStream) << ZuTextPosition{1, 0} << ZuTextPosition{2, 1}
                                << QByteArray("bcd\r\nef") << 1;
        QTest::newRow("column 3 by 2") << int(ZuRangeColumn) << ZuTextPosition{1, 0} << ZuTextPosition{4, 1}
                                       << QByteArray("bcd\r\nfgh") << 3;
        QTest::newRow("lines") << int(ZuRangeLine) << ZuTextPosition{2, 1} << ZuTextPosition{0, 2}
                               << QByteArray("efgh\r\nij\r\n") << 2;
    }
    void copiesTheSelectionOfAPane()
    {
        QFETCH(int, type);
        QFETCH(ZuTextPosition, from);
        QFETCH(ZuTextPosition, to);
        QFETCH(QByteArray, text);
        QFETCH(int, recordType);
        Control c("abcd\r\nefgh\r\nij");
        c.Select(0, from, to, type);
        ZuPrivateClipboard clipboard;
        QCOMPARE(c.editor.View(0).CopySelection(clipboard), ZuOk);
        QCOMPARE(QByteArray::fromStdString(*clipboard.Get(ZuClipTextFormat)), text);
        const auto record = ZuDecodeClipRange(clipboard.Get(ZuClipRangeFormat));
        QVERIFY(record);
        QCOMPARE(int(record->type), recordType);
        // Nothing selected: the clipboard keeps what it held.
        c.editor.View(0).ClearSelection();
        clipboard.Set(ZuClipTextFormat, "kept");
        QCOMPARE(c.editor.View(0).CopySelection(clipboard), ZuOk);
        QCOMPARE(*clipboard.Get(ZuClipTextFormat), std::string("kept"));
    }

    void dropIsRefusedWhereItCannotLand_data()
    {
        QTest::addColumn<int>("target"); // 0 none, 1 read-only, 2 drag and drop off, 3 open
        QTest::addColumn<int>("cursor");
        QTest::newRow("outside every pane") << 0 << 5;
        QTest::newRow("read-only target") << 1 << 5;
        QTest::newRow("drag and drop off at the target") << 2 << 5;
        QTest::newRow("an open target") << 3 << 3;
    }
    void dropIsRefusedWhereItCannotLand()
    {
        QFETCH(int, target);
        QFETCH(int, cursor);
        Control source("abc def");
        Control other("xyz", QPoint(0, 200));
        ZuPaneView& to = other.editor.View(0);
        to.SetReadOnly(target == 1);
        to.SetDragDropEnabled(target != 2);
        source.Select(0, {0, 0}, {3, 0});
        ZuPaneView& from = source.editor.View(0);
        QVERIFY(from.StartDrag(false));
        ZuPaneView* pane = target == 0 ? nullptr : &to;
        QCOMPARE(from.DragOverPane(pane, other.PointOf(0, {1, 0})), cursor);
        QCOMPARE(ZuPaneView::DropCaretView(), cursor == 5 ? nullptr : pane);
        if (cursor != 5)
            QCOMPARE(to.DropCaret(), (ZuTextPosition{1, 0}));
        if (cursor == 5) {
            QCOMPARE(from.DropOnPane(pane, other.PointOf(0, {1, 0})), ZuOk);
            QCOMPARE(other.Text(), std::string("xyz"));
            QCOMPARE(source.Text(), std::string("abc def"));
            QCOMPARE(from.DragState(), ZuDragNone);
            QVERIFY(!ZuPaneView::DropCaretView());
        }
    }

    void dragStartsOnlyFromAnEditableSelection()
    {
        Control c("abc def");
        ZuPaneView& view = c.editor.View(0);
        QVERIFY(!view.StartDrag(false)); // no selection
        c.Select(0, {0, 0}, {3, 0});
        view.SetReadOnly(true);
        QVERIFY(!view.StartDrag(false));
        view.SetReadOnly(false);
        view.SetDragDropEnabled(false);
        QVERIFY(!view.StartDrag(true));
        view.SetDragDropEnabled(true);
        QVERIFY(view.StartDrag(true));
        QCOMPARE(view.DragState(), ZuDragCopy);
        // A drop onto the selection itself does nothing but clear it.
        QCOMPARE(view.DropOnPane(&view, c.PointOf(0, {1, 0})), ZuOk);
        QCOMPARE(c.Text(), std::string("abc def"));
        QVERIFY(view.SelectionEmpty());
        QCOMPARE(view.DragState(), ZuDragNone);
    }

    void findsThePaneUnderThePointer()
    {
        Control first("one");
        Control second("two", QPoint(0, 200));
        QPoint client;
        ZuPaneWindow& pane = second.editor.PaneWindow(1);
        const QPoint global = pane.ClientToScreen(QPoint(5, 6));
        QCOMPARE(ZuPaneView::PaneViewAt(global, client), &second.editor.View(1));
        QCOMPARE(client, QPoint(5, 6));
        // The source view's own point, over the other control's pane.
        const QPoint fromFirst = first.editor.PaneWindow(0).ScreenToClient(global);
        ZuPaneView& source = first.editor.View(0);
        first.Select(0, {0, 0}, {2, 0});
        QVERIFY(source.StartDrag(false));
        QCOMPARE(source.DragOver(fromFirst), 3);
        QCOMPARE(ZuPaneView::DropCaretView(), &second.editor.View(1));
        source.DragCancel();
        QVERIFY(!ZuPaneView::DropCaretView());
        QVERIFY(!ZuPaneView::PaneViewAt(QPoint(-5000, -5000), client));
    }
};

REGISTER_TEST(ZuPaneClipboardTests);
#include "ZuPaneClipboardTests.moc"
