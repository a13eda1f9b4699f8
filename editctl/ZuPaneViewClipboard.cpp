// ZuPaneView: clipboard, drag and drop, and the double click.

#include "editctl/ZuPaneView.h"

ZuErr ZuPaneView::CopySelection(ZuClipboard&)
{
    return ZuOk;
}

ZuErr ZuPaneView::PasteData(ZuClipboard&)
{
    return ZuOk;
}

ZuErr ZuPaneView::CutSelection(ZuClipboard&)
{
    return ZuOk;
}

void ZuPaneView::DoubleClick(QPoint point)
{
    CaretToPosition(PositionAt(point));
    SelectWord();
}

void ZuPaneView::DragOver(QPoint)
{
}

void ZuPaneView::DragDrop(QPoint)
{
    dragState_ = ZuDragNone;
}

void ZuPaneView::DragCancel()
{
    dragState_ = ZuDragNone;
}
