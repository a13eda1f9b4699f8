#pragma once
// The print settings: everything that shapes a printout, loaded from the
// application's profile when the document is made, edited live by the
// settings pages and written back only by "Save settings".
//
// Stored texts and numbers are written in the C locale; a margin is read
// from the number at the start of its text, with "." or "," as the decimal
// mark, so settings written under any locale read back the same.

#include <QString>
#include <functional>
#include <vector>

namespace prentil {

// The printer font as the settings keep it (the fields of a LOGFONT).
struct PrintFont {
    int height = 0;  // recomputed from the point height when printing
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    int italic = 0;
    int underline = 0;
    int strikeOut = 0;
    int charSet = 0;
    int outPrecision = 2;
    int clipPrecision = 1;
    int quality = 2;
    int pitchAndFamily = 1;
    QString faceName = QStringLiteral("Courier New");
};

struct ExtensionEntry {
    QString name;
    int tabs = 8;
    bool operator==(const ExtensionEntry&) const = default;
};

// Line wrap options.
inline constexpr int WrapTruncate = 0;
inline constexpr int WrapCharacters = 1;
inline constexpr int WrapWords = 2;

// A stored extension count above this is taken as this: a damaged value must
// not make the load build millions of entries.
inline constexpr int MaxExtensionCount = 1000;

// The tab spacing used when a stored or typed one is below 1.
inline constexpr int FallbackTabSpacing = 8;

class CTxtPrintDoc {
public:
    CTxtPrintDoc();

    void LoadSettings();
    void SaveSettings() const;
    void DeleteSettings() const;
    // Deletes the stored settings and loads the built-in defaults.
    void RestoreOriginalSettings();

    // The orientation a printer's default settings give (1 landscape), taken
    // at load when "Use default Orientation" is on. Set by the application.
    void SetPrinterDefaultOrientation(int orientation) { printerDefaultOrientation_ = orientation; }
    // Computes the characters per line and lines per virtual page on the
    // default printer; set by the application (none: both read 0).
    using LayoutCalculator = std::function<void(const CTxtPrintDoc&, int& charsPerLine, int& linesPerPage)>;
    void SetLayoutCalculator(LayoutCalculator calculator);
    // The orientation lives in the application's printer settings: loading
    // and every change put it there (1 landscape), so the print and print
    // setup dialogs open with it. Set by the application.
    using OrientationSink = std::function<void(int landscape)>;
    void SetOrientationSink(OrientationSink sink) { orientationSink_ = std::move(sink); }

    double TopMargin() const { return topMargin_; }
    double BottomMargin() const { return bottomMargin_; }
    double LeftMargin() const { return leftMargin_; }
    double RightMargin() const { return rightMargin_; }
    void SetTopMargin(double mm) { topMargin_ = mm; Invalidate(); }
    void SetBottomMargin(double mm) { bottomMargin_ = mm; Invalidate(); }
    void SetLeftMargin(double mm) { leftMargin_ = mm; Invalidate(); }
    void SetRightMargin(double mm) { rightMargin_ = mm; Invalidate(); }

    const PrintFont& Font() const { return font_; }
    void SetFont(const PrintFont& font) { font_ = font; Invalidate(); }
    int PointHeight() const { return pointHeight_; }
    int PointWidth() const { return pointWidth_; }
    void SetPointHeight(int points) { pointHeight_ = points; Invalidate(); }
    void SetPointWidth(int points) { pointWidth_ = points; Invalidate(); }

    int HeaderOptions() const { return headerOptions_; }
    int FooterOptions() const { return footerOptions_; }
    void SetHeaderOptions(int bits) { headerOptions_ = bits; Invalidate(); }
    void SetFooterOptions(int bits) { footerOptions_ = bits; Invalidate(); }
    int LineWrapOption() const { return lineWrap_; }
    void SetLineWrapOption(int option) { lineWrap_ = option; Invalidate(); }
    int PrintWrapArrow() const { return wrapArrow_; }
    void SetPrintWrapArrow(int on) { wrapArrow_ = on; Invalidate(); }
    int SwapMargins() const { return swapMargins_; }
    void SetSwapMargins(int on) { swapMargins_ = on; }
    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    void SetRows(int rows) { rows_ = rows; Invalidate(); }
    void SetColumns(int columns) { columns_ = columns; Invalidate(); }
    int PageBreakOption() const { return pageBreak_; }
    void SetPageBreakOption(int option) { pageBreak_ = option; }
    // 1 landscape, 0 portrait: the orientation of the application's printer settings.
    int Orientation() const { return orientation_; }
    void SetOrientation(int landscape);
    int UseDefaultOrientation() const { return useDefaultOrientation_; }
    void SetUseDefaultOrientation(int on) { useDefaultOrientation_ = on; }
    int PrintOddPages() const { return printOdd_; }
    int PrintEvenPages() const { return printEven_; }
    int ReverseOrder() const { return reverse_; }
    void SetPrintOddPages(int on) { printOdd_ = on; }
    void SetPrintEvenPages(int on) { printEven_ = on; }
    void SetReverseOrder(int on) { reverse_ = on; }
    int OnlyFixedPitch() const { return onlyFixedPitch_; }
    void SetOnlyFixedPitch(int on) { onlyFixedPitch_ = on; }
    int OnlyDefaultTab() const { return onlyDefaultTab_; }
    void SetOnlyDefaultTab(int on) { onlyDefaultTab_ = on; Invalidate(); }
    int ViewWarnings() const { return viewWarnings_; }
    void SetViewWarnings(int on) { viewWarnings_ = on; }

    // Entry 0 is always "Default".
    const std::vector<ExtensionEntry>& Extensions() const { return extensions_; }
    void AppendExtension(const ExtensionEntry& entry);
    // Entry 0 is never removed or moved; false when refused.
    bool RemoveExtension(int index);
    bool MoveExtension(int from, int to);  // to: the index the entry gets
    bool SetExtensionTabs(int index, int tabs);
    // The spacing of the first entry named extension exactly; -1 when none.
    int ExtensionTabs(const QString& extension) const;
    // The spacing a file with this extension prints with: entry 0's when
    // "Only Default Tab" is on or the extension is not listed; never below 1.
    int TabSpacingFor(const QString& extension) const;
    // -1 when a's entry comes first, +1 when b's, 0 when neither is listed
    // or both are the same.
    int ExtensionOrder(const QString& a, const QString& b) const;
    bool BothListed(const QString& a, const QString& b) const;

    bool LayoutValid() const { return layoutValid_; }
    void Invalidate() { layoutValid_ = false; }
    int CharactersPerLine() const;
    int LinesPerVirtualPage() const;

    bool ReSortNeeded() const { return reSortNeeded_; }
    void SetReSortNeeded(bool needed) { reSortNeeded_ = needed; }

private:
    void RecomputeLayout() const;

    double topMargin_ = 20.0, bottomMargin_ = 15.0, leftMargin_ = 15.0, rightMargin_ = 15.0;
    PrintFont font_;
    int pointHeight_ = 8, pointWidth_ = 0;
    int headerOptions_ = 259, footerOptions_ = 252;
    int lineWrap_ = WrapWords, wrapArrow_ = 1, swapMargins_ = 0;
    int rows_ = 1, columns_ = 2, pageBreak_ = 1;
    int orientation_ = 1, useDefaultOrientation_ = 0;
    int printOdd_ = 1, printEven_ = 1, reverse_ = 0;
    int onlyFixedPitch_ = 1, onlyDefaultTab_ = 0, viewWarnings_ = 1;
    std::vector<ExtensionEntry> extensions_;
    int printerDefaultOrientation_ = 0;
    LayoutCalculator layoutCalculator_;
    OrientationSink orientationSink_;
    mutable bool layoutValid_ = false;
    mutable int charsPerLine_ = 0, linesPerPage_ = 0;
    bool reSortNeeded_ = false;
};

// The millimetres at the start of a stored margin text ("20mm", "12,5mm");
// 0 when it holds no number.
double ParseMargin(const QString& text);
// A margin as stored and shown: "%gmm" in the C locale ("20mm", "12.5mm").
QString FormatMargin(double mm);

}  // namespace prentil
