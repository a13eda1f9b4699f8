#pragma once
// What every clipboard content must give the editor control, whatever its
// bytes: no crash, a range that fits the text read, and a document that stays
// sound when the text is inserted the way the range says. Shared by the fuzz
// target and the bounded mutation run of the tests.
//
// Input: one byte of flags (1 text, 2 RTF, 4 range record), then the formats
// present in that order, each but the last preceded by its length in one byte.

#include "editctl/engine/ZuClipboard.h"
#include "editctl/engine/ZuPrivateClipboard.h"
#include "editctl/engine/ZuRemovalUndoAction.h"
#include "editctl/engine/ZuTextDocument.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

namespace zuclipfuzz {

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "clipboard reader: %s\n", what);
        std::abort();
    }
}

inline void CheckInput(const char* data, std::size_t size)
{
    if (size == 0)
        return;
    const unsigned flags = static_cast<unsigned char>(data[0]);
    std::size_t at = 1;
    ZuPrivateClipboard clipboard;
    const std::string_view formats[] = {ZuClipTextFormat, ZuClipRtfFormat, ZuClipRangeFormat};
    int present = 0;
    for (int i = 0; i < 3; ++i)
        present += (flags >> i) & 1;
    for (int i = 0; i < 3; ++i) {
        if (!((flags >> i) & 1))
            continue;
        std::size_t n = size - at;
        if (--present > 0 && at < size) {
            const std::size_t length = static_cast<unsigned char>(data[at]);
            ++at;
            n = std::min(length, size - at);
        }
        clipboard.Set(formats[i], std::string(data + at, n));
        at += n;
    }

    ZuFixedMetrics metrics(7);
    ZuTextDocument document(&metrics, 16);
    const std::string text = "first line\r\nsecond\r\n\r\nlast";
    std::uint64_t taken = 0;
    document.AppendText(taken, text.data(), text.size(), ZuCrLfText, 0);
    document.EnsureBlock();
    document.EnsureFinalLine();

    const int owner = 0;
    ZuClipContent content;
    const ZuErr error = ZuReadClipboard(clipboard, &owner, document, content);
    Require(!clipboard.IsOpen(), "clipboard left open");
    if (error != ZuOk || !content.text) {
        Require(!content.text, "text with an error");
        return;
    }
    const ZuTextDocument& fragment = *content.text;
    const std::uint32_t lines = fragment.LineCount(0);
    Require(fragment.ByteCount() > 0 && lines > 0, "empty text given");
    Require(content.range.type >= ZuRangeStream && content.range.type <= ZuRangeColumn, "range type");
    Require(content.range.start == ZuTextPosition{}, "range start");
    Require(content.range.end.y == lines - 1, "range lines");
    if (content.range.type == ZuRangeColumn)
        Require(content.range.end.x <= ZuEndOfLine, "column width");
    Require(fragment.CheckStructure().empty(), "fragment structure");

    // Inserted where the range says, at column 3 of line 2.
    ZuTextRange where = content.range;
    where.start = {3, 2};
    where.end = {3 + content.range.end.x, 2 + content.range.end.y};
    const std::uint64_t before = document.ByteCount();
    if (document.InsertFragment(0, where, *content.text) == ZuOk)
        Require(document.ByteCount() >= before, "insertion lost bytes");
    else
        Require(document.ByteCount() == before, "failed insertion changed the text");
    Require(document.CheckStructure().empty(), "document structure");
}

} // namespace zuclipfuzz
