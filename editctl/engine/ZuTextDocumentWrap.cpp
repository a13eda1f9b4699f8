// ZuTextDocument: word breaks, measuring, soft wrapping and the structure check.

#include "editctl/engine/ZuTextDocument.h"

#include <algorithm>
#include <sstream>

namespace {

bool CrLfAt(const std::string& text, std::uint32_t p)
{
    return p + 1 < text.size() && text[p] == '\r' && text[p + 1] == '\n';
}

bool CrLfBefore(const std::string& text, std::uint32_t p)
{
    return p >= 2 && text[p - 2] == '\r' && text[p - 1] == '\n';
}

} // namespace

char ZuTextDocument::ByteAt(std::uint64_t offset) const
{
    if (offset >= byteCount_)
        return '\0';
    const ZuBlockPlace place = FindBlockByOffset(0, offset);
    return blocks_[place.block]->text[place.offset];
}

// Breaks are where a word starts: a byte that is not blank after a blank, or the
// start of a paragraph that is empty or does not begin with a blank.
bool ZuTextDocument::IsBreak(std::uint64_t offset) const
{
    if (offset >= byteCount_)
        return offset == byteCount_ && offset >= 2 && ByteAt(offset - 2) == '\r' && ByteAt(offset - 1) == '\n';
    const ZuBlockPlace place = FindBlockByOffset(0, offset);
    const std::string& text = blocks_[place.block]->text;
    const std::uint32_t p = place.offset;
    if (p == 0 || CrLfBefore(text, p))
        return !ZuIsBlank(text[p]);
    if (ZuIsBlank(text[p]) || CrLfAt(text, p) || (text[p] == '\n' && text[p - 1] == '\r'))
        return false;
    return ZuIsBlank(text[p - 1]);
}

std::uint64_t ZuTextDocument::DefaultNextBreak(std::uint64_t offset) const
{
    ZuBlockPlace place = FindBlockByOffset(0, offset);
    std::size_t k = place.block;
    std::uint32_t p = place.offset;
    bool seenBlank = false;
    for (;;) {
        const std::string& text = blocks_[k]->text;
        const std::uint64_t base = cache_.BytesBefore(k);
        const std::uint32_t n = std::uint32_t(text.size());
        while (p < n) {
            if (CrLfAt(text, p)) {
                // At a paragraph's end: the next paragraph's start unless it begins with a blank.
                const std::uint64_t next = base + p + 2;
                if (next >= byteCount_ || !ZuIsBlank(ByteAt(next)))
                    return next;
                seenBlank = false;
                p += 2;
                continue;
            }
            if (ZuIsBlank(text[p]))
                seenBlank = true;
            else if (seenBlank)
                return base + p;
            ++p;
        }
        if (k + 1 >= blocks_.size())
            return byteCount_;
        ++k;
        p = 0;
    }
}

std::int64_t ZuTextDocument::DefaultPreviousBreak(std::uint64_t offset) const
{
    // Backwards directly, block by block; -1 when there is none.
    if (offset == 0 || blocks_.empty())
        return -1;
    ZuBlockPlace place = FindBlockByOffset(0, offset - 1);
    std::size_t k = place.block;
    std::int64_t p = std::int64_t(place.offset);
    if (offset - 1 >= byteCount_)
        p = std::int64_t(blocks_[k]->Length()) - 1;
    for (;;) {
        const std::string& text = blocks_[k]->text;
        for (; p >= 0; --p) {
            const std::uint32_t q = std::uint32_t(p);
            if (q == 0 || CrLfBefore(text, q)) {
                if (q >= text.size() || !ZuIsBlank(text[q]))
                    return std::int64_t(cache_.BytesBefore(k) + q);
                continue;
            }
            if (!ZuIsBlank(text[q]) && ZuIsBlank(text[q - 1]) && !CrLfAt(text, q))
                return std::int64_t(cache_.BytesBefore(k) + q);
        }
        if (k == 0)
            return -1;
        --k;
        p = std::int64_t(blocks_[k]->Length()) - 1;
    }
}

ZuTextPosition ZuTextDocument::NextWordBreak(int pane, std::uint32_t line, std::uint32_t column)
{
    if (blocks_.empty())
        return {0, 0};
    if (line > lineCount_[pane])
        return {LineLength(pane, lineCount_[pane]), lineCount_[pane]};
    const ZuTextPosition from{column, std::max<std::uint32_t>(line, 1)};
    const std::uint64_t offset = PositionToOffset(pane, from);
    if (wordBreak_) {
        ZuTextPosition result;
        // A break that stays put or points outside the text would hang or mislead its callers.
        if (wordBreak_(pane, from, result) && result.y >= 1 && result.y <= lineCount_[pane] &&
            result.x <= LineLength(pane, result.y) && PositionToOffset(pane, result) > offset)
            return result;
    }
    return OffsetToPosition(pane, DefaultNextBreak(offset));
}

ZuTextPosition ZuTextDocument::PreviousWordBreak(int pane, std::uint32_t line, std::uint32_t column)
{
    if (blocks_.empty())
        return {0, 0};
    line = std::clamp<std::uint32_t>(line, 1, lineCount_[pane]);
    const std::uint64_t target = PositionToOffset(pane, {column, line});
    if (!wordBreak_) {
        const std::int64_t found = DefaultPreviousBreak(target);
        return found < 0 ? ZuTextPosition{0, 0} : OffsetToPosition(pane, std::uint64_t(found));
    }
    for (std::uint32_t l = line; l >= 1; --l) {
        ZuTextPosition at = NextWordBreak(pane, l, 0);
        std::uint64_t atOffset = PositionToOffset(pane, at);
        if (IsBreak(LineStartOffset(pane, l)) && LineStartOffset(pane, l) < target) {
            at = {0, l};
            atOffset = LineStartOffset(pane, l);
        }
        if (atOffset >= target)
            continue;
        for (;;) {
            const ZuTextPosition next = NextWordBreak(pane, at.y, at.x);
            const std::uint64_t nextOffset = PositionToOffset(pane, next);
            if (nextOffset >= target || nextOffset <= atOffset)
                return at;
            at = next;
            atOffset = nextOffset;
        }
    }
    return {0, 0};
}

const ZuTabSet& ZuTextDocument::TabSetIn(const ZuTextBlock& block, std::uint32_t paragraphStart) const
{
    if (block.paragraphs.Empty())
        return defaultTabs_;
    const ZuParagraphRun& run = block.paragraphs.runs[block.paragraphs.FindRun(paragraphStart)];
    return run.tabs && run.tabs->Count() > 0 ? *run.tabs : defaultTabs_;
}

std::int32_t ZuTextDocument::MeasureX(const ZuTextBlock& block, std::uint32_t from, std::uint32_t to) const
{
    const std::int32_t average = AverageCharWidth();
    const ZuTabSet* tabs = &TabSetIn(block, ParagraphStartIn(block, from));
    std::int32_t x = 0;
    std::uint32_t r = block.fonts.Empty() ? 0 : block.fonts.FindRun(from);
    const ZuFontEntry* font = &fonts_->At(block.fonts.Empty() ? 0 : block.fonts.runs[r].font);
    std::uint32_t nextRun = r + 1 < block.fonts.Count() ? block.fonts.runs[r + 1].start : 0xFFFFFFFFu;
    for (std::uint32_t p = from; p < to; ++p) {
        while (p >= nextRun) {
            ++r;
            font = &fonts_->At(block.fonts.runs[r].font);
            nextRun = r + 1 < block.fonts.Count() ? block.fonts.runs[r + 1].start : 0xFFFFFFFFu;
        }
        const unsigned char c = static_cast<unsigned char>(block.text[p]);
        x = c == '\t' ? tabs->NextStop(x, average) : x + font->Width(c);
    }
    return x;
}

std::int32_t ZuTextDocument::XOfColumn(int pane, std::uint32_t line, std::uint32_t column) const
{
    if (blocks_.empty() || line == 0 || line > lineCount_[pane])
        return 0;
    const ZuBlockPlace place = FindBlock(pane, line);
    const ZuTextBlock& block = *blocks_[place.block];
    const std::uint32_t start = block.LineStart(pane, place.line);
    return MeasureX(block, start, start + std::min(column, block.LineLength(pane, place.line)));
}

std::int32_t ZuTextDocument::WidestLine(int pane, std::uint32_t first, std::uint32_t last) const
{
    std::int32_t widest = 0;
    if (blocks_.empty())
        return 0;
    first = std::max<std::uint32_t>(first, 1);
    last = std::min(last, lineCount_[pane]);
    for (std::uint32_t line = first; line <= last;) {
        // Block by block: one look-up for each block's lines.
        const ZuBlockPlace place = FindBlock(pane, line);
        const ZuTextBlock& block = *blocks_[place.block];
        for (std::uint32_t k = place.line; k < block.LineCount(pane) && line <= last; ++k, ++line) {
            const std::uint32_t start = block.LineStart(pane, k);
            widest = std::max(widest, MeasureX(block, start, start + block.LineLength(pane, k)));
        }
    }
    return widest;
}

void ZuTextDocument::ClearLayout()
{
    for (const auto& block : blocks_)
        block->ClearLayout();
}

ZuErr ZuTextDocument::WrapBlockLines(std::size_t k, std::uint64_t linesBefore, ZuWrapRequest& request, int pane,
                                     std::uint32_t first, std::int64_t last, bool unwrap, bool* stopped)
{
    // The block works on its own lines, counted from 0; its changes add to the request's.
    ZuTextBlock& block = *blocks_[k];
    ZuWrapRequest local = request;
    local.firstLine = first;
    local.lastLine = std::uint32_t(std::min<std::int64_t>(last, block.LineCount(pane) - 1));
    local.lineOffset = std::uint32_t(linesBefore);
    local.linesChanged = 0;
    local.firstChanged = 0;
    const std::uint32_t counts[2] = {block.LineCount(0), block.LineCount(1)};
    const ZuErr result = unwrap ? block.UnwrapLines(local, pane) : block.WrapLines(local, pane, stopped);
    RecountBlock(k, counts);
    request.linesChanged += local.linesChanged;
    if (local.firstChanged != 0 && (request.firstChanged == 0 || local.firstChanged < request.firstChanged))
        request.firstChanged = local.firstChanged;
    request.lastReached = local.lastReached;
    return result;
}

ZuErr ZuTextDocument::WrapLines(ZuWrapRequest& request, int pane)
{
    request.linesChanged = 0;
    request.firstChanged = 0;
    request.lastReached = 0;
    const std::uint32_t first = std::max<std::uint32_t>(request.firstLine, 1);
    if (blocks_.empty() || first > lineCount_[pane] || request.lastLine < first)
        return ZuOk;
    std::size_t k = cache_.BlockOfLine(pane, first - 1);
    std::uint64_t before = cache_.LinesBefore(pane, k);
    std::int64_t last = std::int64_t(request.lastLine) - 1; // 0-based, moves with the changes
    std::uint32_t from = std::uint32_t(first - 1 - before);
    for (; k < blocks_.size(); ++k) {
        const std::uint32_t lines = blocks_[k]->LineCount(pane);
        const std::int64_t localLast = last - std::int64_t(before);
        if (localLast < 0)
            break;
        bool stopped = false;
        const ZuErr result = WrapBlockLines(k, before, request, pane, from, localLast, false, &stopped);
        const std::uint32_t now = blocks_[k]->LineCount(pane);
        last += std::int64_t(now) - std::int64_t(lines);
        before += now;
        from = 0;
        if (result != ZuOk || stopped || last < std::int64_t(before))
            break;
    }
    return ZuOk;
}

ZuErr ZuTextDocument::UnwrapLines(ZuWrapRequest& request, int pane)
{
    request.linesChanged = 0;
    request.firstChanged = 0;
    request.lastReached = 0;
    const std::uint32_t first = std::max<std::uint32_t>(request.firstLine, 1);
    if (blocks_.empty() || first > lineCount_[pane] || request.lastLine < first)
        return ZuOk;
    std::size_t k = cache_.BlockOfLine(pane, first - 1);
    std::uint64_t before = cache_.LinesBefore(pane, k);
    std::int64_t last = std::int64_t(request.lastLine) - 1;
    std::uint32_t from = std::uint32_t(first - 1 - before);
    for (; k < blocks_.size(); ++k) {
        const std::uint32_t lines = blocks_[k]->LineCount(pane);
        const std::int64_t localLast = last - std::int64_t(before);
        if (localLast < 0)
            break;
        WrapBlockLines(k, before, request, pane, from, localLast, true, nullptr);
        const std::uint32_t now = blocks_[k]->LineCount(pane);
        last += std::int64_t(now) - std::int64_t(lines);
        before += now;
        from = 0;
        if (last < std::int64_t(before))
            break;
    }
    return ZuOk;
}

ZuErr ZuTextDocument::RestoreLineLengths(int pane, std::uint32_t firstLine, const std::vector<std::uint32_t>& lengths)
{
    if (lengths.empty())
        return ZuOk;
    if (blocks_.empty() || firstLine == 0 || firstLine > lineCount_[pane])
        return ZuErrDataDamage;
    // Check every length against the text before anything changes.
    const std::uint64_t start = LineStartOffset(pane, firstLine);
    std::vector<std::uint64_t> bounds;
    std::uint64_t at = start;
    for (std::uint32_t length : lengths) {
        const std::uint64_t next = at + length;
        if (length == 0 || next > byteCount_)
            return ZuErrDataDamage;
        std::size_t k = FindBlockByOffset(0, at).block;
        // A line starting at a block's end starts in the next block.
        if (k + 1 < blocks_.size() && at == cache_.BytesBefore(k) + blocks_[k]->Length())
            ++k;
        const ZuTextBlock& block = *blocks_[k];
        const std::uint64_t base = cache_.BytesBefore(k);
        if (next > base + block.Length())
            return ZuErrDataDamage; // paragraphs never cross blocks, so neither may a line
        const std::string& text = block.text;
        const std::uint32_t a = std::uint32_t(at - base);
        const std::uint32_t b = std::uint32_t(next - base);
        const std::size_t crlf = text.find("\r\n", a);
        if (crlf != std::string::npos && crlf + 2 < b)
            return ZuErrDataDamage; // the line would run over a paragraph end
        const bool paragraphStart = b == block.Length() || CrLfBefore(text, b);
        if (!paragraphStart && (text[b - 1] == '\r' && text[b] == '\n'))
            return ZuErrDataDamage;
        if (!paragraphStart && CrLfAt(text, b))
            return ZuErrDataDamage;
        bounds.push_back(next);
        at = next;
    }
    // Rebuild the entries of each block the lines cover.
    const std::uint64_t end = bounds.back();
    for (std::size_t k = cache_.BlockOfOffset(start); k < blocks_.size(); ++k) {
        const std::uint64_t base = cache_.BytesBefore(k);
        ZuTextBlock& block = *blocks_[k];
        if (base >= end && !(base == start))
            break;
        ZuLineTable result;
        for (const ZuLineEntry& e : block.lines[pane]) {
            const std::uint64_t p = base + e.start;
            if (p <= start || p >= end || e.start == 0 || CrLfBefore(block.text, e.start))
                result.push_back(e);
        }
        // Only the bounds inside this block: the lines may cover many blocks.
        const auto inside = std::upper_bound(bounds.begin(), bounds.end(), base);
        for (auto b = inside; b != bounds.end() && *b < base + block.Length(); ++b) {
            const std::uint32_t local = std::uint32_t(*b - base);
            auto it = std::lower_bound(result.begin(), result.end(), local,
                                       [](const ZuLineEntry& e, std::uint32_t v) { return e.start < v; });
            if (it == result.end() || it->start != local)
                result.insert(it, ZuLineEntry{local, {0, 0}, 0});
        }
        const std::uint32_t counts[2] = {block.LineCount(0), block.LineCount(1)};
        block.lines[pane].swap(result);
        RecountBlock(k, counts);
    }
    return ZuOk;
}

std::string ZuTextDocument::CheckStructure(bool endsWithOpenLine) const
{
    std::ostringstream fault;
    std::uint64_t lines[2] = {0, 0};
    std::uint64_t bytes = 0;
    for (std::size_t k = 0; k < blocks_.size(); ++k) {
        const ZuTextBlock& block = *blocks_[k];
        const std::string& text = block.text;
        const std::uint32_t n = block.Length();
        const bool lastBlock = k + 1 == blocks_.size();
        if (!lastBlock && !CrLfBefore(text, n))
            fault << "block " << k << " does not end with CR LF; ";
        if (block.owner != this)
            fault << "block " << k << " has another owner; ";
        for (int pane = 0; pane < 2; ++pane) {
            const ZuLineTable& table = block.lines[pane];
            lines[pane] += table.size();
            if (table.empty() || table[0].start != 0) {
                fault << "block " << k << " pane " << pane << " has no line at 0; ";
                continue;
            }
            std::size_t e = 0;
            for (std::uint32_t p = 0; p <= n; ++p) {
                const bool paragraph = p == 0 || (CrLfBefore(text, p) && (p < n || lastBlock));
                const bool entry = e < table.size() && table[e].start == p;
                const bool optional = p == n && p > 0 && !endsWithOpenLine;
                if (paragraph && !entry && !optional)
                    fault << "block " << k << " pane " << pane << " misses a line at " << p << "; ";
                if (entry) {
                    if (!paragraph && (p == n || CrLfAt(text, p) || (text[p] == '\n' && text[p - 1] == '\r')))
                        fault << "block " << k << " pane " << pane << " has a bad soft line at " << p << "; ";
                    ++e;
                }
            }
            if (e != table.size())
                fault << "block " << k << " pane " << pane << " has lines out of order; ";
        }
        std::uint32_t paragraphStart = 0;
        for (std::uint32_t p = 2; p <= n; ++p) {
            if (CrLfBefore(text, p)) {
                if (p - 2 - paragraphStart > ZuMaxLineLength)
                    fault << "block " << k << " has a line too long; ";
                paragraphStart = p;
            }
        }
        const auto checkRuns = [&](const auto& table, const char* name) {
            if (!table.Empty() && table.runs[0].start != 0)
                fault << "block " << k << " " << name << " runs do not start at 0; ";
            for (std::size_t r = 1; r < table.runs.size(); ++r)
                if (table.runs[r].start < table.runs[r - 1].start || table.runs[r].start > n)
                    fault << "block " << k << " " << name << " runs out of order; ";
        };
        checkRuns(block.fonts, "font");
        checkRuns(block.colors, "colour");
        checkRuns(block.paragraphs, "paragraph");
        bytes += n;
    }
    if (lines[0] != lineCount_[0] || lines[1] != lineCount_[1])
        fault << "line counts " << lineCount_[0] << "/" << lineCount_[1] << " but blocks hold " << lines[0] << "/"
              << lines[1] << "; ";
    if (bytes != byteCount_)
        fault << "byte count " << byteCount_ << " but blocks hold " << bytes << "; ";
    if (!cache_.Matches(blocks_))
        fault << "the line cache does not match the blocks; ";
    return fault.str();
}
