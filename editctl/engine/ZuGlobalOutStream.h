#pragma once
// Output into a growing block of memory (the form text takes to the
// clipboard), kept with a NUL after the data. It grows geometrically, so
// many small writes cost linear time.

#include "editctl/engine/ZuStream.h"

#include <string>

class ZuGlobalOutStream : public ZuOutStream {
public:
    void Write(const void* source, std::size_t n) override;
    std::int64_t Tell() const override { return std::int64_t(data_.size()); }
    const std::string& Data() const { return data_; }
    // Hands the bytes to the caller and empties the stream.
    std::string Detach();

private:
    std::string data_; // std::string keeps the NUL after the data
};
