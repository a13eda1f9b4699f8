#pragma once
// One key binding of the editing control's hot-key table: a first stroke
// and an optional second stroke (a chord). Modifier masks sum 1 Shift,
// 2 Ctrl, 4 Alt; a key is a one-character string whose code is the Windows
// virtual-key code (65 "A", 112 F1, 46 Delete; see CodeMaxKeys.h).

#include <QString>

namespace platform {

struct CodeMaxHotKey {
    static constexpr int Shift = 1;
    static constexpr int Ctrl = 2;
    static constexpr int Alt = 4;

    int modifiers1 = 0;
    QString key1;
    int modifiers2 = 0;
    QString key2;

    CodeMaxHotKey() = default;
    CodeMaxHotKey(int mods1, int vk1, int mods2 = 0, int vk2 = 0)
        : modifiers1(mods1), key1(vk1 ? QString(QChar(vk1)) : QString()),
          modifiers2(mods2), key2(vk2 ? QString(QChar(vk2)) : QString())
    {
    }

    // The virtual-key codes of the two strokes (0 when empty).
    int vk1() const { return key1.isEmpty() ? 0 : key1.at(0).unicode(); }
    int vk2() const { return key2.isEmpty() ? 0 : key2.at(0).unicode(); }
    bool IsChord() const { return vk2() != 0; }

    friend bool operator==(const CodeMaxHotKey& a, const CodeMaxHotKey& b)
    {
        return a.modifiers1 == b.modifiers1 && a.vk1() == b.vk1()
            && a.modifiers2 == b.modifiers2 && a.vk2() == b.vk2();
    }
};

}  // namespace platform
