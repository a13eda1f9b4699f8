#include "editctl/engine/ZuClipboard.h"

#include "editctl/engine/ZuGlobalOutStream.h"
#include "editctl/engine/ZuMemoryInStream.h"
#include "editctl/engine/ZuRemovalUndoAction.h"
#include "editctl/engine/ZuTextDocument.h"

#include <algorithm>

namespace {

void PutU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetU32(const std::string& in, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(in[at + std::size_t(i)]);
    return v;
}

// Closes a clipboard on every way out.
struct OpenClipboard {
    explicit OpenClipboard(ZuClipboard& c) : clipboard(c) {}
    ~OpenClipboard() { clipboard.Close(); }
    ZuClipboard& clipboard;
};

// The record of a saved range, measured on the text it gave.
ZuClipRange RecordOf(const ZuTextRange& range, const std::string& text)
{
    ZuClipRange record;
    if (range.type == ZuRangeColumn) {
        record.type = ZuRangeColumn;
        record.endX = range.LargestX() - range.SmallestX();
        record.endY = range.HighestLine() - range.LowestLine();
        return record;
    }
    std::uint32_t breaks = 0;
    std::size_t lastBreak = std::string::npos;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\r' && text[i + 1] == '\n')
            ++breaks, lastBreak = i + 2;
    if (range.type == ZuRangeLine) {
        record.type = ZuRangeLine;
        record.endX = 1;
        record.endY = range.HighestLine() - range.LowestLine() + 1;
        return record;
    }
    record.endX = std::uint32_t(lastBreak == std::string::npos ? text.size() : text.size() - lastBreak);
    record.endY = breaks;
    return record;
}

} // namespace

bool ZuSameClipFormat(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

std::string ZuEncodeClipRange(const ZuClipRange& record)
{
    std::string out(4, '\0');
    out[0] = static_cast<char>(record.type);
    PutU32(out, record.startX);
    PutU32(out, record.startY);
    PutU32(out, record.endX);
    PutU32(out, record.endY);
    return out;
}

std::optional<ZuClipRange> ZuDecodeClipRange(const std::string* data)
{
    if (!data || data->size() < ZuClipRangeSize)
        return std::nullopt;
    ZuClipRange record;
    record.type = static_cast<std::uint8_t>((*data)[0]);
    if (record.type < ZuRangeStream || record.type > ZuRangeColumn)
        return std::nullopt;
    record.startX = GetU32(*data, 4);
    record.startY = GetU32(*data, 8);
    record.endX = GetU32(*data, 12);
    record.endY = GetU32(*data, 16);
    return record;
}

ZuErr ZuCopyRange(const ZuTextDocument& document, int pane, const ZuTextRange& range, ZuClipboard& clipboard,
                  const void* owner)
{
    if (range.type == ZuRangeNone || (range.type != ZuRangeLine && range.IsEmpty()))
        return ZuOk;
    // Everything is made before the clipboard changes, then set in one go.
    ZuGlobalOutStream plain;
    if (const ZuErr error = document.Save(pane, range, plain, ZuTextDos, false))
        return error;
    // Whole lines go with their last line break, so that they paste as lines
    // before the line they land on, here and in other programs.
    if (range.type == ZuRangeLine && !plain.Data().ends_with("\r\n"))
        plain.Write("\r\n", 2);
    // Without RTF the text still goes whole, in plain text and the record.
    ZuGlobalOutStream rtf;
    const bool withRtf = document.Save(pane, range, rtf, ZuTextRtf, false) == ZuOk;
    const ZuClipRange record = RecordOf(range, plain.Data());
    if (const ZuErr error = clipboard.Open(owner))
        return error;
    OpenClipboard closing(clipboard);
    clipboard.Empty();
    if (const ZuErr error = clipboard.Set(ZuClipTextFormat, plain.Detach()))
        return error;
    if (withRtf)
        if (const ZuErr error = clipboard.Set(ZuClipRtfFormat, rtf.Detach()))
            return error;
    return clipboard.Set(ZuClipRangeFormat, ZuEncodeClipRange(record));
}

ZuErr ZuReadClipboard(ZuClipboard& clipboard, const void* owner, const ZuTextDocument& like, ZuClipContent& content)
{
    content = ZuClipContent();
    if (const ZuErr error = clipboard.Open(owner))
        return error;
    OpenClipboard closing(clipboard);
    const std::string* rtf = clipboard.Get(ZuClipRtfFormat);
    const std::string* text = clipboard.Get(ZuClipTextFormat);
    std::unique_ptr<ZuTextDocument> fragment = ZuNewFragment(like);
    int type = ZuTextDetect;
    bool loaded = false;
    if (rtf) {
        // Read by its size: the data need not end with a NUL.
        ZuMemoryInStream stream(rtf->data(), rtf->size());
        type = ZuTextRtf;
        loaded = fragment->Load(stream, type, false) == ZuOk;
        content.rtf = loaded;
    }
    // Plain text stands in for RTF the reader refuses; RTF that is no RTF at
    // all is read as plain text when nothing else is there.
    const std::string* plain = text ? text : (!loaded ? rtf : nullptr);
    if (!loaded && plain) {
        fragment->Clear();
        ZuMemoryInStream stream(plain->data(), plain->size());
        type = ZuTextDetect;
        if (const ZuErr error = fragment->LoadPlainText(stream, type, false))
            return error;
        loaded = true;
    }
    if (!loaded || fragment->ByteCount() == 0)
        return ZuOk;

    const std::optional<ZuClipRange> record = ZuDecodeClipRange(clipboard.Get(ZuClipRangeFormat));
    const std::uint8_t rangeType = record ? record->type : std::uint8_t(ZuRangeStream);
    if (rangeType == ZuRangeLine && !fragment->Text().ends_with("\r\n"))
        if (const ZuErr error = fragment->InsertTextAt(fragment->ByteCount(), "\r\n"))
            return error;
    const std::uint32_t lines = fragment->LineCount(0);
    if (rangeType == ZuRangeColumn) {
        std::uint32_t width = 0;
        for (std::uint32_t line = 1; line <= lines; ++line)
            width = std::max(width, fragment->LineLength(0, line));
        if (record->endX >= width && record->endX <= ZuEndOfLine)
            width = record->endX;
        content.range.InitXY(0, 0, width, lines - 1, ZuRangeColumn);
    } else if (rangeType == ZuRangeLine) {
        content.range.InitXY(0, 0, 0, lines - 1, ZuRangeLine);
    } else {
        content.range.InitXY(0, 0, fragment->LineLength(0, lines), lines - 1, ZuRangeStream);
    }
    content.text = std::move(fragment);
    return ZuOk;
}

ZuErr ZuTakeFormatAt(const ZuTextDocument& document, int pane, ZuTextPosition at, ZuTextDocument& fragment)
{
    if (fragment.ByteCount() == 0)
        return ZuOk;
    const ZuTextRange here(at, at, ZuRangeStream);
    const ZuTextRange whole = ZuStreamRangeOf(fragment, 0, 0, fragment.ByteCount());
    for (int attribute = ZuAttrBold; attribute <= ZuAttrSize; ++attribute) {
        const ZuAttributeValue value = document.QueryCharFormat(attribute, pane, here);
        if (value.isNull)
            continue;
        if (const ZuErr error = fragment.ApplyCharFormat(attribute, 0, whole, value))
            return error;
    }
    for (const int slot : {ZuColorTextFore, ZuColorTextBack}) {
        const std::uint32_t color = document.QueryColor(slot, pane, here);
        if (color == ZuNoColor || color == document.PaneColor(pane, slot))
            continue;
        if (const ZuErr error = fragment.ApplyColor(slot, 0, whole, color))
            return error;
    }
    return ZuOk;
}
