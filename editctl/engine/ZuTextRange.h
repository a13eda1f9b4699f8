#pragma once
// A selection, edit extent or undo extent: a stream of text, whole lines, or a
// column block, between an anchor (start) and a moving end. The adjustment
// rules keep positions and ranges in step with insertions and removals made
// elsewhere in the text.

#include "editctl/engine/ZuTextPosition.h"

enum ZuRangeType : std::uint8_t {
    ZuRangeNone = 0,
    ZuRangeStream = 1,
    ZuRangeLine = 2,
    ZuRangeColumn = 3,
    ZuRangeStream2 = 4, // a second stream kind, moved and adjusted like a stream
};

class ZuTextRange {
public:
    std::uint8_t type = ZuRangeNone;
    ZuTextPosition start; // the anchor
    ZuTextPosition end;   // the moving end; may lie before start

    ZuTextRange() = default;
    ZuTextRange(ZuTextPosition s, ZuTextPosition e, std::uint8_t t) : type(t), start(s), end(e) {}

    void Clear();
    void Init(ZuTextPosition s, ZuTextPosition e, std::uint8_t t);
    void InitXY(std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2, std::uint8_t t);
    void Assign(const ZuTextRange& other); // copies, then normalises
    void Normalize();

    bool IsStream() const { return type == ZuRangeStream || type == ZuRangeStream2; }
    bool IsEmpty() const { return type == ZuRangeNone || start == end; }
    ZuTextPosition First() const { return end < start ? end : start; }
    ZuTextPosition Last() const { return end < start ? start : end; }
    std::uint32_t LowestLine() const { return start.y < end.y ? start.y : end.y; }
    std::uint32_t HighestLine() const { return start.y < end.y ? end.y : start.y; }
    std::uint32_t SmallestX() const { return start.x < end.x ? start.x : end.x; }
    std::uint32_t LargestX() const { return start.x < end.x ? end.x : start.x; }
    bool operator==(const ZuTextRange& other) const;

    bool Contains(ZuTextPosition position) const;
    bool CoversLine(std::uint32_t line) const;
    std::uint32_t StartColumnOnLine(std::uint32_t line) const;
    std::uint32_t EndColumnOnLine(std::uint32_t line) const;
    bool ContainsPosition(ZuTextPosition position) const;
    bool ContainsRange(const ZuTextRange& other) const;
    void MoveTo(ZuTextPosition position);

    // A position after the text of `removed` went, or after `inserted` came.
    static void AdjustForRemoval(ZuTextPosition& position, const ZuTextRange& removed);
    static void AdjustForInsertion(ZuTextPosition& position, const ZuTextRange& inserted);
    static ZuTextPosition AdjustedForRemoval(ZuTextPosition position, const ZuTextRange& removed);
    static ZuTextPosition AdjustedForInsertion(ZuTextPosition position, const ZuTextRange& inserted);

    // This range after the text of `removed` went, or after `inserted` came.
    void AdjustForRemoval(const ZuTextRange& removed);
    void AdjustForInsertion(const ZuTextRange& inserted);
    ZuTextRange AdjustedForRemoval(const ZuTextRange& removed) const;
    ZuTextRange AdjustedForInsertion(const ZuTextRange& inserted) const;

private:
    ZuTextPosition& FirstRef() { return end < start ? end : start; }
    ZuTextPosition& LastRef() { return end < start ? start : end; }
};
