#pragma once
// Where a line of text is painted. The control paints onto its pane window;
// tests paint into images. Colours are 0x00BBGGRR (ZuNoColor: none).

#include <cstdint>
#include <string_view>

class ZuFontEntry;

class ZuLinePainter {
public:
    virtual ~ZuLinePainter() = default;
    virtual void FillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t color) = 0;
    // Draws bytes from x on the given baseline, each byte at the x the engine
    // measured for it (so painting, caret and hit testing agree).
    virtual void DrawText(std::int32_t x, std::int32_t baseline, std::string_view bytes, const std::int32_t* xs,
                          const ZuFontEntry& font, std::uint32_t color) = 0;
};

// What painting one line needs: where, in which colours, and the part of the
// line that can be seen (nothing is drawn outside it).
struct ZuPaintState {
    ZuLinePainter* painter = nullptr;
    std::int32_t x = 0;   // where the line's column 0 lies
    std::int32_t top = 0; // the line's top
    std::int32_t ascent = 0;
    std::int32_t height = 0;
    std::uint32_t fore = 0xFFFFFFFFu; // forced colours (selection); ZuNoColor: the runs' own
    std::uint32_t back = 0xFFFFFFFFu;
    std::uint32_t paneFore = 0x000000; // for runs without a colour of their own
    std::int32_t clipLeft = 0;
    std::int32_t clipRight = 0x7FFFFFFF;
};
