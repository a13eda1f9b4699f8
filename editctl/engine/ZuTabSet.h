#pragma once
// The tab stops of a paragraph: stops set by the user, kept both sorted by
// position and in the order of their indexes, and default stops every default
// width after the last set stop. A width below 1 px counts as unset (eight
// average character widths), and no stop lies beyond 32,767 px, so that stop
// arithmetic never divides by zero and painting never runs away.

#include "editctl/engine/ZuErrors.h"
#include "editctl/engine/ZuGrowArray.h"

#include <cstdint>
#include <memory>

struct ZuTabStop {
    std::uint32_t position = 0;  // screen pixels from the line's left edge
    std::uint32_t alignment = 0; // 0 left, 1 centre, 2 right
    std::uint32_t leader = 0;    // 0 none
};

enum ZuTabOrder : int {
    ZuTabsSorted = 0,  // by position
    ZuTabsByIndex = 1, // in the order the stops were set
};

inline constexpr std::int32_t ZuMaxTabPosition = 32767;

class ZuTabSet {
public:
    ZuTabSet();
    ZuTabSet(const ZuTabSet&) = delete;
    ZuTabSet& operator=(const ZuTabSet&) = delete;

    // Reading and setting the default width act on this set (the document's
    // default tab set) when given.
    void DelegateDefaultWidth(ZuTabSet* to) { delegate_ = to; }

    std::int32_t DefaultWidth(std::int32_t characterWidth) const;
    std::int32_t SetDefaultWidth(std::int32_t n); // the previous value
    std::int32_t RawDefaultWidth() const;
    std::uint16_t Count() const { return count_; }

    std::int32_t StopPosition(std::int32_t i, int which, std::int32_t characterWidth) const;
    std::int32_t PreviousStop(std::int32_t x, std::int32_t characterWidth) const;
    // The x a tab at x advances to: always beyond x.
    std::int32_t NextStop(std::int32_t x, std::int32_t characterWidth) const;
    std::int32_t StopIndexAfter(std::int32_t x, std::int32_t characterWidth) const;
    std::int32_t StopIndexAtOrAfter(std::int32_t x, std::int32_t characterWidth) const;
    std::int32_t StopIndexAt(std::int32_t x) const; // in the sorted list; -1 when none

    std::int32_t InsertStop(std::int32_t x); // index (in index order); -1 on failure
    void MoveStop(std::int32_t i, std::int32_t x);
    std::int32_t RemoveStop(std::int32_t i); // its position, or -1
    ZuErr SetCount(std::int32_t n, std::int32_t characterWidth);

    std::uint32_t Alignment(std::int32_t i, int which) const;
    std::uint32_t Leader(std::int32_t i, int which) const;
    void SetAlignment(std::uint32_t value, std::int32_t i, int which);
    void SetLeader(std::uint32_t value, std::int32_t i, int which);

    // A copy; positions and a set default width scaled by num/den (device over screen).
    std::unique_ptr<ZuTabSet> Clone(std::int32_t num = 1, std::int32_t den = 1) const;

private:
    const ZuTabStop& Stop(std::int32_t i, int which) const;
    ZuTabStop* StopPtr(std::int32_t i, int which);
    std::int32_t SortedIndexOf(std::uint32_t position) const;
    std::int32_t DefaultBase(std::int32_t w) const; // the last set stop rounded down to w

    std::int32_t defaultWidth_ = -1;
    ZuTabSet* delegate_ = nullptr;
    std::uint16_t count_ = 0;
    ZuGrowArray sorted_;
    ZuGrowArray byIndex_;
};
