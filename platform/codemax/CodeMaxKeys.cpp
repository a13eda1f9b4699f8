#include "platform/codemax/CodeMaxKeys.h"

#include <QKeyEvent>

#include <utility>

namespace platform::CodeMaxKeys {
namespace {

// Named keys (not letters, digits or function keys).
constexpr std::pair<int, int> namedKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9}, {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Shift, 16}, {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18}, {Qt::Key_AltGr, 18}, {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27}, {Qt::Key_Space, 32}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35}, {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38},
    {Qt::Key_Right, 39}, {Qt::Key_Down, 40}, {Qt::Key_Print, 44}, {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46}, {Qt::Key_Help, 47}, {Qt::Key_Meta, 91}, {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    // Punctuation keys of a US keyboard, unshifted and shifted.
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186}, {Qt::Key_Equal, 187}, {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188}, {Qt::Key_Less, 188}, {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190}, {Qt::Key_Greater, 190}, {Qt::Key_Slash, 191}, {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    // Shifted digits of a US keyboard that have no other key.
    {Qt::Key_Exclam, 49}, {Qt::Key_At, 50}, {Qt::Key_NumberSign, 51}, {Qt::Key_Dollar, 52},
};

constexpr std::pair<int, int> shiftedDigits[] = {
    {Qt::Key_Percent, 53}, {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55},
    {Qt::Key_Asterisk, 56}, {Qt::Key_ParenLeft, 57}, {Qt::Key_ParenRight, 48},
};

}  // namespace

int VirtualKey(int qtKey, bool keypad)
{
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return 96 + (qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;  // Qt uses the capital letter's code, as Windows does
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    for (const auto& [qt, vk] : namedKeys)
        if (qt == qtKey)
            return vk;
    for (const auto& [qt, vk] : shiftedDigits)
        if (qt == qtKey)
            return vk;
    return 0;
}

int VirtualKey(const QKeyEvent& event)
{
    return VirtualKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

int QtKey(int vk)
{
    if ((vk >= 65 && vk <= 90) || (vk >= 48 && vk <= 57))
        return vk;
    if (vk >= 96 && vk <= 105)
        return Qt::Key_0 + (vk - 96);
    if (vk >= 112 && vk <= 135)
        return Qt::Key_F1 + (vk - 112);
    switch (vk) {
    case 106: return Qt::Key_Asterisk;
    case 107: return Qt::Key_Plus;
    case 109: return Qt::Key_Minus;
    case 110: return Qt::Key_Period;
    case 111: return Qt::Key_Slash;
    default: break;
    }
    for (const auto& [qt, code] : namedKeys)
        if (code == vk)
            return qt;  // the first (unshifted) entry
    return 0;
}

int ShiftMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        mask |= 1;
    if (modifiers.testFlag(Qt::ControlModifier))
        mask |= 2;
    if (modifiers.testFlag(Qt::AltModifier))
        mask |= 4;
    return mask;
}

Qt::KeyboardModifiers Modifiers(int shiftMask)
{
    Qt::KeyboardModifiers m;
    if (shiftMask & 1)
        m |= Qt::ShiftModifier;
    if (shiftMask & 2)
        m |= Qt::ControlModifier;
    if (shiftMask & 4)
        m |= Qt::AltModifier;
    return m;
}

bool IsModifierKey(int vk)
{
    return vk == 16 || vk == 17 || vk == 18 || vk == 20 || vk == 91 || vk == 92;
}

}  // namespace platform::CodeMaxKeys
