#include "print/CTxtPrintDoc.h"

#include "print/PrintProfile.h"
#include "print/PrintStrings.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace prentil {

namespace {

const QString Misc = QStringLiteral("Misc settings");
const QString FontSection = QStringLiteral("Printer Font");
const QString ExtSection = QStringLiteral("Extensions");
const QString PlacementSection = QStringLiteral("Window Placement");

int LowByte(int value)
{
    return value & 0xFF;
}

void AppendBuiltInExtensions(std::vector<ExtensionEntry>& list)
{
    for (const char* name : {"c", "cnc", "nwd", "nc", "ncc", "abu"})
        list.push_back({QString::fromLatin1(name), 4});
    list.push_back({QStringLiteral("txt"), 8});
}

}  // namespace

double ParseMargin(const QString& text)
{
    std::string number;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        number += static_cast<char>(text[i++].unicode());
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            number += static_cast<char>(c.unicode());
        else if (!point && (c == QLatin1Char('.') || c == QLatin1Char(',')))
            number += '.', point = true;
        else
            break;
    }
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    return result.ec == std::errc() ? value : 0.0;
}

QString FormatMargin(double mm)
{
    return QString::number(mm, 'g', 6) + QStringLiteral("mm");
}

CTxtPrintDoc::CTxtPrintDoc()
{
    extensions_.push_back({IDS_DEFAULT_EXTENSION, FallbackTabSpacing});
    AppendBuiltInExtensions(extensions_);
}

void CTxtPrintDoc::LoadSettings()
{
    topMargin_ = ParseMargin(GetProfileString(Misc, QStringLiteral("Top Margin"), QStringLiteral("20.0")));
    bottomMargin_ = ParseMargin(GetProfileString(Misc, QStringLiteral("Bottom Margin"), QStringLiteral("15.0")));
    leftMargin_ = ParseMargin(GetProfileString(Misc, QStringLiteral("Left Margin"), QStringLiteral("15.0")));
    rightMargin_ = ParseMargin(GetProfileString(Misc, QStringLiteral("Right Margin"), QStringLiteral("15.0")));
    useDefaultOrientation_ = GetProfileInt(Misc, QStringLiteral("Use default Orientation"), 0);
    if (useDefaultOrientation_ == 1)
        SetOrientation(printerDefaultOrientation_);
    else
        SetOrientation(GetProfileInt(Misc, QStringLiteral("Orientation"), 1));
    printOdd_ = GetProfileInt(Misc, QStringLiteral("Print odd pages"), 1);
    printEven_ = GetProfileInt(Misc, QStringLiteral("Print even pages"), 1);
    reverse_ = GetProfileInt(Misc, QStringLiteral("Reverse printing order"), 0);
    swapMargins_ = GetProfileInt(Misc, QStringLiteral("Swap Margins"), 0);
    columns_ = GetProfileInt(Misc, QStringLiteral("Columns"), 2);
    rows_ = GetProfileInt(Misc, QStringLiteral("Rows"), 1);
    pageBreak_ = GetProfileInt(Misc, QStringLiteral("Page Break Option"), 1);
    headerOptions_ = GetProfileInt(Misc, QStringLiteral("Header Options"), 259);
    footerOptions_ = GetProfileInt(Misc, QStringLiteral("Footer Options"), 252);
    lineWrap_ = GetProfileInt(Misc, QStringLiteral("Line Wrap Option"), WrapWords);
    wrapArrow_ = GetProfileInt(Misc, QStringLiteral("Print wrap arrow"), 1);
    onlyFixedPitch_ = GetProfileInt(Misc, QStringLiteral("Only Fixed Pitch"), 1);
    onlyDefaultTab_ = GetProfileInt(Misc, QStringLiteral("Only Default Tab"), 0);
    viewWarnings_ = GetProfileInt(Misc, QStringLiteral("View warnings"), 1);

    pointHeight_ = GetProfileInt(FontSection, QStringLiteral("PointHeight"), 8);
    pointWidth_ = GetProfileInt(FontSection, QStringLiteral("PointWidth"), 0);
    font_.escapement = GetProfileInt(FontSection, QStringLiteral("Escapement"), 0);
    font_.orientation = GetProfileInt(FontSection, QStringLiteral("Orientation"), 0);
    font_.weight = GetProfileInt(FontSection, QStringLiteral("Weight"), 400);
    font_.italic = LowByte(GetProfileInt(FontSection, QStringLiteral("Italic"), 0));
    font_.underline = LowByte(GetProfileInt(FontSection, QStringLiteral("Underline"), 0));
    font_.strikeOut = LowByte(GetProfileInt(FontSection, QStringLiteral("StrikeOut"), 0));
    font_.charSet = LowByte(GetProfileInt(FontSection, QStringLiteral("CharSet"), 0));
    font_.outPrecision = LowByte(GetProfileInt(FontSection, QStringLiteral("OutPrecision"), 2));
    font_.clipPrecision = LowByte(GetProfileInt(FontSection, QStringLiteral("ClipPrecision"), 1));
    font_.quality = LowByte(GetProfileInt(FontSection, QStringLiteral("Quality"), 2));
    font_.pitchAndFamily = LowByte(GetProfileInt(FontSection, QStringLiteral("PitchAndFamily"), 1));
    // A LOGFONT face name holds 31 characters and its terminator.
    font_.faceName = GetProfileString(FontSection, QStringLiteral("FaceName"), QStringLiteral("Courier New")).left(31);

    extensions_.clear();
    extensions_.push_back({IDS_DEFAULT_EXTENSION, FallbackTabSpacing});
    const int count = GetProfileInt(ExtSection, QStringLiteral("Extension Count"), -1);
    if (count == -1) {
        AppendBuiltInExtensions(extensions_);
    } else {
        const int last = std::min(count, MaxExtensionCount);
        for (int n = 1; n < last; ++n) {
            const QString number = QString::number(n);
            extensions_.push_back({GetProfileString(ExtSection, number + QStringLiteral(".Name"), QStringLiteral("txt")),
                                   GetProfileInt(ExtSection, number + QStringLiteral(".Tabs"), 4)});
        }
    }
    Invalidate();
}

void CTxtPrintDoc::SaveSettings() const
{
    WriteProfileString(Misc, QStringLiteral("Top Margin"), FormatMargin(topMargin_));
    WriteProfileString(Misc, QStringLiteral("Bottom Margin"), FormatMargin(bottomMargin_));
    WriteProfileString(Misc, QStringLiteral("Left Margin"), FormatMargin(leftMargin_));
    WriteProfileString(Misc, QStringLiteral("Right Margin"), FormatMargin(rightMargin_));
    WriteProfileInt(Misc, QStringLiteral("Use default Orientation"), useDefaultOrientation_);
    WriteProfileInt(Misc, QStringLiteral("Orientation"), orientation_);
    WriteProfileInt(Misc, QStringLiteral("Print odd pages"), printOdd_);
    WriteProfileInt(Misc, QStringLiteral("Print even pages"), printEven_);
    WriteProfileInt(Misc, QStringLiteral("Reverse printing order"), reverse_);
    WriteProfileInt(Misc, QStringLiteral("Swap Margins"), swapMargins_);
    WriteProfileInt(Misc, QStringLiteral("Columns"), columns_);
    WriteProfileInt(Misc, QStringLiteral("Rows"), rows_);
    WriteProfileInt(Misc, QStringLiteral("Page Break Option"), pageBreak_);
    WriteProfileInt(Misc, QStringLiteral("Header Options"), headerOptions_);
    WriteProfileInt(Misc, QStringLiteral("Footer Options"), footerOptions_);
    WriteProfileInt(Misc, QStringLiteral("Line Wrap Option"), lineWrap_);
    WriteProfileInt(Misc, QStringLiteral("Print wrap arrow"), wrapArrow_);
    WriteProfileInt(Misc, QStringLiteral("Only Fixed Pitch"), onlyFixedPitch_);
    WriteProfileInt(Misc, QStringLiteral("Only Default Tab"), onlyDefaultTab_);
    WriteProfileInt(Misc, QStringLiteral("View warnings"), viewWarnings_);

    WriteProfileInt(FontSection, QStringLiteral("PointHeight"), pointHeight_);
    WriteProfileInt(FontSection, QStringLiteral("PointWidth"), pointWidth_);
    WriteProfileInt(FontSection, QStringLiteral("Escapement"), font_.escapement);
    WriteProfileInt(FontSection, QStringLiteral("Orientation"), font_.orientation);
    WriteProfileInt(FontSection, QStringLiteral("Weight"), font_.weight);
    WriteProfileInt(FontSection, QStringLiteral("Italic"), font_.italic);
    WriteProfileInt(FontSection, QStringLiteral("Underline"), font_.underline);
    WriteProfileInt(FontSection, QStringLiteral("StrikeOut"), font_.strikeOut);
    WriteProfileInt(FontSection, QStringLiteral("CharSet"), font_.charSet);
    WriteProfileInt(FontSection, QStringLiteral("OutPrecision"), font_.outPrecision);
    WriteProfileInt(FontSection, QStringLiteral("ClipPrecision"), font_.clipPrecision);
    WriteProfileInt(FontSection, QStringLiteral("Quality"), font_.quality);
    WriteProfileInt(FontSection, QStringLiteral("PitchAndFamily"), font_.pitchAndFamily);
    WriteProfileString(FontSection, QStringLiteral("FaceName"), font_.faceName);

    DeleteProfileSection(ExtSection);
    WriteProfileInt(ExtSection, QStringLiteral("Extension Count"), static_cast<int>(extensions_.size()));
    for (std::size_t n = 0; n < extensions_.size(); ++n) {
        const QString number = QString::number(n);
        WriteProfileString(ExtSection, number + QStringLiteral(".Name"), extensions_[n].name);
        WriteProfileInt(ExtSection, number + QStringLiteral(".Tabs"), extensions_[n].tabs);
    }
}

void CTxtPrintDoc::DeleteSettings() const
{
    for (const QString& section : {Misc, FontSection, ExtSection, PlacementSection})
        DeleteProfileSection(section);
}

void CTxtPrintDoc::RestoreOriginalSettings()
{
    DeleteSettings();
    LoadSettings();
    reSortNeeded_ = true;
}

void CTxtPrintDoc::SetOrientation(int landscape)
{
    orientation_ = landscape == 1 ? 1 : 0;
    if (orientationSink_)
        orientationSink_(orientation_);
    Invalidate();
}

void CTxtPrintDoc::SetLayoutCalculator(LayoutCalculator calculator)
{
    layoutCalculator_ = std::move(calculator);
    layoutValid_ = false;
}

void CTxtPrintDoc::AppendExtension(const ExtensionEntry& entry)
{
    extensions_.push_back(entry);
}

bool CTxtPrintDoc::RemoveExtension(int index)
{
    if (index < 1 || index >= static_cast<int>(extensions_.size()))
        return false;
    extensions_.erase(extensions_.begin() + index);
    return true;
}

bool CTxtPrintDoc::MoveExtension(int from, int to)
{
    const int size = static_cast<int>(extensions_.size());
    if (from < 1 || from >= size || to < 1 || to >= size || from == to)
        return false;
    const ExtensionEntry entry = extensions_[static_cast<std::size_t>(from)];
    extensions_.erase(extensions_.begin() + from);
    extensions_.insert(extensions_.begin() + to, entry);
    return true;
}

bool CTxtPrintDoc::SetExtensionTabs(int index, int tabs)
{
    if (index < 0 || index >= static_cast<int>(extensions_.size()))
        return false;
    extensions_[static_cast<std::size_t>(index)].tabs = tabs;
    Invalidate();
    return true;
}

int CTxtPrintDoc::ExtensionTabs(const QString& extension) const
{
    for (const ExtensionEntry& entry : extensions_)
        if (entry.name == extension)
            return entry.tabs;
    return -1;
}

int CTxtPrintDoc::TabSpacingFor(const QString& extension) const
{
    int tabs = onlyDefaultTab_ != 0 ? -1 : ExtensionTabs(extension);
    if (tabs < 1)
        tabs = extensions_.front().tabs;
    return tabs < 1 ? FallbackTabSpacing : tabs;
}

int CTxtPrintDoc::ExtensionOrder(const QString& a, const QString& b) const
{
    if (a == b)
        return 0;
    for (const ExtensionEntry& entry : extensions_) {
        if (entry.name == a)
            return -1;
        if (entry.name == b)
            return 1;
    }
    return 0;
}

bool CTxtPrintDoc::BothListed(const QString& a, const QString& b) const
{
    return ExtensionTabs(a) != -1 && ExtensionTabs(b) != -1;
}

void CTxtPrintDoc::RecomputeLayout() const
{
    charsPerLine_ = 0;
    linesPerPage_ = 0;
    if (layoutCalculator_)
        layoutCalculator_(*this, charsPerLine_, linesPerPage_);
    layoutValid_ = true;
}

int CTxtPrintDoc::CharactersPerLine() const
{
    if (!layoutValid_)
        RecomputeLayout();
    return charsPerLine_;
}

int CTxtPrintDoc::LinesPerVirtualPage() const
{
    if (!layoutValid_)
        RecomputeLayout();
    return linesPerPage_;
}

}  // namespace prentil
