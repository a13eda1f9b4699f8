#pragma once

// Shift Address: adds a constant to every X, Y and Z value of a program.

#include "nc/NcResult.h"

#include <optional>
#include <string_view>

struct AxisShift {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

// Shifts the values of the capital letters whose shift is not 0, all three in one pass. After a
// letter stands a run of the number characters + , - . and digits; a comma followed by a letter,
// a blank or the line end ends it ("X50,Y0"). Blanks between the letter and a run with a digit
// are read past and kept ("X 10" shifted by 5 is "X 15"); a letter followed by blanks and no
// number stays as it is ("X Y"). A run without a digit ("X", "X-", "MAX") is copied unchanged;
// a run that is a decimal number gets the shift added and is written back with at most 15
// significant digits, "." as the point, no zero before the point, no trailing zeros and never an
// exponent ("X.5", "X-.25", "X2"); a value written with a point keeps one when the result is
// whole ("Y0." shifted by -10 is "Y-10."). Any other run ("X1.2.3", "X1,5") refuses the text at
// its line. Comments stay as they are: "(" to ")" or the line end, ";" to the line end.
NcResult ShiftAddresses(std::string_view text, const AxisShift& shift);

// A shift as typed in the dialog: one decimal number with "." or "," as its separator and an
// optional sign, blanks around it allowed; an empty box is 0. Anything else is no value.
std::optional<double> ReadShiftValue(std::string_view box);
