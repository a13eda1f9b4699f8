#pragma once
// A place in the text of one pane: a byte column within a line and a line.

#include <cstdint>

struct ZuTextPosition {
    std::uint32_t x = 0; // column: 0-based byte index within the line
    std::uint32_t y = 0; // line of one pane

    void Clear() { x = 0, y = 0; }
    void Set(std::uint32_t column, std::uint32_t line) { x = column, y = line; }
    ZuTextPosition Copy() const { return *this; }

    friend bool operator==(const ZuTextPosition&, const ZuTextPosition&) = default;
    friend bool operator<(const ZuTextPosition& a, const ZuTextPosition& b)
    {
        return a.y < b.y || (a.y == b.y && a.x < b.x);
    }
    friend bool operator<=(const ZuTextPosition& a, const ZuTextPosition& b) { return !(b < a); }
    friend bool operator>(const ZuTextPosition& a, const ZuTextPosition& b) { return b < a; }
    friend bool operator>=(const ZuTextPosition& a, const ZuTextPosition& b) { return !(a < b); }
};

// The longest line the engine keeps; as a column it stands for the end of the line.
inline constexpr std::uint32_t ZuEndOfLine = 65500;
