// ZuEditor20: keyboard and mouse input.

#include "editctl/ZuEditor20.h"

#include <QKeyEvent>

bool ZuEditor20::HandleKey(int, Qt::KeyboardModifiers, int) { return false; }
void ZuEditor20::HandleChar(int, Qt::KeyboardModifiers, int, bool) {}
void ZuEditor20::PaneMouseEvent(ZuPaneWindow*, QMouseEvent*) {}
void ZuEditor20::keyPressEvent(QKeyEvent* event) { QWidget::keyPressEvent(event); }
void ZuEditor20::inputMethodEvent(QInputMethodEvent* event) { QWidget::inputMethodEvent(event); }
bool ZuEditor20::event(QEvent* event) { return QWidget::event(event); }
void ZuEditor20::mousePressEvent(QMouseEvent*) {}
void ZuEditor20::mouseMoveEvent(QMouseEvent*) {}
void ZuEditor20::mouseReleaseEvent(QMouseEvent*) {}
void ZuEditor20::mouseDoubleClickEvent(QMouseEvent*) {}
void ZuEditor20::timerEvent(QTimerEvent*) {}
bool ZuEditor20::focusNextPrevChild(bool) { return false; }
