#include "nc/NcNumber.h"

#include "nc/NumberingSettings.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace ncinternal {

std::size_t WriteBlockNumberText(char* out, std::int64_t n, const NumberingSettings& settings)
{
    const bool letter = settings.N == 1;
    if ((settings.N != 0 && settings.N != 1) || (settings.Space != 0 && settings.Space != 1))
        return 0;
    char* p = out;
    if (letter)
        *p++ = 'N';
    // At least three digits: the padding counts on the number's value, so -5 gets "00-5".
    if (n < 10) {
        *p++ = '0';
        *p++ = '0';
    } else if (n < 100) {
        *p++ = '0';
    }
    p = std::to_chars(p, out + MaxBlockNumberText, n).ptr;
    if (settings.Space == 1)
        *p++ = ' ';
    return static_cast<std::size_t>(p - out);
}

std::optional<NcValue> ReadInexactNcValue(std::string_view digits, bool negative)
{
    double value = 0;
    const char* last = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), last, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return NcValue::Inexact(negative ? -value : value);
}

std::size_t WriteFixed4(char* out, double v)
{
    const auto result = std::to_chars(out, out + MaxFixed4Text, v, std::chars_format::fixed, 4);
    auto length = static_cast<std::size_t>(result.ptr - out);
    if (out[0] == '-') {
        bool zero = true;
        for (std::size_t i = 1; i < length && zero; ++i)
            zero = out[i] == '0' || out[i] == '.';
        if (zero) {
            std::memmove(out, out + 1, length - 1);
            --length;
        }
    }
    return length;
}

}  // namespace ncinternal
