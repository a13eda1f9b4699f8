#include "editctl/engine/ZuFileOutStream.h"

#include <cerrno>
#include <unistd.h>

void ZuFileOutStream::Write(const void* source, std::size_t n)
{
    const auto* bytes = static_cast<const unsigned char*>(source);
    while (n > 0 && !Bad()) {
        const ssize_t put = ::write(fd_, bytes, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            Fail(ZuStreamFailed, put < 0 ? errno : ZuErrStream);
            return;
        }
        bytes += put;
        n -= std::size_t(put);
    }
}

std::int64_t ZuFileOutStream::Tell() const
{
    return std::int64_t(::lseek(fd_, 0, SEEK_CUR));
}
