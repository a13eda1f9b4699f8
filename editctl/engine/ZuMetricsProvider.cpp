#include "editctl/engine/ZuMetricsProvider.h"

#include <iterator>

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

std::uint32_t ZuMetricsProvider::SystemColor(int index) const
{
    static constexpr std::uint32_t Defaults[] = {
        0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000, 0xB4B4B4,
        0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969,
        0xE3E3E3, 0x000000, 0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0,
    };
    return index >= 0 && std::size_t(index) < std::size(Defaults) ? Defaults[index] : 0;
}

std::uint32_t ZuRgbOfColor(std::uint32_t color, const ZuMetricsProvider& provider)
{
    if (color & 0x80000000u)
        return provider.SystemColor(int(color & 0xFF)) & 0xFFFFFF;
    return color & 0xFFFFFF;
}
