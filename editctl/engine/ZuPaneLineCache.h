#pragma once
// Turns line numbers and byte offsets into blocks. It keeps each block's line
// counts (per pane) and length in a compact table beside the block list, with
// running totals in Fenwick trees: an edit inside a block updates them in
// O(log n), a change to the list of blocks rebuilds them in one pass over the
// table (never over the blocks or the text), and a look-up descends them.

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

    std::uint64_t LinesBefore(int pane, std::size_t block) const { return Prefix(pane, block); }
    std::uint64_t BytesBefore(std::size_t block) const { return Prefix(2, block); }
    // The block holding a 0-based line of a pane / a byte offset (clamped to the last block).
    std::size_t BlockOfLine(int pane, std::uint64_t line) const { return Find(pane, line); }
    std::size_t BlockOfOffset(std::uint64_t offset) const { return Find(2, offset); }
    // True when the table matches the blocks (a check for tests).
    bool Matches(const Blocks& blocks) const;

private:
    struct Counts {
        std::uint32_t value[3]; // lines of pane 0, lines of pane 1, bytes
    };
    static Counts Of(const ZuTextBlock& block);
    void Rebuild();
    std::uint64_t Prefix(int field, std::size_t count) const; // the sum over blocks [0, count)
    std::size_t Find(int field, std::uint64_t value) const;

    std::vector<Counts> counts_;
    std::vector<std::uint64_t> tree_[3]{{0}, {0}, {0}}; // 1-based Fenwick trees over counts_
};
