#pragma once
// The screen's working area, for centring windows.

#include <QRect>

class QWidget;

namespace platform {

// The available geometry (without panels) of the screen that holds the
// widget, or of the primary screen; 1024 x 768 when there is no screen.
QRect AvailableScreenGeometry(const QWidget* widget = nullptr);

// Moves the top-level window so that its frame is centred on that area.
void CentreOnScreen(QWidget& window);

}  // namespace platform
