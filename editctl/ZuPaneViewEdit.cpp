// ZuPaneView: text commands, following document changes, wrapping, and the
// paragraph tab stops of the selection. Every change goes through byte
// offsets, which survive re-wrapping and edits made in the other pane.

#include "editctl/ZuPaneView.h"

#include "editctl/ZuCaretUndoAction.h"
#include "editctl/ZuTabSetUndoAction.h"
#include "editctl/ZuWindowServices.h"
#include "editctl/engine/ZuInsertionUndoAction.h"
#include "editctl/engine/ZuRemovalUndoAction.h"
#include "editctl/engine/ZuWrapUndoAction.h"

#include <algorithm>

namespace {

std::uint64_t MapOffset(std::uint64_t o, std::uint64_t from, std::uint64_t removedTo, std::uint64_t inserted)
{
    // Places inside replaced text, and at an insertion point, go past the new text.
    if (o < from)
        return o;
    if (o <= removedTo)
        return from + inserted;
    return o - (removedTo - from) + inserted;
}

// The lengths of the lines of a pane from a line on that cover bytes up to `end`.
std::vector<std::uint32_t> LengthsUpTo(const ZuTextDocument& document, int pane, std::uint32_t firstLine,
                                       std::uint64_t end)
{
    std::vector<std::uint32_t> lengths;
    const std::uint32_t lines = document.LineCount(pane);
    std::uint64_t start = document.PositionToOffset(pane, {0, firstLine});
    for (std::uint32_t line = firstLine; line <= lines && start < end; ++line) {
        const std::uint64_t next = line == lines ? document.ByteCount() : document.PositionToOffset(pane, {0, line + 1});
        if (next == start)
            break;
        lengths.push_back(std::uint32_t(next - start));
        start = next;
    }
    return lengths;
}

// A removal joins the lines of each pane that it touches into one, soft breaks
// and all, and putting the bytes back does not split them again. So when the
// lines it touches have a soft break between them, their lengths are kept in
// an action that restores them once the bytes are back; its redo finds the
// lengths already in force. Hard breaks come back with their bytes.
std::vector<std::unique_ptr<ZuUndoAction>> LinesJoinedBy(ZuTextDocument& document, std::uint64_t from,
                                                         std::uint64_t to)
{
    std::vector<std::unique_ptr<ZuUndoAction>> actions;
    for (int pane = 0; pane < 2; ++pane) {
        const std::uint32_t first = std::max<std::uint32_t>(document.OffsetToPosition(pane, from).y, 1);
        const std::uint32_t last = document.OffsetToPosition(pane, to).y;
        bool soft = false;
        for (std::uint32_t line = first; line < last && !soft; ++line)
            soft = !document.EndsParagraph(pane, line);
        if (!soft)
            continue;
        const std::uint64_t end = last < document.LineCount(pane) ? document.PositionToOffset(pane, {0, last + 1})
                                                                  : document.ByteCount();
        std::vector<std::uint32_t> lengths = LengthsUpTo(document, pane, first, end);
        actions.push_back(std::make_unique<ZuWrapUndoAction>(document, pane, first, lengths, lengths));
    }
    return actions;
}

// No change to make (a tab value already in force).
constexpr ZuErr Unchanged = -1;

} // namespace

// ---- Offsets

ZuPaneView::Marks ZuPaneView::TakeMarks() const
{
    Marks marks;
    marks.caret = CaretOffset();
    const ZuTextRange range = ClampedSelection();
    if (range.type != ZuRangeNone) {
        marks.anchor = document_->PositionToOffset(pane_, {std::min(range.start.x, LineLength(range.start.y)),
                                                           range.start.y + 1});
        marks.end = document_->PositionToOffset(pane_, {std::min(range.end.x, LineLength(range.end.y)),
                                                        range.end.y + 1});
    }
    marks.top = document_->PositionToOffset(pane_, {0, state_.topLine + 1});
    return marks;
}

void ZuPaneView::AdjustAfterChange(const Marks& marks, std::uint64_t from, std::uint64_t removedTo,
                                   std::uint64_t inserted)
{
    auto position = [&](std::uint64_t offset) {
        const ZuTextPosition p = document_->OffsetToPosition(pane_, MapOffset(offset, from, removedTo, inserted));
        return ClampPosition({p.x, p.y > 0 ? p.y - 1 : 0});
    };
    state_.caret = position(marks.caret);
    if (state_.selection.type != ZuRangeNone) {
        const std::uint64_t low = std::min(marks.anchor, marks.end);
        const std::uint64_t high = std::max(marks.anchor, marks.end);
        if (removedTo > from && low >= from && high <= removedTo) {
            state_.selection.type = ZuRangeNone; // wholly inside the removed text
        } else if (state_.selection.type == ZuRangeColumn) {
            // A column block keeps its columns; its lines follow the text.
            state_.selection.start.y = position(marks.anchor).y;
            state_.selection.end.y = position(marks.end).y;
        } else {
            state_.selection.start = position(marks.anchor);
            state_.selection.end = position(marks.end);
        }
    }
    state_.topLine = position(marks.top).y;
}

void ZuPaneView::RecordState()
{
    if (undo_.Recording())
        undo_.AddAction(std::make_unique<ZuCaretUndoAction>(*this, state_, state_));
}

ZuErr ZuPaneView::ReplaceBytes(std::uint64_t from, std::uint64_t to, std::string_view bytes)
{
    const Marks mine = TakeMarks();
    const Marks linked = linked_ != nullptr ? linked_->TakeMarks() : Marks{};
    const std::uint32_t linesBefore = document_->LineCount(pane_);
    ZuErr error = ZuOk;
    if (to > from) {
        auto joined = undo_.Recording() ? LinesJoinedBy(*document_, from, to)
                                        : std::vector<std::unique_ptr<ZuUndoAction>>{};
        auto action = ZuRemovalUndoAction::Remove(*document_, pane_, from, to, error);
        if (!action)
            return error;
        if (undo_.Recording()) {
            // Undone after the bytes are back.
            for (auto& lines : joined)
                undo_.AddAction(std::move(lines));
            undo_.AddAction(std::move(action));
        }
    }
    std::uint64_t inserted = 0;
    if (!bytes.empty()) {
        const std::uint64_t before = document_->ByteCount();
        auto action = ZuInsertionUndoAction::Insert(*document_, pane_, from, bytes, error);
        if (action) {
            inserted = document_->ByteCount() - before;
            if (undo_.Recording())
                undo_.AddAction(std::move(action));
        }
    }
    AfterChange(from, to, inserted, mine, linked, linesBefore);
    return error;
}

void ZuPaneView::AfterChange(std::uint64_t from, std::uint64_t removedTo, std::uint64_t inserted, const Marks& mine,
                             const Marks& linked, std::uint32_t linesBefore)
{
    for (ZuPaneView* view : {this, linked_}) {
        if (view == nullptr)
            continue;
        view->AdjustAfterChange(view == this ? mine : linked, from, removedTo, inserted);
        const ZuTextPosition a = document_->OffsetToPosition(view->pane_, from);
        const ZuTextPosition b = document_->OffsetToPosition(view->pane_, from + inserted);
        const bool linesChanged = view == this ? document_->LineCount(pane_) != linesBefore : true;
        view->InvalidateLines(a.y > 0 ? a.y - 1 : 0, linesChanged ? ~0u : (b.y > 0 ? b.y - 1 : 0));
        std::vector<std::int32_t> xs;
        view->MeasureLine(b.y > 0 ? b.y - 1 : 0, xs);
        view->GrowExtent(xs.back());
        if (view != this) {
            view->UpdateCaret();
            view->UpdateScrollBars();
        }
    }
    RewrapAfterEdit(from, from + inserted);
}

ZuErr ZuPaneView::RewrapAfterEdit(std::uint64_t from, std::uint64_t to)
{
    for (ZuPaneView* view : {this, linked_}) {
        if (view == nullptr || !view->autoWrap_)
            continue;
        const ZuTextPosition a = document_->OffsetToPosition(view->pane_, from);
        const ZuTextPosition b = document_->OffsetToPosition(view->pane_, to);
        std::uint32_t first = a.y > 0 ? a.y - 1 : 0;
        // From the line before when the edited line is a soft-wrapped piece.
        if (first > 0 && !document_->EndsParagraph(view->pane_, first))
            --first;
        const std::uint32_t last = document_->ParagraphEndLine(view->pane_, std::max<std::uint32_t>(b.y, 1)) - 1;
        if (const ZuErr error = view->WrapRange(first, last, view->WrapWidth(), view->wrapWholeWords_))
            return error;
    }
    return ZuOk;
}

// ---- Text commands

namespace {

// One text command: a locked update and one undo group between caret actions.
template <typename F> ZuErr Command(ZuPaneView& view, ZuUndoManager& undo, F&& f)
{
    view.LockUpdate(true);
    undo.Nest(true);
    if (undo.Recording())
        undo.AddAction(std::make_unique<ZuCaretUndoAction>(view, view.State(), view.State()));
    const ZuErr error = f();
    view.ScrollCaretIntoView();
    if (undo.Recording())
        undo.AddAction(std::make_unique<ZuCaretUndoAction>(view, view.State(), view.State()));
    undo.Nest(false);
    view.LockUpdate(false);
    return error;
}

} // namespace

ZuErr ZuPaneView::InsertText(ZuTextPosition at, std::string_view bytes)
{
    return Command(*this, undo_, [&] {
        const ZuTextPosition p = ClampPosition(at);
        const std::uint64_t offset = document_->PositionToOffset(pane_, {p.x, p.y + 1});
        return ReplaceBytes(offset, offset, bytes);
    });
}

ZuErr ZuPaneView::InsertFill(ZuTextPosition at, char byte, std::uint32_t n)
{
    const ZuTextPosition p = ClampPosition(at);
    if (std::uint64_t(p.x) + n > ZuMaxLineLength)
        return ZuErrLineLength;
    return InsertText(p, std::string(n, byte));
}

ZuErr ZuPaneView::DeleteRange(const ZuTextRange& given)
{
    ZuTextRange range = given;
    if (range.IsEmpty())
        return ZuOk;
    const std::uint32_t last = LineCount() - 1;
    for (ZuTextPosition* p : {&range.start, &range.end}) {
        if (p->y > last)
            *p = {ZuEndOfLine, last};
    }
    return Command(*this, undo_, [&]() -> ZuErr {
        auto offset = [&](std::uint32_t x, std::uint32_t y) {
            return document_->PositionToOffset(pane_, {std::min(x, LineLength(y)), y + 1});
        };
        if (range.type == ZuRangeColumn) {
            // Line by line from the bottom, so the offsets above stay right.
            for (std::uint32_t y = range.HighestLine() + 1; y-- > range.LowestLine();) {
                const std::uint64_t a = offset(range.SmallestX(), y);
                const std::uint64_t b = offset(range.LargestX(), y);
                if (b > a)
                    if (const ZuErr error = ReplaceBytes(a, b, {}))
                        return error;
            }
        } else if (range.type == ZuRangeLine) {
            std::uint64_t a = offset(0, range.LowestLine());
            const std::uint32_t high = range.HighestLine();
            std::uint64_t b = high < last ? document_->PositionToOffset(pane_, {0, high + 2}) : document_->ByteCount();
            // The last line goes with the line break before it.
            if (high >= last && a > 0 && a >= 2)
                a -= 2;
            if (b > a)
                return ReplaceBytes(a, b, {});
        } else {
            const ZuTextPosition f = range.First();
            const ZuTextPosition l = range.Last();
            const std::uint64_t a = offset(f.x, f.y);
            const std::uint64_t b = offset(l.x, l.y);
            if (b > a)
                return ReplaceBytes(a, b, {});
        }
        return ZuOk;
    });
}

ZuErr ZuPaneView::DeleteSelection()
{
    const ZuTextRange range = ClampedSelection();
    if (range.IsEmpty())
        return ZuOk;
    undo_.Nest(true);
    const ZuErr error = DeleteRange(range);
    if (state_.selection.type != ZuRangeNone) {
        state_.selection.type = ZuRangeNone;
        InvalidateAll();
    }
    if (range.type == ZuRangeColumn)
        MoveCaretTo({range.SmallestX(), range.LowestLine()});
    undo_.Nest(false);
    return error;
}

ZuErr ZuPaneView::ReplaceSelection(std::string_view bytes)
{
    undo_.Nest(true);
    ZuErr error = DeleteSelection();
    if (error == ZuOk)
        error = InsertText(state_.caret, bytes);
    undo_.Nest(false);
    return error;
}

ZuErr ZuPaneView::TypeChar(char byte, std::uint32_t n, bool insert)
{
    if (n == 0)
        return ZuOk;
    return Command(*this, undo_, [&] {
        const ZuTextPosition p = ClampPosition(state_.caret);
        const std::uint64_t offset = document_->PositionToOffset(pane_, {p.x, p.y + 1});
        // Overwriting never takes the line end: past it the characters are inserted.
        const std::uint32_t over = insert ? 0 : std::min(n, LineLength(p.y) - p.x);
        return ReplaceBytes(offset, offset + over, std::string(n, byte));
    });
}

ZuErr ZuPaneView::DeleteCharAfter()
{
    return Command(*this, undo_, [&]() -> ZuErr {
        const ZuTextPosition p = ClampPosition(state_.caret);
        const std::uint64_t offset = document_->PositionToOffset(pane_, {p.x, p.y + 1});
        if (offset >= document_->ByteCount())
            return ZuOk;
        // At the end of a line that ends a paragraph the CR LF goes, joining the next line.
        const bool lineEnd = p.x >= LineLength(p.y) && document_->EndsParagraph(pane_, p.y + 1);
        return ReplaceBytes(offset, std::min(offset + (lineEnd ? 2 : 1), document_->ByteCount()), {});
    });
}

ZuErr ZuPaneView::DeleteToLineEnd()
{
    return Command(*this, undo_, [&]() -> ZuErr {
        const ZuTextPosition p = ClampPosition(state_.caret);
        const std::uint64_t a = document_->PositionToOffset(pane_, {p.x, p.y + 1});
        const std::uint64_t b = document_->PositionToOffset(pane_, {LineLength(p.y), p.y + 1});
        return b > a ? ReplaceBytes(a, b, {}) : ZuOk;
    });
}

ZuErr ZuPaneView::DeleteCharBefore(std::uint32_t n)
{
    // Backspace records its caret moves whatever the setting says.
    const bool saved = undoCaret_;
    undoCaret_ = true;
    const ZuErr result = Command(*this, undo_, [&]() -> ZuErr {
        for (; n > 0; --n) {
            const ZuTextPosition p = ClampPosition(state_.caret);
            const std::uint64_t offset = document_->PositionToOffset(pane_, {p.x, p.y + 1});
            if (offset == 0)
                break;
            std::uint64_t from = offset - 1;
            if (p.x == 0 && p.y > 0 && document_->EndsParagraph(pane_, p.y))
                from = offset >= 2 ? offset - 2 : 0; // the line end before the caret
            else if (p.x == 0 && p.y > 0) {
                // A soft line start: the last character of the line above.
                from = offset - 1;
            }
            if (const ZuErr error = ReplaceBytes(from, offset, {}))
                return error;
        }
        return ZuOk;
    });
    undoCaret_ = saved;
    return result;
}

ZuErr ZuPaneView::InsertParagraphBreak()
{
    return TypeCharsAtCaret("\r\n");
}

ZuErr ZuPaneView::TypeCharsAtCaret(std::string_view bytes)
{
    return Command(*this, undo_, [&] {
        const std::uint64_t offset = CaretOffset();
        return ReplaceBytes(offset, offset, bytes);
    });
}

ZuErr ZuPaneView::InsertFragment(const ZuTextRange& range, ZuTextDocument& fragment)
{
    return Command(*this, undo_, [&]() -> ZuErr {
        const ZuTextPosition at = ClampPosition(range.First());
        if (range.type == ZuRangeColumn) {
            // A column block: each of its lines at the same column of the following lines.
            for (std::uint32_t k = 1; k <= fragment.LineCount(0); ++k) {
                const std::string bytes = fragment.LineText(0, k);
                const std::uint32_t y = at.y + k - 1;
                if (y >= LineCount()) {
                    const std::uint64_t end = document_->ByteCount();
                    if (const ZuErr error = ReplaceBytes(end, end, "\r\n"))
                        return error;
                }
                const std::uint32_t length = LineLength(y);
                std::string padded = length < at.x ? std::string(at.x - length, ' ') + bytes : bytes;
                const std::uint64_t offset =
                    document_->PositionToOffset(pane_, {std::min(at.x, length), y + 1});
                if (const ZuErr error = ReplaceBytes(offset, offset, padded))
                    return error;
            }
            fragment.Clear();
            return ZuOk;
        }
        const Marks mine = TakeMarks();
        const Marks linked = linked_ != nullptr ? linked_->TakeMarks() : Marks{};
        const std::uint32_t linesBefore = document_->LineCount(pane_);
        const std::uint64_t offset = document_->PositionToOffset(pane_, {at.x, at.y + 1});
        const std::uint64_t before = document_->ByteCount();
        if (const ZuErr error = document_->InsertFragmentAt(offset, fragment))
            return error;
        const std::uint64_t inserted = document_->ByteCount() - before;
        if (undo_.Recording())
            undo_.AddAction(std::make_unique<ZuInsertionUndoAction>(*document_, pane_, offset, offset + inserted));
        AfterChange(offset, offset, inserted, mine, linked, linesBefore);
        return ZuOk;
    });
}

// ---- Wrapping

ZuErr ZuPaneView::Rewrap(std::uint32_t first, std::uint32_t last, int width, bool wholeWords, bool unwrap,
                         bool wholePane)
{
    if (document_->BlockCount() == 0)
        return ZuOk;
    last = std::min(last, LineCount() - 1);
    if (first > last)
        return ZuOk;
    Materialise();
    const ZuViewState before = state_;
    const Marks marks = TakeMarks();
    const std::uint8_t type = state_.selection.type;
    const std::uint8_t fixed = state_.endFixed;
    const std::uint64_t end = last + 1 < LineCount() ? document_->PositionToOffset(pane_, {0, last + 2})
                                                     : document_->ByteCount();
    const std::vector<std::uint32_t> lengthsBefore = LengthsUpTo(*document_, pane_, first + 1, end);
    const std::uint32_t linesBefore = LineCount();
    LockUpdate(true);
    ZuWrapRequest request;
    request.firstLine = first + 1;
    request.lastLine = last + 1;
    request.stopLine = last + 1;
    request.width = width;
    request.wholeWords = wholeWords;
    const ZuErr error = unwrap ? document_->UnwrapLines(request, pane_) : document_->WrapLines(request, pane_);
    std::vector<std::uint32_t> lengthsAfter = LengthsUpTo(*document_, pane_, first + 1, end);
    // Caret and selection by their offsets; the anchor becomes the earlier end.
    auto position = [&](std::uint64_t offset) {
        const ZuTextPosition p = document_->OffsetToPosition(pane_, offset);
        return ClampPosition({p.x, p.y > 0 ? p.y - 1 : 0});
    };
    state_.caret = position(marks.caret);
    if (type != ZuRangeNone) {
        state_.selection.start = position(std::min(marks.anchor, marks.end));
        state_.selection.end = position(std::max(marks.anchor, marks.end));
        state_.endFixed = fixed;
        // A live selection made backwards would collapse onto the caret at its
        // earlier end: it stays as it was, fixed.
        if (fixed == 0 && marks.end < marks.anchor)
            state_.endFixed = 1;
    }
    state_.topLine = position(marks.top).y;
    if (wholePane) {
        // Widths changed everywhere: measure again, so that the extent may
        // shrink, and keep text and caret in the pane (a left x far right over
        // a line that is now short would show nothing).
        MeasureExtentAgain();
        ScrollCaretIntoView();
    }
    if (lengthsBefore != lengthsAfter) {
        // Only a wrap that changed lines is an undo step.
        undo_.Nest(true);
        if (undo_.Recording()) {
            undo_.AddAction(std::make_unique<ZuCaretUndoAction>(*this, before, before));
            undo_.AddAction(std::make_unique<ZuWrapUndoAction>(*document_, pane_, first + 1, lengthsBefore,
                                                               std::move(lengthsAfter)));
            undo_.AddAction(std::make_unique<ZuCaretUndoAction>(*this, state_, state_));
        }
        undo_.Nest(false);
        InvalidateLines(first, LineCount() != linesBefore ? ~0u : last);
    }
    LockUpdate(false);
    return error;
}

ZuErr ZuPaneView::WrapRange(std::uint32_t first, std::uint32_t last, int width, bool wholeWords)
{
    return Rewrap(first, last, width, wholeWords, false);
}

ZuErr ZuPaneView::WrapAll()
{
    if (!autoWrap_ || window_.GetClientRect().isEmpty())
        return ZuOk;
    undo_.Nest(true);
    const ZuErr error = Rewrap(0, LineCount() - 1, WrapWidth(), wrapWholeWords_, false, true);
    undo_.Nest(false);
    return error;
}

ZuErr ZuPaneView::UnwrapAll()
{
    undo_.Nest(true);
    const ZuErr error = Rewrap(0, LineCount() - 1, 0, false, true, true);
    undo_.Nest(false);
    return error;
}

ZuErr ZuPaneView::SetWrapAutomatically(bool on)
{
    if (on == autoWrap_)
        return ZuOk;
    autoWrap_ = on;
    return on ? WrapAll() : UnwrapAll();
}

ZuErr ZuPaneView::WrapSelection()
{
    const ZuTextRange range = ClampedSelection();
    if (range.IsEmpty())
        return ZuOk;
    undo_.Nest(true);
    const ZuErr error = WrapRange(range.LowestLine(), range.HighestLine(), WrapWidth(), wrapWholeWords_);
    undo_.Nest(false);
    return error;
}

ZuErr ZuPaneView::FontsChanged()
{
    extent_ = 0;
    MeasureExtent();
    ZuErr error = ZuOk;
    if (autoWrap_) {
        // Unwrapped first, so that lines the new widths let grow are joined again.
        undo_.Nest(true);
        error = UnwrapAll();
        if (error == ZuOk)
            error = WrapAll();
        undo_.Nest(false);
    }
    InvalidateAll();
    ScrollCaretIntoView();
    return error;
}

// ---- Paragraph tab stops

ZuErr ZuPaneView::ChangeParagraphTabs(const std::function<ZuErr(ZuTabSet&, bool own)>& change)
{
    const std::uint64_t offset = SelectionStartOffset();
    const ZuTabSet& current = document_->ParagraphTabSet(offset);
    const bool own = &current != &document_->DefaultTabSet();
    std::unique_ptr<ZuTabSet> copy = own ? current.Clone() : std::make_unique<ZuTabSet>();
    const ZuErr result = change(*copy, own);
    if (result == Unchanged)
        return ZuOk;
    if (result != ZuOk)
        return result;
    return Command(*this, undo_, [&]() -> ZuErr {
        std::unique_ptr<ZuTabSet> before = own ? current.Clone() : nullptr;
        std::unique_ptr<ZuTabSet> after = copy->Count() > 0 ? copy->Clone() : nullptr;
        if (const ZuErr error = document_->SetParagraphTabSet(offset, std::move(copy)))
            return error;
        if (undo_.Recording())
            undo_.AddAction(std::make_unique<ZuTabSetUndoAction>(*document_, offset, std::move(before),
                                                                 std::move(after)));
        InvalidateAll();
        if (linked_ != nullptr)
            linked_->InvalidateAll();
        return RewrapAfterEdit(offset, offset);
    });
}

ZuErr ZuPaneView::SetSelTabPosition(std::int32_t i, std::int32_t x)
{
    return ChangeParagraphTabs([&](ZuTabSet& tabs, bool) -> ZuErr {
        if (i < 0 || i > tabs.Count() || x < 0 || x > ZuMaxTabPosition)
            return ZuErrBadParameter;
        if (i == tabs.Count())
            return tabs.InsertStop(x) < 0 ? ZuErrNoMemory : ZuOk;
        if (tabs.StopPosition(i, ZuTabsByIndex, document_->AverageCharWidth()) == x)
            return Unchanged;
        tabs.MoveStop(i, x);
        return ZuOk;
    });
}

ZuErr ZuPaneView::SetSelTabAlignment(std::int32_t i, std::uint32_t alignment)
{
    return ChangeParagraphTabs([&](ZuTabSet& tabs, bool) -> ZuErr {
        if (i < 0 || i >= tabs.Count() || alignment > 2)
            return ZuErrBadParameter;
        if (tabs.Alignment(i, ZuTabsByIndex) == alignment)
            return Unchanged;
        tabs.SetAlignment(alignment, i, ZuTabsByIndex);
        return ZuOk;
    });
}

ZuErr ZuPaneView::SetSelTabLeader(std::int32_t i, std::uint32_t leader)
{
    return ChangeParagraphTabs([&](ZuTabSet& tabs, bool) -> ZuErr {
        if (i < 0 || i >= tabs.Count() || leader > 5)
            return ZuErrBadParameter;
        if (tabs.Leader(i, ZuTabsByIndex) == leader)
            return Unchanged;
        tabs.SetLeader(leader, i, ZuTabsByIndex);
        return ZuOk;
    });
}

ZuErr ZuPaneView::SetSelTabCount(std::int32_t n)
{
    return ChangeParagraphTabs([&](ZuTabSet& tabs, bool own) -> ZuErr {
        if (n < 0)
            return ZuErrBadParameter;
        if ((!own && n == 0) || tabs.Count() == n)
            return Unchanged;
        return tabs.SetCount(n, document_->AverageCharWidth());
    });
}

ZuErr ZuPaneView::ClearSelTabs()
{
    return ChangeParagraphTabs([&](ZuTabSet& tabs, bool own) -> ZuErr {
        if (!own)
            return Unchanged;
        tabs.SetCount(0, document_->AverageCharWidth());
        return ZuOk;
    });
}

ZuErr ZuPaneView::ClearAllTabs()
{
    undo_.Nest(true);
    const ZuViewState saved = state_;
    ZuErr error = ZuOk;
    for (std::uint32_t line = 0; line < LineCount() && error == ZuOk; ++line) {
        if (line > 0 && !document_->EndsParagraph(pane_, line))
            continue; // not a paragraph's first line
        const std::uint64_t offset = document_->PositionToOffset(pane_, {0, line + 1});
        if (&document_->ParagraphTabSet(offset) == &document_->DefaultTabSet())
            continue;
        state_.selection.type = ZuRangeNone;
        state_.caret = {0, line};
        error = ClearSelTabs();
    }
    RestoreState(saved);
    undo_.Nest(false);
    return error;
}
