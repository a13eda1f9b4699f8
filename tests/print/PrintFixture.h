#pragma once
// A Prentil application with its window, clean settings, files in a
// temporary folder, and PDF output read back with poppler's tools.

#include "print/CMainFrame.h"
#include "print/CTxtPrintApp.h"
#include "print/CTxtPrintView.h"
#include "print/FilesPage.h"
#include "PrintTestSupport.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

namespace printtest {

inline QString RunTool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline bool HavePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
           && !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

inline int PdfPages(const QString& pdf)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(RunTool("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

inline QString PdfText(const QString& pdf, int page = 0)
{
    QStringList arguments{"-layout"};
    if (page > 0)
        arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    return RunTool("pdftotext", arguments << pdf << "-");
}

// A word of the PDF with its box in points.
struct PdfWord {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

inline QList<PdfWord> PdfWords(const QString& pdf)
{
    const QString html = RunTool("pdftotext", {"-bbox", pdf, "-"});
    QList<PdfWord> words;
    int page = 0;
    static const QRegularExpression pageStart(QStringLiteral("<page "));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (const QString& line : html.split(QLatin1Char('\n'))) {
        if (line.contains(pageStart))
            ++page;
        const QRegularExpressionMatch m = word.match(line);
        if (m.hasMatch())
            words.append({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                          m.captured(4).toDouble(), m.captured(5)});
    }
    return words;
}

class AppFixture {
public:
    AppFixture()
    {
        ClearSettings();
        qunsetenv(prentil::PrintToPdfVariable);
        app = std::make_unique<prentil::CTxtPrintApp>();
    }
    ~AppFixture()
    {
        app.reset();
        qunsetenv(prentil::PrintToPdfVariable);
        ClearSettings();
    }
    // Shows the window with files on the command line.
    void Start(const QStringList& arguments = {})
    {
        app->InitInstance(arguments);
        app->Frame()->activateWindow();
        QApplication::processEvents();
    }
    QString File(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        WriteBytes(path, text);
        return path;
    }
    QString Pdf() const { return dir.filePath(QStringLiteral("out.pdf")); }
    // Direct printing goes into Pdf().
    int PrintToPdf()
    {
        QFile::remove(Pdf());
        qputenv(prentil::PrintToPdfVariable, Pdf().toLocal8Bit());
        return Frame()->OnFilePrintDirect();
    }
    prentil::CMainFrame* Frame() const { return app->Frame(); }
    prentil::CTxtPrintView* View() const { return app->Frame()->View(); }
    prentil::FilesPage* Files() const { return View()->Files(); }
    prentil::CTxtPrintDoc& Doc() const { return app->Document(); }

    QTemporaryDir dir;
    std::unique_ptr<prentil::CTxtPrintApp> app;
};

inline QByteArray Program()
{
    return "O1000 (TEST)\nN10 G00 X1.0 Y2.0\nM30\n";
}

}  // namespace printtest
