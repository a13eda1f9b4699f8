#pragma once
// The editor control: two panes over one document, the splitter between them,
// and the keyboard and mouse input of the whole control (the panes hand theirs
// to it). The keyboard focus always stays on this widget; keys act on the
// focused pane's view.
//
// Files: ZuEditor20.cpp (engine objects, panes, layout, splitter, focus),
// ZuEditor20Input.cpp (key and character tables, mouse modes, timer),
// ZuEditor20Clipboard.cpp.

#include "editctl/ZuPaneView.h"
#include "editctl/ZuPaneWindow.h"
#include "editctl/ZuQtMetrics.h"
#include "editctl/engine/ZuSearch.h"
#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoManager.h"

#include <QBasicTimer>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QRubberBand;

// The geometry of the two panes in a client area (the bar lies between them).
struct ZuPaneLayout {
    QRect first;
    QRect second;
};

class ZuEditor20 : public QWidget {
    Q_OBJECT
public:
    explicit ZuEditor20(QWidget* parent = nullptr);
    ~ZuEditor20() override;

    // ---- Engine objects (owned)
    ZuTextDocument& Document() { return *document_; }
    ZuUndoManager& UndoManager() { return undo_; }
    ZuFontTable& Fonts() { return document_->Fonts(); }
    ZuTabSet& DefaultTabSet() { return document_->DefaultTabSet(); }
    ZuQtMetrics& Metrics() { return *metrics_; }
    // Shows another document in both panes; the undo history is emptied.
    void AdoptDocument(std::unique_ptr<ZuTextDocument> document);
    // Replaces the text with plain bytes (CR LF or LF line ends), caret at the start.
    ZuErr SetPlainText(std::string_view bytes);

    // ---- Panes and splitter
    struct Pane {
        ZuPaneWindow* window = nullptr; // child widget, owned by Qt
        std::unique_ptr<ZuPaneView> view;
    };
    Pane& PaneAt(int index) { return panes_[std::size_t(index)]; }
    ZuPaneView& View(int index) { return *panes_[std::size_t(index)].view; }
    ZuPaneWindow& PaneWindow(int index) { return *panes_[std::size_t(index)].window; }
    int FocusPane() const { return focusPane_; }
    ZuPaneView& FocusedView() { return View(focusPane_); }
    void SetFocusPane(int index);
    // The panes' rectangles in a client area of width x height.
    static ZuPaneLayout ComputeLayout(int splitterType, int splitterPosition, int splitterWidth, int width,
                                      int height);
    void LayoutPanes(int width, int height);
    // Drag feedback: the bar drawn at a position (first pane's size); -1 hides it.
    void TrackSplitter(int position);
    // Setters that apply the stored-value rules and lay the panes out again.
    void SetSplitterType(int type);
    void SetSplitterPosition(int position);
    void SetSplitterWidth(int width);
    static std::int16_t StoredSplitterType(int type);
    static std::int16_t StoredSplitterPosition(int position);

    std::int16_t SplitterType = 0;      // 0 none, 1 vertical bar (side by side), 2 horizontal bar
    std::int16_t SplitterPosition = -2; // first pane's size; -2 halves, -1 all to the first pane
    std::int16_t SplitterWidth = 7;
    bool SplitterEnabled = true;
    std::uint32_t SplitterForeColor = 0x000000; // 0x00BBGGRR
    std::uint32_t SplitterBackColor = 0xC0C0C0;

    // ---- Properties the input reads
    bool ReadOnly = false;
    bool InsertMode = true;
    int MousePointer = 0;
    bool Redraw = true;
    int SelColorType = 0; // 0 inverted selection colours, 1 the SelForeColor/SelBackColor slots

    // ---- Container hooks (the control's events are raised through these)
    // KeyPress: the handler may change the character; 0 cancels it.
    std::function<void(int& character)> keyPress;
    std::function<void(ZuErr error)> error;
    // A position of the splitter set by a drag.
    std::function<void()> splitterMoved;

    // ---- Search and replace (ZuEditor20Search.cpp): the control's search settings
    // and state; the replace confirmation goes to `search.confirm`.
    ZuSearch search;
    // One search step in the pane of a view (a ZuSearchStep).
    int RunSearch(ZuPaneView& view, bool replace, bool again, std::string_view target);
    // The actions 9 search, 10 replace and 11 search again, in the focused pane.
    ZuErr SearchAction(int action);

    // ---- Commands of both panes
    // Wraps a non-empty selection's lines in the focused pane, then in the other
    // one when the control is split, in one undo group; the first error ends it.
    ZuErr WrapAction();
    // After the document's fonts changed: both panes measure (or wrap) again.
    void FontsChanged();

    // ---- Clipboard of the focused pane (ZuEditor20Clipboard.cpp)
    ZuErr Copy();
    ZuErr Paste();
    ZuErr Cut();

    // ---- Input (ZuEditor20Input.cpp)
    // One key of the key table; false when it is not the table's.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers, int count);
    // One character of the character table (after KeyPress).
    void HandleChar(int character, Qt::KeyboardModifiers modifiers, int count, bool altGr = false);
    int MouseMode() const { return mouseMode_; }
    bool TimerRunning() const { return timer_.isActive(); }
    // From the panes: mouse input in this widget's coordinates.
    void PaneMouseEvent(ZuPaneWindow* pane, QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void CreateViews();
    void LinkViews();
    void PushPaneColors(int index);
    void Report(ZuErr code);
    void Press(QPoint point, ZuPaneWindow* pane, Qt::KeyboardModifiers modifiers);
    void Move(QPoint point);
    void Release(QPoint point);
    void EndMouse();
    int SplitterCoordinate(QPoint point) const;
    ZuPaneWindow* PaneUnder(QPoint point) const;
    void AfterKey();
    void Undo(bool redo);

    std::unique_ptr<ZuQtMetrics> metrics_;
    ZuUndoManager undo_;
    std::unique_ptr<ZuTextDocument> document_;
    std::array<Pane, 2> panes_;
    int focusPane_ = 0;

    // Mouse modes: 0 idle, 1 selecting, 2 and 3 dragging text, 4 splitter drag.
    int mouseMode_ = 0;
    int splitterOffset_ = 0;
    int trackerPosition_ = -1;
    QRubberBand* tracker_ = nullptr;
    QBasicTimer timer_;
    QPoint lastMouse_;
    ZuPaneWindow* mousePane_ = nullptr;

    // ---- State, persistence and automation: members of their own below.
};
