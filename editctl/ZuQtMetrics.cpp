#include "editctl/ZuQtMetrics.h"

#include "editctl/engine/ZuCodePage.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QList>
#include <cmath>

ZuQtMetrics::ZuQtMetrics(const QFont& defaultFont, int dpi) : dpi_(dpi > 0 ? dpi : 96)
{
    default_.faceName = ZuFromQString(defaultFont.family()).substr(0, 31);
    const double pixels = defaultFont.pixelSize() > 0 ? defaultFont.pixelSize() : defaultFont.pointSizeF() * dpi_ / 72.0;
    default_.height = -std::max(1, int(std::lround(pixels)));
    default_.weight = defaultFont.weight() >= QFont::Bold ? 700 : 400;
    default_.italic = defaultFont.italic();
    default_.underline = defaultFont.underline();
    default_.strikeOut = defaultFont.strikeOut();
    default_.pitchAndFamily = QFontInfo(defaultFont).fixedPitch() ? 1 : 2;
}

QFont ZuQtMetrics::ToQFont(const ZuFontDescriptor& font) const
{
    QFont qfont(ZuToQString(font.faceName));
    // A positive height is the cell height; the character height is near enough for Qt.
    qfont.setPixelSize(std::max(1, std::abs(font.height)));
    qfont.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    // Byte widths are added up one by one, so pairs must not kern.
    qfont.setKerning(false);
    return qfont;
}

bool ZuQtMetrics::Measure(const ZuFontDescriptor& font, ZuFontMetrics& metrics)
{
    const QFont qfont = ToQFont(font);
    const QFontMetricsF measure(qfont);
    metrics.ascent = std::int32_t(std::ceil(measure.ascent()));
    metrics.descent = std::int32_t(std::ceil(measure.descent()));
    metrics.internalLeading = std::max(0, metrics.ascent + metrics.descent - std::abs(font.height));
    metrics.averageWidth = std::max<std::int32_t>(1, std::int32_t(std::lround(measure.averageCharWidth())));
    metrics.maxWidth = std::int32_t(std::ceil(measure.maxWidth()));
    metrics.variablePitch = !QFontInfo(qfont).fixedPitch();
    for (int b = 0; b < 256; ++b) {
        const char32_t c = ZuAnsiToUnicode(static_cast<unsigned char>(b));
        metrics.widths[std::size_t(b)] =
            b < 0x20 ? 0 : std::int32_t(std::lround(measure.horizontalAdvance(QString::fromUcs4(&c, 1))));
    }
    return true;
}

QString ZuToQString(std::string_view bytes)
{
    const std::u32string text = ZuAnsiToUnicode(bytes);
    return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

std::string ZuFromQString(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    std::u32string wide(ucs4.begin(), ucs4.end());
    return ZuUnicodeToAnsi(wide);
}
