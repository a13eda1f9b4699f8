#include "editctl/ZuPropertyInfo.h"

namespace {

QVariant True() { return true; }
QVariant False() { return false; }
QVariant Empty() { return QString(); }
QVariant None() { return QVariant(); }
template <int N> QVariant Number() { return N; }
template <quint32 C> QVariant Color() { return C; }

QStringList SelColorTypes() { return {"0 - Inverted", "1 - Specific"}; }
QStringList TextTypes() { return {"0 - Detect", "1 - DOS Text", "2 - Unix Text", "3 - Rich Text Format"}; }
QStringList SplitterTypes() { return {"0 - None", "1 - Vertical", "2 - Horizontal"}; }
QStringList SearchResults() { return {"0 - Failure", "1 - Success"}; }
QStringList SearchTos() { return {"0 - Top of text", "1 - Bottom of text"}; }
QStringList SearchOrigins() { return {"0 - From Cursor", "1 - Entire Scope"}; }
QStringList SelTypes() { return {"0 - None", "1 - Stream", "2 - Line", "3 - Column"}; }
QStringList ScrollBarsStrings() { return {"0 - None", "1 - Horizontal", "2 - Vertical", "3 - Both", "4 - Auto"}; }
QStringList Actions()
{
    return {"0 - No Action", "1 - Copy",         "2 - Paste",  "3 - Cut",     "4 - Clear",        "5 - Wrap",
            "6 - Undo",      "7 - Redo",         "8 - Empty Undo", "9 - Search", "10 - Replace", "11 - Search Again"};
}
QStringList MousePointers()
{
    return {"0 - Default",     "1 - Arrow",      "2 - Cross",     "3 - I-Beam",       "4 - Icon",
            "5 - Size",        "6 - Size NE SW", "7 - Size N S",  "8 - Size NW SE",   "9 - Size W E",
            "10 - Up Arrow",   "11 - Hourglass", "12 - No Drop",  "13 - Arrow and Hourglass",
            "14 - Arrow and Question", "15 - Size All", "99 - Custom"};
}
QStringList ReplaceActions() { return {"0 - Confirm*", "1 - Replace One", "2 - Replace All"}; }
QStringList Appearances() { return {"0 - Flat", "1 - 3D"}; }
QStringList BorderStyles() { return {"0 - No Border", "1 - Fixed Single"}; }

constexpr quint32 WindowColor = 0x80000005u;
constexpr quint32 WindowText = 0x80000008u;

using P = ZuPage;
const ZuPropertyInfo Table[] = {
    {113, "UndoCharFormattingEnabled", nullptr, True, true, P::General},
    {114, "UndoCaretEnabled", nullptr, True, true, P::General},
    {1, "SplitterPosition", nullptr, Number<-2>, true, P::Splitter},
    {2, "SplitterWidth", nullptr, Number<7>, true, P::Splitter},
    {3, "SplitterEnabled", nullptr, True, true, P::Splitter},
    {5, "SplitterForeColor", nullptr, Color<WindowText>, true, P::None},
    {6, "SplitterBackColor", nullptr, Color<WindowColor>, true, P::None},
    {7, "FileOpen", nullptr, Empty, true, P::Text},
    {17, "InsertMode", nullptr, True, true, P::Text},
    {30, "ReadOnly", nullptr, False, true, P::General},
    {31, "TopMargin", nullptr, Number<0>, true, P::Margins},
    {32, "BottomMargin", nullptr, Number<0>, true, P::Margins},
    {33, "LeftMargin", nullptr, Number<0>, true, P::Margins},
    {34, "RightMargin", nullptr, Number<0>, true, P::Margins},
    {35, "SelForeColor", nullptr, Color<0x8000000Eu>, true, P::None},
    {36, "SelBackColor", nullptr, Color<0x8000000Du>, true, P::None},
    {37, "SelDragDropEnable", nullptr, True, true, P::Selection},
    {38, "TabDefaultWidth", nullptr, Number<-1>, true, P::Text},
    {41, "WrapX", nullptr, Number<-1>, true, P::Wrapping},
    {42, "WrapWholeWords", nullptr, True, true, P::Wrapping},
    {43, "WrapAutomatically", nullptr, False, true, P::Wrapping},
    {45, "CaretWidth", nullptr, Number<-1>, true, P::General},
    {46, "CaretHeight", nullptr, Number<-1>, true, P::General},
    {51, "UndoLimit", nullptr, Number<255>, true, P::General},
    {52, "SearchTarget", nullptr, Empty, true, P::Search},
    {53, "SearchReplacement", nullptr, Empty, true, P::Search},
    {56, "SearchCaseSensitive", nullptr, False, true, P::Search},
    {57, "SearchWholeWordsOnly", nullptr, False, true, P::Search},
    {60, "PaneIndex", nullptr, Number<-2>, true, P::None},
    {63, "FileConvertOemAnsi", nullptr, False, true, P::Text},
    {81, "SelColorType", SelColorTypes, Number<0>, true, P::Selection},
    {84, "FileSaveAppend", nullptr, False, true, P::Text},
    {85, "FileSave", nullptr, Empty, true, P::None},
    {87, "ForeColor", nullptr, Color<WindowText>, true, P::None},
    {88, "BackColor", nullptr, Color<WindowColor>, true, P::None},
    {81, "SelColorType", SelColorTypes, Number<0>, true, P::Selection},
    {80, "TextType", TextTypes, Number<0>, true, P::Text},
    {4, "SplitterType", SplitterTypes, Number<0>, true, P::Splitter},
    {58, "SearchResult", SearchResults, Number<0>, false, P::None},
    {55, "SearchTo", SearchTos, Number<1>, true, P::Search},
    {54, "SearchOrigin", SearchOrigins, Number<0>, true, P::Search},
    {20, "SelMark", SelTypes, Number<0>, true, P::None},
    {19, "SelDefaultType", SelTypes, Number<1>, true, P::Selection},
    {9, "ScrollBars", ScrollBarsStrings, Number<3>, true, P::General},
    {18, "Action", Actions, Number<0>, false, P::None},
    {89, "MousePointer", MousePointers, Number<0>, true, P::General},
    {94, "FontName", nullptr, None, false, P::StockFont},
    {99, "FontSize", nullptr, None, false, P::StockFont},
    {110, "SearchReplaceAction", ReplaceActions, Number<0>, true, P::Search},
    {-520, "Appearance", Appearances, None, false, P::None},
    {-514, "Enabled", nullptr, None, false, P::General},
    {-504, "BorderStyle", BorderStyles, None, false, P::General},
};

const ZuPageInfo Pages[] = {
    {ZuPage::General, "ZuEditor20PropPage", "{687DEA03-51D5-11CF-8D63-444553540000}", "ZUEDIT2.ZuEdit2PropPage.1",
     "General", 100},
    {ZuPage::Text, "ZuEditor20TextPropPage", "{FB1CA6C1-6C0C-11CF-8D63-444553540000}",
     "ZUEDIT2.ZuEdit20TextPropPage", "Text", 201},
    {ZuPage::Wrapping, "ZuEditor20WrapPropPage", "{52F4D341-6C99-11CF-8402-00A02428B6DE}",
     "ZuEdit2.ZuEditor20WrapPropPage", "Wrapping", 204},
    {ZuPage::Margins, "ZuEditor20MarginsPropPage", "{52F4D343-6C99-11CF-8402-00A02428B6DE}",
     "ZuEdit2.ZuEditor20MarginsPropPage", "Margins", 205},
    {ZuPage::Search, "ZuEditor20SearchPropPage", "{FB1CA6C3-6C0C-11CF-8D63-444553540000}",
     "ZUEDIT2.ZuEditor20SearchPropPage", "Search", 202},
    {ZuPage::Splitter, "ZuEditor20SplitterPropPage", "{52F4D345-6C99-11CF-8402-00A02428B6DE}",
     "ZuEdit2.ZuEditor20SplitterPropPage", "Splitter", 207},
    {ZuPage::Selection, "ZuEditorSelectionPropPage", "{52F4D347-6C99-11CF-8402-00A02428B6DE}",
     "ZuEdit2.ZuEditorSelectionPropPage", "Selection", 206},
};

}  // namespace

std::span<const ZuPropertyInfo> ZuPropertyTable() { return Table; }

const ZuPropertyInfo* ZuFindProperty(int dispid)
{
    for (const ZuPropertyInfo& row : Table)
        if (row.dispid == dispid)
            return &row;
    return nullptr;
}

const ZuPropertyInfo* ZuFindProperty(const QString& name)
{
    for (const ZuPropertyInfo& row : Table)
        if (name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0)
            return &row;
    return nullptr;
}

QStringList ZuDisplayStrings(const QString& name)
{
    const ZuPropertyInfo* row = ZuFindProperty(name);
    return row && row->strings ? row->strings() : QStringList();
}

QString ZuDisplayString(const QString& name, int value)
{
    const QStringList strings = ZuDisplayStrings(name);
    return value >= 0 && value < strings.size() ? strings[value] : QString();
}

QString ZuPersistName(const QString& name)
{
    return name == QLatin1String("SearchReplaceAction") ? QStringLiteral("SearchRelaceAction") : name;
}

std::span<const ZuPageInfo> ZuPages() { return Pages; }

const ZuPageInfo* ZuFindPage(ZuPage page)
{
    for (const ZuPageInfo& info : Pages)
        if (info.page == page)
            return &info;
    return nullptr;
}

QString ZuPageClassIdOf(int dispid)
{
    const ZuPropertyInfo* row = ZuFindProperty(dispid);
    const ZuPageInfo* page = row ? ZuFindPage(row->page) : nullptr;
    return page ? QString::fromLatin1(page->classId) : QString();
}
