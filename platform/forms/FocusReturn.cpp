#include "platform/forms/FocusReturn.h"

#include <QApplication>

namespace platform {
namespace {

// Where the last Restore sent the keyboard. The activation it asked for
// reaches the program later (on X, after the window system has answered):
// a window opened before that finds no active window of ours, or the one
// that just closed, and must send the keyboard to the same place.
QPointer<QWidget>& lastWindow()
{
    static QPointer<QWidget> window;
    return window;
}

QPointer<QWidget>& lastFocus()
{
    static QPointer<QWidget> focus;
    return focus;
}

}  // namespace

FocusReturn::FocusReturn() : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget())
{
    // A window that has closed but still counts as active gives the
    // keyboard back to the window it belongs to.
    while (window_ && !window_->isVisible() && window_->parentWidget() != nullptr) {
        window_ = window_->parentWidget()->window();
        focus_ = window_->focusWidget();
    }
    if (!window_ || !window_->isVisible()) {
        window_ = lastWindow();
        focus_ = lastFocus();
    }
    if (focus_ && window_ && focus_->window() != window_)
        focus_ = nullptr;
}

FocusReturn::~FocusReturn()
{
    Restore();
}

void FocusReturn::Restore() const
{
    if (!window_ || !window_->isVisible())
        return;
    // Asked even when it looks active: the window that is closing may still
    // have its own activation on the way.
    window_->activateWindow();
    if (focus_ && focus_->isVisible() && focus_->isEnabled() && focus_->window() == window_)
        focus_->setFocus(Qt::ActiveWindowFocusReason);
    lastWindow() = window_;
    lastFocus() = focus_;
}

}  // namespace platform
