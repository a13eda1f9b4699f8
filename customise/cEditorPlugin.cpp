#include "customise/cEditorPlugin.h"

#include "platform/codemax/CodeMax.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/MEditCommands.h"
#include "shell/MEditor.h"

namespace {

namespace Cmd = platform::CodeMaxCmd;

void Run(int command, std::optional<long long> data = std::nullopt)
{
    ActiveText1().ExecuteCmd(command, data);
}

// The active window's slot marked modified; its Tag must name a slot of the table.
void MarkModified()
{
    const DocumentForm* window = ActiveDocumentForm();
    if (window == nullptr)
        throw platform::Error(91, QStringLiteral("Object variable or With block variable not set"),
                              QStringLiteral(".cEditorPlugin"));
    const int slot = SlotOf(*window);
    if (slot < 1 || slot > DocumentSlotCount())
        throw platform::Error(9, QStringLiteral("Subscript out of range"), QStringLiteral(".cEditorPlugin"));
    DocumentState[static_cast<size_t>(slot)].Modified = true;
}

// After an edit command, which does nothing without a document.
void MarkModifiedIfOpen()
{
    if (ActiveDocumentForm() != nullptr)
        MarkModified();
}

// Blanks only, as the editor trims everywhere: tabs are part of the line.
QString TrimBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == u' ')
        ++start;
    while (end > start && text.at(end - 1) == u' ')
        --end;
    return text.mid(start, end - start);
}

}  // namespace

cEditorPlugin::cEditorPlugin(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("cEditorPlugin"));
}

cEditorPlugin::~cEditorPlugin() = default;

void cEditorPlugin::AddText(const QString& text)
{
    ActiveText1().AddText(text);
    TextChanged = true;
    MarkModified();
}

void cEditorPlugin::Copy()
{
    EditCopy();
}

void cEditorPlugin::Find()
{
    Run(Cmd::Find);
}

void cEditorPlugin::Replace()
{
    Run(Cmd::FindReplace);
    MarkModified();
}

void cEditorPlugin::Paste()
{
    EditPaste();
    MarkModifiedIfOpen();
}

void cEditorPlugin::GoToDlg()
{
    platform::CodeMax& text = ActiveText1();
    text.ExecuteCmd(Cmd::GotoLine, -1);
    range_ = text.GetSel(false);
    // The line gone to is highlighted (with the option on), not the one the caret left.
    HighlightCaretLine(text);
}

void cEditorPlugin::PageHome()
{
    Run(Cmd::DocumentStart);
}

void cEditorPlugin::PageEnd()
{
    Run(Cmd::DocumentEnd);
}

void cEditorPlugin::Cut()
{
    EditCut();
}

void cEditorPlugin::Undo()
{
    EditUndo();
    MarkModifiedIfOpen();
}

void cEditorPlugin::Redo()
{
    EditRedo();
}

void cEditorPlugin::SplitVert()
{
    platform::CodeMax& text = ActiveText1();
    text.SetEnableVSplitter(true);
    text.SetHSplitterPos(text.width() / 2.0);
}

void cEditorPlugin::SplitHorz()
{
    platform::CodeMax& text = ActiveText1();
    text.SetEnableHSplitter(true);
    text.SetVSplitterPos(text.height() / 2.0);
}

void cEditorPlugin::LineHome()
{
    Run(Cmd::Home);
}

void cEditorPlugin::LineEnd()
{
    Run(Cmd::LineEnd);
}

void cEditorPlugin::SelectAll()
{
    EditSelectAll();
}

void cEditorPlugin::LineDown()
{
    Run(Cmd::LineDown);
}

void cEditorPlugin::LineUp()
{
    Run(Cmd::LineUp);
}

QString cEditorPlugin::GetLine(int lineNumber)
{
    try {
        // A number below 1 is a line outside the text, as is any past its end.
        return TrimBlanks(ActiveText1().GetLine(lineNumber >= 1 ? lineNumber - 1 : -1));
    } catch (...) {
        ShowProgramError();
        return QString();
    }
}

void cEditorPlugin::InsertLine()
{
    Run(Cmd::NewLine);
    MarkModified();
}

void cEditorPlugin::ClearSplits()
{
    try {
        platform::CodeMax& text = ActiveText1();
        if (text.EnableHSplitter())
            text.SetEnableHSplitter(false);
        if (text.EnableVSplitter())
            text.SetEnableVSplitter(false);
        text.SetEnableHSplitter(true);
        text.SetEnableVSplitter(true);
    } catch (...) {
    }
}

void cEditorPlugin::GotoLine(int lineNumber)
{
    try {
        platform::CodeMax& text = ActiveText1();
        // Below 1 as well: 0 would otherwise open the line prompt.
        if (lineNumber < 1 || lineNumber > text.LineCount()) {
            platform::MsgBox(QStringLiteral("Invalid line number"), platform::vbInformation,
                             QStringLiteral("Talvex Editor"));
            return;
        }
        text.ExecuteCmd(Cmd::GotoLine, lineNumber - 1);
    } catch (...) {
    }
}

QString cEditorPlugin::TextAll()
{
    return ActiveText1().Text();
}

void cEditorPlugin::ReplaceAll(const QString& findText, const QString& replaceText)
{
    platform::CodeMax& text = ActiveText1();
    text.SetFindText(findText);
    text.SetReplText(replaceText);
    text.ExecuteCmd(Cmd::ReplaceAll);
}

void cEditorPlugin::FindText(const QString& findText)
{
    platform::CodeMax& text = ActiveText1();
    text.SetFindText(findText);
    text.ExecuteCmd(Cmd::FindNext);
}

void cEditorPlugin::SelectLineEnd()
{
    // Extends the document's own selection: a keystroke would reach the
    // plug-in's window, which has the focus while it runs.
    DocumentForm* window = ActiveDocumentForm();
    if (platform::CodeMax* text = window != nullptr ? window->Text1() : nullptr)
        text->ExecuteCmd(Cmd::LineEndExtend);
}

void cEditorPlugin::DeleteSelection()
{
    Run(Cmd::Delete);
}

QString cEditorPlugin::ApplicationPath()
{
    return platform::ProgramFolder();
}
