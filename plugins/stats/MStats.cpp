#include "plugins/stats/MStats.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The characters that may follow an axis letter as part of its word.
bool IsWordChar(char c) { return IsDigit(c) || c == '+' || c == ',' || c == '-' || c == '.'; }

// Reads a number from the start of `word` as Val does (one sign, digits, an
// optional point and digits; anything else ends it). False when no digit was read.
bool ValOfWord(std::string_view word, double& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
        negative = word[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    bool digits = false;
    while (i < word.size() && IsDigit(word[i])) {
        ++i;
        digits = true;
    }
    if (i < word.size() && word[i] == '.') {
        ++i;
        while (i < word.size() && IsDigit(word[i])) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return false;
    // from_chars wants a digit before the point.
    std::string number = word[start] == '.' ? "0" : "";
    number.append(word.substr(start, i - start));
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (error != std::errc() || !std::isfinite(parsed))
        return false;   // an absurd digit string is no coordinate
    value = negative ? -parsed : parsed;
    return true;
}

} // namespace

AxisRange GetAxisRange(std::string_view text, char axis)
{
    AxisRange range;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '(') {
            // A comment ends at its ")" or, when that is missing, at the line end,
            // so one stray "(" does not hide the rest of the program.
            while (i < n && text[i] != ')' && text[i] != '\n')
                ++i;
            continue;
        }
        if (c == ';') {
            // Several controls comment from ";" to the line end; a ";" that only
            // ends a block has nothing after it, so skipping is harmless there.
            while (i < n && text[i] != '\n')
                ++i;
            continue;
        }
        ++i;
        if (c != axis)
            continue;
        // Some posts write a blank after the letter ("X 0.0276"), which controls read past.
        std::size_t start = i;
        while (start < n && (text[start] == ' ' || text[start] == '\t'))
            ++start;
        i = start;
        while (i < n && IsWordChar(text[i]))
            ++i;
        double value = 0.0;
        if (!ValOfWord(text.substr(start, i - start), value))
            continue;
        if (!range.found) {
            range.found = true;
            range.minimum = range.maximum = value;
        } else if (value < range.minimum) {
            range.minimum = value;
        } else if (value > range.maximum) {
            range.maximum = value;
        }
    }
    return range;
}
