// ZuPaneView: state, measuring, scrolling, caret motion and the undo of view state.

#include "editctl/ZuPaneView.h"

#include "editctl/ZuCaretUndoAction.h"
#include "editctl/ZuWindowServices.h"

#include <algorithm>

ZuPaneView::ZuPaneView(ZuTextDocument& document, int pane, ZuWindowServices& window, ZuUndoManager& undo)
    : document_(&document), pane_(pane), window_(window), undo_(undo)
{
}

ZuPaneView::~ZuPaneView()
{
    ForgetDropCaret(this);
}

void ZuPaneView::AttachDocument(ZuTextDocument& document)
{
    document_ = &document;
    state_ = ZuViewState{};
    extent_ = 0;
    dragState_ = ZuDragNone;
    MeasureExtent();
    InvalidateAll();
    UpdateCaret();
    UpdateScrollBars();
}

// ---- Settings

void ZuPaneView::SetMargins(int left, int top, int right, int bottom)
{
    margins_[0] = std::max(0, left);
    margins_[1] = std::max(0, top);
    margins_[2] = std::max(0, right);
    margins_[3] = std::max(0, bottom);
    InvalidateAll();
    UpdateCaret();
    UpdateScrollBars();
}

void ZuPaneView::SetCaretWidth(int width)
{
    caretWidth_ = width;
    UpdateCaret();
}

void ZuPaneView::SetCaretHeight(int height)
{
    caretHeight_ = height;
    UpdateCaret();
}

void ZuPaneView::SetScrollBars(int mode)
{
    scrollBars_ = std::clamp(mode, 0, 4);
    UpdateScrollBars();
}

void ZuPaneView::SetWrapX(int wrapX)
{
    wrapX_ = wrapX;
    if (autoWrap_)
        WrapAll();
}

// ---- Measuring

const ZuTextBlock* ZuPaneView::BlockOf(std::uint32_t line, std::uint32_t& inBlock) const
{
    if (document_->BlockCount() == 0 || line >= document_->LineCount(pane_)) {
        inBlock = 0;
        return nullptr;
    }
    const ZuTextDocument::ZuBlockPlace place = document_->FindBlock(pane_, line + 1);
    inBlock = place.line;
    return &document_->Block(place.block);
}

ZuPaneView::LineInfo ZuPaneView::LineMetricsOf(std::uint32_t line) const
{
    std::uint32_t k = 0;
    const ZuTextBlock* block = BlockOf(line, k);
    ZuLineMetrics m;
    if (block == nullptr) {
        const ZuFontMetrics& f = document_->Fonts().DefaultFont().Metrics();
        m = {f.ascent, f.descent};
    } else {
        m = block->LineMetrics(pane_, k);
    }
    return {m.ascent, std::max(1, m.Height())};
}

void ZuPaneView::MeasureLine(std::uint32_t line, std::vector<std::int32_t>& xs) const
{
    std::uint32_t k = 0;
    const ZuTextBlock* block = BlockOf(line, k);
    if (block == nullptr)
        xs.assign(1, 0);
    else
        block->MeasureLine(pane_, k, xs);
}

std::int32_t ZuPaneView::ColumnX(std::uint32_t line, std::uint32_t column) const
{
    std::vector<std::int32_t> xs;
    MeasureLine(line, xs);
    return xs[std::min<std::size_t>(column, xs.size() - 1)];
}

std::uint32_t ZuPaneView::ColumnAtX(std::uint32_t line, std::int32_t x) const
{
    std::uint32_t k = 0;
    const ZuTextBlock* block = BlockOf(line, k);
    return block == nullptr ? 0 : block->XToPosition(pane_, k, x);
}

std::uint32_t ZuPaneView::SnapColumnAtX(std::uint32_t line, std::int32_t x) const
{
    std::vector<std::int32_t> xs;
    MeasureLine(line, xs);
    if (x <= 0)
        return 0;
    const auto it = std::upper_bound(xs.begin() + 1, xs.end(), x);
    if (it == xs.end())
        return std::uint32_t(xs.size() - 1);
    const std::uint32_t c = std::uint32_t(it - xs.begin()) - 1;
    const std::int32_t width = xs[c + 1] - xs[c];
    return x - xs[c] >= width / 2 ? c + 1 : c;
}

std::uint32_t ZuPaneView::LineCount() const
{
    return std::max<std::uint32_t>(1, document_->LineCount(pane_));
}

std::uint32_t ZuPaneView::LineLength(std::uint32_t line) const
{
    return document_->LineLength(pane_, line + 1);
}

ZuTextPosition ZuPaneView::ClampPosition(ZuTextPosition p) const
{
    p.y = std::min(p.y, LineCount() - 1);
    p.x = std::min(p.x, LineLength(p.y));
    return p;
}

int ZuPaneView::TextWidth() const
{
    const int w = window_.GetClientRect().width() - margins_[0] - margins_[2];
    return w > 0 ? w : 0;
}

int ZuPaneView::TextHeight() const
{
    const int h = window_.GetClientRect().height() - margins_[1] - margins_[3];
    return h > 0 ? h : 0;
}

int ZuPaneView::WrapWidth() const
{
    if (wrapX_ >= 0)
        return wrapX_;
    const int w = TextWidth() - ZuWindowServices::EffectiveCaretWidth(caretWidth_);
    return w > 0 ? w : 0;
}

int ZuPaneView::LinesPerWindow() const
{
    const int height = TextHeight();
    int n = 0;
    int y = 0;
    for (std::uint32_t line = state_.topLine; line < LineCount() && y < height; ++line, ++n)
        y += LineHeightOf(line);
    return n;
}

int ZuPaneView::FullLinesPerWindow() const
{
    const int height = TextHeight();
    int n = 0;
    int y = 0;
    for (std::uint32_t line = state_.topLine; line < LineCount(); ++line, ++n) {
        y += LineHeightOf(line);
        if (y > height)
            break;
    }
    return n;
}

std::int32_t ZuPaneView::LineTopY(std::uint32_t line) const
{
    if (line < state_.topLine)
        return -1;
    std::int32_t y = 0;
    const int height = TextHeight();
    for (std::uint32_t k = state_.topLine; k < line; ++k) {
        y += LineHeightOf(k);
        if (y > height)
            return y; // below the window; the exact figure does not matter
    }
    return y;
}

std::uint32_t ZuPaneView::MaxTopLine() const
{
    // The first line from which the lines down to the last one fit.
    const int height = TextHeight();
    std::uint32_t top = LineCount() - 1;
    int y = LineHeightOf(top);
    while (top > 0) {
        const int h = LineHeightOf(top - 1);
        if (y + h > height)
            break;
        y += h;
        --top;
    }
    return top;
}

namespace {

// A text of modest size is measured whole; a larger one grows its extent as
// its lines are painted or edited, so that opening it costs no pass over it.
constexpr std::uint32_t WholeMeasureLines = 20000;

} // namespace

void ZuPaneView::MeasureExtent()
{
    if (document_->LineCount(pane_) > WholeMeasureLines)
        return;
    std::vector<std::int32_t> xs;
    for (std::uint32_t line = 0; line < document_->LineCount(pane_); ++line) {
        MeasureLine(line, xs);
        extent_ = std::max(extent_, xs.back());
    }
}

void ZuPaneView::MeasureExtentAgain()
{
    // The lines may have become narrower, so the extent starts afresh; a large
    // text takes the lines in view and grows from there as it is painted.
    extent_ = 0;
    if (document_->LineCount(pane_) <= WholeMeasureLines) {
        MeasureExtent();
        return;
    }
    const std::uint32_t first = state_.topLine + 1;
    extent_ = document_->WidestLine(pane_, first, first + std::uint32_t(std::max(1, LinesPerWindow())));
}

void ZuPaneView::GrowExtent(std::int32_t width)
{
    if (width > extent_) {
        extent_ = width;
        if (lock_ == 0)
            UpdateScrollBars();
    }
}

// ---- Update lock and invalidation

void ZuPaneView::LockUpdate(bool begin)
{
    if (begin) {
        ++lock_;
        return;
    }
    if (lock_ > 0 && --lock_ == 0) {
        UpdateCaret();
        UpdateScrollBars();
        if (!pending_.isNull()) {
            const QRect r = pending_;
            pending_ = QRect();
            window_.Invalidate(&r);
        }
    }
}

void ZuPaneView::InvalidateAll()
{
    const QRect r = window_.GetClientRect();
    if (lock_ > 0)
        pending_ = pending_.united(r);
    else
        window_.Invalidate(nullptr);
}

void ZuPaneView::InvalidateLines(std::uint32_t first, std::uint32_t last)
{
    const QRect client = window_.GetClientRect();
    const std::uint32_t top = state_.topLine;
    if (last < top)
        return;
    std::int32_t y = margins_[1];
    std::uint32_t line = top;
    for (; line < first && y < client.height(); ++line)
        y += LineHeightOf(line);
    if (y >= client.height())
        return;
    std::int32_t bottom = y;
    if (last == ~0u || last >= LineCount() - 1) {
        bottom = client.height();
    } else {
        for (; line <= last && bottom < client.height(); ++line)
            bottom += LineHeightOf(line);
    }
    const QRect r(0, y, client.width(), bottom - y);
    if (r.isEmpty())
        return;
    if (lock_ > 0)
        pending_ = pending_.united(r);
    else
        window_.Invalidate(&r);
}

// ---- Scroll bars and caret

void ZuPaneView::UpdateScrollBars()
{
    if (lock_ > 0)
        return;
    const bool horizontal = scrollBars_ == 1 || scrollBars_ == 3 || (scrollBars_ == 4 && extent_ > TextWidth());
    const bool vertical = scrollBars_ == 2 || scrollBars_ == 3 ||
                          (scrollBars_ == 4 && !(state_.topLine == 0 && LinesPerWindow() >= int(LineCount()) &&
                                                 FullLinesPerWindow() >= int(LineCount())));
    if (horizontal) {
        window_.SetScrollRange(ZuBarHorizontal, 0, std::max(1, extent_ - 1));
        window_.SetScrollPos(ZuBarHorizontal, state_.leftX);
    } else {
        window_.SetScrollRange(ZuBarHorizontal, 0, 0);
    }
    if (vertical) {
        window_.SetScrollRange(ZuBarVertical, 0, std::max(1, int(LineCount()) - 1));
        window_.SetScrollPos(ZuBarVertical, int(state_.topLine));
    } else {
        window_.SetScrollRange(ZuBarVertical, 0, 0);
    }
}

void ZuPaneView::UpdateCaret()
{
    if (lock_ > 0)
        return;
    const ZuTextPosition caret = state_.caret;
    const std::int32_t top = LineTopY(caret.y);
    if (top < 0 || top >= TextHeight() || caret.y >= LineCount()) {
        window_.DestroyCaret();
        return;
    }
    const LineInfo info = LineMetricsOf(caret.y);
    const int x = ColumnX(caret.y, caret.x) + margins_[0] - state_.leftX;
    window_.SetCaretSize(ZuWindowServices::EffectiveCaretWidth(caretWidth_),
                         caretHeight_ >= 0 ? caretHeight_ : info.height);
    window_.SetCaretPos(x, margins_[1] + top);
}

void ZuPaneView::ScrollCaretIntoView()
{
    const ZuViewState before = state_;
    const ZuTextPosition caret = state_.caret;
    const int height = TextHeight();
    // 1. Vertically.
    if (caret.y < state_.topLine) {
        state_.topLine = caret.y;
    } else {
        const std::int32_t top = LineTopY(caret.y);
        const std::int32_t h = LineHeightOf(caret.y);
        if (top + h > height) {
            std::uint32_t first = caret.y;
            int y = h;
            while (first > 0) {
                const int above = LineHeightOf(first - 1);
                if (y + above > height)
                    break;
                y += above;
                --first;
            }
            state_.topLine = first;
        }
    }
    // 2. Horizontally.
    std::vector<std::int32_t> xs;
    MeasureLine(caret.y, xs);
    GrowExtent(xs.back());
    const std::uint32_t column = std::min<std::uint32_t>(caret.x, std::uint32_t(xs.size() - 1));
    const std::int32_t x = xs[column];
    const std::int32_t width = column + 1 < xs.size() ? xs[column + 1] - xs[column]
                                                      : ZuWindowServices::EffectiveCaretWidth(caretWidth_);
    const int textWidth = TextWidth();
    if (x < state_.leftX || x + width > state_.leftX + textWidth) {
        if (x > state_.leftX)
            state_.leftX = std::max(0, x + width - textWidth);
        else
            state_.leftX = x;
    }
    // 3. No empty space right of the extent. The automatic bar counts as
    // present even while hidden: once the extent fits it is gone, and nothing
    // else could scroll back to the text left of the left x.
    const bool horizontal = scrollBars_ == 1 || scrollBars_ == 3 || scrollBars_ == 4;
    if (horizontal && state_.leftX > 0) {
        const std::int32_t limit = std::max(0, extent_ - textWidth);
        if (state_.leftX > limit && x + width <= limit + textWidth)
            state_.leftX = limit;
    }
    // 4.
    if (state_.topLine != before.topLine || state_.leftX != before.leftX)
        InvalidateAll();
    UpdateCaret();
    UpdateScrollBars();
}

// ---- Undo of view state

void ZuPaneView::RecordCaretAction(const ZuViewState& before, bool always)
{
    Materialise();
    if (!always || before == state_)
        return;
    undo_.Nest(true);
    if (undo_.Recording())
        undo_.AddAction(std::make_unique<ZuCaretUndoAction>(*this, before, state_));
    undo_.Nest(false);
}

void ZuPaneView::RestoreState(const ZuViewState& saved)
{
    LockUpdate(true);
    const ZuTextRange oldSelection = Selection();
    const bool scrolled = saved.topLine != state_.topLine || saved.leftX != state_.leftX;
    state_ = saved;
    state_.caret = ClampPosition(state_.caret);
    state_.topLine = std::min(state_.topLine, LineCount() - 1);
    if (scrolled)
        InvalidateAll();
    else
        RepaintSelectionDifference(oldSelection, Selection());
    LockUpdate(false);
}

// ---- Scrolling

void ZuPaneView::SetTopLine(std::uint32_t line)
{
    line = std::min(line, LineCount() - 1);
    if (line == state_.topLine)
        return;
    state_.topLine = line;
    InvalidateAll();
}

namespace {

// A scroll command: repaint, caret and bars follow; always recorded.
template <typename F> void Scrolled(ZuPaneView& view, F&& change)
{
    const ZuViewState before = view.State();
    change();
    view.UpdateCaret();
    view.UpdateScrollBars();
    view.RecordCaretAction(before, true);
}

} // namespace

void ZuPaneView::ScrollLines(std::int64_t n)
{
    Scrolled(*this, [&] {
        if (n > 0) {
            // No move down once the last line can be seen.
            const std::uint32_t last = LineCount() - 1;
            if (LineTopY(last) + LineHeightOf(last) <= TextHeight())
                return;
            SetTopLine(std::uint32_t(std::min<std::int64_t>(state_.topLine + n, last)));
        } else if (n < 0) {
            SetTopLine(std::uint32_t(std::max<std::int64_t>(0, std::int64_t(state_.topLine) + n)));
        }
    });
}

void ZuPaneView::SetLeftX(std::int32_t x)
{
    Scrolled(*this, [&] {
        x = std::clamp(x, 0, std::max(0, extent_));
        if (x != state_.leftX) {
            state_.leftX = x;
            InvalidateAll();
        }
    });
}

void ZuPaneView::ScrollColumns(std::int64_t n)
{
    const std::int64_t x = state_.leftX + n * std::max(1, document_->AverageCharWidth());
    SetLeftX(std::int32_t(std::clamp<std::int64_t>(x, 0, extent_)));
}

void ZuPaneView::ScrollPageLeft()
{
    SetLeftX(state_.leftX - std::max(1, TextWidth() / 3));
}

void ZuPaneView::ScrollPageRight()
{
    SetLeftX(state_.leftX + std::max(1, TextWidth() / 3));
}

void ZuPaneView::ScrollPageUp()
{
    ScrollLines(-std::max(1, FullLinesPerWindow()));
}

void ZuPaneView::ScrollPageDown()
{
    ScrollLines(std::max(1, FullLinesPerWindow()));
}

void ZuPaneView::ScrollToTop()
{
    Scrolled(*this, [&] { SetTopLine(0); });
}

void ZuPaneView::ScrollToBottom()
{
    Scrolled(*this, [&] { SetTopLine(MaxTopLine()); });
}

void ZuPaneView::ScrollToLeft()
{
    SetLeftX(0);
}

void ZuPaneView::ScrollToRight()
{
    SetLeftX(extent_);
}

void ZuPaneView::HorizontalScroll(int code, int thumb)
{
    switch (code) {
    case ZuScrollLineUp: ScrollColumns(-1); break;
    case ZuScrollLineDown: ScrollColumns(1); break;
    case ZuScrollPageUp: ScrollPageLeft(); break;
    case ZuScrollPageDown: ScrollPageRight(); break;
    case ZuScrollThumbPosition:
    case ZuScrollThumbTrack: SetLeftX(thumb); break;
    case ZuScrollTop: ScrollToLeft(); break;
    case ZuScrollBottom: ScrollToRight(); break;
    default: return;
    }
    if (++scrollMessages_[0] % 2 == 0)
        window_.UpdateWindow();
}

void ZuPaneView::VerticalScroll(int code, int thumb)
{
    switch (code) {
    case ZuScrollLineUp: ScrollLines(-1); break;
    case ZuScrollLineDown: ScrollLines(1); break;
    case ZuScrollPageUp: ScrollPageUp(); break;
    case ZuScrollPageDown: ScrollPageDown(); break;
    case ZuScrollThumbPosition:
    case ZuScrollThumbTrack: ScrollLines(std::int64_t(thumb) - std::int64_t(state_.topLine)); break;
    case ZuScrollTop: ScrollToTop(); break;
    case ZuScrollBottom: ScrollToBottom(); break;
    default: return;
    }
    if (++scrollMessages_[1] % 2 == 0)
        window_.UpdateWindow();
}

void ZuPaneView::Resize(QSize size, QSize old)
{
    if (autoWrap_ && wrapX_ == -1 && size.width() != old.width())
        WrapAll();
    UpdateCaret();
    UpdateScrollBars();
}

// ---- Caret motion

void ZuPaneView::AfterMotion(const ZuViewState& before, bool always)
{
    // A live selection's moving end follows the caret.
    if (state_.endFixed == 0 && state_.selection.type != ZuRangeNone) {
        const ZuTextRange old = state_.selection;
        state_.selection.end = state_.caret;
        ZuTextRange oldLive = old;
        oldLive.end = before.caret;
        RepaintSelectionDifference(oldLive, state_.selection);
    }
    ScrollCaretIntoView();
    RecordCaretAction(before, always || undoCaret_);
}

void ZuPaneView::MoveCaretTo(ZuTextPosition position)
{
    state_.caret = ClampPosition(position);
}

void ZuPaneView::CaretUp(std::uint32_t n)
{
    const ZuViewState before = state_;
    const std::int32_t x = ColumnX(state_.caret.y, state_.caret.x);
    const std::uint32_t line = state_.caret.y > n ? state_.caret.y - n : 0;
    state_.caret = {SnapColumnAtX(line, x), line};
    AfterMotion(before, false);
}

void ZuPaneView::CaretDown(std::uint32_t n)
{
    const ZuViewState before = state_;
    const std::int32_t x = ColumnX(state_.caret.y, state_.caret.x);
    const std::uint32_t line = std::uint32_t(std::min<std::uint64_t>(std::uint64_t(state_.caret.y) + n, LineCount() - 1));
    state_.caret = {SnapColumnAtX(line, x), line};
    AfterMotion(before, false);
}

void ZuPaneView::CaretLeft(std::uint32_t n)
{
    const ZuViewState before = state_;
    ZuTextPosition p = ClampPosition(state_.caret);
    // A caret past its line's end first comes back to it.
    for (; n > 0; --n) {
        if (p.x > 0) {
            const std::uint32_t step = std::min(n, p.x);
            p.x -= step;
            n -= step - 1;
        } else if (p.y > 0) {
            --p.y;
            p.x = LineLength(p.y);
        } else {
            break;
        }
    }
    state_.caret = p;
    AfterMotion(before, false);
}

void ZuPaneView::CaretRight(std::uint32_t n)
{
    const ZuViewState before = state_;
    ZuTextPosition p = ClampPosition(state_.caret);
    const std::uint32_t last = LineCount() - 1;
    for (; n > 0; --n) {
        const std::uint32_t length = LineLength(p.y);
        if (p.x < length) {
            const std::uint32_t step = std::min(n, length - p.x);
            p.x += step;
            n -= step - 1;
        } else if (p.y < last) {
            ++p.y;
            p.x = 0;
        } else {
            break;
        }
    }
    state_.caret = p;
    AfterMotion(before, false);
}

void ZuPaneView::CaretPageUp()
{
    const ZuViewState before = state_;
    const std::uint32_t page = std::uint32_t(std::max(1, FullLinesPerWindow()));
    const std::int32_t x = ColumnX(state_.caret.y, state_.caret.x);
    const std::uint32_t line = state_.caret.y > page ? state_.caret.y - page : 0;
    state_.topLine = state_.topLine > page ? state_.topLine - page : 0;
    state_.caret = {SnapColumnAtX(line, x), line};
    if (state_.topLine != before.topLine)
        InvalidateAll();
    AfterMotion(before, true);
}

void ZuPaneView::CaretPageDown()
{
    const ZuViewState before = state_;
    const std::uint32_t page = std::uint32_t(std::max(1, FullLinesPerWindow()));
    const std::int32_t x = ColumnX(state_.caret.y, state_.caret.x);
    const std::uint32_t last = LineCount() - 1;
    const std::uint32_t line = std::uint32_t(std::min<std::uint64_t>(std::uint64_t(state_.caret.y) + page, last));
    state_.topLine = std::min(std::uint32_t(std::min<std::uint64_t>(std::uint64_t(state_.topLine) + page, last)),
                              std::max(state_.topLine, MaxTopLine()));
    state_.caret = {SnapColumnAtX(line, x), line};
    if (state_.topLine != before.topLine)
        InvalidateAll();
    AfterMotion(before, true);
}

void ZuPaneView::CaretWordLeft()
{
    const ZuViewState before = state_;
    const ZuTextPosition p = ClampPosition(state_.caret);
    const ZuTextPosition q = document_->PreviousWordBreak(pane_, p.y + 1, p.x);
    state_.caret = ClampPosition({q.x, q.y > 0 ? q.y - 1 : 0});
    AfterMotion(before, false);
}

void ZuPaneView::CaretWordRight()
{
    const ZuViewState before = state_;
    const ZuTextPosition p = ClampPosition(state_.caret);
    const ZuTextPosition q = document_->NextWordBreak(pane_, p.y + 1, p.x);
    state_.caret = ClampPosition({q.x, q.y > 0 ? q.y - 1 : 0});
    AfterMotion(before, false);
}

void ZuPaneView::CaretLineStart()
{
    const ZuViewState before = state_;
    state_.caret.x = 0;
    AfterMotion(before, true);
}

void ZuPaneView::CaretLineEnd()
{
    // The end of the caret's own line (never on into the following lines).
    const ZuViewState before = state_;
    state_.caret.x = LineLength(state_.caret.y);
    AfterMotion(before, false);
}

void ZuPaneView::CaretTextStart()
{
    const ZuViewState before = state_;
    state_.caret = {0, 0};
    AfterMotion(before, true);
}

void ZuPaneView::CaretTextEnd()
{
    const ZuViewState before = state_;
    const std::uint32_t last = LineCount() - 1;
    state_.caret = {LineLength(last), last};
    AfterMotion(before, true);
}

void ZuPaneView::CaretToColumn(std::uint32_t column)
{
    column = std::min(column, ZuEndOfLine);
    const std::uint32_t current = std::min(state_.caret.x, LineLength(state_.caret.y));
    state_.caret.x = current;
    if (column > current)
        CaretRight(column - current);
    else if (column < current)
        CaretLeft(current - column);
}

void ZuPaneView::CaretToLine(std::uint32_t line)
{
    line = std::min(line, LineCount() - 1);
    if (line > state_.caret.y)
        CaretDown(line - state_.caret.y);
    else if (line < state_.caret.y)
        CaretUp(state_.caret.y - line);
}

void ZuPaneView::CaretToPosition(ZuTextPosition position)
{
    const ZuViewState before = state_;
    MoveCaretTo(position);
    AfterMotion(before, true);
}

void ZuPaneView::CaretToOffset(std::uint64_t offset)
{
    offset = std::min<std::uint64_t>(offset, document_->ByteCount());
    const ZuTextPosition p = document_->OffsetToPosition(pane_, offset);
    CaretToPosition({p.x, p.y > 0 ? p.y - 1 : 0});
}

void ZuPaneView::CaretToNextLineStart(std::uint32_t column)
{
    const ZuViewState before = state_;
    const std::uint32_t line = std::min(state_.caret.y + 1, LineCount() - 1);
    MoveCaretTo({line == state_.caret.y ? state_.caret.x : column, line});
    AfterMotion(before, true);
}

std::uint64_t ZuPaneView::CaretOffset() const
{
    const ZuTextPosition p = ClampPosition(state_.caret);
    return document_->PositionToOffset(pane_, {p.x, p.y + 1});
}

// ---- Hit testing

bool ZuPaneView::InTextArea(QPoint point) const
{
    const QRect client = window_.GetClientRect();
    return point.x() >= margins_[0] && point.y() >= margins_[1] && point.x() < client.width() - margins_[2] &&
           point.y() < client.height() - margins_[3];
}

ZuTextPosition ZuPaneView::PositionAt(QPoint point) const
{
    std::uint32_t line = state_.topLine;
    std::int32_t y = point.y() - margins_[1];
    if (y < 0) {
        // Above the text: walk up from the top line.
        while (line > 0 && y < 0) {
            --line;
            y += LineHeightOf(line);
        }
    } else {
        const std::uint32_t last = LineCount() - 1;
        while (line < last) {
            const std::int32_t h = LineHeightOf(line);
            if (y < h)
                break;
            y -= h;
            ++line;
        }
    }
    const std::int32_t x = std::max(0, state_.leftX + (point.x() - margins_[0]));
    return {ColumnAtX(line, x), line};
}

QPoint ZuPaneView::PointOf(ZuTextPosition position) const
{
    return {ColumnX(position.y, position.x) + margins_[0] - state_.leftX, LineTopY(position.y) + margins_[1]};
}
