#include "editctl/engine/ZuFileInStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

ZuFileInStream::ZuFileInStream(int fd, std::size_t bufferSize) : ZuInStream(32), fd_(fd)
{
    buffer_.resize(std::max<std::size_t>(bufferSize, 1));
    const off_t at = ::lseek(fd_, 0, SEEK_CUR);
    windowStart_ = at < 0 ? 0 : std::int64_t(at);
}

std::size_t ZuFileInStream::Read(void* destination, std::size_t n)
{
    lastCount_ = 0;
    if (Bad())
        return 0;
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t total = 0;
    while (total < n) {
        if (inWindow_ == windowSize_) {
            windowStart_ += std::int64_t(windowSize_);
            windowSize_ = inWindow_ = 0;
            ssize_t got;
            do
                got = ::read(fd_, buffer_.data(), buffer_.size());
            while (got < 0 && errno == EINTR);
            if (got < 0) {
                Fail(ZuStreamFailed, errno);
                break;
            }
            if (got == 0) {
                state_ |= ZuStreamEnd;
                break;
            }
            windowSize_ = std::size_t(got);
        }
        const std::size_t count = std::min(n - total, windowSize_ - inWindow_);
        std::memcpy(out + total, buffer_.data() + inWindow_, count);
        inWindow_ += count;
        total += count;
    }
    lastCount_ = total;
    return total;
}

void ZuFileInStream::Seek(std::int64_t offset, int origin)
{
    if (Bad())
        return;
    DropPushBack();
    const std::int64_t target = std::max<std::int64_t>(origin == 1 ? Tell() + offset : offset, 0);
    ClearEnd();
    if (target >= windowStart_ && target <= windowStart_ + std::int64_t(windowSize_)) {
        inWindow_ = std::size_t(target - windowStart_);
        return;
    }
    if (::lseek(fd_, off_t(target), SEEK_SET) < 0) {
        Fail(ZuStreamFailed, errno);
        return;
    }
    windowStart_ = target;
    windowSize_ = inWindow_ = 0;
}

std::int64_t ZuFileInStream::Length() const
{
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return -1;
    return std::int64_t(info.st_size);
}
