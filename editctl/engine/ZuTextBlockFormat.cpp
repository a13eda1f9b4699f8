// ZuTextBlock: character formats and colours over ranges.

#include "editctl/engine/ZuTextBlock.h"

#include <algorithm>

namespace {

// Cuts a run table at the span's ends and calls f on every run inside the span;
// a failure puts the table back as it was.
template <typename Run, typename F>
ZuErr ApplyToSpan(ZuRunTable<Run>& table, std::uint32_t a, std::uint32_t b, std::uint32_t length, F&& f)
{
    if (b <= a)
        return ZuOk;
    table.SplitAt(a);
    if (b < length)
        table.SplitAt(b);
    for (Run& run : table.runs) {
        if (run.start >= a && run.start < b)
            if (const ZuErr error = f(run))
                return error;
    }
    return ZuOk;
}

} // namespace

ZuErr ZuTextBlock::ApplyCharFormatSpan(ZuFontTable& table, int attribute, std::uint32_t a, std::uint32_t b,
                                       const ZuAttributeValue& value)
{
    const ZuErr result = ApplyToSpan(fonts, a, std::min(b, Length()), Length(), [&](ZuFontRun& run) -> ZuErr {
        std::unique_ptr<ZuFontEntry> font = table.At(run.font).Clone();
        if (!font)
            return ZuErrNoMemory;
        if (const ZuErr error = font->SetAttribute(attribute, value))
            return error;
        return table.FindOrAdd(*font, run.font);
    });
    ClearLayoutOf(a, b);
    return result;
}

void ZuTextBlock::ClearLayoutOf(std::uint32_t a, std::uint32_t b)
{
    for (int p = 0; p < 2; ++p)
        for (std::uint32_t k = 0; k < LineCount(p); ++k)
            if (LineStart(p, k) < b && LineEnd(p, k) >= a)
                lines[p][k].ClearLayout();
}

ZuErr ZuTextBlock::ApplyCharFormat(ZuFontTable& table, int attribute, int pane, const ZuTextRange& range,
                                   const ZuAttributeValue& value)
{
    if (range.type < ZuRangeStream || range.type > ZuRangeStream2)
        return ZuErrBadParameter;
    if (attribute < ZuAttrBold || attribute > ZuAttrSize)
        return ZuErrBadParameter;
    if (range.IsEmpty()) {
        fonts.MergeEqualRuns();
        return ZuOk;
    }
    ZuRunTable<ZuFontRun> saved = fonts;
    ZuErr result = ZuOk;
    ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) {
        if (result == ZuOk)
            result = ApplyCharFormatSpan(table, attribute, a, b, value);
    });
    if (result != ZuOk) {
        fonts.Swap(saved);
        return result;
    }
    fonts.MergeEqualRuns();
    return ZuOk;
}

ZuAttributeValue ZuTextBlock::FontAttributeAt(const ZuFontTable& table, int attribute, std::uint32_t at) const
{
    const std::uint32_t font = fonts.Empty() ? 0 : fonts.runs[fonts.FindRun(at)].font;
    return table.At(font).Attribute(attribute);
}

ZuAttributeValue ZuTextBlock::QueryCharFormatSpan(const ZuFontTable& table, int attribute, std::uint32_t a,
                                                  std::uint32_t b, bool& mixed) const
{
    mixed = false;
    if (fonts.Empty() || b <= a)
        return FontAttributeAt(table, attribute, a);
    bool any = false;
    ZuAttributeValue answer;
    for (std::uint32_t r = fonts.FindRun(a); r < fonts.Count() && fonts.runs[r].start < b; ++r) {
        const std::uint32_t end = r + 1 < fonts.Count() ? fonts.runs[r + 1].start : Length();
        if (end <= a)
            continue; // a run of no bytes
        const ZuAttributeValue value = table.At(fonts.runs[r].font).Attribute(attribute);
        if (!any)
            answer = value, any = true;
        else if (!(value == answer))
            mixed = true;
    }
    return any ? answer : FontAttributeAt(table, attribute, a);
}

ZuAttributeValue ZuTextBlock::QueryCharFormat(const ZuFontTable& table, int attribute, int pane,
                                              const ZuTextRange& range, bool& mixed) const
{
    mixed = false;
    if (range.IsEmpty())
        return FontAttributeAt(table, attribute, OffsetOf(pane, range.start.x, range.start.y));
    bool any = false;
    ZuAttributeValue answer = FontAttributeAt(table, attribute, 0);
    ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) {
        bool spanMixed = false;
        const ZuAttributeValue value = QueryCharFormatSpan(table, attribute, a, b, spanMixed);
        if (spanMixed || (any && !(value == answer)))
            mixed = true;
        if (!any)
            answer = value, any = true;
    });
    return answer;
}

void ZuTextBlock::ApplyColorSpan(int which, std::uint32_t a, std::uint32_t b, std::uint32_t color)
{
    ApplyToSpan(colors, a, std::min(b, Length()), Length(), [&](ZuColorRun& run) -> ZuErr {
        (which == 7 ? run.fore : run.back) = color;
        return ZuOk;
    });
    ClearLayoutOf(a, b);
}

ZuErr ZuTextBlock::ApplyColor(int which, int pane, const ZuTextRange& range, std::uint32_t color)
{
    if (range.type < ZuRangeStream || range.type > ZuRangeStream2)
        return ZuErrBadParameter;
    ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) { ApplyColorSpan(which, a, b, color); });
    colors.MergeEqualRuns();
    return ZuOk;
}

std::uint32_t ZuTextBlock::QueryColorSpan(int which, std::uint32_t a, std::uint32_t b, std::uint32_t paneColor) const
{
    if (colors.Empty())
        return paneColor;
    // A run without a colour of its own shows the pane's: compared as that.
    const auto resolve = [&](const ZuColorRun& run) {
        const std::uint32_t c = which == 7 ? run.fore : run.back;
        return c == ZuNoColor ? paneColor : c;
    };
    if (b <= a)
        return resolve(colors.runs[colors.FindRun(a)]);
    bool any = false;
    std::uint32_t answer = paneColor;
    for (std::uint32_t r = colors.FindRun(a); r < colors.Count() && colors.runs[r].start < b; ++r) {
        const std::uint32_t end = r + 1 < colors.Count() ? colors.runs[r + 1].start : Length();
        if (end <= a)
            continue;
        const std::uint32_t c = resolve(colors.runs[r]);
        if (!any)
            answer = c, any = true;
        else if (c != answer)
            return ZuNoColor;
    }
    return answer;
}

std::uint32_t ZuTextBlock::QueryColor(int which, int pane, const ZuTextRange& range, std::uint32_t paneColor) const
{
    if (range.IsEmpty()) {
        const std::uint32_t at = OffsetOf(pane, range.start.x, range.start.y);
        return QueryColorSpan(which, at, at, paneColor);
    }
    bool any = false;
    std::uint32_t answer = paneColor;
    ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) {
        const std::uint32_t c = QueryColorSpan(which, a, b, paneColor);
        if (!any)
            answer = c, any = true;
        else if (c != answer)
            answer = ZuNoColor;
    });
    return answer;
}
