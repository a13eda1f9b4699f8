#pragma once

// Reading and writing numbers in NC text, in one place: always "." as the decimal point,
// whatever the user's locale, and never an exponent (E is an NC address).

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

struct NumberingSettings;

namespace ncinternal {

// Longest block-number text: "N", "00", a 64-bit number with its sign, a blank.
inline constexpr std::size_t MaxBlockNumberText = 1 + 2 + 20 + 1;

// Writes the block-number text for n into out (N005, N010, N100 and so on, after the N and
// Space options) and returns its length; 0 for a combination of options that writes none.
std::size_t WriteBlockNumberText(char* out, std::int64_t n, const NumberingSettings& settings);

// Values held exactly stay below this many ten-thousandths, so that a sum or difference of two
// is exact too and far inside a double's integer range.
inline constexpr std::int64_t ExactLimit = 100000000000000;  // 1e14

// A coordinate value as read. Most values have at most four decimals and few digits: those are
// held exactly in ten-thousandths, so that sums and differences of them are exact and are
// written without going through floating point. The text written is the same either way.
struct NcValue {
    std::int64_t tenThousandths = 0;
    bool exact = false;
    double inexact = 0;

    static NcValue Exact(std::int64_t tenThousandths) { return NcValue{tenThousandths, true, 0}; }
    static NcValue Inexact(double value) { return NcValue{0, false, value}; }

    // One correctly rounded division: the nearest double to the decimal, as reading its text gives.
    double Value() const { return exact ? static_cast<double>(tenThousandths) / 10000.0 : inexact; }
};

// A sum or difference of exact values, exact while it stays inside the limit.
inline NcValue ValueOfTenThousandths(std::int64_t tenThousandths)
{
    if (tenThousandths > -ExactLimit && tenThousandths < ExactLimit)
        return NcValue::Exact(tenThousandths);
    return NcValue::Inexact(static_cast<double>(tenThousandths) / 10000.0);
}

// Reads a value that ReadNcValue could not hold exactly.
std::optional<NcValue> ReadInexactNcValue(std::string_view digits, bool negative);

// A coordinate value: an optional sign, digits with at most one decimal point, at least one
// digit, and nothing else ("10", "-2.5", "10.", "+.5"). Anything else reads as nothing.
inline std::optional<NcValue> ReadNcValue(std::string_view text)
{
    const char* p = text.data();
    const char* last = p + text.size();
    const bool negative = p < last && *p == '-';
    if (p < last && (*p == '+' || *p == '-'))
        ++p;
    const char* start = p;
    std::int64_t whole = 0;
    std::ptrdiff_t digits = 0;
    const char* point = nullptr;
    for (; p < last; ++p) {
        const auto digit = static_cast<unsigned>(*p - '0');
        if (digit <= 9) {
            // 18 digits always fit in 64 bits; longer values are read inexactly below.
            if (++digits <= 18)
                whole = whole * 10 + digit;
        } else if (*p == '.' && !point) {
            point = p;
        } else {
            return std::nullopt;
        }
    }
    const auto length = last - start;
    if (digits == 0)
        return std::nullopt;
    const auto decimals = point ? last - point - 1 : 0;
    if (decimals <= 4 && digits <= 18) {
        static constexpr std::int64_t scale[] = {10000, 1000, 100, 10, 1};
        if (whole < ExactLimit / scale[decimals]) {
            const std::int64_t scaled = whole * scale[decimals];
            return NcValue::Exact(negative ? -scaled : scaled);
        }
    }
    return ReadInexactNcValue(std::string_view(start, static_cast<std::size_t>(length)), negative);
}

// Longest text WriteFixed4 writes for a finite double.
inline constexpr std::size_t MaxFixed4Text = 320;

// Writes v with exactly four decimals ("5.5000", "-5.5000", "0.0000": never "-0.0000") into
// out, which holds MaxFixed4Text characters; returns the length.
std::size_t WriteFixed4(char* out, double v);

// The same for a value held in ten-thousandths.
inline std::size_t WriteFixed4(char* out, std::int64_t tenThousandths)
{
    char* p = out;
    std::uint64_t magnitude = static_cast<std::uint64_t>(tenThousandths);
    if (tenThousandths < 0) {
        *p++ = '-';
        magnitude = 0 - magnitude;
    }
    p = std::to_chars(p, out + MaxFixed4Text, magnitude / 10000).ptr;
    auto fraction = static_cast<unsigned>(magnitude % 10000);
    p[0] = '.';
    p[4] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
    p[3] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
    p[2] = static_cast<char>('0' + fraction % 10);
    p[1] = static_cast<char>('0' + fraction / 10);
    return static_cast<std::size_t>(p + 5 - out);
}

}  // namespace ncinternal
