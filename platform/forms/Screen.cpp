#include "platform/forms/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace platform {

QRect AvailableScreenGeometry(const QWidget* widget)
{
    const QScreen* screen = nullptr;
    if (widget)
        screen = widget->screen();
    if (!screen && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void CentreOnScreen(QWidget& window)
{
    const QRect area = AvailableScreenGeometry(&window);
    QRect outer = window.frameGeometry();
    if (window.isWindow() && !window.isVisible()) {
        // Not shown yet: the frame is not part of frameGeometry(). Creating
        // the native window tells the frame where the platform knows it.
        (void)window.winId();
        if (const QWindow* handle = window.windowHandle())
            outer = window.geometry().marginsAdded(handle->frameMargins());
    }
    outer.moveCenter(area.center());
    window.move(outer.topLeft());  // a window's position is its frame's
}

bool GraphicalSessionAvailable(const QStringList& arguments)
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    const qsizetype at = arguments.indexOf(QStringLiteral("-platform"));
    return at >= 0 && at + 1 < arguments.size() && !arguments[at + 1].isEmpty();
}

}  // namespace platform
