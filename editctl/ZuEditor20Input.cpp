// ZuEditor20: keyboard and mouse input. Every key or character is one undo
// group; the mouse runs in modes (1 selecting, 2 and 3 dragging text, 4 the
// splitter) with a 50 ms timer while a mode lasts.

#include "editctl/ZuEditor20.h"

#include "editctl/ZuQtMetrics.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>

namespace {

bool IsNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
        return true;
    default:
        return false;
    }
}

} // namespace

void ZuEditor20::AfterKey()
{
    if (Redraw)
        PaneWindow(focusPane_).UpdateWindow();
}

void ZuEditor20::Undo(bool redo)
{
    if ((redo ? undo_.CanRedo() : undo_.CanUndo()) == 0)
        return;
    Report(redo ? undo_.Redo() : undo_.Undo());
    for (Pane& pane : panes_) {
        pane.view->InvalidateAll();
        pane.view->ScrollCaretIntoView();
    }
}

bool ZuEditor20::HandleKey(int key, Qt::KeyboardModifiers modifiers, int count)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (key == Qt::Key_Backtab)
        key = Qt::Key_Tab;
    if (!IsNavigationKey(key) && !(key == Qt::Key_Tab && ctrl))
        return false;
    if (alt)
        return true; // with Alt no key of the table does anything
    count = std::max(1, count);
    ZuPaneView& view = FocusedView();
    ZuErr result = ZuOk;
    undo_.Nest(true);
    switch (key) {
    case Qt::Key_Left:
        view.PrepareMotion(shift);
        if (ctrl)
            for (int i = 0; i < count; ++i)
                view.CaretWordLeft();
        else
            view.CaretLeft(std::uint32_t(count));
        break;
    case Qt::Key_Right:
        view.PrepareMotion(shift);
        if (ctrl)
            for (int i = 0; i < count; ++i)
                view.CaretWordRight();
        else
            view.CaretRight(std::uint32_t(count));
        break;
    case Qt::Key_Up:
        view.PrepareMotion(shift);
        if (ctrl)
            view.ScrollLines(-count);
        else
            view.CaretUp(std::uint32_t(count));
        break;
    case Qt::Key_Down:
        view.PrepareMotion(shift);
        if (ctrl)
            view.ScrollLines(count);
        else
            view.CaretDown(std::uint32_t(count));
        break;
    case Qt::Key_PageUp:
        if (ctrl) {
            // Fully right; the caret stays.
            if (!shift && view.LeftX() < view.ExtentX())
                view.SetLeftX(view.ExtentX());
        } else {
            view.PrepareMotion(shift);
            for (int i = 0; i < count; ++i)
                view.CaretPageUp();
        }
        break;
    case Qt::Key_PageDown:
        if (ctrl) {
            if (!shift && view.LeftX() != 0)
                view.SetLeftX(0);
        } else {
            view.PrepareMotion(shift);
            for (int i = 0; i < count; ++i)
                view.CaretPageDown();
        }
        break;
    case Qt::Key_Home:
        view.PrepareMotion(shift);
        if (ctrl)
            view.CaretTextStart();
        else
            view.CaretLineStart();
        break;
    case Qt::Key_End:
        view.PrepareMotion(shift);
        if (ctrl)
            view.CaretTextEnd();
        else
            view.CaretLineEnd();
        break;
    case Qt::Key_Insert:
        if (!ctrl && shift && !ReadOnly)
            result = Paste();
        else if (ctrl && !shift)
            result = Copy();
        break;
    case Qt::Key_Delete:
        if (ReadOnly)
            break;
        if (!ctrl && !shift)
            result = !view.SelectionEmpty() ? view.DeleteSelection() : view.DeleteCharAfter();
        else if (!ctrl && shift)
            result = !view.SelectionEmpty() ? Cut() : view.DeleteCharBefore(std::uint32_t(count));
        else if (ctrl && !shift)
            result = view.DeleteToLineEnd();
        break;
    case Qt::Key_Tab: // with Ctrl
        if (shift) {
            SetFocusPane(1 - focusPane_);
        } else if (!ReadOnly) {
            result = view.DeleteSelection();
            if (result == ZuOk)
                result = view.TypeChar('\t', std::uint32_t(count), InsertMode);
        }
        break;
    default:
        break;
    }
    undo_.Nest(false);
    Report(result);
    AfterKey();
    return true;
}

void ZuEditor20::HandleChar(int character, Qt::KeyboardModifiers modifiers, int count, bool altGr)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    count = std::max(1, count);
    if (keyPress) {
        keyPress(character);
        if (character == 0)
            return;
    }
    ZuPaneView& view = FocusedView();
    ZuErr result = ZuOk;
    undo_.Nest(true);
    auto deleteSelection = [&] { return view.SelectionEmpty() ? ZuOk : view.DeleteSelection(); };
    switch (character) {
    case 3:
        if (!alt && ctrl && !shift)
            result = Copy();
        break;
    case 8:
        if (alt) {
            undo_.Nest(false);
            Undo(shift);
            AfterKey();
            return;
        }
        if (!ReadOnly) {
            if (!view.SelectionEmpty())
                result = view.DeleteSelection();
            else
                result = view.DeleteCharBefore(std::uint32_t(count));
        }
        break;
    case 9:
        if (alt)
            break;
        if (shift) {
            SetFocusPane(1 - focusPane_);
        } else if (!ReadOnly) {
            result = deleteSelection();
            if (result == ZuOk)
                result = view.TypeChar('\t', std::uint32_t(count), InsertMode);
        }
        break;
    case 10:
    case 13:
        if (alt)
            break;
        if (!InsertMode) {
            for (int i = 0; i < count; ++i)
                view.CaretToNextLineStart(0);
        } else if (!ReadOnly) {
            result = deleteSelection();
            for (int i = 0; i < count && result == ZuOk; ++i)
                result = view.InsertParagraphBreak();
        }
        break;
    case 22:
        if (!alt && ctrl && !shift && !ReadOnly)
            result = Paste();
        break;
    case 24:
        if (!alt && ctrl && !shift && !ReadOnly)
            result = Cut();
        break;
    case 26:
        if (!alt && ctrl) {
            undo_.Nest(false);
            Undo(shift);
            AfterKey();
            return;
        }
        break;
    case 27:
        EndMouse();
        break;
    default:
        // With Alt only the AltGr combinations type.
        if (alt && !(ctrl && altGr))
            break;
        if (character < 0 || character > 255 || ReadOnly)
            break;
        result = deleteSelection();
        if (result == ZuOk)
            result = view.TypeChar(char(character), std::uint32_t(count), InsertMode);
        break;
    }
    undo_.Nest(false);
    Report(result);
    AfterKey();
}

void ZuEditor20::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int count = std::max(1, event->count());
    if (HandleKey(key, modifiers, count)) {
        event->accept();
        return;
    }
    // The character the key types: control keys by their codes, Ctrl with a
    // letter as 1 to 26 (the text Qt reports for those varies by platform).
    int character = -1;
    switch (key) {
    case Qt::Key_Backspace: character = 8; break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: character = 9; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: character = 13; break;
    case Qt::Key_Escape: character = 27; break;
    default:
        if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
            character = key - Qt::Key_A + 1;
        } else if (!event->text().isEmpty()) {
            const std::string bytes = ZuFromQString(event->text());
            if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) >= 32 && bytes[0] != 127 &&
                !(bytes[0] == '?' && event->text() != QStringLiteral("?")))
                character = static_cast<unsigned char>(bytes[0]);
        }
        break;
    }
    if (character < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    HandleChar(character, modifiers, count);
    event->accept();
}

void ZuEditor20::inputMethodEvent(QInputMethodEvent* event)
{
    // Committed text types character by character.
    const std::string bytes = ZuFromQString(event->commitString());
    for (char c : bytes)
        if (c != '?' || event->commitString().contains(QLatin1Char('?')))
            HandleChar(static_cast<unsigned char>(c), Qt::NoModifier, 1);
    event->accept();
}

bool ZuEditor20::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // The container's shortcuts never take the keys the control handles.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (IsNavigationKey(key->key()) || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
            (ctrl && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) || key->key() == Qt::Key_Backspace) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

bool ZuEditor20::focusNextPrevChild(bool)
{
    // Tab types a tab; Shift+Tab moves to the other pane.
    return false;
}

// ---- Mouse

ZuPaneWindow* ZuEditor20::PaneUnder(QPoint point) const
{
    for (const Pane& pane : panes_) {
        if (pane.window->isVisible() && pane.window->geometry().contains(point)) {
            const QPoint inside = pane.window->viewport()->mapFrom(this, point);
            if (pane.window->viewport()->rect().contains(inside))
                return pane.window;
        }
    }
    return nullptr;
}

int ZuEditor20::SplitterCoordinate(QPoint point) const
{
    return SplitterType == 2 ? point.y() : point.x();
}

void ZuEditor20::PaneMouseEvent(ZuPaneWindow* pane, QMouseEvent* event)
{
    const QPoint point = pane->viewport()->mapTo(this, event->position().toPoint());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::LeftButton)
            Press(point, pane, event->modifiers());
        break;
    case QEvent::MouseMove:
        if (mouseMode_ == 0) {
            // No button: the pane's cursor for the point (arrow over a selection that can be dragged,
            // I-beam over text, arrow in a margin).
            if (MousePointer == 0) {
                const int cursor = View(pane->Index()).CursorAt(event->position().toPoint());
                pane->viewport()->setCursor(cursor == 2 ? Qt::IBeamCursor : Qt::ArrowCursor);
            }
            break;
        }
        Move(point);
        break;
    case QEvent::MouseButtonRelease:
        if (event->button() == Qt::LeftButton)
            Release(point);
        break;
    case QEvent::MouseButtonDblClick:
        if (event->button() == Qt::LeftButton && mouseMode_ == 0) {
            SetFocusPane(pane->Index());
            View(pane->Index()).DoubleClick(pane->viewport()->mapFrom(this, point));
            AfterKey();
        }
        break;
    default:
        break;
    }
    event->accept();
}

void ZuEditor20::Press(QPoint point, ZuPaneWindow* pane, Qt::KeyboardModifiers modifiers)
{
    if (mouseMode_ != 0)
        return;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    lastMouse_ = point;
    if (pane == nullptr) {
        // The bar between the panes.
        if (!SplitterEnabled || SplitterType == 0)
            return;
        mouseMode_ = 4;
        const int firstSize = SplitterType == 2 ? PaneWindow(0).height() : PaneWindow(0).width();
        splitterOffset_ = SplitterCoordinate(point) - firstSize;
        TrackSplitter(SplitterCoordinate(point) - splitterOffset_);
    } else {
        mouseMode_ = 1;
        SetFocusPane(pane->Index());
        mousePane_ = pane;
        const QPoint inside = pane->viewport()->mapFrom(this, point);
        const ZuDragState state = View(pane->Index()).MouseDown(inside, modifiers & Qt::ShiftModifier,
                                                                modifiers & Qt::ControlModifier);
        mouseMode_ = int(state);
        if (state == ZuDragMove || state == ZuDragCopy)
            pane->viewport()->setCursor(Qt::DragMoveCursor);
    }
    timer_.start(50, this);
    AfterKey();
}

void ZuEditor20::Move(QPoint point)
{
    lastMouse_ = point;
    if (mouseMode_ == 4) {
        TrackSplitter(SplitterCoordinate(point) - splitterOffset_);
    } else if (mouseMode_ >= 1 && mouseMode_ <= 3) {
        ZuPaneWindow& pane = PaneWindow(focusPane_);
        View(focusPane_).MouseMove(pane.viewport()->mapFrom(this, point));
        AfterKey();
    }
}

void ZuEditor20::Release(QPoint point)
{
    lastMouse_ = point;
    timer_.stop();
    if (mouseMode_ == 4) {
        TrackSplitter(-1);
        int position = SplitterCoordinate(point) - splitterOffset_;
        const int extent = SplitterType == 2 ? height() : width();
        if (position >= extent)
            position = -1;
        else if (position < 1)
            position = 0;
        SetSplitterPosition(position);
        if (splitterMoved)
            splitterMoved();
    } else if (mouseMode_ >= 1 && mouseMode_ <= 3) {
        ZuPaneWindow& pane = PaneWindow(focusPane_);
        View(focusPane_).MouseUp(pane.viewport()->mapFrom(this, point));
        pane.viewport()->setCursor(Qt::IBeamCursor);
        AfterKey();
    }
    mouseMode_ = 0;
    mousePane_ = nullptr;
}

void ZuEditor20::EndMouse()
{
    if (mouseMode_ == 0)
        return;
    timer_.stop();
    if (mouseMode_ == 4) {
        TrackSplitter(-1);
    } else {
        View(focusPane_).MouseCancel();
        PaneWindow(focusPane_).viewport()->setCursor(Qt::IBeamCursor);
    }
    mouseMode_ = 0;
    mousePane_ = nullptr;
}

void ZuEditor20::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (mouseMode_ == 0) {
        timer_.stop();
        return;
    }
    if (mouseMode_ == 4)
        return;
    // The selection keeps growing while the mouse rests outside the pane.
    ZuPaneWindow& pane = PaneWindow(focusPane_);
    const QPoint inside = pane.viewport()->mapFrom(this, lastMouse_);
    if (mouseMode_ == 1)
        View(focusPane_).AutoscrollTick(inside);
    else
        View(focusPane_).DragOver(inside);
    AfterKey();
}

void ZuEditor20::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Press(event->position().toPoint(), PaneUnder(event->position().toPoint()), event->modifiers());
}

void ZuEditor20::mouseMoveEvent(QMouseEvent* event)
{
    Move(event->position().toPoint());
}

void ZuEditor20::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Release(event->position().toPoint());
}

void ZuEditor20::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}
