#include "editctl/engine/ZuFontTable.h"

#include <algorithm>

ZuFontTable::ZuFontTable(ZuMetricsProvider* provider) : provider_(provider), default_(provider) {}

ZuFontTable::~ZuFontTable()
{
    list_.DeleteAll();
}

const ZuFontEntry& ZuFontTable::At(std::uint32_t index) const
{
    if (index == 0 || index > byIndex_.size())
        return default_;
    return *byIndex_[index - 1];
}

bool ZuFontTable::FindFont(const ZuFontEntry& entry, std::uint32_t& index) const
{
    if (default_.SameFont(entry)) {
        index = 0;
        return true;
    }
    for (std::size_t i = byIndex_.size(); i > 0; --i) {
        if (byIndex_[i - 1]->SameFont(entry)) {
            index = std::uint32_t(i);
            return true;
        }
    }
    return false;
}

ZuErr ZuFontTable::FindOrAdd(const ZuFontEntry& entry, std::uint32_t& index)
{
    if (FindFont(entry, index))
        return ZuOk;
    std::unique_ptr<ZuFontEntry> clone = entry.Clone();
    if (!clone)
        return ZuErrNoMemory;
    byIndex_.reserve(byIndex_.size() + 1);
    if (const ZuErr error = list_.AddTail(clone.get()))
        return error;
    byIndex_.push_back(clone.release());
    index = std::uint32_t(byIndex_.size());
    return ZuOk;
}

ZuErr ZuFontTable::MergeFrom(const ZuFontTable& other)
{
    const std::size_t before = byIndex_.size();
    for (std::uint32_t i = 0; i < other.Count(); ++i) {
        std::uint32_t index = 0;
        if (const ZuErr error = FindOrAdd(other.At(i), index)) {
            while (byIndex_.size() > before) {
                list_.DeleteTail(1);
                byIndex_.pop_back();
            }
            return error;
        }
    }
    return ZuOk;
}

ZuErr ZuFontTable::IndexMap(const ZuFontTable& other, std::vector<std::uint32_t>& map) const
{
    std::vector<std::uint32_t> result(Count());
    for (std::uint32_t i = 0; i < Count(); ++i)
        if (!other.FindFont(At(i), result[i]))
            return ZuErrBadParameter;
    map = std::move(result);
    return ZuOk;
}

bool ZuFontTable::IsProportional() const
{
    const ZuFontMetrics& base = default_.Metrics();
    if (base.variablePitch)
        return true;
    for (const ZuFontEntry* entry : byIndex_)
        if (entry->Metrics().variablePitch || entry->Metrics().averageWidth != base.averageWidth)
            return true;
    return false;
}

std::unique_ptr<ZuFontTable> ZuFontTable::CreateForDC(ZuMetricsProvider* device) const
{
    const int screen = provider_->PixelsPerInchY();
    const int printer = device->PixelsPerInchY();
    const auto scaled = [&](const ZuFontEntry& entry) {
        ZuFontDescriptor font = entry.Font();
        const std::int64_t cell = font.height < 0 ? entry.Metrics().internalLeading - std::int64_t(font.height)
                                                  : std::int64_t(font.height);
        font.height = std::int32_t(std::max<std::int64_t>(1, cell * printer / std::max(screen, 1)));
        return font;
    };
    auto table = std::make_unique<ZuFontTable>(device);
    if (table->default_.Measure(scaled(default_)) != ZuOk)
        return nullptr;
    for (const ZuFontEntry* entry : byIndex_) {
        auto copy = std::make_unique<ZuFontEntry>(device);
        if (copy->Measure(scaled(*entry)) != ZuOk || table->list_.AddTail(copy.get()) != ZuOk)
            return nullptr;
        table->byIndex_.push_back(copy.release());
    }
    return table;
}
