#include "platform/codemax/CodeMaxTextScan.h"

#include "platform/codemax/CodeMaxText.h"

#include <cstdint>
#include <cstring>

namespace platform {

void CodeMaxTextScan::Feed(const char* bytes, size_t length)
{
    countBreaks(bytes, length);
    if (utf8_)
        checkUtf8(bytes, length);
}

void CodeMaxTextScan::countBreaks(const char* p, size_t n)
{
    if (n == 0)
        return;
    const char* const end = p + n;
    const char* q = p;
    if (pendingCr_) {  // a CR ended the piece before
        pendingCr_ = false;
        if (*q == '\n') {
            ++crlf_;
            ++q;
        } else {
            ++cr_;
        }
    }
    for (q = CodeMaxText::FindLineBreak(q, end); q != end; q = CodeMaxText::FindLineBreak(q, end)) {
        if (*q == '\n') {
            ++lf_;
            ++q;
        } else if (q + 1 == end) {
            pendingCr_ = true;
            ++q;
        } else if (q[1] == '\n') {
            ++crlf_;
            q += 2;
        } else {
            ++cr_;
            ++q;
        }
    }
}

void CodeMaxTextScan::checkUtf8(const char* bytes, size_t length)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    size_t i = 0;
    while (i < length) {
        if (need_ == 0) {
            // Plain ASCII, eight bytes at a time.
            while (i + 8 <= length) {
                std::uint64_t word;
                std::memcpy(&word, p + i, 8);
                if (word & 0x8080808080808080ULL)
                    break;
                i += 8;
            }
            while (i < length && p[i] < 0x80)
                ++i;
            if (i >= length)
                return;
        }
        const unsigned char b = p[i++];
        if (need_ == 0) {
            lo_ = 0x80;
            hi_ = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                need_ = 1;
            } else if (b == 0xE0) {
                need_ = 2;
                lo_ = 0xA0;
            } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
                need_ = 2;
            } else if (b == 0xED) {
                need_ = 2;
                hi_ = 0x9F;  // no surrogates
            } else if (b == 0xF0) {
                need_ = 3;
                lo_ = 0x90;
            } else if (b >= 0xF1 && b <= 0xF3) {
                need_ = 3;
            } else if (b == 0xF4) {
                need_ = 3;
                hi_ = 0x8F;
            } else {
                utf8_ = false;
                return;
            }
        } else {
            if (b < lo_ || b > hi_) {
                utf8_ = false;
                return;
            }
            --need_;
            lo_ = 0x80;
            hi_ = 0xBF;
        }
    }
}

void CodeMaxTextScan::Finish()
{
    if (pendingCr_) {
        ++cr_;
        pendingCr_ = false;
    }
    if (need_ != 0)
        utf8_ = false;
}

QByteArray CodeMaxTextScan::DominantLineBreak() const
{
    if (lf_ > crlf_ && lf_ >= cr_)
        return QByteArrayLiteral("\n");
    if (cr_ > crlf_ && cr_ > lf_)
        return QByteArrayLiteral("\r");
    return QByteArrayLiteral("\r\n");
}

}  // namespace platform
