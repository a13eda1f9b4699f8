#include "platform/forms/FocusReturn.h"

#include <QApplication>

namespace platform {

FocusReturn::FocusReturn()
    : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget())
{
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
}

}  // namespace platform
