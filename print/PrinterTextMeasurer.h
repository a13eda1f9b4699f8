#pragma once
// The fonts of a printout and their measures on the printing device.

#include "print/CTxtPrintDoc.h"
#include "print/TextMeasurer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>

namespace prentil {

// The text font and the three header fonts of a virtual page pageWidth wide.
struct PrintFonts {
    QFont text;
    QFont regular;  // dates, page text; gives the header row height
    QFont narrow;   // folder
    QFont bold;     // file name
};

// The text font from the settings' font at pixelHeight device pixels; the
// header fonts "Arial", 4 x (pageWidth / 150) high, made as wide on average
// as the page width asks for (/125, /150, /100).
PrintFonts MakePrintFonts(const PrintFont& font, int pixelHeight, int pageWidth, QPaintDevice* device);

class PrinterTextMeasurer : public TextMeasurer {
public:
    PrinterTextMeasurer(const PrintFonts& fonts, QPaintDevice* device);
    int TextLineHeight() const override;
    int TextWidth(QStringView text) const override;
    int HeaderLineHeight() const override;

private:
    QFontMetrics text_;
    QFontMetrics header_;
};

}  // namespace prentil
