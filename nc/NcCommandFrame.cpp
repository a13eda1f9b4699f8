#include "nc/NcCommandFrame.h"

#include "nc/MControl.h"
#include "nc/NcResult.h"
#include "nc/RenumberText.h"
#include "nc/ReplaceAll.h"
#include "nc/ShiftAddresses.h"
#include "nc/SyntaxCheck.h"
#include "nc/frmChangeValue.h"
#include "nc/frmNumPopup.h"
#include "nc/frmShiftAddress.h"
#include "nc/frmSwitchXYZ.h"
#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxCommands.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"
#include "platform/forms/WaitCursor.h"
#include "shell/CommandLine.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/frmMsg.h"

#include <QDate>
#include <QLocale>
#include <QPointer>
#include <QTime>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>

namespace Cmd = platform::CodeMaxCmd;

namespace {

const QString Title = QStringLiteral("Talvex Editor");

// ---------------------------------------------------------------- the target document

// The active document as it was when the command started. The pointers go null if the window
// goes meanwhile; the command then fails rather than write into another document.
class Target {
public:
    static std::optional<Target> Active()
    {
        DocumentForm* form = ActiveDocumentForm();
        platform::CodeMax* text = form != nullptr ? form->Text1() : nullptr;
        if (text == nullptr)
            return std::nullopt;
        return Target(form, text);
    }

    // The active document when it has more than one line: the commands that
    // guard so leave a one-line document alone.
    static std::optional<Target> ActiveWithSeveralLines()
    {
        std::optional<Target> target = Active();
        if (target && target->Text1().LineCount() < 2)
            return std::nullopt;
        return target;
    }

    platform::CodeMax& Text1() const
    {
        if (text_.isNull())
            throw platform::Error(91, QStringLiteral("The document was closed while the command ran."));
        return *text_;
    }

    void MarkModified() const
    {
        if (form_.isNull())
            return;
        const int slot = SlotOf(*form_);
        if (slot >= 1 && slot <= DocumentSlotCount() && !DocumentState[static_cast<std::size_t>(slot)].Free)
            DocumentState[static_cast<std::size_t>(slot)].Modified = true;
    }

private:
    Target(DocumentForm* form, platform::CodeMax* text) : form_(form), text_(text) {}

    QPointer<DocumentForm> form_;
    QPointer<platform::CodeMax> text_;
};

// ---------------------------------------------------------------- the frame

// What a running command has put up, taken down again on every path: the wait pointer, the
// "Working..." window and BulkEditRunning.
class CommandScope {
public:
    CommandScope(bool waitPointer, bool bulkEdit)
    {
        if (waitPointer)
            wait_.emplace();
        if (bulkEdit) {
            BulkEditRunning = true;
            bulkEdit_ = true;
        }
    }
    ~CommandScope() { Stop(); }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

    // Shows "Working..." and lets it paint.
    void ShowWorking()
    {
        frmMsg::Show();
        working_ = true;
        platform::DoEventsHoldingInput();
    }
    void UnloadWorking()
    {
        if (!working_)
            return;
        frmMsg::Unload();
        working_ = false;
        platform::DoEventsHoldingInput();
    }
    void EndBulkEdit()
    {
        if (bulkEdit_)
            BulkEditRunning = false;
        bulkEdit_ = false;
    }
    void DefaultPointer() { wait_.reset(); }

    // A command that stops takes everything down before it shows its message.
    void Stop()
    {
        if (working_)
            frmMsg::Unload();
        working_ = false;
        EndBulkEdit();
        DefaultPointer();
    }

private:
    std::optional<platform::WaitCursor> wait_;
    bool working_ = false;
    bool bulkEdit_ = false;
};

enum class Working {
    None,
    BeforeGoTo,  // shown before the caret goes to the first line
    AfterGoTo,
};

enum class OnFailure {
    Silent,
    ProgramError,  // the program-error box with the failure's description
    Message,       // the command's own message
    Throw,         // the caller reports it
};

using Procedure = std::function<NcResult(std::string_view)>;

// How one command runs the whole-text frame.
struct Frame {
    bool waitPointer = true;
    bool bulkEdit = false;
    Working working = Working::AfterGoTo;
    bool setTextChanged = true;   // TextChanged = True after the write-back
    bool markModified = false;    // the slot's Modified = True after the write-back
    bool caretAndFocus = true;    // caret to the first line and focus to the text at the end
    bool goToFirstLine = true;    // the caret goes to the first line before the text is read
    bool keepCaret = false;       // the caret is put back where it was before the command
    bool skipUnchanged = false;   // a text the procedure left as it was is not written (no undo step)
    OnFailure onFailure = OnFailure::Silent;
    QString message;              // for OnFailure::Message
    bool clearTextChangedOnFailure = false;
    // The message for a text the procedure refused: nothing has been written.
    std::function<QString(const NcError&)> refusal;
};

// True when the bytes break a line with a CR alone, which the procedures read as an ordinary
// character.
bool HasLoneCr(std::string_view bytes)
{
    for (std::size_t at = bytes.find('\r'); at != std::string_view::npos; at = bytes.find('\r', at + 1)) {
        if (at + 1 == bytes.size() || bytes[at + 1] != '\n')
            return true;
    }
    return false;
}

// The text a command reads and writes back. The procedures work on the document's own bytes:
// each line keeps its own break, and a large program goes through no conversion either way. A
// document that also breaks lines with a CR alone is read with CR LF breaks instead, and comes
// back in its main style.
class CommandText {
public:
    // The whole document, or the range.
    CommandText(const platform::CodeMax& text, std::optional<platform::CodeMaxRange> range) : range_(range)
    {
        bytes_ = range ? text.DocumentBytes(*range) : text.DocumentBytes();
        if (HasLoneCr(bytes_)) {
            converted_ = true;
            const QString program = range ? ProgramText(text, *range) : text.Text();
            const QByteArray utf8 = program.toUtf8();
            bytes_.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        }
    }

    std::string_view View() const { return bytes_; }

    // One replacement of what was read.
    void Write(platform::CodeMax& text, const std::string& result) const
    {
        if (!converted_) {
            if (range_)
                text.ReplaceDocumentBytes(result, *range_);
            else
                text.ReplaceDocumentBytes(result);
            return;
        }
        const int last = text.LineCount() - 1;
        text.ReplaceText(QString::fromUtf8(result.data(), static_cast<qsizetype>(result.size())),
                         range_.value_or(platform::CodeMaxRange{0, 0, last, text.GetLineLength(last)}));
    }

private:
    static QString ProgramText(const platform::CodeMax& text, const platform::CodeMaxRange& range)
    {
        QString lines;
        for (int line = range.startLine; line <= range.endLine; ++line) {
            if (line > range.startLine)
                lines += QStringLiteral("\r\n");
            QString content = text.GetLine(line);
            if (line == range.endLine)
                content.truncate(range.endCol);
            lines += line == range.startLine ? content.mid(range.startCol) : content;
        }
        return lines;
    }

    std::optional<platform::CodeMaxRange> range_;
    std::string bytes_;
    bool converted_ = false;
};

// Puts the caret where it stood, or as near as the new text allows.
void PutCaretBack(platform::CodeMax& text, const platform::CodeMaxRange& caret)
{
    const int line = std::min(caret.endLine, text.LineCount() - 1);
    const int column = std::min(caret.endCol, text.GetLineLength(line));
    text.SetSel(platform::CodeMaxRange{line, column, line, column}, false);
}

void ReportFailure(const Frame& frame)
{
    switch (frame.onFailure) {
    case OnFailure::Silent:
        break;
    case OnFailure::ProgramError:
        ShowProgramError();
        break;
    case OnFailure::Message:
        platform::MsgBox(frame.message, platform::vbCritical, Title);
        break;
    case OnFailure::Throw:
        throw;
    }
}

// The text of the document goes through the procedure once and comes back with one
// replacement. A text the procedure refuses is not written at all.
void RunWholeText(const Target& target, const Frame& frame, const Procedure& procedure)
{
    CommandScope scope(frame.waitPointer, frame.bulkEdit);
    try {
        if (frame.working == Working::BeforeGoTo)
            scope.ShowWorking();
        const platform::CodeMaxRange caret = target.Text1().GetSel(false);
        if (frame.goToFirstLine)
            target.Text1().ExecuteCmd(Cmd::GotoLine, 0);
        if (frame.working == Working::AfterGoTo)
            scope.ShowWorking();

        platform::CodeMax& text = target.Text1();
        const CommandText before(text, std::nullopt);
        const NcResult result = procedure(before.View());
        if (!result.ok()) {
            scope.Stop();
            const QString message = frame.refusal ? frame.refusal(*result.error) : QString();
            if (frame.onFailure == OnFailure::Throw)
                throw platform::Error(5, message);
            if (frame.onFailure == OnFailure::ProgramError)
                ShowProgramError(message);
            else if (!message.isEmpty())
                platform::MsgBox(message, platform::vbCritical, Title);
            return;
        }
        if (frame.skipUnchanged && result.text == before.View()) {
            scope.Stop();
            return;
        }
        before.Write(text, result.text);
        if (frame.keepCaret)
            PutCaretBack(text, caret);

        if (frame.setTextChanged)
            TextChanged = true;
        scope.UnloadWorking();
        scope.EndBulkEdit();
        if (frame.markModified)
            target.MarkModified();
        if (frame.caretAndFocus) {
            platform::CodeMax& control = target.Text1();
            control.ExecuteCmd(Cmd::GotoLine, 0);
            control.SetFocus();
        }
        scope.DefaultPointer();
    } catch (...) {
        scope.Stop();
        if (frame.clearTextChangedOnFailure)
            TextChanged = false;
        ReportFailure(frame);
    }
}

QString OutOfRangeText(const NcError& error)
{
    return QStringLiteral("The block number for line %1 is outside the range of numbers. "
                          "The program was left unchanged.")
        .arg(error.line);
}

QString ConversionErrorText(const NcError& error)
{
    return QStringLiteral("The coordinate value at line %1 is not a number. "
                          "The program was left unchanged.")
        .arg(error.line);
}

// Shows the numbering popup; false when it was cancelled. DialogCancelled is read and cleared.
bool AskStartAndIncrement()
{
    frmNumPopup popup(MDIMain::Instance());
    const bool accepted = platform::ShowModal(popup) == QDialog::Accepted;
    const bool cancelled = DialogCancelled || !accepted;
    DialogCancelled = false;
    return !cancelled;
}

Frame InsertBlockNumbersFrame()
{
    Frame frame;
    frame.bulkEdit = true;
    frame.markModified = true;
    frame.onFailure = OnFailure::ProgramError;
    frame.clearTextChangedOnFailure = true;
    frame.refusal = OutOfRangeText;
    return frame;
}

void NumberWholeText(const Target& target, const Frame& frame)
{
    const NumberingSettings settings = CurrentNumberingSettings();
    RunWholeText(target, frame, [&settings](std::string_view text) { return InsertBlockNumbers(text, settings); });
}

void NumberSelectedLines(const Target& target)
{
    std::optional<platform::WaitCursor> wait(std::in_place);
    try {
        platform::CodeMax& text = target.Text1();
        // The selection as it is now, start before end.
        const platform::CodeMaxRange selection = text.GetSel(true);
        if (selection.IsEmpty())
            return;
        // The selected lines, whole; the last one without its line break.
        const CommandText lines(
            text, platform::CodeMaxRange{selection.startLine, 0, selection.endLine, text.GetLineLength(selection.endLine)});
        const NcResult result = NumberHighLightText(lines.View(), CurrentNumberingSettings());
        if (!result.ok())
            throw platform::Error(6, OutOfRangeText(*result.error));
        lines.Write(text, result.text);
    } catch (...) {
        wait.reset();
        platform::MsgBox(QStringLiteral("Error numbering highlighted lines."), platform::vbCritical, Title);
    }
}

// Both conversions: X, Y and Z in one pass, written once.
void ConvertWholeText(const Target& target, AxisConversion direction)
{
    Frame frame;
    frame.waitPointer = false;
    frame.setTextChanged = false;
    frame.caretAndFocus = false;
    frame.refusal = ConversionErrorText;
    const NumberingSettings settings = CurrentNumberingSettings();
    RunWholeText(target, frame, [&settings, direction](std::string_view text) {
        return ConvertAxes(text, settings, direction);
    });
}

// Looks for "G91" as written, whatever the user's last Find options, and bookmarks the lines
// that hold it. Not finding it raises the control's not-found event, whose handling clears
// SearchingG91.
void SearchG91(platform::CodeMax& text)
{
    text.ExecuteCmd(Cmd::GotoLine, 0);
    text.ExecuteCmd(Cmd::BookmarkClearAll);
    text.SetFindText(QStringLiteral("G91"));
    const bool matchCase = text.FindMatchCase();
    const bool wholeWord = text.FindWholeWord();
    const bool regExp = text.FindRegExp();
    text.SetFindMatchCase(true);
    text.SetFindWholeWord(false);
    text.SetFindRegExp(false);
    struct Restore {
        platform::CodeMax& text;
        bool matchCase, wholeWord, regExp;
        ~Restore()
        {
            text.SetFindMatchCase(matchCase);
            text.SetFindWholeWord(wholeWord);
            text.SetFindRegExp(regExp);
        }
    } restore{text, matchCase, wholeWord, regExp};
    text.ExecuteCmd(Cmd::FindMarkAll);
}

}  // namespace

NumberingSettings CurrentNumberingSettings()
{
    const auto to16 = [](int value) {
        return static_cast<std::int16_t>(
            std::clamp<int>(value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
    };
    NumberingSettings settings;
    settings.Startnumber = Startnumber;
    settings.Increment = Increment;
    settings.RestartNum = RestartNum;
    settings.N = to16(N);
    settings.Space = to16(Space);
    settings.BlankLines = to16(BlankLines);
    settings.SkipChars.clear();
    const qsizetype count = std::min<qsizetype>(CharNumber, SkipChars.size());
    for (qsizetype i = 0; i < count; ++i)
        settings.SkipChars.push_back(SkipChars[i].toStdString());
    return settings;
}

void InsertBlockNumbersCommand()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    bool selection = false;
    try {
        selection = !target->Text1().GetSel(true).IsEmpty();
    } catch (...) {
        return;
    }
    if (selection) {
        // The popup's values serve this run only.
        struct Keep {
            int start = Startnumber;
            int increment = Increment;
            ~Keep()
            {
                Startnumber = start;
                Increment = increment;
            }
        } keep;
        if (AskStartAndIncrement())
            NumberSelectedLines(*target);
        return;
    }
    if (NumPopup == 1 && !AskStartAndIncrement())
        return;
    NumberWholeText(*target, InsertBlockNumbersFrame());
}

void NumberHighLight()
{
    if (const std::optional<Target> target = Target::Active())
        NumberSelectedLines(*target);
}

void RemoveBlockNumbersCommand()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    Frame frame;
    frame.bulkEdit = true;
    frame.markModified = true;
    frame.onFailure = OnFailure::ProgramError;
    frame.clearTextChangedOnFailure = true;
    RunWholeText(*target, frame, [](std::string_view text) { return NcResult::Ok(RemoveBlockNumbers(text)); });
}

void RemoveLeadingZerosCommand()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    Frame frame;
    frame.working = Working::BeforeGoTo;
    frame.setTextChanged = false;
    frame.markModified = true;
    RunWholeText(*target, frame, [](std::string_view text) { return NcResult::Ok(RemoveLeadingZeros(text)); });
}

void InsertSpacesCommand()
{
    const std::optional<Target> target = Target::ActiveWithSeveralLines();
    if (!target)
        return;
    Frame frame;
    frame.working = Working::BeforeGoTo;
    frame.markModified = true;
    frame.onFailure = OnFailure::Message;
    frame.message = QStringLiteral("An error was encountered while inserting spaces");
    frame.clearTextChangedOnFailure = true;
    frame.refusal = [](const NcError& error) { return QString::fromStdString(ProgramErrorText(error.line)); };
    const NumberingSettings settings = CurrentNumberingSettings();
    RunWholeText(*target, frame, [&settings](std::string_view text) { return InsertSpaces(text, settings); });
}

void RemoveSpacesCommand()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    Frame frame;
    frame.working = Working::BeforeGoTo;
    frame.markModified = true;
    frame.onFailure = OnFailure::Message;
    frame.message = QStringLiteral("Error removing spaces.");
    frame.clearTextChangedOnFailure = true;
    const NumberingSettings settings = CurrentNumberingSettings();
    RunWholeText(*target, frame,
                 [&settings](std::string_view text) { return NcResult::Ok(RemoveSpaces(text, settings)); });
}

void RemoveBlankLinesCommand()
{
    const std::optional<Target> target = Target::ActiveWithSeveralLines();
    if (!target)
        return;
    Frame frame;
    frame.waitPointer = false;
    RunWholeText(*target, frame, [](std::string_view text) { return NcResult::Ok(RemoveBlankLines(text)); });
}

void DoIncremental()
{
    const std::optional<Target> target = Target::ActiveWithSeveralLines();
    if (!target)
        return;
    ConvertWholeText(*target, AxisConversion::ToIncremental);
}

void DoAbsolute()
{
    const std::optional<Target> target = Target::Active();
    struct EndSearch {
        ~EndSearch() { SearchingG91 = false; }
    } endSearch;
    try {
        if (!target || target->Text1().LineCount() == 1)
            return;
        SearchingG91 = true;
        SearchG91(target->Text1());
    } catch (...) {
        return;
    }
    // The not-found handling has reported and cleared the flag: there is nothing to convert.
    if (!SearchingG91)
        return;
    ConvertWholeText(*target, AxisConversion::ToAbsolute);
}

void NumberBlocksForCommandLine()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        throw platform::Error(91, QStringLiteral("No document is open."));
    Frame frame = InsertBlockNumbersFrame();
    frame.markModified = false;
    frame.onFailure = OnFailure::Throw;
    frame.clearTextChangedOnFailure = false;
    NumberWholeText(*target, frame);
}

void RemoveSpacesForCommandLine()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        throw platform::Error(91, QStringLiteral("No document is open."));
    Frame frame;
    frame.working = Working::BeforeGoTo;
    frame.onFailure = OnFailure::Throw;
    const NumberingSettings settings = CurrentNumberingSettings();
    RunWholeText(*target, frame,
                 [&settings](std::string_view text) { return NcResult::Ok(RemoveSpaces(text, settings)); });
}

void InstallNcCommandHooks()
{
    NumberBlocksSwitchHook = NumberBlocksForCommandLine;
    RemoveSpacesSwitchHook = RemoveSpacesForCommandLine;
}

// ---------------------------------------------------------------- marks, switch, change, shift, check

namespace {

// Gives the document's editor the focus back after a dialog or a message.
void FocusBack(const Target& target)
{
    try {
        target.Text1().SetFocus();
    } catch (...) {
    }
}

// Lines first to last, whole, with the break of the last one when another line follows it.
platform::CodeMaxRange WholeLines(const platform::CodeMax& text, int first, int last)
{
    if (last + 1 < text.LineCount())
        return platform::CodeMaxRange{first, 0, last + 1, 0};
    return platform::CodeMaxRange{first, 0, last, text.GetLineLength(last)};
}

// Text the user typed, in the document's own encoding; none when a Latin-1 document cannot hold it.
std::optional<std::string> DocumentEncoded(const platform::CodeMax& text, const QString& typed)
{
    if (text.IsUtf8())
        return typed.toStdString();
    for (const QChar c : typed)
        if (c.unicode() > 0xFF)
            return std::nullopt;
    const QByteArray latin1 = typed.toLatin1();
    return std::string(latin1.constData(), static_cast<std::size_t>(latin1.size()));
}

// The selected lines, whole, or every line without a selection, each marked, as one edit.
void MarkSelectedLines(const Target& target, std::string_view prefix, std::string_view suffix,
                       bool caretToFirstLine)
{
    std::optional<platform::WaitCursor> wait(std::in_place);
    try {
        platform::CodeMax& text = target.Text1();
        const platform::CodeMaxRange selection = text.GetSel(true);
        int first = 0;
        int last = text.LineCount() - 1;
        if (!selection.IsEmpty()) {
            first = selection.startLine;
            last = selection.endLine;
        }
        const CommandText lines(text, WholeLines(text, first, last));
        const std::string marked = MarkLines(lines.View(), prefix, suffix);
        if (marked != lines.View())
            lines.Write(text, marked);
        if (caretToFirstLine)
            text.ExecuteCmd(Cmd::GotoLine, 0);
    } catch (...) {
        wait.reset();
        ShowProgramError();
    }
}

// A replace-all command: the whole text through the procedure, one edit when it changed
// something; the caret stays where it was.
Frame ReplaceAllFrame()
{
    Frame frame;
    frame.waitPointer = false;
    frame.working = Working::None;
    frame.goToFirstLine = false;
    frame.keepCaret = true;
    frame.skipUnchanged = true;
    frame.caretAndFocus = false;
    return frame;
}

void RemoveEverywhere(Frame frame, std::string (*procedure)(std::string_view))
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    RunWholeText(*target, frame, [procedure](std::string_view text) { return NcResult::Ok(procedure(text)); });
}

char AxisLetter(qint16 value)
{
    return value >= 0 && value <= 2 ? static_cast<char>('X' + value) : '?';
}

QString ShiftRefusalText(const NcError& error)
{
    return QStringLiteral("The value at line %1 is not one decimal number and cannot be shifted. "
                          "The program was left unchanged.")
        .arg(error.line);
}

}  // namespace

QString TimeDateStamp(const QDateTime& when, const QLocale& locale)
{
    QString stamp = QStringLiteral("(") + locale.toString(when.time(), QLocale::ShortFormat) + QStringLiteral(" ") +
                    locale.toString(when.date(), QLocale::ShortFormat) + QStringLiteral(")");
    // Some locales put a narrow no-break space before "AM"/"PM": a program holds plain blanks.
    for (QChar& c : stamp)
        if (c.isSpace())
            c = QLatin1Char(' ');
    return stamp;
}

void InsertBlockSkipsCommand()
{
    if (const std::optional<Target> target = Target::Active())
        MarkSelectedLines(*target, "/", "", true);
}

void InsertCommentsCommand()
{
    if (const std::optional<Target> target = Target::Active())
        MarkSelectedLines(*target, "(", ")", false);
}

void InsertEndOfBlocksCommand()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    QString answer = platform::InputBox(QStringLiteral("Enter End of Block Character"), Title, QString());
    // The blanks at both ends go; a tab or another character is the user's.
    while (answer.startsWith(QLatin1Char(' ')))
        answer.remove(0, 1);
    while (answer.endsWith(QLatin1Char(' ')))
        answer.chop(1);
    try {
        platform::CodeMax& text = target->Text1();
        if (answer.isEmpty()) {
            text.ExecuteCmd(Cmd::GotoLine, 0);
            text.SetFocus();
            return;
        }
        const std::optional<std::string> suffix = DocumentEncoded(text, answer);
        if (!suffix) {
            platform::MsgBox(QStringLiteral("The end of block text holds characters that this document cannot "
                                            "hold. The program was left unchanged."),
                             platform::vbCritical, Title);
            FocusBack(*target);
            return;
        }
        MarkSelectedLines(*target, "", *suffix, true);
    } catch (...) {
    }
    FocusBack(*target);
}

void InsertTimeDateCommand()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    try {
        target->Text1().SetSelText(TimeDateStamp(QDateTime::currentDateTime(), QLocale::system()));
    } catch (...) {
    }
}

void RemoveBlockSkipsCommand()
{
    Frame frame = ReplaceAllFrame();
    frame.markModified = true;
    RemoveEverywhere(frame, [](std::string_view text) { return ReplaceAll(text, "/", ""); });
}

void RemoveCommentsCommand()
{
    Frame frame = ReplaceAllFrame();
    frame.markModified = true;
    RemoveEverywhere(frame, RemoveCommentBrackets);
}

void RemoveEndOfBlocksCommand()
{
    Frame frame = ReplaceAllFrame();
    frame.markModified = true;
    RemoveEverywhere(frame, [](std::string_view text) { return ReplaceAll(text, "$", ""); });
}

void SwitchXYZCommand(qint16& xSwitchValue, qint16& ySwitchValue, qint16& zSwitchValue)
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    bool cancelled = true;
    {
        frmSwitchXYZ dialog(SwitchValues{&xSwitchValue, &ySwitchValue, &zSwitchValue}, MDIMain::Instance());
        const bool accepted = platform::ShowModal(dialog) == QDialog::Accepted;
        cancelled = DialogCancelled || !accepted;
        DialogCancelled = false;
    }
    FocusBack(*target);
    if (cancelled)
        return;
    const AxisMap map{AxisLetter(xSwitchValue), AxisLetter(ySwitchValue), AxisLetter(zSwitchValue)};
    if (!map.IsPermutation()) {
        platform::MsgBox(QStringLiteral("Must have different axis"), platform::vbCritical, Title);
        FocusBack(*target);
        return;
    }
    if (map.IsIdentity())
        return;
    RunWholeText(*target, ReplaceAllFrame(),
                 [map](std::string_view text) { return NcResult::Ok(SwitchAxes(text, map)); });
}

void ChangeValueCommand()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    {
        frmChangeValue dialog(MDIMain::Instance());
        platform::ShowModal(dialog);
    }
    FocusBack(*target);
}

void ChangeValue(const QString& find, const QString& change)
{
    const std::optional<Target> target = Target::Active();
    if (!target || find.isEmpty() || change.isEmpty())
        return;
    std::optional<std::string> findBytes;
    std::optional<std::string> changeBytes;
    try {
        findBytes = DocumentEncoded(target->Text1(), find);
        changeBytes = DocumentEncoded(target->Text1(), change);
    } catch (...) {
        return;
    }
    if (!findBytes)
        return;  // the document cannot hold it, so it holds no such value
    if (!changeBytes) {
        platform::MsgBox(QStringLiteral("The new value holds characters that this document cannot hold. "
                                        "The program was left unchanged."),
                         platform::vbCritical, Title);
        return;
    }
    RunWholeText(*target, ReplaceAllFrame(), [&](std::string_view text) {
        return NcResult::Ok(ReplaceAll(text, *findBytes, *changeBytes));
    });
}

void ShiftAddressCommand()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    bool accepted = false;
    {
        frmShiftAddress dialog(MDIMain::Instance());
        accepted = platform::ShowModal(dialog) == QDialog::Accepted;
    }
    FocusBack(*target);
    if (!accepted)
        return;
    const AxisShift shift{XShiftValue, YShiftValue, ZShiftValue};
    if (shift.X == 0 && shift.Y == 0 && shift.Z == 0)
        return;
    Frame frame;
    frame.working = Working::None;
    frame.caretAndFocus = false;
    frame.skipUnchanged = true;
    frame.refusal = ShiftRefusalText;
    RunWholeText(*target, frame, [shift](std::string_view text) { return ShiftAddresses(text, shift); });
    FocusBack(*target);
}

void CheckSyntax()
{
    const std::optional<Target> target = Target::Active();
    if (!target)
        return;
    CommandScope scope(false, false);
    try {
        platform::CodeMax& text = target->Text1();
        text.ExecuteCmd(Cmd::GotoLine, 0);
        scope.ShowWorking();
        const std::optional<SyntaxFault> fault = FindSyntaxFault(CommandText(target->Text1(), std::nullopt).View());
        scope.UnloadWorking();
        if (!fault) {
            platform::MsgBox(QStringLiteral("No syntax errors found."), platform::vbOKOnly, Title);
            FocusBack(*target);
            return;
        }
        const int style = fault->kind == SyntaxFaultKind::CommentBrackets ? platform::vbExclamation : platform::vbOKOnly;
        platform::MsgBox(QString::fromStdString(SyntaxFaultMessage(*fault)), style, Title);
        platform::CodeMax& control = target->Text1();
        control.SetFocus();
        const int line = static_cast<int>(std::min<std::int64_t>(fault->line, control.LineCount() - 1));
        control.ExecuteCmd(Cmd::GotoLine, line);
        control.SetHighlightedLine(line);
    } catch (...) {
        scope.Stop();
        ShowProgramError();
    }
}
