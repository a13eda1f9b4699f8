#pragma once
// Where the engine's font metrics come from. The control measures with the
// toolkit's fonts; tests and benchmarks use ZuFixedMetrics, so that results do
// not depend on the fonts a machine has.

#include <array>
#include <cstdint>
#include <string>

// A logical font: what a font was asked for, kept for equality, RTF and scaling.
struct ZuFontDescriptor {
    std::string faceName;      // at most 31 bytes
    std::int32_t height = -16; // below 0: character height in pixels; else cell height
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;

    bool operator==(const ZuFontDescriptor&) const = default;
};

struct ZuFontMetrics {
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t internalLeading = 0;
    std::int32_t averageWidth = 0;
    std::int32_t maxWidth = 0;
    bool variablePitch = false; // set for a proportional font
    std::array<std::int32_t, 256> widths{}; // advance of each byte, in pixels
};

class ZuMetricsProvider {
public:
    virtual ~ZuMetricsProvider() = default;
    // False when the font cannot be made.
    virtual bool Measure(const ZuFontDescriptor& font, ZuFontMetrics& metrics) = 0;
    // The font a new font entry starts as.
    virtual ZuFontDescriptor DefaultFont() const = 0;
    virtual int PixelsPerInchX() const { return 96; }
    virtual int PixelsPerInchY() const { return 96; }
    // 0x00BBGGRR of a system colour index (a colour value 0x800000xx names index
    // xx): the usual desktop defaults, black for an index that names none.
    virtual std::uint32_t SystemColor(int index) const;
};

// A colour value as 0x00BBGGRR: system colours through the provider.
std::uint32_t ZuRgbOfColor(std::uint32_t color, const ZuMetricsProvider& provider);

// Every byte of a font is `width` pixels wide, except that a face named in
// `proportionalFace` gets widths that vary by byte (and reports variable pitch),
// and a face in `failingFace` cannot be made.
class ZuFixedMetrics : public ZuMetricsProvider {
public:
    explicit ZuFixedMetrics(std::int32_t width = 8) : width_(width) {}
    bool Measure(const ZuFontDescriptor& font, ZuFontMetrics& metrics) override;
    ZuFontDescriptor DefaultFont() const override;

    std::string proportionalFace = "Proportional";
    std::string failingFace = "Missing";
    std::int32_t widthOfBold = 0; // when set, bold fonts of fixed faces are this wide

private:
    std::int32_t width_;
};
