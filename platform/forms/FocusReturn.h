#pragma once
// Gives the keyboard back after a window that took it: a modal dialog, a
// message box, a "Working..." window. While alive it remembers the active
// window and the widget that had the focus; when it goes (or on Restore) it
// activates that window again and gives the widget the focus, so that typing
// and the window's shortcuts (Ctrl+S) work at once. Without this, a window
// system that leaves no window active after the dialog closes (X without a
// window manager) delivers keys while no shortcut of ours can match.
// Made while a window that has just closed still counts as active (or while
// none is), it returns to that window's owner, or to where the last return
// sent the keyboard: a question asked right after a dialog then gives the
// keyboard back as the dialog would have.

#include <QPointer>
#include <QWidget>

namespace platform {

class FocusReturn {
public:
    FocusReturn();
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

    // Gives the activation and the focus back now; nothing when the window
    // has gone or is hidden. A widget that went or cannot take the focus
    // leaves the focus to the window.
    void Restore() const;

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
};

}  // namespace platform
