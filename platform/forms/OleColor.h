#pragma once
// Colours as the forms store them: 0x00BBGGRR (red in the low byte), or,
// with the high bit set (0x80000000), a system colour named by its index in
// the low byte (5 window background, 8 window text, 15 button face,
// 16 button shadow, 20 button highlight, 22 3D light, ...), which maps to a
// role of the palette.

#include <QColor>
#include <QPalette>

namespace platform {

inline constexpr quint32 SystemColorFlag = 0x80000000u;
inline constexpr quint32 vbWindowBackground = 0x80000005u;
inline constexpr quint32 vbWindowText = 0x80000008u;
inline constexpr quint32 vbButtonFace = 0x8000000Fu;
inline constexpr quint32 vbButtonShadow = 0x80000010u;
inline constexpr quint32 vbButtonHighlight = 0x80000014u;
inline constexpr quint32 vb3DLight = 0x80000016u;

// The palette role of a system colour index; QPalette::Window for an index
// that names none.
QPalette::ColorRole SystemColorRole(int index);
// The colour a value stands for, system colours taken from palette.
QColor OleColorToQColor(quint32 color, const QPalette& palette);
// The same with the application's palette.
QColor OleColorToQColor(quint32 color);
// 0x00BBGGRR of a colour.
quint32 QColorToOleColor(const QColor& color);

}  // namespace platform
