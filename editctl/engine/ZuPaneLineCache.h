#pragma once
// Turns line numbers and byte offsets into blocks: running totals of lines (per
// pane) and bytes before each block. An edit marks the totals stale from its
// block on; the next look-up brings them up to date in one pass over the
// blocks after it, then finds the block by bisection.

#include <cstdint>
#include <memory>
#include <vector>

class ZuTextBlock;

class ZuPaneLineCache {
public:
    void Invalidate(std::size_t fromBlock)
    {
        if (fromBlock < valid_)
            valid_ = fromBlock;
    }
    void Update(const std::vector<std::unique_ptr<ZuTextBlock>>& blocks);

    std::uint64_t LinesBefore(int pane, std::size_t block) const { return lines_[pane][block]; }
    std::uint64_t BytesBefore(std::size_t block) const { return bytes_[block]; }
    // The block holding a 0-based line of a pane / a byte offset (clamped to the last block).
    std::size_t BlockOfLine(int pane, std::uint64_t line) const;
    std::size_t BlockOfOffset(std::uint64_t offset) const;

private:
    std::size_t valid_ = 0; // totals are right for blocks [0, valid_]
    std::vector<std::uint64_t> lines_[2]{{0}, {0}};
    std::vector<std::uint64_t> bytes_{0};
};
