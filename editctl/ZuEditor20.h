#pragma once
// The editor control: two panes over one document, the splitter between them,
// and the keyboard and mouse input of the whole control (the panes hand theirs
// to it). The keyboard focus always stays on this widget; keys act on the
// focused pane's view.
//
// Files: ZuEditor20.cpp (engine objects, panes, layout, splitter, focus),
// ZuEditor20Input.cpp (key and character tables, mouse modes, timer),
// ZuEditor20Clipboard.cpp; the container's boundary: ZuEditor20State.cpp,
// ZuEditor20Automation.cpp, ZuEditor20AutomationSelection.cpp, ZuEditor20Persist.cpp.

#include "editctl/ZuPaneView.h"
#include "editctl/ZuPaneWindow.h"
#include "editctl/ZuQtMetrics.h"
#include "editctl/engine/ZuSearch.h"
#include "editctl/engine/ZuTextDocument.h"
#include "editctl/engine/ZuUndoManager.h"
#include "platform/forms/PropertyBag.h"

#include <QBasicTimer>
#include <QFont>
#include <QVariantList>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <exception>
#include <memory>
#include <vector>

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

    // ==== The container's boundary: state, persistence and automation
    // (ZuEditor20State.cpp: settings, pane scope, the operation frame and change
    // events; ZuEditor20Automation*.cpp: the members; ZuEditor20Persist.cpp: the
    // property bag). Every member is reached by name through the meta-object;
    // booleans are True/False, colours OLE_COLOR (high bit: a system colour),
    // columns and lines 1-based. A refused write raises platform::Error with the
    // automation error's number and text.
    Q_PROPERTY(int SplitterPosition READ GetSplitterPosition WRITE LetSplitterPosition)
    Q_PROPERTY(int SplitterWidth READ GetSplitterWidth WRITE LetSplitterWidth)
    Q_PROPERTY(bool SplitterEnabled READ GetSplitterEnabled WRITE LetSplitterEnabled)
    Q_PROPERTY(int SplitterType READ GetSplitterType WRITE LetSplitterType)
    Q_PROPERTY(uint SplitterForeColor READ GetSplitterForeColor WRITE LetSplitterForeColor)
    Q_PROPERTY(uint SplitterBackColor READ GetSplitterBackColor WRITE LetSplitterBackColor)
    Q_PROPERTY(QString FileOpen READ GetFileOpen WRITE LetFileOpen)
    Q_PROPERTY(QString FileInsert READ GetFileInsert WRITE LetFileInsert)
    Q_PROPERTY(QString FileSaveSelected READ GetFileSaveSelected WRITE LetFileSaveSelected)
    Q_PROPERTY(bool FileSaveAppend READ GetFileSaveAppend WRITE LetFileSaveAppend)
    Q_PROPERTY(QString FileSave READ GetFileSave WRITE LetFileSave)
    Q_PROPERTY(bool FileConvertOemAnsi READ GetFileConvertOemAnsi WRITE LetFileConvertOemAnsi)
    Q_PROPERTY(int TextType READ GetTextType WRITE LetTextType)
    Q_PROPERTY(int ScrollBars READ GetScrollBars WRITE LetScrollBars)
    Q_PROPERTY(int MousePointer READ GetMousePointer WRITE LetMousePointer)
    Q_PROPERTY(bool ReadOnly READ GetReadOnly WRITE LetReadOnly)
    Q_PROPERTY(qulonglong PaintDC READ GetPaintDC WRITE LetPaintDC)
    Q_PROPERTY(qulonglong hFont READ GethFont WRITE LethFont)
    Q_PROPERTY(bool UndoCharFormattingEnabled READ GetUndoCharFormattingEnabled WRITE LetUndoCharFormattingEnabled)
    Q_PROPERTY(bool UndoCaretEnabled READ GetUndoCaretEnabled WRITE LetUndoCaretEnabled)
    Q_PROPERTY(int UndoLimit READ GetUndoLimit WRITE LetUndoLimit)
    Q_PROPERTY(bool CanUndo READ GetCanUndo WRITE LetCanUndo)
    Q_PROPERTY(bool CanRedo READ GetCanRedo WRITE LetCanRedo)
    Q_PROPERTY(int Action READ GetAction WRITE LetAction)
    Q_PROPERTY(QString TextAll READ GetTextAll WRITE LetTextAll)
    Q_PROPERTY(QString Text READ GetText WRITE LetText)
    Q_PROPERTY(int TextIndex READ GetTextIndex WRITE LetTextIndex)
    Q_PROPERTY(int Count READ GetCount WRITE LetCount)
    Q_PROPERTY(int CountBytes READ GetCountBytes WRITE LetCountBytes)
    Q_PROPERTY(bool IsEndOfParagraph READ GetIsEndOfParagraph WRITE LetIsEndOfParagraph)
    Q_PROPERTY(int HeightLine READ GetHeightLine WRITE LetHeightLine)
    Q_PROPERTY(int LeftHi READ GetLeftHi WRITE LetLeftHi)
    Q_PROPERTY(int RightHi READ GetRightHi WRITE LetRightHi)
    Q_PROPERTY(bool IsDirty READ GetIsDirty WRITE LetIsDirty)
    Q_PROPERTY(bool InsertMode READ GetInsertMode WRITE LetInsertMode)
    Q_PROPERTY(bool Redraw READ GetRedraw WRITE LetRedraw)
    Q_PROPERTY(int CaretX READ GetCaretX WRITE LetCaretX)
    Q_PROPERTY(int CaretY READ GetCaretY WRITE LetCaretY)
    Q_PROPERTY(int CaretOffset READ GetCaretOffset WRITE LetCaretOffset)
    Q_PROPERTY(int TopY READ GetTopY WRITE LetTopY)
    Q_PROPERTY(int LeftX READ GetLeftX WRITE LetLeftX)
    Q_PROPERTY(int ExtentX READ GetExtentX WRITE LetExtentX)
    Q_PROPERTY(int LinesPerWindow READ GetLinesPerWindow WRITE LetLinesPerWindow)
    Q_PROPERTY(int FullLinesPerWindow READ GetFullLinesPerWindow WRITE LetFullLinesPerWindow)
    Q_PROPERTY(int CaretWidth READ GetCaretWidth WRITE LetCaretWidth)
    Q_PROPERTY(int CaretHeight READ GetCaretHeight WRITE LetCaretHeight)
    Q_PROPERTY(int TopMargin READ GetTopMargin WRITE LetTopMargin)
    Q_PROPERTY(int BottomMargin READ GetBottomMargin WRITE LetBottomMargin)
    Q_PROPERTY(int LeftMargin READ GetLeftMargin WRITE LetLeftMargin)
    Q_PROPERTY(int RightMargin READ GetRightMargin WRITE LetRightMargin)
    Q_PROPERTY(int WrapX READ GetWrapX WRITE LetWrapX)
    Q_PROPERTY(bool WrapWholeWords READ GetWrapWholeWords WRITE LetWrapWholeWords)
    Q_PROPERTY(bool WrapAutomatically READ GetWrapAutomatically WRITE LetWrapAutomatically)
    Q_PROPERTY(int PaneIndex READ GetPaneIndex WRITE LetPaneIndex)
    Q_PROPERTY(int PaneFocus READ GetPaneFocus WRITE LetPaneFocus)
    Q_PROPERTY(int SelDefaultType READ GetSelDefaultType WRITE LetSelDefaultType)
    Q_PROPERTY(int SelMark READ GetSelMark WRITE LetSelMark)
    Q_PROPERTY(int SelStartX READ GetSelStartX WRITE LetSelStartX)
    Q_PROPERTY(int SelStartY READ GetSelStartY WRITE LetSelStartY)
    Q_PROPERTY(int SelEndX READ GetSelEndX WRITE LetSelEndX)
    Q_PROPERTY(int SelEndY READ GetSelEndY WRITE LetSelEndY)
    Q_PROPERTY(int SelStartOffset READ GetSelStartOffset WRITE LetSelStartOffset)
    Q_PROPERTY(int SelEndOffset READ GetSelEndOffset WRITE LetSelEndOffset)
    Q_PROPERTY(QString SelText READ GetSelText WRITE LetSelText)
    Q_PROPERTY(QString SelTextAll READ GetSelTextAll WRITE LetSelTextAll)
    Q_PROPERTY(uint SelForeColor READ GetSelForeColor WRITE LetSelForeColor)
    Q_PROPERTY(uint SelBackColor READ GetSelBackColor WRITE LetSelBackColor)
    Q_PROPERTY(int SelColorType READ GetSelColorType WRITE LetSelColorType)
    Q_PROPERTY(bool SelDragDropEnable READ GetSelDragDropEnable WRITE LetSelDragDropEnable)
    Q_PROPERTY(int CharacterBold READ GetCharacterBold WRITE LetCharacterBold)
    Q_PROPERTY(int CharacterItalic READ GetCharacterItalic WRITE LetCharacterItalic)
    Q_PROPERTY(QString CharacterName READ GetCharacterName WRITE LetCharacterName)
    Q_PROPERTY(float CharacterSize READ GetCharacterSize WRITE LetCharacterSize)
    Q_PROPERTY(bool CharacterStrikethru READ GetCharacterStrikethru WRITE LetCharacterStrikethru)
    Q_PROPERTY(bool CharacterUnderline READ GetCharacterUnderline WRITE LetCharacterUnderline)
    Q_PROPERTY(uint CharacterForeColor READ GetCharacterForeColor WRITE LetCharacterForeColor)
    Q_PROPERTY(uint CharacterBackColor READ GetCharacterBackColor WRITE LetCharacterBackColor)
    Q_PROPERTY(QFont Font READ GetFont WRITE LetFont)
    Q_PROPERTY(QString FontName READ GetFontName WRITE LetFontName)
    Q_PROPERTY(bool FontBold READ GetFontBold WRITE LetFontBold)
    Q_PROPERTY(bool FontItalic READ GetFontItalic WRITE LetFontItalic)
    Q_PROPERTY(bool FontStrikethru READ GetFontStrikethru WRITE LetFontStrikethru)
    Q_PROPERTY(bool FontUnderline READ GetFontUnderline WRITE LetFontUnderline)
    Q_PROPERTY(float FontSize READ GetFontSize WRITE LetFontSize)
    Q_PROPERTY(uint ForeColor READ GetForeColor WRITE LetForeColor)
    Q_PROPERTY(uint BackColor READ GetBackColor WRITE LetBackColor)
    Q_PROPERTY(int Appearance READ GetAppearance WRITE LetAppearance)
    Q_PROPERTY(int BorderStyle READ GetBorderStyle WRITE LetBorderStyle)
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE LetEnabled)
    Q_PROPERTY(qulonglong hWnd READ GethWnd WRITE LethWnd)
    Q_PROPERTY(int TabDefaultWidth READ GetTabDefaultWidth WRITE LetTabDefaultWidth)
    Q_PROPERTY(int TabCount READ GetTabCount WRITE LetTabCount)
    Q_PROPERTY(int SelTabCount READ GetSelTabCount WRITE LetSelTabCount)
    Q_PROPERTY(int SelNextTab READ GetSelNextTab WRITE LetSelNextTab)
    Q_PROPERTY(int SelPrevTab READ GetSelPrevTab WRITE LetSelPrevTab)
    Q_PROPERTY(int BookmarkCount READ GetBookmarkCount WRITE LetBookmarkCount)
    Q_PROPERTY(QString SearchTarget READ GetSearchTarget WRITE LetSearchTarget)
    Q_PROPERTY(QString SearchReplacement READ GetSearchReplacement WRITE LetSearchReplacement)
    Q_PROPERTY(int SearchOrigin READ GetSearchOrigin WRITE LetSearchOrigin)
    Q_PROPERTY(int SearchTo READ GetSearchTo WRITE LetSearchTo)
    Q_PROPERTY(bool SearchCaseSensitive READ GetSearchCaseSensitive WRITE LetSearchCaseSensitive)
    Q_PROPERTY(bool SearchWholeWordsOnly READ GetSearchWholeWordsOnly WRITE LetSearchWholeWordsOnly)
    Q_PROPERTY(int SearchReplaceAction READ GetSearchReplaceAction WRITE LetSearchReplaceAction)
    Q_PROPERTY(int SearchResult READ GetSearchResult WRITE LetSearchResult)
    Q_PROPERTY(int SearchReplaceCount READ GetSearchReplaceCount WRITE LetSearchReplaceCount)

public:
    // ---- Indexed properties and methods
    Q_INVOKABLE int TabMark(int index) const;
    Q_INVOKABLE void setTabMark(int index, int value);
    Q_INVOKABLE int TabAlign(int index) const;
    Q_INVOKABLE void setTabAlign(int index, int value);
    Q_INVOKABLE int TabLeader(int index) const;
    Q_INVOKABLE void setTabLeader(int index, int value);
    Q_INVOKABLE int SelTabMark(int index) const;
    Q_INVOKABLE void setSelTabMark(int index, int value);
    Q_INVOKABLE int SelTabAlign(int index) const;
    Q_INVOKABLE void setSelTabAlign(int index, int value);
    Q_INVOKABLE int SelTabLeader(int index) const;
    Q_INVOKABLE void setSelTabLeader(int index, int value);
    Q_INVOKABLE int BookmarkOffset(int index) const;
    Q_INVOKABLE void setBookmarkOffset(int index, int value);
    Q_INVOKABLE QString BookmarkName(int index) const;
    Q_INVOKABLE void setBookmarkName(int index, const QString& value);
    Q_INVOKABLE void SelTabClear();
    Q_INVOKABLE void SelTabClearAll();
    Q_INVOKABLE int ClientToPane(int x, int y);
    // The point's column and line (1-based): [column, line].
    Q_INVOKABLE QVariantList ClientToFile(int pane, int x, int y);
    Q_INVOKABLE int FileToOffset(int pane, int x, int y);
    // The offset's column (1-based) and line (0-based): [column, line].
    Q_INVOKABLE QVariantList OffsetToFile(int offset, int pane);
    Q_INVOKABLE void AboutBox();
    // The container's Properties verb: the property sheet of this control.
    Q_INVOKABLE void ShowPropertyPages();

    // ---- Persistence (the container's property bag)
    // Saving writes every saved property (the stock ones first, then the table's
    // rows in order); loading passes each value to its setter with errors kept
    // quiet, restores a remembered save path without writing, and opens the
    // file to open last, after the settings it is read with.
    void SaveProperties(platform::PropertyBag& bag);
    void LoadProperties(const platform::PropertyBag& bag);
    // The same by name: the bag as name and value pairs, in order.
    Q_INVOKABLE QVariantList SavePropertyBag();
    Q_INVOKABLE void LoadPropertyBag(const QVariantList& pairs);
    // The ambient user mode of the container: false at design time, when every
    // setter writes both panes and changes are told to property-notify sinks.
    Q_INVOKABLE void SetAmbientUserMode(bool userMode) { userMode_ = userMode; }
    Q_INVOKABLE bool AmbientUserMode() const { return userMode_; }
    // The ProgIDs of the pages, in the order offered to a container.
    static QStringList PropertyPageProgIds();

    // ---- Change notification
    void BeginChange();
    void EndChange();
    void PropertyChanged(int dispid);

    // Whether a property changed since the container last saved the control.
    bool ControlModified() const { return controlModified_; }
    void ClearControlModified() { controlModified_ = false; }

    // Draws the first pane's visible text with a painter of the caller (printing, pictures).
    void PaintFirstPane(QPainter& painter);

    // A colour as RGB (0x00BBGGRR): system colours through the palette.
    static std::uint32_t TranslateColor(std::uint32_t oleColor);

signals:
    // Events of the container (arguments by reference are pointers).
    void KeyPress(short* KeyAscii);
    void FindWordBreak(int* CurrentX, int* CurrentY, int* NextX, int* NextY, short* Pane);
    void SelChange(int* OldSelStartX, int* OldSelStartY, int* OldSelEndX, int* OldSelEndY, short* OldSelMark,
                   short* Pane);
    void TopYChange(int* OldTopY, short* Pane);
    void CaretChange(int* OldCaretX, int* OldCaretY, short* Pane);
    void Change();
    void SearchReplaceConfirm(short* Confirmation);
    void CountChange(int* OldCount, short* Pane);
    void PaneFocusChange(short* OldPaneIndex);
    void EraseBackground(short* Pane, qulonglong* hDC, short* bErasedBackground);
    void LeftXChange(int* OldLeftX, short* Pane);
    void ExtentXChange(int* OldExtentX, short* Pane);
    void Click();
    void DblClick();
    void KeyDown(short* KeyCode, short Shift);
    void KeyUp(short* KeyCode, short Shift);
    void MouseDown(short Button, short Shift, int X, int Y);
    void MouseMove(short Button, short Shift, int X, int Y);
    void MouseUp(short Button, short Shift, int X, int Y);
    // The stock error event: a handler that sets CancelDisplay keeps the message box away.
    void Error(short Number, QString* Description, int Scode, const QString& Source, const QString& HelpFile,
               int HelpContext, bool* CancelDisplay);
    // At design time: a property changed (for property-notify sinks).
    void PropertyNotify(int dispid);

public:
    // The property accessors (Get reads, Let writes; see the member table).
#define ZU_PROPERTY(type, name) \
    type Get##name() const;     \
    void Let##name(type value);
    ZU_PROPERTY(int, SplitterPosition)
    ZU_PROPERTY(int, SplitterWidth)
    ZU_PROPERTY(bool, SplitterEnabled)
    ZU_PROPERTY(int, SplitterType)
    ZU_PROPERTY(uint, SplitterForeColor)
    ZU_PROPERTY(uint, SplitterBackColor)
    ZU_PROPERTY(QString, FileOpen)
    ZU_PROPERTY(QString, FileInsert)
    ZU_PROPERTY(QString, FileSaveSelected)
    ZU_PROPERTY(bool, FileSaveAppend)
    ZU_PROPERTY(QString, FileSave)
    ZU_PROPERTY(bool, FileConvertOemAnsi)
    ZU_PROPERTY(int, TextType)
    ZU_PROPERTY(int, ScrollBars)
    ZU_PROPERTY(int, MousePointer)
    ZU_PROPERTY(bool, ReadOnly)
    ZU_PROPERTY(qulonglong, PaintDC)
    ZU_PROPERTY(qulonglong, hFont)
    ZU_PROPERTY(bool, UndoCharFormattingEnabled)
    ZU_PROPERTY(bool, UndoCaretEnabled)
    ZU_PROPERTY(int, UndoLimit)
    ZU_PROPERTY(bool, CanUndo)
    ZU_PROPERTY(bool, CanRedo)
    ZU_PROPERTY(int, Action)
    ZU_PROPERTY(QString, TextAll)
    ZU_PROPERTY(QString, Text)
    ZU_PROPERTY(int, TextIndex)
    ZU_PROPERTY(int, Count)
    ZU_PROPERTY(int, CountBytes)
    ZU_PROPERTY(bool, IsEndOfParagraph)
    ZU_PROPERTY(int, HeightLine)
    ZU_PROPERTY(int, LeftHi)
    ZU_PROPERTY(int, RightHi)
    ZU_PROPERTY(bool, IsDirty)
    ZU_PROPERTY(bool, InsertMode)
    ZU_PROPERTY(bool, Redraw)
    ZU_PROPERTY(int, CaretX)
    ZU_PROPERTY(int, CaretY)
    ZU_PROPERTY(int, CaretOffset)
    ZU_PROPERTY(int, TopY)
    ZU_PROPERTY(int, LeftX)
    ZU_PROPERTY(int, ExtentX)
    ZU_PROPERTY(int, LinesPerWindow)
    ZU_PROPERTY(int, FullLinesPerWindow)
    ZU_PROPERTY(int, CaretWidth)
    ZU_PROPERTY(int, CaretHeight)
    ZU_PROPERTY(int, TopMargin)
    ZU_PROPERTY(int, BottomMargin)
    ZU_PROPERTY(int, LeftMargin)
    ZU_PROPERTY(int, RightMargin)
    ZU_PROPERTY(int, WrapX)
    ZU_PROPERTY(bool, WrapWholeWords)
    ZU_PROPERTY(bool, WrapAutomatically)
    ZU_PROPERTY(int, PaneIndex)
    ZU_PROPERTY(int, PaneFocus)
    ZU_PROPERTY(int, SelDefaultType)
    ZU_PROPERTY(int, SelMark)
    ZU_PROPERTY(int, SelStartX)
    ZU_PROPERTY(int, SelStartY)
    ZU_PROPERTY(int, SelEndX)
    ZU_PROPERTY(int, SelEndY)
    ZU_PROPERTY(int, SelStartOffset)
    ZU_PROPERTY(int, SelEndOffset)
    ZU_PROPERTY(QString, SelText)
    ZU_PROPERTY(QString, SelTextAll)
    ZU_PROPERTY(uint, SelForeColor)
    ZU_PROPERTY(uint, SelBackColor)
    ZU_PROPERTY(int, SelColorType)
    ZU_PROPERTY(bool, SelDragDropEnable)
    ZU_PROPERTY(int, CharacterBold)
    ZU_PROPERTY(int, CharacterItalic)
    ZU_PROPERTY(QString, CharacterName)
    ZU_PROPERTY(float, CharacterSize)
    ZU_PROPERTY(bool, CharacterStrikethru)
    ZU_PROPERTY(bool, CharacterUnderline)
    ZU_PROPERTY(uint, CharacterForeColor)
    ZU_PROPERTY(uint, CharacterBackColor)
    ZU_PROPERTY(QFont, Font)
    ZU_PROPERTY(QString, FontName)
    ZU_PROPERTY(bool, FontBold)
    ZU_PROPERTY(bool, FontItalic)
    ZU_PROPERTY(bool, FontStrikethru)
    ZU_PROPERTY(bool, FontUnderline)
    ZU_PROPERTY(float, FontSize)
    ZU_PROPERTY(uint, ForeColor)
    ZU_PROPERTY(uint, BackColor)
    ZU_PROPERTY(int, Appearance)
    ZU_PROPERTY(int, BorderStyle)
    ZU_PROPERTY(bool, Enabled)
    ZU_PROPERTY(qulonglong, hWnd)
    ZU_PROPERTY(int, TabDefaultWidth)
    ZU_PROPERTY(int, TabCount)
    ZU_PROPERTY(int, SelTabCount)
    ZU_PROPERTY(int, SelNextTab)
    ZU_PROPERTY(int, SelPrevTab)
    ZU_PROPERTY(int, BookmarkCount)
    ZU_PROPERTY(QString, SearchTarget)
    ZU_PROPERTY(QString, SearchReplacement)
    ZU_PROPERTY(int, SearchOrigin)
    ZU_PROPERTY(int, SearchTo)
    ZU_PROPERTY(bool, SearchCaseSensitive)
    ZU_PROPERTY(bool, SearchWholeWordsOnly)
    ZU_PROPERTY(int, SearchReplaceAction)
    ZU_PROPERTY(int, SearchResult)
    ZU_PROPERTY(int, SearchReplaceCount)
#undef ZU_PROPERTY

private:
    // Per pane: the settings the container gives it and its 12 colour slots.
    struct PaneSettings {
        int scrollBars = 3;
        int topMargin = 0, bottomMargin = 0, leftMargin = 0, rightMargin = 0;
        int wrapX = -1;
        bool wrapWholeWords = true;
        bool wrapAutomatically = false;
        int caretWidth = -1, caretHeight = -1;
        bool undoCharFormatting = true, undoCaret = true;
        bool selDragDrop = true;
        std::array<std::uint32_t, 12> colors{0x80000005u, 0x80000008u, 0x8000000Du, 0x8000000Eu, 0u, 0u,
                                              0x80000005u, 0x80000008u, 0x80000005u, 0x80000008u,
                                              0x80000005u, 0x80000008u};
    };
    // What a change snapshot records of a pane, as the container sees it.
    struct PaneSnapshot {
        int topY = 0, extentX = 0, leftX = 0;
        int selStartX = 0, selStartY = 0, selEndX = 0, selEndY = 0;
        short selMark = 1;
        int caretX = 0, caretY = 0, count = 0;
        bool operator==(const PaneSnapshot&) const = default;
    };
    struct ChangeSnapshot {
        short focus = 1;
        bool dirty = false;
        std::array<PaneSnapshot, 2> panes;
        bool operator==(const ChangeSnapshot&) const = default;
    };

    void InitAutomation();
    ZuPaneView& ViewAt(int pane) const { return const_cast<ZuEditor20*>(this)->View(pane); }
    ZuTextDocument& Doc() const { return const_cast<ZuEditor20*>(this)->Document(); }
    // Runs one property write or method: the snapshot, the work, the change
    // events, the notification (dispid 0: none), then the error, if any.
    void Operate(int notifyDispid, const std::function<void()>& work);
    void ReportError(std::exception_ptr failure);
    // The panes a setter writes and the pane a getter reads.
    std::vector<int> PanesInScope() const;
    int PaneToRead() const;
    PaneSnapshot SnapshotOf(int pane) const;
    ChangeSnapshot TakeSnapshot() const;
    void FireChanges(const ChangeSnapshot& before, const ChangeSnapshot& now);
    void ApplyPaneSettings(int pane);
    void ApplyColors(int pane);
    void ApplyAllSettings();
    // Text at the boundary: saved with TextType into bytes, parsed back with it.
    QString SaveRange(int pane, const ZuTextRange& range) const;
    // A range or position of a view (0-based lines) as the document counts lines (from 1).
    static ZuTextRange ToDocument(ZuTextRange range);
    static ZuTextPosition ToDocument(ZuTextPosition position) { return {position.x, position.y + 1}; }
    std::unique_ptr<ZuTextDocument> ParseText(const QString& value) const;
    void ReplaceRange(int pane, const ZuTextRange& range, const QString& value);
    void OpenFile(const QString& path);
    void SaveToFile(const QString& path, bool selectionOnly);
    void RunAction(int action);
    void SetSelectionEnd(int which, int value);
    void ApplyCharacterFormat(int attribute, const ZuAttributeValue& value);
    // A format change of a pane's range in one undo group, recorded for undo when the pane records formats.
    void FormatRecorded(int pane, const ZuTextRange& range, const std::function<ZuErr()>& change);
    ZuAttributeValue QueryCharacterFormat(int attribute) const;
    // The selection's text (slot 7) or background (slot 6) colour in the pane read or written.
    uint QueryCharacterColor(int slot) const;
    void ApplyCharacterColor(int slot, uint value);
    void RequireUniformFixedPitch() const;
    void InsertParsed(int pane, ZuTextDocument& fragment);
    int ReadIndex() const;
    void ApplyMargins(int pane);
    void ApplyMousePointer();
    void ApplyStockFont(const QFont& font);
    // The splitter bar: raised 3-D edges on the button face (Appearance 1), or
    // SplitterBackColor outlined in SplitterForeColor (Appearance 0).
    void DrawSplitter(QPainter& painter);
    void OnKeyPress(int& character);
    void InstallWordBreak();
    // The stock events of keys and the mouse, seen on the control and its panes.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void OnInputError(ZuErr code);
    bool IsModified() const;
    void SetModified(bool modified);

    std::array<PaneSettings, 2> settings_;
    int paneIndex_ = -2;
    int tabDefaultWidth_ = -1;
    int undoLimit_ = 255;
    int textType_ = 0;
    int detectedType_ = 0;
    bool convertOem_ = false;
    bool saveAppend_ = false;
    int selDefaultType_ = 1;
    int appearance_ = 1;
    int borderStyle_ = 1;
    std::uint32_t splitterFore_ = 0x80000008u;
    std::uint32_t splitterBack_ = 0x80000005u;
    QString fileOpenPath_, fileSavePath_, fileSaveSelectedPath_, fileInsertPath_;
    int textIndex_ = 0;
    ChangeSnapshot snapshot_;
    int nesting_ = 0;
    bool reportErrors_ = true;
    bool loading_ = false;
    bool userMode_ = true;
    mutable const ZuTextDocument* cleanDocument_ = nullptr;
    mutable std::uint64_t cleanEditCount_ = 0;
    mutable bool forcedDirty_ = false;
    bool controlModified_ = false;
    // Panes whose painting Redraw = False locked.
    std::array<bool, 2> redrawOff_{false, false};
};
