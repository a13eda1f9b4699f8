#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// Cutting-data arithmetic of the sfm, Tornel and Avanco calculators, in inch
// units, without widgets. A formula gives no value where the runtime raised an
// error (overflow, division by zero).

inline constexpr double SfmConstant = 0.262;   // ~ pi / 12
inline constexpr double RpmConstant = 3.82;    // ~ 12 / pi

// Reads a number as the user typed it, as Val does (blanks ignored, one sign,
// digits, a decimal point, digits, an exponent; an empty text is 0), except
// that a single "." or "," is always the decimal point, whatever the locale
// and however many digits follow it ("1,375" is 1.375). Text that is not
// wholly one number ("12abc", "1,000.50") gives NaN, which no calculation
// accepts.
double ReadNumber(QStringView text);

// Reads a whole-number box (a spindle or surface speed) as ReadNumber does,
// except that a comma followed by exactly three digits groups thousands:
// "1,200" is 1200 and "1,200,000" 1200000, while "1,2" is still 1.2. After
// such groups only "." is a decimal point ("1,200.5"; "1,200,5" is refused).
double ReadWholeNumber(QStringView text);

// Rounds to the nearest whole number, halves to the even neighbour; no value
// outside the 32-bit range (the runtime's overflow).
std::optional<std::int32_t> CLng(double value);

// How an input box shows its value once the user leaves it.
enum class InputFormat {
    None,       // left as typed
    Fixed,      // two decimals: 1.5 -> "1.50", 0.125 -> "0.13"
    UpToFour,   // at most four decimals, no trailing zeros: 0.12345 -> "0.1235", 0.0050 -> "0.005"
};

// The text an input box shows for `value`, rounded to the format's decimals
// (halves away from zero, as the decimal digits read). Only the display is
// rounded: the calculation keeps the value at full precision.
QString FormatInput(double value, InputFormat format);

// Surface feet per minute: CLng(0.262 x diameter x rpm).
std::optional<std::int32_t> SurfaceFeetPerMinute(double diameter, std::int32_t rpm);

// Revolutions per minute: CLng(CLng(3.82 x sfm) / diameter).
std::optional<std::int32_t> RevolutionsPerMinute(std::int32_t sfm, double diameter);

// Feed rate in inches per minute: ipr x rpm as a single-precision value.
std::optional<float> FeedRate(double inchesPerRevolution, std::int32_t rpm);

// A single-precision value in its shortest decimal form ("11.46").
QString FormatSingle(float value);
