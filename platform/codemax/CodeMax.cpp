// CodeMax: construction, panes, text, files and events. Commands are in
// CodeMaxCommand.cpp, view settings and printing in CodeMaxView.cpp.

#include "platform/codemax/CodeMax.h"

#include "platform/codemax/CodeMaxHotKeyTable.h"
#include "platform/codemax/CodeMaxKeys.h"
#include "platform/codemax/CodeMaxMacro.h"
#include "platform/codemax/CodeMaxPane.h"
#include "platform/codemax/CodeMaxText.h"
#include "platform/codemax/CodeMaxTextScan.h"
#include "platform/files/AtomicWrite.h"
#include "platform/files/MemoryRoom.h"
#include "platform/files/SaveJournal.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"

#include <QGuiApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <sys/stat.h>

namespace platform {
namespace {

const QString source = QStringLiteral(".CodeMax");
constexpr qsizetype readChunk = 1 << 20;
// Memory a file takes in a document, per byte of it: the text, a style byte
// per byte and the line index (about 2.1 measured on NC programs).
constexpr double openMemoryPerByte = 2.5;
// An inserted file besides: its bytes as read, their converted copy and the
// undo record of the insertion.
constexpr double insertMemoryPerByte = 6;

std::vector<CodeMax*>& liveControls()
{
    static std::vector<CodeMax*> controls;
    return controls;
}

// Refuses, with a clear error, what is not a regular file; never opens it.
void checkRegularFile(const QString& path, bool mustExist)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (path.isEmpty() || ::stat(native.constData(), &st) != 0) {
        if (mustExist)
            throw Error(53, QStringLiteral("File not found: %1").arg(path), source);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        const QString what = S_ISDIR(st.st_mode) ? QStringLiteral("a folder")
                                                 : QStringLiteral("not a regular file");
        throw Error(75, QStringLiteral("%1 is %2.").arg(path, what), source);
    }
}

// Refuses, before a byte is read, a file the memory available cannot hold.
void checkRoom(const QString& path, double memoryPerByte)
{
    const ReadOutcome room = RoomToRead(path, memoryPerByte);
    if (!room)
        throw Error(7, room.error, source);
}

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

// ---------------------------------------------------------------- lifetime

CodeMax::CodeMax(QWidget* parent) : QWidget(parent)
{
    liveControls().push_back(this);
    colours_.fill(-1);
    const std::pair<int, qint64> defaults[] = {
        {0, 0xFFFFFF}, {1, 0xF0F0F0}, {2, 0x000000}, {3, 0xFFFF80}, {4, 0x000000},
        {6, 0x000080}, {8, 0xFF0000}, {14, 0x008000}, {26, 0x808080},
        {27, 0xF0F0F0}, {30, 0x80FFFF},
    };
    for (const auto& [item, value] : defaults)
        colours_[size_t(item)] = value;
    font_ = QFont(QStringLiteral("DejaVu Sans Mono"), 10);
    font_.setStyleHint(QFont::Monospace);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    rows_ = new QSplitter(Qt::Vertical, this);
    rows_->setChildrenCollapsible(false);
    layout->addWidget(rows_);
    for (auto& row : rowSplitters_) {
        row = new QSplitter(Qt::Horizontal);
        row->setChildrenCollapsible(false);
        // The two rows keep one divider position.
        connect(row, &QSplitter::splitterMoved, this, [this, row](int, int) {
            for (QSplitter* other : rowSplitters_)
                if (other != row && other->count() == row->count())
                    other->setSizes(row->sizes());
        });
    }
    rows_->addWidget(rowSplitters_[0]);
    rows_->addWidget(rowSplitters_[1]);
    rowSplitters_[1]->hide();  // the lower row shows only while split

    // The document, shown by every pane; a file above the large-document
    // size gets a document made for it (see useDocument).
    auto* first = new CodeMaxPane(*this, nullptr, nullptr, colorSyntax_);
    panes_[0][0] = first;
    useDocument(false);
    first->Sci(QsciScintillaBase::SCI_SETEOLMODE, QsciScintillaBase::SC_EOL_CRLF);
    first->Sci(QsciScintillaBase::SCI_SETCODEPAGE, QsciScintillaBase::SC_CP_UTF8);
    rowSplitters_[0]->addWidget(first);
    configurePane(*first);
    connect(first, &QsciScintilla::modificationChanged, this, [this](bool) {
        if (!loading_)
            emit ModifiedChange(this);
    });
    active_ = first;
    setFocusProxy(first);
    forgetSelection();
}

CodeMax::~CodeMax()
{
    auto& controls = liveControls();
    controls.erase(std::remove(controls.begin(), controls.end(), this), controls.end());
    if (recording_) {
        // A recording still running is kept, as if ended by its key.
        try {
            CodeMaxGlobals().SetMacro(recordingInto_, recording_->ToBytes());
        } catch (...) {
        }
        recording_.reset();
    }
    // Extra panes first: the first one holds the document last.
    for (int r = 1; r >= 0; --r)
        for (int c = 1; c >= 0; --c)
            if (panes_[size_t(r)][size_t(c)] && !(r == 0 && c == 0))
                dropPane(panes_[size_t(r)][size_t(c)]);
    QObject::disconnect(panes_[0][0], nullptr, this, nullptr);
    delete panes_[0][0];
    panes_[0][0] = nullptr;
}

namespace {
qint64 largeDocumentBytes = qint64(512) << 20;
}

qint64 CodeMax::LargeDocumentBytes() { return largeDocumentBytes; }

void CodeMax::SetLargeDocumentBytes(qint64 bytes) { largeDocumentBytes = bytes; }

void CodeMax::useDocument(bool large)
{
    if (document_ && large == largeDocument_)
        return;
    // Positions of 64 bits cost four more bytes per line: only a document
    // that may grow past 2 GiB needs them.
    CodeMaxPane& first = *panes_[0][0];
    void* document = reinterpret_cast<void*>(first.Sci(
        QsciScintillaBase::SCI_CREATEDOCUMENT, 0,
        large ? QsciScintillaBase::SC_DOCUMENTOPTION_TEXT_LARGE : QsciScintillaBase::SC_DOCUMENTOPTION_DEFAULT));
    for (const auto& row : panes_)
        for (CodeMaxPane* pane : row)
            if (pane)
                pane->SciPtr(QsciScintillaBase::SCI_SETDOCPOINTER, 0, document);
    first.SciPtr(QsciScintillaBase::SCI_RELEASEDOCUMENT, 0, document);  // the panes hold it
    document_ = document;
    largeDocument_ = large;
}

void CodeMax::languageRegistered(const QString& name)
{
    for (CodeMax* control : liveControls())
        if (control->language_.compare(name, Qt::CaseInsensitive) == 0)
            control->applyLanguage();
}

// ----------------------------------------------------------------- helpers

CodeMaxPane& CodeMax::active() const { return active_ ? *active_ : *panes_[0][0]; }

intptr_t CodeMax::sci(unsigned int message, uintptr_t wParam, intptr_t lParam) const
{
    return active().Sci(message, wParam, lParam);
}

void CodeMax::checkLine(int line) const
{
    const int count = LineCount();
    if (line < 0 || line >= count)
        throw Error(5, QStringLiteral("Line %1 is outside the text (lines 0 to %2).").arg(line).arg(count - 1),
                    source);
}

intptr_t CodeMax::lineStart(int line) const { return sci(QsciScintillaBase::SCI_POSITIONFROMLINE, uintptr_t(line)); }

intptr_t CodeMax::lineEnd(int line) const { return sci(QsciScintillaBase::SCI_GETLINEENDPOSITION, uintptr_t(line)); }

intptr_t CodeMax::positionOf(int line, int col) const
{
    checkLine(line);
    const intptr_t start = lineStart(line);
    const intptr_t end = lineEnd(line);
    if (col <= 0 || end <= start)
        return start;
    // Walked within the line: a column inside a character of two code units
    // snaps to that character's start, never to the line's end.
    const auto* bytes = reinterpret_cast<const char*>(
        sci(QsciScintillaBase::SCI_GETRANGEPOINTER, uintptr_t(start), end - start));
    return start + CodeMaxText::ColumnToByte(bytes, end - start, col, IsUtf8());
}

CodeMaxPosition CodeMax::placeOf(intptr_t position) const
{
    const int line = int(sci(QsciScintillaBase::SCI_LINEFROMPOSITION, uintptr_t(position)));
    const intptr_t start = lineStart(line);
    return {line, int(sci(QsciScintillaBase::SCI_COUNTCODEUNITS, uintptr_t(start), position))};
}

QByteArray CodeMax::docBytes(intptr_t start, intptr_t end) const
{
    if (end <= start)
        return {};
    const auto* p = reinterpret_cast<const char*>(
        sci(QsciScintillaBase::SCI_GETRANGEPOINTER, uintptr_t(start), end - start));
    return QByteArray(p, end - start);
}

QByteArray CodeMax::toDoc(const QString& text) const
{
    return CodeMaxText::ToDocumentBytes(text, IsUtf8(), LineBreak());
}

QString CodeMax::fromDoc(const QByteArray& bytes) const
{
    return CodeMaxText::ToProgramText(bytes.constData(), bytes.size(), IsUtf8());
}

intptr_t CodeMax::replaceBytes(intptr_t start, intptr_t end, const QByteArray& bytes)
{
    // Only the part that differs is replaced: a program rewritten whole by a
    // command keeps its bookmarks and costs little undo memory where lines
    // stayed the same.
    const qsizetype oldLen = qsizetype(end - start);
    const qsizetype newLen = bytes.size();
    const auto* old = oldLen > 0 ? reinterpret_cast<const char*>(
                          sci(QsciScintillaBase::SCI_GETRANGEPOINTER, uintptr_t(start), oldLen))
                                 : "";
    const char* now = bytes.constData();
    const qsizetype common = std::min(oldLen, newLen);
    qsizetype prefix = std::mismatch(old, old + common, now).first - old;
    qsizetype suffix = 0;
    while (suffix < common - prefix && old[oldLen - 1 - suffix] == now[newLen - 1 - suffix])
        ++suffix;
    if (prefix == oldLen && prefix == newLen)
        return start + newLen;
    // Never cut a character or a CR LF pair in two.
    const auto badCut = [](const char* s, qsizetype len, qsizetype at) {
        return at > 0 && at < len && (isContinuation(s[at]) || (s[at - 1] == '\r' && s[at] == '\n'));
    };
    while (prefix > 0 && (badCut(old, oldLen, prefix) || badCut(now, newLen, prefix)))
        --prefix;
    while (suffix > 0 && (badCut(old, oldLen, oldLen - suffix) || badCut(now, newLen, newLen - suffix)))
        --suffix;

    CodeMaxPane& pane = active();
    pane.Sci(QsciScintillaBase::SCI_BEGINUNDOACTION);
    pane.Sci(QsciScintillaBase::SCI_SETTARGETRANGE, uintptr_t(start + prefix), end - suffix);
    pane.SciPtr(QsciScintillaBase::SCI_REPLACETARGET, uintptr_t(newLen - prefix - suffix), now + prefix);
    pane.Sci(QsciScintillaBase::SCI_ENDUNDOACTION);
    return start + newLen;
}

CodeMax::ProgramEdit::ProgramEdit(CodeMax& control)
    : scope_(control), c_(control), wasReadOnly_(control.ReadOnly())
{
    if (wasReadOnly_)
        c_.sci(QsciScintillaBase::SCI_SETREADONLY, 0);
}

CodeMax::ProgramEdit::~ProgramEdit()
{
    if (wasReadOnly_)
        c_.sci(QsciScintillaBase::SCI_SETREADONLY, 1);
}

// -------------------------------------------------------------------- text

QString CodeMax::Text() const
{
    const intptr_t length = sci(QsciScintillaBase::SCI_GETLENGTH);
    const auto* p = reinterpret_cast<const char*>(sci(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return CodeMaxText::ToProgramText(p, length, IsUtf8());
}

void CodeMax::SetText(const QString& text)
{
    ProgramEdit edit(*this);
    replaceBytes(0, sci(QsciScintillaBase::SCI_GETLENGTH), toDoc(text));
    sci(QsciScintillaBase::SCI_GOTOPOS, 0);
}

QString CodeMax::SelText() const
{
    const intptr_t start = sci(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const intptr_t end = sci(QsciScintillaBase::SCI_GETSELECTIONEND);
    return fromDoc(docBytes(start, end));
}

void CodeMax::SetSelText(const QString& text)
{
    ProgramEdit edit(*this);
    const intptr_t start = sci(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const intptr_t end = sci(QsciScintillaBase::SCI_GETSELECTIONEND);
    const intptr_t caret = replaceBytes(start, end, toDoc(text));
    sci(QsciScintillaBase::SCI_GOTOPOS, uintptr_t(caret));
}

int CodeMax::LineCount() const { return int(sci(QsciScintillaBase::SCI_GETLINECOUNT)); }

QString CodeMax::GetLine(int line) const
{
    checkLine(line);
    return fromDoc(docBytes(lineStart(line), lineEnd(line)));
}

int CodeMax::GetLineLength(int line) const
{
    checkLine(line);
    return int(sci(QsciScintillaBase::SCI_COUNTCODEUNITS, uintptr_t(lineStart(line)), lineEnd(line)));
}

void CodeMax::DeleteLine(int line)
{
    checkLine(line);
    ProgramEdit edit(*this);
    const int count = LineCount();
    intptr_t start = lineStart(line);
    intptr_t end = line + 1 < count ? lineStart(line + 1) : sci(QsciScintillaBase::SCI_GETLENGTH);
    if (line + 1 == count && line > 0)
        start = lineEnd(line - 1);  // the last line takes the break before it
    replaceBytes(start, end, {});
}

void CodeMax::AddText(const QString& text)
{
    ProgramEdit edit(*this);
    const intptr_t caret = sci(QsciScintillaBase::SCI_GETCURRENTPOS);
    const intptr_t end = replaceBytes(caret, caret, toDoc(text));
    sci(QsciScintillaBase::SCI_GOTOPOS, uintptr_t(end));
}

void CodeMax::ReplaceText(const QString& text, const CodeMaxRange& range)
{
    const CodeMaxRange r = range.Normalized();
    const intptr_t start = positionOf(r.startLine, r.startCol);
    const intptr_t end = positionOf(r.endLine, r.endCol);
    ProgramEdit edit(*this);
    const intptr_t caret = replaceBytes(start, std::max(start, end), toDoc(text));
    sci(QsciScintillaBase::SCI_GOTOPOS, uintptr_t(caret));
}

std::string CodeMax::DocumentBytes() const
{
    const intptr_t length = sci(QsciScintillaBase::SCI_GETLENGTH);
    const auto* p = reinterpret_cast<const char*>(sci(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return std::string(p, size_t(length));
}

std::string CodeMax::DocumentBytes(const CodeMaxRange& range) const
{
    const CodeMaxRange r = range.Normalized();
    const intptr_t start = positionOf(r.startLine, r.startCol);
    const intptr_t end = positionOf(r.endLine, r.endCol);
    if (end <= start)
        return {};
    const auto* p = reinterpret_cast<const char*>(
        sci(QsciScintillaBase::SCI_GETRANGEPOINTER, uintptr_t(start), end - start));
    return std::string(p, size_t(end - start));
}

void CodeMax::ReplaceDocumentBytes(std::string_view bytes)
{
    ProgramEdit edit(*this);
    const intptr_t caret = replaceBytes(0, sci(QsciScintillaBase::SCI_GETLENGTH),
                                        QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
    sci(QsciScintillaBase::SCI_GOTOPOS, uintptr_t(caret));
}

void CodeMax::ReplaceDocumentBytes(std::string_view bytes, const CodeMaxRange& range)
{
    const CodeMaxRange r = range.Normalized();
    const intptr_t start = positionOf(r.startLine, r.startCol);
    const intptr_t end = positionOf(r.endLine, r.endCol);
    ProgramEdit edit(*this);
    const intptr_t caret = replaceBytes(start, std::max(start, end),
                                        QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
    sci(QsciScintillaBase::SCI_GOTOPOS, uintptr_t(caret));
}

void CodeMax::InsertFile(const QString& path, const CodeMaxPosition& position)
{
    const intptr_t at = positionOf(position.line, position.col);
    const QByteArray bytes = readWholeFile(path);
    CodeMaxTextScan scan;
    scan.Feed(bytes.constData(), size_t(bytes.size()));
    scan.Finish();
    QByteArray insert;
    if (scan.IsUtf8() == IsUtf8())
        insert = CodeMaxText::WithLineBreak(bytes, LineBreak());
    else
        insert = toDoc(scan.IsUtf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes));
    ProgramEdit edit(*this);
    const intptr_t end = replaceBytes(at, at, insert);
    sci(QsciScintillaBase::SCI_GOTOPOS, uintptr_t(end));
}

CodeMaxRange CodeMax::GetSel(bool normalise) const
{
    intptr_t anchor = sci(QsciScintillaBase::SCI_GETANCHOR);
    intptr_t caret = sci(QsciScintillaBase::SCI_GETCURRENTPOS);
    if (normalise && caret < anchor)
        std::swap(anchor, caret);
    const CodeMaxPosition a = placeOf(anchor);
    const CodeMaxPosition c = anchor == caret ? a : placeOf(caret);
    return {a.line, a.col, c.line, c.col};
}

void CodeMax::SetSel(const CodeMaxRange& range, bool makeVisible)
{
    const intptr_t anchor = positionOf(range.startLine, range.startCol);
    const intptr_t caret = positionOf(range.endLine, range.endCol);
    EditScope scope(*this);
    CodeMaxPane& pane = active();
    pane.Sci(QsciScintillaBase::SCI_SETANCHOR, uintptr_t(anchor));
    pane.Sci(QsciScintillaBase::SCI_SETCURRENTPOS, uintptr_t(caret));
    pane.Sci(QsciScintillaBase::SCI_CHOOSECARETX);
    if (makeVisible)
        pane.Sci(QsciScintillaBase::SCI_SCROLLCARET);
}

bool CodeMax::canStore(const QString& text) const
{
    return IsUtf8() || std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

bool CodeMax::refuseUnstorable(const QString& text)
{
    if (canStore(text))
        return false;
    const auto bad = std::find_if(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
    QString shown(*bad);
    char32_t code = bad->unicode();
    if (bad->isHighSurrogate() && bad + 1 != text.end() && (bad + 1)->isLowSurrogate()) {
        shown += *(bad + 1);
        code = QChar::surrogateToUcs4(*bad, *(bad + 1));
    }
    // "?" in place of what was typed would change the user's text unseen.
    MsgBox(QStringLiteral("The character \"%1\" (U+%2) cannot be stored in this document: it is kept in the "
                          "Latin-1 (ISO 8859-1) encoding, which does not have that character. Nothing was "
                          "inserted.")
               .arg(shown, QString::number(quint32(code), 16).toUpper().rightJustified(4, u'0')),
           vbExclamation);
    if (isVisible())
        SetFocus();
    return true;
}

void CodeMax::pasteClipboard()
{
    if (ReadOnly() || refuseUnstorable(QGuiApplication::clipboard()->text()))
        return;
    sci(QsciScintillaBase::SCI_PASTE);
}

void CodeMax::typeText(const QString& text)
{
    if (ReadOnly() || text.isEmpty())
        return;
    CodeMaxPane& pane = active();
    const QByteArray bytes = toDoc(text);
    const intptr_t anchor = pane.Sci(QsciScintillaBase::SCI_GETANCHOR);
    const intptr_t caret = pane.Sci(QsciScintillaBase::SCI_GETCURRENTPOS);
    if (anchor == caret && OverwriteMode()) {
        // Overwrite as many characters as are typed, never the line break.
        const int line = int(pane.Sci(QsciScintillaBase::SCI_LINEFROMPOSITION, uintptr_t(caret)));
        const intptr_t end = pane.Sci(QsciScintillaBase::SCI_GETLINEENDPOSITION, uintptr_t(line));
        const qsizetype typed = text.size() - std::count_if(text.begin(), text.end(), [](QChar ch) {
            return ch.isLowSurrogate();
        });
        const auto* rest = reinterpret_cast<const char*>(
            pane.Sci(QsciScintillaBase::SCI_GETRANGEPOINTER, uintptr_t(caret), end - caret));
        const intptr_t over = caret + CodeMaxText::CharactersToBytes(rest, end - caret, typed, IsUtf8());
        pane.Sci(QsciScintillaBase::SCI_SETTARGETRANGE, uintptr_t(caret), over);
        pane.SciPtr(QsciScintillaBase::SCI_REPLACETARGET, uintptr_t(bytes.size()), bytes.constData());
        pane.Sci(QsciScintillaBase::SCI_GOTOPOS, uintptr_t(caret + bytes.size()));
    } else if (anchor == caret && pane.Sci(QsciScintillaBase::SCI_GETSELECTIONS) <= 1) {
        // Inserted outside an undo group, as the editing control inserts a
        // typed character: characters typed one after another then undo as
        // one step. (Replacing the selection groups its own edits, which
        // starts a new step for each key.)
        pane.SciPtr(QsciScintillaBase::SCI_ADDTEXT, uintptr_t(bytes.size()), bytes.constData());
    } else {
        pane.SciPtr(QsciScintillaBase::SCI_REPLACESEL, 0, bytes.constData());
    }
    pane.Sci(QsciScintillaBase::SCI_CHOOSECARETX);
    pane.Sci(QsciScintillaBase::SCI_SCROLLCARET);
}

// ------------------------------------------------------------------- files

QByteArray CodeMax::readWholeFile(const QString& path)
{
    checkRegularFile(path, true);
    platform::RecoverInterruptedSave(path);
    checkRoom(path, insertMemoryPerByte);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(75, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()), source);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(75, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()), source);
    return bytes;
}

void CodeMax::OpenFile(const QString& path)
{
    checkRegularFile(path, true);
    // A save of it cut short is rolled back: the file is whole again (the
    // program that shows messages asked first and told the user).
    platform::RecoverInterruptedSave(path);
    checkRoom(path, openMemoryPerByte);
    loadFile(path);
}

void CodeMax::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(75, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()), source);
    // As it is before the read: a change while it is read is a change too.
    const FileStamp stamp = StampOfFile(file.handle());

    CodeMaxPane& pane = *panes_[0][0];
    const bool wasReadOnly = ReadOnly();
    loading_ = true;
    const auto finish = [&] {
        pane.Sci(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
        pane.Sci(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        pane.Sci(QsciScintillaBase::SCI_SETSAVEPOINT);
        pane.Sci(QsciScintillaBase::SCI_SETREADONLY, wasReadOnly);
        changed_ = false;
        loading_ = false;
    };
    // The file's bytes go straight into the document, a piece at a time:
    // no copy of the whole text on the way, and no undo record of it.
    const qint64 size = file.size();
    useDocument(size >= largeDocumentBytes);
    pane.Sci(QsciScintillaBase::SCI_SETREADONLY, 0);
    pane.Sci(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0);
    pane.Sci(QsciScintillaBase::SCI_CLEARALL);
    pane.Sci(QsciScintillaBase::SCI_MARKERDELETEALL, uintptr_t(-1));
    highlightHandle_ = -1;
    highlightLine_ = -1;
    // Room for the whole file at once, and a page for the first keys typed:
    // the text is not moved while it comes in.
    if (size > 0)
        pane.Sci(QsciScintillaBase::SCI_ALLOCATE, uintptr_t(size + 4096));
    CodeMaxTextScan scan;
    const qsizetype chunkSize = qsizetype(std::clamp<qint64>(size, 1 << 12, readChunk));
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunkSize);
        if (got < 0) {
            const QString why = file.errorString();
            pane.Sci(QsciScintillaBase::SCI_CLEARALL);
            finish();
            throw Error(75, QStringLiteral("Cannot read %1: %2").arg(path, why), source);
        }
        if (got == 0)
            break;
        scan.Feed(chunk.constData(), size_t(got));
        pane.SciPtr(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(got), chunk.constData());
    }
    scan.Finish();
    pane.Sci(QsciScintillaBase::SCI_SETCODEPAGE, scan.IsUtf8() ? QsciScintillaBase::SC_CP_UTF8 : 0);
    const QByteArray lineBreak = scan.DominantLineBreak();
    pane.Sci(QsciScintillaBase::SCI_SETEOLMODE,
             lineBreak == "\n"   ? QsciScintillaBase::SC_EOL_LF
             : lineBreak == "\r" ? QsciScintillaBase::SC_EOL_CR
                                 : QsciScintillaBase::SC_EOL_CRLF);
    for (const auto& row : panes_)
        for (CodeMaxPane* p : row)
            if (p)
                p->Sci(QsciScintillaBase::SCI_GOTOPOS, 0);
    finish();
    updateLineNumberWidth();
    forgetSelection();
    filePath_ = QFileInfo(path).absoluteFilePath();
    fileStamp_ = stamp;
}

void CodeMax::SaveFile(const QString& path, bool clearModified)
{
    checkRegularFile(path, false);
    const intptr_t length = sci(QsciScintillaBase::SCI_GETLENGTH);
    const auto* p = reinterpret_cast<const char*>(sci(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    const FileStamp before = StampOfFile(path);
    const platform::WriteOutcome written = platform::WriteFileAtomically(path, QByteArrayView(p, length));
    if (!written) {
        // A failed write put the old content back: that is this document's
        // own write, not another program's change to ask about later.
        if (written.rolledBack && before == fileStamp_ && QFileInfo(path).absoluteFilePath() == filePath_)
            fileStamp_ = written.written;
        throw Error(75, QStringLiteral("Cannot write %1: %2").arg(path, written.error), source);
    }
    filePath_ = QFileInfo(path).absoluteFilePath();
    fileStamp_ = written.written;
    if (clearModified)
        sci(QsciScintillaBase::SCI_SETSAVEPOINT);
}

bool CodeMax::FileChangedOnDisk(const QString& path) const
{
    if (filePath_.isEmpty() || QFileInfo(path).absoluteFilePath() != filePath_)
        return false;
    const FileStamp now = StampOfFile(path);
    return now.exists() && now != fileStamp_;
}

bool CodeMax::ReadOnly() const { return sci(QsciScintillaBase::SCI_GETREADONLY) != 0; }

void CodeMax::SetReadOnly(bool on) { sci(QsciScintillaBase::SCI_SETREADONLY, on); }

bool CodeMax::Modified() const { return sci(QsciScintillaBase::SCI_GETMODIFY) != 0; }

void CodeMax::SetModified(bool modified)
{
    if (!modified)
        sci(QsciScintillaBase::SCI_SETSAVEPOINT);
    // Scintilla cannot leave its save point without an edit; a document
    // marked modified by the program stays as it is until then.
}

bool CodeMax::IsUtf8() const { return sci(QsciScintillaBase::SCI_GETCODEPAGE) == QsciScintillaBase::SC_CP_UTF8; }

QByteArray CodeMax::LineBreak() const
{
    switch (sci(QsciScintillaBase::SCI_GETEOLMODE)) {
    case QsciScintillaBase::SC_EOL_LF: return QByteArrayLiteral("\n");
    case QsciScintillaBase::SC_EOL_CR: return QByteArrayLiteral("\r");
    default: return QByteArrayLiteral("\r\n");
    }
}

// ------------------------------------------------------------------ editing

void CodeMax::SetFocus() { active().setFocus(Qt::OtherFocusReason); }

bool CodeMax::CanUndo() const { return sci(QsciScintillaBase::SCI_CANUNDO) != 0; }
bool CodeMax::CanRedo() const { return sci(QsciScintillaBase::SCI_CANREDO) != 0; }
bool CodeMax::CanCut() const { return CanCopy() && !ReadOnly(); }
bool CodeMax::CanCopy() const
{
    return sci(QsciScintillaBase::SCI_GETSELECTIONSTART) != sci(QsciScintillaBase::SCI_GETSELECTIONEND);
}
bool CodeMax::CanPaste() const
{
    // Scintilla only checks that the text is writable; a paste also needs text to paste.
    return sci(QsciScintillaBase::SCI_CANPASTE) != 0 && !QGuiApplication::clipboard()->text().isEmpty();
}

void CodeMax::Undo()
{
    EditScope scope(*this);
    sci(QsciScintillaBase::SCI_UNDO);
}

void CodeMax::Redo()
{
    EditScope scope(*this);
    sci(QsciScintillaBase::SCI_REDO);
}

void CodeMax::Cut()
{
    EditScope scope(*this);
    sci(QsciScintillaBase::SCI_CUT);
}

void CodeMax::Copy() { sci(QsciScintillaBase::SCI_COPY); }

void CodeMax::Paste()
{
    EditScope scope(*this);
    pasteClipboard();
}

bool CodeMax::OverwriteMode() const { return sci(QsciScintillaBase::SCI_GETOVERTYPE) != 0; }

// ------------------------------------------------------------ keys and mouse

namespace {

bool isTyping(const QKeyEvent& e)
{
    const QString text = e.text();
    if (text.isEmpty())
        return false;
    const auto mods = e.modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    if (ctrl != alt)
        return false;  // shortcuts and menu mnemonics; Ctrl with Alt is AltGr
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() != 0x7F; });
}

}  // namespace

bool CodeMax::wantsKey(const QKeyEvent& e) const
{
    const int vk = CodeMaxKeys::VirtualKey(e);
    const int mask = CodeMaxKeys::ShiftMask(e.modifiers());
    if (pendingChordMods_ >= 0)
        return true;
    CodeMaxGlobals globals;
    if (vk && (globals.FindHotKey(CodeMaxHotKey(mask, vk)) >= 0 || globals.HotKeyTable().StartsChord(mask, vk)))
        return true;
    return isTyping(e);
}

void CodeMax::handleKey(CodeMaxPane& pane, QKeyEvent& e)
{
    // Nothing may leave a Qt event handler by an exception.
    try {
        dispatchKey(pane, e);
    } catch (const std::exception& error) {
        qWarning("CodeMax: key not handled: %s", error.what());
    }
}

void CodeMax::dispatchKey(CodeMaxPane& pane, QKeyEvent& e)
{
    active_ = &pane;
    const int vk = CodeMaxKeys::VirtualKey(e);
    const int mask = CodeMaxKeys::ShiftMask(e.modifiers());
    EditScope scope(*this);
    bool cancel = false;
    emit KeyDown(this, vk, mask, cancel);
    if (cancel) {
        e.accept();
        return;
    }
    CodeMaxGlobals globals;
    if (vk && CodeMaxKeys::IsModifierKey(vk)) {
        e.accept();  // between the strokes of a chord, or on its own: nothing
        return;
    }
    // A key bound to Delete acts as the Delete key; the command by number
    // deletes only a selection.
    const auto runKey = [this](int command) {
        ExecuteCmd(command == CodeMaxCmd::Delete ? CodeMaxCmd::DeleteKey : command);
    };
    const bool chordPending = pendingChordMods_ >= 0;
    if (chordPending) {
        const CodeMaxHotKey chord(pendingChordMods_, pendingChordKey_, mask, vk);
        pendingChordMods_ = -1;
        const int command = vk ? globals.FindHotKey(chord) : -1;
        if (command >= 0) {
            runKey(command);
            e.accept();
            return;
        }
    }
    if (vk) {
        const int command = globals.FindHotKey(CodeMaxHotKey(mask, vk));
        // With nothing to cancel (no selection, no recording, no chord begun),
        // Escape goes on to the window: a dialog holding the control closes.
        if (command == CodeMaxCmd::Cancel && !chordPending && !recording_
            && pane.Sci(QsciScintillaBase::SCI_GETSELECTIONEMPTY) != 0
            && pane.Sci(QsciScintillaBase::SCI_GETSELECTIONS) <= 1) {
            e.ignore();
            return;
        }
        if (command >= 0) {
            runKey(command);
            e.accept();
            return;
        }
        if (globals.HotKeyTable().StartsChord(mask, vk)) {
            pendingChordMods_ = mask;
            pendingChordKey_ = vk;
            e.accept();
            return;
        }
    }
    if (isTyping(e)) {
        handleTyping(pane, e.text());
        e.accept();
        return;
    }
    e.ignore();
}

void CodeMax::handleTyping(CodeMaxPane& pane, const QString& text)
{
    active_ = &pane;
    try {
        if (!ReadOnly() && refuseUnstorable(text))
            return;
        EditScope scope(*this);
        if (recording_)
            recording_->AddText(text);
        typeText(text);
    } catch (const std::exception& error) {
        qWarning("CodeMax: typing not handled: %s", error.what());
    }
}

void CodeMax::handleMouse(CodeMaxPane& pane, QMouseEvent& e, bool press)
{
    if (press)
        active_ = &pane;
    int button = 0;
    switch (e.button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    const QPoint at = pane.mapTo(this, e.position().toPoint());
    const int shift = CodeMaxKeys::ShiftMask(e.modifiers());
    if (press)
        emit MouseDown(this, button, shift, at.x(), at.y());
    else
        emit MouseUp(this, button, shift, at.x(), at.y());
}

void CodeMax::handleFocus(CodeMaxPane& pane)
{
    active_ = &pane;
    emit GotFocus(this);
    if (editDepth_ == 0)
        checkSelection();
}

void CodeMax::afterUserAction()
{
    if (editDepth_ == 0 && !loading_) {
        flushChange();
        checkSelection();
    }
}

// ------------------------------------------------------------------ events

void CodeMax::noteChange()
{
    if (loading_)
        return;
    changed_ = true;
    if (editDepth_ > 0 || changeQueued_)
        return;
    // A change the control did not start itself (a drop, an input method):
    // raise the event as soon as the edit is over.
    changeQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            changeQueued_ = false;
            afterUserAction();
        },
        Qt::QueuedConnection);
}

void CodeMax::flushChange()
{
    if (!changed_ || loading_)
        return;
    changed_ = false;
    updateLineNumberWidth();
    emit ContentChange(this);
}

void CodeMax::checkSelection()
{
    if (loading_)
        return;
    const CodeMaxPane& pane = active();
    const intptr_t anchor = pane.Sci(QsciScintillaBase::SCI_GETANCHOR);
    const intptr_t caret = pane.Sci(QsciScintillaBase::SCI_GETCURRENTPOS);
    if (&pane == lastPane_ && anchor == lastAnchor_ && caret == lastCaret_)
        return;
    const bool caretMoved = &pane != lastPane_ || caret != lastCaret_;
    lastPane_ = &pane;
    lastAnchor_ = anchor;
    lastCaret_ = caret;
    emit SelectionChange(this);
    if (caretMoved)
        emit CaretNotify(this);
}

void CodeMax::forgetSelection()
{
    const CodeMaxPane& pane = active();
    lastPane_ = &pane;
    lastAnchor_ = pane.Sci(QsciScintillaBase::SCI_GETANCHOR);
    lastCaret_ = pane.Sci(QsciScintillaBase::SCI_GETCURRENTPOS);
}

// ------------------------------------------------------------------- panes

int CodeMax::PaneCount() const
{
    int n = 0;
    for (const auto& row : panes_)
        for (const CodeMaxPane* p : row)
            n += p != nullptr;
    return n;
}

QsciScintilla* CodeMax::Pane(int index) const
{
    for (const auto& row : panes_)
        for (CodeMaxPane* p : row)
            if (p && index-- == 0)
                return p;
    return nullptr;
}

QsciScintilla* CodeMax::ActivePane() const { return &active(); }

CodeMaxPane* CodeMax::makePane()
{
    auto* pane = new CodeMaxPane(*this, document_, CodeMaxGlobals().FindLanguage(language_), colorSyntax_);
    configurePane(*pane);
    // Show the same place as the pane the user works in.
    showSamePlace(active(), *pane);
    return pane;
}

void CodeMax::showSamePlace(const CodeMaxPane& from, CodeMaxPane& to)
{
    using S = QsciScintillaBase;
    if (from.Sci(S::SCI_SELECTIONISRECTANGLE)) {
        to.Sci(S::SCI_SETRECTANGULARSELECTIONANCHOR, uintptr_t(from.Sci(S::SCI_GETRECTANGULARSELECTIONANCHOR)));
        to.Sci(S::SCI_SETRECTANGULARSELECTIONANCHORVIRTUALSPACE,
               uintptr_t(from.Sci(S::SCI_GETRECTANGULARSELECTIONANCHORVIRTUALSPACE)));
        to.Sci(S::SCI_SETRECTANGULARSELECTIONCARET, uintptr_t(from.Sci(S::SCI_GETRECTANGULARSELECTIONCARET)));
        to.Sci(S::SCI_SETRECTANGULARSELECTIONCARETVIRTUALSPACE,
               uintptr_t(from.Sci(S::SCI_GETRECTANGULARSELECTIONCARETVIRTUALSPACE)));
    } else {
        const intptr_t count = from.Sci(S::SCI_GETSELECTIONS);
        for (intptr_t i = 0; i < count; ++i) {
            const auto caret = uintptr_t(from.Sci(S::SCI_GETSELECTIONNCARET, uintptr_t(i)));
            const intptr_t anchor = from.Sci(S::SCI_GETSELECTIONNANCHOR, uintptr_t(i));
            to.Sci(i == 0 ? S::SCI_SETSELECTION : S::SCI_ADDSELECTION, caret, anchor);
        }
        to.Sci(S::SCI_SETMAINSELECTION, uintptr_t(from.Sci(S::SCI_GETMAINSELECTION)));
    }
    to.Sci(S::SCI_SETFIRSTVISIBLELINE, uintptr_t(from.Sci(S::SCI_GETFIRSTVISIBLELINE)));
    to.Sci(S::SCI_SETXOFFSET, uintptr_t(from.Sci(S::SCI_GETXOFFSET)));
    to.Sci(S::SCI_SETOVERTYPE, uintptr_t(from.Sci(S::SCI_GETOVERTYPE)));
}

void CodeMax::dropPane(CodeMaxPane* pane)
{
    if (!pane)
        return;
    for (auto& row : panes_)
        for (CodeMaxPane*& p : row)
            if (p == pane)
                p = nullptr;
    if (active_ == pane)
        active_ = panes_[0][0];
    QObject::disconnect(pane, nullptr, this, nullptr);
    delete pane;
}

}  // namespace platform
