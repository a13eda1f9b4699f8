#pragma once
// The byte streams all loading and saving goes through. Every operation first
// looks at the state flags; a bad stream does nothing more.

#include "editctl/engine/ZuErrors.h"

#include <cstddef>
#include <cstdint>

enum ZuStreamFlag : std::uint32_t {
    ZuStreamEnd = 2,      // end of data reached
    ZuStreamFailed = 4,   // a read, write or seek failed
    ZuStreamOverflow = 8, // too many characters pushed back
    ZuStreamBadMask = 0x1C,
};

class ZuStream {
public:
    virtual ~ZuStream() = default;
    std::uint32_t State() const { return state_; }
    bool Bad() const { return (state_ & ZuStreamBadMask) != 0; }
    bool AtEnd() const { return (state_ & ZuStreamEnd) != 0; }
    // The code of the last failure (0 when none).
    ZuErr Error() const { return error_; }
    void ClearEnd() { state_ &= ~std::uint32_t(ZuStreamEnd); }

protected:
    void Fail(std::uint32_t flag, ZuErr error)
    {
        state_ |= flag;
        if (error_ == ZuOk)
            error_ = error;
    }
    std::uint32_t state_ = 0;
    ZuErr error_ = ZuOk;
};

class ZuInStream : public ZuStream {
public:
    // Reads up to n bytes; returns and remembers how many came. At the end of the
    // data the end flag is set.
    virtual std::size_t Read(void* destination, std::size_t n) = 0;
    // origin 0: from the start, 1: from the current position; below 0 is taken as 0.
    virtual void Seek(std::int64_t offset, int origin) = 0;
    void Seek(std::int64_t position) { Seek(position, 0); }
    virtual std::int64_t Tell() const = 0;
    // The pushed-back characters first, then the data; -1 at the end.
    int GetChar();
    void UngetChar(int c);
    // -1 when it cannot be told.
    virtual std::int64_t Length() const = 0;
    std::size_t LastCount() const { return lastCount_; }

protected:
    explicit ZuInStream(int pushBackLimit) : pushBackLimit_(pushBackLimit) {}
    void DropPushBack() { pushed_ = 0; }
    int Pushed() const { return pushed_; }

    std::size_t lastCount_ = 0;

private:
    int pushBackLimit_;
    int pushed_ = 0;
    unsigned char pushBack_[32] = {};
};

class ZuOutStream : public ZuStream {
public:
    virtual void Write(const void* source, std::size_t n) = 0;
    virtual std::int64_t Tell() const = 0;
    void WriteString(const char* text);
};

// Reads n bytes in pieces, stopping at the first bad state or the end; returns the bytes read.
std::size_t ZuReadBlock(ZuInStream& stream, void* destination, std::size_t n);
