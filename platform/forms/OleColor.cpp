#include "platform/forms/OleColor.h"

#include <QGuiApplication>

namespace platform {

QPalette::ColorRole SystemColorRole(int index)
{
    switch (index) {
    case 4: return QPalette::Window;         // menu
    case 5: return QPalette::Base;           // window background
    case 6: return QPalette::Shadow;         // window frame
    case 7: return QPalette::WindowText;     // menu text
    case 8: return QPalette::Text;           // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;        // button face
    case 16: return QPalette::Dark;          // button shadow
    case 17: return QPalette::PlaceholderText;  // grey text
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;         // button highlight
    case 21: return QPalette::Shadow;        // 3D dark shadow
    case 22: return QPalette::Midlight;      // 3D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

QColor OleColorToQColor(quint32 color, const QPalette& palette)
{
    if (color & SystemColorFlag)
        return palette.color(QPalette::Active, SystemColorRole(int(color & 0xFF)));
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QColor OleColorToQColor(quint32 color)
{
    return OleColorToQColor(color, QGuiApplication::palette());
}

quint32 QColorToOleColor(const QColor& color)
{
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}

}  // namespace platform
