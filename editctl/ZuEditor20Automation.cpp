// The control's members: splitter, window, files, text, lines and caret, and
// the per-pane settings. Each write runs as one operation (ZuEditor20State.cpp).
#include "editctl/ZuEditor20.h"

#include "editctl/ZuEditor20Boundary.h"
#include "editctl/ZuTextFile.h"
#include "editctl/engine/ZuGlobalOutStream.h"
#include "editctl/engine/ZuMemoryInStream.h"

#include <QFileInfo>

#include <cerrno>

using namespace zuboundary;

namespace {

// A Text write may add at most this many lines past the end.
constexpr std::int64_t MaxLinesAppended = 1000000;

// The height of a line, which the view measures for itself.
struct LineHeightReader : ZuPaneView {
    static std::int32_t Of(const ZuPaneView& view, std::uint32_t line)
    {
        return (view.*(&LineHeightReader::LineHeightOf))(line);
    }
};

// A file that cannot be used raises a file exception with its cause; a
// failure of the engine its code.
void CheckFile(const ZuFileResult& result, const QString& path)
{
    if (result.fileError != 0)
        throw ZuFileExceptionOf(result.fileError, path);
    Check(result.engineError);
}

}  // namespace

// ---- Splitter

int ZuEditor20::GetSplitterPosition() const { return SplitterPosition; }
void ZuEditor20::LetSplitterPosition(int value)
{
    Operate(1, [&] { SetSplitterPosition(Short(value)); });
}
int ZuEditor20::GetSplitterWidth() const { return SplitterWidth; }
void ZuEditor20::LetSplitterWidth(int value)
{
    Operate(2, [&] { SetSplitterWidth(Short(value)); });
}
bool ZuEditor20::GetSplitterEnabled() const { return SplitterEnabled; }
void ZuEditor20::LetSplitterEnabled(bool value)
{
    Operate(3, [&] { SplitterEnabled = value; });
}
int ZuEditor20::GetSplitterType() const { return SplitterType; }
void ZuEditor20::LetSplitterType(int value)
{
    Operate(4, [&] {
        SetSplitterType(Short(value));
        update();
    });
}
uint ZuEditor20::GetSplitterForeColor() const { return splitterFore_; }
void ZuEditor20::LetSplitterForeColor(uint value)
{
    Operate(5, [&] {
        splitterFore_ = value;
        SplitterForeColor = TranslateColor(value);
        update();
    });
}
uint ZuEditor20::GetSplitterBackColor() const { return splitterBack_; }
void ZuEditor20::LetSplitterBackColor(uint value)
{
    Operate(6, [&] {
        splitterBack_ = value;
        SplitterBackColor = TranslateColor(value);
        update();
    });
}

// ---- Files

QString ZuEditor20::GetFileOpen() const { return fileOpenPath_; }
void ZuEditor20::LetFileOpen(QString value)
{
    Operate(7, [&] { OpenFile(value); });
}

void ZuEditor20::OpenFile(const QString& path)
{
    if (path.isEmpty()) {
        auto document = std::make_unique<ZuTextDocument>(&Metrics());
        AdoptDocument(std::move(document));
        ApplyAllSettings();
        fileOpenPath_.clear();
        return;
    }
    const QFileInfo info(path);
    if (!info.exists())
        throw ZuErrnoException{ENOENT};
    if (info.isDir())
        throw ZuErrnoException{EACCES};
    // The new document is built first; the one shown stays when loading fails.
    auto document = std::make_unique<ZuTextDocument>(&Metrics());
    int type = textType_;
    CheckFile(ZuLoadFile(info.absoluteFilePath(), *document, type, convertOem_), info.absoluteFilePath());
    detectedType_ = type;
    AdoptDocument(std::move(document));
    ApplyAllSettings();
    fileOpenPath_ = info.absoluteFilePath();
}

QString ZuEditor20::GetFileInsert() const { return fileInsertPath_; }
void ZuEditor20::LetFileInsert(QString value)
{
    Operate(8, [&] {
        fileInsertPath_ = value;
        const QString path = QFileInfo(value).absoluteFilePath();
        QByteArray bytes;
        CheckFile(ZuReadFile(path, bytes), path);
        auto fragment = std::make_unique<ZuTextDocument>(&Metrics());
        ZuMemoryInStream stream(bytes.constData(), std::size_t(bytes.size()));
        int type = textType_;
        Check(fragment->Load(stream, type, convertOem_));
        const int pane = PanesInScope().front();
        InsertParsed(pane, *fragment);
    });
}

QString ZuEditor20::GetFileSaveSelected() const { return fileSaveSelectedPath_; }
void ZuEditor20::LetFileSaveSelected(QString value)
{
    Operate(65, [&] {
        fileSaveSelectedPath_ = value;
        SaveToFile(value, true);
    });
}
bool ZuEditor20::GetFileSaveAppend() const { return saveAppend_; }
void ZuEditor20::LetFileSaveAppend(bool value)
{
    Operate(84, [&] { saveAppend_ = value; });
}
QString ZuEditor20::GetFileSave() const { return fileSavePath_; }
void ZuEditor20::LetFileSave(QString value)
{
    Operate(85, [&] {
        fileSavePath_ = value;
        // Loading a saved form only restores the path: it never writes the file.
        if (!loading_)
            SaveToFile(value, false);
    });
}

void ZuEditor20::SaveToFile(const QString& path, bool selectionOnly)
{
    if (path.isEmpty())
        return;
    const int type = textType_ == 0 ? detectedType_ : textType_;
    ZuTextRange range;
    int pane = 0;
    if (selectionOnly) {
        pane = !View(0).SelectionEmpty() ? 0 : !View(1).SelectionEmpty() ? 1 : -1;
        if (pane < 0)
            return;
        range = ToDocument(View(pane).ClampedSelection());
    } else {
        range.type = ZuRangeWhole;
    }
    CheckFile(ZuSaveFile(path, Document(), pane, range, type, convertOem_, saveAppend_),
              QFileInfo(path).absoluteFilePath());
    if (!selectionOnly)
        SetModified(false);
}

bool ZuEditor20::GetFileConvertOemAnsi() const { return convertOem_; }
void ZuEditor20::LetFileConvertOemAnsi(bool value)
{
    Operate(63, [&] { convertOem_ = value; });
}
int ZuEditor20::GetTextType() const { return textType_; }
void ZuEditor20::LetTextType(int value)
{
    Operate(80, [&] { textType_ = Clamp(Short(value), 0, 3); });
}

// ---- Window

int ZuEditor20::GetScrollBars() const { return settings_[std::size_t(PaneToRead())].scrollBars; }
void ZuEditor20::LetScrollBars(int value)
{
    Operate(9, [&] {
        const int v = Clamp(Short(value), 0, 4);
        for (int pane : PanesInScope()) {
            settings_[std::size_t(pane)].scrollBars = v;
            View(pane).SetScrollBars(v);
        }
    });
}
int ZuEditor20::GetMousePointer() const { return MousePointer; }
void ZuEditor20::LetMousePointer(int value)
{
    Operate(89, [&] {
        MousePointer = Clamp(Short(value), 0, 15);
        ApplyMousePointer();
    });
}
bool ZuEditor20::GetReadOnly() const { return ReadOnly; }
void ZuEditor20::LetReadOnly(bool value)
{
    Operate(30, [&] {
        ReadOnly = value;
        View(0).SetReadOnly(value);
        View(1).SetReadOnly(value);
    });
}
qulonglong ZuEditor20::GetPaintDC() const
{
    GetNotSupported();
}
void ZuEditor20::LetPaintDC(qulonglong value)
{
    // The value is a QPainter* of the caller, as the other handles are.
    Operate(83, [&] {
        auto* painter = reinterpret_cast<QPainter*>(quintptr(value));
        if (!painter)
            throw ZuErrnoException{ZuErrNoMemory};
        PaintFirstPane(*painter);
    });
}
qulonglong ZuEditor20::GethFont() const { return 0; }
void ZuEditor20::LethFont(qulonglong) { SetNotSupported(); }
qulonglong ZuEditor20::GethWnd() const { return qulonglong(const_cast<ZuEditor20*>(this)->winId()); }
void ZuEditor20::LethWnd(qulonglong) { SetNotSupported(); }

bool ZuEditor20::GetUndoCharFormattingEnabled() const
{
    return settings_[std::size_t(PaneToRead())].undoCharFormatting;
}
void ZuEditor20::LetUndoCharFormattingEnabled(bool value)
{
    Operate(113, [&] {
        for (int pane : PanesInScope()) {
            settings_[std::size_t(pane)].undoCharFormatting = value;
            View(pane).SetUndoCharFormattingEnabled(value);
        }
    });
}
bool ZuEditor20::GetUndoCaretEnabled() const { return settings_[std::size_t(PaneToRead())].undoCaret; }
void ZuEditor20::LetUndoCaretEnabled(bool value)
{
    Operate(114, [&] {
        for (int pane : PanesInScope()) {
            settings_[std::size_t(pane)].undoCaret = value;
            View(pane).SetUndoCaretEnabled(value);
        }
    });
}
int ZuEditor20::GetUndoLimit() const { return undoLimit_; }
void ZuEditor20::LetUndoLimit(int value)
{
    Operate(51, [&] {
        undoLimit_ = std::max(0, Short(value));
        UndoManager().SetLimit(undoLimit_);
    });
}
bool ZuEditor20::GetCanUndo() const { return const_cast<ZuEditor20*>(this)->UndoManager().CanUndo() != 0; }
void ZuEditor20::LetCanUndo(bool) { SetNotSupported(); }
bool ZuEditor20::GetCanRedo() const { return const_cast<ZuEditor20*>(this)->UndoManager().CanRedo() != 0; }
void ZuEditor20::LetCanRedo(bool) { SetNotSupported(); }

// ---- Text

ZuTextRange ZuEditor20::ToDocument(ZuTextRange range)
{
    ++range.start.y;
    ++range.end.y;
    return range;
}

QString ZuEditor20::SaveRange(int pane, const ZuTextRange& range) const
{
    if (range.type != ZuRangeWhole && range.IsEmpty())
        return QString();
    ZuGlobalOutStream out;
    // Type 0 saves as RTF, as a save of a document never loaded does. The OEM
    // conversion belongs to files: property text is the text as shown.
    CheckRead(Doc().Save(pane, ToDocument(range), out, textType_, false));
    return ZuToQString(out.Data());
}

std::unique_ptr<ZuTextDocument> ZuEditor20::ParseText(const QString& value) const
{
    const std::string bytes = ZuFromQString(value);
    auto fragment = std::make_unique<ZuTextDocument>(&const_cast<ZuEditor20*>(this)->Metrics());
    ZuMemoryInStream stream(bytes.data(), bytes.size());
    int type = textType_;
    Check(fragment->Load(stream, type, false));
    return fragment;
}

void ZuEditor20::InsertParsed(int pane, ZuTextDocument& fragment)
{
    ZuPaneView& view = View(pane);
    view.LockUpdate(true);
    UndoManager().Nest(true);
    ZuErr result = ZuOk;
    if (!view.SelectionEmpty())
        result = view.DeleteSelection();
    if (result == ZuOk) {
        ZuTextRange at;
        at.Init(view.Caret(), view.Caret(), ZuRangeStream);
        result = view.InsertFragment(at, fragment);
    }
    UndoManager().Nest(false);
    view.LockUpdate(false);
    Check(result);
}

QString ZuEditor20::GetTextAll() const
{
    ZuTextRange range;
    range.type = ZuRangeWhole;
    return Doc().ByteCount() == 0 ? QString() : SaveRange(PaneToRead(), range);
}
void ZuEditor20::LetTextAll(QString value)
{
    Operate(0, [&] {
        std::unique_ptr<ZuTextDocument> fragment = ParseText(value);
        const int pane = PanesInScope().front();
        ZuPaneView& view = View(pane);
        view.LockPaint(true);
        UndoManager().Nest(true);
        ZuTextRange all;
        const std::uint32_t last = view.LineCount() - 1;
        all.Init(ZuTextPosition{0, 0}, ZuTextPosition{view.LineLength(last), last}, ZuRangeStream);
        ZuErr result = all.IsEmpty() ? ZuOk : view.DeleteRange(all);
        if (result == ZuOk) {
            ZuTextRange at;
            at.Init(ZuTextPosition{0, 0}, ZuTextPosition{0, 0}, ZuRangeStream);
            result = view.InsertFragment(at, *fragment);
        }
        UndoManager().Nest(false);
        view.LockPaint(false);
        Check(result);
    });
}

int ZuEditor20::ReadIndex() const
{
    const int count = GetCount();
    return std::clamp(textIndex_, 1, std::max(1, count));
}

QString ZuEditor20::GetText() const
{
    if (Doc().ByteCount() == 0)
        return QString();
    const int pane = PaneToRead();
    const std::uint32_t line = std::uint32_t(ReadIndex() - 1);
    ZuTextRange range;
    range.Init(ZuTextPosition{0, line}, ZuTextPosition{ViewAt(pane).LineLength(line), line}, ZuRangeStream);
    return SaveRange(pane, range);
}
void ZuEditor20::LetText(QString value)
{
    Operate(0, [&] {
        const int pane = PanesInScope().front();
        ZuPaneView& view = View(pane);
        const std::int64_t index = std::max(1, textIndex_);
        const std::int64_t count = view.LineCount();
        // Refused before anything changes: a huge index would append lines without end.
        if (index > count + MaxLinesAppended)
            throw ZuErrnoException{ZuErrLineCount};
        std::unique_ptr<ZuTextDocument> fragment = ParseText(value);
        view.LockUpdate(true);
        UndoManager().Nest(true);
        ZuErr result = ZuOk;
        if (index > count) {
            const std::uint32_t last = std::uint32_t(count - 1);
            std::string breaks;
            for (std::int64_t i = count; i < index; ++i)
                breaks += "\r\n";
            result = view.InsertText(ZuTextPosition{view.LineLength(last), last}, breaks);
        }
        const std::uint32_t line = std::uint32_t(index - 1);
        ZuTextRange whole;
        whole.Init(ZuTextPosition{0, line}, ZuTextPosition{view.LineLength(line), line}, ZuRangeStream);
        if (result == ZuOk && !whole.IsEmpty())
            result = view.DeleteRange(whole);
        if (result == ZuOk) {
            ZuTextRange at;
            at.Init(ZuTextPosition{0, line}, ZuTextPosition{0, line}, ZuRangeStream);
            result = view.InsertFragment(at, *fragment);
        }
        UndoManager().Nest(false);
        view.LockUpdate(false);
        Check(result);
    });
}

int ZuEditor20::GetTextIndex() const { return textIndex_; }
void ZuEditor20::LetTextIndex(int value)
{
    Operate(0, [&] { textIndex_ = value <= 0 && Doc().ByteCount() > 0 ? 1 : std::max(0, value); });
}
int ZuEditor20::GetCount() const { return int(ViewAt(PaneToRead()).LineCount()); }
void ZuEditor20::LetCount(int) { SetNotSupported(); }
int ZuEditor20::GetCountBytes() const { return int(Doc().ByteCount()); }
void ZuEditor20::LetCountBytes(int) { SetNotSupported(); }

bool ZuEditor20::GetIsEndOfParagraph() const
{
    return Doc().EndsParagraph(PaneToRead(), std::uint32_t(ReadIndex()));
}
void ZuEditor20::LetIsEndOfParagraph(bool value)
{
    Operate(59, [&] {
        // Through the pane's own text commands, so that both views follow and the change undoes.
        const int pane = PaneToRead();
        ZuPaneView& view = View(pane);
        const std::uint32_t line = std::uint32_t(ReadIndex() - 1);
        if (GetIsEndOfParagraph() == value)
            return;
        const std::uint32_t length = view.LineLength(line);
        ZuErr result = ZuOk;
        UndoManager().Nest(true);
        if (value) {
            result = view.InsertText(ZuTextPosition{length, line}, "\r\n");
        } else if (line + 1 < view.LineCount()) {
            ZuTextRange lineEnd;
            lineEnd.Init(ZuTextPosition{length, line}, ZuTextPosition{0, line + 1}, ZuRangeStream);
            result = view.DeleteRange(lineEnd);
        }
        UndoManager().Nest(false);
        Check(result);
    });
}

int ZuEditor20::GetHeightLine() const
{
    if (textIndex_ <= 0)
        return 0;
    return LineHeightReader::Of(ViewAt(PaneToRead()), std::uint32_t(ReadIndex() - 1));
}
void ZuEditor20::LetHeightLine(int) { SetNotSupported(); }

int ZuEditor20::GetLeftHi() const
{
    const ZuPaneView& view = ViewAt(PaneToRead());
    const std::uint32_t line = std::uint32_t(ReadIndex() - 1);
    if (!view.HasSelection() || !view.Selection().CoversLine(line))
        return 0;
    return int(view.Selection().StartColumnOnLine(line)) + 1;
}
void ZuEditor20::LetLeftHi(int) { SetNotSupported(); }
int ZuEditor20::GetRightHi() const
{
    const ZuPaneView& view = ViewAt(PaneToRead());
    const std::uint32_t line = std::uint32_t(ReadIndex() - 1);
    if (!view.HasSelection() || !view.Selection().CoversLine(line))
        return 0;
    return int(view.Selection().EndColumnOnLine(line)) + 1;
}
void ZuEditor20::LetRightHi(int) { SetNotSupported(); }

bool ZuEditor20::GetIsDirty() const { return IsModified(); }
void ZuEditor20::LetIsDirty(bool value)
{
    Operate(0, [&] { SetModified(value); });
}
bool ZuEditor20::GetInsertMode() const { return InsertMode; }
void ZuEditor20::LetInsertMode(bool value)
{
    Operate(17, [&] { InsertMode = value; });
}
bool ZuEditor20::GetRedraw() const { return !redrawOff_[std::size_t(PaneToRead())]; }
void ZuEditor20::LetRedraw(bool value)
{
    Operate(0, [&] {
        for (int pane : PanesInScope()) {
            bool& off = redrawOff_[std::size_t(pane)];
            if (!value && !off) {
                // Everything done while painting is off undoes as one step.
                UndoManager().Nest(true);
                View(pane).LockPaint(true);
                off = true;
            } else if (value && off) {
                View(pane).LockPaint(false);
                UndoManager().Nest(false);
                off = false;
            }
        }
        Redraw = !redrawOff_[std::size_t(FocusPane())];
    });
}

// ---- Caret and scrolling

int ZuEditor20::GetCaretX() const { return int(ViewAt(PaneToRead()).Caret().x) + 1; }
void ZuEditor20::LetCaretX(int value)
{
    Operate(0, [&] {
        for (int pane : PanesInScope())
            View(pane).CaretToColumn(std::uint32_t(std::max(1, value) - 1));
    });
}
int ZuEditor20::GetCaretY() const { return int(ViewAt(PaneToRead()).Caret().y) + 1; }
void ZuEditor20::LetCaretY(int value)
{
    Operate(0, [&] {
        if (value <= 0)
            return;
        for (int pane : PanesInScope()) {
            UndoManager().Nest(true);
            View(pane).CaretToLine(std::uint32_t(value - 1));
            UndoManager().Nest(false);
        }
    });
}
int ZuEditor20::GetCaretOffset() const { return int(ViewAt(PaneToRead()).CaretOffset()); }
void ZuEditor20::LetCaretOffset(int value)
{
    Operate(0, [&] {
        for (int pane : PanesInScope()) {
            UndoManager().Nest(true);
            View(pane).CaretToOffset(std::uint64_t(std::max(0, value)));
            UndoManager().Nest(false);
        }
    });
}
int ZuEditor20::GetTopY() const
{
    return Doc().ByteCount() == 0 ? 0 : int(ViewAt(PaneToRead()).TopLine()) + 1;
}
void ZuEditor20::LetTopY(int value)
{
    Operate(0, [&] {
        for (int pane : PanesInScope()) {
            UndoManager().Nest(true);
            ZuPaneView& view = View(pane);
            view.ScrollLines(std::int64_t(value) - 1 - std::int64_t(view.TopLine()));
            UndoManager().Nest(false);
        }
    });
}
int ZuEditor20::GetLeftX() const { return ViewAt(PaneToRead()).LeftX(); }
void ZuEditor20::LetLeftX(int value)
{
    Operate(112, [&] {
        for (int pane : PanesInScope())
            View(pane).SetLeftX(value);
    });
}
int ZuEditor20::GetExtentX() const { return ViewAt(PaneToRead()).ExtentX(); }
void ZuEditor20::LetExtentX(int) { SetNotSupported(); }
int ZuEditor20::GetLinesPerWindow() const { return ViewAt(PaneToRead()).LinesPerWindow(); }
void ZuEditor20::LetLinesPerWindow(int) { SetNotSupported(); }
int ZuEditor20::GetFullLinesPerWindow() const { return ViewAt(PaneToRead()).FullLinesPerWindow(); }
void ZuEditor20::LetFullLinesPerWindow(int) { SetNotSupported(); }

// ---- Per-pane settings

#define ZU_PANE_SETTING(name, field, dispid, rule, apply)                                       \
    int ZuEditor20::Get##name() const { return settings_[std::size_t(PaneToRead())].field; }    \
    void ZuEditor20::Let##name(int value)                                                       \
    {                                                                                           \
        Operate(dispid, [&] {                                                                   \
            const int v = rule;                                                                 \
            for (int pane : PanesInScope()) {                                                   \
                settings_[std::size_t(pane)].field = v;                                         \
                apply;                                                                          \
            }                                                                                   \
        });                                                                                     \
    }

ZU_PANE_SETTING(CaretWidth, caretWidth, 45, Short(value), View(pane).SetCaretWidth(v))
ZU_PANE_SETTING(CaretHeight, caretHeight, 46, Short(value), View(pane).SetCaretHeight(v))
ZU_PANE_SETTING(TopMargin, topMargin, 31, std::max(0, Short(value)), ApplyMargins(pane))
ZU_PANE_SETTING(BottomMargin, bottomMargin, 32, std::max(0, Short(value)), ApplyMargins(pane))
ZU_PANE_SETTING(LeftMargin, leftMargin, 33, std::max(0, Short(value)), ApplyMargins(pane))
ZU_PANE_SETTING(RightMargin, rightMargin, 34, std::max(0, Short(value)), ApplyMargins(pane))
ZU_PANE_SETTING(WrapX, wrapX, 41, std::max(-1, Short(value)), View(pane).SetWrapX(v))
#undef ZU_PANE_SETTING

void ZuEditor20::ApplyMargins(int pane)
{
    const PaneSettings& s = settings_[std::size_t(pane)];
    View(pane).SetMargins(s.leftMargin, s.topMargin, s.rightMargin, s.bottomMargin);
}

bool ZuEditor20::GetWrapWholeWords() const { return settings_[std::size_t(PaneToRead())].wrapWholeWords; }
void ZuEditor20::LetWrapWholeWords(bool value)
{
    Operate(42, [&] {
        for (int pane : PanesInScope()) {
            PaneSettings& s = settings_[std::size_t(pane)];
            if (s.wrapWholeWords == value)
                continue;
            s.wrapWholeWords = value;
            View(pane).SetWrapWholeWords(value);
            if (s.wrapAutomatically)
                Check(View(pane).WrapAll());
        }
    });
}
bool ZuEditor20::GetWrapAutomatically() const { return settings_[std::size_t(PaneToRead())].wrapAutomatically; }
void ZuEditor20::LetWrapAutomatically(bool value)
{
    Operate(43, [&] {
        for (int pane : PanesInScope()) {
            settings_[std::size_t(pane)].wrapAutomatically = value;
            Check(View(pane).SetWrapAutomatically(value));
        }
    });
}
int ZuEditor20::GetPaneIndex() const { return paneIndex_; }
void ZuEditor20::LetPaneIndex(int value)
{
    Operate(60, [&] { paneIndex_ = Clamp(Short(value), -2, 1); });
}
int ZuEditor20::GetPaneFocus() const { return FocusPane(); }
void ZuEditor20::LetPaneFocus(int value)
{
    Operate(0, [&] { SetFocusPane(SplitterType != 0 && value != 0 ? 1 : 0); });
}
