// ZuTextDocument: formats, colours, tab stops and bookmarks.

#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuTextDocumentSpans.h"

#include <algorithm>

ZuErr ZuTextDocument::ApplyCharFormat(int attribute, int pane, const ZuTextRange& range, const ZuAttributeValue& value)
{
    ++editCount_;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    if (const ZuErr error = Spans(pane, range, spans, false))
        return error;
    if (attribute < ZuAttrBold || attribute > ZuAttrSize)
        return ZuErrBadParameter;
    // All blocks are changed on copies first, so that a failure changes nothing.
    std::vector<std::pair<ZuTextBlock*, ZuRunTable<ZuFontRun>>> saved;
    ZuErr result = ZuOk;
    for (const auto& [from, to] : spans) {
        ForEachBlockSpan(from, to, [&](const ZuTextBlock& constBlock, std::uint32_t a, std::uint32_t b) {
            if (result != ZuOk)
                return;
            ZuTextBlock& block = const_cast<ZuTextBlock&>(constBlock);
            saved.emplace_back(&block, block.fonts);
            result = block.ApplyCharFormatSpan(*fonts_, attribute, a, b, value);
        });
    }
    if (result != ZuOk) {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it)
            it->first->fonts.Swap(it->second);
        return result;
    }
    for (auto& entry : saved)
        entry.first->fonts.MergeEqualRuns();
    return ZuOk;
}

ZuAttributeValue ZuTextDocument::QueryCharFormat(int attribute, int pane, const ZuTextRange& range) const
{
    const ZuAttributeValue mixedMarker =
        attribute <= ZuAttrUnderline ? ZuAttributeValue::Number(1) : ZuAttributeValue::Null();
    if (blocks_.empty())
        return fonts_->DefaultFont().Attribute(attribute);
    if (range.type != ZuRangeNone && range.IsEmpty()) {
        const ZuBlockPlace place = FindBlockByOffset(pane, PositionToOffset(pane, range.start));
        const ZuTextBlock& block = *blocks_[place.block];
        bool mixed = false;
        return block.QueryCharFormatSpan(*fonts_, attribute, place.offset, place.offset, mixed);
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    if (Spans(pane, range, spans, false) != ZuOk)
        return ZuAttributeValue::Null();
    bool any = false;
    bool mixed = false;
    ZuAttributeValue answer;
    for (const auto& [from, to] : spans) {
        ForEachBlockSpan(from, to, [&](const ZuTextBlock& block, std::uint32_t a, std::uint32_t b) {
            bool blockMixed = false;
            const ZuAttributeValue value = block.QueryCharFormatSpan(*fonts_, attribute, a, b, blockMixed);
            if (blockMixed || (any && !(value == answer)))
                mixed = true;
            if (!any)
                answer = value, any = true;
        });
    }
    if (mixed)
        return mixedMarker;
    return any ? answer : fonts_->DefaultFont().Attribute(attribute);
}

ZuErr ZuTextDocument::ApplyColor(int which, int pane, const ZuTextRange& range, std::uint32_t color)
{
    ++editCount_;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    if (const ZuErr error = Spans(pane, range, spans, false))
        return error;
    for (const auto& [from, to] : spans)
        ForEachBlockSpan(from, to, [&](const ZuTextBlock& constBlock, std::uint32_t a, std::uint32_t b) {
            ZuTextBlock& block = const_cast<ZuTextBlock&>(constBlock);
            block.ApplyColorSpan(which, a, b, color);
            block.colors.MergeEqualRuns();
        });
    return ZuOk;
}

std::uint32_t ZuTextDocument::QueryColor(int which, int pane, const ZuTextRange& range) const
{
    const std::uint32_t paneColor = paneColors_[pane][which == 7 ? ZuColorTextFore : ZuColorTextBack];
    if (blocks_.empty())
        return paneColor;
    if (range.type != ZuRangeNone && range.IsEmpty()) {
        const ZuBlockPlace place = FindBlockByOffset(pane, PositionToOffset(pane, range.start));
        const ZuTextBlock& block = *blocks_[place.block];
        return block.QueryColorSpan(which, place.offset, place.offset, paneColor);
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    if (Spans(pane, range, spans, false) != ZuOk)
        return ZuNoColor;
    bool any = false;
    std::uint32_t answer = paneColor;
    for (const auto& [from, to] : spans)
        ForEachBlockSpan(from, to, [&](const ZuTextBlock& block, std::uint32_t a, std::uint32_t b) {
            const std::uint32_t c = block.QueryColorSpan(which, a, b, paneColor);
            if (!any)
                answer = c, any = true;
            else if (c != answer)
                answer = ZuNoColor;
        });
    return answer;
}

std::uint32_t ZuTextDocument::SetPaneColor(int pane, int slot, std::uint32_t color)
{
    const std::uint32_t previous = paneColors_[pane][std::size_t(slot)];
    paneColors_[pane][std::size_t(slot)] = color;
    return previous;
}

std::uint32_t ZuTextDocument::ParagraphStartIn(const ZuTextBlock& block, std::uint32_t offset) const
{
    const std::string& text = block.text;
    std::uint32_t p = std::min(offset, block.Length());
    while (p > 0 && !(p >= 2 && text[p - 2] == '\r' && text[p - 1] == '\n'))
        --p;
    return p;
}

const ZuTabSet& ZuTextDocument::ParagraphTabSet(std::uint64_t offset) const
{
    if (blocks_.empty())
        return defaultTabs_;
    const ZuBlockPlace place = FindBlockByOffset(0, offset);
    const ZuTextBlock& block = *blocks_[place.block];
    if (block.paragraphs.Empty())
        return defaultTabs_;
    const ZuParagraphRun& run = block.paragraphs.runs[block.paragraphs.FindRun(ParagraphStartIn(block, place.offset))];
    return run.tabs && run.tabs->Count() > 0 ? *run.tabs : defaultTabs_;
}

ZuErr ZuTextDocument::SetParagraphTabSet(std::uint64_t offset, std::unique_ptr<ZuTabSet> tabs)
{
    ++editCount_;
    EnsureBlock();
    const ZuBlockPlace place = FindBlockByOffset(0, offset);
    ZuTextBlock& block = *blocks_[place.block];
    const std::uint32_t start = ParagraphStartIn(block, place.offset);
    const std::size_t lf = block.text.find("\r\n", start);
    const std::uint32_t end = lf == std::string::npos ? block.Length() : std::uint32_t(lf + 2);
    if (tabs)
        tabs->DelegateDefaultWidth(&defaultTabs_);
    block.paragraphs.SplitAt(start);
    if (end < block.Length())
        block.paragraphs.SplitAt(end);
    block.paragraphs.runs[block.paragraphs.FindRun(start)].tabs = std::move(tabs);
    for (ZuLineTable& table : block.lines)
        for (ZuLineEntry& e : table)
            if (e.start >= start && e.start < end)
                e.ClearLayout();
    return ZuOk;
}

const std::string* ZuTextDocument::BookmarkName(std::uint32_t i) const
{
    const ZuBookmark* mark = bookmarks_.At(i);
    return mark != nullptr && mark->name ? &*mark->name : nullptr;
}

void ZuTextDocument::SetBookmarkName(std::uint32_t i, std::string text)
{
    if (ZuBookmark* mark = bookmarks_.At(i))
        mark->name = std::move(text);
}

std::int64_t ZuTextDocument::BookmarkOffset(std::uint32_t i) const
{
    const ZuBookmark* mark = bookmarks_.At(i);
    return mark != nullptr ? mark->offset : 0;
}

void ZuTextDocument::SetBookmarkOffset(std::uint32_t i, std::int64_t value)
{
    if (ZuBookmark* mark = bookmarks_.At(i)) {
        mark->offset = value < 0 ? -1 : std::min<std::int64_t>(value, std::int64_t(byteCount_));
        if (mark->offset >= 0)
            mark->position = OffsetToPosition(0, std::uint64_t(mark->offset));
    }
}

ZuTextPosition ZuTextDocument::BookmarkPosition(std::uint32_t i) const
{
    const ZuBookmark* mark = bookmarks_.At(i);
    return mark != nullptr ? mark->position : ZuTextPosition{};
}

ZuErr ZuTextDocument::RemapFonts(const ZuFontTable& other)
{
    std::vector<std::uint32_t> map;
    if (const ZuErr error = fonts_->IndexMap(other, map))
        return error;
    for (const auto& block : blocks_)
        for (ZuFontRun& run : block->fonts.runs)
            run.font = run.font < map.size() ? map[run.font] : 0;
    ClearLayout();
    return ZuOk;
}

std::unique_ptr<ZuFontTable> ZuTextDocument::ReplaceFontTable(std::unique_ptr<ZuFontTable> table)
{
    // The runs index the table: a smaller one would leave them pointing past its end.
    if (!table || table->Count() < fonts_->Count())
        return nullptr;
    std::swap(table, fonts_);
    ClearLayout();
    return table;
}

std::uint32_t ZuTextDocument::ParagraphEndLine(int pane, std::uint32_t line) const
{
    if (blocks_.empty())
        return 0;
    line = std::clamp<std::uint32_t>(line, 1, lineCount_[pane]);
    const ZuBlockPlace place = FindBlock(pane, line);
    const ZuTextBlock& block = *blocks_[place.block];
    std::uint32_t k = place.line;
    while (k + 1 < block.LineCount(pane) && !block.EndsParagraph(pane, k))
        ++k;
    return line + (k - place.line);
}

std::int32_t ZuTextDocument::NextTabX(int pane, ZuTextPosition position) const
{
    const std::uint64_t offset = PositionToOffset(pane, position);
    return ParagraphTabSet(offset).NextStop(XOfColumn(pane, position.y, position.x), AverageCharWidth());
}

std::int32_t ZuTextDocument::PreviousTabX(int pane, ZuTextPosition position) const
{
    const std::uint64_t offset = PositionToOffset(pane, position);
    return ParagraphTabSet(offset).PreviousStop(XOfColumn(pane, position.y, position.x), AverageCharWidth());
}
