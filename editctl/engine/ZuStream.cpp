#include "editctl/engine/ZuStream.h"

#include <cstring>

int ZuInStream::GetChar()
{
    if (Bad())
        return -1;
    if (pushed_ > 0)
        return pushBack_[--pushed_];
    unsigned char c = 0;
    if (Read(&c, 1) != 1)
        return -1;
    return c;
}

void ZuInStream::UngetChar(int c)
{
    if (Bad() || c < 0)
        return;
    if (pushed_ >= pushBackLimit_) {
        Fail(ZuStreamOverflow, ZuErrStream);
        return;
    }
    pushBack_[pushed_++] = static_cast<unsigned char>(c);
    ClearEnd();
}

void ZuOutStream::WriteString(const char* text)
{
    Write(text, std::strlen(text));
}

std::size_t ZuReadBlock(ZuInStream& stream, void* destination, std::size_t n)
{
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t total = 0;
    while (total < n && !stream.Bad()) {
        const std::size_t got = stream.Read(out + total, n - total);
        total += got;
        if (got == 0)
            break;
    }
    return total;
}
