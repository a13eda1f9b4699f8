#pragma once
// One character format: a logical font with its measured metrics and byte widths.

#include "editctl/engine/ZuErrors.h"
#include "editctl/engine/ZuMetricsProvider.h"
#include "editctl/engine/ZuPointerList.h"

#include <memory>
#include <string>

// Attribute codes shared with the control's Character... properties.
enum ZuFontAttribute : int {
    ZuAttrBold = 0,
    ZuAttrItalic = 1,
    ZuAttrStrikethrough = 2,
    ZuAttrUnderline = 3,
    ZuAttrFaceName = 4,
    ZuAttrSize = 5,
};

// A read or set value of an attribute: a number (flags read -1 or 0; sizes in
// points), a face name, or null (a range of mixed face names or sizes).
struct ZuAttributeValue {
    bool isNull = false;
    double number = 0;
    std::string text;

    static ZuAttributeValue Number(double n) { return {false, n, {}}; }
    static ZuAttributeValue Text(std::string t) { return {false, 0, std::move(t)}; }
    static ZuAttributeValue Null() { return {true, 0, {}}; }
    bool operator==(const ZuAttributeValue&) const = default;
};

class ZuFontEntry : public ZuListItem {
public:
    // A new entry measures the provider's default font.
    explicit ZuFontEntry(ZuMetricsProvider* provider);

    ZuAttributeValue Attribute(int code) const;
    // 0x7006 for an unknown code, 12 when the changed font cannot be made; no
    // change (and no new font) when the value is already in force.
    ZuErr SetAttribute(int code, const ZuAttributeValue& value);
    ZuErr Measure(const ZuFontDescriptor& font);
    std::unique_ptr<ZuFontEntry> Clone() const;

    const ZuFontDescriptor& Font() const { return font_; }
    const ZuFontMetrics& Metrics() const { return metrics_; }
    std::int32_t Width(unsigned char byte) const { return metrics_.widths[byte]; }
    std::int32_t SmallestWidth() const { return smallestWidth_; }
    ZuMetricsProvider* Provider() const { return provider_; }
    // Equal logical fonts (face names compared byte for byte).
    bool SameFont(const ZuFontEntry& other) const { return font_ == other.font_; }

private:
    ZuMetricsProvider* provider_;
    ZuFontDescriptor font_;
    ZuFontMetrics metrics_;
    std::int32_t smallestWidth_ = 0;
};
