#pragma once
// The whole text of one control: an ordered list of blocks, the fonts and tab
// sets they refer to, the per-pane colours, the bookmarks, and per pane a cache
// that turns line numbers and byte offsets into blocks. Both panes show the
// same bytes; each numbers its lines after its own wrapping.
//
// Lines are 1-based per pane (0 is taken as 1); columns and offsets are 0-based
// bytes, CR LF counting two. Every edit replaces bytes of at most the blocks it
// touches, then splits the result at paragraph boundaries to the block size; it
// refuses a line longer than 65,500 bytes and changes nothing when it fails.
// After every edit the document ends with an unterminated (possibly empty) line.

#include "editctl/engine/ZuBookmarkTable.h"
#include "editctl/engine/ZuFontTable.h"
#include "editctl/engine/ZuPaneLineCache.h"
#include "editctl/engine/ZuStream.h"
#include "editctl/engine/ZuTabSet.h"
#include "editctl/engine/ZuTextBlock.h"
#include "editctl/engine/ZuWrapRequest.h"

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

struct ZuRtfContent;

// Text types of loading and saving.
enum ZuTextType : int {
    ZuTextDetect = 0,
    ZuTextDos = 1,  // lines end with CR LF
    ZuTextUnix = 2, // lines end with LF
    ZuTextRtf = 3,
};
// Whole text, as a save range type.
inline constexpr std::uint8_t ZuRangeWhole = 4;

// Colour slots of a pane the engine itself reads.
inline constexpr int ZuColorTextBack = 6;
inline constexpr int ZuColorTextFore = 7;

class ZuTextDocument {
public:
    // A null provider measures every byte 8 px wide.
    explicit ZuTextDocument(ZuMetricsProvider* provider = nullptr, std::uint32_t blockSize = ZuDefaultBlockSize);
    ZuTextDocument(const ZuTextDocument&) = delete;
    ZuTextDocument& operator=(const ZuTextDocument&) = delete;
    virtual ~ZuTextDocument();

    std::uint32_t BlockSize() const { return blockSize_; }
    std::size_t BlockCount() const { return blocks_.size(); }
    const ZuTextBlock& Block(std::size_t i) const { return *blocks_[i]; }
    ZuFontTable& Fonts() { return *fonts_; }
    const ZuFontTable& Fonts() const { return *fonts_; }
    // Renumbers every font run to the indexes of another table (0x7006 when it lacks a font).
    ZuErr RemapFonts(const ZuFontTable& other);
    // Takes a table that holds at least as many fonts; gives back the old one (null: refused).
    std::unique_ptr<ZuFontTable> ReplaceFontTable(std::unique_ptr<ZuFontTable> table);
    ZuTabSet& DefaultTabSet() { return defaultTabs_; }
    const ZuTabSet& DefaultTabSet() const { return defaultTabs_; }

    std::uint32_t LineCount(int pane) const { return lineCount_[pane]; }
    // Grows with every change of the text or its formats (not with wrapping):
    // the control's modified state compares it.
    std::uint64_t EditCount() const { return editCount_; }
    std::uint64_t ByteCount() const { return byteCount_; }
    std::string Text() const;
    std::string LineText(int pane, std::uint32_t line) const; // without its CR LF
    std::uint32_t LineLength(int pane, std::uint32_t line) const;
    bool EndsParagraph(int pane, std::uint32_t line) const;

    struct ZuBlockPlace {
        std::size_t block = 0;
        std::uint32_t line = 0;   // in-block line
        std::uint32_t offset = 0; // in-block offset
    };
    ZuBlockPlace FindBlock(int pane, std::uint32_t line) const;
    ZuBlockPlace FindBlockByOffset(int pane, std::uint64_t offset) const;
    std::uint64_t PositionToOffset(int pane, ZuTextPosition position) const;
    ZuTextPosition OffsetToPosition(int pane, std::uint64_t offset) const;
    // Before a fragment goes in: refuses one that would make too many lines,
    // adds its fonts to ours and maps its font indices onto ours.
    ZuErr TakeFragmentFonts(const ZuTextDocument& fragment, std::vector<std::uint32_t>& map);
    // The bytes a stream, line or whole range covers, as offsets (first <= second).
    std::pair<std::uint64_t, std::uint64_t> SpanOf(int pane, const ZuTextRange& range) const;

    // 0 for CR LF text (an LF preceded by a CR is found), else 1.
    static int DetectLineEnds(const char* bytes, std::size_t size);
    // Loading: fills new blocks to the block size; returns the bytes taken in `taken`.
    ZuErr AppendText(std::uint64_t& taken, const char* bytes, std::size_t size, int lfMode, int tailMode);
    void EnsureBlock();
    void EnsureFinalLine();
    void Clear();

    // Loading replaces the text with what the stream holds from its position
    // on. RTF is tried only for data that starts with "{\\rtf" (after an
    // optional UTF-8 byte-order mark): with type 0 anything else is plain text.
    // `type` comes back as the type found (1, 2 or 3). `convert`: the bytes are
    // OEM text. Data of 2^31 bytes or more is refused (0x7000) before reading.
    ZuErr Load(ZuInStream& stream, int& type, bool convert);
    ZuErr LoadPlainText(ZuInStream& stream, int& type, bool convert);
    ZuErr LoadRtf(ZuInStream& stream);
    // Saves a range of a pane (range type 1 stream, 2 lines, 3 column, 4 whole
    // text): types 1 and 2 as plain text with CR LF or LF line ends, 0 and 3 as RTF.
    ZuErr Save(int pane, const ZuTextRange& range, ZuOutStream& stream, int type, bool convert) const;
    ZuErr SavePlainText(int pane, const ZuTextRange& range, ZuOutStream& stream, int type, bool convert) const;
    ZuErr SaveRtf(ZuOutStream& stream, int pane, const ZuTextRange& range) const;
    // True when the stream's data from its position on starts as RTF; the position stays.
    static bool LooksLikeRtf(ZuInStream& stream);

    // Edits.
    ZuErr InsertText(int pane, ZuTextPosition at, std::string_view bytes); // takes the formats in force there
    ZuErr RemoveCharAt(int pane, std::uint32_t column, std::uint32_t line);
    // Removes what a range covers; with a fragment, the removed text and its
    // formats move into it. A line range ending at the last line takes the line
    // break before it too, so no empty line is left dangling.
    ZuErr RemoveRange(ZuTextDocument* fragment, int pane, const ZuTextRange& range);
    // Inserts a fragment's text and formats at the range's first position, as a
    // stream or, for a column range, as a column block; the fragment is emptied.
    ZuErr InsertFragment(int pane, const ZuTextRange& range, ZuTextDocument& fragment);
    ZuErr SetParagraphEnd(int pane, std::uint32_t line, bool on);
    // The same by byte offsets, which reach every byte (also the one between a
    // CR and its LF, which has no position of its own): undo works on these.
    ZuErr InsertTextAt(std::uint64_t offset, std::string_view bytes);
    ZuErr RemoveBytes(ZuTextDocument* fragment, std::uint64_t from, std::uint64_t to);
    ZuErr InsertFragmentAt(std::uint64_t offset, ZuTextDocument& fragment);

    // Formats over a range (type stream, line or column).
    ZuErr ApplyCharFormat(int attribute, int pane, const ZuTextRange& range, const ZuAttributeValue& value);
    // Mixed: 1 for the flags, null for face name and size.
    ZuAttributeValue QueryCharFormat(int attribute, int pane, const ZuTextRange& range) const;
    // which 7: fore colour, otherwise back colour.
    ZuErr ApplyColor(int which, int pane, const ZuTextRange& range, std::uint32_t color);
    std::uint32_t QueryColor(int which, int pane, const ZuTextRange& range) const; // ZuNoColor when mixed
    std::uint32_t PaneColor(int pane, int slot) const { return paneColors_[pane][std::size_t(slot)]; }
    std::uint32_t SetPaneColor(int pane, int slot, std::uint32_t color);

    // Tab stops of the paragraph holding a document offset (pane 0).
    const ZuTabSet& ParagraphTabSet(std::uint64_t offset) const;
    ZuErr SetParagraphTabSet(std::uint64_t offset, std::unique_ptr<ZuTabSet> tabs);
    // The last line of the paragraph that holds a line of a pane.
    std::uint32_t ParagraphEndLine(int pane, std::uint32_t line) const;
    // The x of the next / previous tab stop from a position, in its paragraph's tab set.
    std::int32_t NextTabX(int pane, ZuTextPosition position) const;
    std::int32_t PreviousTabX(int pane, ZuTextPosition position) const;
    std::int32_t AverageCharWidth() const { return fonts_->DefaultFont().Metrics().averageWidth; }

    // Bookmarks; i is 0-based and clamped to the last one.
    std::uint32_t BookmarkCount() const { return bookmarks_.Count(); }
    void SetBookmarkCount(std::uint32_t n) { bookmarks_.SetCount(n); }
    const std::string* BookmarkName(std::uint32_t i) const;
    void SetBookmarkName(std::uint32_t i, std::string text);
    std::int64_t BookmarkOffset(std::uint32_t i) const;
    void SetBookmarkOffset(std::uint32_t i, std::int64_t value);
    ZuTextPosition BookmarkPosition(std::uint32_t i) const;

    // Word breaks (a word is a run of bytes that are not blanks). The callback,
    // when set, is asked first; a break that does not move forward or lies
    // outside the document is replaced by the default rule.
    using WordBreakCallback = std::function<bool(int pane, ZuTextPosition from, ZuTextPosition& result)>;
    void SetWordBreakCallback(WordBreakCallback callback) { wordBreak_ = std::move(callback); }
    virtual ZuTextPosition NextWordBreak(int pane, std::uint32_t line, std::uint32_t column);
    ZuTextPosition PreviousWordBreak(int pane, std::uint32_t line, std::uint32_t column);

    // Soft wrapping of one pane.
    ZuErr WrapLines(ZuWrapRequest& request, int pane);
    ZuErr UnwrapLines(ZuWrapRequest& request, int pane);
    // Each length is the distance from a line's start to the next line's start.
    // Refused with 0x700A, nothing changed, when the lengths do not fit the text.
    ZuErr RestoreLineLengths(int pane, std::uint32_t firstLine, const std::vector<std::uint32_t>& lengths);
    // The x of a column of a line, in pixels from the line's left edge.
    std::int32_t XOfColumn(int pane, std::uint32_t line, std::uint32_t column) const;
    // The largest line width over lines first..last of a pane.
    std::int32_t WidestLine(int pane, std::uint32_t first, std::uint32_t last) const;
    void ClearLayout();

    // Checks the caches and block structure against the blocks (for tests): "" when
    // sound. A fragment need not end with an open line.
    std::string CheckStructure(bool endsWithOpenLine = true) const;

private:
    // Appends what the RTF reader found, setting the runs of the new blocks.
    ZuErr AppendRtfContent(ZuRtfContent& content);
    ZuErr Splice(std::uint64_t from, std::uint64_t to, const ZuTextBlock* insertion, bool inherit,
                 ZuTextBlock* removed);
    void ReplaceBlocks(std::size_t first, std::size_t last, std::vector<std::unique_ptr<ZuTextBlock>> pieces);
    std::vector<std::unique_ptr<ZuTextBlock>> Cut(const ZuTextBlock& block, bool last) const;
    void RecountBlock(std::size_t k, const std::uint32_t before[2]);
    void UpdateBookmarkPositions();
    std::uint64_t LineStartOffset(int pane, std::uint32_t line) const;
    ZuErr RemoveStream(ZuTextDocument* fragment, std::uint64_t from, std::uint64_t to);
    ZuErr InsertColumn(int pane, const ZuTextRange& range, ZuTextDocument& fragment,
                       const std::vector<std::uint32_t>& fontMap);
    ZuTextBlock Joined(const std::vector<std::uint32_t>& fontMap) const;
    static ZuTextBlock JoinedBlocks(const std::vector<const ZuTextBlock*>& parts,
                                    const std::vector<std::uint32_t>& fontMap);
    // Large edits move whole blocks between a document and a fragment instead of
    // copying their bytes through one block: true when the edit was done so.
    bool RemoveMovingBlocks(ZuTextDocument& fragment, std::uint64_t from, std::uint64_t to, ZuErr& error);
    bool InsertMovingBlocks(ZuTextDocument& fragment, std::uint64_t offset, const std::vector<std::uint32_t>& fontMap,
                            ZuErr& error);
    void InsertBlocks(std::size_t at, std::vector<std::unique_ptr<ZuTextBlock>> pieces);
    void FillFrom(ZuTextBlock&& removed);
    // The byte spans [from, to) of the document a range of a pane covers.
    ZuErr Spans(int pane, const ZuTextRange& range, std::vector<std::pair<std::uint64_t, std::uint64_t>>& spans,
                bool forRemoval = true) const;
    // Calls f(block, from, to) for the block-relative pieces of a document span.
    template <typename F> void ForEachBlockSpan(std::uint64_t from, std::uint64_t to, F&& f) const;
    std::int32_t MeasureX(const ZuTextBlock& block, std::uint32_t from, std::uint32_t to) const;
    const ZuTabSet& TabSetIn(const ZuTextBlock& block, std::uint32_t paragraphStart) const;
    std::uint32_t ParagraphStartIn(const ZuTextBlock& block, std::uint32_t offset) const;
    ZuErr WrapBlockLines(std::size_t k, std::uint64_t linesBefore, ZuWrapRequest& request, int pane,
                         std::uint32_t first, std::int64_t last, bool unwrap, bool* stopped);
    std::uint64_t DefaultNextBreak(std::uint64_t offset) const;
    std::int64_t DefaultPreviousBreak(std::uint64_t offset) const;
    bool IsBreak(std::uint64_t offset) const;
    char ByteAt(std::uint64_t offset) const;

    std::unique_ptr<ZuMetricsProvider> ownProvider_;
    std::uint32_t blockSize_;
    std::unique_ptr<ZuFontTable> fonts_;
    ZuTabSet defaultTabs_;
    std::array<std::array<std::uint32_t, 12>, 2> paneColors_;
    std::vector<std::unique_ptr<ZuTextBlock>> blocks_;
    ZuPaneLineCache cache_;
    std::uint32_t lineCount_[2] = {0, 0};
    std::uint64_t byteCount_ = 0;
    std::uint64_t editCount_ = 0;
    ZuBookmarkTable bookmarks_;
    WordBreakCallback wordBreak_;
};
