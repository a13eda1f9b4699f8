#include "print/SheetPainter.h"

#include "print/HeaderFooter.h"
#include "print/PrintStrings.h"

#include <QFileInfo>
#include <algorithm>

namespace prentil {

namespace {

const QColor BandGray(230, 230, 230);

void DrawCentred(QPainter& painter, const QFont& font, int left, int right, int top, int h, const QString& text)
{
    if (text.isEmpty() || right <= left)
        return;
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const QString shown = metrics.elidedText(text, Qt::ElideRight, right - left);
    painter.drawText(QRect(left, top, right - left, h), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, shown);
}

}  // namespace

QString PathEllipsis(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    // Keep the first folder; drop folders after it until the rest fits.
    const qsizetype firstEnd = text.indexOf(QLatin1Char('/'), text.startsWith(QLatin1Char('/')) ? 1 : 0);
    if (firstEnd > 0) {
        const QString head = text.left(firstEnd + 1);
        qsizetype cut = firstEnd + 1;
        while (true) {
            const qsizetype next = text.indexOf(QLatin1Char('/'), cut);
            if (next < 0 || next + 1 >= text.size())
                break;
            cut = next + 1;
            const QString candidate = head + dots + QLatin1Char('/') + text.mid(cut);
            if (metrics.horizontalAdvance(candidate) <= width)
                return candidate;
        }
    }
    return metrics.elidedText(text, Qt::ElideLeft, width);
}

void DrawWrapArrow(QPainter& painter, int x, int y, int w, int h)
{
    const int m = y + h / 2;
    const QPoint points[] = {{x, m}, {x + w / 2, m}, {x + w / 2, y}, {x + w, m}, {x + w / 2, y + h}, {x + w / 2, m}};
    painter.drawPolyline(points, 6);
}

void DrawBand(QPainter& painter, const PrintJob& job, const PrintFonts& fonts, const QRect& band, int options,
              int page, bool footer, const QDateTime& printed)
{
    painter.setBackgroundMode(Qt::TransparentMode);
    if ((options & OptGrayBackground) != 0)
        painter.fillRect(band, BandGray);
    else if (footer)
        painter.drawLine(band.left(), band.top(), band.left() + band.width(), band.top());
    else
        painter.drawLine(band.left(), band.top() + band.height(), band.left() + band.width(), band.top() + band.height());

    QPaintDevice* device = painter.device();
    const QFontMetrics regular(fonts.regular, device);
    const int h = regular.lineSpacing();
    const int C = job.Metrics().charWidth;
    const int left = band.left() + C;
    const int right = band.left() + band.width() - C;
    int top = band.top() + h / 4;

    const QString pageText = PageText(options, page, job.PageCount());
    const int P = pageText.isEmpty() ? 0 : regular.horizontalAdvance(pageText);
    const bool hasName = (options & OptNameBits) != 0;
    const bool hasDates = (options & OptDateBits) != 0;
    const int shortened = right - 7 * P / 6;
    int pageRowTop = top;
    int pageRowEnd = left;

    if (hasName) {
        const int rowRight = !hasDates && P > 0 ? shortened : right;
        const int width = rowRight - left;
        if ((options & OptNameBits) == OptFileName) {
            DrawCentred(painter, fonts.bold, left, rowRight, top, h, job.FileName());
        } else if ((options & OptNameBits) == OptFullPath) {
            painter.setFont(fonts.narrow);
            const QFontMetrics narrow(fonts.narrow, device);
            painter.drawText(QRect(left, top, std::max(0, width), h), Qt::AlignHCenter | Qt::AlignTop,
                             PathEllipsis(job.Folder(), narrow, width));
        } else {
            const QFontMetrics narrow(fonts.narrow, device);
            const QFontMetrics bold(fonts.bold, device);
            const QString folder = job.Folder() + QLatin1Char('/');
            const int folderWidth = narrow.horizontalAdvance(folder);
            const int nameWidth = bold.horizontalAdvance(job.FileName());
            painter.setFont(fonts.narrow);
            if (folderWidth + nameWidth <= width) {
                const int x = left + (width - folderWidth - nameWidth) / 2;
                painter.drawText(QRect(x, top, folderWidth, h), Qt::AlignLeft | Qt::AlignTop, folder);
                painter.setFont(fonts.bold);
                painter.drawText(QRect(x + folderWidth, top, nameWidth, h), Qt::AlignLeft | Qt::AlignTop,
                                 job.FileName());
            } else {
                const int nameRoom = std::min(nameWidth, 4 * width / 5);
                const int nameX = rowRight - nameRoom;
                painter.drawText(QRect(left, top, std::max(0, nameX - left), h), Qt::AlignRight | Qt::AlignTop,
                                 PathEllipsis(folder, narrow, nameX - left));
                painter.setFont(fonts.bold);
                painter.drawText(QRect(nameX, top, nameRoom, h), Qt::AlignLeft | Qt::AlignTop,
                                 bold.elidedText(job.FileName(), Qt::ElideRight, nameRoom));
            }
        }
        pageRowTop = top;
        pageRowEnd = rowRight;
        top += h;
    }
    if (hasDates) {
        const int rowRight = P > 0 ? shortened : right;
        const QString printedText = StampText(IDS_PRINTED, OptDatePrinted, OptTimePrinted, options, printed);
        const QString modifiedText = StampText(IDS_MODIFIED, OptDateModified, OptTimeModified, options,
                                               QFileInfo(job.FullPath()).lastModified());
        if (!printedText.isEmpty() && !modifiedText.isEmpty()) {
            const int middle = left + (rowRight - left) / 2;
            DrawCentred(painter, fonts.regular, left, middle, top, h, printedText);
            DrawCentred(painter, fonts.regular, middle, rowRight, top, h, modifiedText);
        } else {
            DrawCentred(painter, fonts.regular, left, rowRight, top, h, printedText + modifiedText);
        }
        pageRowTop = top;
        pageRowEnd = rowRight;
    }
    if (P > 0) {
        if (hasName || hasDates)
            DrawCentred(painter, fonts.regular, pageRowEnd, right, pageRowTop, h, pageText);
        else
            DrawCentred(painter, fonts.regular, left, right, top, h, pageText);
    }
}

void DrawVirtualPage(QPainter& painter, PrintJob& job, const PrintFonts& fonts, const VirtualPageStyle& style,
                     int x, int y, int page)
{
    if (!job.Paginated() || page < 1 || page > job.PageCount())
        return;
    const PageMetrics& m = job.Metrics();
    const int L = m.lineHeight;
    const int I = m.indent;
    int rowTop = y + L / 2;
    if (m.headerBand != 0) {
        const QRect header(x + I, y + L / 2, m.textWidth, m.headerBand);
        DrawBand(painter, job, fonts, header, style.headerOptions, page, false, style.printed);
        rowTop = header.top() + header.height() + L / 2;
    }
    painter.setFont(fonts.text);
    const int ascent = QFontMetrics(fonts.text, painter.device()).ascent();
    const int C = m.charWidth;
    job.ForEachRow(page, [&](const PrintJob::PageRow& row) {
        if (!row.text.isEmpty())
            painter.drawText(QPoint(x + I, rowTop + ascent), row.text.toString());
        if (style.wrapArrow) {
            if (!row.firstOfLine)
                DrawWrapArrow(painter, x + C / 2, rowTop + L / 4, C, L / 2);
            if (row.continued)
                DrawWrapArrow(painter, x + style.pageWidth - I + C / 2, rowTop + L / 4, C, L / 2);
        }
        rowTop += L;
    });
    if (m.footerBand != 0) {
        const QRect footer(x + I, y + style.pageHeight - L / 2 - m.footerBand, m.textWidth, m.footerBand);
        DrawBand(painter, job, fonts, footer, style.footerOptions, page, true, style.printed);
    }
}

}  // namespace prentil
