#pragma once
// Input from a block of bytes the caller keeps alive.

#include "editctl/engine/ZuStream.h"

class ZuMemoryInStream : public ZuInStream {
public:
    ZuMemoryInStream(const void* data, std::size_t size)
        : ZuInStream(16), data_(static_cast<const unsigned char*>(data)), size_(size)
    {
    }
    std::size_t Read(void* destination, std::size_t n) override;
    void Seek(std::int64_t offset, int origin) override;
    using ZuInStream::Seek;
    std::int64_t Tell() const override { return std::int64_t(position_); }
    std::int64_t Length() const override { return std::int64_t(size_); }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
