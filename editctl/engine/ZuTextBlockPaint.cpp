// ZuTextBlock: measuring and painting one line. One measure (the x of every
// column) serves painting, caret placement and hit testing, so they agree.

#include "editctl/engine/ZuLinePainter.h"
#include "editctl/engine/ZuTextBlock.h"
#include "editctl/engine/ZuTextDocument.h"

#include <algorithm>

namespace {

// Walks the font runs of a block byte by byte.
class FontCursor {
public:
    FontCursor(const ZuTextBlock& block, const ZuFontTable& table, std::uint32_t from) : block_(block), table_(table)
    {
        r_ = block.fonts.Empty() ? 0 : block.fonts.FindRun(from);
        font_ = &table.At(block.fonts.Empty() ? 0 : block.fonts.runs[r_].font);
        next_ = r_ + 1 < block.fonts.Count() ? block.fonts.runs[r_ + 1].start : 0xFFFFFFFFu;
    }
    const ZuFontEntry& At(std::uint32_t p)
    {
        while (p >= next_) {
            ++r_;
            font_ = &table_.At(block_.fonts.runs[r_].font);
            next_ = r_ + 1 < block_.fonts.Count() ? block_.fonts.runs[r_ + 1].start : 0xFFFFFFFFu;
        }
        return *font_;
    }
    std::uint32_t NextChange() const { return next_; }

private:
    const ZuTextBlock& block_;
    const ZuFontTable& table_;
    std::uint32_t r_ = 0;
    const ZuFontEntry* font_ = nullptr;
    std::uint32_t next_ = 0;
};

constexpr char Leaders[] = {0, '.', '-', '_', '*', '='};

} // namespace

ZuLineMetrics ZuTextBlock::LineMetrics(int pane, std::uint32_t line) const
{
    const ZuFontTable& table = owner->Fonts();
    ZuLineMetrics m;
    if (fonts.Empty() || line >= LineCount(pane)) {
        const ZuFontMetrics& f = table.DefaultFont().Metrics();
        return {f.ascent, f.descent};
    }
    const std::uint32_t a = LineStart(pane, line);
    const std::uint32_t b = a + LineLength(pane, line);
    for (std::uint32_t r = fonts.FindRun(a); r < fonts.Count() && (r == fonts.FindRun(a) || fonts.runs[r].start < b);
         ++r) {
        const ZuFontMetrics& f = table.At(fonts.runs[r].font).Metrics();
        m.ascent = std::max(m.ascent, f.ascent);
        m.descent = std::max(m.descent, f.descent);
    }
    return m;
}

void ZuTextBlock::MeasureLine(int pane, std::uint32_t line, std::vector<std::int32_t>& xs) const
{
    xs.assign(1, 0);
    if (line >= LineCount(pane))
        return;
    const std::uint32_t start = LineStart(pane, line);
    const std::uint32_t length = LineLength(pane, line);
    xs.resize(length + 1);
    std::uint32_t paragraph = start;
    for (std::uint32_t k = line; k > 0 && !IsParagraphStart(paragraph); --k)
        paragraph = LineStart(pane, k - 1);
    const ZuTabSet& tabs = TabSetAt(paragraph);
    const std::int32_t average = owner->AverageCharWidth();
    FontCursor font(*this, owner->Fonts(), start);
    std::int32_t x = 0;
    for (std::uint32_t p = 0; p < length; ++p) {
        const unsigned char c = static_cast<unsigned char>(text[start + p]);
        if (c != '\t') {
            x += font.At(start + p).Width(c);
        } else {
            const std::int32_t stop = tabs.NextStop(x, average);
            const std::uint32_t alignment = tabs.Alignment(tabs.StopIndexAfter(x, average), ZuTabsSorted);
            if (alignment == 0) {
                x = stop;
            } else {
                // Right and centre stops place the text up to the next TAB against the stop.
                std::int32_t w = 0;
                FontCursor ahead(*this, owner->Fonts(), start + p + 1);
                for (std::uint32_t q = p + 1; q < length && text[start + q] != '\t'; ++q)
                    w += ahead.At(start + q).Width(static_cast<unsigned char>(text[start + q]));
                const std::int32_t target = stop - (alignment == 2 ? w : w / 2);
                x = std::max(x, target);
            }
        }
        xs[p + 1] = x;
    }
}

std::int32_t ZuTextBlock::PositionToX(int pane, std::uint32_t line, std::uint32_t column) const
{
    std::vector<std::int32_t> xs;
    MeasureLine(pane, line, xs);
    return xs[std::min<std::size_t>(column, xs.size() - 1)];
}

std::uint32_t ZuTextBlock::XToPosition(int pane, std::uint32_t line, std::int32_t x) const
{
    std::vector<std::int32_t> xs;
    MeasureLine(pane, line, xs);
    const std::uint32_t length = std::uint32_t(xs.size() - 1);
    if (x <= 0)
        return 0;
    // The first character whose right edge passes x.
    const auto it = std::upper_bound(xs.begin() + 1, xs.end(), x);
    if (it == xs.end())
        return length;
    const std::uint32_t c = std::uint32_t(it - xs.begin()) - 1;
    return (xs[c + 1] - x) < (x - xs[c]) ? c + 1 : c;
}

std::int32_t ZuTextBlock::CharWidthAt(int pane, std::uint32_t line, std::uint32_t column) const
{
    std::vector<std::int32_t> xs;
    MeasureLine(pane, line, xs);
    if (column + 1 < xs.size())
        return xs[column + 1] - xs[column];
    return owner->DefaultTabSet().DefaultWidth(owner->AverageCharWidth());
}

void ZuTextBlock::PaintLine(ZuPaintState& state, int pane, std::uint32_t line, std::uint32_t from, std::uint32_t to,
                            const std::vector<std::int32_t>& xs) const
{
    if (line >= LineCount(pane) || state.painter == nullptr)
        return;
    const std::uint32_t start = LineStart(pane, line);
    to = std::min<std::uint32_t>(to, std::uint32_t(xs.size() - 1));
    // Only the characters that reach into the visible span.
    while (from < to && state.x + xs[from + 1] < state.clipLeft)
        ++from;
    {
        const auto it = std::upper_bound(xs.begin() + from, xs.begin() + to, state.clipRight - state.x);
        to = std::min<std::uint32_t>(to, std::uint32_t(it - xs.begin()));
    }
    if (from >= to)
        return;
    std::uint32_t paragraph = start;
    for (std::uint32_t k = line; k > 0 && !IsParagraphStart(paragraph); --k)
        paragraph = LineStart(pane, k - 1);
    const ZuTabSet& tabs = TabSetAt(paragraph);
    const std::int32_t average = owner->AverageCharWidth();
    FontCursor font(*this, owner->Fonts(), start + from);
    std::uint32_t colorRun = colors.Empty() ? 0 : colors.FindRun(start + from);
    auto colorNext = [&]() {
        return colorRun + 1 < colors.Count() ? colors.runs[colorRun + 1].start : 0xFFFFFFFFu;
    };
    for (std::uint32_t a = from; a < to;) {
        const ZuFontEntry& f = font.At(start + a);
        while (start + a >= colorNext())
            ++colorRun;
        const ZuColorRun color = colors.Empty() ? ZuColorRun{} : colors.runs[colorRun];
        const std::uint32_t fore = state.fore != ZuNoColor ? state.fore
                                   : color.fore != ZuNoColor ? color.fore
                                                             : state.paneFore;
        const std::uint32_t back = state.back != ZuNoColor ? state.back : color.back;
        std::uint32_t b = a + 1;
        if (text[start + a] != '\t') {
            const std::uint32_t limit = std::min({to, font.NextChange() - start, colorNext() - start});
            while (b < limit && text[start + b] != '\t')
                ++b;
        }
        const std::int32_t x0 = state.x + xs[a];
        const std::int32_t x1 = state.x + xs[b];
        if (back != ZuNoColor && x1 > x0)
            state.painter->FillRect(x0, state.top, x1 - x0, state.height, back);
        const std::int32_t baseline = state.top + state.ascent;
        if (text[start + a] == '\t') {
            const std::uint32_t leader = tabs.Leader(tabs.StopIndexAfter(xs[a], average), ZuTabsSorted);
            const std::int32_t lw = leader < std::size(Leaders) ? f.Width(static_cast<unsigned char>(Leaders[leader])) : 0;
            if (leader != 0 && leader < std::size(Leaders) && lw > 0) {
                // Whole leader characters, only those that can be seen.
                const std::int32_t count = (x1 - x0) / lw;
                const std::int32_t first = std::max<std::int32_t>(0, (state.clipLeft - x0) / lw);
                const std::int32_t last = std::min<std::int32_t>(count, (state.clipRight - x0) / lw + 1);
                if (last > first) {
                    const std::string dots(std::size_t(last - first), Leaders[leader]);
                    std::vector<std::int32_t> dx(dots.size() + 1);
                    for (std::size_t k = 0; k < dx.size(); ++k)
                        dx[k] = std::int32_t(k) * lw;
                    state.painter->DrawText(x0 + first * lw, baseline, dots, dx.data(), f, fore);
                }
            }
        } else {
            state.painter->DrawText(x0, baseline, std::string_view(text).substr(start + a, b - a), &xs[a], f, fore);
        }
        a = b;
    }
}
