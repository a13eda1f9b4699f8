#include "editctl/engine/ZuFontEntry.h"

#include <cmath>
#include <new>

ZuFontEntry::ZuFontEntry(ZuMetricsProvider* provider) : provider_(provider)
{
    Measure(provider_->DefaultFont());
}

ZuErr ZuFontEntry::Measure(const ZuFontDescriptor& font)
{
    ZuFontMetrics metrics;
    if (!provider_->Measure(font, metrics))
        return ZuErrNoMemory;
    if (metrics.maxWidth < 8 * metrics.averageWidth)
        metrics.maxWidth = 8 * metrics.averageWidth;
    std::int32_t smallest = metrics.maxWidth;
    for (std::int32_t w : metrics.widths)
        if (w > 0 && w < smallest)
            smallest = w;
    font_ = font;
    metrics_ = metrics;
    smallestWidth_ = smallest;
    return ZuOk;
}

ZuAttributeValue ZuFontEntry::Attribute(int code) const
{
    const auto flag = [](bool on) { return ZuAttributeValue::Number(on ? -1 : 0); };
    switch (code) {
    case ZuAttrBold:
        return flag(font_.weight >= 700);
    case ZuAttrItalic:
        return flag(font_.italic);
    case ZuAttrStrikethrough:
        return flag(font_.strikeOut);
    case ZuAttrUnderline:
        return flag(font_.underline);
    case ZuAttrFaceName:
        return ZuAttributeValue::Text(font_.faceName);
    case ZuAttrSize: {
        const double dpi = provider_->PixelsPerInchY();
        const double pixels = font_.height < 0 ? -font_.height : font_.height - metrics_.internalLeading;
        return ZuAttributeValue::Number(float(pixels * 72.0 / dpi));
    }
    default:
        return ZuAttributeValue::Null();
    }
}

ZuErr ZuFontEntry::SetAttribute(int code, const ZuAttributeValue& value)
{
    ZuFontDescriptor font = font_;
    switch (code) {
    case ZuAttrBold:
        font.weight = value.number != 0 ? 700 : 0;
        if ((value.number != 0) == (font_.weight >= 700))
            return ZuOk;
        break;
    case ZuAttrItalic:
    case ZuAttrStrikethrough:
    case ZuAttrUnderline: {
        bool& flag = code == ZuAttrItalic ? font.italic : code == ZuAttrStrikethrough ? font.strikeOut : font.underline;
        if (flag == (value.number != 0))
            return ZuOk;
        flag = value.number != 0;
        break;
    }
    case ZuAttrFaceName:
        // The logical font holds 31 bytes and a terminator.
        font.faceName = value.text.substr(0, 31);
        if (font.faceName == font_.faceName)
            return ZuOk;
        break;
    case ZuAttrSize: {
        const double points = value.number;
        if (!(points > 0 && points < 16384))
            return ZuErrBadParameter;
        font.height = -std::int32_t(provider_->PixelsPerInchY() * points / 72.0);
        if (font.height == font_.height)
            return ZuOk;
        break;
    }
    default:
        return ZuErrBadParameter;
    }
    font.width = 0;
    font.escapement = 0;
    font.orientation = 0;
    font.outPrecision = 0;
    font.clipPrecision = 0;
    font.quality = 2;
    return Measure(font);
}

std::unique_ptr<ZuFontEntry> ZuFontEntry::Clone() const
{
    return std::unique_ptr<ZuFontEntry>(new (std::nothrow) ZuFontEntry(*this));
}
