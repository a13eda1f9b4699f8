#pragma once
// An icon in the desktop's notification area (system tray): icon, tip and
// the user's clicks on it. The desktop's own tray (QSystemTrayIcon) is the
// default; tests put a fake in its place. Some desktops have no tray at all:
// isAvailable() then says false and nothing the icon does is ever seen.

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace platform {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // What the user did on the icon.
    enum Activation { Click = 1, DoubleClick = 2, Context = 3, MiddleClick = 4 };

    using QObject::QObject;
    ~TrayIcon() override = default;

    virtual bool isAvailable() const = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void setToolTip(const QString& tip) = 0;
    virtual void setIcon(const QIcon& icon) = 0;

signals:
    void activated(int activation);
};

// A new, hidden tray icon: the test factory's when one is set, else the
// desktop's.
std::unique_ptr<TrayIcon> CreateTrayIcon();

// Test seam: an empty factory restores the desktop's. Returns the previous.
using TrayIconFactory = std::function<std::unique_ptr<TrayIcon>()>;
TrayIconFactory SetTrayIconFactory(TrayIconFactory factory);

}  // namespace platform
