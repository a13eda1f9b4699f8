#pragma once

#include <QString>

// Numbers shown with a fixed count of decimals, rounded as their decimal
// digits read: the digits are those of the shortest text that reads back as
// the value (the digits the user typed or the program holds), so a tie such
// as 1.0005 rounds up although its binary value lies a hair below. Shared by
// the plug-ins that show numbers (the calculators, the statistics window).

// The value with exactly `places` decimals, halves away from zero: 1.0005 at
// three places is "1.001", -0.1235 is "-0.124", 0.125 at two is "0.13". A
// value that rounds to zero has no minus sign.
QString FormatDecimals(double value, int places);

// The shortest plain decimal text that reads back as the value, with no
// exponent and no "-0": 0.12345 gives "0.12345", 1200 gives "1200".
QString ShortestDecimalText(double value);
