#pragma once
// What pagination needs to know of the fonts, in device units. The printer
// answers it with its real fonts; tests answer it with fixed widths.

#include <QStringView>

namespace prentil {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Height of a text row: the text font's height and external leading.
    virtual int TextLineHeight() const = 0;
    // Width of a text in the text font.
    virtual int TextWidth(QStringView text) const = 0;
    // Height of a header row in the regular header font.
    virtual int HeaderLineHeight() const = 0;
};

// Every character the same width: tests and benchmarks.
class FixedTextMeasurer : public TextMeasurer {
public:
    FixedTextMeasurer(int lineHeight, int charWidth, int headerLineHeight)
        : lineHeight_(lineHeight), charWidth_(charWidth), headerLineHeight_(headerLineHeight) {}
    int TextLineHeight() const override { return lineHeight_; }
    int TextWidth(QStringView text) const override { return static_cast<int>(text.size()) * charWidth_; }
    int HeaderLineHeight() const override { return headerLineHeight_; }

private:
    int lineHeight_, charWidth_, headerLineHeight_;
};

}  // namespace prentil
