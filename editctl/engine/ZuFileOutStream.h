#pragma once
// Output to an open file descriptor (the stream does not close it).

#include "editctl/engine/ZuStream.h"

class ZuFileOutStream : public ZuOutStream {
public:
    explicit ZuFileOutStream(int fd) : fd_(fd) {}
    void Write(const void* source, std::size_t n) override;
    std::int64_t Tell() const override;

private:
    int fd_;
};
