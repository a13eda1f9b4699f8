#pragma once
// A few kilobytes of the document's text with everything that describes them:
// where each line starts in each of the two panes, and which bytes carry which
// font, colours and tab stops. A block always holds whole paragraphs: every
// block but the last ends with CR LF.

#include "editctl/engine/ZuErrors.h"
#include "editctl/engine/ZuFontTable.h"
#include "editctl/engine/ZuLineTable.h"
#include "editctl/engine/ZuRunTable.h"
#include "editctl/engine/ZuTabSet.h"
#include "editctl/engine/ZuTextRange.h"
#include "editctl/engine/ZuWrapRequest.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ZuTextDocument;
struct ZuPaintState;

// The vertical measure of one line: its tallest ascent over its tallest descent.
struct ZuLineMetrics {
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t Height() const { return ascent + descent; }
};

struct ZuFontRun {
    std::uint32_t start = 0;
    std::uint32_t font = 0; // 1-based index into the document's fonts; 0 = its default font

    static ZuFontRun Default(std::uint32_t at) { return {at, 0}; }
    bool SameValue(const ZuFontRun& other) const { return font == other.font; }
};

inline constexpr std::uint32_t ZuNoColor = 0xFFFFFFFFu;

struct ZuColorRun {
    std::uint32_t start = 0;
    std::uint32_t fore = ZuNoColor; // ZuNoColor: the pane's colour
    std::uint32_t back = ZuNoColor;

    static ZuColorRun Default(std::uint32_t at) { return {at, ZuNoColor, ZuNoColor}; }
    bool SameValue(const ZuColorRun& other) const { return fore == other.fore && back == other.back; }
};

// The tab stops of the paragraphs from start on; none: the document's default set.
struct ZuParagraphRun {
    std::uint32_t start = 0;
    std::unique_ptr<ZuTabSet> tabs;

    ZuParagraphRun() = default;
    ZuParagraphRun(std::uint32_t at, std::unique_ptr<ZuTabSet> set) : start(at), tabs(std::move(set)) {}
    ZuParagraphRun(const ZuParagraphRun& other) : start(other.start), tabs(other.tabs ? other.tabs->Clone() : nullptr) {}
    ZuParagraphRun(ZuParagraphRun&&) = default;
    ZuParagraphRun& operator=(const ZuParagraphRun& other)
    {
        start = other.start;
        tabs = other.tabs ? other.tabs->Clone() : nullptr;
        return *this;
    }
    ZuParagraphRun& operator=(ZuParagraphRun&&) = default;

    static ZuParagraphRun Default(std::uint32_t at) { return {at, nullptr}; }
    bool SameValue(const ZuParagraphRun& other) const { return !tabs && !other.tabs; }
};

inline constexpr std::uint32_t ZuMaxLineLength = 65500;
inline constexpr std::uint32_t ZuDefaultBlockSize = 4096;

enum ZuLineEndMode : int {
    ZuCrLfText = 0, // a line ends after CR LF; a lone CR or LF is text
    ZuLfText = 1,   // a line ends after each LF, stored as CR LF
};

class ZuTextBlock {
public:
    ZuTextBlock();
    ZuTextBlock(const ZuTextBlock&) = default; // copies every table, clones every tab set
    ZuTextBlock& operator=(const ZuTextBlock&) = default;

    // Line queries; lines are block-relative and 0-based.
    std::uint32_t Length() const { return std::uint32_t(text.size()); }
    std::uint32_t LineCount(int pane) const { return std::uint32_t(lines[pane].size()); }
    std::uint32_t LineStart(int pane, std::uint32_t line) const { return lines[pane][line].start; }
    std::uint32_t LineEnd(int pane, std::uint32_t line) const; // the next line's start
    std::uint32_t LineLength(int pane, std::uint32_t line) const; // without its CR LF
    std::uint32_t LineLengthWithEnd(int pane, std::uint32_t line) const;
    const char* LineText(int pane, std::uint32_t line) const { return text.data() + LineStart(pane, line); }
    bool EndsParagraph(int pane, std::uint32_t line) const;
    std::uint32_t LineFlags(int pane, std::uint32_t line) const { return lines[pane][line].flags; }
    // The column is clamped to the line's length; a line past the last gives the length.
    std::uint32_t OffsetOf(int pane, std::uint32_t column, std::uint32_t line) const;
    ZuTextPosition PositionOf(int pane, std::uint32_t offset) const; // (column, line)
    std::uint32_t LineOf(int pane, std::uint32_t offset) const;

    // Appends bytes cut into lines (used for loading and building fragments).
    // tailMode -1 leaves an unterminated tail to the caller. Gathering stops
    // before a line that would take the block past min(length + size, limit),
    // except that a block without lines always takes its first line.
    ZuErr InsertText(std::uint32_t& taken, const char* bytes, std::uint32_t size, int lfMode, int tailMode,
                     std::uint32_t limit);
    ZuErr InsertEmptyLines(std::uint32_t n);
    ZuErr InsertSpaces(std::uint32_t n);
    ZuErr SetParagraphEnd(int pane, std::uint32_t line, bool on);

    // Replaces bytes [from, to) with `insertion` (its text and runs; null:
    // nothing inserted). The line tables are rebuilt from the bytes, keeping
    // soft line starts that still fall inside paragraphs; every CR LF ends a
    // paragraph, wherever the edit made it. With `keepFinalLine` a text that
    // ends with CR LF keeps an empty line after it. Refused with 0x7004 and the
    // block unchanged when a line would exceed 65,500 bytes.
    // finalLine -1 keeps the block's own choice. `inheritRuns`: the inserted
    // bytes take the formats in force where they go.
    ZuErr Replace(std::uint32_t from, std::uint32_t to, const ZuTextBlock* insertion, int finalLine = -1,
                  bool inheritRuns = false);
    ZuErr InsertBytes(std::uint32_t at, std::string_view bytes, int finalLine = -1);
    ZuErr RemoveRange(std::uint32_t from, std::uint32_t to, int finalLine = -1);
    // What a range of one pane covers: bytes for a stream or line range, the
    // covered columns of every covered line for a column range.
    ZuErr RemoveRangeOf(int pane, const ZuTextRange& range);
    // True when the text ends with CR LF followed by an empty last line.
    bool HasFinalLine() const { return !text.empty() && lines[0].back().start == Length(); }
    // Both panes' lines made afresh from the bytes: one line per paragraph.
    void RebuildLinesFromText(bool finalLine);
    // A piece [from, to) of this block built in one pass (no line-length check:
    // pieces of valid text are valid).
    ZuTextBlock Piece(std::uint32_t from, std::uint32_t to, bool finalLine) const;
    ZuTextBlock CopyOut(std::uint32_t from, std::uint32_t to) const;
    ZuTextBlock MoveOut(std::uint32_t from, std::uint32_t to);
    ZuErr Join(const ZuTextBlock& other);

    // Splitting a block over `size` bytes at paragraph boundaries: 0 when none applies.
    std::uint32_t SplitPoint(std::uint32_t size) const { return SplitPointBefore(Length(), size); }
    std::uint32_t SplitPointBefore(std::uint32_t end, std::uint32_t size) const; // of the bytes [0, end)
    std::uint32_t LastParagraphStart() const;
    // Where an oversized block is cut: once at its last paragraph, then the front
    // again and again by the excess. Empty when no split applies.
    std::vector<std::uint32_t> SplitPoints(std::uint32_t size) const;

    // Formats over a range of one pane (block-relative lines).
    ZuErr ApplyCharFormat(ZuFontTable& fonts, int attribute, int pane, const ZuTextRange& range,
                          const ZuAttributeValue& value);
    ZuAttributeValue QueryCharFormat(const ZuFontTable& fonts, int attribute, int pane,
                                            const ZuTextRange& range, bool& mixed) const;
    ZuErr ApplyColor(int which, int pane, const ZuTextRange& range, std::uint32_t color);
    // ZuNoColor for a range of mixed colours; `paneColor` stands in for runs without their own.
    std::uint32_t QueryColor(int which, int pane, const ZuTextRange& range, std::uint32_t paneColor) const;

    // The same over bytes [a, b) of this block.
    ZuErr ApplyCharFormatSpan(ZuFontTable& fonts, int attribute, std::uint32_t a, std::uint32_t b,
                              const ZuAttributeValue& value);
    ZuAttributeValue QueryCharFormatSpan(const ZuFontTable& fonts, int attribute, std::uint32_t a, std::uint32_t b,
                                         bool& mixed) const;
    ZuAttributeValue FontAttributeAt(const ZuFontTable& fonts, int attribute, std::uint32_t at) const;
    void ApplyColorSpan(int which, std::uint32_t a, std::uint32_t b, std::uint32_t color);
    std::uint32_t QueryColorSpan(int which, std::uint32_t a, std::uint32_t b, std::uint32_t paneColor) const;

    // Soft wrapping of one pane inside this block (needs its owning document for
    // fonts and tab stops). The request's first and last lines are block lines
    // counted from 0; lines changed add to it, and the first changed line is
    // given as a pane line (lineOffset + block line + 1). `stopped` tells that
    // an unchanged paragraph past the stop line ended the pass.
    ZuErr WrapLines(ZuWrapRequest& request, int pane, bool* stopped = nullptr);
    ZuErr UnwrapLines(ZuWrapRequest& request, int pane);
    // The tab set of the paragraph starting at an offset: its own, else the document's default.
    const ZuTabSet& TabSetAt(std::uint32_t paragraphStart) const;

    void ClearLayout();
    void ClearLayoutOf(std::uint32_t a, std::uint32_t b);

    // Measuring and painting one line of a pane (needs the owning document).
    // The x of each column from the line's left edge, with the tab stops'
    // alignments: xs[c] for c in [0, length]; xs.back() is the line's width.
    ZuLineMetrics LineMetrics(int pane, std::uint32_t line) const;
    std::int32_t LineHeight(int pane, std::uint32_t line) const { return LineMetrics(pane, line).Height(); }
    void MeasureLine(int pane, std::uint32_t line, std::vector<std::int32_t>& xs) const;
    std::int32_t PositionToX(int pane, std::uint32_t line, std::uint32_t column) const;
    // The column a pixel x selects: after the character under x when x lies
    // strictly nearer its right edge.
    std::uint32_t XToPosition(int pane, std::uint32_t line, std::int32_t x) const;
    // The width of the character at a column; past the end, the default tab width.
    std::int32_t CharWidthAt(int pane, std::uint32_t line, std::uint32_t column) const;
    // Paints columns [from, to) of a line measured into xs.
    void PaintLine(ZuPaintState& state, int pane, std::uint32_t line, std::uint32_t from, std::uint32_t to,
                   const std::vector<std::int32_t>& xs) const;

    std::string text;
    ZuLineTable lines[2];
    ZuRunTable<ZuColorRun> colors;
    ZuRunTable<ZuFontRun> fonts;
    ZuRunTable<ZuParagraphRun> paragraphs;
    ZuTextDocument* owner = nullptr;

private:
    // The byte spans of this block a range covers, for one pane.
    template <typename F> void ForEachSpan(int pane, const ZuTextRange& range, F&& f) const;
    struct Mapped {
        std::uint32_t pos;
        bool soft;
        ZuLineEntry entry;
    };
    static void RebuildLines(const std::string& text, const std::vector<Mapped>& mapped, bool finalLine,
                             ZuLineTable& out);
    static bool ScanLineLengths(const std::string& text);
    ZuErr Rewrap(ZuWrapRequest& request, int pane, bool unwrap, bool* stopped);
    bool IsParagraphStart(std::uint32_t offset) const;
};

bool ZuIsBlank(char c);

template <typename F> inline void ZuTextBlock::ForEachSpan(int pane, const ZuTextRange& range, F&& f) const
{
    if (range.type == ZuRangeLine) {
        const std::uint32_t low = std::min(range.LowestLine(), LineCount(pane));
        const std::uint32_t high = range.HighestLine();
        const std::uint32_t a = low < LineCount(pane) ? LineStart(pane, low) : Length();
        const std::uint32_t b = high < LineCount(pane) ? LineEnd(pane, high) : Length();
        if (b > a)
            f(a, b);
    } else if (range.type == ZuRangeColumn) {
        const std::uint32_t high = std::min(range.HighestLine() + 1, LineCount(pane));
        for (std::uint32_t line = range.LowestLine(); line < high; ++line) {
            const std::uint32_t a = OffsetOf(pane, range.SmallestX(), line);
            const std::uint32_t b = OffsetOf(pane, range.LargestX(), line);
            if (b > a)
                f(a, b);
        }
    } else {
        const ZuTextPosition first = range.First();
        const ZuTextPosition last = range.Last();
        const std::uint32_t a = OffsetOf(pane, first.x, first.y);
        const std::uint32_t b = OffsetOf(pane, last.x, last.y);
        if (b > a)
            f(a, b);
    }
}

