#pragma once
// The application: the printer settings, the settings document and the
// main frame; start-up from the command line.

#include "print/CTxtPrintDoc.h"

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <memory>

namespace prentil {

class CMainFrame;

// Names a PDF file that direct printing prints into instead of the default
// printer, so that printing can run where there is no printer.
inline constexpr const char* PrintToPdfVariable = "PRENTIL_PRINT_TO_PDF";

class CTxtPrintApp {
public:
    CTxtPrintApp();
    ~CTxtPrintApp();

    // Loads the settings and applies the command line: with "/p" prints
    // every file given and returns the exit status (0 when something
    // printed); otherwise shows the window and returns -1 (run the loop).
    int InitInstance(const QStringList& arguments);

    QPrinter& Printer() { return *printer_; }
    CTxtPrintDoc& Document() { return doc_; }
    CMainFrame* Frame() const { return frame_.get(); }

    // Points the printer at the PDF file the environment names, or at the
    // default printer; false when there is neither.
    bool PrepareDirectPrinter();
    // After the printer's settings were accepted in a dialog, the settings
    // take its orientation. The printer held the settings' orientation when
    // the dialog opened, so only a change made in the dialog comes back.
    void TakeOrientationFromPrinter();

private:
    void ComputeLayout(const CTxtPrintDoc& doc, int& charsPerLine, int& linesPerPage);

    std::unique_ptr<QPrinter> printer_;
    CTxtPrintDoc doc_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace prentil
