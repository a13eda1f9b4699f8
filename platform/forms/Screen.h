#pragma once
// The screen's working area, for centring windows.

#include <QRect>
#include <QStringList>

class QWidget;

namespace platform {

// The available geometry (without panels) of the screen that holds the
// widget, or of the primary screen; 1024 x 768 when there is no screen.
QRect AvailableScreenGeometry(const QWidget* widget = nullptr);

// Moves the top-level window so that its frame is centred on that area.
void CentreOnScreen(QWidget& window);

// True when the program can show windows: the environment names a display
// (DISPLAY, WAYLAND_DISPLAY) or a Qt platform (QT_QPA_PLATFORM), or the
// arguments choose one ("-platform NAME"). Asked before the application
// object exists, which would end the process without a display.
bool GraphicalSessionAvailable(const QStringList& arguments);

}  // namespace platform
