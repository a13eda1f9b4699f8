#include "print/CTxtPrintView.h"

#include "print/CMainFrame.h"
#include "print/CTxtPrintApp.h"
#include "print/FileExtPage.h"
#include "print/FilesPage.h"
#include "print/FontPage.h"
#include "print/HeaderFooterPage.h"
#include "print/LayoutPage.h"
#include "print/PaperPage.h"
#include "print/PrintStrings.h"
#include "print/TabPage.h"
#include "platform/forms/MsgBox.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace prentil {

CTxtPrintView::CTxtPrintView(CTxtPrintApp& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("CTxtPrintView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    tabControl = new QTabWidget(this);
    tabControl->setObjectName(QStringLiteral("tabControl"));
    tabControl->setTabPosition(QTabWidget::South);
    tabControl->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 100px; height: 20px; }"));
    CTxtPrintDoc& doc = app.Document();
    filesPage_ = new FilesPage(doc);
    paperPage = new PaperPage(doc);
    layoutPage = new LayoutPage(doc);
    headerFooterPage = new HeaderFooterPage(doc);
    fontPage = new FontPage(doc);
    fileExtPage = new FileExtPage(doc);
    tabControl->addTab(filesPage_, IDS_TAB_FILES);
    tabControl->addTab(paperPage, IDS_TAB_PAPER);
    tabControl->addTab(layoutPage, IDS_TAB_PAGE);
    tabControl->addTab(headerFooterPage, IDS_TAB_HEADER_FOOTER);
    tabControl->addTab(fontPage, IDS_TAB_FONT);
    tabControl->addTab(fileExtPage, IDS_TAB_FILE_EXT);
    layout->addWidget(tabControl);
}

void CTxtPrintView::RefreshPages()
{
    for (int i = 0; i < tabControl->count(); ++i)
        static_cast<TabPage*>(tabControl->widget(i))->RefreshFromDocument();
}

void CTxtPrintView::RefreshShownPage()
{
    if (auto* page = static_cast<TabPage*>(tabControl->currentWidget()))
        page->RefreshFromDocument();
}

int CTxtPrintView::PrintOn(QPrinter& printer, const std::vector<PrintJob*>& jobs)
{
    PrintSession session(app_.Document(), reporter_);
    if (!session.Begin(printer, jobs))
        return -1;
    const int sheets = session.PrintedSet().empty() ? 0 : session.PrintAll(printer);
    session.End();
    return sheets;
}

int CTxtPrintView::RunPrint(PrintMode mode, bool selectedOnly)
{
    // Direct printing always prints every file.
    selectedOnly_ = mode != PrintMode::Direct && selectedOnly;
    const std::vector<PrintJob*> jobs = selectedOnly_ ? filesPage_->SelectedJobs() : filesPage_->AllJobs();
    QPrinter& printer = app_.Printer();
    int result = -1;
    switch (mode) {
    case PrintMode::Direct: {
        if (!app_.PrepareDirectPrinter()) {
            if (reporter_)
                reporter_(IDS_NO_PRINTER, platform::vbExclamation, IDS_ERROR);
            else
                MessageKeepingFocus(IDS_NO_PRINTER, platform::vbExclamation, IDS_ERROR);
            break;
        }
        result = PrintOn(printer, jobs);
        break;
    }
    case PrintMode::Dialog: {
        QPrintDialog dialog(&printer, this);
        dialog.setObjectName(QStringLiteral("PrintDialog"));
        if (RunModalKeepingFocus(dialog) != QDialog::Accepted)
            break;
        app_.TakeOrientationFromPrinter();
        result = PrintOn(printer, jobs);
        break;
    }
    case PrintMode::Preview: {
        // The settings are checked before the preview opens: what is
        // refused opens no preview at all.
        PrintSession session(app_.Document(), reporter_);
        if (!session.Begin(printer, jobs))
            break;
        QPrintPreviewDialog preview(&printer, this);
        preview.setObjectName(QStringLiteral("PrintPreviewDialog"));
        // The first preview is the frame's size and 200 pixels more each
        // way; later ones come back where the last one was left. Either
        // way it stays on the screen.
        const QRect wanted = previewGeometry_.isValid()
                                 ? previewGeometry_
                                 : QRect(window()->geometry().topLeft(), window()->size() + QSize(200, 200));
        preview.setGeometry(FitOnScreen(wanted, *window()));
        int previewed = -1;
        bool begun = true;
        connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* target) {
            // A later request (the page changed in the preview) lays the run out again.
            if (!begun && !session.Begin(*target, jobs)) {
                previewed = -1;
                return;
            }
            begun = false;
            previewed = session.PrintedSet().empty() ? 0 : session.PrintAll(*target);
        });
        RunModalKeepingFocus(preview);
        session.End();
        previewGeometry_ = preview.geometry();
        result = previewed;
        break;
    }
    }
    app_.Document().Invalidate();
    RefreshShownPage();
    return result;
}

}  // namespace prentil
