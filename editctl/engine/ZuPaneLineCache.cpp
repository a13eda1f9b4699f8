#include "editctl/engine/ZuPaneLineCache.h"

#include "editctl/engine/ZuTextBlock.h"

#include <algorithm>

ZuPaneLineCache::Counts ZuPaneLineCache::Of(const ZuTextBlock& block)
{
    return {{block.LineCount(0), block.LineCount(1), block.Length()}};
}

void ZuPaneLineCache::Rebuild()
{
    const std::size_t n = counts_.size();
    for (int f = 0; f < 3; ++f) {
        std::vector<std::uint64_t>& tree = tree_[f];
        tree.assign(n + 1, 0);
        for (std::size_t i = 1; i <= n; ++i) {
            tree[i] += counts_[i - 1].value[f];
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= n)
                tree[parent] += tree[i];
        }
    }
}

void ZuPaneLineCache::Reset(const Blocks& blocks)
{
    counts_.clear();
    for (const auto& block : blocks)
        counts_.push_back(Of(*block));
    Rebuild();
}

void ZuPaneLineCache::Recount(std::size_t k, const ZuTextBlock& block)
{
    if (k == counts_.size()) {
        // A block appended (loading): its tree nodes are built from the totals before it.
        const Counts now = Of(block);
        const std::size_t i = k + 1;
        const std::size_t low = i & (~i + 1);
        for (int f = 0; f < 3; ++f)
            tree_[f].push_back(now.value[f] + Prefix(f, i - 1) - Prefix(f, i - low));
        counts_.push_back(now);
        return;
    }
    if (k > counts_.size()) {
        counts_.resize(k + 1, Counts{{0, 0, 0}});
        counts_[k] = Of(block);
        Rebuild();
        return;
    }
    const Counts now = Of(block);
    const std::size_t n = counts_.size();
    for (int f = 0; f < 3; ++f) {
        const std::uint64_t delta = std::uint64_t(now.value[f]) - counts_[k].value[f]; // modulo 2^64
        if (delta == 0)
            continue;
        for (std::size_t i = k + 1; i <= n; i += i & (~i + 1))
            tree_[f][i] += delta;
    }
    counts_[k] = now;
}

void ZuPaneLineCache::Replaced(std::size_t first, std::size_t last, const Blocks& blocks, std::size_t count)
{
    counts_.erase(counts_.begin() + std::ptrdiff_t(first), counts_.begin() + std::ptrdiff_t(last) + 1);
    std::vector<Counts> fresh;
    for (std::size_t k = first; k < first + count; ++k)
        fresh.push_back(Of(*blocks[k]));
    counts_.insert(counts_.begin() + std::ptrdiff_t(first), fresh.begin(), fresh.end());
    Rebuild();
}

std::uint64_t ZuPaneLineCache::Prefix(int field, std::size_t count) const
{
    std::uint64_t sum = 0;
    for (std::size_t i = std::min(count, counts_.size()); i > 0; i -= i & (~i + 1))
        sum += tree_[field][i];
    return sum;
}

std::size_t ZuPaneLineCache::Find(int field, std::uint64_t value) const
{
    const std::size_t n = counts_.size();
    if (n == 0)
        return 0;
    // The number of blocks whose running total stays at or below the value.
    std::size_t pos = 0;
    std::size_t step = 1;
    while (step * 2 <= n)
        step *= 2;
    for (; step > 0; step /= 2) {
        if (pos + step <= n && tree_[field][pos + step] <= value) {
            pos += step;
            value -= tree_[field][pos];
        }
    }
    return std::min(pos, n - 1);
}

bool ZuPaneLineCache::Matches(const Blocks& blocks) const
{
    if (counts_.size() != blocks.size())
        return false;
    std::uint64_t sums[3] = {0, 0, 0};
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const Counts c = Of(*blocks[k]);
        for (int f = 0; f < 3; ++f) {
            if (c.value[f] != counts_[k].value[f] || Prefix(f, k) != sums[f])
                return false;
            sums[f] += c.value[f];
        }
    }
    return true;
}
