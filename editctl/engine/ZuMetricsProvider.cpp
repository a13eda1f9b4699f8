#include "editctl/engine/ZuMetricsProvider.h"

bool ZuFixedMetrics::Measure(const ZuFontDescriptor& font, ZuFontMetrics& metrics)
{
    if (!failingFace.empty() && font.faceName == failingFace)
        return false;
    const std::int32_t cell = font.height < 0 ? -font.height : font.height;
    metrics.ascent = cell * 4 / 5;
    metrics.descent = cell - metrics.ascent;
    metrics.internalLeading = 0;
    const bool proportional = !proportionalFace.empty() && font.faceName == proportionalFace;
    const std::int32_t width = font.weight >= 700 && widthOfBold > 0 ? widthOfBold : width_;
    metrics.variablePitch = proportional;
    std::int32_t widest = 0;
    for (int b = 0; b < 256; ++b) {
        metrics.widths[std::size_t(b)] = proportional ? width / 2 + b % 5 : width;
        if (metrics.widths[std::size_t(b)] > widest)
            widest = metrics.widths[std::size_t(b)];
    }
    metrics.averageWidth = width;
    metrics.maxWidth = widest;
    return true;
}

ZuFontDescriptor ZuFixedMetrics::DefaultFont() const
{
    ZuFontDescriptor font;
    font.faceName = "Fixed";
    font.pitchAndFamily = 1;
    return font;
}
