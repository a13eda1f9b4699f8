#include "shell/MEditCommands.h"

#include "platform/codemax/CodeMax.h"
#include "platform/forms/MsgBox.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

namespace {

const QString Title = QStringLiteral("Talvex Editor");
const QString ErrorTitle = QStringLiteral("Talvex Editor Error");

void Say(const QString& text, int icon, const QString& title)
{
    platform::MsgBox(text, icon | platform::vbOKOnly, title);
}

// Keeps InsertMode with the typing mode of the active document: each
// control has its own, and the status line must show the one in front.
void FollowActiveTypingMode()
{
    if (DocumentForm* form = ActiveDocumentForm())
        if (const platform::CodeMax* text = form->Text1())
            InsertMode = !text->OverwriteMode();
}

}  // namespace

void EditSelectAll()
{
    try {
        ActiveText1().ExecuteCmd(platform::CodeMaxCmd::SelectAll);
    } catch (...) {
        Say(QStringLiteral("Select all error occured."), platform::vbCritical, Title);
    }
}

void EditCopy()
{
    try {
        platform::CodeMax& text = ActiveText1();
        if (text.CanCopy())
            text.Copy();
        else
            Say(QStringLiteral("No text selected to copy."), platform::vbCritical,
                QStringLiteral("Editor Error"));
    } catch (...) {
    }
}

void EditCut()
{
    try {
        platform::CodeMax& text = ActiveText1();
        if (text.CanCut()) {
            text.Cut();
        } else {
            Say(QStringLiteral("No text selected so cut."), platform::vbCritical, ErrorTitle);
            text.SetFocus();
        }
    } catch (...) {
    }
}

void EditDelete()
{
    ActiveText1().SetSelText(QString());
}

void EditPaste()
{
    try {
        if (Documents.empty())
            return;
        // The document table's window of the active form's slot (the same window).
        const DocumentForm* active = ActiveDocumentForm();
        if (active == nullptr)
            return;
        const int slot = SlotOf(*active);
        DocumentForm* window = DocumentWindow(slot);
        platform::CodeMax* text = window != nullptr ? window->Text1() : nullptr;
        if (text == nullptr)
            return;
        // The control says whether it takes a paste; whether there is text to
        // paste is the clipboard's to say.
        if (!text->CanPaste() || QGuiApplication::clipboard()->text().isEmpty()) {
            Say(QStringLiteral("No text selected to paste."), platform::vbCritical, ErrorTitle);
            return;
        }
        text->Paste();
        DocumentState[static_cast<size_t>(slot)].Modified = true;
        SuppressClipCapture = false;
    } catch (...) {
    }
}

void EditUndo()
{
    try {
        platform::CodeMax& text = ActiveText1();
        if (text.CanUndo()) {
            text.Undo();
        } else {
            Say(QStringLiteral("Undo buffer is empty."), platform::vbInformation, Title);
            text.SetFocus();
        }
        if (DocumentForm* form = ActiveDocumentForm())
            if (auto* redo = form->findChild<QAction*>(QStringLiteral("mnuEditRedo")))
                redo->setEnabled(text.CanRedo());
    } catch (...) {
    }
}

void EditRedo()
{
    try {
        platform::CodeMax& text = ActiveText1();
        if (text.CanRedo()) {
            text.Redo();
        } else {
            Say(QStringLiteral("Redo buffer is empty."), platform::vbInformation, Title);
            text.SetFocus();
        }
    } catch (...) {
    }
}

void ToggleInsertMode()
{
    // Errors are passed over: each step runs.
    FollowActiveTypingMode();
    try {
        if (!InsertMode) {
            InsertMode = true;
            ActiveText1().ExecuteCmd(platform::CodeMaxCmd::InsertMode);
        } else {
            InsertMode = false;
            ActiveText1().ExecuteCmd(platform::CodeMaxCmd::OverwriteMode);
        }
    } catch (...) {
    }
    UpdateStatusBar();
}

void UpdateStatusBar()
{
    try {
        MDIMain* main = MDIMain::Instance();
        if (main == nullptr)
            return;
        const auto show = [main](QLabel* label, const QString& text) { main->ShowStatusText(*label, text); };
        if (AnyDocumentsOpen()) {
            platform::CodeMax& text = ActiveText1();
            SelRange = text.GetSel(true);
            FollowActiveTypingMode();
            show(main->labelInsert, InsertMode ? QStringLiteral("Insert") : QStringLiteral("Overwrite"));
            text.SetFocus();
            show(main->lblLine, QStringLiteral("Line: ") + QString::number(SelRange.startLine + 1));
            show(main->lblColumn, QStringLiteral("Col: ") + QString::number(SelRange.startCol + 1));
            show(main->lblTotalLines, QStringLiteral("Total Lines: ") + QString::number(text.LineCount()));
        } else {
            show(main->labelInsert, QStringLiteral("Ready"));
            show(main->lblLine, QStringLiteral("Line: 0"));
            show(main->lblColumn, QStringLiteral("Col: 0"));
            show(main->lblTotalLines, QStringLiteral("Total Lines: 0"));
        }
    } catch (...) {
    }
}

void HighlightCaretLine(platform::CodeMax& text)
{
    text.SetHighlightedLine(LineHighlightOn ? text.GetSel(true).endLine : -1);
}
