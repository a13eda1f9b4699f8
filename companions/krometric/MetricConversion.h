#pragma once
// The metric / imperial conversions, by their codes (the list positions of the window). Every
// factor is the exact definition (1 in = 2.54 cm = 25.4 mm, 1 ft = 0.3048 m, 1 lb = 0.45359237 kg),
// and the input is never rounded first.

#include <QString>
#include <QStringList>
#include <optional>

namespace metric {

inline constexpr int ConversionCount = 12;

// The list texts in code order.
QStringList ConversionNames();

// The value converted by code 0 to 11; nothing for another code.
std::optional<double> Convert(double value, int code);

// The input as one number with "." or "," as its decimal point and an optional exponent
// ("1e5", "2,5E-1"; blanks around it allowed); nothing for anything else or for a number
// past the doubles.
std::optional<double> ParseInput(const QString& text);

// The answer as "#.######" writes it: at most six decimals, no trailing zeros, no zero before
// the point, and the point kept after a whole number ("1.", ".5", "-2.25"); zero is "0.".
QString FormatAnswer(double value);

}  // namespace metric
