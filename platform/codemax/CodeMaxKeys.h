#pragma once
// Keys as the programs see them: Windows virtual-key codes (8 Backspace,
// 13 Return, 16/17/18 Shift/Ctrl/Alt, 33..40 paging and arrows, 45 Insert,
// 46 Delete, 48..57 digits, 65..90 letters, 96..111 keypad, 112..135 F1..F24,
// 186..192 and 219..222 punctuation as on a US keyboard) and the shift mask
// 1 Shift, 2 Ctrl, 4 Alt.

#include <Qt>

class QKeyEvent;

namespace platform::CodeMaxKeys {

// The virtual-key code of a Qt key (Qt::Key_A gives 65); 0 when none.
// Shifted symbols map to the key that types them on a US keyboard
// (Qt::Key_Percent gives 53, the 5 key).
int VirtualKey(int qtKey, bool keypad = false);
// The same for a key event (keypad digits give 96..105).
int VirtualKey(const QKeyEvent& event);
// The Qt key of a virtual-key code; 0 when none.
int QtKey(int virtualKey);
// The shift mask of Qt modifiers (Shift 1, Control 2, Alt 4; Meta ignored).
int ShiftMask(Qt::KeyboardModifiers modifiers);
// Qt modifiers of a shift mask.
Qt::KeyboardModifiers Modifiers(int shiftMask);
// True for the codes of Shift, Ctrl, Alt, Caps Lock and the Windows keys.
bool IsModifierKey(int virtualKey);

}  // namespace platform::CodeMaxKeys
