#pragma once
// Input from an open file descriptor, read through a buffer; a seek that lands
// inside the buffered window only moves within it.

#include "editctl/engine/ZuStream.h"

#include <vector>

class ZuFileInStream : public ZuInStream {
public:
    // The stream does not close the descriptor.
    explicit ZuFileInStream(int fd, std::size_t bufferSize = 32767);
    std::size_t Read(void* destination, std::size_t n) override;
    void Seek(std::int64_t offset, int origin) override;
    using ZuInStream::Seek;
    std::int64_t Tell() const override { return windowStart_ + std::int64_t(inWindow_); }
    std::int64_t Length() const override;

private:
    int fd_;
    std::vector<unsigned char> buffer_;
    std::int64_t windowStart_ = 0; // file position of buffer_[0]
    std::size_t windowSize_ = 0;
    std::size_t inWindow_ = 0;
};
