#include "shell/MPrinting.h"

#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "shell/CommonDialogObject.h"
#include "shell/MDIMain.h"
#include "shell/MIni.h"
#include "shell/basFileDialogs.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

namespace {

constexpr qsizetype LineWidth = 80;

bool IsBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// The length of the line break at pos (CR LF counts as one break).
qsizetype BreakLength(const QString& text, qsizetype pos)
{
    if (text[pos] == QLatin1Char('\r') && pos + 1 < text.size() && text[pos + 1] == QLatin1Char('\n'))
        return 2;
    return 1;
}

// The printer writes a file: the print dialog's "print to file" was chosen
// last, or there is no printer and a file is all it can write.
bool PrintsToFile(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

// Where a quick print to a file goes, asked as a save asks (an existing
// file is replaced only after its question); "" when cancelled.
QString AskPrintFile(const QPrinter& printer)
{
    const QString last = printer.outputFileName();
    const QString folder = !last.isEmpty() ? QFileInfo(last).absolutePath() : DefaultDir;
    return ShowFileDialog(MDIMain::Instance(), QStringLiteral("Print To File"),
                          QStringLiteral("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"), 1, last, folder,
                          QStringLiteral("pdf"), SaveFileDialog);
}

}  // namespace

QStringList QuickPrintLines(const QString& text)
{
    QStringList lines;
    qsizetype pos = 0;
    const qsizetype length = text.size();
    while (length - pos > LineWidth) {
        qsizetype cut = -1;
        for (qsizetype i = pos; i < pos + LineWidth; ++i)
            if (IsBreak(text[i])) {
                cut = i;
                break;
            }
        if (cut >= 0) {
            lines.append(text.mid(pos, cut - pos));
            pos = cut + BreakLength(text, cut);
            continue;
        }
        qsizetype blank = -1;
        for (qsizetype i = pos + LineWidth - 1; i > pos; --i)
            if (text[i] == QLatin1Char(' ')) {
                blank = i;
                break;
            }
        const qsizetype taken = blank >= 0 ? blank - pos + 1 : LineWidth;
        lines.append(text.mid(pos, taken));
        pos += taken;
    }
    // The rest, cut at its own line breaks; a final break ends the last line.
    qsizetype start = pos;
    for (qsizetype i = pos; i < length; ++i) {
        if (!IsBreak(text[i]))
            continue;
        lines.append(text.mid(start, i - start));
        i += BreakLength(text, i) - 1;
        start = i + 1;
    }
    if (start < length || lines.isEmpty())
        lines.append(text.mid(start));
    return lines;
}

void PrintSelection(const QString& text)
{
    PrintSelection(text, ApplicationPrinter());
}

void PrintSelection(const QString& text, QPrinter& printer)
{
    if (text.isEmpty()) {
        platform::MsgBox(QStringLiteral("There is no text selected to print."), platform::vbOKOnly,
                         QStringLiteral("Quick Print Error"));
        return;
    }
    if (PrintsToFile(printer)) {
        // No print dialog comes with a quick print: the file the last print
        // went to is not simply written over.
        const QString path = AskPrintFile(printer);
        if (path.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    }
    const QStringList lines = QuickPrintLines(text);
    QPainter painter;
    if (!painter.begin(&printer))
        throw platform::Error(75, QStringLiteral("The printer could not start printing."),
                              QStringLiteral("MPrinting"));
    QFont font(QStringLiteral("Monospace"), 10);
    font.setStyleHint(QFont::TypeWriter);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double lineHeight = metrics.lineSpacing();
    const double bottom = painter.device()->height();
    double y = metrics.ascent();
    bool pageEmpty = true;
    for (const QString& line : lines) {
        if (!pageEmpty && y + metrics.descent() > bottom) {
            printer.newPage();
            y = metrics.ascent();
        }
        painter.drawText(QPointF(0, y), line);
        pageEmpty = false;
        y += lineHeight;
    }
    painter.end();
}

void ShowPrintSetup()
{
    try {
        CommonDialogObject dialog;
        dialog.OwnerWindow(MDIMain::Instance());
        dialog.ShowPrinter();
    } catch (...) {
    }
}
