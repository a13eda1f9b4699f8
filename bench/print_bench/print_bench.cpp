// Prentil's benchmark. Prints figures; asserts nothing.
//
//  1. Pagination of programs of 250,000, 500,000 and 1,000,000 lines on a
//     measurer with fixed widths (runs interleaved across the sizes).
//  2. 100,000 lines printed 2-up to PDF through a PrintSession, beside a
//     bare QPainter loop that draws the same rows onto the same PDF pages
//     (runs interleaved).
//  3. Long lines: one line of 1, 2 and 4 MB beside the same bytes in lines
//     of 80 bytes, paginated on fixed widths and printed 2-up to PDF (runs
//     interleaved across the sizes and the two shapes).
//  4. The peak resident memory after each part.
//
// print_bench [runs] [long-line runs]   (default 5 runs of each, 3 of part 3)

#include "print/CTxtPrintDoc.h"
#include "print/PrintJob.h"
#include "print/PrintSession.h"
#include "print/PrinterTextMeasurer.h"
#include "platform/files/AtomicWrite.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

using namespace prentil;

namespace {

// The bench's input files go through the suite's one file writer.
bool WriteBenchFile(const QString& path, const QByteArray& bytes)
{
    if (platform::WriteFileAtomically(path, bytes))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// An NC program of lines lines.
bool WriteProgram(const QString& path, int lines)
{
    QByteArray text;
    for (int i = 1; i <= lines; ++i) {
        text += 'N';
        text += QByteArray::number(i * 10);
        text += i % 5 == 0 ? " G02 X12.345 Y-6.789 I1.5 J-2.25 F150\n" : " G01 X12.345 Y-6.789 F200\n";
    }
    return WriteBenchFile(path, text);
}

// bytes bytes of NC words separated by blanks: on one line when
// lineLength is 0, else in lines of lineLength bytes (their LF included).
bool WriteLongText(const QString& path, qsizetype bytes, int lineLength)
{
    static const QByteArray words = "N10 G01 X12.345 Y-6.789 F200 G02 X1.5 Y-2.25 I1.5 J-2.25 ";
    QByteArray text;
    text.reserve(bytes);
    while (text.size() < bytes)
        text += words;
    text.truncate(bytes);
    if (lineLength > 0)
        for (qsizetype end = lineLength - 1; end < bytes; end += lineLength)
            text[end] = '\n';
    return WriteBenchFile(path, text);
}

struct Stats {
    double median = 0, min = 0, max = 0;
};

Stats Summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

long PeakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void PreparePdf(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

// The bare loop: the rows of the run's virtual pages, two to a PDF page as
// the session places them (less the margins), with the text font alone.
double BareLoop(const QString& pdf, const CTxtPrintDoc& doc, QPrinter& printer,
                const std::vector<std::vector<QString>>& pageRows, const std::vector<QPoint>& origins)
{
    QElapsedTimer timer;
    timer.start();
    PreparePdf(printer, pdf);
    QPainter painter(&printer);
    const PrintFonts fonts = MakePrintFonts(doc.Font(), doc.PointHeight() * printer.resolution() / 72, 100, &printer);
    painter.setFont(fonts.text);
    const QFontMetrics metrics(fonts.text, &printer);
    const int ascent = metrics.ascent();
    const int L = metrics.lineSpacing();
    const int columns = doc.Columns();
    for (std::size_t page = 0; page < pageRows.size(); ++page) {
        if (page > 0 && page % static_cast<std::size_t>(columns) == 0)
            printer.newPage();
        const QPoint origin = origins[page];
        int y = origin.y();
        for (const QString& row : pageRows[page]) {
            painter.drawText(QPoint(origin.x(), y + ascent), row);
            y += L;
        }
    }
    painter.end();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;

    // 1. Pagination.
    const std::vector<int> sizes{250000, 500000, 1000000};
    std::vector<QString> paths;
    for (int size : sizes) {
        paths.push_back(dir.filePath(QStringLiteral("p%1.nc").arg(size)));
        WriteProgram(paths.back(), size);
    }
    const FixedTextMeasurer measurer(50, 30, 60);
    const PageMetrics metrics = ComputePageMetrics(measurer, 6000, 8000, true, 259, 252);
    std::vector<std::vector<double>> times(sizes.size());
    int pages = 0;
    for (int run = 0; run < runs; ++run) {
        for (std::size_t s = 0; s < sizes.size(); ++s) {
            PrintJob job(paths[s]);
            QElapsedTimer timer;
            timer.start();
            job.Paginate(metrics, 4, WrapWords);
            times[s].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            pages = job.PageCount();
        }
    }
    std::printf("Pagination on fixed widths (%d characters, %d lines a page), %d runs interleaved:\n",
                metrics.charsPerLine, metrics.linesPerPage, runs);
    for (std::size_t s = 0; s < sizes.size(); ++s) {
        const Stats st = Summarise(times[s]);
        std::printf("  %8d lines: median %7.1f ms (min %7.1f, max %7.1f), %6.1f ns a line\n", sizes[s], st.median,
                    st.min, st.max, st.median * 1e6 / sizes[s]);
    }
    std::printf("  1,000,000 lines give %d pages\n", pages);
    std::printf("  peak memory so far (the program's own start included): %ld KiB\n", PeakMemoryKb());

    // 2. Printing 100,000 lines 2-up to PDF.
    const QString source = dir.filePath(QStringLiteral("print.nc"));
    WriteProgram(source, 100000);
    CTxtPrintDoc doc;  // built-in defaults: 2 columns, landscape, header and footer
    QPrinter printer(QPrinter::HighResolution);
    PreparePdf(printer, dir.filePath(QStringLiteral("warm.pdf")));

    // The rows of each virtual page and where the session draws them, for the bare loop.
    PrintJob job(source);
    std::vector<PrintJob*> jobs{&job};
    PrintSession probe(doc, [](const QString&, int, const QString&) { return 6; });
    probe.Begin(printer, jobs);
    std::vector<std::vector<QString>> pageRows;
    std::vector<QPoint> origins;
    const PageMetrics& m = job.Metrics();
    const int vpWidth = (job.Metrics().textWidth + 2 * m.indent);
    for (int p = 1; p <= job.PageCount(); ++p) {
        std::vector<QString> rows;
        job.ForEachRow(p, [&](const PrintJob::PageRow& row) { rows.push_back(row.text.toString()); });
        pageRows.push_back(std::move(rows));
        const int column = (p - 1) % doc.Columns();
        const int top = m.lineHeight / 2 + (m.headerBand != 0 ? m.headerBand + m.lineHeight / 2 : 0);
        origins.emplace_back(column * vpWidth + m.indent, top);
    }
    const int sheets = probe.SheetCount();
    probe.End();

    std::vector<double> ours, bare;
    for (int run = 0; run < runs; ++run) {
        {
            QElapsedTimer timer;
            timer.start();
            PreparePdf(printer, dir.filePath(QStringLiteral("ours.pdf")));
            PrintSession session(doc, [](const QString&, int, const QString&) { return 6; });
            session.Begin(printer, jobs);
            session.PrintAll(printer);
            session.End();
            ours.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        bare.push_back(BareLoop(dir.filePath(QStringLiteral("bare.pdf")), doc, printer, pageRows, origins));
    }
    const Stats o = Summarise(ours);
    const Stats b = Summarise(bare);
    std::printf("Printing 100,000 lines 2-up to PDF (%d sheets), %d runs interleaved:\n", sheets, runs);
    std::printf("  Prentil (paginate, headers, footers, rows): median %7.1f ms (min %7.1f, max %7.1f)\n", o.median,
                o.min, o.max);
    std::printf("  bare QPainter loop (rows only, from memory): median %7.1f ms (min %7.1f, max %7.1f)\n", b.median,
                b.min, b.max);
    std::printf("  ratio of medians: %.2f\n", o.median / b.median);
    std::printf("  peak memory so far: %ld KiB\n", PeakMemoryKb());

    // 3. Long lines beside the same bytes in 80-byte lines.
    const int longRuns = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    const std::vector<int> megabytes{1, 2, 4};
    struct Shape {
        const char* name;
        int lineLength;
    };
    const Shape shapes[] = {{"one line", 0}, {"80-byte lines", 80}};
    std::vector<std::vector<QString>> longPaths(megabytes.size());
    for (std::size_t s = 0; s < megabytes.size(); ++s)
        for (const Shape& shape : shapes) {
            longPaths[s].push_back(dir.filePath(QStringLiteral("long%1-%2.nc").arg(megabytes[s]).arg(shape.lineLength)));
            WriteLongText(longPaths[s].back(), qsizetype(megabytes[s]) * 1000 * 1000, shape.lineLength);
        }
    std::vector<std::vector<std::vector<double>>> paginate(megabytes.size(), std::vector<std::vector<double>>(2));
    std::vector<std::vector<std::vector<double>>> print(megabytes.size(), std::vector<std::vector<double>>(2));
    std::vector<std::vector<int>> longSheets(megabytes.size(), std::vector<int>(2));
    for (int run = 0; run < longRuns; ++run) {
        for (std::size_t s = 0; s < megabytes.size(); ++s) {
            for (std::size_t k = 0; k < 2; ++k) {
                PrintJob longJob(longPaths[s][k]);
                QElapsedTimer timer;
                timer.start();
                longJob.Paginate(metrics, 4, WrapWords);
                paginate[s][k].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

                std::vector<PrintJob*> longJobs{&longJob};
                timer.restart();
                PreparePdf(printer, dir.filePath(QStringLiteral("long.pdf")));
                PrintSession session(doc, [](const QString&, int, const QString&) { return 6; });
                session.Begin(printer, longJobs);
                longSheets[s][k] = session.PrintAll(printer);
                session.End();
                print[s][k].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            }
        }
    }
    std::printf("Long lines (NC words, wrap words), %d runs interleaved:\n", longRuns);
    std::printf("  paginate on fixed widths (%d characters a row) / print 2-up to PDF:\n", metrics.charsPerLine);
    for (std::size_t s = 0; s < megabytes.size(); ++s)
        for (std::size_t k = 0; k < 2; ++k) {
            const Stats pg = Summarise(paginate[s][k]);
            const Stats pr = Summarise(print[s][k]);
            std::printf("  %d MB %-14s paginate median %8.1f ms (min %8.1f, max %8.1f); print median %8.1f ms "
                        "(min %8.1f, max %8.1f), %d sheets\n",
                        megabytes[s], shapes[k].name, pg.median, pg.min, pg.max, pr.median, pr.min, pr.max,
                        longSheets[s][k]);
        }
    std::printf("Peak memory of the whole run: %ld KiB\n", PeakMemoryKb());
    return 0;
}
