#pragma once
// What the NC text procedures must keep on any program text. The first bytes
// of an input choose the shift, the axis map and the numbering options; the
// rest is the program. Shared by the fuzz target and the suite's replay test.

#include "nc/MControl.h"
#include "nc/ShiftAddresses.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace ncfuzz {

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "NC text procedures: %s\n", what);
        std::abort();
    }
}

// Every run of digits has at most 4 digits after a point and at most 10 before one: then every
// value the shift reads is held exactly (below 1e10, in ten-thousandths) and so are the sums.
// Longer values go through doubles rounded to 15 digits, where x + d - d need not be x.
inline bool ValuesHeldExactly(std::string_view text)
{
    std::size_t run = 0;
    bool decimals = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if (c >= '0' && c <= '9') {
            if (run == 0)
                decimals = i > 0 && text[i - 1] == '.';
            if (++run > (decimals ? 4u : 10u))
                return false;
        } else {
            run = 0;
        }
    }
    return true;
}

// A shift by -d undoes a shift by +d on the text a shift by +d wrote (the first shift writes
// every value of the shifted axes in the one form the shift writes: "X010" comes back as "X10",
// so the input itself need not return). Text the shift refuses is left out.
inline void CheckShift(std::string_view text, const AxisShift& plus)
{
    if (!ValuesHeldExactly(text))
        return;
    const NcResult shifted = ShiftAddresses(text, plus);
    if (!shifted.ok())
        return;
    const AxisShift minus{-plus.X, -plus.Y, -plus.Z};
    const NcResult back = ShiftAddresses(shifted.text, minus);
    Require(back.ok(), "a shift refuses what a shift wrote");
    const NcResult again = ShiftAddresses(back.text, plus);
    Require(again.ok(), "a shift refuses what a shift wrote");
    Require(again.text == shifted.text, "a shift by -d and then +d changes the text");
}

// An axis switch followed by its inverse gives back any text whatever.
inline void CheckSwitch(std::string_view text, const AxisMap& map)
{
    if (!map.IsPermutation())
        return;
    AxisMap inverse;
    const auto setInverse = [&inverse](char from, char to) {
        (to == 'X' ? inverse.X : to == 'Y' ? inverse.Y : inverse.Z) = from;
    };
    setInverse('X', map.X);
    setInverse('Y', map.Y);
    setInverse('Z', map.Z);
    Require(SwitchAxes(SwitchAxes(text, map), inverse) == std::string(text), "an axis switch and its inverse change the text");
}

// Numbering a second time gives what numbering once gave, on programs where:
// - every "(" is closed on its own line: a comment that runs on past a line break holds the
//   next lines' new block numbers, which no numbering removes again;
// - what is left of each line once its block numbers are gone begins with neither a blank nor a
//   digit: a block number takes the blanks and digits after it, so "N010" + " G01" or "N010" +
//   "5" are read back as one longer block number;
// - the numbers carry the letter N (without it no block number is recognised again);
// - no carriage return stands apart from a line feed: a line that begins with one before a block
//   number gets the new number in front of it, and the return then joins the line feed after it.
inline bool NumberingIsStable(std::string_view text)
{
    for (std::size_t i = text.find('\r'); i != std::string_view::npos; i = text.find('\r', i + 1))
        if (i + 1 == text.size() || text[i + 1] != '\n')
            return false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        int open = 0;
        for (const char c : line) {
            if (c == '(')
                open = 1;
            else if (c == ')')
                open = 0;
        }
        if (open)
            return false;
        const std::string rest = RemoveBlockNumbers(line);
        if (!rest.empty() && (rest[0] == ' ' || (rest[0] >= '0' && rest[0] <= '9')))
            return false;
        start = end + 1;
    }
    return true;
}

inline void CheckNumbering(std::string_view text, const NumberingSettings& settings)
{
    if (settings.N != 1 || !NumberingIsStable(text))
        return;
    const NcResult once = InsertBlockNumbers(text, settings);
    if (!once.ok())
        return;
    const NcResult twice = InsertBlockNumbers(once.text, settings);
    Require(twice.ok(), "numbering refuses what numbering wrote");
    Require(twice.text == once.text, "numbering twice differs from numbering once");
}

// Input: 4 bytes of shift in ten-thousandths (signed, little-endian), 1 byte of axes to shift,
// 1 byte of axis map, 1 byte of numbering options, then the program.
inline void CheckInput(const char* data, std::size_t size)
{
    if (size < 7)
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    const auto raw = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8
                                               | static_cast<std::uint32_t>(bytes[2]) << 16
                                               | static_cast<std::uint32_t>(bytes[3]) << 24);
    const double d = static_cast<double>(raw) / 10000.0;
    const unsigned axes = bytes[4];
    const std::string_view text(data + 7, size - 7);

    CheckShift(text, AxisShift{(axes & 1) ? d : 0, (axes & 2) ? d : 0, (axes & 4) ? -d : 0});

    static constexpr const char* maps[] = {"XYZ", "XZY", "YXZ", "YZX", "ZXY", "ZYX", "XXZ", "ZZZ"};
    const char* m = maps[bytes[5] % 8];
    CheckSwitch(text, AxisMap{m[0], m[1], m[2]});

    NumberingSettings settings;
    const unsigned options = bytes[6];
    settings.Space = static_cast<std::int16_t>(options & 1);
    settings.BlankLines = static_cast<std::int16_t>((options >> 1) & 1);
    settings.Increment = 1 + static_cast<std::int32_t>((options >> 2) & 7) * 5;
    settings.RestartNum = (options & 0x20) ? 50 : 9999;
    if (options & 0x40)
        settings.SkipChars = {"%", "(", "O", "N", "G"};
    CheckNumbering(text, settings);
}

}  // namespace ncfuzz
