// ZuPaneView: the pane's selection: started, fixed, retyped, cleared, set end
// by end or by offsets, and what it repaints and records for undo.

#include "editctl/ZuPaneView.h"

#include "editctl/ZuWindowServices.h"

#include <algorithm>

void ZuPaneView::Materialise() const
{
    if (state_.endFixed == 0 && state_.selection.type != ZuRangeNone)
        state_.selection.end = state_.caret;
}

const ZuTextRange& ZuPaneView::Selection() const
{
    Materialise();
    return state_.selection;
}

bool ZuPaneView::SelectionEmpty() const
{
    return ClampedSelection().IsEmpty();
}

ZuTextRange ZuPaneView::ClampedSelection() const
{
    // Ends are stored as given; whatever uses them keeps them inside the text.
    ZuTextRange range = Selection();
    if (range.type == ZuRangeNone)
        return range;
    const std::uint32_t last = LineCount() - 1;
    for (ZuTextPosition* p : {&range.start, &range.end}) {
        if (p->y > last) {
            p->y = last;
            p->x = ZuEndOfLine;
        }
        if (range.type != ZuRangeColumn)
            p->x = std::min(p->x, LineLength(p->y));
        else
            p->x = std::min(p->x, ZuEndOfLine);
    }
    return range;
}

bool ZuPaneView::SelectedColumns(std::uint32_t line, std::uint32_t& start, std::uint32_t& end) const
{
    const ZuTextRange range = ClampedSelection();
    if (range.IsEmpty() || !range.CoversLine(line))
        return false;
    start = range.StartColumnOnLine(line);
    end = range.EndColumnOnLine(line);
    return end > start || range.type == ZuRangeLine || (range.IsStream() && line < range.Last().y);
}

void ZuPaneView::RepaintSelectionDifference(const ZuTextRange& before, const ZuTextRange& after)
{
    const bool a = before.type != ZuRangeNone;
    const bool b = after.type != ZuRangeNone;
    if (!a && !b)
        return;
    if (a != b) {
        RepaintSelectionLines(a ? before : after, false);
        return;
    }
    const int height = TextHeight();
    const std::uint32_t count = LineCount();
    std::int32_t y = 0;
    for (std::uint32_t line = state_.topLine; line < count && y < height; ++line) {
        const std::int32_t h = LineHeightOf(line);
        const bool ca = before.CoversLine(line);
        const bool cb = after.CoversLine(line);
        if (ca != cb || (ca && (before.StartColumnOnLine(line) != after.StartColumnOnLine(line) ||
                                before.EndColumnOnLine(line) != after.EndColumnOnLine(line))))
            InvalidateLines(line, line);
        y += h;
    }
}

void ZuPaneView::RepaintSelectionLines(const ZuTextRange& range, bool linkedToo)
{
    InvalidateLines(range.LowestLine(), range.HighestLine());
    if (linkedToo && linked_ != nullptr) {
        // The same text in the other pane: by offsets, since its lines differ.
        const ZuTextPosition low{0, range.LowestLine() + 1};
        const ZuTextPosition high{ZuEndOfLine, std::min(range.HighestLine(), LineCount() - 1) + 1};
        const ZuTextPosition a = document_->OffsetToPosition(linked_->pane_, document_->PositionToOffset(pane_, low));
        const ZuTextPosition b = document_->OffsetToPosition(linked_->pane_, document_->PositionToOffset(pane_, high));
        linked_->InvalidateLines(a.y > 0 ? a.y - 1 : 0, b.y > 0 ? b.y - 1 : 0);
    }
}

void ZuPaneView::StartSelection(int type)
{
    const ZuViewState before = state_;
    const ZuTextRange old = Selection();
    state_.selection = ZuTextRange(state_.caret, state_.caret, std::uint8_t(type));
    state_.endFixed = 0;
    if (old.type == ZuRangeNone)
        InvalidateLines(state_.caret.y, state_.caret.y);
    else
        RepaintSelectionDifference(old, state_.selection);
    RecordCaretAction(before, undoCaret_);
}

void ZuPaneView::FixSelection()
{
    Materialise();
    state_.endFixed = 1;
    state_.selection.end = state_.caret;
}

void ZuPaneView::ChangeSelectionType(int type)
{
    if (state_.selection.type == type)
        return;
    const ZuViewState before = state_;
    const ZuTextRange old = Selection();
    state_.selection.type = std::uint8_t(type);
    RepaintSelectionLines(old, true);
    RecordCaretAction(before, undoCaret_);
}

void ZuPaneView::ClearSelection()
{
    if (state_.selection.type == ZuRangeNone)
        return;
    const ZuViewState before = state_;
    const ZuTextRange old = Selection();
    state_.selection.type = ZuRangeNone;
    RepaintSelectionLines(old, true);
    RecordCaretAction(before, undoCaret_);
}

void ZuPaneView::PullSelectionEndToCaret()
{
    const ZuViewState before = state_;
    const ZuTextRange old = state_.selection;
    state_.selection.end = state_.caret;
    RepaintSelectionDifference(old, state_.selection);
    RecordCaretAction(before, undoCaret_);
}

namespace {

template <typename F> void ChangeEnd(ZuPaneView& view, ZuViewState& state, bool undoCaret, F&& change)
{
    if (state.selection.type == ZuRangeNone)
        return;
    const ZuViewState before = state;
    change();
    view.RecordCaretAction(before, undoCaret);
}

} // namespace

void ZuPaneView::SetSelectionAnchorLine(std::uint32_t line)
{
    Materialise();
    const ZuTextRange old = state_.selection;
    ChangeEnd(*this, state_, undoCaret_, [&] { state_.selection.start.y = line; });
    RepaintSelectionDifference(old, state_.selection);
}

void ZuPaneView::SetSelectionAnchorColumn(std::uint32_t column)
{
    Materialise();
    const ZuTextRange old = state_.selection;
    ChangeEnd(*this, state_, undoCaret_, [&] { state_.selection.start.x = column; });
    RepaintSelectionDifference(old, state_.selection);
}

void ZuPaneView::SetSelectionEndLine(std::uint32_t line, bool fixed)
{
    Materialise();
    const ZuTextRange old = state_.selection;
    ChangeEnd(*this, state_, undoCaret_, [&] {
        state_.selection.end.y = line;
        state_.endFixed = fixed ? 1 : 0;
    });
    RepaintSelectionDifference(old, Selection());
}

void ZuPaneView::SetSelectionEndColumn(std::uint32_t column, bool fixed)
{
    Materialise();
    const ZuTextRange old = state_.selection;
    ChangeEnd(*this, state_, undoCaret_, [&] {
        state_.selection.end.x = column;
        state_.endFixed = fixed ? 1 : 0;
    });
    RepaintSelectionDifference(old, Selection());
}

void ZuPaneView::SetSelectionStartOffset(std::uint64_t offset)
{
    offset = std::min<std::uint64_t>(offset, document_->ByteCount());
    const ZuTextPosition p = document_->OffsetToPosition(pane_, offset);
    SetSelectionAnchorLine(p.y > 0 ? p.y - 1 : 0);
    SetSelectionAnchorColumn(p.x);
}

void ZuPaneView::SetSelectionEndOffset(std::uint64_t offset, bool fixed)
{
    offset = std::min<std::uint64_t>(offset, document_->ByteCount());
    const ZuTextPosition p = document_->OffsetToPosition(pane_, offset);
    SetSelectionEndLine(p.y > 0 ? p.y - 1 : 0, fixed);
    SetSelectionEndColumn(p.x, fixed);
}

std::uint64_t ZuPaneView::SelectionStartOffset() const
{
    const ZuTextRange range = ClampedSelection();
    if (range.type == ZuRangeNone)
        return CaretOffset();
    const ZuTextPosition p = range.First();
    return document_->PositionToOffset(pane_, {p.x, p.y + 1});
}

std::uint64_t ZuPaneView::SelectionEndOffset() const
{
    const ZuTextRange range = ClampedSelection();
    if (range.type == ZuRangeNone)
        return CaretOffset();
    const ZuTextPosition p = range.Last();
    return document_->PositionToOffset(pane_, {p.x, p.y + 1});
}

void ZuPaneView::PrepareMotion(bool shift)
{
    if (!shift)
        ClearSelection();
    else if (state_.selection.type == ZuRangeNone && selDefaultType_ != 0)
        StartSelection(selDefaultType_);
}

void ZuPaneView::SelectWord()
{
    LockUpdate(true);
    undo_.Nest(true);
    ClearSelection();
    const ZuTextPosition caret = ClampPosition(state_.caret);
    state_.caret = caret;
    const std::uint32_t length = LineLength(caret.y);
    const std::string text = document_->LineText(pane_, caret.y + 1);
    auto isSpace = [](char c) { return c == 0 || c == '\t' || c == ' ' || c == char(0xFF); };
    if (caret.x < length) {
        if (caret.x > 0 && isSpace(text[caret.x]))
            CaretWordRight();
        else if (caret.x > 0 && !isSpace(text[caret.x - 1]))
            CaretWordLeft();
        StartSelection(ZuRangeStream);
        CaretWordRight();
    } else {
        StartSelection(ZuRangeStream);
        CaretWordLeft();
    }
    wordJustSelected_ = true;
    undo_.Nest(false);
    LockUpdate(false);
}
