#include "editctl/engine/ZuTabSet.h"

#include <algorithm>
#include <new>

ZuTabSet::ZuTabSet() : sorted_(sizeof(ZuTabStop)), byIndex_(sizeof(ZuTabStop))
{
    sorted_.SetGrowStep(1);
    byIndex_.SetGrowStep(1);
}

std::int32_t ZuTabSet::RawDefaultWidth() const
{
    return delegate_ != nullptr ? delegate_->RawDefaultWidth() : defaultWidth_;
}

std::int32_t ZuTabSet::DefaultWidth(std::int32_t characterWidth) const
{
    const std::int32_t set = RawDefaultWidth();
    if (set >= 1)
        return std::min(set, ZuMaxTabPosition);
    return std::clamp(8 * characterWidth, 1, ZuMaxTabPosition);
}

std::int32_t ZuTabSet::SetDefaultWidth(std::int32_t n)
{
    if (delegate_ != nullptr)
        return delegate_->SetDefaultWidth(n);
    const std::int32_t previous = defaultWidth_;
    defaultWidth_ = n;
    return previous;
}

const ZuTabStop& ZuTabSet::Stop(std::int32_t i, int which) const
{
    const ZuGrowArray& list = which == ZuTabsByIndex ? byIndex_ : sorted_;
    return list.At<ZuTabStop>(std::uint32_t(i));
}

ZuTabStop* ZuTabSet::StopPtr(std::int32_t i, int which)
{
    if (i < 0 || i >= count_)
        return nullptr;
    ZuGrowArray& list = which == ZuTabsByIndex ? byIndex_ : sorted_;
    return &list.At<ZuTabStop>(std::uint32_t(i));
}

std::int32_t ZuTabSet::DefaultBase(std::int32_t w) const
{
    if (count_ == 0)
        return 0;
    const std::int32_t e = std::int32_t(Stop(count_ - 1, ZuTabsSorted).position);
    return e - e % w;
}

std::int32_t ZuTabSet::StopPosition(std::int32_t i, int which, std::int32_t characterWidth) const
{
    if (i < 0)
        return 0;
    if (i < count_)
        return std::int32_t(Stop(i, which).position);
    const std::int32_t w = DefaultWidth(characterWidth);
    const std::int64_t x = std::int64_t(w) * (i - count_ + 1) + DefaultBase(w);
    return std::int32_t(std::min<std::int64_t>(x, ZuMaxTabPosition));
}

std::int32_t ZuTabSet::StopIndexAfter(std::int32_t x, std::int32_t characterWidth) const
{
    for (std::int32_t i = 0; i < count_; ++i)
        if (std::int32_t(Stop(i, ZuTabsSorted).position) > x)
            return i;
    const std::int32_t w = DefaultWidth(characterWidth);
    const std::int32_t base = DefaultBase(w);
    if (x >= ZuMaxTabPosition)
        return -1;
    const std::int32_t k = x < base ? 1 : (x - base) / w + 1;
    return count_ + k - 1;
}

std::int32_t ZuTabSet::StopIndexAtOrAfter(std::int32_t x, std::int32_t characterWidth) const
{
    const std::int32_t at = StopIndexAt(x);
    if (at >= 0)
        return at;
    if (count_ == 0 || x > std::int32_t(Stop(count_ - 1, ZuTabsSorted).position)) {
        const std::int32_t w = DefaultWidth(characterWidth);
        const std::int32_t base = DefaultBase(w);
        if (x > base && (x - base) % w == 0 && x <= ZuMaxTabPosition)
            return count_ + (x - base) / w - 1;
    }
    return StopIndexAfter(x, characterWidth);
}

std::int32_t ZuTabSet::StopIndexAt(std::int32_t x) const
{
    return x < 0 ? -1 : SortedIndexOf(std::uint32_t(x));
}

std::int32_t ZuTabSet::SortedIndexOf(std::uint32_t position) const
{
    for (std::int32_t i = 0; i < count_; ++i)
        if (Stop(i, ZuTabsSorted).position == position)
            return i;
    return -1;
}

std::int32_t ZuTabSet::NextStop(std::int32_t x, std::int32_t characterWidth) const
{
    const std::int32_t i = StopIndexAfter(x, characterWidth);
    if (i < 0) // beyond the last stop a tab still moves on by one default width
        return x + DefaultWidth(characterWidth);
    return StopPosition(i, ZuTabsSorted, characterWidth);
}

std::int32_t ZuTabSet::PreviousStop(std::int32_t x, std::int32_t characterWidth) const
{
    std::int32_t previous = 0;
    for (std::int32_t i = 0; i < count_ && std::int32_t(Stop(i, ZuTabsSorted).position) < x; ++i)
        previous = std::int32_t(Stop(i, ZuTabsSorted).position);
    const std::int32_t w = DefaultWidth(characterWidth);
    const std::int32_t base = DefaultBase(w);
    const std::int32_t limit = std::min(x - 1, ZuMaxTabPosition);
    if (limit >= base + w)
        previous = std::max(previous, std::min(base + (limit - base) / w * w, ZuMaxTabPosition));
    if (x > ZuMaxTabPosition) // the default stops end at the cap
        previous = ZuMaxTabPosition;
    return previous;
}

std::int32_t ZuTabSet::InsertStop(std::int32_t x)
{
    x = std::clamp(x, 0, ZuMaxTabPosition);
    const std::int32_t existing = SortedIndexOf(std::uint32_t(x));
    if (existing >= 0) {
        for (std::int32_t i = 0; i < count_; ++i)
            if (Stop(i, ZuTabsByIndex).position == std::uint32_t(x))
                return i;
    }
    if (count_ == ZuMaxTabPosition)
        return -1;
    std::uint32_t at = 0;
    while (at < count_ && Stop(std::int32_t(at), ZuTabsSorted).position < std::uint32_t(x))
        ++at;
    const ZuTabStop stop{std::uint32_t(x), 0, 0};
    if (sorted_.Insert(&stop, at, 1) != ZuOk)
        return -1;
    if (byIndex_.Insert(&stop, count_, 1) != ZuOk) {
        sorted_.RemoveRange(at, 1);
        return -1;
    }
    return count_++;
}

void ZuTabSet::MoveStop(std::int32_t i, std::int32_t x)
{
    ZuTabStop* stop = StopPtr(i, ZuTabsByIndex);
    if (stop == nullptr)
        return;
    x = std::clamp(x, 0, ZuMaxTabPosition);
    const std::int32_t from = SortedIndexOf(stop->position);
    ZuTabStop moved = sorted_.At<ZuTabStop>(std::uint32_t(from));
    sorted_.RemoveRange(std::uint32_t(from), 1);
    moved.position = std::uint32_t(x);
    stop->position = std::uint32_t(x);
    std::uint32_t at = 0;
    while (at + 1 < count_ && sorted_.At<ZuTabStop>(at).position < std::uint32_t(x))
        ++at;
    sorted_.Insert(&moved, at, 1); // the room is there: one was just removed
}

std::int32_t ZuTabSet::RemoveStop(std::int32_t i)
{
    const ZuTabStop* stop = StopPtr(i, ZuTabsByIndex);
    if (stop == nullptr)
        return -1;
    const std::uint32_t position = stop->position;
    sorted_.RemoveRange(std::uint32_t(SortedIndexOf(position)), 1);
    byIndex_.RemoveRange(std::uint32_t(i), 1);
    --count_;
    return std::int32_t(position);
}

ZuErr ZuTabSet::SetCount(std::int32_t n, std::int32_t characterWidth)
{
    n = std::clamp(n, 0, ZuMaxTabPosition);
    while (count_ > n)
        RemoveStop(count_ - 1);
    const std::int32_t before = count_;
    while (count_ < n) {
        const std::int32_t x = StopPosition(count_, ZuTabsSorted, characterWidth);
        const std::int32_t had = count_;
        if (InsertStop(x) < 0 || count_ == had) {
            // No room (or the stops reached the last position): undo this call's stops.
            while (count_ > before)
                RemoveStop(count_ - 1);
            return count_ == had && n > had ? ZuErrBadParameter : ZuErrNoMemory;
        }
    }
    return ZuOk;
}

std::uint32_t ZuTabSet::Alignment(std::int32_t i, int which) const
{
    return i < 0 || i >= count_ ? 0 : Stop(i, which).alignment;
}

std::uint32_t ZuTabSet::Leader(std::int32_t i, int which) const
{
    return i < 0 || i >= count_ ? 0 : Stop(i, which).leader;
}

void ZuTabSet::SetAlignment(std::uint32_t value, std::int32_t i, int which)
{
    ZuTabStop* stop = StopPtr(i, which);
    if (stop == nullptr)
        return;
    const std::uint32_t position = stop->position;
    stop->alignment = value;
    // The same stop in the other list.
    const int other = which == ZuTabsByIndex ? ZuTabsSorted : ZuTabsByIndex;
    for (std::int32_t k = 0; k < count_; ++k)
        if (ZuTabStop* twin = StopPtr(k, other); twin->position == position)
            twin->alignment = value;
}

void ZuTabSet::SetLeader(std::uint32_t value, std::int32_t i, int which)
{
    ZuTabStop* stop = StopPtr(i, which);
    if (stop == nullptr)
        return;
    const std::uint32_t position = stop->position;
    stop->leader = value;
    const int other = which == ZuTabsByIndex ? ZuTabsSorted : ZuTabsByIndex;
    for (std::int32_t k = 0; k < count_; ++k)
        if (ZuTabStop* twin = StopPtr(k, other); twin->position == position)
            twin->leader = value;
}

std::unique_ptr<ZuTabSet> ZuTabSet::Clone(std::int32_t num, std::int32_t den) const
{
    std::unique_ptr<ZuTabSet> copy(new (std::nothrow) ZuTabSet);
    if (!copy || copy->sorted_.Assign(sorted_) != ZuOk || copy->byIndex_.Assign(byIndex_) != ZuOk)
        return nullptr;
    copy->count_ = count_;
    copy->delegate_ = delegate_;
    copy->defaultWidth_ = defaultWidth_;
    if (den > 0 && num != den) {
        const auto scale = [&](std::uint32_t v) {
            return std::uint32_t(std::min<std::int64_t>(std::int64_t(v) * num / den, ZuMaxTabPosition));
        };
        for (std::int32_t i = 0; i < count_; ++i) {
            copy->StopPtr(i, ZuTabsSorted)->position = scale(copy->StopPtr(i, ZuTabsSorted)->position);
            copy->StopPtr(i, ZuTabsByIndex)->position = scale(copy->StopPtr(i, ZuTabsByIndex)->position);
        }
        if (copy->defaultWidth_ >= 1)
            copy->defaultWidth_ = std::int32_t(scale(std::uint32_t(copy->defaultWidth_)));
    }
    return copy;
}
