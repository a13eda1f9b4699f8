#pragma once
// The texts of hot keys in the key and macro dialogs. The capture box and the
// listing each keep their own texts: the capture shows "Shift + Ctrl + " and
// "Return", the listing "Ctrl + Shift + " and "Enter Key".

#include "platform/codemax/CodeMaxHotKey.h"

#include <QString>
#include <optional>

struct CapturedKey {
    int modifiers = 0;  // 1 Shift, 2 Ctrl, 4 Alt
    int vk = 0;         // virtual-key code
    QString text;       // as the capture box shows it
    // A bare modifier key is shown but never bound: it would fire at every press.
    bool Assignable() const;
    platform::CodeMaxHotKey HotKey() const { return platform::CodeMaxHotKey(modifiers, vk); }
};

// The capture of a key pressed with the modifier mask; nothing for a key that
// cannot be captured (digits, punctuation, keypad, F13 and above).
std::optional<CapturedKey> CaptureKey(int vk, int mask);

// The listing text of a bound key.
QString HotKeyListingText(const platform::CodeMaxHotKey& key);
