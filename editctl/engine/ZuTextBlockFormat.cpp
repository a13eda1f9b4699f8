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
        if (result != ZuOk)
            return;
        result = ApplyToSpan(fonts, a, b, Length(), [&](ZuFontRun& run) -> ZuErr {
            std::unique_ptr<ZuFontEntry> font = table.At(run.font).Clone();
            if (!font)
                return ZuErrNoMemory;
            if (const ZuErr error = font->SetAttribute(attribute, value))
                return error;
            return table.FindOrAdd(*font, run.font);
        });
        for (int p = 0; p < 2; ++p)
            for (std::uint32_t k = 0; k < LineCount(p); ++k)
                if (LineStart(p, k) < b && LineEnd(p, k) >= a)
                    lines[p][k].ClearLayout();
    });
    if (result != ZuOk) {
        fonts.Swap(saved);
        return result;
    }
    fonts.MergeEqualRuns();
    return ZuOk;
}

ZuAttributeValue ZuTextBlock::QueryCharFormat(const ZuFontTable& table, int attribute, int pane,
                                              const ZuTextRange& range, bool& mixed) const
{
    mixed = false;
    if (range.IsEmpty() || fonts.Empty()) {
        const std::uint32_t at = range.IsEmpty() ? OffsetOf(pane, range.start.x, range.start.y) : 0;
        const std::uint32_t font = fonts.Empty() ? 0 : fonts.runs[fonts.FindRun(at)].font;
        return table.At(font).Attribute(attribute);
    }
    bool any = false;
    ZuAttributeValue answer;
    ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) {
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
    });
    if (!any)
        return table.At(fonts.runs[0].font).Attribute(attribute);
    return answer;
}

ZuErr ZuTextBlock::ApplyColor(int which, int pane, const ZuTextRange& range, std::uint32_t color)
{
    if (range.type < ZuRangeStream || range.type > ZuRangeStream2)
        return ZuErrBadParameter;
    if (range.IsEmpty()) {
        colors.MergeEqualRuns();
        return ZuOk;
    }
    ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) {
        ApplyToSpan(colors, a, b, Length(), [&](ZuColorRun& run) -> ZuErr {
            (which == 7 ? run.fore : run.back) = color;
            return ZuOk;
        });
    });
    colors.MergeEqualRuns();
    return ZuOk;
}

std::uint32_t ZuTextBlock::QueryColor(int which, int pane, const ZuTextRange& range, std::uint32_t paneColor) const
{
    if (colors.Empty())
        return paneColor;
    // A run without a colour of its own shows the pane's: compared as that.
    const auto resolve = [&](const ZuColorRun& run) {
        const std::uint32_t c = which == 7 ? run.fore : run.back;
        return c == ZuNoColor ? paneColor : c;
    };
    if (range.IsEmpty())
        return resolve(colors.runs[colors.FindRun(OffsetOf(pane, range.start.x, range.start.y))]);
    bool any = false;
    std::uint32_t answer = paneColor;
    bool mixed = false;
    ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) {
        for (std::uint32_t r = colors.FindRun(a); r < colors.Count() && colors.runs[r].start < b; ++r) {
            const std::uint32_t end = r + 1 < colors.Count() ? colors.runs[r + 1].start : Length();
            if (end <= a)
                continue;
            const std::uint32_t c = resolve(colors.runs[r]);
            if (!any)
                answer = c, any = true;
            else if (c != answer)
                mixed = true;
        }
    });
    return mixed ? ZuNoColor : answer;
}
