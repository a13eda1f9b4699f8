#include "editctl/engine/ZuGrowArray.h"

#include <cstdlib>
#include <cstring>
#include <vector>

void ZuGrowArray::Init(std::uint16_t elementSize)
{
    std::free(items_);
    count_ = 0;
    capacity_ = 0;
    elementSize_ = elementSize == 0 ? 1 : elementSize;
    items_ = nullptr;
    growStep_ = 100;
}

void ZuGrowArray::SetGrowStep(std::uint32_t n)
{
    if (n != 0)
        growStep_ = n;
}

ZuErr ZuGrowArray::Insert(const void* source, std::uint32_t index, std::uint32_t n)
{
    if (n == 0)
        return ZuOk;
    std::uint64_t total = n;
    std::uint32_t at = index;
    if (index > count_) {
        // The gap up to index is filled with zero bytes; the new elements follow it.
        total += index - count_;
        at = count_;
    }
    if (total > UINT32_MAX || (std::uint64_t(count_) + total) * elementSize_ > UINT32_MAX)
        return ZuErrLineCount;
    // Copied before any reallocation: the source may lie inside this array.
    std::vector<unsigned char> element;
    if (source != nullptr)
        element.assign(static_cast<const unsigned char*>(source), static_cast<const unsigned char*>(source) + elementSize_);
    if (capacity_ - count_ < total) {
        const std::uint64_t shortfall = total - (capacity_ - count_);
        const std::uint64_t newCapacity = capacity_ + growStep_ * (shortfall / growStep_ + 1);
        if (newCapacity * elementSize_ > UINT32_MAX)
            return ZuErrLineCount;
        void* grown = std::realloc(items_, std::size_t(newCapacity) * elementSize_);
        if (grown == nullptr)
            return ZuErrNoMemory;
        items_ = static_cast<unsigned char*>(grown);
        capacity_ = std::uint32_t(newCapacity);
    }
    const std::size_t size = elementSize_;
    std::memmove(items_ + (at + total) * size, items_ + at * size, (count_ - at) * size);
    const std::uint32_t gap = std::uint32_t(total - n);
    std::memset(items_ + at * size, 0, gap * size);
    for (std::uint32_t i = 0; i < n; ++i) {
        unsigned char* place = items_ + (at + gap + i) * size;
        if (source != nullptr)
            std::memcpy(place, element.data(), size);
        else
            std::memset(place, 0, size);
    }
    count_ += std::uint32_t(total);
    return ZuOk;
}

void ZuGrowArray::RemoveRange(std::uint32_t index, std::uint32_t n)
{
    if (index >= count_)
        return;
    if (n > count_ - index)
        n = count_ - index;
    const std::size_t size = elementSize_;
    std::memmove(items_ + index * size, items_ + (index + n) * size, (count_ - index - n) * size);
    count_ -= n;
}

void ZuGrowArray::Free()
{
    std::free(items_);
    items_ = nullptr;
    count_ = 0;
    capacity_ = 0;
}

ZuErr ZuGrowArray::Assign(const ZuGrowArray& other)
{
    if (&other == this)
        return ZuOk;
    unsigned char* copy = nullptr;
    const std::size_t bytes = std::size_t(other.capacity_) * other.elementSize_;
    if (bytes != 0) {
        copy = static_cast<unsigned char*>(std::malloc(bytes));
        if (copy == nullptr)
            return ZuErrNoMemory;
        std::memcpy(copy, other.items_, bytes);
    }
    std::free(items_);
    items_ = copy;
    count_ = other.count_;
    capacity_ = other.capacity_;
    elementSize_ = other.elementSize_;
    growStep_ = other.growStep_;
    return ZuOk;
}
