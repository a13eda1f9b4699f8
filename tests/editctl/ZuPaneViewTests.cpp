// The pane view driven as a user drives it: keys and clicks move the caret,
// select, scroll, edit and undo.

#include "ZuTestSupport.h"
#include "ZuViewFixture.h"
#include "support/TestRegistry.h"

#include "editctl/ZuCaretUndoAction.h"

#include <QScrollBar>

namespace {

// Four lines: a long one, a short one, an empty one and a last one without a line end.
constexpr std::string_view Text = "alpha beta gamma\r\none two\r\n\r\nlast line here";

QPoint PixelOf(ZuEditor20& editor, ZuTextPosition p)
{
    // Into the middle of the character's left half, so a click lands before it.
    const QPoint at = editor.View(0).PointOf(p);
    const int width = editor.Fonts().DefaultFont().Width('a');
    const QPoint inPane(at.x() + width / 4, at.y() + 2);
    return editor.PaneWindow(0).viewport()->mapTo(&editor, inPane);
}

void Click(ZuEditor20& editor, QPoint point, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* viewport = editor.PaneWindow(0).viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, modifiers, viewport->mapFrom(&editor, point));
}

} // namespace

class ZuPaneViewTests : public QObject {
    Q_OBJECT
private slots:
    void caretByKey_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<ZuTextPosition>("caret");
        QTest::newRow("right three times") << "Right Right Right" << ZuPos(3, 0);
        QTest::newRow("left stops at the start") << "Left Left" << ZuPos(0, 0);
        QTest::newRow("end of the line") << "End" << ZuPos(16, 0);
        QTest::newRow("right past the line end") << "End Right" << ZuPos(0, 1);
        QTest::newRow("left past the line start") << "Down Left" << ZuPos(16, 0);
        QTest::newRow("down keeps the x, up to the line's end") << "End Down" << ZuPos(7, 1);
        // Each move keeps the x it starts from: an empty line on the way resets it.
        QTest::newRow("down through an empty line") << "Right Right Down Down Down" << ZuPos(0, 3);
        QTest::newRow("down stops at the last line") << "Down Down Down Down Down" << ZuPos(0, 3);
        QTest::newRow("end of the text") << "C-End" << ZuPos(14, 3);
        QTest::newRow("start of the text") << "C-End C-Home" << ZuPos(0, 0);
        QTest::newRow("home") << "Down End Home" << ZuPos(0, 1);
        QTest::newRow("next word") << "C-Right C-Right" << ZuPos(11, 0);
        QTest::newRow("next word across the line end") << "End C-Right" << ZuPos(0, 1);
        QTest::newRow("previous word") << "End C-Left" << ZuPos(11, 0);
        QTest::newRow("right at the end of the text stays") << "C-End Right" << ZuPos(14, 3);
        QTest::newRow("alt makes motion keys do nothing") << "A-Right A-End A-Down" << ZuPos(0, 0);
    }
    void caretByKey()
    {
        QFETCH(QString, keys);
        QFETCH(ZuTextPosition, caret);
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        ZuTypeKeys(*editor, keys);
        QCOMPARE(editor->View(0).Caret(), caret);
    }

    void caretByClick()
    {
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        for (ZuTextPosition p : {ZuPos(3, 1), ZuPos(0, 3), ZuPos(10, 0)}) {
            Click(*editor, PixelOf(*editor, p));
            QCOMPARE(editor->View(0).Caret(), p);
            QVERIFY(!editor->View(0).HasSelection()); // a click without a move selects nothing
        }
        // Past the end of a line: its end; below the text: the last line.
        Click(*editor, PixelOf(*editor, ZuPos(30, 1)));
        QCOMPARE(editor->View(0).Caret(), ZuPos(7, 1));
        QWidget* viewport = editor->PaneWindow(0).viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 2));
        QCOMPARE(editor->View(0).Caret().y, 3u);
    }

    void selectionByKeys_data()
    {
        QTest::addColumn<int>("defaultType");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("type");
        QTest::addColumn<ZuTextPosition>("anchor");
        QTest::addColumn<ZuTextPosition>("end");
        const QString toTen = "Right Right Right Right Right Right Right Right Right Right ";
        QTest::newRow("backwards from column 10") << 1 << toTen + "S-Left S-Left S-Left" << 1 << ZuPos(10, 0)
                                                  << ZuPos(7, 0);
        QTest::newRow("stream over a line end") << 1 << "S-Down S-Right" << 1 << ZuPos(0, 0) << ZuPos(1, 1);
        QTest::newRow("to the line end") << 1 << "Right S-End" << 1 << ZuPos(1, 0) << ZuPos(16, 0);
        QTest::newRow("to the text end") << 1 << "S-C-End" << 1 << ZuPos(0, 0) << ZuPos(14, 3);
        QTest::newRow("a word") << 1 << "S-C-Right" << 1 << ZuPos(0, 0) << ZuPos(6, 0);
        QTest::newRow("a move without shift clears") << 1 << "S-Right Right" << 0 << ZuPos(0, 0) << ZuPos(1, 0);
        QTest::newRow("shrinks back") << 1 << "S-Right S-Right S-Left" << 1 << ZuPos(0, 0) << ZuPos(1, 0);
        QTest::newRow("lines") << 2 << "Right S-Down" << 2 << ZuPos(1, 0) << ZuPos(1, 1);
        QTest::newRow("column") << 3 << "Right S-Down S-Right S-Right" << 3 << ZuPos(1, 0) << ZuPos(3, 1);
        QTest::newRow("default type 0 selects nothing") << 0 << "S-Right S-Down" << 0 << ZuPos(0, 0)
                                                        << ZuPos(0, 0);
    }
    void selectionByKeys()
    {
        QFETCH(int, defaultType);
        QFETCH(QString, keys);
        QFETCH(int, type);
        QFETCH(ZuTextPosition, anchor);
        QFETCH(ZuTextPosition, end);
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        editor->View(0).SetSelDefaultType(defaultType);
        ZuTypeKeys(*editor, keys);
        const ZuTextRange& selection = editor->View(0).Selection();
        QCOMPARE(int(selection.type), type);
        if (type != 0) {
            QCOMPARE(selection.start, anchor);
            QCOMPARE(selection.end, end);
            // Offsets report the earlier end first, whichever way it was made.
            QVERIFY(editor->View(0).SelectionStartOffset() <= editor->View(0).SelectionEndOffset());
        }
    }

    void fixedSelectionStaysWhileTheCaretMoves()
    {
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        ZuTypeKeys(*editor, "S-Right S-Right");
        view.SetSelectionEndColumn(4, true);
        ZuTypeKeys(*editor, "S-Right");
        QCOMPARE(view.Caret(), ZuPos(3, 0));
        QCOMPARE(view.Selection().end, ZuPos(4, 0));
        // Ends beyond the text are kept as given, and clamped where they are used.
        view.SetSelectionEndLine(1000000, true);
        QCOMPARE(view.Selection().end.y, 1000000u);
        QCOMPARE(view.ClampedSelection().end, ZuPos(14, 3));
        QCOMPARE(view.SelectionEndOffset(), editor->Document().ByteCount());
        QCOMPARE(view.DeleteSelection(), ZuOk);
        QCOMPARE(editor->Document().Text(), std::string());
    }

    void selectionByMouse()
    {
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        QWidget* viewport = editor->PaneWindow(0).viewport();
        auto inPane = [&](ZuTextPosition p) { return viewport->mapFrom(editor.get(), PixelOf(*editor, p)); };
        // A drag selects from the press to the release.
        QTest::mousePress(viewport, Qt::LeftButton, {}, inPane(ZuPos(1, 0)));
        QTest::mouseMove(viewport, inPane(ZuPos(3, 0)));
        QTest::mouseMove(viewport, inPane(ZuPos(5, 1)));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, inPane(ZuPos(5, 1)));
        QCOMPARE(int(view.Selection().type), 1);
        QCOMPARE(view.Selection().start, ZuPos(1, 0));
        QCOMPARE(view.Selection().end, ZuPos(5, 1));
        QCOMPARE(editor->MouseMode(), 0);
        QVERIFY(!editor->TimerRunning());
        // Shift with a click moves the end and keeps the anchor.
        Click(*editor, PixelOf(*editor, ZuPos(2, 3)), Qt::ShiftModifier);
        QCOMPARE(view.Selection().start, ZuPos(1, 0));
        QCOMPARE(view.Selection().end, ZuPos(2, 3));
        // A click elsewhere clears it.
        Click(*editor, PixelOf(*editor, ZuPos(5, 3)));
        QVERIFY(!view.HasSelection());
        QCOMPARE(view.Caret(), ZuPos(5, 3));
        // The whole gesture undoes as one step: the caret goes back.
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(view.Caret(), ZuPos(2, 3));
    }

    void doubleClickSelectsAWord_data()
    {
        QTest::addColumn<ZuTextPosition>("at");
        QTest::addColumn<ZuTextPosition>("from");
        QTest::addColumn<ZuTextPosition>("to");
        QTest::newRow("inside a word") << ZuPos(8, 0) << ZuPos(6, 0) << ZuPos(11, 0);
        QTest::newRow("at column 0") << ZuPos(0, 0) << ZuPos(0, 0) << ZuPos(6, 0);
        QTest::newRow("on a space") << ZuPos(5, 0) << ZuPos(6, 0) << ZuPos(11, 0);
        QTest::newRow("past the line's end") << ZuPos(7, 1) << ZuPos(7, 1) << ZuPos(4, 1);
    }
    void doubleClickSelectsAWord()
    {
        QFETCH(ZuTextPosition, at);
        QFETCH(ZuTextPosition, from);
        QFETCH(ZuTextPosition, to);
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        editor->View(0).SetSelDefaultType(0); // a double click still selects a stream
        QWidget* viewport = editor->PaneWindow(0).viewport();
        const QPoint point = viewport->mapFrom(editor.get(), PixelOf(*editor, at));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, point);
        const ZuTextRange& selection = editor->View(0).Selection();
        QCOMPARE(int(selection.type), 1);
        QCOMPARE(selection.start, from);
        QCOMPARE(selection.end, to);
    }

    void selectionGrowsWhileTheMouseRestsBelowThePane()
    {
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "row " + std::to_string(i) + "\r\n";
        auto editor = ZuShownEditor(text);
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        QWidget* viewport = editor->PaneWindow(0).viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(editor->MouseMode(), 1);
        QVERIFY(editor->TimerRunning());
        // Below the pane: one line at once, then more with every tick of the timer.
        QTest::mouseMove(viewport, QPoint(10, viewport->height() + 20));
        const std::uint32_t first = view.TopLine();
        QVERIFY(first >= 1);
        QTRY_VERIFY(view.TopLine() >= first + 2);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(10, viewport->height() + 20));
        QVERIFY(!editor->TimerRunning());
        const std::uint32_t top = view.TopLine();
        QCOMPARE(int(view.Selection().type), 1);
        QCOMPARE(view.Selection().start, ZuPos(0, 0));
        // The selection ends on the last line under the pane's bottom edge, scrolled into full view.
        QCOMPARE(view.Selection().end.y, top + std::uint32_t(view.FullLinesPerWindow()) - 1);
        // Esc ends a selection drag as well, the timer with it.
        QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseMove(viewport, QPoint(10, -20));
        ZuTypeKeys(*editor, "Esc");
        QCOMPARE(editor->MouseMode(), 0);
        QVERIFY(!editor->TimerRunning());
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(10, -20));
    }

    void fillRefusesAnOverlongLine()
    {
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        QCOMPARE(view.InsertFill(ZuPos(16, 0), '-', 65500 - 16 + 1), ZuErrLineLength);
        QCOMPARE(editor->Document().Text(), std::string(Text));
        QCOMPARE(view.InsertFill(ZuPos(16, 0), '-', 4), ZuOk);
        QCOMPARE(editor->Document().LineText(0, 1), std::string("alpha beta gamma----"));
    }

    void scrolling()
    {
        std::string text;
        for (int i = 0; i < 100; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        auto editor = ZuShownEditor(text);
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        const int full = view.FullLinesPerWindow();
        QVERIFY(full > 3 && full < 50);
        QScrollBar* bar = editor->PaneWindow(0).verticalScrollBar();
        // Ctrl+Down scrolls without moving the caret.
        ZuTypeKeys(*editor, "C-Down C-Down");
        QCOMPARE(view.TopLine(), 2u);
        QCOMPARE(view.Caret(), ZuPos(0, 0));
        QCOMPARE(bar->value(), 2);
        // Scrolling is recorded whatever the caret setting says: undo scrolls back.
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(view.TopLine(), 1u);
        QCOMPARE(editor->UndoManager().Redo(), ZuOk);
        QCOMPARE(view.TopLine(), 2u);
        // Page down moves the caret by the lines that fit wholly.
        ZuTypeKeys(*editor, "PgDn");
        QCOMPARE(view.Caret().y, std::uint32_t(full));
        // The end of the text brings the last line into view as the last full line.
        ZuTypeKeys(*editor, "C-End");
        QCOMPARE(view.Caret().y, 100u);
        QCOMPARE(view.TopLine(), 101u - std::uint32_t(full));
        QCOMPARE(bar->value(), int(view.TopLine()));
        // Line down does nothing once the last line can be seen.
        const std::uint32_t top = view.TopLine();
        view.VerticalScroll(ZuScrollLineDown, 0);
        QCOMPARE(view.TopLine(), top);
        // The scroll bar's thumb scrolls the view.
        view.VerticalScroll(ZuScrollThumbTrack, 10);
        QCOMPARE(view.TopLine(), 10u);
        view.VerticalScroll(ZuScrollTop, 0);
        QCOMPARE(view.TopLine(), 0u);
        view.VerticalScroll(ZuScrollBottom, 0);
        QCOMPARE(view.TopLine(), 101u - std::uint32_t(full));
        // A text of this size is measured whole: the extent covers a line not yet seen.
        QCOMPARE(view.ExtentX(), 7 * editor->Fonts().DefaultFont().Width('w')); // "line 99"
        editor->SetPlainText(text + std::string(100, 'w'));
        QCOMPARE(view.ExtentX(), 100 * editor->Fonts().DefaultFont().Width('w'));
        editor->SetPlainText(text);
        // Horizontal: a long line; the caret at its end is in view, Ctrl+PgDn scrolls back left.
        QCOMPARE(view.InsertText(ZuPos(0, 0), std::string(200, 'w')), ZuOk);
        ZuTypeKeys(*editor, "C-Home End");
        QVERIFY(view.LeftX() > 0);
        const QPoint caret = editor->PaneWindow(0).CaretRect().topLeft();
        QVERIFY(caret.x() >= 0 && caret.x() < editor->PaneWindow(0).viewport()->width());
        ZuTypeKeys(*editor, "C-PgDn");
        QCOMPARE(view.LeftX(), 0);
        QCOMPARE(view.Caret(), ZuPos(206, 0));
        ZuTypeKeys(*editor, "C-PgUp");
        QCOMPARE(view.LeftX(), view.ExtentX());
    }

    void edits_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("insertMode");
        QTest::addColumn<QString>("firstLines");
        QTest::addColumn<ZuTextPosition>("caret");
        QTest::newRow("typing") << "x y" << true << "xyalpha beta gamma|one two" << ZuPos(2, 0);
        QTest::newRow("delete at a line end joins") << "End Delete" << true << "alpha beta gammaone two|" << ZuPos(16, 0);
        QTest::newRow("backspace at a line start joins") << "Down Backspace" << true << "alpha beta gammaone two|"
                                                         << ZuPos(16, 0);
        QTest::newRow("enter splits") << "Right Right Right Right Right Enter" << true << "alpha| beta gamma"
                                      << ZuPos(0, 1);
        QTest::newRow("ctrl+delete keeps the line end") << "Right C-Delete" << true << "a|one two" << ZuPos(1, 0);
        QTest::newRow("shift+delete without a selection deletes backwards")
            << "Right Right S-Delete" << true << "apha beta gamma|one two" << ZuPos(1, 0);
        QTest::newRow("typing over a selection") << "S-Right S-Right x" << true << "xpha beta gamma|one two"
                                                 << ZuPos(1, 0);
        QTest::newRow("overwrite") << "Right Q" << false << "aQpha beta gamma|one two" << ZuPos(2, 0);
        QTest::newRow("overwrite at a line end inserts") << "End Z" << false << "alpha beta gammaZ|one two"
                                                         << ZuPos(17, 0);
        QTest::newRow("enter in overwrite mode moves down") << "Right Enter" << false << "alpha beta gamma|one two"
                                                            << ZuPos(0, 1);
        QTest::newRow("ctrl+tab inserts a tab") << "C-Tab" << true << "\talpha beta gamma|one two" << ZuPos(1, 0);
        QTest::newRow("tab inserts a tab") << "Tab" << true << "\talpha beta gamma|one two" << ZuPos(1, 0);
    }
    void edits()
    {
        QFETCH(QString, keys);
        QFETCH(bool, insertMode);
        QFETCH(QString, firstLines);
        QFETCH(ZuTextPosition, caret);
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        editor->InsertMode = insertMode;
        ZuTypeKeys(*editor, keys);
        const QStringList lines = firstLines.split(QLatin1Char('|'));
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(QString::fromStdString(editor->Document().LineText(0, std::uint32_t(i + 1))), lines[i]);
        QCOMPARE(editor->View(0).Caret(), caret);
        // Each key undoes as one step, back to the text it started from.
        while (editor->UndoManager().CanUndo() != 0)
            QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(editor->Document().Text(), std::string(Text));
    }

    // Undoing a key puts the caret back where the key found it, never past the line's end.
    void undoRestoresTheCaret_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<ZuTextPosition>("caret");
        QTest::newRow("enter at a line end") << "End Enter" << ZuPos(16, 0);
        QTest::newRow("delete at a line end") << "End Delete" << ZuPos(16, 0);
        QTest::newRow("backspace at a line start") << "Down Backspace" << ZuPos(0, 1);
        QTest::newRow("enter mid line") << "Right Right Enter" << ZuPos(2, 0);
        QTest::newRow("typing at a line end") << "Down End x" << ZuPos(7, 1);
    }
    void undoRestoresTheCaret()
    {
        QFETCH(QString, keys);
        QFETCH(ZuTextPosition, caret);
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        ZuTypeKeys(*editor, keys);
        ZuTypeKeys(*editor, "C-z");
        QCOMPARE(editor->Document().Text(), std::string(Text));
        QCOMPARE(editor->View(0).Caret(), caret);
    }

    void readOnlyRefusesChanges_data()
    {
        QTest::addColumn<QString>("keys");
        for (const char* keys : {"Delete", "Backspace", "Enter", "C-Tab", "Tab", "S-Insert", "C-v", "C-x", "q",
                                 "S-Delete", "C-Delete"})
            QTest::newRow(keys) << QString::fromLatin1(keys);
    }
    void readOnlyRefusesChanges()
    {
        QFETCH(QString, keys);
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        editor->ReadOnly = true;
        ZuTypeKeys(*editor, "Right S-Right " + keys);
        QCOMPARE(editor->Document().Text(), std::string(Text));
        // Motion still works.
        ZuTypeKeys(*editor, "Down");
        QCOMPARE(editor->View(0).Caret().y, 1u);
    }

    void undoKeys()
    {
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        ZuTypeKeys(*editor, "x");
        QCOMPARE(editor->Document().LineText(0, 1), std::string("xalpha beta gamma"));
        ZuTypeKeys(*editor, "A-Backspace");
        QCOMPARE(editor->Document().Text(), std::string(Text));
        QCOMPARE(editor->View(0).Caret(), ZuPos(0, 0));
        ZuTypeKeys(*editor, "A-S-Backspace");
        QCOMPARE(editor->Document().LineText(0, 1), std::string("xalpha beta gamma"));
        QCOMPARE(editor->View(0).Caret(), ZuPos(1, 0));
        ZuTypeKeys(*editor, "C-z");
        QCOMPARE(editor->Document().Text(), std::string(Text));
        ZuTypeKeys(*editor, "C-S-z");
        QCOMPARE(editor->Document().LineText(0, 1), std::string("xalpha beta gamma"));
    }

    void keyPressHandlerChangesOrCancels()
    {
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        editor->keyPress = [](int& c) {
            if (c == 'a')
                c = 0; // cancelled
            else if (c == 'b')
                c = 'B';
        };
        ZuTypeKeys(*editor, "a b");
        QCOMPARE(editor->Document().LineText(0, 1), std::string("Balpha beta gamma"));
        // Keys of the key table are not characters: they do not reach the handler.
        editor->keyPress = [](int& c) { c = 0; };
        ZuTypeKeys(*editor, "Right Delete");
        QCOMPARE(editor->Document().LineText(0, 1), std::string("Bapha beta gamma"));
        ZuTypeKeys(*editor, "Backspace Enter x");
        QCOMPARE(editor->Document().LineText(0, 1), std::string("Bapha beta gamma"));
    }

    void repeatedKeyIsOneStep()
    {
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        editor->View(0).SetUndoCaretEnabled(true);
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true, 5);
        QApplication::sendEvent(editor.get(), &right);
        QCOMPARE(editor->View(0).Caret(), ZuPos(5, 0));
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"), true, 3);
        QApplication::sendEvent(editor.get(), &typed);
        QCOMPARE(editor->Document().LineText(0, 1), std::string("alphazzz beta gamma"));
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(editor->Document().Text(), std::string(Text));
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(editor->View(0).Caret(), ZuPos(0, 0));
    }

    void caretUndo_data()
    {
        QTest::addColumn<bool>("undoCaret");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<ZuTextPosition>("afterUndo");
        // Moves by columns and lines record only when asked to; page, line start and text ends always.
        QTest::newRow("arrows recorded") << true << "Right Right Down" << ZuPos(2, 0);
        QTest::newRow("arrows not recorded") << false << "C-End Right Right Up" << ZuPos(0, 0);
        QTest::newRow("text end always recorded") << false << "Right C-End" << ZuPos(1, 0);
        QTest::newRow("home always recorded") << false << "End Down Home" << ZuPos(7, 1);
    }
    void caretUndo()
    {
        QFETCH(bool, undoCaret);
        QFETCH(QString, keys);
        QFETCH(ZuTextPosition, afterUndo);
        auto editor = ZuShownEditor(Text);
        QVERIFY(editor);
        editor->View(0).SetUndoCaretEnabled(undoCaret);
        ZuTypeKeys(*editor, keys);
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(editor->View(0).Caret(), afterUndo);
    }

    void caretUndoRestoresScrollAndSelection()
    {
        std::string text;
        for (int i = 0; i < 60; ++i)
            text += "row " + std::to_string(i) + "\r\n";
        auto editor = ZuShownEditor(text);
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        ZuTypeKeys(*editor, "S-Right S-Right");
        const ZuViewState before = view.State();
        ZuTypeKeys(*editor, "S-C-End");
        QVERIFY(view.TopLine() > 0);
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(view.State(), before);
        QCOMPARE(view.Selection().end, ZuPos(2, 0));
        QCOMPARE(editor->UndoManager().Redo(), ZuOk);
        QCOMPARE(view.Caret(), ZuPos(0, 60));
    }

    void wrapAndUndo()
    {
        auto editor = ZuShownEditor("one two three four five six seven eight nine ten\r\nshort", {300, 200});
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        // The control records caret moves for undo by default; this test is about the wrap's undo.
        view.SetUndoCaretEnabled(false);
        const int width = editor->Fonts().DefaultFont().Width('a');
        view.SetWrapX(10 * width);
        ZuTypeKeys(*editor, "C-Right C-Right C-Right");
        QCOMPARE(view.Caret(), ZuPos(14, 0));
        QCOMPARE(view.SetWrapAutomatically(true), ZuOk);
        const std::uint32_t wrapped = view.LineCount();
        QVERIFY(wrapped > 4);
        // The caret keeps its place in the text.
        QCOMPARE(view.CaretOffset(), 14u);
        QVERIFY(view.Caret().y > 0);
        // Typing re-wraps the paragraph.
        ZuTypeKeys(*editor, "C-Home x x x x x x x x x x x x");
        QCOMPARE(editor->Document().Text().substr(0, 15), std::string("xxxxxxxxxxxxone"));
        QCOMPARE(view.CaretOffset(), 12u);
        QVERIFY(view.LineCount() > wrapped);
        for (std::uint32_t line = 1; line <= view.LineCount(); ++line)
            QVERIFY(editor->Document().XOfColumn(0, line, 65500) <= 10 * width);
        // Undo takes typing and wrapping back together.
        while (editor->UndoManager().CanUndo() != 0)
            QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(view.LineCount(), 2u);
        QCOMPARE(view.Caret(), ZuPos(14, 0)); // where the wrap found it
        QCOMPARE(editor->UndoManager().Redo(), ZuOk); // the wrap of the pane comes back
        QCOMPARE(view.LineCount(), wrapped);
    }

    // Undoing an edit at a soft wrap gives back the pieces the pane showed before it.
    void undoAtASoftWrapRestoresTheLines_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("split");
        QTest::newRow("backspace at a piece's start") << "Down Backspace" << false;
        QTest::newRow("delete at a piece's end") << "End Delete" << false;
        QTest::newRow("typing at a piece's start") << "Down x" << false;
        QTest::newRow("a selection over two pieces") << "Right S-Down S-Down Delete" << false;
        QTest::newRow("backspace, split") << "Down Backspace" << true;
    }
    void undoAtASoftWrapRestoresTheLines()
    {
        QFETCH(QString, keys);
        QFETCH(bool, split);
        auto editor = ZuShownEditor("one two three four five six seven eight nine ten\r\nshort", {300, 200});
        QVERIFY(editor);
        if (split)
            editor->SetSplitterType(2);
        ZuPaneView& view = editor->View(0);
        view.SetWrapX(12 * editor->Fonts().DefaultFont().Width('a'));
        QCOMPARE(view.SetWrapAutomatically(true), ZuOk);
        const auto lines = [&] {
            QStringList all;
            for (std::uint32_t line = 1; line <= view.LineCount(); ++line)
                all << QString::fromStdString(editor->Document().LineText(0, line));
            return all;
        };
        const QStringList before = lines();
        QVERIFY(before.size() > 3);
        ZuTypeKeys(*editor, keys);
        const QStringList edited = lines();
        QVERIFY(editor->Document().Text() != "one two three four five six seven eight nine ten\r\nshort");
        ZuTypeKeys(*editor, "C-z");
        QCOMPARE(editor->Document().Text(), std::string("one two three four five six seven eight nine ten\r\nshort"));
        QCOMPARE(lines(), before);
        QCOMPARE(editor->UndoManager().Redo(), ZuOk);
        QCOMPARE(lines(), edited);
    }

    void resizeThatChangesNoLineIsNoUndoStep()
    {
        auto editor = ZuShownEditor("short\r\nlines\r\nonly", {300, 200});
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        QCOMPARE(view.SetWrapAutomatically(true), ZuOk);
        editor->UndoManager().EmptyAll();
        editor->resize(280, 180);
        QCoreApplication::processEvents();
        QCOMPARE(editor->UndoManager().CanUndo(), 0);
        // A resize that does change lines re-wraps (WrapX -1 follows the window).
        editor->resize(30, 180);
        QCoreApplication::processEvents();
        QVERIFY(view.LineCount() > 3);
    }

    void fontChangeMeasuresAgain()
    {
        auto editor = ZuShownEditor("one two three four five six seven eight nine", {300, 200});
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        QCOMPARE(view.SetWrapAutomatically(true), ZuOk);
        const std::uint32_t lines = view.LineCount();
        QVERIFY(lines > 1);
        ZuFontEntry& font = editor->Fonts().DefaultFont();
        QCOMPARE(font.SetAttribute(ZuAttrSize, ZuAttributeValue::Number(20)), ZuOk);
        editor->FontsChanged();
        QVERIFY(view.LineCount() > lines);
        // Back to a small font: the lines join again.
        QCOMPARE(font.SetAttribute(ZuAttrSize, ZuAttributeValue::Number(6)), ZuOk);
        editor->FontsChanged();
        QCOMPARE(view.LineCount(), 1u);
        // Without wrapping the widths are measured again: the extent follows the font.
        QCOMPARE(view.SetWrapAutomatically(false), ZuOk);
        QCOMPARE(view.LineCount(), 1u);
        ZuTypeKeys(*editor, "End");
        const std::int32_t small = view.ExtentX();
        QCOMPARE(font.SetAttribute(ZuAttrSize, ZuAttributeValue::Number(20)), ZuOk);
        editor->FontsChanged();
        QVERIFY(view.ExtentX() > small);
    }

    void wrapActionWrapsBothPanes()
    {
        auto editor = ZuShownEditor("aaaa bbbb cccc dddd\r\nrest", {300, 300});
        QVERIFY(editor);
        editor->SetSplitterType(2);
        const int width = 5 * editor->Fonts().DefaultFont().Width('a');
        for (int i = 0; i < 2; ++i) {
            editor->View(i).SetWrapX(width);
            editor->View(i).CaretToPosition({0, 0});
            editor->View(i).StartSelection(ZuRangeStream);
            editor->View(i).CaretToPosition({3, 0});
        }
        QCOMPARE(editor->WrapAction(), ZuOk);
        QCOMPARE(editor->View(0).LineCount(), 5u);
        QCOMPARE(editor->View(1).LineCount(), 5u);
        // One undo step for both.
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(editor->View(0).LineCount(), 2u);
        QCOMPARE(editor->View(1).LineCount(), 2u);
    }

    void scrollBarModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("none") << 0 << 100 << false << false;
        QTest::newRow("horizontal") << 1 << 100 << true << false;
        QTest::newRow("vertical") << 2 << 100 << false << true;
        QTest::newRow("both") << 3 << 2 << true << true;
        QTest::newRow("automatic, all fits") << 4 << 2 << false << false;
        QTest::newRow("automatic, more lines") << 4 << 100 << false << true;
    }
    void scrollBarModes()
    {
        QFETCH(int, mode);
        QFETCH(int, lines);
        QFETCH(bool, horizontal);
        QFETCH(bool, vertical);
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += "short\r\n";
        auto editor = ZuShownEditor(text);
        QVERIFY(editor);
        editor->View(0).SetScrollBars(mode);
        QCoreApplication::processEvents();
        ZuPaneWindow& pane = editor->PaneWindow(0);
        QCOMPARE(pane.horizontalScrollBar()->isVisible(), horizontal);
        QCOMPARE(pane.verticalScrollBar()->isVisible(), vertical);
    }

    // A re-wrap of the whole pane measures the lines again (the extent may
    // shrink) and brings the caret back into view: a pane scrolled far right
    // over a long line must not be left showing nothing.
    void rewrapKeepsTextAndCaretInView_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("scrollBars");
        QTest::addColumn<int>("moreLines"); // past what is measured whole
        QTest::newRow("wrap on") << "wrap on" << 3 << 0;
        QTest::newRow("wrap on, automatic bars") << "wrap on" << 4 << 0;
        QTest::newRow("wrap on, large text") << "wrap on" << 3 << 20001;
        QTest::newRow("unwrap") << "unwrap" << 3 << 0;
        QTest::newRow("WrapX lowered") << "WrapX lowered" << 3 << 0;
        QTest::newRow("window narrowed") << "window narrowed" << 3 << 0;
    }
    void rewrapKeepsTextAndCaretInView()
    {
        QFETCH(QString, change);
        QFETCH(int, scrollBars);
        QFETCH(int, moreLines);
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += "wwww ";
        text += "end\r\nshort";
        for (int i = 0; i < moreLines; ++i)
            text += "\r\nx";
        const bool narrowing = change == "window narrowed";
        auto editor = ZuShownEditor(text, {narrowing ? 1600 : 400, 200});
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        view.SetScrollBars(scrollBars);
        const int wrapX = 20 * editor->Fonts().DefaultFont().Width('w');
        if (change == "wrap on") {
            view.SetWrapX(wrapX);
        } else if (change == "unwrap") {
            view.SetWrapX(wrapX);
            QCOMPARE(view.SetWrapAutomatically(true), ZuOk);
        } else if (change == "WrapX lowered") {
            view.SetWrapX(1000000);
            QCOMPARE(view.SetWrapAutomatically(true), ZuOk);
        } else {
            QCOMPARE(view.SetWrapAutomatically(true), ZuOk); // WrapX -1: the window's width
        }
        // The caret at the end of the long paragraph, scrolled to it.
        const std::uint64_t offset = text.find('\r');
        view.CaretToOffset(offset);
        QCOMPARE(view.CaretOffset(), offset);
        if (change != "unwrap" && !narrowing)
            QVERIFY(view.LeftX() > 0);

        if (change == "wrap on")
            QCOMPARE(view.SetWrapAutomatically(true), ZuOk);
        else if (change == "unwrap")
            QCOMPARE(view.SetWrapAutomatically(false), ZuOk);
        else if (change == "WrapX lowered")
            view.SetWrapX(wrapX);
        else
            editor->resize(400, 200);
        QCoreApplication::processEvents();

        QCOMPARE(view.CaretOffset(), offset);
        const std::int32_t widest = editor->Document().WidestLine(0, 1, view.LineCount());
        QCOMPARE(view.ExtentX(), widest);
        // No empty space right of the widest line, but the room of a caret at its end.
        QVERIFY2(view.LeftX() <= std::max(0, widest + ZuWindowServices::DefaultCaretWidth - view.TextWidth()),
                 qPrintable(QString("left x %1, widest line %2").arg(view.LeftX()).arg(widest)));
        // The caret's line and column are in the pane.
        const std::uint32_t caretLine = view.Caret().y;
        QVERIFY(caretLine >= view.TopLine() && caretLine < view.TopLine() + std::uint32_t(view.FullLinesPerWindow()));
        const QPoint caret = view.PointOf(view.Caret());
        QVERIFY2(caret.x() >= view.LeftMargin() && caret.x() <= view.LeftMargin() + view.TextWidth(),
                 qPrintable(QString("caret x %1").arg(caret.x())));
        // A redo of the re-wrap comes back to the same view.
        const ZuViewState after = view.State();
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(editor->UndoManager().Redo(), ZuOk);
        QCOMPARE(view.LeftX(), after.leftX);
        QCOMPARE(view.Caret(), after.caret);
    }

    void wrapSelectionKeepsItByOffsets()
    {
        auto editor = ZuShownEditor("aaaa bbbb cccc dddd\r\nrest", {300, 200});
        QVERIFY(editor);
        ZuPaneView& view = editor->View(0);
        view.SetWrapX(5 * editor->Fonts().DefaultFont().Width('a'));
        // A selection made backwards: after the wrap the anchor is its earlier end.
        ZuTypeKeys(*editor, "End S-Left S-Left S-Left S-Left S-Left S-Left S-Left");
        const std::uint64_t a = view.SelectionStartOffset();
        const std::uint64_t b = view.SelectionEndOffset();
        QCOMPARE(view.WrapSelection(), ZuOk);
        QCOMPARE(view.LineCount(), 5u);
        QCOMPARE(view.SelectionStartOffset(), a);
        QCOMPARE(view.SelectionEndOffset(), b);
        QVERIFY(view.Selection().start < view.Selection().end);
        QCOMPARE(editor->UndoManager().Undo(), ZuOk);
        QCOMPARE(view.LineCount(), 2u);
    }
};

REGISTER_TEST(ZuPaneViewTests);
#include "ZuPaneViewTests.moc"
