#pragma once
// Font metrics for the engine from Qt's fonts: the control's measuring, beside
// the engine (which knows no fonts of its own).

#include "editctl/engine/ZuMetricsProvider.h"

#include <QFont>
#include <QString>

class ZuQtMetrics : public ZuMetricsProvider {
public:
    // The default font is the one new font entries start as (the control's
    // widget font); dpi is the pixels per inch the point sizes are taken at.
    explicit ZuQtMetrics(const QFont& defaultFont = QFont(), int dpi = 96);

    bool Measure(const ZuFontDescriptor& font, ZuFontMetrics& metrics) override;
    ZuFontDescriptor DefaultFont() const override { return default_; }
    int PixelsPerInchX() const override { return dpi_; }
    int PixelsPerInchY() const override { return dpi_; }

    QFont ToQFont(const ZuFontDescriptor& font) const;

private:
    ZuFontDescriptor default_;
    int dpi_;
};

// Bytes of the engine and Qt's strings, through the engine's code page table.
QString ZuToQString(std::string_view bytes);
std::string ZuFromQString(const QString& text);
