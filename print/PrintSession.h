#pragma once
// One print or preview run: checks the settings, paginates the files onto
// the printer's page, assembles the sheets and draws the sheet of each
// printed page. The view runs one for every print command.

#include "print/CTxtPrintDoc.h"
#include "print/PrintJob.h"
#include "print/PrinterTextMeasurer.h"
#include "print/SheetLayout.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

class QPainter;
class QPrinter;

namespace prentil {

class PrintSession {
public:
    // Shows a message (text, message box style, title) and returns the
    // answer; platform::MsgBox unless replaced.
    using Reporter = std::function<int(const QString& text, int style, const QString& title)>;

    explicit PrintSession(const CTxtPrintDoc& doc, Reporter reporter = {});

    // Builds the run for jobs on printer (its orientation set from the
    // settings). False when the settings are refused or the user stops at
    // the margin warning; a file that cannot be opened is reported and
    // left out.
    bool Begin(QPrinter& printer, const std::vector<PrintJob*>& jobs);
    // Pages the print loop asks for.
    int PageCount() const { return pageCount_; }
    int SheetCount() const { return static_cast<int>(sheets_.size()); }
    // The files that paginated, in print order.
    const std::vector<PrintJob*>& PrintedSet() const { return printed_; }
    // "Page %u of " N ... as the preview describes the run.
    QString PageDescription() const;
    // Draws printed page a (from 1).
    void PrintPage(QPainter& painter, int page);
    // Prints every page (or the printer's page range) onto printer; returns
    // the number of sheets printed, -1 (reported) when the printer cannot
    // be opened.
    int PrintAll(QPrinter& printer);
    void End();

private:
    const CTxtPrintDoc& doc_;
    Reporter report_;
    std::vector<PrintJob*> printed_;
    std::vector<Sheet> sheets_;
    PrintFonts fonts_;
    int pageCount_ = 0;
    int pageWidth_ = 0, pageHeight_ = 0;
    int headerOptions_ = 0, footerOptions_ = 0;
    bool wrapArrow_ = false;
    QDateTime printedAt_;
};

}  // namespace prentil
