#pragma once
// The view of the document in one pane: caret, selection, top line and left x,
// the scroll bars and caret of its window kept in step with them, the motion
// and scroll commands, the selection operations, painting, the text and wrap
// commands, and the undo of view state. Lines and columns here are 0-based
// lines of this pane (the document counts its lines from 1).
//
// Files: ZuPaneView.cpp (state, scrolling, caret), ZuPaneViewSelection.cpp,
// ZuPaneViewPaint.cpp, ZuPaneViewEdit.cpp (text and wrap commands),
// ZuPaneViewMouse.cpp; clipboard, drag and drop, double click: ZuPaneViewClipboard.cpp.

#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuTextRange.h"
#include "editctl/engine/ZuUndoManager.h"

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class ZuWindowServices;

// The view state saved before and compared after every command.
struct ZuViewState {
    std::uint8_t endFixed = 0;
    std::int32_t leftX = 0;
    std::uint32_t topLine = 0;
    ZuTextPosition caret;
    ZuTextRange selection;

    bool operator==(const ZuViewState& other) const
    {
        return endFixed == other.endFixed && leftX == other.leftX && topLine == other.topLine &&
               caret == other.caret && selection.type == other.selection.type &&
               selection.start == other.selection.start && selection.end == other.selection.end;
    }
};

// Scroll message codes (as the scroll bars send them).
enum ZuScrollCode : int {
    ZuScrollLineUp = 0,
    ZuScrollLineDown = 1,
    ZuScrollPageUp = 2,
    ZuScrollPageDown = 3,
    ZuScrollThumbPosition = 4,
    ZuScrollThumbTrack = 5,
    ZuScrollTop = 6,
    ZuScrollBottom = 7,
    ZuScrollEnd = 8,
};

// Drag states of a view (the mouse).
enum ZuDragState : int {
    ZuDragNone = 0,
    ZuDragSelect = 1,
    ZuDragMove = 2,
    ZuDragCopy = 3,
};

class ZuClipboard;
struct ZuClipContent;

class ZuPaneView {
public:
    ZuPaneView(ZuTextDocument& document, int pane, ZuWindowServices& window, ZuUndoManager& undo);
    ZuPaneView(const ZuPaneView&) = delete;
    ZuPaneView& operator=(const ZuPaneView&) = delete;
    virtual ~ZuPaneView();

    // ---- Document, window, links
    void AttachDocument(ZuTextDocument& document); // caret, selection and scroll back to the start
    ZuTextDocument& Document() const { return *document_; }
    int PaneIndex() const { return pane_; }
    ZuWindowServices& Window() const { return window_; }
    ZuUndoManager& UndoManager() const { return undo_; }
    void SetLinkedView(ZuPaneView* view) { linked_ = view; }
    ZuPaneView* LinkedView() const { return linked_; }

    // ---- Settings
    void SetMargins(int left, int top, int right, int bottom);
    int LeftMargin() const { return margins_[0]; }
    int TopMargin() const { return margins_[1]; }
    int RightMargin() const { return margins_[2]; }
    int BottomMargin() const { return margins_[3]; }
    void SetCaretWidth(int width);
    void SetCaretHeight(int height);
    int CaretWidthSetting() const { return caretWidth_; }
    int CaretHeightSetting() const { return caretHeight_; }
    void SetScrollBars(int mode); // 0 none, 1 horizontal, 2 vertical, 3 both, 4 automatic
    int ScrollBars() const { return scrollBars_; }
    void SetWrapX(int wrapX);
    int WrapX() const { return wrapX_; }
    void SetWrapWholeWords(bool on) { wrapWholeWords_ = on; }
    bool WrapWholeWords() const { return wrapWholeWords_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    bool DragDropEnabled() const { return dragDropEnabled_; }
    void SetDragDropEnabled(bool on) { dragDropEnabled_ = on; }
    int SelDefaultType() const { return selDefaultType_; }
    void SetSelDefaultType(int type) { selDefaultType_ = std::uint8_t(type); }
    bool UndoCaretEnabled() const { return undoCaret_; }
    void SetUndoCaretEnabled(bool on) { undoCaret_ = on; }
    bool UndoCharFormattingEnabled() const { return undoCharFormatting_; }
    void SetUndoCharFormattingEnabled(bool on) { undoCharFormatting_ = on; }
    // The container may paint the background itself (true: done).
    std::function<bool(QPainter& painter, const QRect& rect)> eraseBackground;

    // ---- State
    const ZuViewState& State() const { return state_; }
    ZuTextPosition Caret() const { return state_.caret; }
    std::uint32_t TopLine() const { return state_.topLine; }
    std::int32_t LeftX() const { return state_.leftX; }
    std::int32_t ExtentX() const { return extent_; }
    std::uint32_t LineCount() const; // of this pane, at least 1
    std::uint32_t LineLength(std::uint32_t line) const;
    int TextWidth() const;
    int TextHeight() const;
    int LinesPerWindow() const;
    int FullLinesPerWindow() const;
    int WrapWidth() const;
    // Restores a saved state (undo of a caret action).
    void RestoreState(const ZuViewState& state);

    // ---- Update lock: caret, bars and the pending rectangle at the outermost end
    void LockUpdate(bool begin);
    bool UpdatesLocked() const { return lock_ > 0; }
    void InvalidateLines(std::uint32_t first, std::uint32_t last); // to the end of the pane when last is ~0
    void InvalidateAll();

    // ---- Scrolling (the caret stays)
    void ScrollLines(std::int64_t n); // down when positive
    void ScrollColumns(std::int64_t n); // right by n average widths when positive
    void ScrollPageUp();
    void ScrollPageDown();
    void ScrollPageLeft();
    void ScrollPageRight();
    void ScrollToTop();
    void ScrollToBottom();
    void ScrollToLeft();
    void ScrollToRight();
    void SetLeftX(std::int32_t x);
    void HorizontalScroll(int code, int thumb);
    void VerticalScroll(int code, int thumb);
    void Resize(QSize size, QSize old);

    // ---- Caret motion (each extends a live selection and records as the undo rules say)
    void CaretUp(std::uint32_t n);
    void CaretDown(std::uint32_t n);
    void CaretLeft(std::uint32_t n);
    void CaretRight(std::uint32_t n);
    void CaretPageUp();
    void CaretPageDown();
    void CaretWordLeft();
    void CaretWordRight();
    void CaretLineStart();
    void CaretLineEnd(); // stops at the end of the caret's own line
    void CaretTextStart();
    void CaretTextEnd();
    void CaretToColumn(std::uint32_t column); // continues on following lines past the line's end
    void CaretToLine(std::uint32_t line);
    void CaretToPosition(ZuTextPosition position); // the mouse, offsets
    void CaretToOffset(std::uint64_t offset);
    void CaretToNextLineStart(std::uint32_t column);
    std::uint64_t CaretOffset() const;
    void ScrollCaretIntoView();
    void UpdateCaret();
    void UpdateScrollBars();

    // ---- Hit testing
    ZuTextPosition PositionAt(QPoint point) const;
    QPoint PointOf(ZuTextPosition position) const; // client coordinates of a column's left edge at its line top
    bool InTextArea(QPoint point) const;

    // ---- Selection
    const ZuTextRange& Selection() const; // materialised
    bool HasSelection() const { return state_.selection.type != ZuRangeNone; }
    bool SelectionEmpty() const;
    // The selection with its ends clamped to this pane's lines (what consumers use).
    ZuTextRange ClampedSelection() const;
    void StartSelection(int type);
    void FixSelection();
    void ChangeSelectionType(int type);
    void ClearSelection();
    void PullSelectionEndToCaret();
    void SetSelectionAnchorLine(std::uint32_t line);
    void SetSelectionAnchorColumn(std::uint32_t column);
    void SetSelectionEndLine(std::uint32_t line, bool fixed);
    void SetSelectionEndColumn(std::uint32_t column, bool fixed);
    void SetSelectionStartOffset(std::uint64_t offset);
    void SetSelectionEndOffset(std::uint64_t offset, bool fixed);
    std::uint64_t SelectionStartOffset() const;
    std::uint64_t SelectionEndOffset() const;
    void SelectWord();
    // The motion-key rule: without Shift clear, with Shift start one of the default type.
    void PrepareMotion(bool shift);
    // Selected columns of a line [start, end) for painting; false when the line has none.
    bool SelectedColumns(std::uint32_t line, std::uint32_t& start, std::uint32_t& end) const;

    // ---- Painting
    void Paint(QPainter& painter, const QRect& update, bool force = false);
    void LockPaint(bool begin);

    // ---- Text commands (each in a locked update and an undo group with caret actions)
    ZuErr InsertText(ZuTextPosition at, std::string_view bytes);
    ZuErr InsertFill(ZuTextPosition at, char byte, std::uint32_t n);
    ZuErr DeleteRange(const ZuTextRange& range);
    ZuErr DeleteSelection();
    ZuErr ReplaceSelection(std::string_view bytes);
    ZuErr TypeChar(char byte, std::uint32_t n, bool insert); // at the caret: insert or overwrite
    ZuErr DeleteCharAfter();
    ZuErr DeleteToLineEnd();
    ZuErr DeleteCharBefore(std::uint32_t n);
    ZuErr InsertParagraphBreak();
    ZuErr TypeCharsAtCaret(std::string_view bytes);
    // Inserts a fragment document at a range's first position (stream, or a column
    // block for a column range), with an insertion undo action.
    ZuErr InsertFragment(const ZuTextRange& range, ZuTextDocument& fragment);

    // ---- Wrapping
    ZuErr WrapRange(std::uint32_t first, std::uint32_t last, int width, bool wholeWords);
    ZuErr WrapAll();
    ZuErr UnwrapAll();
    ZuErr SetWrapAutomatically(bool on);
    bool WrapAutomatically() const { return autoWrap_; }
    ZuErr WrapSelection();
    // The document's fonts changed: every line is measured again, or re-wrapped
    // when the pane wraps automatically.
    ZuErr FontsChanged();

    // ---- Paragraph tab stops of the selection's paragraph
    ZuErr SetSelTabPosition(std::int32_t i, std::int32_t x);
    ZuErr SetSelTabAlignment(std::int32_t i, std::uint32_t alignment);
    ZuErr SetSelTabLeader(std::int32_t i, std::uint32_t leader);
    ZuErr SetSelTabCount(std::int32_t n);
    ZuErr ClearSelTabs();
    ZuErr ClearAllTabs();

    // ---- Document changes: a view's places as text offsets, taken before a
    // change and put back after it (bytes [from, removedTo) replaced by `inserted` bytes).
    struct Marks {
        std::uint64_t caret = 0;
        std::uint64_t anchor = 0;
        std::uint64_t end = 0;
        std::uint64_t top = 0;
    };
    Marks TakeMarks() const;
    void AdjustAfterChange(const Marks& marks, std::uint64_t from, std::uint64_t removedTo, std::uint64_t inserted);
    // Replaces bytes [from, to) with `bytes` inside the open undo group, both views adjusted.
    ZuErr ReplaceBytes(std::uint64_t from, std::uint64_t to, std::string_view bytes);

    // ---- Mouse (the control converts to client coordinates)
    ZuDragState MouseDown(QPoint point, bool shift, bool ctrl);
    void MouseMove(QPoint point);
    void MouseUp(QPoint point);
    void AutoscrollTick(QPoint point);
    void MouseCancel(); // ends a press (the release, or Esc)
    ZuDragState DragState() const { return dragState_; }
    // The cursor for a point: 0 arrow (over the selection), 1 margin, 2 I-beam.
    int CursorAt(QPoint point) const;

    // ---- Clipboard, drag and drop, double click (ZuPaneViewClipboard.cpp)
    // The selection in plain text, RTF and the range record; nothing without one.
    ZuErr CopySelection(ZuClipboard& clipboard);
    // What the clipboard holds, at the caret, in place of the selection; a
    // stream, line or column block as the range record says.
    ZuErr PasteData(ZuClipboard& clipboard);
    ZuErr CutSelection(ZuClipboard& clipboard);
    // What a clipboard held, at the caret.
    ZuErr InsertContent(ZuClipContent& content);
    void DoubleClick(QPoint point);
    // Whether text may be dropped into this pane.
    bool AcceptsDrop() const { return dragDropEnabled_ && !readOnly_; }
    // Enters drag state 3 (copy) or 2 (move) when the selection is not empty,
    // drag and drop is enabled and the pane is not read-only; false otherwise.
    bool StartDrag(bool copy);
    // Asked of the view dragged from (states 2 and 3) with the mouse at a point
    // of its own client area: the pane under it may be another pane or another
    // control of the process. Over: the drop caret goes there and the cursor
    // shows move, copy or no drop (the code 3, 4 or 5 is returned). Released:
    // the selection is copied or moved there; the drag ends.
    int DragOver(QPoint point);
    ZuErr DragDrop(QPoint point);
    void DragCancel();
    // The same with the pane found: `target` (null: no pane of this module) at a
    // point of the target's client area. A drop moves the text in one undo step
    // when both panes keep one history.
    int DragOverPane(ZuPaneView* target, QPoint point);
    ZuErr DropOnPane(ZuPaneView* target, QPoint point);
    // The pane view of this module under a point of the screen, and the point in
    // its client area; null over anything else.
    static ZuPaneView* PaneViewAt(QPoint global, QPoint& client);
    // The shape of a cursor code: 0 arrow, 1 the margin's arrow, 2 I-beam, 3 move,
    // 4 copy, 5 no drop; any other code the I-beam.
    static Qt::CursorShape CursorShape(int code);
    // The view that shows the drop caret (one for the whole module), and where.
    static ZuPaneView* DropCaretView();
    static void ForgetDropCaret(const ZuPaneView* view);
    ZuTextPosition DropCaret() const { return dropCaret_; }

    // For the undo of view state: the before-state of a command in progress.
    void RecordCaretAction(const ZuViewState& before, bool always);

protected:
    // Helpers shared by the files of the view.
    struct LineInfo {
        std::int32_t ascent = 0;
        std::int32_t height = 0;
    };
    const ZuTextBlock* BlockOf(std::uint32_t line, std::uint32_t& inBlock) const;
    LineInfo LineMetricsOf(std::uint32_t line) const;
    std::int32_t LineHeightOf(std::uint32_t line) const { return LineMetricsOf(line).height; }
    void MeasureLine(std::uint32_t line, std::vector<std::int32_t>& xs) const;
    std::int32_t ColumnX(std::uint32_t line, std::uint32_t column) const;
    std::uint32_t ColumnAtX(std::uint32_t line, std::int32_t x) const;      // hit-test rule
    std::uint32_t SnapColumnAtX(std::uint32_t line, std::int32_t x) const;  // vertical-move rule
    ZuTextPosition ClampPosition(ZuTextPosition p) const;
    std::uint32_t MaxTopLine() const;
    std::int32_t LineTopY(std::uint32_t line) const; // from the top line; -1 when above
    void Materialise() const;
    void AfterMotion(const ZuViewState& before, bool always);
    void SetTopLine(std::uint32_t line);
    void RepaintSelectionDifference(const ZuTextRange& before, const ZuTextRange& after);
    void RepaintSelectionLines(const ZuTextRange& range, bool linkedToo);
    void GrowExtent(std::int32_t width);
    void MeasureExtent();
    void MeasureExtentAgain();
    ZuErr Rewrap(std::uint32_t first, std::uint32_t last, int width, bool wholeWords, bool unwrap,
                 bool wholePane = false);
    ZuErr RewrapAfterEdit(std::uint64_t from, std::uint64_t to);
    void AfterChange(std::uint64_t from, std::uint64_t removedTo, std::uint64_t inserted, const Marks& mine,
                     const Marks& linked, std::uint32_t linesBefore);
    // Caret actions around a text command: the state before, then after (always recorded).
    void RecordState();
    ZuErr ChangeParagraphTabs(const std::function<ZuErr(ZuTabSet&, bool own)>& change);
    void MoveCaretTo(ZuTextPosition position);

    ZuTextDocument* document_;
    int pane_;
    ZuWindowServices& window_;
    ZuUndoManager& undo_;
    ZuPaneView* linked_ = nullptr;

    mutable ZuViewState state_;
    int margins_[4] = {0, 0, 0, 0};
    int caretWidth_ = -1;
    int caretHeight_ = -1;
    int wrapX_ = -1;
    bool wrapWholeWords_ = false;
    bool autoWrap_ = false;
    int scrollBars_ = 3;
    std::int32_t extent_ = 0;
    int lock_ = 0;
    QRect pending_;
    int paintLock_ = 0;
    QRect pendingPaint_;
    bool readOnly_ = false;
    bool dragDropEnabled_ = true;
    std::uint8_t selDefaultType_ = 1;
    bool undoCaret_ = false;
    bool undoCharFormatting_ = false;
    int scrollMessages_[2] = {0, 0};

    // The mouse.
    ZuDragState dragState_ = ZuDragNone;
    ZuTextPosition pressPosition_;
    ZuTextPosition caretBeforePress_;
    QPoint pressPoint_;
    bool movedSincePress_ = false;
    bool wordJustSelected_ = false;
    bool groupOpenByPress_ = false;
    ZuTextPosition dragAnchor_; // the selection's anchor when a drag began
    ZuTextPosition dropCaret_;  // where a drag would drop, while this view shows the drop caret
};
