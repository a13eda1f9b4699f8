// CodeMax: ExecuteCmd, searching, bookmarks and macros.

#include "platform/codemax/CodeMax.h"

#include "platform/codemax/CodeMaxFindDialog.h"
#include "platform/codemax/CodeMaxMacro.h"
#include "platform/codemax/CodeMaxPane.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"

#include <algorithm>

namespace platform {
namespace {

using Sci = QsciScintillaBase;

bool isMacroCommand(int command)
{
    return command >= CodeMaxCmd::RecordMacro && command <= CodeMaxCmd::PlayMacro10;
}

}  // namespace

void CodeMax::ExecuteCmd(int command, std::optional<long long> data)
{
    if (recording_ && !isMacroCommand(command) && command != CodeMaxCmd::Properties)
        recording_->AddCommand(command, data);
    EditScope scope(*this);
    runCommand(command, data);
}

void CodeMax::flushEvents()
{
    flushChange();
    checkSelection();
}

void CodeMax::runCommand(int command, std::optional<long long> data)
{
    using namespace CodeMaxCmd;
    CodeMaxPane& pane = active();
    const auto send = [&](unsigned int message) { pane.Sci(message); };
    switch (command) {
    case SelectLine: selectLines(); break;
    case SelectAll: pane.Sci(Sci::SCI_SETSEL, 0, pane.Sci(Sci::SCI_GETLENGTH)); break;  // caret at the end
    case CodeMaxCmd::Paste: pasteClipboard(); break;
    case LineUpExtend: send(Sci::SCI_LINEUPEXTEND); break;
    case LineUp: send(Sci::SCI_LINEUP); break;
    case LineStart: send(Sci::SCI_HOME); break;
    case LineOpenBelow:
        send(Sci::SCI_BEGINUNDOACTION);
        send(Sci::SCI_LINEEND);
        send(Sci::SCI_NEWLINE);
        send(Sci::SCI_ENDUNDOACTION);
        break;
    case LineOpenAbove:
        send(Sci::SCI_BEGINUNDOACTION);
        send(Sci::SCI_HOME);
        send(Sci::SCI_NEWLINE);
        send(Sci::SCI_LINEUP);
        send(Sci::SCI_ENDUNDOACTION);
        break;
    case LineEndExtend: send(Sci::SCI_LINEENDEXTEND); break;
    case CodeMaxCmd::LineEnd: send(Sci::SCI_LINEEND); break;
    case LineDownExtend: send(Sci::SCI_LINEDOWNEXTEND); break;
    case LineDown: send(Sci::SCI_LINEDOWN); break;
    case LineDeleteToStart: send(Sci::SCI_DELLINELEFT); break;
    case LineDeleteToEnd: send(Sci::SCI_DELLINERIGHT); break;
    case LineDelete: send(Sci::SCI_LINEDELETE); break;
    case LineCut: send(Sci::SCI_LINECUT); break;
    case HomeExtend: send(Sci::SCI_VCHOMEEXTEND); break;
    case Home: send(Sci::SCI_VCHOME); break;
    case GotoLine: goToLine(data); break;
    case FindReplace: showFindDialog(true); break;
    case ReplaceAll: replaceAll(); break;  // no match is not a failure
    case FindPrevWord: findWordAtCaret(false); break;
    case FindNextWord: findWordAtCaret(true); break;
    case FindPrev:
    case FindNext:
        if (!findNext(command == FindNext, true))
            emit CommandFailure(this, command, 4);
        break;
    case FindMarkAll: markAll(); break;
    case Find: showFindDialog(false); break;
    case End: smartEnd(); break;
    case DocumentStartExtend: send(Sci::SCI_DOCUMENTSTARTEXTEND); break;
    case DocumentStart: send(Sci::SCI_DOCUMENTSTART); break;
    case DocumentEndExtend: send(Sci::SCI_DOCUMENTENDEXTEND); break;
    case DocumentEnd: send(Sci::SCI_DOCUMENTEND); break;
    case DeleteBack: send(Sci::SCI_DELETEBACK); break;
    case Delete:
        if (pane.Sci(Sci::SCI_GETSELECTIONEMPTY) == 0)
            send(Sci::SCI_CLEAR);
        break;
    case DeleteKey: send(Sci::SCI_CLEAR); break;
    case CutSelection:
    case CodeMaxCmd::Cut: send(Sci::SCI_CUT); break;
    case CodeMaxCmd::Copy: send(Sci::SCI_COPY); break;
    case CharRightExtend: send(Sci::SCI_CHARRIGHTEXTEND); break;
    case CharRight: send(Sci::SCI_CHARRIGHT); break;
    case CharLeftExtend: send(Sci::SCI_CHARLEFTEXTEND); break;
    case CharLeft: send(Sci::SCI_CHARLEFT); break;
    case BookmarkToggle: {
        const auto line = pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(pane.Sci(Sci::SCI_GETCURRENTPOS)));
        if (pane.Sci(Sci::SCI_MARKERGET, uintptr_t(line)) & (1 << BookmarkMarker))
            pane.Sci(Sci::SCI_MARKERDELETE, uintptr_t(line), BookmarkMarker);
        else
            pane.Sci(Sci::SCI_MARKERADD, uintptr_t(line), BookmarkMarker);
        break;
    }
    case BookmarkPrev: jumpBookmark(false); break;
    case BookmarkNext: jumpBookmark(true); break;
    case BookmarkClearAll: pane.Sci(Sci::SCI_MARKERDELETEALL, BookmarkMarker); break;
    case NewLine: send(Sci::SCI_NEWLINE); break;
    case RecordMacro: startOrEndRecording(data); break;
    case InsertMode:
    case CodeMaxCmd::OverwriteMode:
        for (const auto& row : panes_)
            for (CodeMaxPane* p : row)
                if (p)
                    p->Sci(Sci::SCI_SETOVERTYPE, command == CodeMaxCmd::OverwriteMode);
        break;
    case CodeMaxCmd::Undo: send(Sci::SCI_UNDO); break;
    case CodeMaxCmd::Redo: send(Sci::SCI_REDO); break;
    case PageUp: send(Sci::SCI_PAGEUP); break;
    case PageUpExtend: send(Sci::SCI_PAGEUPEXTEND); break;
    case PageDown: send(Sci::SCI_PAGEDOWN); break;
    case PageDownExtend: send(Sci::SCI_PAGEDOWNEXTEND); break;
    case WordLeft: send(Sci::SCI_WORDLEFT); break;
    case WordLeftExtend: send(Sci::SCI_WORDLEFTEXTEND); break;
    case WordRight: send(Sci::SCI_WORDRIGHT); break;
    case WordRightExtend: send(Sci::SCI_WORDRIGHTEXTEND); break;
    case Tab: send(Sci::SCI_TAB); break;
    case BackTab: send(Sci::SCI_BACKTAB); break;
    case Cancel:
        send(Sci::SCI_CANCEL);  // drops extra selections only
        pane.Sci(Sci::SCI_SETEMPTYSELECTION, uintptr_t(pane.Sci(Sci::SCI_GETCURRENTPOS)));
        break;
    case Properties: {
        bool cancel = false;
        emit SettingsRequest(this, cancel);
        break;  // the control has no settings dialog of its own
    }
    case WordDeleteLeft: send(Sci::SCI_DELWORDLEFT); break;
    case WordDeleteRight: send(Sci::SCI_DELWORDRIGHT); break;
    case ScrollLineUp: send(Sci::SCI_LINESCROLLUP); break;
    case ScrollLineDown: send(Sci::SCI_LINESCROLLDOWN); break;
    case ToggleOverwrite:
        runCommand(OverwriteMode() ? InsertMode : CodeMaxCmd::OverwriteMode, std::nullopt);
        break;
    default:
        if (command >= PlayMacro1 && command <= PlayMacro10)
            playMacro(command - PlayMacro1, command);
        break;  // an unknown number does nothing
    }
}

void CodeMax::goToLine(std::optional<long long> data)
{
    long long line = 0;
    if (!data || *data == -1) {
        const int count = LineCount();
        const int current = placeOf(sci(Sci::SCI_GETCURRENTPOS)).line;
        const QString answer = InputBox(QStringLiteral("Line number (1 - %1):").arg(count),
                                        QStringLiteral("Go To Line"), QString::number(current + 1))
                                   .trimmed();
        bool ok = false;
        line = answer.toLongLong(&ok) - 1;
        if (!ok)
            return;  // cancelled, or not a number
    } else {
        line = *data;
    }
    line = std::clamp<long long>(line, 0, LineCount() - 1);
    CodeMaxPane& pane = active();
    pane.Sci(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, uintptr_t(line));
    pane.Sci(Sci::SCI_GOTOLINE, uintptr_t(line));
}

int CodeMax::searchFlags() const
{
    int flags = 0;
    if (matchCase_)
        flags |= Sci::SCFIND_MATCHCASE;
    if (wholeWord_)
        flags |= Sci::SCFIND_WHOLEWORD;
    if (regExp_)
        flags |= Sci::SCFIND_REGEXP | Sci::SCFIND_POSIX;
    return flags;
}

intptr_t CodeMax::search(const QByteArray& what, intptr_t from, intptr_t to, intptr_t& matchEnd) const
{
    CodeMaxPane& pane = active();
    pane.Sci(Sci::SCI_SETSEARCHFLAGS, uintptr_t(searchFlags()));
    pane.Sci(Sci::SCI_SETTARGETRANGE, uintptr_t(from), to);
    const intptr_t at = pane.SciPtr(Sci::SCI_SEARCHINTARGET, uintptr_t(what.size()), what.constData());
    if (at < 0)
        return -1;
    matchEnd = pane.Sci(Sci::SCI_GETTARGETEND);
    return at;
}

bool CodeMax::findNext(bool forward, bool select)
{
    const QByteArray what = toDoc(findText_);
    if (what.isEmpty() || !canStore(findText_))
        return false;
    const intptr_t length = sci(Sci::SCI_GETLENGTH);
    const intptr_t selStart = sci(Sci::SCI_GETSELECTIONSTART);
    const intptr_t selEnd = sci(Sci::SCI_GETSELECTIONEND);
    intptr_t end = 0;
    intptr_t at = forward ? search(what, selEnd, length, end) : search(what, selStart, 0, end);
    if (at < 0)  // round the end of the text
        at = forward ? search(what, 0, selEnd, end) : search(what, length, selStart, end);
    if (at < 0)
        return false;
    if (select) {
        CodeMaxPane& pane = active();
        const auto line = pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(at));
        pane.Sci(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, uintptr_t(line));
        pane.Sci(Sci::SCI_SETSEL, uintptr_t(at), end);
        pane.Sci(Sci::SCI_SCROLLRANGE, uintptr_t(at), end);
    }
    return true;
}

void CodeMax::replaceAll()
{
    const QByteArray what = toDoc(findText_);
    if (what.isEmpty() || !canStore(findText_))
        return;
    if (refuseUnstorable(replText_))
        return;
    const QByteArray with = toDoc(replText_);
    const intptr_t length = sci(Sci::SCI_GETLENGTH);
    // Find every match first, then write them all as one replacement: one
    // undo step, and no rescanning of replaced text.
    std::vector<std::pair<intptr_t, intptr_t>> matches;
    for (intptr_t from = 0; from <= length;) {
        intptr_t end = 0;
        const intptr_t at = search(what, from, length, end);
        if (at < 0)
            break;
        if (end <= at) {  // an empty match of a pattern: step over it
            from = at + 1;
            continue;
        }
        matches.emplace_back(at, end);
        from = end;
    }
    if (matches.empty())
        return;
    const intptr_t first = matches.front().first;
    const intptr_t last = matches.back().second;
    const auto* old = reinterpret_cast<const char*>(sci(Sci::SCI_GETRANGEPOINTER, uintptr_t(first), last - first));
    QByteArray out;
    out.reserve(qsizetype(last - first) + qsizetype(matches.size()) * (with.size() - what.size() + 1));
    intptr_t pos = first;
    for (const auto& [at, end] : matches) {
        out.append(old + (pos - first), at - pos);
        out.append(with);
        pos = end;
    }
    const intptr_t caret = sci(Sci::SCI_GETCURRENTPOS);
    replaceBytes(first, last, out);
    // The caret stays where it was, or at the end of the replaced stretch.
    sci(Sci::SCI_GOTOPOS, uintptr_t(caret < first ? caret : std::min<intptr_t>(caret, first + out.size())));
}

void CodeMax::replaceSelection()
{
    const QByteArray what = toDoc(findText_);
    const intptr_t selStart = sci(Sci::SCI_GETSELECTIONSTART);
    const intptr_t selEnd = sci(Sci::SCI_GETSELECTIONEND);
    intptr_t end = 0;
    if (!what.isEmpty() && canStore(findText_) && selEnd > selStart
        && search(what, selStart, selEnd, end) == selStart && end == selEnd) {
        if (refuseUnstorable(replText_))
            return;
        const intptr_t caret = replaceBytes(selStart, selEnd, toDoc(replText_));
        sci(Sci::SCI_GOTOPOS, uintptr_t(caret));
    }
    if (!findNext(true, true))
        emit CommandFailure(this, CodeMaxCmd::FindNext, 4);
}

void CodeMax::markAll()
{
    const QByteArray what = toDoc(findText_);
    bool found = false;
    if (!what.isEmpty() && canStore(findText_)) {
        CodeMaxPane& pane = active();
        const intptr_t length = sci(Sci::SCI_GETLENGTH);
        for (intptr_t from = 0; from < length;) {
            intptr_t end = 0;
            const intptr_t at = search(what, from, length, end);
            if (at < 0)
                break;
            found = true;
            const auto line = pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(at));
            if (!(pane.Sci(Sci::SCI_MARKERGET, uintptr_t(line)) & (1 << BookmarkMarker)))
                pane.Sci(Sci::SCI_MARKERADD, uintptr_t(line), BookmarkMarker);
            // One mark per line: go on from the next line.
            const intptr_t next = pane.Sci(Sci::SCI_POSITIONFROMLINE, uintptr_t(line + 1));
            from = next > at ? next : length;
        }
    }
    if (!found)
        emit CommandFailure(this, CodeMaxCmd::FindMarkAll, 4);
}

void CodeMax::findWordAtCaret(bool forward)
{
    const int command = forward ? CodeMaxCmd::FindNextWord : CodeMaxCmd::FindPrevWord;
    CodeMaxPane& pane = active();
    intptr_t start = pane.Sci(Sci::SCI_GETSELECTIONSTART);
    intptr_t end = pane.Sci(Sci::SCI_GETSELECTIONEND);
    const bool oneLine = pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(start))
        == pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(end));
    if (start == end || !oneLine) {
        const intptr_t caret = pane.Sci(Sci::SCI_GETCURRENTPOS);
        start = pane.Sci(Sci::SCI_WORDSTARTPOSITION, uintptr_t(caret), 1);
        end = pane.Sci(Sci::SCI_WORDENDPOSITION, uintptr_t(caret), 1);
        if (end <= start) {
            emit CommandFailure(this, command, 4);
            return;
        }
        // Search on from the word itself.
        pane.Sci(Sci::SCI_SETSEL, uintptr_t(start), end);
    }
    findText_ = fromDoc(docBytes(start, end));
    if (!findNext(forward, true))
        emit CommandFailure(this, command, 4);
}

void CodeMax::jumpBookmark(bool forward)
{
    CodeMaxPane& pane = active();
    const unsigned mask = 1u << BookmarkMarker;
    const auto line = pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(pane.Sci(Sci::SCI_GETCURRENTPOS)));
    const auto last = pane.Sci(Sci::SCI_GETLINECOUNT) - 1;
    intptr_t target = forward ? pane.Sci(Sci::SCI_MARKERNEXT, uintptr_t(line + 1), mask)
                              : (line > 0 ? pane.Sci(Sci::SCI_MARKERPREVIOUS, uintptr_t(line - 1), mask) : -1);
    if (target < 0)  // round the end of the text
        target = forward ? pane.Sci(Sci::SCI_MARKERNEXT, 0, mask)
                         : pane.Sci(Sci::SCI_MARKERPREVIOUS, uintptr_t(last), mask);
    if (target < 0)
        return;
    pane.Sci(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, uintptr_t(target));
    pane.Sci(Sci::SCI_GOTOLINE, uintptr_t(target));
}

void CodeMax::smartEnd()
{
    CodeMaxPane& pane = active();
    const intptr_t caret = pane.Sci(Sci::SCI_GETCURRENTPOS);
    const auto line = pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(caret));
    if (caret != pane.Sci(Sci::SCI_GETLINEENDPOSITION, uintptr_t(line))) {
        pane.Sci(Sci::SCI_LINEEND);
        return;
    }
    const auto lastVisible = pane.Sci(Sci::SCI_DOCLINEFROMVISIBLE,
                                      uintptr_t(pane.Sci(Sci::SCI_GETFIRSTVISIBLELINE)
                                                + std::max<intptr_t>(1, pane.Sci(Sci::SCI_LINESONSCREEN)) - 1));
    const auto bottom = std::min(lastVisible, pane.Sci(Sci::SCI_GETLINECOUNT) - 1);
    if (line < bottom)
        pane.Sci(Sci::SCI_GOTOPOS, uintptr_t(pane.Sci(Sci::SCI_GETLINEENDPOSITION, uintptr_t(bottom))));
    else
        pane.Sci(Sci::SCI_DOCUMENTEND);
}

void CodeMax::selectLines()
{
    CodeMaxPane& pane = active();
    const auto first = pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(pane.Sci(Sci::SCI_GETSELECTIONSTART)));
    const auto last = pane.Sci(Sci::SCI_LINEFROMPOSITION, uintptr_t(pane.Sci(Sci::SCI_GETSELECTIONEND)));
    const intptr_t start = pane.Sci(Sci::SCI_POSITIONFROMLINE, uintptr_t(first));
    intptr_t end = pane.Sci(Sci::SCI_POSITIONFROMLINE, uintptr_t(last + 1));
    if (end < start)
        end = pane.Sci(Sci::SCI_GETLENGTH);
    pane.Sci(Sci::SCI_SETSEL, uintptr_t(start), end);
}

void CodeMax::startOrEndRecording(std::optional<long long> data)
{
    if (recording_) {
        const QByteArray bytes = recording_->ToBytes();
        recording_.reset();
        CodeMaxGlobals().SetMacro(recordingInto_, bytes);
        emit RecordingChange(this);
        return;
    }
    const long long slot = data ? *data : recordSlot_;
    if (slot < 0 || slot >= CodeMaxGlobals::MacroSlots)
        return;  // nobody chose a slot: nothing to record into
    recording_ = std::make_unique<CodeMaxMacro>();
    recordingInto_ = int(slot);
    emit RecordingChange(this);
}

void CodeMax::playMacro(int slot, int command)
{
    if (playDepth_ > 0)
        return;  // a macro never plays another: no endless plays
    const CodeMaxMacro macro = CodeMaxMacro::FromBytes(CodeMaxGlobals().GetMacro(slot));
    if (macro.IsEmpty()) {
        emit CommandFailure(this, command, 1);
        return;
    }
    // All or nothing: a macro whose typed text this document cannot hold
    // is not played at all.
    for (const CodeMaxMacro::Step& step : macro.Steps())
        if (step.kind == CodeMaxMacro::Step::Text && refuseUnstorable(step.text))
            return;
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(playDepth_);
    // One undo step for the whole macro.
    sci(Sci::SCI_BEGINUNDOACTION);
    try {
        for (const CodeMaxMacro::Step& step : macro.Steps()) {
            if (step.kind == CodeMaxMacro::Step::Text) {
                if (recording_)
                    recording_->AddText(step.text);
                typeText(step.text);
            } else {
                ExecuteCmd(step.command, step.data);
            }
        }
    } catch (...) {
        sci(Sci::SCI_ENDUNDOACTION);
        throw;
    }
    sci(Sci::SCI_ENDUNDOACTION);
}

void CodeMax::showFindDialog(bool replace)
{
    CodeMaxFindDialog dialog(*this, replace);
    ShowModal(dialog);
}

}  // namespace platform
