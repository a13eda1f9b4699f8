#include "editctl/engine/ZuPaneLineCache.h"

#include "editctl/engine/ZuTextBlock.h"

#include <algorithm>

ZuPaneLineCache::Counts ZuPaneLineCache::Of(const ZuTextBlock& block)
{
    return {{block.LineCount(0), block.LineCount(1)}, block.Length()};
}

void ZuPaneLineCache::Reset(const Blocks& blocks)
{
    counts_.clear();
    for (const auto& block : blocks)
        counts_.push_back(Of(*block));
    valid_ = 0;
}

void ZuPaneLineCache::Recount(std::size_t k, const ZuTextBlock& block)
{
    if (k >= counts_.size())
        counts_.resize(k + 1);
    counts_[k] = Of(block);
    Invalidate(k);
}

void ZuPaneLineCache::Replaced(std::size_t first, std::size_t last, const Blocks& blocks, std::size_t count)
{
    counts_.erase(counts_.begin() + std::ptrdiff_t(first), counts_.begin() + std::ptrdiff_t(last) + 1);
    std::vector<Counts> fresh;
    for (std::size_t k = first; k < first + count; ++k)
        fresh.push_back(Of(*blocks[k]));
    counts_.insert(counts_.begin() + std::ptrdiff_t(first), fresh.begin(), fresh.end());
    Invalidate(first);
}

void ZuPaneLineCache::Update()
{
    const std::size_t n = counts_.size();
    if (valid_ == n && bytes_.size() == n + 1)
        return;
    for (auto* table : {&lines_[0], &lines_[1], &bytes_})
        table->resize(n + 1);
    std::uint64_t l0 = lines_[0][valid_], l1 = lines_[1][valid_], b = bytes_[valid_];
    for (std::size_t k = valid_; k < n; ++k) {
        l0 += counts_[k].lines[0];
        l1 += counts_[k].lines[1];
        b += counts_[k].bytes;
        lines_[0][k + 1] = l0;
        lines_[1][k + 1] = l1;
        bytes_[k + 1] = b;
    }
    valid_ = n;
}

bool ZuPaneLineCache::Matches(const Blocks& blocks) const
{
    if (counts_.size() != blocks.size())
        return false;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const Counts c = Of(*blocks[k]);
        if (c.lines[0] != counts_[k].lines[0] || c.lines[1] != counts_[k].lines[1] || c.bytes != counts_[k].bytes)
            return false;
    }
    return true;
}

std::size_t ZuPaneLineCache::BlockOfLine(int pane, std::uint64_t line) const
{
    const std::size_t n = counts_.size();
    if (n == 0)
        return 0;
    const std::vector<std::uint64_t>& before = lines_[pane];
    // The last block whose first line is at or before the line.
    const auto it = std::upper_bound(before.begin(), before.begin() + std::ptrdiff_t(n), line);
    const std::size_t k = std::size_t(it - before.begin());
    return std::min(k == 0 ? 0 : k - 1, n - 1);
}

std::size_t ZuPaneLineCache::BlockOfOffset(std::uint64_t offset) const
{
    const std::size_t n = counts_.size();
    if (n == 0)
        return 0;
    const auto it = std::upper_bound(bytes_.begin(), bytes_.begin() + std::ptrdiff_t(n), offset);
    const std::size_t k = std::size_t(it - bytes_.begin());
    return std::min(k == 0 ? 0 : k - 1, n - 1);
}
