// ZuPaneView: the mouse on the selection side: press, move, release,
// autoscroll, and the cursor a point asks for. One press to its release is
// one undo step.

#include "editctl/ZuPaneView.h"

#include "editctl/ZuWindowServices.h"

#include <algorithm>

namespace {

QPoint ClampInto(QPoint p, const QRect& client)
{
    return {std::clamp(p.x(), 0, std::max(0, client.width() - 1)), std::clamp(p.y(), 0, std::max(0, client.height() - 1))};
}

} // namespace

ZuDragState ZuPaneView::MouseDown(QPoint point, bool shift, bool ctrl)
{
    if (!groupOpenByPress_) {
        undo_.Nest(true);
        groupOpenByPress_ = true;
    }
    wordJustSelected_ = false;
    movedSincePress_ = false;
    const QPoint clamped = ClampInto(point, window_.GetClientRect());
    const ZuTextPosition position = PositionAt(clamped);
    pressPoint_ = point;
    pressPosition_ = position;
    caretBeforePress_ = state_.caret;
    dragState_ = ZuDragSelect;
    if (!shift) {
        const ZuTextRange range = ClampedSelection();
        if (!range.IsEmpty() && range.ContainsPosition(position) && dragDropEnabled_ && !readOnly_) {
            // A press inside the selection starts dragging it.
            if (state_.endFixed == 0)
                FixSelection();
            dragAnchor_ = state_.selection.start;
            dragState_ = ctrl ? ZuDragCopy : ZuDragMove;
        } else {
            ClearSelection();
        }
        CaretToPosition(position);
    } else {
        if (state_.selection.type == ZuRangeNone && position != state_.caret && selDefaultType_ != 0)
            StartSelection(selDefaultType_);
        CaretToPosition(position);
        if (state_.selection.type != ZuRangeNone)
            PullSelectionEndToCaret();
    }
    return dragState_;
}

void ZuPaneView::MouseMove(QPoint point)
{
    if (dragState_ == ZuDragMove || dragState_ == ZuDragCopy) {
        DragOver(point);
        return;
    }
    if (dragState_ != ZuDragSelect)
        return;
    if (!movedSincePress_ && point == pressPoint_)
        return;
    movedSincePress_ = true;
    const QRect client = window_.GetClientRect();
    const QPoint clamped = ClampInto(point, client);
    if (state_.selection.type == ZuRangeNone && selDefaultType_ != 0 && PositionAt(clamped) != pressPosition_)
        StartSelection(selDefaultType_);
    // On or past an edge: one step that way.
    if (point.y() < 1)
        ScrollLines(-1);
    else if (point.y() >= client.height())
        ScrollLines(1);
    if (point.x() < 1)
        ScrollColumns(-1);
    else if (point.x() >= client.width())
        ScrollColumns(1);
    CaretToPosition(PositionAt(clamped));
}

void ZuPaneView::MouseUp(QPoint point)
{
    if (dragState_ == ZuDragSelect) {
        if (!wordJustSelected_)
            CaretToPosition(PositionAt(ClampInto(point, window_.GetClientRect())));
    } else if (dragState_ == ZuDragMove || dragState_ == ZuDragCopy) {
        DragDrop(point);
    }
    MouseCancel();
}

void ZuPaneView::MouseCancel()
{
    dragState_ = ZuDragNone;
    if (groupOpenByPress_) {
        groupOpenByPress_ = false;
        undo_.Nest(false);
    }
}

void ZuPaneView::AutoscrollTick(QPoint point)
{
    if (dragState_ != ZuDragSelect || InTextArea(point))
        return;
    movedSincePress_ = true;
    MouseMove(point);
}

int ZuPaneView::CursorAt(QPoint point) const
{
    if (!InTextArea(point))
        return 1;
    const ZuTextRange range = ClampedSelection();
    return !range.IsEmpty() && range.ContainsPosition(PositionAt(point)) ? 0 : 2;
}
