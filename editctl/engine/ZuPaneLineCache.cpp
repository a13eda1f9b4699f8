#include "editctl/engine/ZuPaneLineCache.h"

#include "editctl/engine/ZuTextBlock.h"

#include <algorithm>

void ZuPaneLineCache::Update(const std::vector<std::unique_ptr<ZuTextBlock>>& blocks)
{
    const std::size_t n = blocks.size();
    for (auto* table : {&lines_[0], &lines_[1], &bytes_})
        table->resize(n + 1);
    for (std::size_t k = valid_; k < n; ++k) {
        const ZuTextBlock& block = *blocks[k];
        lines_[0][k + 1] = lines_[0][k] + block.LineCount(0);
        lines_[1][k + 1] = lines_[1][k] + block.LineCount(1);
        bytes_[k + 1] = bytes_[k] + block.Length();
    }
    valid_ = n;
}

std::size_t ZuPaneLineCache::BlockOfLine(int pane, std::uint64_t line) const
{
    const std::vector<std::uint64_t>& before = lines_[pane];
    if (valid_ == 0)
        return 0;
    // The last block whose first line is at or before the line.
    const auto it = std::upper_bound(before.begin(), before.begin() + std::ptrdiff_t(valid_), line);
    const std::size_t k = std::size_t(it - before.begin());
    return std::min(k == 0 ? 0 : k - 1, valid_ - 1);
}

std::size_t ZuPaneLineCache::BlockOfOffset(std::uint64_t offset) const
{
    if (valid_ == 0)
        return 0;
    const auto it = std::upper_bound(bytes_.begin(), bytes_.begin() + std::ptrdiff_t(valid_), offset);
    const std::size_t k = std::size_t(it - bytes_.begin());
    return std::min(k == 0 ? 0 : k - 1, valid_ - 1);
}
