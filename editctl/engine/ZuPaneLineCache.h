#pragma once
// Turns line numbers and byte offsets into blocks. It keeps each block's line
// counts (per pane) and length in one compact table beside the block list, and
// running totals over it. An edit updates the entries of the blocks it touched
// and marks the totals stale from there; the next look-up brings them up to
// date in one pass over the compact table (never over the blocks or the text),
// then finds the block by bisection.

#include <cstdint>
#include <memory>
#include <vector>

class ZuTextBlock;

class ZuPaneLineCache {
public:
    using Blocks = std::vector<std::unique_ptr<ZuTextBlock>>;

    void Reset(const Blocks& blocks);
    // Block k changed in place.
    void Recount(std::size_t k, const ZuTextBlock& block);
    // Blocks [first, last] were replaced by `count` blocks from `first` on.
    void Replaced(std::size_t first, std::size_t last, const Blocks& blocks, std::size_t count);

    std::uint64_t LinesBefore(int pane, std::size_t block) const { return lines_[pane][block]; }
    std::uint64_t BytesBefore(std::size_t block) const { return bytes_[block]; }
    // The block holding a 0-based line of a pane / a byte offset (clamped to the last block).
    std::size_t BlockOfLine(int pane, std::uint64_t line) const;
    std::size_t BlockOfOffset(std::uint64_t offset) const;
    // Brings the totals up to date.
    void Update();
    // True when the table matches the blocks (a check for tests).
    bool Matches(const Blocks& blocks) const;

private:
    struct Counts {
        std::uint32_t lines[2];
        std::uint32_t bytes;
    };
    static Counts Of(const ZuTextBlock& block);
    void Invalidate(std::size_t fromBlock)
    {
        if (fromBlock < valid_)
            valid_ = fromBlock;
    }

    std::vector<Counts> counts_;
    std::size_t valid_ = 0; // totals are right for blocks [0, valid_]
    std::vector<std::uint64_t> lines_[2]{{0}, {0}};
    std::vector<std::uint64_t> bytes_{0};
};
