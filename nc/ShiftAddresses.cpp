#include "nc/ShiftAddresses.h"

#include "nc/NcNumber.h"
#include "nc/NcText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

using namespace ncinternal;

namespace {

// Longest text of a shifted value: a sign, up to 309 integer digits or a point and up to 325
// decimals of a double, and a point after a whole number.
constexpr std::size_t MaxShiftedText = 340;

// A sum held in ten-thousandths is written exactly while it has at most 15 significant digits.
constexpr std::int64_t ExactSumLimit = 1000000000000000;  // 1e15 ten-thousandths

bool IsNumberChar(char c)
{
    return c == '+' || c == ',' || c == '-' || c == '.' || IsDigit(c);
}

struct Shift {
    bool active = false;
    double value = 0;
    bool exact = false;
    std::int64_t tenThousandths = 0;
};

Shift MakeShift(double d)
{
    Shift shift;
    shift.active = d != 0;
    shift.value = d;
    if (std::fabs(d) < 1e10) {
        const auto scaled = static_cast<std::int64_t>(std::llround(d * 10000));
        if (static_cast<double>(scaled) / 10000.0 == d) {
            shift.exact = true;
            shift.tenThousandths = scaled;
        }
    }
    return shift;
}

// A sum in ten-thousandths: "-" for a negative one, no zero before the point, no trailing zeros.
std::size_t WriteExact(char* out, std::int64_t sum)
{
    char* p = out;
    std::uint64_t magnitude = static_cast<std::uint64_t>(sum);
    if (sum < 0) {
        *p++ = '-';
        magnitude = 0 - magnitude;
    }
    const std::uint64_t whole = magnitude / 10000;
    unsigned fraction = static_cast<unsigned>(magnitude % 10000);
    if (whole != 0 || fraction == 0)
        p = std::to_chars(p, out + MaxShiftedText, whole).ptr;
    if (fraction != 0) {
        p[0] = '.';
        p[4] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
        p[3] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
        p[2] = static_cast<char>('0' + fraction % 10);
        p[1] = static_cast<char>('0' + fraction / 10);
        p += 5;
        while (p[-1] == '0')
            --p;
    }
    return static_cast<std::size_t>(p - out);
}

// The same form for any finite double, rounded to 15 significant digits, in fixed notation.
std::size_t WriteRounded(char* out, double v)
{
    char scientific[32];
    const auto result = std::to_chars(scientific, scientific + sizeof scientific, v, std::chars_format::scientific, 14);
    const char* p = scientific;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    // "d.dddddddddddddde+XX": the 15 digits without the point, then the exponent.
    char digits[15];
    std::size_t count = 0;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (IsDigit(*p))
            digits[count++] = *p;
    // The text has no terminating zero: read the exponent within it.
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, exponent);
    while (count > 0 && digits[count - 1] == '0')
        --count;
    char* q = out;
    if (count == 0) {
        *q++ = '0';  // never "-0"
        return 1;
    }
    if (negative)
        *q++ = '-';
    if (exponent >= 0) {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        for (std::size_t i = 0; i < wholeDigits; ++i)
            *q++ = i < count ? digits[i] : '0';
        if (count > wholeDigits) {
            *q++ = '.';
            for (std::size_t i = wholeDigits; i < count; ++i)
                *q++ = digits[i];
        }
    } else {
        *q++ = '.';
        for (int i = 1; i < -exponent; ++i)
            *q++ = '0';
        for (std::size_t i = 0; i < count; ++i)
            *q++ = digits[i];
    }
    return static_cast<std::size_t>(q - out);
}

// Writes the shifted value; false when the sum is no finite number.
bool WriteShifted(char* out, std::size_t& length, const NcValue& value, const Shift& shift)
{
    if (value.exact && shift.exact) {
        const std::int64_t sum = value.tenThousandths + shift.tenThousandths;
        if (sum > -ExactSumLimit && sum < ExactSumLimit) {
            length = WriteExact(out, sum);
            return true;
        }
    }
    const double sum = value.Value() + shift.value;
    if (!std::isfinite(sum))
        return false;
    length = WriteRounded(out, sum);
    return true;
}

}  // namespace

NcResult ShiftAddresses(std::string_view text, const AxisShift& axisShift)
{
    std::array<Shift, 256> shift{};
    shift['X'] = MakeShift(axisShift.X);
    shift['Y'] = MakeShift(axisShift.Y);
    shift['Z'] = MakeShift(axisShift.Z);
    if (!shift['X'].active && !shift['Y'].active && !shift['Z'].active)
        return NcResult::Ok(std::string(text));

    // The characters where copying stops: the shifted letters and the comment starts.
    std::array<bool, 256> stop{};
    for (const char letter : {'X', 'Y', 'Z'})
        stop[static_cast<unsigned char>(letter)] = shift[static_cast<unsigned char>(letter)].active;
    stop['('] = stop[';'] = true;

    const char* const first = text.data();
    const char* const last = first + text.size();
    const auto lineAt = [first](const char* at) {
        return static_cast<std::int64_t>(CountLines(std::string_view(first, static_cast<std::size_t>(at - first))));
    };

    TextWriter out(text.size() + text.size() / 8);
    char written[MaxShiftedText];
    const char* p = first;
    while (p < last) {
        const char* q = p;
        while (q < last && !stop[static_cast<unsigned char>(*q)])
            ++q;
        out.Ensure(static_cast<std::size_t>(q - p) + MaxShiftedText + 1);
        out.Put(std::string_view(p, static_cast<std::size_t>(q - p)));
        if (q == last)
            break;
        const char c = *q;
        if (StartsComment(c)) {
            const char* end = CommentEnd(q, last);
            out.Ensure(static_cast<std::size_t>(end - q));
            out.Put(std::string_view(q, static_cast<std::size_t>(end - q)));
            p = end;
            continue;
        }
        const std::string_view run = ValueAfterAddress(q + 1, last, IsNumberChar);
        const char* runEnd = run.data() + run.size();
        out.Ensure(static_cast<std::size_t>(runEnd - q) + MaxShiftedText);
        out.Put(c);
        if (run.find_first_of("0123456789") == std::string_view::npos) {
            out.Put(run);  // a letter without a number
        } else {
            out.Put(std::string_view(q + 1, static_cast<std::size_t>(run.data() - (q + 1))));  // blanks as written
            const std::optional<NcValue> value = ReadNcValue(run);
            std::size_t length = 0;
            if (!value || !WriteShifted(written, length, *value, shift[static_cast<unsigned char>(c)]))
                return NcResult::Fail(NcErrorKind::UnreadableValue, lineAt(q));
            // Many controls read a number without a point in thousandths of a millimetre (or
            // ten-thousandths of an inch): a value written with a point keeps one.
            if (run.find('.') != std::string_view::npos &&
                std::string_view(written, length).find('.') == std::string_view::npos)
                written[length++] = '.';
            out.Put(std::string_view(written, length));
        }
        p = runEnd;
    }
    return NcResult::Ok(out.Finish());
}

std::optional<double> ReadShiftValue(std::string_view box)
{
    while (!box.empty() && (box.front() == ' ' || box.front() == '\t'))
        box.remove_prefix(1);
    while (!box.empty() && (box.back() == ' ' || box.back() == '\t'))
        box.remove_suffix(1);
    if (box.empty())
        return 0.0;
    std::string number(box);
    bool separator = false;
    for (char& c : number) {
        if (c == ',' || c == '.') {
            if (separator)
                return std::nullopt;
            separator = true;
            c = '.';
        }
    }
    const std::optional<NcValue> value = ReadNcValue(number);
    if (!value)
        return std::nullopt;
    const double v = value->Value();
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}
