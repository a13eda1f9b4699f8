#include "print/PrintSession.h"

#include "print/PrintStrings.h"
#include "print/SheetPainter.h"
#include "print/TabPage.h"
#include "platform/forms/MsgBox.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace prentil {

PrintSession::PrintSession(const CTxtPrintDoc& doc, Reporter reporter)
    : doc_(doc), report_(std::move(reporter))
{
    if (!report_)
        report_ = [](const QString& text, int style, const QString& title) {
            return MessageKeepingFocus(text, style, title);
        };
}

bool PrintSession::Begin(QPrinter& printer, const std::vector<PrintJob*>& jobs)
{
    End();
    const bool odd = doc_.PrintOddPages() != 0;
    const bool even = doc_.PrintEvenPages() != 0;
    if (!odd && !even) {
        report_(IDS_NO_PAGES_CHOSEN, platform::vbExclamation, IDS_ERROR);
        return false;
    }
    if (doc_.Rows() < 1 || doc_.Columns() < 1) {
        report_(IDS_INVALID_ROWS_COLUMNS, platform::vbExclamation, IDS_ERROR);
        return false;
    }

    // The painter's origin is the printable area's corner.
    printer.setPageOrientation(doc_.Orientation() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPageLayout layout = printer.pageLayout();
    layout.setMode(QPageLayout::StandardMode);
    printer.setPageMargins(layout.minimumMargins(), layout.units());
    layout = printer.pageLayout();
    const int dpi = printer.resolution();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    const DeviceCaps caps{paint.width(), paint.height(), dpi, dpi, full.width(), full.height(),
                          paint.x() - full.x(), paint.y() - full.y()};

    const MarginSets margins = ComputeMargins(caps, doc_.TopMargin(), doc_.BottomMargin(), doc_.LeftMargin(),
                                              doc_.RightMargin());
    if (MarginsOutsidePrintable(margins, caps, doc_.SwapMargins() != 0) && doc_.ViewWarnings() != 0
        && report_(IDS_MARGIN_WARNING, platform::vbYesNo | platform::vbExclamation, IDS_WARNING) == platform::vbNo)
        return false;

    const int columns = doc_.Columns();
    const int rows = doc_.Rows();
    pageWidth_ = (margins.normal.right - margins.normal.left) / columns;
    pageHeight_ = (margins.normal.bottom - margins.normal.top) / rows;
    headerOptions_ = doc_.HeaderOptions();
    footerOptions_ = doc_.FooterOptions();
    wrapArrow_ = doc_.PrintWrapArrow() != 0;
    const int pixelHeight = static_cast<int>(std::clamp<qint64>(qint64(doc_.PointHeight()) * dpi / 72, 1, 100000));
    fonts_ = MakePrintFonts(doc_.Font(), pixelHeight, pageWidth_, &printer);
    const PrinterTextMeasurer measurer(fonts_, &printer);
    const PageMetrics metrics = ComputePageMetrics(measurer, pageWidth_, pageHeight_, wrapArrow_, headerOptions_,
                                                   footerOptions_);
    if (pageWidth_ < 1 || pageHeight_ < 1 || !metrics.Fits()) {
        report_(IDS_PAGE_TOO_SMALL, platform::vbExclamation, IDS_ERROR);
        return false;
    }

    std::vector<SheetFile> files;
    for (PrintJob* job : jobs) {
        if (!job->Paginate(metrics, doc_.TabSpacingFor(job->Extension()), doc_.LineWrapOption())) {
            report_(IDS_CANNOT_OPEN.arg(job->FullPath()), platform::vbOKOnly, QString());
            continue;
        }
        printed_.push_back(job);
        files.push_back({job->PageCount(), job->BaseName(), job->Extension()});
    }
    SheetGrid grid;
    grid.rows = rows;
    grid.columns = columns;
    grid.pageWidth = pageWidth_;
    grid.pageHeight = pageHeight_;
    grid.pageBreakOption = doc_.PageBreakOption();
    grid.swapMargins = doc_.SwapMargins() != 0;
    grid.margins = margins;
    sheets_ = AssembleSheets(files, grid, [this](const QString& a, const QString& b) { return doc_.BothListed(a, b); });
    pageCount_ = PrintedPageCount(static_cast<int>(sheets_.size()), odd, even);
    printedAt_ = QDateTime::currentDateTime();
    return true;
}

QString PrintSession::PageDescription() const
{
    const QString n = QString::number(pageCount_);
    QString first = IDS_PAGE_OF;
    QString second = IDS_PAGES_OF;
    first.replace(QStringLiteral("%u"), QStringLiteral("%1"));
    second.replace(QStringLiteral("%u-%u"), QStringLiteral("%1-%2"));
    return first + n + second + n + QLatin1Char('\n');
}

void PrintSession::PrintPage(QPainter& painter, int page)
{
    const int sheetNumber = SheetForPage(page, pageCount_, doc_.PrintOddPages() != 0, doc_.PrintEvenPages() != 0,
                                         doc_.ReverseOrder() != 0);
    if (sheetNumber < 1 || sheetNumber > static_cast<int>(sheets_.size()))
        return;
    VirtualPageStyle style;
    style.pageWidth = pageWidth_;
    style.pageHeight = pageHeight_;
    style.headerOptions = headerOptions_;
    style.footerOptions = footerOptions_;
    style.wrapArrow = wrapArrow_;
    style.printed = printedAt_;
    for (const Slot& slot : sheets_[static_cast<std::size_t>(sheetNumber - 1)].places) {
        DrawVirtualPage(painter, *printed_[static_cast<std::size_t>(slot.file)], fonts_, style, slot.x, slot.y,
                        slot.page);
        if (slot.leftNeighbour)
            painter.drawLine(slot.x, slot.y, slot.x, slot.y + pageHeight_);
        if (slot.topNeighbour)
            painter.drawLine(slot.x, slot.y, slot.x + pageWidth_, slot.y);
    }
}

int PrintSession::PrintAll(QPrinter& printer)
{
    int first = 1;
    int last = pageCount_;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pageCount_, printer.toPage() > 0 ? printer.toPage() : pageCount_);
    }
    if (first > last)
        return 0;
    QPainter painter;
    if (!painter.begin(&printer)) {
        report_(IDS_PRINT_FAILED, platform::vbExclamation, IDS_ERROR);
        return -1;
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        PrintPage(painter, page);
    }
    painter.end();
    return last - first + 1;
}

void PrintSession::End()
{
    for (PrintJob* job : printed_)
        job->Reset();
    printed_.clear();
    sheets_.clear();
    pageCount_ = 0;
}

}  // namespace prentil
