#pragma once
// A contiguous array of fixed-size elements that grows in steps. Allocation
// failures are reported as codes, never thrown, and leave the array as it was.

#include "editctl/engine/ZuErrors.h"

#include <cstdint>

class ZuGrowArray {
public:
    explicit ZuGrowArray(std::uint16_t elementSize = 1) { Init(elementSize); }
    ZuGrowArray(const ZuGrowArray&) = delete;
    ZuGrowArray& operator=(const ZuGrowArray&) = delete;
    ~ZuGrowArray() { Free(); }

    void Init(std::uint16_t elementSize);
    void SetGrowStep(std::uint32_t n);

    // Inserts n copies of the element at source (none: zero-filled) at index.
    // An index past the count fills the gap with zero bytes as well.
    ZuErr Insert(const void* source, std::uint32_t index, std::uint32_t n);
    void RemoveRange(std::uint32_t index, std::uint32_t n);
    void Free();
    ZuErr Assign(const ZuGrowArray& other);

    std::uint32_t Count() const { return count_; }
    std::uint32_t Capacity() const { return capacity_; }
    std::uint16_t ElementSize() const { return elementSize_; }
    std::uint32_t GrowStep() const { return growStep_; }
    unsigned char* Items() { return items_; }
    const unsigned char* Items() const { return items_; }

    template <typename T> T& At(std::uint32_t i) { return *reinterpret_cast<T*>(items_ + std::size_t(i) * elementSize_); }
    template <typename T> const T& At(std::uint32_t i) const
    {
        return *reinterpret_cast<const T*>(items_ + std::size_t(i) * elementSize_);
    }

private:
    std::uint32_t count_ = 0;
    std::uint32_t capacity_ = 0;
    std::uint16_t elementSize_ = 1;
    unsigned char* items_ = nullptr;
    std::uint32_t growStep_ = 100;
};
