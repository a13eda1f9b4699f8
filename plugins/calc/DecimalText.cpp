#include "plugins/calc/DecimalText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// The shortest fixed form that reads back as the same value.
std::string ShortestFixed(double value)
{
    if (value == 0.0)
        value = 0.0;  // no "-0"
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed);
    return error == std::errc() ? std::string(buffer.data(), end) : QString::number(value, 'f', 4).toStdString();
}

// Rounds a plain decimal text ("-0.125") to `places` decimals, halves away
// from zero, as the digits read.
std::string RoundDecimalText(const std::string& text, std::size_t places)
{
    const bool negative = !text.empty() && text[0] == '-';
    std::string digits = negative ? text.substr(1) : text;
    std::size_t point = digits.find('.');
    if (point == std::string::npos) {
        point = digits.size();
        digits += '.';
    }
    const std::size_t keep = point + 1 + places;
    if (digits.size() > keep) {
        const bool up = digits[keep] >= '5';
        digits.resize(keep);
        if (up) {
            std::size_t i = keep;
            while (i-- > 0) {
                if (digits[i] == '.')
                    continue;
                if (digits[i] != '9') {
                    ++digits[i];
                    break;
                }
                digits[i] = '0';
                if (i == 0)
                    digits.insert(digits.begin(), '1');
            }
        }
    }
    while (digits.size() < keep)
        digits += '0';
    if (places == 0)
        digits.pop_back();  // the point
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return (negative && !zero ? "-" : "") + digits;
}

}  // namespace

QString FormatDecimals(double value, int places)
{
    if (!std::isfinite(value))
        return QString::number(value);
    return QString::fromStdString(RoundDecimalText(ShortestFixed(value), std::size_t(std::max(places, 0))));
}

QString ShortestDecimalText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    return QString::fromStdString(ShortestFixed(value));
}
