#pragma once
// Draws virtual pages onto a sheet: the header and footer bands, the rows
// of text with their wrap arrows.

#include "print/PrintJob.h"
#include "print/PrinterTextMeasurer.h"

#include <QDateTime>
#include <QPainter>
#include <QRect>

namespace prentil {

struct VirtualPageStyle {
    int pageWidth = 0, pageHeight = 0;
    int headerOptions = 0, footerOptions = 0;
    bool wrapArrow = false;
    QDateTime printed;  // the time the printout carries
};

// Draws page (from 1) of job at (x, y); nothing for a page the job does not have.
void DrawVirtualPage(QPainter& painter, PrintJob& job, const PrintFonts& fonts, const VirtualPageStyle& style,
                     int x, int y, int page);

// Draws a header or footer band into band for page of job.
void DrawBand(QPainter& painter, const PrintJob& job, const PrintFonts& fonts, const QRect& band, int options,
              int page, bool footer, const QDateTime& printed);

// A right-pointing arrow in the box (x, y, w, h).
void DrawWrapArrow(QPainter& painter, int x, int y, int w, int h);

// text cut to width the way a path is: the first folder and the last ones
// kept, the middle given as "...".
QString PathEllipsis(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace prentil
