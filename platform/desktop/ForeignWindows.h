#pragma once
// Other programs' top-level windows: listing them with their titles and
// process ids, bringing one to the front, and adopting one into a window of
// ours. Under X11 this works through the X server; elsewhere (Wayland, the
// offscreen platform) windows cannot be listed or adopted and the answers
// say so. Tests put a fake in place (SetForeignWindows).

#include <QList>
#include <QString>
#include <memory>

class QWidget;

namespace platform {

struct ForeignWindow {
    quint64 id = 0;         // the window system's id
    QString title;
    qint64 processId = 0;   // 0 when the window does not say
    bool visible = false;   // mapped on the screen
};

class ForeignWindows {
public:
    virtual ~ForeignWindows() = default;

    // Whether top-level windows can be listed (false: the list is empty).
    virtual bool CanList() const = 0;
    // Every top-level window with a title, visible or not, in stacking
    // order from the bottom; windows inside a window manager's frame count
    // as top-level.
    virtual QList<ForeignWindow> TopLevelWindows() const = 0;
    // Restores the window when it is minimised and asks for it to come to
    // the front (a window manager may refuse).
    virtual void Activate(quint64 id) = 0;
    // Whether another program's window can be taken into one of ours.
    virtual bool CanAdopt() const = 0;
    // A widget that holds the window (to be placed in one of our windows),
    // or null when it cannot be adopted.
    virtual QWidget* Adopt(quint64 id) = 0;
    // Whether the window still exists.
    virtual bool Exists(quint64 id) const = 0;
};

// The windows of the platform the application runs on.
ForeignWindows& Windows();

// Test seam: puts windows in place of the platform's; null restores them.
// Returns the previous one (null for the platform's own).
ForeignWindows* SetForeignWindows(ForeignWindows* windows);

// The visible top-level window of a process that has a title, or 0.
quint64 FindProcessWindow(qint64 processId);

}  // namespace platform
