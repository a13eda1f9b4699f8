#include "platform/codemax/CodeMaxText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform::CodeMaxText {
namespace {

// True when every CR is followed by LF and every LF preceded by CR.
bool allCrLf(const char* p, qsizetype n)
{
    const char* const end = p + n;
    for (const char* q = FindLineBreak(p, end); q != end; q = FindLineBreak(q + 2, end)) {
        if (*q != '\r' || q + 1 == end || q[1] != '\n')
            return false;
    }
    return true;
}

bool hasNoBreakBut(const char* p, qsizetype n, char only)
{
    const char other = only == '\n' ? '\r' : '\n';
    return std::memchr(p, other, size_t(n)) == nullptr;
}

// Bytes of the UTF-8 character that starts at p (1 for a byte that does not
// start a whole character, as the control shows such a byte alone).
qsizetype utf8Length(const char* p, const char* end)
{
    const auto lead = static_cast<unsigned char>(*p);
    const qsizetype n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    if (end - p < n)
        return 1;
    for (qsizetype i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80)
            return 1;
    return n;
}

}  // namespace

qsizetype ColumnToByte(const char* line, qsizetype length, qsizetype column, bool utf8)
{
    if (column <= 0)
        return 0;
    if (!utf8)
        return std::min(column, length);
    const char* const end = line + length;
    const char* p = line;
    qsizetype units = 0;
    while (p < end) {
        const qsizetype bytes = utf8Length(p, end);
        units += bytes == 4 ? 2 : 1;  // four bytes: a surrogate pair in UTF-16
        if (units > column)
            break;  // the column lies inside this character, or at its start
        p += bytes;
        if (units == column)
            break;
    }
    return p - line;
}

qsizetype CharactersToBytes(const char* line, qsizetype length, qsizetype count, bool utf8)
{
    if (count <= 0)
        return 0;
    if (!utf8)
        return std::min(count, length);
    const char* const end = line + length;
    const char* p = line;
    for (; p < end && count > 0; --count)
        p += utf8Length(p, end);
    return p - line;
}

const char* FindLineBreak(const char* p, const char* end)
{
    // Eight bytes at a time: most bytes of a program are not line breaks.
    constexpr std::uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
    constexpr std::uint64_t lf = ones * '\n', cr = ones * '\r';
    while (end - p >= 8) {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        const std::uint64_t a = v ^ lf, b = v ^ cr;
        if (((a - ones) & ~a & highs) | ((b - ones) & ~b & highs))
            break;
        p += 8;
    }
    while (p != end && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

QByteArray WithLineBreak(const QByteArray& bytes, const QByteArray& lineBreak)
{
    const char* p = bytes.constData();
    const qsizetype n = bytes.size();
    if (lineBreak == "\r\n" ? allCrLf(p, n) : hasNoBreakBut(p, n, lineBreak.at(0)))
        return bytes;
    QByteArray out;
    out.reserve(n + n / 16);
    const char* const end = p + n;
    const char* from = p;
    for (const char* q = FindLineBreak(p, end); q != end; q = FindLineBreak(from, end)) {
        out.append(from, q - from);
        out.append(lineBreak);
        from = q + ((*q == '\r' && q + 1 != end && q[1] == '\n') ? 2 : 1);
    }
    out.append(from, end - from);
    return out;
}

QString ToProgramText(const char* bytes, qsizetype length, bool utf8)
{
    if (allCrLf(bytes, length))
        return utf8 ? QString::fromUtf8(bytes, length) : QString::fromLatin1(bytes, length);
    const QByteArray crlf = WithLineBreak(QByteArray::fromRawData(bytes, length), QByteArrayLiteral("\r\n"));
    return utf8 ? QString::fromUtf8(crlf) : QString::fromLatin1(crlf);
}

QByteArray ToDocumentBytes(const QString& text, bool utf8, const QByteArray& lineBreak)
{
    QByteArray bytes = utf8 ? text.toUtf8() : text.toLatin1();
    return WithLineBreak(bytes, lineBreak);
}

}  // namespace platform::CodeMaxText
