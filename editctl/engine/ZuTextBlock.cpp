#include "editctl/engine/ZuTextBlock.h"

#include <algorithm>
#include <cstring>

bool ZuIsBlank(char c)
{
    return c == ' ' || c == '\t';
}

namespace {

bool CrLfBefore(const std::string& text, std::uint32_t p)
{
    return p >= 2 && text[p - 2] == '\r' && text[p - 1] == '\n';
}

// A soft line may start anywhere inside a paragraph, but not at its end, not
// between its CR and LF, and not where a paragraph starts.
bool ValidSoftStart(const std::string& text, std::uint32_t p)
{
    const std::size_t n = text.size();
    if (p == 0 || p >= n)
        return false;
    if (CrLfBefore(text, p))
        return false;
    if (text[p - 1] == '\r' && text[p] == '\n')
        return false;
    if (text[p] == '\r' && p + 1 < n && text[p + 1] == '\n')
        return false;
    return true;
}

// Calls f(q) for the offset after every CR LF of the text, in order.
template <typename F> void ForEachParagraphEnd(const std::string& text, std::size_t from, F&& f)
{
    const char* data = text.data();
    const std::size_t n = text.size();
    std::size_t p = from;
    while (p < n) {
        const void* hit = std::memchr(data + p, '\n', n - p);
        if (hit == nullptr)
            break;
        const std::size_t lf = std::size_t(static_cast<const char*>(hit) - data);
        if (lf > 0 && data[lf - 1] == '\r')
            f(std::uint32_t(lf + 1));
        p = lf + 1;
    }
}

} // namespace

ZuTextBlock::ZuTextBlock()
{
    lines[0].push_back(ZuLineEntry{});
    lines[1].push_back(ZuLineEntry{});
}

std::uint32_t ZuTextBlock::LineEnd(int pane, std::uint32_t line) const
{
    return line + 1 < lines[pane].size() ? lines[pane][line + 1].start : Length();
}

std::uint32_t ZuTextBlock::LineLengthWithEnd(int pane, std::uint32_t line) const
{
    return LineEnd(pane, line) - LineStart(pane, line);
}

bool ZuTextBlock::EndsParagraph(int pane, std::uint32_t line) const
{
    const std::uint32_t end = LineEnd(pane, line);
    return end > LineStart(pane, line) && CrLfBefore(text, end);
}

std::uint32_t ZuTextBlock::LineLength(int pane, std::uint32_t line) const
{
    return LineLengthWithEnd(pane, line) - (EndsParagraph(pane, line) ? 2 : 0);
}

std::uint32_t ZuTextBlock::OffsetOf(int pane, std::uint32_t column, std::uint32_t line) const
{
    if (line >= LineCount(pane))
        return Length();
    return LineStart(pane, line) + std::min(column, LineLength(pane, line));
}

std::uint32_t ZuTextBlock::LineOf(int pane, std::uint32_t offset) const
{
    const ZuLineTable& table = lines[pane];
    auto it = std::upper_bound(table.begin(), table.end(), offset,
                               [](std::uint32_t value, const ZuLineEntry& e) { return value < e.start; });
    return it == table.begin() ? 0 : std::uint32_t(it - table.begin() - 1);
}

ZuTextPosition ZuTextBlock::PositionOf(int pane, std::uint32_t offset) const
{
    offset = std::min(offset, Length());
    const std::uint32_t line = LineOf(pane, offset);
    return {std::min(offset - LineStart(pane, line), LineLength(pane, line)), line};
}

bool ZuTextBlock::IsParagraphStart(std::uint32_t offset) const
{
    return offset == 0 || CrLfBefore(text, offset);
}

bool ZuTextBlock::ScanLineLengths(const std::string& text)
{
    std::uint32_t start = 0;
    bool ok = true;
    ForEachParagraphEnd(text, 0, [&](std::uint32_t q) {
        if (q - 2 - start > ZuMaxLineLength)
            ok = false;
        start = q;
    });
    return ok && text.size() - start <= ZuMaxLineLength;
}

void ZuTextBlock::RebuildLines(const std::string& text, const std::vector<Mapped>& mapped, bool finalLine,
                               ZuLineTable& out)
{
    out.clear();
    const std::uint32_t n = std::uint32_t(text.size());
    std::size_t i = 0;
    const auto flushSoftBefore = [&](std::uint32_t limit) {
        for (; i < mapped.size() && mapped[i].pos < limit; ++i) {
            const Mapped& m = mapped[i];
            if (m.soft && ValidSoftStart(text, m.pos) && (out.empty() || out.back().start < m.pos)) {
                ZuLineEntry e = m.entry;
                e.start = m.pos;
                out.push_back(e);
            }
        }
    };
    const auto addParagraph = [&](std::uint32_t p) {
        flushSoftBefore(p);
        ZuLineEntry e;
        bool found = false;
        for (; i < mapped.size() && mapped[i].pos == p; ++i) {
            if (!found) {
                e = mapped[i].entry;
                found = true;
            }
        }
        e.start = p;
        out.push_back(e);
    };
    addParagraph(0);
    ForEachParagraphEnd(text, 0, [&](std::uint32_t q) {
        if (q < n || finalLine)
            addParagraph(q);
    });
    flushSoftBefore(n + 1);
}

void ZuTextBlock::RebuildLinesFromText(bool finalLine)
{
    const std::vector<Mapped> none;
    RebuildLines(text, none, finalLine, lines[0]);
    lines[1] = lines[0];
}

ZuErr ZuTextBlock::Replace(std::uint32_t from, std::uint32_t to, const ZuTextBlock* insertion, int finalLine,
                           bool inheritRuns)
{
    const std::uint32_t length = Length();
    to = std::min(to, length);
    from = std::min(from, to);
    const std::uint32_t inserted = insertion != nullptr ? insertion->Length() : 0;
    const bool keepFinal = finalLine < 0 ? HasFinalLine() : finalLine != 0;

    std::string newText;
    newText.reserve(std::size_t(length) - (to - from) + inserted);
    newText.append(text, 0, from);
    if (insertion != nullptr)
        newText.append(insertion->text);
    newText.append(text, to, std::string::npos);
    if (!ScanLineLengths(newText))
        return ZuErrLineLength;

    ZuLineTable newLines[2];
    std::vector<Mapped> mapped;
    for (int pane = 0; pane < 2; ++pane) {
        mapped.clear();
        const ZuLineTable& old = lines[pane];
        std::size_t k = 0;
        for (; k < old.size() && old[k].start <= from; ++k)
            mapped.push_back({old[k].start, !IsParagraphStart(old[k].start), old[k]});
        if (insertion != nullptr) {
            for (const ZuLineEntry& e : insertion->lines[pane])
                mapped.push_back({e.start + from, !insertion->IsParagraphStart(e.start), e});
        }
        for (; k < old.size(); ++k) {
            if (old[k].start <= to)
                continue;
            mapped.push_back({old[k].start - (to - from) + inserted, !IsParagraphStart(old[k].start), old[k]});
        }
        RebuildLines(newText, mapped, keepFinal, newLines[pane]);
        // The lines the edit touched are measured again.
        ZuLineTable& table = newLines[pane];
        auto it = std::upper_bound(table.begin(), table.end(), from,
                                   [](std::uint32_t value, const ZuLineEntry& e) { return value < e.start; });
        if (it != table.begin())
            --it;
        for (; it != table.end() && it->start <= from + inserted; ++it)
            it->ClearLayout();
    }

    const auto splice = [&](auto& table, const auto& middle) {
        using Table = std::decay_t<decltype(table)>;
        Table result;
        result.AppendSegment(table.Slice(0, from), 0, from);
        Table tail = table.Slice(to, length);
        if (inheritRuns && inserted > 0) {
            if (from == 0) {
                // Text put in front takes the format of the first run.
                for (std::size_t r = 1; r < tail.runs.size(); ++r)
                    tail.runs[r].start += inserted;
                result.AppendSegment(tail, 0, inserted + (length - to));
            } else {
                result.AppendSegment(tail, from + inserted, length - to);
            }
        } else {
            if (inserted > 0)
                result.AppendSegment(middle, from, inserted);
            result.AppendSegment(tail, from + inserted, length - to);
        }
        return result;
    };
    static const ZuTextBlock none;
    const ZuTextBlock& source = insertion != nullptr ? *insertion : none;
    ZuRunTable<ZuFontRun> newFonts = splice(fonts, source.fonts);
    ZuRunTable<ZuColorRun> newColors = splice(colors, source.colors);
    ZuRunTable<ZuParagraphRun> newParagraphs = splice(paragraphs, source.paragraphs);
    newFonts.MergeEqualRuns();
    newColors.MergeEqualRuns();

    text.swap(newText);
    lines[0].swap(newLines[0]);
    lines[1].swap(newLines[1]);
    fonts.Swap(newFonts);
    colors.Swap(newColors);
    paragraphs.Swap(newParagraphs);
    return ZuOk;
}

ZuErr ZuTextBlock::InsertBytes(std::uint32_t at, std::string_view bytes, int finalLine)
{
    ZuTextBlock insertion;
    insertion.text.assign(bytes);
    return Replace(at, at, &insertion, finalLine, true);
}

ZuErr ZuTextBlock::RemoveRange(std::uint32_t from, std::uint32_t to, int finalLine)
{
    return Replace(from, to, nullptr, finalLine);
}

ZuErr ZuTextBlock::RemoveRangeOf(int pane, const ZuTextRange& range)
{
    if (range.type < ZuRangeStream || range.type > ZuRangeStream2)
        return ZuErrBadParameter;
    if (range.IsEmpty())
        return ZuOk;
    if (range.type != ZuRangeColumn) {
        std::uint32_t from = 0, to = 0;
        ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) { from = a, to = b; });
        return RemoveRange(from, to);
    }
    // Column: from the last line up, so that earlier offsets stay valid; on a
    // failure the copy is put back.
    ZuTextBlock saved = *this;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
    ForEachSpan(pane, range, [&](std::uint32_t a, std::uint32_t b) { spans.emplace_back(a, b); });
    for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
        if (const ZuErr error = RemoveRange(it->first, it->second)) {
            *this = std::move(saved);
            return error;
        }
    }
    return ZuOk;
}

ZuTextBlock ZuTextBlock::Piece(std::uint32_t from, std::uint32_t to, bool finalLine) const
{
    ZuTextBlock piece;
    to = std::min(to, Length());
    from = std::min(from, to);
    piece.text.assign(text, from, to - from);
    for (int pane = 0; pane < 2; ++pane) {
        std::vector<Mapped> mapped;
        const ZuLineTable& table = lines[pane];
        auto it = std::lower_bound(table.begin(), table.end(), from,
                                   [](const ZuLineEntry& e, std::uint32_t value) { return e.start < value; });
        for (; it != table.end() && it->start <= to; ++it)
            mapped.push_back({it->start - from, !IsParagraphStart(it->start), *it});
        RebuildLines(piece.text, mapped, finalLine, piece.lines[pane]);
    }
    piece.fonts = fonts.Slice(from, to);
    piece.colors = colors.Slice(from, to);
    piece.paragraphs = paragraphs.Slice(from, to);
    return piece;
}

ZuTextBlock ZuTextBlock::CopyOut(std::uint32_t from, std::uint32_t to) const
{
    return Piece(from, to, false);
}

ZuTextBlock ZuTextBlock::MoveOut(std::uint32_t from, std::uint32_t to)
{
    ZuTextBlock piece = CopyOut(from, to);
    RemoveRange(from, to);
    return piece;
}

ZuErr ZuTextBlock::Join(const ZuTextBlock& other)
{
    return Replace(Length(), Length(), &other, other.HasFinalLine() ? 1 : 0);
}

ZuErr ZuTextBlock::InsertText(std::uint32_t& taken, const char* bytes, std::uint32_t size, int lfMode, int tailMode,
                              std::uint32_t limit)
{
    taken = 0;
    const std::uint32_t length = Length();
    const bool lastOpen = lines[0].back().start == length || !CrLfBefore(text, length);
    // The bytes of the block's open last line count towards the first new line.
    std::uint32_t carried = lastOpen ? length - lines[0].back().start : 0;
    const std::uint64_t budget = std::min<std::uint64_t>(std::uint64_t(length) + size, limit);
    bool holdsLines = length > 0;

    std::string add;
    std::vector<std::uint32_t> starts; // of new lines, in the stored text
    std::uint32_t p = 0;
    while (p < size) {
        std::uint32_t end = p; // one past the line's terminator
        std::uint32_t contentEnd = size;
        bool terminated = false;
        while (end < size) {
            const void* hit = std::memchr(bytes + end, '\n', size - end);
            if (hit == nullptr) {
                end = size;
                break;
            }
            const std::uint32_t lf = std::uint32_t(static_cast<const char*>(hit) - bytes);
            if (lfMode == ZuLfText) {
                contentEnd = lf;
                end = lf + 1;
                terminated = true;
                break;
            }
            if (lf > 0 && bytes[lf - 1] == '\r') {
                contentEnd = lf - 1;
                end = lf + 1;
                terminated = true;
                break;
            }
            end = lf + 1;
        }
        if (!terminated)
            contentEnd = size;
        const std::uint64_t lineLength = std::uint64_t(contentEnd - p) + (starts.empty() && add.empty() ? carried : 0);
        if (lineLength > ZuMaxLineLength)
            return taken = 0, ZuErrLineLength;
        if (!terminated && tailMode == -1)
            break;
        // Counted in bytes taken: LF text grows by a CR per line as it is stored.
        if (holdsLines && std::uint64_t(length) + end > budget)
            break;
        const bool continues = add.empty() && lastOpen;
        if (!continues)
            starts.push_back(length + std::uint32_t(add.size()));
        if (terminated && lfMode == ZuLfText) {
            add.append(bytes + p, contentEnd - p);
            add += "\r\n";
        } else {
            add.append(bytes + p, end - p);
        }
        holdsLines = true;
        p = end;
        taken = p;
        carried = 0;
    }
    if (add.empty())
        return ZuOk;
    if (text.capacity() < length + add.size())
        text.reserve(std::max<std::size_t>(length + add.size(), std::min<std::uint32_t>(limit, 1u << 20)));
    text += add;
    for (int pane = 0; pane < 2; ++pane) {
        lines[pane].back().ClearLayout();
        for (std::uint32_t start : starts)
            lines[pane].push_back(ZuLineEntry{start, {0, 0}, 0});
    }
    return ZuOk;
}

ZuErr ZuTextBlock::InsertEmptyLines(std::uint32_t n)
{
    std::string bytes;
    for (std::uint32_t i = 0; i < n; ++i)
        bytes += "\r\n";
    return InsertBytes(Length(), bytes);
}

ZuErr ZuTextBlock::InsertSpaces(std::uint32_t n)
{
    if (n > ZuDefaultBlockSize)
        return ZuErrBadParameter;
    return InsertBytes(Length(), std::string(n, ' '));
}

ZuErr ZuTextBlock::SetParagraphEnd(int pane, std::uint32_t line, bool on)
{
    if (line >= LineCount(pane))
        return ZuErrBadParameter;
    const std::uint32_t at = LineStart(pane, line) + LineLength(pane, line);
    if (on == EndsParagraph(pane, line))
        return ZuOk;
    if (on)
        return InsertBytes(at, "\r\n");
    return RemoveRange(at, at + 2);
}

std::uint32_t ZuTextBlock::LastParagraphStart() const
{
    for (std::size_t i = lines[0].size(); i > 0; --i) {
        const std::uint32_t p = lines[0][i - 1].start;
        if (p > 0 && p < Length() && CrLfBefore(text, p))
            return p;
    }
    return 0;
}

namespace {

// The split point of the bytes [0, end) given the block's paragraph starts.
std::uint32_t SplitIn(const std::string& text, const std::vector<std::uint32_t>& bounds, std::uint32_t end,
                      std::uint32_t size)
{
    if (end <= size)
        return 0;
    const std::uint32_t excess = end - size;
    if (CrLfBefore(text, excess))
        return excess;
    const std::size_t inside = std::size_t(std::lower_bound(bounds.begin(), bounds.end(), end) - bounds.begin());
    const std::size_t beyond = std::size_t(std::upper_bound(bounds.begin(), bounds.end(), excess) - bounds.begin());
    if (beyond < inside)
        return beyond > 0 ? bounds[beyond - 1] : bounds[beyond];
    return inside > 0 ? bounds[inside - 1] : 0;
}

} // namespace

std::uint32_t ZuTextBlock::SplitPointBefore(std::uint32_t end, std::uint32_t size) const
{
    std::vector<std::uint32_t> bounds;
    for (const ZuLineEntry& e : lines[0])
        if (e.start > 0 && e.start < Length() && CrLfBefore(text, e.start))
            bounds.push_back(e.start);
    return SplitIn(text, bounds, end, size);
}

std::vector<std::uint32_t> ZuTextBlock::SplitPoints(std::uint32_t size) const
{
    std::vector<std::uint32_t> cuts;
    if (Length() <= size)
        return cuts;
    std::vector<std::uint32_t> bounds;
    for (const ZuLineEntry& e : lines[0])
        if (e.start > 0 && e.start < Length() && CrLfBefore(text, e.start))
            bounds.push_back(e.start);
    if (bounds.empty())
        return cuts; // a single paragraph is never split
    cuts.push_back(bounds.back());
    std::uint32_t front = bounds.back();
    while (front > size) {
        const std::uint32_t q = SplitIn(text, bounds, front, size);
        if (q == 0 || q >= front) // every split must make progress
            break;
        cuts.push_back(q);
        front = q;
    }
    std::reverse(cuts.begin(), cuts.end());
    return cuts;
}

void ZuTextBlock::ClearLayout()
{
    for (ZuLineTable& table : lines)
        for (ZuLineEntry& e : table)
            e.ClearLayout();
}
