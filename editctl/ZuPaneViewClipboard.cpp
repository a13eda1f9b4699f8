// ZuPaneView: clipboard, drag and drop, and the double click.

#include "editctl/ZuPaneView.h"

#include "editctl/ZuPaneWindow.h"
#include "editctl/ZuWindowServices.h"
#include "editctl/engine/ZuClipboard.h"
#include "editctl/engine/ZuPrivateClipboard.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>

namespace {

// The view that shows the drop caret: one for the whole module; and whether
// that view showed its own caret before (a pane without the focus shows none).
ZuPaneView* DropView = nullptr;
bool DropViewShowedCaret = false;

// A pane's range in the document's 1-based lines.
ZuTextRange InDocument(ZuTextRange range)
{
    ++range.start.y;
    ++range.end.y;
    return range;
}

// Nests an undo group and locks a view's updates for a scope.
class EditScope {
public:
    explicit EditScope(ZuPaneView& view) : view_(view)
    {
        view_.LockUpdate(true);
        view_.UndoManager().Nest(true);
    }
    ~EditScope()
    {
        view_.UndoManager().Nest(false);
        view_.LockUpdate(false);
    }
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

private:
    ZuPaneView& view_;
};

} // namespace

ZuErr ZuPaneView::CopySelection(ZuClipboard& clipboard)
{
    if (SelectionEmpty())
        return ZuOk;
    return ZuCopyRange(*document_, pane_, InDocument(ClampedSelection()), clipboard, this);
}

ZuErr ZuPaneView::CutSelection(ZuClipboard& clipboard)
{
    if (SelectionEmpty())
        return ZuOk;
    EditScope scope(*this);
    if (const ZuErr error = CopySelection(clipboard))
        return error;
    return DeleteSelection();
}

ZuErr ZuPaneView::PasteData(ZuClipboard& clipboard)
{
    ZuClipContent content;
    if (const ZuErr error = ZuReadClipboard(clipboard, this, *document_, content))
        return error;
    if (!content.text)
        return ZuOk;
    EditScope scope(*this);
    // The selection's text is kept until the new text is in, to go back when it cannot be.
    ZuPrivateClipboard replaced;
    ZuTextPosition replacedAt;
    if (!SelectionEmpty()) {
        const ZuTextRange selection = ClampedSelection();
        replacedAt = selection.type == ZuRangeLine     ? ZuTextPosition{0, selection.LowestLine()}
                     : selection.type == ZuRangeColumn ? ZuTextPosition{selection.SmallestX(), selection.LowestLine()}
                                                       : selection.First();
        if (const ZuErr error = CopySelection(replaced))
            return error;
        if (const ZuErr error = DeleteSelection())
            return error;
    }
    ZuErr error = InsertContent(content);
    if (error != ZuOk && replaced.Get(ZuClipTextFormat)) {
        CaretToPosition(replacedAt);
        PasteData(replaced);
    }
    return error;
}

ZuErr ZuPaneView::InsertContent(ZuClipContent& content)
{
    const ZuTextPosition caret = ClampPosition(state_.caret);
    if (!content.rtf)
        if (const ZuErr error = ZuTakeFormatAt(*document_, pane_, {caret.x, caret.y + 1}, *content.text))
            return error;
    // The record's extents, placed at the caret (a line block at its line's start).
    ZuTextRange at = content.range;
    at.start = content.range.type == ZuRangeLine ? ZuTextPosition{0, caret.y} : caret;
    at.end = {at.start.x + content.range.end.x, at.start.y + content.range.end.y};
    return InsertFragment(at, *content.text);
}

void ZuPaneView::DoubleClick(QPoint point)
{
    CaretToPosition(PositionAt(point));
    SelectWord();
}

// ---- Drag and drop inside the process

ZuPaneView* ZuPaneView::DropCaretView()
{
    return DropView;
}

void ZuPaneView::ForgetDropCaret(const ZuPaneView* view)
{
    if (DropView == view)
        DropView = nullptr;
}

bool ZuPaneView::StartDrag(bool copy)
{
    if (SelectionEmpty() || !AcceptsDrop())
        return false;
    dragState_ = copy ? ZuDragCopy : ZuDragMove;
    dragAnchor_ = Selection().start;
    return true;
}

namespace {

// The drop caret leaves the view that shows it; that view's own caret comes back.
void HideDropCaret()
{
    if (ZuPaneView* view = DropView) {
        DropView = nullptr;
        if (!DropViewShowedCaret)
            view->Window().HideCaret();
        view->UpdateCaret();
    }
}

// The text position under a point, the point first kept inside the client area.
ZuTextPosition DropPosition(const ZuPaneView& target, QPoint point)
{
    const QRect client = target.Window().GetClientRect();
    if (!client.isEmpty()) {
        point.setX(std::clamp(point.x(), client.left(), client.right()));
        point.setY(std::clamp(point.y(), client.top(), client.bottom()));
    }
    return target.PositionAt(point);
}

} // namespace

int ZuPaneView::DragOverPane(ZuPaneView* target, QPoint point)
{
    if (dragState_ != ZuDragMove && dragState_ != ZuDragCopy)
        return 2;
    if (!target || !target->AcceptsDrop()) {
        HideDropCaret();
        return 5;
    }
    if (DropView != target) {
        HideDropCaret();
        DropViewShowedCaret = target->Window().CaretWanted();
    }
    DropView = target;
    target->dropCaret_ = DropPosition(*target, point);
    const QPoint at = target->PointOf(target->dropCaret_);
    target->Window().SetCaretPos(at.x(), at.y());
    target->Window().ShowCaret();
    return dragState_ == ZuDragCopy ? 4 : 3;
}

void ZuPaneView::DragCancel()
{
    HideDropCaret();
    dragState_ = ZuDragNone;
}

ZuErr ZuPaneView::DropOnPane(ZuPaneView* target, QPoint point)
{
    const ZuDragState state = dragState_;
    DragCancel();
    if (state != ZuDragMove && state != ZuDragCopy)
        return ZuOk;
    if (!target || !target->AcceptsDrop())
        return ZuOk;
    ZuTextPosition drop = DropPosition(*target, point);
    const ZuTextRange selection = ClampedSelection();
    const bool sameText = &target->Document() == document_;
    // Where the drop lands, seen from this pane (the other pane numbers its lines its own way).
    std::uint64_t dropOffset = target->Document().PositionToOffset(target->PaneIndex(), {drop.x, drop.y + 1});
    ZuTextPosition dropHere = drop;
    if (sameText && target != this) {
        const ZuTextPosition p = document_->OffsetToPosition(pane_, dropOffset);
        dropHere = {p.x, p.y - 1};
    }
    if (selection.IsEmpty() || (sameText && selection.ContainsPosition(dropHere))) {
        if (target == this || sameText)
            ClearSelection();
        return ZuOk;
    }

    ZuPrivateClipboard transfer;
    if (const ZuErr error = CopySelection(transfer))
        return error;
    // One step to undo when both panes keep one history.
    const bool oneHistory = &target->UndoManager() == &undo_;
    if (oneHistory)
        undo_.Nest(true);
    const auto pasteInto = [&transfer](ZuPaneView& view, ZuTextPosition at) {
        view.LockUpdate(true);
        view.ClearSelection();
        view.CaretToPosition(at);
        const ZuErr result = view.PasteData(transfer);
        view.LockUpdate(false);
        return result;
    };
    ZuErr error = ZuOk;
    if (state == ZuDragCopy) {
        error = pasteInto(*target, drop);
    } else if (!sameText) {
        // Into another text: the source gives its text up only once the target has it.
        error = pasteInto(*target, drop);
        if (error == ZuOk)
            error = DeleteSelection();
    } else {
        // The bytes the removal takes, for a drop behind them (a stream or lines).
        std::uint64_t removedEnd = SelectionEndOffset();
        if (selection.type == ZuRangeLine) {
            const std::uint32_t after = selection.HighestLine() + 2;
            removedEnd = after > document_->LineCount(pane_) ? document_->ByteCount()
                                                              : document_->PositionToOffset(pane_, {0, after});
        }
        const std::uint64_t before = document_->ByteCount();
        error = DeleteSelection();
        if (error == ZuOk) {
            if (selection.type == ZuRangeColumn) {
                // Columns go line by line: the position rule says where the drop went.
                ZuTextRange::AdjustForRemoval(dropHere, selection);
                dropOffset = document_->PositionToOffset(pane_, {dropHere.x, dropHere.y + 1});
            } else if (dropOffset >= removedEnd) {
                dropOffset -= before - document_->ByteCount();
            }
            const ZuTextPosition p = document_->OffsetToPosition(target->PaneIndex(), dropOffset);
            error = pasteInto(*target, {p.x, p.y - 1});
            // Text that cannot land goes back where it came from.
            if (error != ZuOk)
                pasteInto(*this, selection.type == ZuRangeLine     ? ZuTextPosition{0, selection.LowestLine()}
                                 : selection.type == ZuRangeColumn ? ZuTextPosition{selection.SmallestX(),
                                                                                    selection.LowestLine()}
                                                                   : selection.First());
        }
    }
    if (oneHistory)
        undo_.Nest(false);
    return error;
}

ZuPaneView* ZuPaneView::PaneViewAt(QPoint global, QPoint& client)
{
    // Our pane test: a pane window of this module, whatever control holds it.
    for (QWidget* widget = QApplication::widgetAt(global); widget; widget = widget->parentWidget())
        if (auto* pane = qobject_cast<ZuPaneWindow*>(widget)) {
            if (!pane->View())
                return nullptr;
            client = pane->ScreenToClient(global);
            return pane->View();
        }
    return nullptr;
}

int ZuPaneView::DragOver(QPoint point)
{
    QPoint inTarget;
    ZuPaneView* target = PaneViewAt(window_.ClientToScreen(point), inTarget);
    const int cursor = DragOverPane(target, inTarget);
    if (auto* pane = dynamic_cast<ZuPaneWindow*>(&window_))
        pane->viewport()->setCursor(CursorShape(cursor));
    return cursor;
}

ZuErr ZuPaneView::DragDrop(QPoint point)
{
    QPoint inTarget;
    ZuPaneView* target = PaneViewAt(window_.ClientToScreen(point), inTarget);
    return DropOnPane(target, inTarget);
}

Qt::CursorShape ZuPaneView::CursorShape(int code)
{
    switch (code) {
    case 0:
    case 1: return Qt::ArrowCursor;
    case 3: return Qt::DragMoveCursor;
    case 4: return Qt::DragCopyCursor;
    case 5: return Qt::ForbiddenCursor;
    default: return Qt::IBeamCursor;
    }
}
