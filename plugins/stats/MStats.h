#pragma once

#include <string_view>

// The range scanners of the statistics plug-in: the smallest and largest value
// of one axis word (X, Y or Z) in an NC program.
struct AxisRange {
    bool found = false;     // false: the program has no word of this axis
    double minimum = 0.0;
    double maximum = 0.0;

    // The program's extent along the axis.
    double Dimension() const { return maximum - minimum; }
};

// Scans for the upper-case axis letter followed by a number, also with spaces
// or tabs between them ("X 10"). Words inside comments, "(" up to ")" or the
// end of the line, are not counted; a letter with no digit after it (the X of
// "MAX", a lone "Z", "X (NOTE)") is not a coordinate; the number is read as the
// runtime's Val reads it, so "Z1,5" is 1.
AxisRange GetAxisRange(std::string_view text, char axis);

inline AxisRange GetXRange(std::string_view text) { return GetAxisRange(text, 'X'); }
inline AxisRange GetYRange(std::string_view text) { return GetAxisRange(text, 'Y'); }
inline AxisRange GetZRange(std::string_view text) { return GetAxisRange(text, 'Z'); }
