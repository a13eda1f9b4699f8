#include "editctl/engine/ZuMemoryInStream.h"

#include <algorithm>
#include <cstring>

std::size_t ZuMemoryInStream::Read(void* destination, std::size_t n)
{
    lastCount_ = 0;
    if (Bad())
        return 0;
    const std::size_t count = std::min(n, size_ - position_);
    if (count > 0)
        std::memcpy(destination, data_ + position_, count);
    position_ += count;
    if (count < n || position_ >= size_)
        state_ |= ZuStreamEnd;
    lastCount_ = count;
    return count;
}

void ZuMemoryInStream::Seek(std::int64_t offset, int origin)
{
    if (Bad())
        return;
    DropPushBack();
    std::int64_t target = origin == 1 ? std::int64_t(position_) + offset : offset;
    target = std::clamp<std::int64_t>(target, 0, std::int64_t(size_));
    position_ = std::size_t(target);
    if (position_ >= size_)
        state_ |= ZuStreamEnd;
    else
        ClearEnd();
}
