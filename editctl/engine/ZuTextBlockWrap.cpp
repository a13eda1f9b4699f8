// ZuTextBlock: soft wrapping of one pane inside the block.

#include "editctl/engine/ZuTextBlock.h"

#include "editctl/engine/ZuTextDocument.h"

#include <algorithm>

ZuErr ZuTextBlock::Rewrap(ZuWrapRequest& request, int pane, bool unwrap, bool* stopped)
{
    ZuTextBlock& block = *this;
    const ZuFontTable& fonts = owner->Fonts();
    const std::uint32_t first = request.firstLine;
    const std::uint32_t last = request.lastLine;
    const ZuLineTable& table = block.lines[pane];
    const std::uint32_t n = std::uint32_t(table.size());
    const std::string& text = block.text;
    const std::int32_t average = owner->AverageCharWidth();
    std::uint32_t i = std::min(first, n - 1);
    while (i > 0 && !block.EndsParagraph(pane, i - 1))
        --i; // from the start of the paragraph
    ZuLineTable result;
    result.reserve(table.size());
    result.assign(table.begin(), table.begin() + i);
    const std::int32_t width = std::max(request.width, 0);
    std::vector<std::uint32_t> hard;
    std::vector<ZuLineEntry> fresh;
    bool stop = false;
    while (i < n && i <= last && !stop) {
        std::uint32_t m = i;
        while (m + 1 < n && !block.EndsParagraph(pane, m))
            ++m;
        const std::uint32_t contentEnd = block.LineStart(pane, m) + block.LineLength(pane, m);
        const ZuTabSet& tabs = TabSetAt(table[i].start);
        // Display lines that never re-join the line before them split the paragraph into segments.
        hard.clear();
        hard.push_back(i);
        for (std::uint32_t t = i + 1; t <= m; ++t)
            if (table[t].flags & ZuLineKeepsBreak)
                hard.push_back(t);
        fresh.clear();
        for (std::size_t h = 0; h < hard.size(); ++h) {
            fresh.push_back(table[hard[h]]);
            if (unwrap)
                continue;
            std::uint32_t pos = table[hard[h]].start;
            const std::uint32_t end = h + 1 < hard.size() ? table[hard[h + 1]].start : contentEnd;
            std::uint32_t r = block.fonts.Empty() ? 0 : block.fonts.FindRun(pos);
            while (end > pos + 1) {
                // The bytes that fit within the width.
                std::uint32_t g = 0;
                std::int32_t x = 0;
                for (std::uint32_t p = pos; p < end; ++p) {
                    while (r + 1 < block.fonts.Count() && block.fonts.runs[r + 1].start <= p)
                        ++r;
                    const unsigned char c = static_cast<unsigned char>(text[p]);
                    x = c == '\t' ? tabs.NextStop(x, average)
                                  : x + fonts.At(block.fonts.Empty() ? 0 : block.fonts.runs[r].font).Width(c);
                    if (x > width)
                        break;
                    ++g;
                }
                if (pos + g >= end)
                    break;
                g = std::max<std::uint32_t>(g, 1);
                if (request.wholeWords) {
                    // The start of the last word that begins before the width, unless that is the line's start.
                    for (std::uint32_t p = pos + g - 1; p > pos; --p) {
                        if (!ZuIsBlank(text[p]) && ZuIsBlank(text[p - 1])) {
                            g = p - pos;
                            break;
                        }
                    }
                }
                pos += g;
                if (!block.fonts.Empty())
                    r = block.fonts.FindRun(pos);
                fresh.push_back(ZuLineEntry{pos, {0, 0}, 0});
            }
        }
        // What changed: entries added and removed.
        const std::uint32_t lineBefore = request.lineOffset + std::uint32_t(result.size());
        std::size_t d = 0;
        const std::size_t oldCount = m + 1 - i;
        while (d < oldCount && d < fresh.size() && table[i + d].start == fresh[d].start)
            ++d;
        if (d < oldCount || d < fresh.size()) {
            std::size_t common = 0;
            for (std::size_t a = 0, b = 0; a < oldCount && b < fresh.size();) {
                if (table[i + a].start == fresh[b].start)
                    ++common, ++a, ++b;
                else if (table[i + a].start < fresh[b].start)
                    ++a;
                else
                    ++b;
            }
            request.linesChanged += std::uint32_t(oldCount + fresh.size() - 2 * common);
            const std::uint32_t changed = lineBefore + std::uint32_t(d) + 1;
            if (request.firstChanged == 0 || changed < request.firstChanged)
                request.firstChanged = changed;
            for (std::size_t t = d == 0 ? 0 : d - 1; t < fresh.size(); ++t)
                fresh[t].ClearLayout();
            result.insert(result.end(), fresh.begin(), fresh.end());
        } else {
            result.insert(result.end(), table.begin() + i, table.begin() + m + 1);
            // Past the stop line an unchanged paragraph means the rest is unchanged too.
            if (!unwrap && request.stopLine != 0 && lineBefore + fresh.size() >= request.stopLine)
                stop = true;
        }
        request.lastReached = request.lineOffset + std::uint32_t(result.size());
        i = m + 1;
    }
    result.insert(result.end(), table.begin() + std::min(i, n), table.end());
    block.lines[pane].swap(result);
    if (stopped != nullptr)
        *stopped = stop;
    return ZuOk;
}

ZuErr ZuTextBlock::WrapLines(ZuWrapRequest& request, int pane, bool* stopped)
{
    return Rewrap(request, pane, false, stopped);
}

ZuErr ZuTextBlock::UnwrapLines(ZuWrapRequest& request, int pane)
{
    return Rewrap(request, pane, true, nullptr);
}

const ZuTabSet& ZuTextBlock::TabSetAt(std::uint32_t paragraphStart) const
{
    if (!paragraphs.Empty()) {
        const ZuParagraphRun& run = paragraphs.runs[paragraphs.FindRun(paragraphStart)];
        if (run.tabs && run.tabs->Count() > 0)
            return *run.tabs;
    }
    return owner->DefaultTabSet();
}

