// The menu and toolbar commands of the clipboard extender's window.

#include "clipext/frmClipMain.h"

#include "platform/codemax/CodeMax.h"
#include "platform/com/CallByName.h"
#include "platform/com/CreateObject.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/shell/Shell.h"
#include "shell/MEditor.h"

#include <QListWidget>
#include <QToolBar>

// ---------------------------------------------------------------- File

void frmClipMain::mnuFileOpen_Click()
{
    OpenHistoryFile();
}

void frmClipMain::mnuFileSave_Click()
{
    if (mnuViewDetails->isChecked())
        SaveEntryDetails();
    else
        SaveHistoryFile();
}

void frmClipMain::mnuFileClose_Click()
{
    close();
}

// ---------------------------------------------------------------- Edit

void frmClipMain::mnuEditCopy_Click()
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    // Every stored format goes back, as one content; this write of our own
    // is not recorded, a copy made anywhere after it is.
    const ClipCaptureGuard guard;
    try {
        clipboard_.ClipboardOpen(this);
        clipboard_.ClearClipboard();
        for (const clipext::ClipBlock& block : history_.Entry(entry).Blocks())
            clipboard_.SetBinaryData(block.formatID, block.bytes);
        clipboard_.ClipboardClose();
        ownWrite_ = StoredBlocksOnClipboard();
    } catch (const std::exception& failure) {
        clipboard_.ClipboardClose();
        ShowProgramError(failure);
    }
}

void frmClipMain::mnuEditDelete_Click()
{
    const int row = lstClipboard->currentRow();
    if (SelectedEntry() >= 0 && history_.Delete(row)) {
        RefreshHistoryList(-1, row);  // the row below comes up into its place
        return;
    }
    RefreshHistoryList(SelectedEntry());
}

void frmClipMain::mnuEditRename_Click()
{
    const int entry = SelectedEntry();
    if (entry < 0) {
        platform::MsgBox(QStringLiteral("Please choose an item to rename."), platform::vbInformation);
        return;
    }
    const QString title = platform::InputBox(QStringLiteral("Enter a new title for this clipboard entry:"),
                                             QString(), history_.Entry(entry).RenderString());
    if (history_.Rename(history_.RowOfEntry(entry), title))
        RefreshHistoryList(entry);
}

void frmClipMain::mnuEditMoveUp_Click()
{
    const int entry = SelectedEntry();
    if (entry >= 0 && history_.MoveUp(history_.RowOfEntry(entry)))
        RefreshHistoryList(entry);
}

void frmClipMain::mnuEditMoveDown_Click()
{
    const int entry = SelectedEntry();
    if (entry >= 0 && history_.MoveDown(history_.RowOfEntry(entry)))
        RefreshHistoryList(entry);
}

void frmClipMain::mnuEditClear_Click()
{
    history_.Clear();
    RefreshHistoryList(-1);
}

// ---------------------------------------------------------------- View

void frmClipMain::mnuViewToolbar_Click()
{
    // The action checks itself when triggered.
    const bool shown = mnuViewToolbar->isChecked();
    mnuViewToolbarCaptions->setEnabled(shown);
    cToolbar1->setVisible(shown);
}

void frmClipMain::mnuViewList_Click()
{
    mnuViewList->setChecked(true);
    mnuViewDetails->setChecked(false);
    ShowClipView();
}

void frmClipMain::mnuViewDetails_Click()
{
    mnuViewDetails->setChecked(true);
    mnuViewList->setChecked(false);
    ShowClipView();
}

// ---------------------------------------------------------------- Help

void frmClipMain::mnuHelpContents_Click()
{
    // Without a help viewer nothing opens; that is no error of ours.
    platform::ShellExecute(QStringLiteral("open"), platform::ProgramFile(HelpFile));
}

void frmClipMain::mnuHelpAbout_Click()
{
    // The About box is not to open behind a topmost window.
    const bool onTop = AlwaysOnTop();
    if (onTop)
        AlwaysOnTop(false);
    try {
        const std::unique_ptr<QObject> about = platform::CreateObject(QStringLiteral("KroOlvent.clsAbout"));
        platform::CallByName(about.get(), QStringLiteral("ShowAbout"), platform::VbMethod);
    } catch (const std::exception& failure) {
        ShowProgramError(failure);
    }
    if (onTop)
        AlwaysOnTop(true);
}

// ---------------------------------------------------------------- toolbar

void frmClipMain::cToolbar1_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Exit"))
        mnuFileClose_Click();
    else if (key == QLatin1String("Copy"))
        mnuEditCopy_Click();
    else if (key == QLatin1String("Open"))
        mnuFileOpen_Click();
    else if (key == QLatin1String("Save"))
        mnuFileSave_Click();
    else if (key == QLatin1String("Delete"))
        mnuEditDelete_Click();
    else if (key == QLatin1String("List"))
        mnuViewList_Click();
    else if (key == QLatin1String("Details"))
        mnuViewDetails_Click();
    else if (key == QLatin1String("Move Up"))
        mnuEditMoveUp_Click();
    else if (key == QLatin1String("Move Down"))
        mnuEditMoveDown_Click();
}
