#include "editctl/engine/ZuTextDocument.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::array<std::uint32_t, 12> InitialColors = {0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x0000FF,
                                                         0xFFFFFF, 0x000000, 0xBFBF00, 0xFFFFFF, 0xBF0000, 0xFFFFFF};

// Counts stay below 2^31: the control hands them out as signed 32-bit numbers.
constexpr std::uint64_t MaxCount = 0x7FFFFFFF;

// A block taken into a document: its paragraphs' tab sets read their default
// width from that document's default set, never from the one the text came
// from, which may be gone.
void Adopt(ZuTextBlock& block, ZuTextDocument* document, ZuTabSet& defaults)
{
    block.owner = document;
    for (ZuParagraphRun& run : block.paragraphs.runs)
        if (run.tabs)
            run.tabs->DelegateDefaultWidth(&defaults);
}

} // namespace

ZuTextDocument::ZuTextDocument(ZuMetricsProvider* provider, std::uint32_t blockSize)
    : ownProvider_(provider != nullptr ? nullptr : std::make_unique<ZuFixedMetrics>()),
      blockSize_(std::max<std::uint32_t>(blockSize, 4)),
      fonts_(std::make_unique<ZuFontTable>(provider != nullptr ? provider : ownProvider_.get())),
      paneColors_{InitialColors, InitialColors}
{
}

ZuTextDocument::~ZuTextDocument() = default;

void ZuTextDocument::Clear()
{
    blocks_.clear();
    cache_.Reset(blocks_);
    lineCount_[0] = lineCount_[1] = 0;
    byteCount_ = 0;
}

void ZuTextDocument::EnsureBlock()
{
    if (!blocks_.empty())
        return;
    auto block = std::make_unique<ZuTextBlock>();
    block->owner = this;
    blocks_.push_back(std::move(block));
    lineCount_[0] = lineCount_[1] = 1;
    cache_.Reset(blocks_);
}

void ZuTextDocument::EnsureFinalLine()
{
    if (blocks_.empty())
        return;
    ZuTextBlock& last = *blocks_.back();
    const std::uint32_t length = last.Length();
    if (length >= 2 && last.text[length - 2] == '\r' && last.text[length - 1] == '\n' && !last.HasFinalLine()) {
        for (int pane = 0; pane < 2; ++pane) {
            last.lines[pane].push_back(ZuLineEntry{length, {0, 0}, 0});
            ++lineCount_[pane];
        }
        cache_.Recount(blocks_.size() - 1, last);
    }
}

std::string ZuTextDocument::Text() const
{
    std::string all;
    all.reserve(byteCount_);
    for (const auto& block : blocks_)
        all += block->text;
    return all;
}

ZuTextDocument::ZuBlockPlace ZuTextDocument::FindBlock(int pane, std::uint32_t line) const
{
    ZuBlockPlace place;
    if (blocks_.empty() || lineCount_[pane] == 0)
        return place;
    const std::uint64_t zeroBased = std::min<std::uint64_t>(line == 0 ? 0 : line - 1, lineCount_[pane] - 1);
    place.block = cache_.BlockOfLine(pane, zeroBased);
    place.line = std::uint32_t(zeroBased - cache_.LinesBefore(pane, place.block));
    place.offset = blocks_[place.block]->LineStart(pane, place.line);
    return place;
}

ZuTextDocument::ZuBlockPlace ZuTextDocument::FindBlockByOffset(int pane, std::uint64_t offset) const
{
    ZuBlockPlace place;
    if (blocks_.empty())
        return place;
    offset = std::min(offset, byteCount_);
    place.block = cache_.BlockOfOffset(offset);
    place.offset = std::uint32_t(offset - cache_.BytesBefore(place.block));
    place.line = blocks_[place.block]->LineOf(pane, place.offset);
    return place;
}

std::uint64_t ZuTextDocument::PositionToOffset(int pane, ZuTextPosition position) const
{
    if (blocks_.empty())
        return 0;
    const ZuBlockPlace place = FindBlock(pane, position.y);
    if (position.y > lineCount_[pane])
        return byteCount_;
    return cache_.BytesBefore(place.block) + blocks_[place.block]->OffsetOf(pane, position.x, place.line);
}

std::pair<std::uint64_t, std::uint64_t> ZuTextDocument::SpanOf(int pane, const ZuTextRange& range) const
{
    std::uint64_t from = 0, to = byteCount_;
    if (range.type == ZuRangeLine) {
        from = PositionToOffset(pane, {0, range.LowestLine()});
        to = PositionToOffset(pane, {ZuEndOfLine, range.HighestLine()});
    } else if (range.type == ZuRangeStream) {
        from = PositionToOffset(pane, range.First());
        to = PositionToOffset(pane, range.Last());
    }
    return {from, std::max(from, to)};
}

ZuTextPosition ZuTextDocument::OffsetToPosition(int pane, std::uint64_t offset) const
{
    if (blocks_.empty())
        return {0, 1};
    const ZuBlockPlace place = FindBlockByOffset(pane, offset);
    const ZuTextPosition inBlock = blocks_[place.block]->PositionOf(pane, place.offset);
    return {inBlock.x, std::uint32_t(cache_.LinesBefore(pane, place.block) + inBlock.y + 1)};
}

std::uint64_t ZuTextDocument::LineStartOffset(int pane, std::uint32_t line) const
{
    return PositionToOffset(pane, {0, line});
}

std::string ZuTextDocument::LineText(int pane, std::uint32_t line) const
{
    if (blocks_.empty() || line > lineCount_[pane])
        return {};
    const ZuBlockPlace place = FindBlock(pane, line);
    const ZuTextBlock& block = *blocks_[place.block];
    return std::string(block.LineText(pane, place.line), block.LineLength(pane, place.line));
}

std::uint32_t ZuTextDocument::LineLength(int pane, std::uint32_t line) const
{
    if (blocks_.empty() || line > lineCount_[pane])
        return 0;
    const ZuBlockPlace place = FindBlock(pane, line);
    return blocks_[place.block]->LineLength(pane, place.line);
}

bool ZuTextDocument::EndsParagraph(int pane, std::uint32_t line) const
{
    if (blocks_.empty() || line > lineCount_[pane])
        return false;
    const ZuBlockPlace place = FindBlock(pane, line);
    return blocks_[place.block]->EndsParagraph(pane, place.line);
}

int ZuTextDocument::DetectLineEnds(const char* bytes, std::size_t size)
{
    for (std::size_t i = 1; i < size; ++i)
        if (bytes[i] == '\n' && bytes[i - 1] == '\r')
            return ZuCrLfText;
    return ZuLfText;
}

ZuErr ZuTextDocument::AppendText(std::uint64_t& taken, const char* bytes, std::size_t size, int lfMode, int tailMode)
{
    taken = 0;
    try {
        while (taken < size) {
            const std::uint32_t chunk = std::uint32_t(std::min<std::uint64_t>(size - taken, 0x40000000));
            std::uint32_t took = 0;
            if (!blocks_.empty()) {
                ZuTextBlock& last = *blocks_.back();
                const std::uint32_t length = last.Length();
                const bool open = length > 0 && !(length >= 2 && last.text[length - 2] == '\r' &&
                                                  last.text[length - 1] == '\n');
                if (open || length < blockSize_) {
                    // A paragraph left open goes on in its own block, whatever its size.
                    const std::uint32_t counts[2] = {last.LineCount(0), last.LineCount(1)};
                    const std::uint32_t limit = open ? 0xFFFFFFFFu : blockSize_;
                    if (const ZuErr error = last.InsertText(took, bytes + taken, chunk, lfMode, tailMode, limit))
                        return error;
                    if (took > 0) {
                        byteCount_ += last.Length() - length;
                        RecountBlock(blocks_.size() - 1, counts);
                        if (last.Length() > blockSize_) {
                            const std::size_t k = blocks_.size() - 1;
                            ReplaceBlocks(k, k, Cut(last, false));
                        }
                        taken += took;
                        continue;
                    }
                    if (open)
                        return ZuOk;
                }
            }
            auto block = std::make_unique<ZuTextBlock>();
            if (const ZuErr error = block->InsertText(took, bytes + taken, chunk, lfMode, tailMode, blockSize_))
                return error;
            if (took == 0)
                return ZuOk; // an unterminated tail is left to the caller
            if (std::uint64_t(lineCount_[0]) + block->LineCount(0) > MaxCount)
                return ZuErrLineCount;
            block->owner = this;
            for (int pane = 0; pane < 2; ++pane)
                lineCount_[pane] += block->LineCount(pane);
            byteCount_ += block->Length();
            blocks_.push_back(std::move(block));
            cache_.Recount(blocks_.size() - 1, *blocks_.back());
            taken += took;
        }
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
    return ZuOk;
}

std::vector<std::unique_ptr<ZuTextBlock>> ZuTextDocument::Cut(const ZuTextBlock& block, bool last) const
{
    std::vector<std::unique_ptr<ZuTextBlock>> pieces;
    const std::vector<std::uint32_t> cuts = block.SplitPoints(blockSize_);
    std::uint32_t from = 0;
    for (std::size_t k = 0; k <= cuts.size(); ++k) {
        const std::uint32_t to = k < cuts.size() ? cuts[k] : block.Length();
        const bool isLast = k == cuts.size();
        auto piece = std::make_unique<ZuTextBlock>(block.Piece(from, to, isLast && last));
        piece->owner = const_cast<ZuTextDocument*>(this);
        pieces.push_back(std::move(piece));
        from = to;
    }
    return pieces;
}

void ZuTextDocument::ReplaceBlocks(std::size_t first, std::size_t last,
                                   std::vector<std::unique_ptr<ZuTextBlock>> pieces)
{
    ++editCount_;
    for (std::size_t k = first; k <= last; ++k) {
        for (int pane = 0; pane < 2; ++pane)
            lineCount_[pane] -= blocks_[k]->LineCount(pane);
        byteCount_ -= blocks_[k]->Length();
    }
    for (const auto& piece : pieces) {
        Adopt(*piece, this, defaultTabs_);
        for (int pane = 0; pane < 2; ++pane)
            lineCount_[pane] += piece->LineCount(pane);
        byteCount_ += piece->Length();
    }
    if (pieces.size() == last - first + 1) {
        // As many blocks as before (the common case of an edit inside one block): in place.
        for (std::size_t k = first; k <= last; ++k) {
            blocks_[k] = std::move(pieces[k - first]);
            cache_.Recount(k, *blocks_[k]);
        }
        return;
    }
    blocks_.erase(blocks_.begin() + std::ptrdiff_t(first), blocks_.begin() + std::ptrdiff_t(last) + 1);
    const std::size_t count = pieces.size();
    blocks_.insert(blocks_.begin() + std::ptrdiff_t(first), std::make_move_iterator(pieces.begin()),
                   std::make_move_iterator(pieces.end()));
    cache_.Replaced(first, last, blocks_, count);
}

ZuErr ZuTextDocument::Splice(std::uint64_t from, std::uint64_t to, const ZuTextBlock* insertion, bool inherit,
                             ZuTextBlock* removed)
{
    try {
        EnsureBlock();
        to = std::min(to, byteCount_);
        from = std::min(from, to);
        const std::uint32_t inserted = insertion != nullptr ? insertion->Length() : 0;
        if (byteCount_ - (to - from) + inserted > MaxCount)
            return ZuErrLineCount;
        const std::size_t i = cache_.BlockOfOffset(from);
        const std::size_t j = cache_.BlockOfOffset(to);
        const std::size_t lastBlock = blocks_.size() - 1;
        const std::uint32_t a = std::uint32_t(from - cache_.BytesBefore(i));
        const std::uint32_t b = std::uint32_t(to - cache_.BytesBefore(j));
        // An edit between the CR and LF that end a block breaks the pair: the
        // next block joins the work, so that every block still ends a paragraph.
        const bool joinNext = j < lastBlock && (b + 1 == blocks_[j]->Length() ||
                                                (i == j && a + 1 == blocks_[j]->Length()));
        const std::size_t last = joinNext ? j + 1 : j;
        const bool endsDocument = last == lastBlock;

        if (removed != nullptr) {
            if (i == j) {
                *removed = blocks_[i]->Piece(a, b, false);
            } else {
                std::vector<const ZuTextBlock*> parts;
                ZuTextBlock head = blocks_[i]->Piece(a, blocks_[i]->Length(), false);
                ZuTextBlock tail = blocks_[j]->Piece(0, b, false);
                parts.push_back(&head);
                for (std::size_t k = i + 1; k < j; ++k)
                    parts.push_back(blocks_[k].get());
                parts.push_back(&tail);
                ZuTextBlock all;
                all.text.reserve(std::size_t(to - from));
                for (const ZuTextBlock* part : parts) {
                    const std::uint32_t at = all.Length();
                    all.text += part->text;
                    all.fonts.AppendSegment(part->fonts, at, part->Length());
                    all.colors.AppendSegment(part->colors, at, part->Length());
                    all.paragraphs.AppendSegment(part->paragraphs, at, part->Length());
                }
                all.RebuildLinesFromText(false);
                *removed = std::move(all);
            }
        }

        ZuTextBlock work = *blocks_[i];
        if (i == j) {
            if (const ZuErr error = work.Replace(a, b, insertion, endsDocument && !joinNext ? 1 : 0, inherit))
                return error;
        } else {
            if (const ZuErr error = work.Replace(a, work.Length(), insertion, 0, inherit))
                return error;
            const ZuTextBlock tail = blocks_[j]->Piece(b, blocks_[j]->Length(), endsDocument && !joinNext);
            if (const ZuErr error =
                    work.Replace(work.Length(), work.Length(), &tail, endsDocument && !joinNext ? 1 : 0))
                return error;
        }
        if (joinNext) {
            const ZuTextBlock next = blocks_[last]->Piece(0, blocks_[last]->Length(), endsDocument);
            if (const ZuErr error = work.Replace(work.Length(), work.Length(), &next, endsDocument ? 1 : 0))
                return error;
        }
        std::uint64_t newLines[2];
        for (int pane = 0; pane < 2; ++pane) {
            newLines[pane] = lineCount_[pane] + work.LineCount(pane);
            for (std::size_t k = i; k <= last; ++k)
                newLines[pane] -= blocks_[k]->LineCount(pane);
            if (newLines[pane] > MaxCount)
                return ZuErrLineCount;
        }

        std::vector<std::unique_ptr<ZuTextBlock>> pieces;
        if (work.Length() == 0 && (i > 0 || last < lastBlock)) {
            // Nothing left of the last block: the one before it ends the document now.
            if (i > 0) {
                ZuTextBlock& before = *blocks_[i - 1];
                const std::uint32_t counts[2] = {before.LineCount(0), before.LineCount(1)};
                before.Replace(before.Length(), before.Length(), nullptr, 1);
                RecountBlock(i - 1, counts);
            }
        } else if (work.Length() > blockSize_) {
            pieces = Cut(work, endsDocument);
        } else {
            work.owner = this;
            pieces.push_back(std::make_unique<ZuTextBlock>(std::move(work)));
        }
        ReplaceBlocks(i, last, std::move(pieces));
        bookmarks_.AdjustForEdit(from, to, inserted);
        UpdateBookmarkPositions();
        return ZuOk;
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
}

void ZuTextDocument::RecountBlock(std::size_t k, const std::uint32_t before[2])
{
    for (int pane = 0; pane < 2; ++pane)
        lineCount_[pane] = lineCount_[pane] - before[pane] + blocks_[k]->LineCount(pane);
    cache_.Recount(k, *blocks_[k]);
}

void ZuTextDocument::UpdateBookmarkPositions()
{
    for (ZuBookmark& mark : bookmarks_.All())
        if (mark.offset >= 0)
            mark.position = OffsetToPosition(0, std::uint64_t(mark.offset));
}

ZuErr ZuTextDocument::InsertText(int pane, ZuTextPosition at, std::string_view bytes)
{
    if (bytes.empty())
        return ZuOk;
    if (bytes.size() > MaxCount)
        return ZuErrLineCount;
    ZuTextBlock insertion;
    try {
        insertion.text.assign(bytes);
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
    const std::uint64_t offset = PositionToOffset(pane, at);
    return Splice(offset, offset, &insertion, true, nullptr);
}

ZuErr ZuTextDocument::InsertTextAt(std::uint64_t offset, std::string_view bytes)
{
    if (bytes.empty())
        return ZuOk;
    if (offset > byteCount_)
        return ZuErrBadParameter;
    if (bytes.size() > MaxCount)
        return ZuErrLineCount;
    ZuTextBlock insertion;
    try {
        insertion.text.assign(bytes);
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
    return Splice(offset, offset, &insertion, true, nullptr);
}

ZuErr ZuTextDocument::RemoveBytes(ZuTextDocument* fragment, std::uint64_t from, std::uint64_t to)
{
    if (fragment == this || from > to || to > byteCount_)
        return ZuErrBadParameter;
    if (fragment != nullptr)
        fragment->Clear();
    try {
        return RemoveStream(fragment, from, to);
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
}

ZuErr ZuTextDocument::TakeFragmentFonts(const ZuTextDocument& fragment, std::vector<std::uint32_t>& map)
{
    if (std::uint64_t(lineCount_[0]) + fragment.LineCount(0) > MaxCount)
        return ZuErrLineCount;
    if (const ZuErr error = fonts_->MergeFrom(*fragment.fonts_))
        return error;
    return fragment.fonts_->IndexMap(*fonts_, map);
}

ZuErr ZuTextDocument::InsertFragmentAt(std::uint64_t offset, ZuTextDocument& fragment)
{
    if (&fragment == this || offset > byteCount_)
        return ZuErrBadParameter;
    if (fragment.ByteCount() == 0) {
        fragment.Clear();
        return ZuOk;
    }
    try {
        std::vector<std::uint32_t> map;
        if (const ZuErr error = TakeFragmentFonts(fragment, map))
            return error;
        if (ZuErr error = ZuOk; InsertMovingBlocks(fragment, offset, map, error))
            return error;
        const ZuTextBlock joined = fragment.Joined(map);
        const ZuErr result = Splice(offset, offset, &joined, false, nullptr);
        if (result == ZuOk)
            fragment.Clear();
        return result;
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
}

ZuErr ZuTextDocument::RemoveCharAt(int pane, std::uint32_t column, std::uint32_t line)
{
    if (blocks_.empty())
        return ZuOk;
    if (line == 0)
        line = 1;
    if (line > lineCount_[pane])
        return ZuOk;
    const ZuBlockPlace place = FindBlock(pane, line);
    const ZuTextBlock& block = *blocks_[place.block];
    const std::uint32_t length = block.LineLength(pane, place.line);
    const std::uint64_t start = cache_.BytesBefore(place.block) + block.LineStart(pane, place.line);
    if (column < length)
        return Splice(start + column, start + column + 1, nullptr, false, nullptr);
    if (line == lineCount_[pane])
        return ZuOk;
    // At the end of a line its CR LF goes and the next line joins it; at a soft
    // line end the first byte of the next line goes.
    const std::uint32_t count = block.EndsParagraph(pane, place.line) ? 2 : 1;
    return Splice(start + length, start + length + count, nullptr, false, nullptr);
}

ZuErr ZuTextDocument::SetParagraphEnd(int pane, std::uint32_t line, bool on)
{
    ++editCount_;
    if (blocks_.empty() || line == 0 || line > lineCount_[pane])
        return ZuErrBadParameter;
    if (EndsParagraph(pane, line) == on)
        return ZuOk;
    const std::uint64_t end = LineStartOffset(pane, line) + LineLength(pane, line);
    if (on) {
        ZuTextBlock crlf;
        crlf.text = "\r\n";
        return Splice(end, end, &crlf, true, nullptr);
    }
    return Splice(end, end + 2, nullptr, false, nullptr);
}

ZuErr ZuTextDocument::Spans(int pane, const ZuTextRange& range,
                            std::vector<std::pair<std::uint64_t, std::uint64_t>>& spans, bool forRemoval) const
{
    spans.clear();
    if (range.type < ZuRangeStream || range.type > ZuRangeStream2)
        return ZuErrBadParameter;
    if (blocks_.empty())
        return ZuOk;
    if (range.type == ZuRangeColumn) {
        const std::uint32_t low = std::max<std::uint32_t>(range.LowestLine(), 1);
        const std::uint32_t high = std::min(range.HighestLine(), lineCount_[pane]);
        for (std::uint32_t line = low; line <= high; ++line) {
            const std::uint64_t a = PositionToOffset(pane, {range.SmallestX(), line});
            const std::uint64_t b = PositionToOffset(pane, {range.LargestX(), line});
            if (b > a)
                spans.emplace_back(a, b);
        }
        return ZuOk;
    }
    std::uint64_t a, b;
    if (range.type == ZuRangeLine) {
        const std::uint32_t low = std::max<std::uint32_t>(range.LowestLine(), 1);
        const std::uint32_t high = range.HighestLine();
        a = LineStartOffset(pane, low);
        if (high >= lineCount_[pane]) {
            b = byteCount_;
            // The line break before the removed lines goes with them, so that
            // no empty line is left dangling at the end.
            if (forRemoval && low > 1 && low <= lineCount_[pane])
                a = LineStartOffset(pane, low - 1) + LineLength(pane, low - 1);
        } else {
            b = LineStartOffset(pane, high + 1);
        }
    } else {
        a = PositionToOffset(pane, range.First());
        b = PositionToOffset(pane, range.Last());
    }
    if (b > a)
        spans.emplace_back(a, b);
    return ZuOk;
}

ZuErr ZuTextDocument::RemoveRange(ZuTextDocument* fragment, int pane, const ZuTextRange& range)
{
    if (fragment == this)
        return ZuErrBadParameter;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    if (const ZuErr error = Spans(pane, range, spans))
        return error;
    if (fragment != nullptr)
        fragment->Clear();
    if (range.type != ZuRangeColumn) {
        if (spans.empty())
            return ZuOk;
        return RemoveStream(fragment, spans[0].first, spans[0].second);
    }
    // Column: the removed pieces of each line, each ending with CR LF, make the fragment.
    std::vector<ZuTextBlock> pieces(fragment != nullptr ? spans.size() : 0);
    for (std::size_t k = spans.size(); k > 0; --k) {
        const auto& [from, to] = spans[k - 1];
        if (const ZuErr error = Splice(from, to, nullptr, false, fragment != nullptr ? &pieces[k - 1] : nullptr))
            return error;
    }
    if (fragment != nullptr && !spans.empty()) {
        if (const ZuErr error = fragment->fonts_->MergeFrom(*fonts_))
            return error;
        std::vector<std::uint32_t> map;
        fonts_->IndexMap(*fragment->fonts_, map);
        ZuTextBlock all;
        for (ZuTextBlock& piece : pieces) {
            const std::uint32_t at = all.Length();
            for (ZuFontRun& run : piece.fonts.runs)
                run.font = run.font < map.size() ? map[run.font] : 0;
            all.text += piece.text;
            all.text += "\r\n";
            all.fonts.AppendSegment(piece.fonts, at, piece.Length() + 2);
            all.colors.AppendSegment(piece.colors, at, piece.Length() + 2);
            all.paragraphs.AppendSegment(piece.paragraphs, at, piece.Length() + 2);
        }
        all.RebuildLinesFromText(false);
        fragment->FillFrom(std::move(all));
    }
    return ZuOk;
}

ZuErr ZuTextDocument::RemoveStream(ZuTextDocument* fragment, std::uint64_t from, std::uint64_t to)
{
    if (ZuErr error = ZuOk; fragment != nullptr && RemoveMovingBlocks(*fragment, from, to, error))
        return error;
    ZuTextBlock removed;
    if (const ZuErr error = Splice(from, to, nullptr, false, fragment != nullptr ? &removed : nullptr))
        return error;
    if (fragment != nullptr) {
        if (const ZuErr error = fragment->fonts_->MergeFrom(*fonts_))
            return error;
        std::vector<std::uint32_t> map;
        if (fonts_->IndexMap(*fragment->fonts_, map) == ZuOk)
            for (ZuFontRun& run : removed.fonts.runs)
                run.font = run.font < map.size() ? map[run.font] : 0;
        fragment->FillFrom(std::move(removed));
    }
    return ZuOk;
}

void ZuTextDocument::FillFrom(ZuTextBlock&& removed)
{
    Clear();
    removed.owner = this;
    if (removed.Length() > blockSize_) {
        blocks_ = Cut(removed, false);
    } else {
        blocks_.push_back(std::make_unique<ZuTextBlock>(std::move(removed)));
        blocks_.back()->owner = this;
    }
    for (const auto& block : blocks_) {
        Adopt(*block, this, defaultTabs_);
        for (int pane = 0; pane < 2; ++pane)
            lineCount_[pane] += block->LineCount(pane);
        byteCount_ += block->Length();
    }
    cache_.Reset(blocks_);
}

namespace {

// A block as a fragment keeps it: one line per paragraph in both panes, no
// measurements (the soft lines belong to the pane that wrapped the text).
void AsFragmentBlock(ZuTextBlock& block)
{
    const std::string& text = block.text;
    for (const ZuLineTable& table : block.lines)
        for (std::size_t k = 0; k < table.size(); ++k) {
            const ZuLineEntry& e = table[k];
            if (e.flags != 0 || (k > 0 && (e.start < 2 || text[e.start - 2] != '\r' || text[e.start - 1] != '\n'))) {
                block.RebuildLinesFromText(false);
                return;
            }
        }
    block.ClearLayout();
}

void RemapFontRuns(ZuTextBlock& block, const std::vector<std::uint32_t>& map)
{
    for (ZuFontRun& run : block.fonts.runs)
        run.font = run.font < map.size() ? map[run.font] : 0;
}

} // namespace

void ZuTextDocument::InsertBlocks(std::size_t at, std::vector<std::unique_ptr<ZuTextBlock>> pieces)
{
    for (const auto& piece : pieces) {
        Adopt(*piece, this, defaultTabs_);
        for (int pane = 0; pane < 2; ++pane)
            lineCount_[pane] += piece->LineCount(pane);
        byteCount_ += piece->Length();
    }
    const std::size_t count = pieces.size();
    blocks_.insert(blocks_.begin() + std::ptrdiff_t(at), std::make_move_iterator(pieces.begin()),
                   std::make_move_iterator(pieces.end()));
    cache_.Replaced(at, at - 1, blocks_, count); // none replaced: the range is empty
}

bool ZuTextDocument::RemoveMovingBlocks(ZuTextDocument& fragment, std::uint64_t from, std::uint64_t to, ZuErr& error)
{
    if (blocks_.empty() || to <= from)
        return false;
    const std::size_t i = cache_.BlockOfOffset(from);
    const std::size_t j = cache_.BlockOfOffset(to);
    if (j < i + 2)
        return false;
    const std::uint32_t a = std::uint32_t(from - cache_.BytesBefore(i));
    const std::uint32_t b = std::uint32_t(to - cache_.BytesBefore(j));
    // A start between the CR and LF that end the first block would leave the
    // fragment a block that ends in a lone LF.
    if (a + 1 == blocks_[i]->Length())
        return false;
    const std::uint64_t middleFrom = cache_.BytesBefore(i + 1);
    const std::uint64_t middleTo = cache_.BytesBefore(j);
    std::vector<std::unique_ptr<ZuTextBlock>> taken;
    std::vector<ZuBookmark> marks = bookmarks_.All();
    std::vector<std::uint32_t> map;
    if ((error = fragment.fonts_->MergeFrom(*fonts_)) != ZuOk || (error = fonts_->IndexMap(*fragment.fonts_, map)) != ZuOk)
        return true;
    auto head = std::make_unique<ZuTextBlock>(blocks_[i]->Piece(a, blocks_[i]->Length(), false));
    auto tail = std::make_unique<ZuTextBlock>(blocks_[j]->Piece(0, b, false));
    taken.reserve(j - i + 1);

    // The whole blocks between the two ends leave first, moved, then the ends
    // are cut as any edit; when that fails the blocks go back.
    std::vector<std::unique_ptr<ZuTextBlock>> middle(std::make_move_iterator(blocks_.begin() + std::ptrdiff_t(i) + 1),
                                                     std::make_move_iterator(blocks_.begin() + std::ptrdiff_t(j)));
    blocks_.erase(blocks_.begin() + std::ptrdiff_t(i) + 1, blocks_.begin() + std::ptrdiff_t(j));
    for (const auto& block : middle) {
        for (int pane = 0; pane < 2; ++pane)
            lineCount_[pane] -= block->LineCount(pane);
        byteCount_ -= block->Length();
    }
    cache_.Replaced(i + 1, j - 1, blocks_, 0);
    bookmarks_.AdjustForEdit(middleFrom, middleTo, 0);
    error = Splice(from, to - (middleTo - middleFrom), nullptr, false, nullptr);
    if (error != ZuOk) {
        InsertBlocks(i + 1, std::move(middle));
        bookmarks_.All() = std::move(marks);
        UpdateBookmarkPositions();
        return true;
    }

    fragment.Clear();
    if (head->Length() > 0)
        taken.push_back(std::move(head));
    for (auto& block : middle)
        taken.push_back(std::move(block));
    if (tail->Length() > 0)
        taken.push_back(std::move(tail));
    for (const auto& block : taken) {
        AsFragmentBlock(*block);
        RemapFontRuns(*block, map);
        Adopt(*block, &fragment, fragment.defaultTabs_);
        for (int pane = 0; pane < 2; ++pane)
            fragment.lineCount_[pane] += block->LineCount(pane);
        fragment.byteCount_ += block->Length();
    }
    fragment.blocks_ = std::move(taken);
    fragment.cache_.Reset(fragment.blocks_);
    return true;
}

bool ZuTextDocument::InsertMovingBlocks(ZuTextDocument& fragment, std::uint64_t offset,
                                        const std::vector<std::uint32_t>& fontMap, ZuErr& error)
{
    const std::size_t n = fragment.blocks_.size();
    if (n < 3)
        return false;
    // The first and last blocks go in as any insertion; the whole paragraphs
    // between them then move in at the paragraph start after the first.
    const ZuTextBlock ends = JoinedBlocks({fragment.blocks_.front().get(), fragment.blocks_.back().get()}, fontMap);
    const std::uint64_t at = offset + fragment.blocks_.front()->Length();
    std::uint64_t middleBytes = 0;
    for (std::size_t k = 1; k + 1 < n; ++k)
        middleBytes += fragment.blocks_[k]->Length();
    const std::vector<ZuBookmark> marks = bookmarks_.All();
    if ((error = Splice(offset, offset, &ends, false, nullptr)) != ZuOk)
        return true;
    try {
        std::size_t k = cache_.BlockOfOffset(at);
        std::uint32_t y = std::uint32_t(at - cache_.BytesBefore(k));
        if (y == blocks_[k]->Length() && k + 1 < blocks_.size())
            ++k, y = 0;
        std::vector<std::unique_ptr<ZuTextBlock>> pieces;
        pieces.reserve(n);
        std::unique_ptr<ZuTextBlock> back;
        if (y > 0) {
            const ZuTextBlock& block = *blocks_[k];
            pieces.push_back(std::make_unique<ZuTextBlock>(block.Piece(0, y, false)));
            back = std::make_unique<ZuTextBlock>(block.Piece(y, block.Length(), block.HasFinalLine()));
        }
        for (std::size_t m = 1; m + 1 < n; ++m) {
            RemapFontRuns(*fragment.blocks_[m], fontMap);
            pieces.push_back(std::move(fragment.blocks_[m]));
        }
        if (back) {
            pieces.push_back(std::move(back));
            for (const auto& piece : pieces)
                piece->owner = this;
            ReplaceBlocks(k, k, std::move(pieces));
        } else {
            InsertBlocks(k, std::move(pieces));
        }
    } catch (const std::bad_alloc&) {
        // Nothing moved yet (the moves cannot fail): take the ends out again.
        RemoveBytes(nullptr, offset, offset + ends.Length());
        bookmarks_.All() = marks;
        UpdateBookmarkPositions();
        error = ZuErrNoMemory;
        return true;
    }
    bookmarks_.AdjustForEdit(at, at, middleBytes);
    UpdateBookmarkPositions();
    fragment.Clear();
    error = ZuOk;
    return true;
}

ZuTextBlock ZuTextDocument::Joined(const std::vector<std::uint32_t>& fontMap) const
{
    std::vector<const ZuTextBlock*> parts;
    parts.reserve(blocks_.size());
    for (const auto& part : blocks_)
        parts.push_back(part.get());
    return JoinedBlocks(parts, fontMap);
}

ZuTextBlock ZuTextDocument::JoinedBlocks(const std::vector<const ZuTextBlock*>& parts,
                                         const std::vector<std::uint32_t>& fontMap)
{
    ZuTextBlock all;
    std::size_t total = 0;
    for (const ZuTextBlock* part : parts)
        total += part->Length();
    all.text.reserve(total);
    for (const ZuTextBlock* part : parts) {
        const std::uint32_t at = all.Length();
        all.text += part->text;
        for (int pane = 0; pane < 2; ++pane)
            for (const ZuLineEntry& e : part->lines[pane])
                if (e.start > 0 && e.start < part->Length())
                    all.lines[pane].push_back(ZuLineEntry{e.start + at, {0, 0}, e.flags});
        ZuRunTable<ZuFontRun> fonts = part->fonts;
        for (ZuFontRun& run : fonts.runs)
            run.font = run.font < fontMap.size() ? fontMap[run.font] : 0;
        all.fonts.AppendSegment(fonts, at, part->Length());
        all.colors.AppendSegment(part->colors, at, part->Length());
        all.paragraphs.AppendSegment(part->paragraphs, at, part->Length());
        if (at > 0) // a paragraph start at the seam
            for (int pane = 0; pane < 2; ++pane)
                all.lines[pane].insert(std::lower_bound(all.lines[pane].begin(), all.lines[pane].end(), at,
                                                        [](const ZuLineEntry& e, std::uint32_t v) { return e.start < v; }),
                                       ZuLineEntry{at, {0, 0}, 0});
    }
    return all;
}

ZuErr ZuTextDocument::InsertFragment(int pane, const ZuTextRange& range, ZuTextDocument& fragment)
{
    if (&fragment == this)
        return ZuErrBadParameter;
    if (range.type < ZuRangeStream || range.type > ZuRangeStream2)
        return ZuErrBadParameter;
    if (fragment.ByteCount() == 0) {
        fragment.Clear();
        return ZuOk;
    }
    try {
        std::vector<std::uint32_t> map;
        if (const ZuErr error = TakeFragmentFonts(fragment, map))
            return error;
        ZuErr result = ZuOk;
        if (range.type == ZuRangeColumn) {
            result = InsertColumn(pane, range, fragment, map);
        } else {
            ZuTextPosition at = range.First();
            if (range.type == ZuRangeLine)
                at = {0, range.LowestLine()};
            const ZuTextBlock joined = fragment.Joined(map);
            const std::uint64_t offset = blocks_.empty() ? 0 : PositionToOffset(pane, at);
            result = Splice(offset, offset, &joined, false, nullptr);
        }
        if (result == ZuOk)
            fragment.Clear();
        return result;
    } catch (const std::bad_alloc&) {
        return ZuErrNoMemory;
    }
}

ZuErr ZuTextDocument::InsertColumn(int pane, const ZuTextRange& range, ZuTextDocument& fragment,
                                   const std::vector<std::uint32_t>& fontMap)
{
    const std::uint32_t column = range.SmallestX();
    const std::uint32_t width = range.LargestX() - range.SmallestX();
    const std::uint32_t first = std::max<std::uint32_t>(range.LowestLine(), 1);
    // The joined fragment drops an empty last line, so its own count bounds the lines.
    const ZuTextBlock source = fragment.Joined(fontMap);
    const std::uint32_t lines =
        std::min({range.HighestLine() - range.LowestLine() + 1, fragment.LineCount(0), source.LineCount(0)});
    if (width == 0 || lines == 0)
        return ZuOk;
    EnsureBlock();
    // Every record says where text went in, so that a failure takes it all out again.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> done;
    const auto undo = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            Splice(it->first, it->first + it->second, nullptr, false, nullptr);
    };
    if (lineCount_[pane] < first + lines - 1) {
        const std::uint32_t missing = first + lines - 1 - lineCount_[pane];
        std::string breaks;
        for (std::uint32_t k = 0; k < missing; ++k)
            breaks += "\r\n";
        ZuTextBlock block;
        block.text = breaks;
        const std::uint64_t end = byteCount_;
        if (const ZuErr error = Splice(end, end, &block, true, nullptr))
            return error;
        done.emplace_back(end, breaks.size());
    }
    for (std::uint32_t k = 0; k < lines; ++k) {
        const std::uint32_t start = source.LineStart(0, k);
        const std::uint32_t length = source.LineLength(0, k);
        ZuTextBlock piece = source.Piece(start, start + length, false);
        if (piece.Length() < width) {
            ZuTextBlock blanks;
            blanks.text.assign(width - piece.Length(), ' ');
            piece.Replace(piece.Length(), piece.Length(), &blanks, 0, true);
        }
        const std::uint32_t line = first + k;
        const std::uint32_t lineLength = LineLength(pane, line);
        const std::uint64_t lineStart = LineStartOffset(pane, line);
        const std::uint64_t at = lineStart + std::min(column, lineLength);
        ZuErr error = ZuOk;
        std::uint64_t added = piece.Length();
        if (lineLength < column) {
            // Blanks up to the column, in the font in force at the line's end.
            ZuTextBlock pad;
            pad.text.assign(column - lineLength, ' ');
            error = Splice(at, at, &pad, true, nullptr);
            if (error == ZuOk) {
                done.emplace_back(at, pad.Length());
                error = Splice(at + pad.Length(), at + pad.Length(), &piece, false, nullptr);
                if (error == ZuOk)
                    done.back().second += added;
            }
        } else {
            error = Splice(at, at, &piece, false, nullptr);
            if (error == ZuOk)
                done.emplace_back(at, added);
        }
        if (error != ZuOk) {
            undo();
            return error;
        }
    }
    return ZuOk;
}
