#include "print/CTxtPrintApp.h"

#include "print/CMainFrame.h"
#include "print/CTxtPrintView.h"
#include "print/FilesPage.h"
#include "print/PrintCommandLineInfo.h"
#include "print/PrintJob.h"
#include "print/PrintStrings.h"
#include "print/PrinterTextMeasurer.h"
#include "print/SheetLayout.h"
#include "platform/forms/MsgBox.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPrinterInfo>
#include <algorithm>
#include <cstdio>

namespace prentil {

CTxtPrintApp::CTxtPrintApp() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    doc_.SetPrinterDefaultOrientation(printer_->pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0);
    doc_.SetOrientationSink([this](int landscape) {
        printer_->setPageOrientation(landscape == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    });
    doc_.SetLayoutCalculator(
        [this](const CTxtPrintDoc& doc, int& cpl, int& lpp) { ComputeLayout(doc, cpl, lpp); });
}

CTxtPrintApp::~CTxtPrintApp() = default;

bool CTxtPrintApp::PrepareDirectPrinter()
{
    const QString pdf = qEnvironmentVariable(PrintToPdfVariable);
    if (!pdf.isEmpty()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdf);
        return true;
    }
    if (printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty())
        return true;
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return false;
    printer_->setOutputFormat(QPrinter::NativeFormat);
    printer_->setPrinterName(defaultPrinter.printerName());
    return printer_->isValid();
}

void CTxtPrintApp::TakeOrientationFromPrinter()
{
    doc_.SetOrientation(printer_->pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0);
}

void CTxtPrintApp::ComputeLayout(const CTxtPrintDoc& doc, int& charsPerLine, int& linesPerPage)
{
    // One virtual page on the application's printer, as printing would lay it out.
    QPrinter& printer = *printer_;
    const QPageLayout saved = printer.pageLayout();
    printer.setPageOrientation(doc.Orientation() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QPageLayout layout = printer.pageLayout();
    const int dpi = printer.resolution();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    const DeviceCaps caps{paint.width(), paint.height(), dpi, dpi, full.width(), full.height(),
                          paint.x() - full.x(), paint.y() - full.y()};
    printer.setPageLayout(saved);
    const MarginSets margins = ComputeMargins(caps, doc.TopMargin(), doc.BottomMargin(), doc.LeftMargin(),
                                              doc.RightMargin());
    if (doc.Columns() < 1 || doc.Rows() < 1)
        return;
    const int width = (margins.normal.right - margins.normal.left) / doc.Columns();
    const int height = (margins.normal.bottom - margins.normal.top) / doc.Rows();
    const int pixelHeight = static_cast<int>(std::clamp<qint64>(qint64(doc.PointHeight()) * dpi / 72, 1, 100000));
    const PrintFonts fonts = MakePrintFonts(doc.Font(), pixelHeight, width, &printer);
    const PrinterTextMeasurer measurer(fonts, &printer);
    const PageMetrics metrics = ComputePageMetrics(measurer, width, height, doc.PrintWrapArrow() != 0,
                                                   doc.HeaderOptions(), doc.FooterOptions());
    charsPerLine = std::max(0, metrics.charsPerLine);
    linesPerPage = std::max(0, metrics.linesPerPage);
}

int CTxtPrintApp::InitInstance(const QStringList& arguments)
{
    doc_.LoadSettings();
    const PrintCommandLineInfo info =
        ParsePrintCommandLine(arguments, [](const QString& path) { return QFileInfo(path).isFile(); });
    frame_ = std::make_unique<CMainFrame>(*this);
    frame_->View()->Files()->AddFilesToList(info.files);
    if (info.printAndExit) {
        // No window: messages go to the error output and a margin warning
        // takes its default answer, so an unattended run never waits.
        const auto report = [](const QString& text, int style, const QString&) {
            std::fprintf(stderr, "Prentil: %s\n", qPrintable(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '))));
            return platform::MsgBoxDefaultResult(style);
        };
        if (info.files.isEmpty()) {
            report(IDS_NO_FILES_GIVEN, platform::vbOKOnly, IDS_ERROR);
            return 1;
        }
        frame_->View()->SetReporter(report);
        const int sheets = frame_->OnFilePrintDirect();
        return sheets > 0 ? 0 : 1;
    }
    frame_->RestorePlacement();
    frame_->show();
    return -1;
}

}  // namespace prentil
