#pragma once
// Text leaves and enters a pane through one clipboard interface: the system
// clipboard for copy, cut and paste, an in-process one for drag and drop.
// Copied text travels in three formats at once: plain text (CR LF lines),
// RTF, and a range record that tells the receiver whether the text is a
// stream, line or column block.
//
// Clipboard data is untrusted: a range record is used only when it has its
// full size and a known type, and its extents are taken from the text itself
// (a column width only when it fits a line); RTF is read by its size, never up
// to a NUL.

#include "editctl/engine/ZuErrors.h"
#include "editctl/engine/ZuTextRange.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class ZuTextDocument;

// Format names; the system compares them without regard to case.
inline constexpr std::string_view ZuClipTextFormat = "TEXT"; // bytes in the control's code page
inline constexpr std::string_view ZuClipRtfFormat = "RICH TEXT FORMAT";
inline constexpr std::string_view ZuClipRangeFormat = "VBEDITOR_TEXT";
bool ZuSameClipFormat(std::string_view a, std::string_view b);

class ZuClipboard {
public:
    virtual ~ZuClipboard() = default;
    // 0x700E when another owner holds it.
    virtual ZuErr Open(const void* owner) = 0;
    virtual void Close() = 0;
    // The data of a format, null when there is none; valid until Close.
    virtual const std::string* Get(std::string_view format) = 0;
    virtual ZuErr Set(std::string_view format, std::string data) = 0;
    virtual const void* Owner() const = 0;
    virtual void Empty() = 0;
};

// The range record ("VBEDITOR_TEXT"): 20 bytes, little-endian: the range type
// (1 stream, 2 line, 3 column), three zero bytes, then start column, start line,
// end column and end line, measured on the copied text.
struct ZuClipRange {
    std::uint8_t type = ZuRangeStream;
    std::uint32_t startX = 0;
    std::uint32_t startY = 0;
    std::uint32_t endX = 0;
    std::uint32_t endY = 0;
};
inline constexpr std::size_t ZuClipRangeSize = 20;
std::string ZuEncodeClipRange(const ZuClipRange& record);
// Empty when the data is too short or of a type other than 1 to 3.
std::optional<ZuClipRange> ZuDecodeClipRange(const std::string* data);

// Puts a range of a pane on a clipboard in all three formats at once; an empty
// range puts nothing. On failure the clipboard keeps what it held. A range the
// RTF writer refuses goes as plain text and record alone.
ZuErr ZuCopyRange(const ZuTextDocument& document, int pane, const ZuTextRange& range, ZuClipboard& clipboard,
                  const void* owner);

// What a clipboard holds, ready to insert: the text as a fragment (fonts and
// measuring of the document it goes into), the range it covers from (0, 0)
// in its type, and whether it came as RTF (else it takes the format in force
// where it goes).
struct ZuClipContent {
    std::unique_ptr<ZuTextDocument> text;
    ZuTextRange range;
    bool rtf = false;
};
// Nothing on the clipboard leaves `content.text` null.
ZuErr ZuReadClipboard(ZuClipboard& clipboard, const void* owner, const ZuTextDocument& like, ZuClipContent& content);
// Gives a fragment the character format and colours in force at a position of a document.
ZuErr ZuTakeFormatAt(const ZuTextDocument& document, int pane, ZuTextPosition at, ZuTextDocument& fragment);
