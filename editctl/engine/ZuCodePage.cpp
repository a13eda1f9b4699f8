#include "editctl/engine/ZuCodePage.h"

namespace {

// 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr char32_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char32_t ZuAnsiToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? High[byte - 0x80] : char32_t(byte);
}

int ZuUnicodeToAnsi(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i)
        if (High[i] == c)
            return 0x80 + i;
    return -1;
}

std::u32string ZuAnsiToUnicode(std::string_view bytes)
{
    std::u32string text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text += ZuAnsiToUnicode(static_cast<unsigned char>(b));
    return text;
}

std::string ZuUnicodeToAnsi(std::u32string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (char32_t c : text) {
        const int b = ZuUnicodeToAnsi(c);
        bytes += b < 0 ? '?' : char(b);
    }
    return bytes;
}
