// ZuPaneView: the mouse on the selection side: press, move, release, autoscroll, cursor.

#include "editctl/ZuPaneView.h"

ZuDragState ZuPaneView::MouseDown(QPoint, bool, bool) { return dragState_; }
void ZuPaneView::MouseMove(QPoint) {}
void ZuPaneView::MouseUp(QPoint) {}
void ZuPaneView::AutoscrollTick(QPoint) {}
int ZuPaneView::CursorAt(QPoint) const { return 2; }
