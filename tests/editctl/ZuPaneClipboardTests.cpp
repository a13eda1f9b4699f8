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
#include <QGuiApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QWidget>

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
        if (cursor != 5) {
            QCOMPARE(to.DropCaret(), (ZuTextPosition{1, 0}));
            QVERIFY(to.Window().CaretWanted());
            QCOMPARE(to.Window().CaretRect().topLeft(), to.PointOf({1, 0}));
            // Leaving it again: a pane without the focus shows no caret.
            from.DragCancel();
            QVERIFY(!to.Window().CaretWanted());
            return;
        }
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
        QCOMPARE(first.editor.PaneWindow(0).viewport()->cursor().shape(), Qt::DragMoveCursor);
        QCOMPARE(source.DragOver(QPoint(-5000, -5000)), 5);
        QCOMPARE(first.editor.PaneWindow(0).viewport()->cursor().shape(), Qt::ForbiddenCursor);
        QVERIFY(!ZuPaneView::DropCaretView());
        QCOMPARE(source.DragOver(fromFirst), 3);
        QCOMPARE(ZuPaneView::DropCaretView(), &second.editor.View(1));
        source.DragCancel();
        QVERIFY(!ZuPaneView::DropCaretView());
        QVERIFY(!ZuPaneView::PaneViewAt(QPoint(-5000, -5000), client));
    }

    void pastesAsTheRecordSays_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("type");
        QTest::addColumn<ZuTextPosition>("from");
        QTest::addColumn<ZuTextPosition>("to");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<ZuTextPosition>("caret");
        QTest::addColumn<ZuTextPosition>("selectedTo"); // the caret when nothing is selected
        QTest::addColumn<QByteArray>("result");

        const QByteArray four("abcd\r\nefgh\r\nij");
        QTest::newRow("stream into a line") << four << int(ZuRangeStream) << ZuTextPosition{1, 0}
                                            << ZuTextPosition{2, 1} << QByteArray("XY") << ZuTextPosition{1, 0}
                                            << ZuTextPosition{1, 0} << QByteArray("Xbcd\r\nefY");
        QTest::newRow("stream over a selection") << four << int(ZuRangeStream) << ZuTextPosition{1, 0}
                                                 << ZuTextPosition{2, 1} << QByteArray("hello world")
                                                 << ZuTextPosition{0, 0} << ZuTextPosition{5, 0}
                                                 << QByteArray("bcd\r\nef world");
        QTest::newRow("column block") << four << int(ZuRangeColumn) << ZuTextPosition{1, 0} << ZuTextPosition{4, 1}
                                      << QByteArray("12345\r\n67890") << ZuTextPosition{2, 0}
                                      << ZuTextPosition{2, 0} << QByteArray("12bcd345\r\n67fgh890");
        QTest::newRow("column block past the last line")
            << four << int(ZuRangeColumn) << ZuTextPosition{1, 0} << ZuTextPosition{4, 1} << QByteArray("12")
            << ZuTextPosition{1, 0} << ZuTextPosition{1, 0} << QByteArray("1bcd2\r\n fgh");
        const QByteArray odd("x\0\t{}\\\xE9\x01y", 9);
        QTest::newRow("every byte comes back") << odd << int(ZuRangeStream) << ZuTextPosition{0, 0}
                                               << ZuTextPosition{9, 0} << QByteArray("") << ZuTextPosition{0, 0}
                                               << ZuTextPosition{0, 0} << odd;
        QTest::newRow("lines before the caret's line")
            << four << int(ZuRangeLine) << ZuTextPosition{0, 1} << ZuTextPosition{2, 1} << QByteArray("one\r\ntwo")
            << ZuTextPosition{2, 1} << ZuTextPosition{2, 1} << QByteArray("one\r\nefgh\r\ntwo");
    }
    void pastesAsTheRecordSays()
    {
        QFETCH(QByteArray, source);
        QFETCH(int, type);
        QFETCH(ZuTextPosition, from);
        QFETCH(ZuTextPosition, to);
        QFETCH(QByteArray, target);
        QFETCH(ZuTextPosition, caret);
        QFETCH(ZuTextPosition, selectedTo);
        QFETCH(QByteArray, result);
        QGuiApplication::clipboard()->clear();
        Control a(source.toStdString());
        Control b(target.toStdString(), QPoint(0, 200));
        a.Select(0, from, to, type);
        ZuSystemClipboard clipboard;
        QCOMPARE(a.editor.View(0).CopySelection(clipboard), ZuOk);
        if (selectedTo != caret)
            b.Select(1, caret, selectedTo);
        else
            b.editor.View(1).CaretToPosition(caret);
        QCOMPARE(b.editor.View(1).PasteData(clipboard), ZuOk);
        QCOMPARE(QByteArray::fromStdString(b.Text()), result);
        // One undo takes the paste back.
        QCOMPARE(b.editor.UndoManager().Undo(), ZuOk);
        QCOMPARE(QByteArray::fromStdString(b.Text()), target);
    }

    void pastedPlainTextTakesTheFormatAtTheCaret()
    {
        Control c("ab cd");
        ZuTextDocument& doc = c.editor.Document();
        const ZuTextRange cd({3, 1}, {5, 1}, ZuRangeStream);
        QCOMPARE(doc.ApplyCharFormat(ZuAttrBold, 0, cd, ZuAttributeValue::Number(-1)), ZuOk);
        QCOMPARE(doc.ApplyColor(7, 0, cd, 0x0000FF), ZuOk);
        auto* data = new QMimeData;
        data->setText(QStringLiteral("XY"));
        QGuiApplication::clipboard()->setMimeData(data);
        c.editor.View(0).CaretToPosition({4, 0});
        ZuSystemClipboard clipboard;
        QCOMPARE(c.editor.View(0).PasteData(clipboard), ZuOk);
        QCOMPARE(c.Text(), std::string("ab cXYd"));
        const ZuTextRange xy({4, 1}, {6, 1}, ZuRangeStream);
        QCOMPARE(doc.QueryCharFormat(ZuAttrBold, 0, xy), ZuAttributeValue::Number(-1));
        QCOMPARE(doc.QueryColor(7, 0, xy), 0x0000FFu);
    }

    void pastedRtfKeepsItsOwnFormat()
    {
        Control c("ab cd");
        ZuTextDocument& doc = c.editor.Document();
        QCOMPARE(doc.ApplyCharFormat(ZuAttrItalic, 0, ZuTextRange({0, 1}, {5, 1}, ZuRangeStream),
                                     ZuAttributeValue::Number(-1)),
                 ZuOk);
        auto* data = new QMimeData;
        data->setText(QStringLiteral("plain"));
        data->setData(QStringLiteral("text/rtf"), "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\b\\cf1 XY}}");
        QGuiApplication::clipboard()->setMimeData(data);
        c.editor.View(0).CaretToPosition({4, 0});
        QCOMPARE(c.editor.Paste(), ZuOk);
        QCOMPARE(c.Text(), std::string("ab cXYd"));
        const ZuTextRange xy({4, 1}, {6, 1}, ZuRangeStream);
        QCOMPARE(doc.QueryCharFormat(ZuAttrBold, 0, xy), ZuAttributeValue::Number(-1));
        QCOMPARE(doc.QueryCharFormat(ZuAttrItalic, 0, xy), ZuAttributeValue::Number(0));
        QCOMPARE(doc.QueryColor(7, 0, xy), 0x0000FFu);
    }

    void cutIsOneUndoStep()
    {
        Control c("abc def");
        c.Select(0, {0, 0}, {4, 0});
        ZuPrivateClipboard clipboard;
        QCOMPARE(c.editor.View(0).CutSelection(clipboard), ZuOk);
        QCOMPARE(c.Text(), std::string("def"));
        QCOMPARE(*clipboard.Get(ZuClipTextFormat), std::string("abc "));
        QCOMPARE(c.editor.UndoManager().Undo(), ZuOk);
        QCOMPARE(c.Text(), std::string("abc def"));
    }

    void dragsTextAndDropsIt_data()
    {
        QTest::addColumn<ZuTextPosition>("from");
        QTest::addColumn<ZuTextPosition>("to");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<int>("target"); // 0 the same pane, 1 the other pane, 2 another control
        QTest::addColumn<ZuTextPosition>("drop");
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<QByteArray>("otherResult");

        QTest::newRow("move to the end") << ZuTextPosition{0, 0} << ZuTextPosition{3, 0} << false << 0
                                         << ZuTextPosition{7, 0} << QByteArray(" defabc") << QByteArray();
        QTest::newRow("move to the start") << ZuTextPosition{4, 0} << ZuTextPosition{7, 0} << false << 0
                                           << ZuTextPosition{0, 0} << QByteArray("defabc ") << QByteArray();
        QTest::newRow("copy") << ZuTextPosition{0, 0} << ZuTextPosition{3, 0} << true << 0 << ZuTextPosition{7, 0}
                              << QByteArray("abc defabc") << QByteArray();
        QTest::newRow("move into the other pane") << ZuTextPosition{0, 0} << ZuTextPosition{3, 0} << false << 1
                                                  << ZuTextPosition{7, 0} << QByteArray(" defabc") << QByteArray();
        QTest::newRow("move into another control") << ZuTextPosition{0, 0} << ZuTextPosition{3, 0} << false << 2
                                                   << ZuTextPosition{1, 0} << QByteArray(" def")
                                                   << QByteArray("xabcyz");
        QTest::newRow("copy into another control") << ZuTextPosition{4, 0} << ZuTextPosition{7, 0} << true << 2
                                                   << ZuTextPosition{3, 0} << QByteArray("abc def")
                                                   << QByteArray("xyzdef");
    }
    void dragsTextAndDropsIt()
    {
        QFETCH(ZuTextPosition, from);
        QFETCH(ZuTextPosition, to);
        QFETCH(bool, copy);
        QFETCH(int, target);
        QFETCH(ZuTextPosition, drop);
        QFETCH(QByteArray, result);
        QFETCH(QByteArray, otherResult);
        Control c("abc def");
        Control other("xyz", QPoint(0, 200));
        c.Select(0, from, to);
        ZuPaneView& source = c.editor.View(0);
        ZuPaneView& into = target == 2 ? other.editor.View(0) : c.editor.View(target);
        Control& owner = target == 2 ? other : c;
        QVERIFY(source.StartDrag(copy));
        const QPoint at = owner.PointOf(target == 2 ? 0 : target, drop);
        QCOMPARE(source.DragOverPane(&into, at), copy ? 4 : 3);
        QCOMPARE(source.DropOnPane(&into, at), ZuOk);
        QCOMPARE(QByteArray::fromStdString(c.Text()), result);
        if (!otherResult.isNull())
            QCOMPARE(QByteArray::fromStdString(other.Text()), otherResult);
        QVERIFY(!ZuPaneView::DropCaretView());
        // Inside one control, one undo puts everything back.
        if (target != 2 && c.Text() != "abc def") {
            QCOMPARE(c.editor.UndoManager().Undo(), ZuOk);
            QCOMPARE(c.Text(), std::string("abc def"));
        }
    }

    void searchesAndReplacesInTheFocusedPane()
    {
        Control c("a a\r\na");
        ZuSearch& search = c.editor.search;
        search.target = std::string(1, 'a');
        search.replacement = std::string(2, 'a');
        search.to = 0;
        search.replaceAction = 2;
        c.editor.View(0).CaretToPosition({1, 1});
        QCOMPARE(c.editor.SearchAction(10), ZuOk);
        QCOMPARE(c.Text(), std::string("aa aa\r\naa"));
        QCOMPARE(search.ReplaceCount(), 3);
        // A search selects the match.
        search.to = 1;
        search.target = std::string("aa\r");
        c.editor.View(0).CaretToPosition({0, 0});
        QCOMPARE(c.editor.SearchAction(9), ZuOk);
        QCOMPARE(search.Result(), 0);
        search.target = std::string(" a");
        QCOMPARE(c.editor.SearchAction(9), ZuOk);
        QCOMPARE(search.Result(), 1);
        QCOMPARE(c.editor.View(0).SelectionStartOffset(), 2u);
        QCOMPARE(c.editor.View(0).SelectionEndOffset(), 4u);
        QCOMPARE(c.editor.View(0).CaretOffset(), 4u);
    }

    void aPasteThatCannotLandKeepsTheSelection()
    {
        // The line would grow past the longest line there can be.
        const std::string longLine = std::string(ZuEndOfLine - 4, 'L') + "abc";
        Control c(longLine);
        ZuPrivateClipboard clipboard;
        clipboard.Set(ZuClipTextFormat, "0123456789");
        c.Select(0, {ZuEndOfLine - 4, 0}, {ZuEndOfLine - 1, 0});
        QVERIFY(c.editor.View(0).PasteData(clipboard) != ZuOk);
        QCOMPARE(c.Text(), longLine);
    }

    void aDropThatCannotLandLosesNothing()
    {
        // The target line would grow past the longest line there can be.
        const std::string longLine(ZuEndOfLine - 1, 'L');
        for (const bool sameText : {true, false}) {
            Control c(sameText ? "abc def\r\n" + longLine : std::string("abc def"));
            Control other(longLine, QPoint(0, 200));
            Control& owner = sameText ? c : other;
            c.Select(0, {0, 0}, {3, 0});
            ZuPaneView& source = c.editor.View(0);
            ZuPaneView& target = owner.editor.View(sameText ? 1 : 0);
            target.CaretToPosition({0, sameText ? 1u : 0u});
            QVERIFY(source.StartDrag(false));
            QVERIFY(source.DropOnPane(&target, target.PointOf(target.Caret())) != ZuOk);
            QCOMPARE(c.Text(), sameText ? "abc def\r\n" + longLine : std::string("abc def"));
            QCOMPARE(other.Text(), longLine);
        }
    }

    void dragsWithTheMouse()
    {
        Control c("abc def");
        Control other("xyz", QPoint(0, 200));
        const auto inEditor = [&](Control& owner, ZuTextPosition p) {
            const QPoint global = owner.editor.PaneWindow(0).viewport()->mapToGlobal(owner.PointOf(0, p));
            return c.editor.mapFromGlobal(global);
        };
        // Inside one pane: press in the selection, release at the end.
        c.Select(0, {0, 0}, {3, 0});
        QTest::mousePress(&c.editor, Qt::LeftButton, {}, inEditor(c, {1, 0}));
        QTest::mouseMove(&c.editor, inEditor(c, {7, 0}));
        QTest::mouseRelease(&c.editor, Qt::LeftButton, {}, inEditor(c, {7, 0}));
        QCOMPARE(c.Text(), std::string(" defabc"));
        // Into another control, copying with Ctrl held.
        c.Select(0, {0, 0}, {4, 0});
        QTest::mousePress(&c.editor, Qt::LeftButton, Qt::ControlModifier, inEditor(c, {1, 0}));
        QTest::mouseMove(&c.editor, inEditor(other, {1, 0}));
        QCOMPARE(ZuPaneView::DropCaretView(), &other.editor.View(0));
        QTest::mouseRelease(&c.editor, Qt::LeftButton, Qt::ControlModifier, inEditor(other, {1, 0}));
        QCOMPARE(c.Text(), std::string(" defabc"));
        QCOMPARE(other.Text(), std::string("x defyz"));
        QVERIFY(!ZuPaneView::DropCaretView());
    }
};

REGISTER_TEST(ZuPaneClipboardTests);
#include "ZuPaneClipboardTests.moc"
