#pragma once
// The view: a tab control with the file list and the five settings pages,
// and the print commands that run a PrintSession over the listed files.

#include "print/CTxtPrintDoc.h"
#include "print/PrintSession.h"

#include <QRect>
#include <QTabWidget>
#include <QWidget>

class QPrinter;

namespace prentil {

class FilesPage;
class PaperPage;
class LayoutPage;
class HeaderFooterPage;
class FontPage;
class FileExtPage;
class TabPage;
class CTxtPrintApp;

class CTxtPrintView : public QWidget {
    Q_OBJECT
public:
    CTxtPrintView(CTxtPrintApp& app, QWidget* parent = nullptr);

    enum class PrintMode { Dialog, Direct, Preview };
    // Runs one print command over all files or the selected ones. Returns
    // the number of sheets printed (or previewed); -1 when nothing could
    // print (settings refused, no printer, the dialog cancelled).
    int RunPrint(PrintMode mode, bool selectedOnly);

    // Has every page fill its controls from the document again.
    void RefreshPages();
    void RefreshShownPage();

    FilesPage* Files() const { return filesPage_; }
    QTabWidget* tabControl = nullptr;
    PaperPage* paperPage = nullptr;
    LayoutPage* layoutPage = nullptr;
    HeaderFooterPage* headerFooterPage = nullptr;
    FontPage* fontPage = nullptr;
    FileExtPage* fileExtPage = nullptr;

    // Messages of print runs; platform::MsgBox unless replaced (by "/p").
    void SetReporter(PrintSession::Reporter reporter) { reporter_ = std::move(reporter); }
    const PrintSession::Reporter& Reporter() const { return reporter_; }

private:
    int PrintOn(QPrinter& printer, const std::vector<PrintJob*>& jobs);

    CTxtPrintApp& app_;
    FilesPage* filesPage_ = nullptr;
    bool selectedOnly_ = false;
    QRect previewGeometry_;
    PrintSession::Reporter reporter_;
};

}  // namespace prentil
