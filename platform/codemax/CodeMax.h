#pragma once
// CodeMax: the editing control of every document window, macro pane,
// clipboard detail pane and compare pane, as an adapter over QScintilla.
//
// Conventions
// - Members keep the names the programs use. A property is a getter named
//   as the property and a setter with "Set" before it: Text() / SetText(),
//   HighlightedLine() / SetHighlightedLine(), EnableHSplitter() /
//   SetEnableHSplitter(). Methods keep their names (GetSel, ReplaceText,
//   ExecuteCmd).
// - Lines and columns count from 0; a column counts UTF-16 code units of the
//   line (QString indices). A column inside a character of two units (an
//   emoji) means that character's start.
// - The programs always see CR LF line breaks: Text, GetLine, SelText, and
//   the text given to SetText, SetSelText, AddText and ReplaceText (a lone LF
//   or CR given is read as a line break too). The document keeps its file's
//   own line breaks and SaveFile writes them back; a new document uses CR LF.
// - Files: a file that is valid UTF-8 is shown as UTF-8, any other is read
//   byte for byte as Latin-1; SaveFile writes the same encoding back,
//   atomically. Opening then saving an unchanged file gives the same bytes.
//   In a Latin-1 document, text the user types, pastes, drops, replaces with
//   or plays from a macro that holds a character outside Latin-1 is refused
//   with a message naming the character, and the document stays as it was;
//   a find text with such a character finds nothing.
// - Failures are thrown as platform::Error (source ".CodeMax"): 5 for a line
//   outside the text or a range the control refuses, 53 for a missing file,
//   75 for a file that cannot be read or written or is not a regular file,
//   7 for a file too large for the memory available (refused before it is
//   read, so that running out of memory cannot end the program).
//   A failed find or macro play raises CommandFailure instead.
// - Events are Qt signals, raised synchronously (before the call that caused
//   them returns); the first argument is the control. A bool& argument is the
//   answer, false unless a handler sets it.
// - The hot-key table, the macro slots and the languages are shared by every
//   control of the process (CodeMaxGlobals.h). Byte layouts of "Hotkeys.bin"
//   and the macro files: CodeMaxHotKeyTable.h and CodeMaxMacro.h.
//
// Colour items of SetColor (Windows colour values 0x00BBGGRR, red in the low
// byte): 0 window, 1 left (bookmark) margin, 2/3 bookmark fore/back, 4/5 text,
// 6/7 numbers, 8/9 keywords, 10/11 operators, 14/15 comments, 26/27 line
// numbers, 30 highlighted line; other items are accepted and ignored. A back
// colour of -1 (0xFFFFFFFF) follows the window colour; operators follow the
// text colours (4/5) until items 10/11 are set. Font-style items of
// SetFontStyle: 0 text, 1 numbers, 2 keywords, 3 operators, 5 comments,
// 11 line numbers; styles 0 normal, 1 bold, 2 italic, 3 bold italic,
// 4 underline.

#include "platform/codemax/CodeMaxCommands.h"
#include "platform/codemax/CodeMaxGlobals.h"
#include "platform/codemax/CodeMaxHotKey.h"
#include "platform/codemax/CodeMaxLanguage.h"
#include "platform/codemax/CodeMaxPosition.h"
#include "platform/codemax/CodeMaxRange.h"
#include "platform/files/FileStamp.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QPrinter;
class QSplitter;
class QsciScintilla;

namespace platform {

class CodeMaxMacro;
class CodeMaxPane;

class CodeMax : public QWidget {
    Q_OBJECT
public:
    // Flags of PrintContents.
    static constexpr int PrintSelection = 1;  // only the selected text
    static constexpr int PrintColours = 4;    // in the control's colours (else black on white)

    explicit CodeMax(QWidget* parent = nullptr);
    ~CodeMax() override;

    // ---- Text
    QString Text() const;
    void SetText(const QString& text);  // one undo step; caret to the start
    QString SelText() const;            // "" when nothing is selected
    void SetSelText(const QString& text);  // replaces the selection or inserts at the caret
    int LineCount() const;              // at least 1
    QString GetLine(int line) const;    // without its line break
    int GetLineLength(int line) const;
    // Removes the line with its line break; the last line takes the break
    // before it ("A\r\nB\r\n" less line 2 is "A\r\nB").
    void DeleteLine(int line);
    void AddText(const QString& text);  // at the caret, caret after it
    // Replaces exactly the range (columns past a line's end mean its end) by
    // the text: one undo step however much it replaces; afterwards the caret
    // is at the end of the new text with nothing selected.
    void ReplaceText(const QString& text, const CodeMaxRange& range);
    void InsertFile(const QString& path, const CodeMaxPosition& position);
    // The document's own bytes, for commands that rewrite a whole text or a
    // run of lines: no line-break or encoding conversion either way, so each
    // line keeps its own break (CR LF, LF or CR) and a Latin-1 document gives
    // and takes one byte per character. DocumentBytes() is the whole document,
    // DocumentBytes(range) the range's bytes (columns as for ReplaceText).
    std::string DocumentBytes() const;
    std::string DocumentBytes(const CodeMaxRange& range) const;
    // Replaces the whole document, or the range, by bytes in the document's
    // encoding (IsUtf8) written exactly as given: as ReplaceText, one undo
    // step, the same change events, applied in a read-only document too, and
    // the caret at the end of the new bytes.
    void ReplaceDocumentBytes(std::string_view bytes);
    void ReplaceDocumentBytes(std::string_view bytes, const CodeMaxRange& range);
    // normalise: start before end; otherwise start is the anchor, end the caret.
    CodeMaxRange GetSel(bool normalise) const;
    // Anchor at the start, caret at the end; throws for a line outside the text.
    void SetSel(const CodeMaxRange& range, bool makeVisible);
    bool SelBounds() const { return selBounds_; }
    void SetSelBounds(bool on) { selBounds_ = on; }  // kept; selections never pass a line's end

    // ---- Files and printing
    // Loads the file: no ContentChange, not modified, no undo. Refuses what is
    // not a regular file, and a file whose text would not fit in the memory
    // available (about 2.5 bytes for each byte of the file).
    void OpenFile(const QString& path);
    // Writes the document atomically; clearModified marks it unmodified.
    void SaveFile(const QString& path, bool clearModified);
    // Whether another program changed the file since this control read or
    // wrote it last (its size or modification time differs): only for that
    // file, and only while it exists.
    bool FileChangedOnDisk(const QString& path) const;
    // Read-only stops the user (typing, keys, commands, Cut, Paste, Undo);
    // the program's own edits (SetText, SetSelText, AddText, ReplaceText,
    // DeleteLine, InsertFile) still apply.
    bool ReadOnly() const;
    void SetReadOnly(bool on);
    bool Modified() const;
    void SetModified(bool modified);  // false marks it saved; true waits for the next edit
    bool IsUtf8() const;                // how the document is read and saved
    // Files of at least this many bytes open in a document made for texts
    // that may pass 2 GiB (64-bit positions, four more bytes per line);
    // smaller ones in a plain one. 512 MiB unless set (tests, benchmarks).
    static qint64 LargeDocumentBytes();
    static void SetLargeDocumentBytes(qint64 bytes);
    bool IsLargeDocument() const { return largeDocument_; }
    QByteArray LineBreak() const;       // the document's own line break
    // Prints the whole text (or the selection) on the printer; with no
    // printer the user chooses one (print dialog). False when cancelled.
    bool PrintContents(QPrinter* printer, int flags);

    // ---- View
    QString Language() const { return language_; }
    void SetLanguage(const QString& name);  // an unknown name gives plain text
    bool LineNumbering() const { return lineNumbering_; }
    void SetLineNumbering(bool on);
    bool DisplayWhitespace() const { return displayWhitespace_; }
    void SetDisplayWhitespace(bool on);
    bool DisplayLeftMargin() const { return displayLeftMargin_; }
    void SetDisplayLeftMargin(bool on);  // the bookmark margin
    bool ColorSyntax() const { return colorSyntax_; }
    void SetColorSyntax(bool on);
    int HighlightedLine() const;        // -1 when none
    void SetHighlightedLine(int line);  // -1 removes it; a line outside the text is ignored
    // A bookmark set or removed on a line, without moving the caret; a line
    // outside the text is ignored.
    void SetBookmark(int line, bool on);
    bool HasBookmark(int line) const;
    // Splitters: HSplitter gives left and right panes divided at x = HSplitterPos
    // pixels, VSplitter upper and lower panes divided at y = VSplitterPos. A
    // position above 0 splits while the splitter is enabled; disabling removes
    // the split. Both are enabled, unsplit, at first. All panes show one document.
    bool EnableHSplitter() const { return hEnabled_; }
    void SetEnableHSplitter(bool on);
    double HSplitterPos() const;
    void SetHSplitterPos(double x);
    bool EnableVSplitter() const { return vEnabled_; }
    void SetEnableVSplitter(bool on);
    double VSplitterPos() const;
    void SetVSplitterPos(double y);
    void SetColor(int item, qint64 colorRef);
    qint64 GetColor(int item) const;    // -1 when unset
    void SetFontStyle(int item, int style);
    int GetFontStyle(int item) const;
    QFont Font() const { return font_; }
    void SetFont(const QFont& font);
    QWidget* hWnd() { return this; }
    // Colours the whole text now (colouring otherwise runs in idle time).
    void Colourise();

    // ---- Editing
    void SetFocus();
    bool CanUndo() const;
    bool CanRedo() const;
    bool CanCut() const;
    bool CanCopy() const;
    bool CanPaste() const;
    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    bool OverwriteMode() const;
    QString FindText() const { return findText_; }
    void SetFindText(const QString& text) { findText_ = text; }
    QString ReplText() const { return replText_; }
    void SetReplText(const QString& text) { replText_ = text; }
    // Search options used by the find commands and dialogs. Defaults: match
    // case, not whole words, no regular expression.
    bool FindMatchCase() const { return matchCase_; }
    void SetFindMatchCase(bool on) { matchCase_ = on; }
    bool FindWholeWord() const { return wholeWord_; }
    void SetFindWholeWord(bool on) { wholeWord_ = on; }
    bool FindRegExp() const { return regExp_; }
    void SetFindRegExp(bool on) { regExp_ = on; }

    // ---- Commands and macros
    // Runs a command (CodeMaxCommands.h); an unknown number does nothing.
    // While this control records a macro, the command is recorded.
    void ExecuteCmd(int command, std::optional<long long> data = std::nullopt);
    bool IsRecordingMacro() const { return recording_ != nullptr; }
    // The slot (0..9) that command 213 records into; -1 (the default): 213
    // with no data records nothing. ExecuteCmd(213, k) records into slot k.
    int MacroRecordSlot() const { return recordSlot_; }
    void SetMacroRecordSlot(int slot) { recordSlot_ = slot; }

    // ---- Panes (for the programs' layout and for tests)
    int PaneCount() const;
    QsciScintilla* Pane(int index) const;  // 0 upper left, then row by row
    QsciScintilla* ActivePane() const;

signals:
    // A caret move raises SelectionChange, then CaretNotify.
    void CaretNotify(platform::CodeMax* control);
    void ContentChange(platform::CodeMax* control);
    void SelectionChange(platform::CodeMax* control);
    void SettingsRequest(platform::CodeMax* control, bool& cancel);
    // code 1: no macro in the slot; 4: text not found.
    void CommandFailure(platform::CodeMax* control, int command, int code);
    // Before the control handles a key; cancel = true stops it.
    void KeyDown(platform::CodeMax* control, int keyCode, int shift, bool& cancel);
    // button 1 left, 2 right, 4 middle; x, y in pixels of the control.
    void MouseDown(platform::CodeMax* control, int button, int shift, int x, int y);
    void MouseUp(platform::CodeMax* control, int button, int shift, int x, int y);
    void GotFocus(platform::CodeMax* control);
    void ModifiedChange(platform::CodeMax* control);
    void RecordingChange(platform::CodeMax* control);

private:
    friend class CodeMaxPane;
    friend class CodeMaxGlobals;
    friend class CodeMaxFindDialog;
    // Holds back the change events of an edit until its end, then raises them once.
    class EditScope {
    public:
        explicit EditScope(CodeMax& control) : c_(control) { ++c_.editDepth_; }
        ~EditScope()
        {
            if (--c_.editDepth_ == 0) {
                c_.flushChange();
                c_.checkSelection();
            }
        }
        EditScope(const EditScope&) = delete;
        EditScope& operator=(const EditScope&) = delete;

    private:
        CodeMax& c_;
    };
    // A program's own edit: an EditScope that also lets it through a
    // read-only document (read-only holds only the user back).
    class ProgramEdit {
    public:
        explicit ProgramEdit(CodeMax& control);
        ~ProgramEdit();
        ProgramEdit(const ProgramEdit&) = delete;
        ProgramEdit& operator=(const ProgramEdit&) = delete;

    private:
        EditScope scope_;  // declared first: the events come after read-only is back
        CodeMax& c_;
        bool wasReadOnly_;
    };
    static constexpr int BookmarkMarker = 1;
    static constexpr int HighlightMarker = 2;

    // From the panes.
    bool wantsKey(const QKeyEvent& e) const;
    void handleKey(CodeMaxPane& pane, QKeyEvent& e);
    void dispatchKey(CodeMaxPane& pane, QKeyEvent& e);
    void handleTyping(CodeMaxPane& pane, const QString& text);
    void handleMouse(CodeMaxPane& pane, QMouseEvent& e, bool press);
    void handleFocus(CodeMaxPane& pane);
    void afterUserAction();
    static void languageRegistered(const QString& name);

    // Document helpers (positions are byte offsets of the document).
    CodeMaxPane& active() const;
    intptr_t sci(unsigned int message, uintptr_t wParam = 0, intptr_t lParam = 0) const;
    void checkLine(int line) const;
    intptr_t lineStart(int line) const;
    intptr_t lineEnd(int line) const;
    intptr_t positionOf(int line, int col) const;
    CodeMaxPosition placeOf(intptr_t position) const;
    QByteArray docBytes(intptr_t start, intptr_t end) const;
    QByteArray toDoc(const QString& text) const;
    QString fromDoc(const QByteArray& bytes) const;
    // Replaces [start, end) by bytes as one undo step, touching only what
    // differs; returns the end of the new bytes.
    intptr_t replaceBytes(intptr_t start, intptr_t end, const QByteArray& bytes);
    void typeText(const QString& text);
    // Whether the document's encoding holds every character of the text.
    bool canStore(const QString& text) const;
    // Text the user puts in that the document cannot hold unchanged: says
    // so in a message box and returns true; the caller inserts nothing.
    bool refuseUnstorable(const QString& text);
    void pasteClipboard();
    void loadFile(const QString& path);
    // Shows a new empty document, made for large texts or not, in every
    // pane, unless the one shown is already of that kind.
    void useDocument(bool large);
    static QByteArray readWholeFile(const QString& path);

    // Commands.
    void runCommand(int command, std::optional<long long> data);
    void goToLine(std::optional<long long> data);
    bool findNext(bool forward, bool select);
    void replaceAll();
    void replaceSelection();  // when the selection is a match; then finds the next
    void markAll();
    void findWordAtCaret(bool forward);
    void jumpBookmark(bool forward);
    void smartEnd();
    void selectLines();
    void startOrEndRecording(std::optional<long long> data);
    void playMacro(int slot, int command);
    void showFindDialog(bool replace);
    int searchFlags() const;
    // Finds the find text in [from, to) (backward when to < from); returns
    // the match start and sets matchEnd, or -1.
    intptr_t search(const QByteArray& what, intptr_t from, intptr_t to, intptr_t& matchEnd) const;

    // View.
    void configurePane(CodeMaxPane& pane);
    void applyStyles(CodeMaxPane& pane);
    void applyMargins(CodeMaxPane& pane);
    void applyAllStyles();
    void applyAllMargins();
    void updateLineNumberWidth();
    void applyLanguage();
    void layoutPanes();
    CodeMaxPane* makePane();
    // Gives the pane the other's selection, scroll position and typing mode.
    static void showSamePlace(const CodeMaxPane& from, CodeMaxPane& to);
    void dropPane(CodeMaxPane* pane);
    QColor colour(int item) const;
    QFont styleFont(int fontItem) const;

    // Events.
    void noteChange();
    void flushChange();
    void checkSelection();
    void forgetSelection();
    void flushEvents();  // raises the pending events even inside a command (dialogs)

    void* document_ = nullptr;
    bool largeDocument_ = false;
    QString filePath_;     // the file last read or written, and how it was then
    FileStamp fileStamp_;
    std::array<std::array<CodeMaxPane*, 2>, 2> panes_{};  // [row][column]
    QPointer<CodeMaxPane> active_;
    QSplitter* rows_ = nullptr;
    std::array<QSplitter*, 2> rowSplitters_{};
    bool hEnabled_ = true, vEnabled_ = true;
    double hPos_ = 0, vPos_ = 0;

    QString language_;
    bool lineNumbering_ = false, displayWhitespace_ = false, displayLeftMargin_ = false;
    bool colorSyntax_ = true, selBounds_ = true;
    int highlightHandle_ = -1;
    mutable int highlightLine_ = -1;
    std::array<qint64, 32> colours_{};
    std::array<int, 16> fontStyles_{};
    QFont font_;
    int lineNumberDigits_ = 0;

    QString findText_, replText_;
    bool matchCase_ = true, wholeWord_ = false, regExp_ = false;

    std::unique_ptr<CodeMaxMacro> recording_;
    int recordSlot_ = -1, recordingInto_ = -1;
    int playDepth_ = 0;
    int pendingChordMods_ = -1, pendingChordKey_ = 0;

    int editDepth_ = 0;
    bool changed_ = false, changeQueued_ = false, loading_ = false;
    intptr_t lastAnchor_ = -1, lastCaret_ = -1;
    const CodeMaxPane* lastPane_ = nullptr;
};

}  // namespace platform
