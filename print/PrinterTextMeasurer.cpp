#include "print/PrinterTextMeasurer.h"

#include <algorithm>

namespace prentil {

namespace {

QFont HeaderFont(int pixelHeight, int averageWidth, int weight, QPaintDevice* device)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, pixelHeight));
    font.setWeight(static_cast<QFont::Weight>(weight));
    const int natural = QFontMetrics(font, device).averageCharWidth();
    if (natural > 0 && averageWidth > 0)
        font.setStretch(std::clamp(averageWidth * 100 / natural, 1, 4000));
    return font;
}

}  // namespace

PrintFonts MakePrintFonts(const PrintFont& font, int pixelHeight, int pageWidth, QPaintDevice* device)
{
    PrintFonts fonts;
    fonts.text = QFont(font.faceName);
    fonts.text.setPixelSize(std::max(1, pixelHeight));
    fonts.text.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
    fonts.text.setItalic(font.italic != 0);
    fonts.text.setUnderline(font.underline != 0);
    fonts.text.setStrikeOut(font.strikeOut != 0);
    if ((font.pitchAndFamily & 0x03) == 1)
        fonts.text.setStyleHint(QFont::TypeWriter);
    const int height = 4 * (pageWidth / 150);
    fonts.regular = HeaderFont(height, pageWidth / 125, 400, device);
    fonts.narrow = HeaderFont(height, pageWidth / 150, 400, device);
    fonts.bold = HeaderFont(height, pageWidth / 100, 700, device);
    return fonts;
}

PrinterTextMeasurer::PrinterTextMeasurer(const PrintFonts& fonts, QPaintDevice* device)
    : text_(fonts.text, device), header_(fonts.regular, device)
{
}

int PrinterTextMeasurer::TextLineHeight() const
{
    return text_.lineSpacing();
}

int PrinterTextMeasurer::TextWidth(QStringView text) const
{
    return text_.horizontalAdvance(text.toString());
}

int PrinterTextMeasurer::HeaderLineHeight() const
{
    return header_.lineSpacing();
}

}  // namespace prentil
