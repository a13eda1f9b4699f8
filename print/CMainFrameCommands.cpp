// The main frame's command handlers.

#include "print/AboutDialog.h"
#include "print/CMainFrame.h"
#include "print/CTxtPrintApp.h"
#include "print/CTxtPrintView.h"
#include "print/FilesPage.h"
#include "print/TabPage.h"
#include "platform/forms/MsgBox.h"

#include <QFileDialog>
#include <QPageSetupDialog>

namespace prentil {

void CMainFrame::OnFileAdd()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("AddFilesDialog"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (RunModalKeepingFocus(dialog) != QDialog::Accepted)
        return;
    view_->Files()->AddFilesToList(dialog.selectedFiles());
}

void CMainFrame::OnFileRemove()
{
    view_->Files()->RemoveSelected();
}

int CMainFrame::OnFilePrint()
{
    return view_->RunPrint(CTxtPrintView::PrintMode::Dialog, false);
}

int CMainFrame::OnFilePrintSelected()
{
    return view_->RunPrint(CTxtPrintView::PrintMode::Dialog, true);
}

int CMainFrame::OnFilePrintDirect()
{
    return view_->RunPrint(CTxtPrintView::PrintMode::Direct, false);
}

int CMainFrame::OnFilePrintPreview()
{
    return view_->RunPrint(CTxtPrintView::PrintMode::Preview, false);
}

int CMainFrame::OnFilePreviewSelected()
{
    return view_->RunPrint(CTxtPrintView::PrintMode::Preview, true);
}

void CMainFrame::OnFilePrintSetup()
{
    QPageSetupDialog dialog(&app_.Printer(), this);
    dialog.setObjectName(QStringLiteral("PageSetupDialog"));
    if (RunModalKeepingFocus(dialog) == QDialog::Accepted)
        app_.TakeOrientationFromPrinter();
    app_.Document().Invalidate();
    view_->RefreshShownPage();
}

void CMainFrame::OnSaveSettings()
{
    app_.Document().SaveSettings();
}

void CMainFrame::OnRestoreSettings()
{
    app_.Document().RestoreOriginalSettings();
    view_->RefreshPages();
    Action(ID_VIEW_WARNINGS)->setChecked(app_.Document().ViewWarnings() != 0);
}

void CMainFrame::OnToggleWarnings()
{
    CTxtPrintDoc& doc = app_.Document();
    doc.SetViewWarnings(doc.ViewWarnings() != 0 ? 0 : 1);
    Action(ID_VIEW_WARNINGS)->setChecked(doc.ViewWarnings() != 0);
}

void CMainFrame::OnHelp()
{
    MessageKeepingFocus(QStringLiteral("Add the files to print with File > Add file(s) or by dragging them into "
                                       "the window, set the layout on the other pages, then print or preview.\n"
                                       "Prentil /p FILE... prints the files on the default printer and ends."),
                        platform::vbInformation, windowTitle());
}

void CMainFrame::OnAbout()
{
    AboutDialog dialog(this);
    RunModalKeepingFocus(dialog);
}

}  // namespace prentil
