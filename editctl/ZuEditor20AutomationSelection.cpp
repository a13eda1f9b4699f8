// The control's members: selection, character formats, stock font and colours,
// tab stops, bookmarks, search, the coordinate methods and the About box.
#include "editctl/ZuEditor20.h"

#include "editctl/ZuAboutBox.h"
#include "editctl/ZuEditor20Boundary.h"
#include "editctl/ZuFormatUndoAction.h"
#include "editctl/ZuPropertyPages.h"
#include "editctl/engine/ZuSearch.h"

#include <QPainter>

using namespace zuboundary;

namespace {

// Columns are kept below this after the conversion to 0-based.
constexpr std::uint32_t MaxColumn = 65535;
// Bookmark and paragraph tab counts a container may ask for.
constexpr int MaxBookmarks = 65535;
constexpr int MaxSelTabs = 32767;

}  // namespace

// ---- Selection

int ZuEditor20::GetSelDefaultType() const { return selDefaultType_; }
void ZuEditor20::LetSelDefaultType(int value)
{
    Operate(19, [&] {
        const int type = Clamp(Short(value), 0, 3);
        if (type == 3)
            RequireUniformFixedPitch();
        selDefaultType_ = type;
        for (int pane = 0; pane < 2; ++pane) {
            ZuPaneView& view = View(pane);
            view.SetSelDefaultType(type);
            UndoManager().Nest(true);
            if (type == 0)
                view.ClearSelection();
            else if (view.HasSelection())
                view.ChangeSelectionType(type);
            UndoManager().Nest(false);
        }
    });
}

void ZuEditor20::RequireUniformFixedPitch() const
{
    const ZuFontTable& fonts = Doc().Fonts();
    if (fonts.IsProportional())
        throw ZuErrnoException{ZuErrProportional};
}

int ZuEditor20::GetSelMark() const
{
    const ZuPaneView& view = ViewAt(PaneToRead());
    return view.HasSelection() ? view.Selection().type : 0;
}
void ZuEditor20::LetSelMark(int value)
{
    Operate(0, [&] {
        const int type = Clamp(Short(value), 0, 3);
        for (int pane : PanesInScope()) {
            ZuPaneView& view = View(pane);
            UndoManager().Nest(true);
            try {
                if (type == 3)
                    RequireUniformFixedPitch();
                if (type == 0)
                    view.ClearSelection();
                else if (view.HasSelection())
                    view.ChangeSelectionType(type);
                else
                    view.StartSelection(type);
            } catch (...) {
                UndoManager().Nest(false);
                throw;
            }
            UndoManager().Nest(false);
        }
    });
}

namespace {
enum SelEnd { StartX, StartY, EndX, EndY, StartOffset, EndOffset };
}

void ZuEditor20::SetSelectionEnd(int which, int value)
{
    Operate(0, [&] {
        if (value < 0)
            return;
        for (int pane : PanesInScope()) {
            ZuPaneView& view = View(pane);
            UndoManager().Nest(true);
            if (!view.HasSelection())
                view.StartSelection(selDefaultType_ == 0 ? ZuRangeStream : selDefaultType_);
            const std::uint32_t column = std::min<std::uint32_t>(std::uint32_t(std::max(1, value) - 1), MaxColumn);
            const std::uint32_t line = std::uint32_t(std::max(1, value) - 1);
            switch (which) {
            case StartX: view.SetSelectionAnchorColumn(column); break;
            case StartY: view.SetSelectionAnchorLine(line); break;
            case EndX: view.SetSelectionEndColumn(column, true); break;
            case EndY: view.SetSelectionEndLine(line, true); break;
            case StartOffset: view.SetSelectionStartOffset(std::uint64_t(value)); break;
            case EndOffset: view.SetSelectionEndOffset(std::uint64_t(value), true); break;
            }
            UndoManager().Nest(false);
        }
    });
}

#define ZU_SELECTION_END(name, which, expression)                                     \
    int ZuEditor20::Get##name() const                                                 \
    {                                                                                 \
        const ZuPaneView& view = ViewAt(PaneToRead());                                \
        if (!view.HasSelection())                                                     \
            return 0;                                                                 \
        const ZuTextRange& range = view.Selection();                                  \
        (void)range;                                                                  \
        return int(expression);                                                       \
    }                                                                                 \
    void ZuEditor20::Let##name(int value) { SetSelectionEnd(which, value); }

ZU_SELECTION_END(SelStartX, StartX, range.start.x + 1)
ZU_SELECTION_END(SelStartY, StartY, range.start.y + 1)
ZU_SELECTION_END(SelEndX, EndX, range.end.x + 1)
ZU_SELECTION_END(SelEndY, EndY, range.end.y + 1)
ZU_SELECTION_END(SelStartOffset, StartOffset, view.SelectionStartOffset())
ZU_SELECTION_END(SelEndOffset, EndOffset, view.SelectionEndOffset())
#undef ZU_SELECTION_END

QString ZuEditor20::GetSelText() const
{
    const int pane = PaneToRead();
    const ZuPaneView& view = ViewAt(pane);
    if (!view.HasSelection())
        return QString();
    const std::uint32_t line = std::uint32_t(ReadIndex() - 1);
    if (!view.Selection().CoversLine(line))
        return QString();
    const std::uint32_t length = view.LineLength(line);
    const std::uint32_t from = std::min(view.Selection().StartColumnOnLine(line), length);
    const std::uint32_t to = std::min(view.Selection().EndColumnOnLine(line), length);
    ZuTextRange range;
    range.Init(ZuTextPosition{from, line}, ZuTextPosition{to, line}, ZuRangeStream);
    return SaveRange(pane, range);
}
void ZuEditor20::LetSelText(QString value)
{
    Operate(0, [&] {
        std::unique_ptr<ZuTextDocument> fragment = ParseText(value);
        InsertParsed(PanesInScope().front(), *fragment);
    });
}
QString ZuEditor20::GetSelTextAll() const
{
    const int pane = PaneToRead();
    const ZuPaneView& view = ViewAt(pane);
    return view.SelectionEmpty() ? QString() : SaveRange(pane, view.ClampedSelection());
}
void ZuEditor20::LetSelTextAll(QString value) { LetSelText(value); }

// ---- Colours of the panes

#define ZU_COLOR(name, slot, dispid)                                                     \
    uint ZuEditor20::Get##name() const { return settings_[std::size_t(PaneToRead())].colors[slot]; } \
    void ZuEditor20::Let##name(uint value)                                               \
    {                                                                                    \
        Operate(dispid, [&] {                                                            \
            for (int pane : PanesInScope()) {                                            \
                settings_[std::size_t(pane)].colors[slot] = value;                       \
                ApplyColors(pane);                                                       \
            }                                                                            \
        });                                                                              \
    }

ZU_COLOR(BackColor, 0, 88)
ZU_COLOR(ForeColor, 1, 87)
ZU_COLOR(SelBackColor, 2, 36)
ZU_COLOR(SelForeColor, 3, 35)
#undef ZU_COLOR

int ZuEditor20::GetSelColorType() const { return SelColorType; }
void ZuEditor20::LetSelColorType(int value)
{
    Operate(81, [&] {
        const int type = Clamp(Short(value), 0, 1);
        if (type == SelColorType)
            return;
        SelColorType = type;
        ApplyColors(0);
        ApplyColors(1);
    });
}
bool ZuEditor20::GetSelDragDropEnable() const { return settings_[std::size_t(PaneToRead())].selDragDrop; }
void ZuEditor20::LetSelDragDropEnable(bool value)
{
    Operate(37, [&] {
        for (int pane : PanesInScope()) {
            settings_[std::size_t(pane)].selDragDrop = value;
            View(pane).SetDragDropEnabled(value);
        }
    });
}

// ---- Character formats of the selection

ZuAttributeValue ZuEditor20::QueryCharacterFormat(int attribute) const
{
    const int pane = PaneToRead();
    const ZuPaneView& view = ViewAt(pane);
    ZuTextRange range = view.ClampedSelection();
    if (range.type == ZuRangeNone)
        range.Init(view.Caret(), view.Caret(), ZuRangeStream);
    return Doc().QueryCharFormat(attribute, pane, ToDocument(range));
}

void ZuEditor20::ApplyCharacterFormat(int attribute, const ZuAttributeValue& value)
{
    Operate(0, [&] {
        const int pane = paneIndex_ == -2 ? FocusPane() : PanesInScope().front();
        const ZuTextRange range = View(pane).ClampedSelection();
        if (range.IsEmpty())
            return;
        FormatRecorded(pane, range, [&] { return Document().ApplyCharFormat(attribute, pane, ToDocument(range), value); });
        // Faces, sizes and weights change widths and heights: the panes measure again.
        FontsChanged();
    });
}

void ZuEditor20::FormatRecorded(int pane, const ZuTextRange& range, const std::function<ZuErr()>& change)
{
    // The lines the range touches, from the start of the first to the end of the last.
    ZuPaneView& view = View(pane);
    const std::uint32_t first = range.LowestLine();
    const std::uint32_t last = range.HighestLine();
    const std::uint64_t from = Document().PositionToOffset(pane, ToDocument(ZuTextPosition{0, first}));
    const std::uint64_t to = Document().PositionToOffset(pane, ToDocument(ZuTextPosition{view.LineLength(last), last}));
    std::string before;
    const bool record = settings_[std::size_t(pane)].undoCharFormatting
                        && ZuFormatUndoAction::Capture(Document(), from, to, before);
    UndoManager().Nest(true);
    const ZuErr result = change();
    std::string after;
    if (result == ZuOk && record && ZuFormatUndoAction::Capture(Document(), from, to, after))
        UndoManager().AddAction(std::make_unique<ZuFormatUndoAction>(Document(), from, to, std::move(before),
                                                                     std::move(after)));
    UndoManager().Nest(false);
    View(0).InvalidateAll();
    View(1).InvalidateAll();
    Check(result);
}

int ZuEditor20::GetCharacterBold() const { return int(QueryCharacterFormat(0).number); }
void ZuEditor20::LetCharacterBold(int value) { ApplyCharacterFormat(0, ZuAttributeValue::Number(value)); }
int ZuEditor20::GetCharacterItalic() const { return int(QueryCharacterFormat(1).number); }
void ZuEditor20::LetCharacterItalic(int value) { ApplyCharacterFormat(1, ZuAttributeValue::Number(value)); }
bool ZuEditor20::GetCharacterStrikethru() const { return QueryCharacterFormat(2).number != 0; }
void ZuEditor20::LetCharacterStrikethru(bool value)
{
    ApplyCharacterFormat(2, ZuAttributeValue::Number(value ? 1 : 0));
}
bool ZuEditor20::GetCharacterUnderline() const { return QueryCharacterFormat(3).number != 0; }
void ZuEditor20::LetCharacterUnderline(bool value)
{
    ApplyCharacterFormat(3, ZuAttributeValue::Number(value ? 1 : 0));
}
QString ZuEditor20::GetCharacterName() const
{
    const ZuAttributeValue v = QueryCharacterFormat(4);
    return v.isNull ? QString() : ZuToQString(v.text);
}
void ZuEditor20::LetCharacterName(QString value)
{
    ApplyCharacterFormat(4, ZuAttributeValue::Text(ZuFromQString(value)));
}
float ZuEditor20::GetCharacterSize() const
{
    const ZuAttributeValue v = QueryCharacterFormat(5);
    return v.isNull ? 0.0f : float(v.number);
}
void ZuEditor20::LetCharacterSize(float value) { ApplyCharacterFormat(5, ZuAttributeValue::Number(value)); }

uint ZuEditor20::QueryCharacterColor(int slot) const
{
    const int pane = PaneToRead();
    return Doc().QueryColor(slot, pane, ToDocument(ViewAt(pane).ClampedSelection()));
}
void ZuEditor20::ApplyCharacterColor(int slot, uint value)
{
    Operate(0, [&] {
        const int pane = paneIndex_ == -2 ? FocusPane() : PanesInScope().front();
        const ZuTextRange range = View(pane).ClampedSelection();
        if (range.IsEmpty())
            return;
        FormatRecorded(pane, range,
                       [&] { return Document().ApplyColor(slot, pane, ToDocument(range), TranslateColor(value)); });
    });
}
uint ZuEditor20::GetCharacterForeColor() const { return QueryCharacterColor(7); }
void ZuEditor20::LetCharacterForeColor(uint value) { ApplyCharacterColor(7, value); }
uint ZuEditor20::GetCharacterBackColor() const { return QueryCharacterColor(6); }
void ZuEditor20::LetCharacterBackColor(uint value) { ApplyCharacterColor(6, value); }

// ---- Stock font and appearance

QFont ZuEditor20::GetFont() const { return font(); }
void ZuEditor20::LetFont(QFont value)
{
    Operate(-512, [&] { ApplyStockFont(value); });
}
QString ZuEditor20::GetFontName() const { return font().family(); }
void ZuEditor20::LetFontName(QString value)
{
    Operate(94, [&] {
        QFont f = font();
        f.setFamily(value);
        ApplyStockFont(f);
    });
}
#define ZU_FONT_FLAG(name, getter, setter, dispid)                  \
    bool ZuEditor20::Get##name() const { return font().getter(); }  \
    void ZuEditor20::Let##name(bool value)                          \
    {                                                               \
        Operate(dispid, [&] {                                       \
            QFont f = font();                                       \
            f.setter(value);                                        \
            ApplyStockFont(f);                                      \
        });                                                         \
    }
ZU_FONT_FLAG(FontBold, bold, setBold, 95)
ZU_FONT_FLAG(FontItalic, italic, setItalic, 96)
ZU_FONT_FLAG(FontStrikethru, strikeOut, setStrikeOut, 97)
ZU_FONT_FLAG(FontUnderline, underline, setUnderline, 98)
#undef ZU_FONT_FLAG
float ZuEditor20::GetFontSize() const
{
    const QFont f = font();
    return f.pointSizeF() > 0 ? float(f.pointSizeF()) : float(f.pixelSize()) * 72.0f / 96.0f;
}
void ZuEditor20::LetFontSize(float value)
{
    Operate(99, [&] {
        if (value <= 0)
            throw platform::Error(380, QStringLiteral("Invalid property value"));
        QFont f = font();
        f.setPointSizeF(value);
        ApplyStockFont(f);
    });
}

int ZuEditor20::GetAppearance() const { return appearance_; }
void ZuEditor20::LetAppearance(int value)
{
    Operate(-520, [&] {
        if (value != 0 && value != 1)
            throw platform::Error(380, QStringLiteral("Invalid property value"));
        appearance_ = value;
        update();
    });
}
int ZuEditor20::GetBorderStyle() const { return borderStyle_; }
void ZuEditor20::LetBorderStyle(int value)
{
    Operate(-504, [&] {
        if (value != 0 && value != 1)
            throw platform::Error(380, QStringLiteral("Invalid property value"));
        borderStyle_ = value;
        update();
    });
}
bool ZuEditor20::GetEnabled() const { return isEnabled(); }
void ZuEditor20::LetEnabled(bool value)
{
    Operate(-514, [&] { setEnabled(value); });
}

// ---- Tab stops

namespace {
int StopIndex(const ZuTabSet& tabs, int index)
{
    if (index < 0)
        index = 0;
    if (tabs.Count() > 0 && index >= tabs.Count())
        index = tabs.Count() - 1;
    return index;
}
}  // namespace

int ZuEditor20::GetTabDefaultWidth() const { return tabDefaultWidth_; }
void ZuEditor20::LetTabDefaultWidth(int value)
{
    Operate(38, [&] {
        tabDefaultWidth_ = Short(value);
        Document().DefaultTabSet().SetDefaultWidth(tabDefaultWidth_);
        View(0).InvalidateAll();
        View(1).InvalidateAll();
    });
}
int ZuEditor20::GetTabCount() const { return Doc().DefaultTabSet().Count(); }
void ZuEditor20::LetTabCount(int value)
{
    Operate(39, [&] {
        const int n = std::max(0, Short(value));
        Check(Document().DefaultTabSet().SetCount(n, Document().AverageCharWidth()));
        View(0).InvalidateAll();
        View(1).InvalidateAll();
    });
}
int ZuEditor20::TabMark(int index) const
{
    const ZuTabSet& tabs = Doc().DefaultTabSet();
    return tabs.StopPosition(index, 0, Doc().AverageCharWidth());
}
void ZuEditor20::setTabMark(int index, int value)
{
    Operate(40, [&] {
        ZuTabSet& tabs = Document().DefaultTabSet();
        tabs.MoveStop(StopIndex(tabs, index), value);
        View(0).InvalidateAll();
        View(1).InvalidateAll();
    });
}
int ZuEditor20::TabAlign(int index) const { return int(Doc().DefaultTabSet().Alignment(index, 0)); }
void ZuEditor20::setTabAlign(int index, int value)
{
    Operate(100, [&] {
        ZuTabSet& tabs = Document().DefaultTabSet();
        tabs.SetAlignment(std::uint32_t(std::max(0, value)), StopIndex(tabs, index), 0);
    });
}
int ZuEditor20::TabLeader(int index) const { return int(Doc().DefaultTabSet().Leader(index, 0)); }
void ZuEditor20::setTabLeader(int index, int value)
{
    Operate(101, [&] {
        ZuTabSet& tabs = Document().DefaultTabSet();
        tabs.SetLeader(std::uint32_t(std::max(0, value)), StopIndex(tabs, index), 0);
    });
}

namespace {
const ZuTabSet& CaretTabs(const ZuTextDocument& document, const ZuPaneView& view)
{
    return document.ParagraphTabSet(view.CaretOffset());
}
}  // namespace

int ZuEditor20::GetSelTabCount() const { return CaretTabs(Doc(), ViewAt(PaneToRead())).Count(); }
void ZuEditor20::LetSelTabCount(int value)
{
    Operate(39, [&] {
        // A huge count would take memory without end.
        if (value > MaxSelTabs)
            throw ZuErrnoException{ZuErrBadParameter};
        for (int pane : PanesInScope())
            Check(View(pane).SetSelTabCount(std::max(0, value)));
    });
}
int ZuEditor20::SelTabMark(int index) const
{
    return CaretTabs(Doc(), ViewAt(PaneToRead())).StopPosition(index, 0, Doc().AverageCharWidth());
}
void ZuEditor20::setSelTabMark(int index, int value)
{
    Operate(102, [&] {
        for (int pane : PanesInScope())
            Check(View(pane).SetSelTabPosition(std::max(0, index), value));
    });
}
int ZuEditor20::SelTabAlign(int index) const
{
    return int(CaretTabs(Doc(), ViewAt(PaneToRead())).Alignment(index, 0));
}
void ZuEditor20::setSelTabAlign(int index, int value)
{
    Operate(106, [&] {
        for (int pane : PanesInScope())
            Check(View(pane).SetSelTabAlignment(std::max(0, index), std::uint32_t(std::max(0, value))));
    });
}
int ZuEditor20::SelTabLeader(int index) const
{
    return int(CaretTabs(Doc(), ViewAt(PaneToRead())).Leader(index, 0));
}
void ZuEditor20::setSelTabLeader(int index, int value)
{
    Operate(107, [&] {
        for (int pane : PanesInScope())
            Check(View(pane).SetSelTabLeader(std::max(0, index), std::uint32_t(std::max(0, value))));
    });
}
int ZuEditor20::GetSelNextTab() const
{
    const int pane = PaneToRead();
    return Doc().NextTabX(pane, ToDocument(ViewAt(pane).Caret()));
}
void ZuEditor20::LetSelNextTab(int) { SetNotSupported(); }
int ZuEditor20::GetSelPrevTab() const
{
    const int pane = PaneToRead();
    return Doc().PreviousTabX(pane, ToDocument(ViewAt(pane).Caret()));
}
void ZuEditor20::LetSelPrevTab(int) { SetNotSupported(); }
void ZuEditor20::SelTabClear()
{
    Operate(0, [&] { Check(View(PaneToRead()).ClearSelTabs()); });
}
void ZuEditor20::SelTabClearAll()
{
    Operate(0, [&] { Check(View(PaneToRead()).ClearAllTabs()); });
}

// ---- Bookmarks

int ZuEditor20::GetBookmarkCount() const { return int(Doc().BookmarkCount()); }
void ZuEditor20::LetBookmarkCount(int value)
{
    Operate(0, [&] {
        if (value < 0 || value > MaxBookmarks)
            throw ZuErrnoException{ZuErrBadParameter};
        Document().SetBookmarkCount(std::uint32_t(value));
    });
}
int ZuEditor20::BookmarkOffset(int index) const
{
    if (Doc().BookmarkCount() == 0)
        return 0;
    return int(Doc().BookmarkOffset(std::uint32_t(std::max(0, index))));
}
void ZuEditor20::setBookmarkOffset(int index, int value)
{
    Operate(0, [&] {
        if (Document().BookmarkCount() == 0)
            throw ZuErrnoException{ZuErrBadParameter};
        Document().SetBookmarkOffset(std::uint32_t(std::max(0, index)), value);
    });
}
QString ZuEditor20::BookmarkName(int index) const
{
    if (Doc().BookmarkCount() == 0)
        return QString();
    const std::string* name = Doc().BookmarkName(std::uint32_t(std::max(0, index)));
    return name ? ZuToQString(*name) : QString();
}
void ZuEditor20::setBookmarkName(int index, const QString& value)
{
    Operate(0, [&] {
        if (Document().BookmarkCount() == 0)
            throw ZuErrnoException{ZuErrBadParameter};
        Document().SetBookmarkName(std::uint32_t(std::max(0, index)), ZuFromQString(value));
    });
}

// ---- Search

QString ZuEditor20::GetSearchTarget() const { return ZuToQString(search.target); }
void ZuEditor20::LetSearchTarget(QString value)
{
    Operate(52, [&] { search.target = ZuFromQString(value); });
}
QString ZuEditor20::GetSearchReplacement() const { return ZuToQString(search.replacement); }
void ZuEditor20::LetSearchReplacement(QString value)
{
    Operate(53, [&] { search.replacement = ZuFromQString(value); });
}
int ZuEditor20::GetSearchOrigin() const { return search.origin; }
void ZuEditor20::LetSearchOrigin(int value)
{
    Operate(54, [&] { search.origin = Clamp(Short(value), 0, 1); });
}
int ZuEditor20::GetSearchTo() const { return search.to; }
void ZuEditor20::LetSearchTo(int value)
{
    Operate(55, [&] { search.to = Clamp(Short(value), 0, 1); });
}
bool ZuEditor20::GetSearchCaseSensitive() const { return search.caseSensitive; }
void ZuEditor20::LetSearchCaseSensitive(bool value)
{
    Operate(56, [&] { search.caseSensitive = value; });
}
bool ZuEditor20::GetSearchWholeWordsOnly() const { return search.wholeWordsOnly; }
void ZuEditor20::LetSearchWholeWordsOnly(bool value)
{
    Operate(57, [&] { search.wholeWordsOnly = value; });
}
int ZuEditor20::GetSearchReplaceAction() const { return search.replaceAction; }
void ZuEditor20::LetSearchReplaceAction(int value)
{
    Operate(110, [&] { search.replaceAction = Clamp(Short(value), 0, 2); });
}
int ZuEditor20::GetSearchResult() const { return search.Result(); }
void ZuEditor20::LetSearchResult(int) { SetNotSupported(); }
int ZuEditor20::GetSearchReplaceCount() const { return search.ReplaceCount(); }
void ZuEditor20::LetSearchReplaceCount(int) { SetNotSupported(); }

// ---- Action

int ZuEditor20::GetAction() const { GetNotSupported(); }
void ZuEditor20::LetAction(int value)
{
    Operate(0, [&] { RunAction(Short(value)); });
}

void ZuEditor20::RunAction(int action)
{
    const int pane = PaneToRead();
    ZuPaneView& view = View(pane);
    auto grouped = [&](const std::function<ZuErr()>& work) {
        UndoManager().Nest(true);
        const ZuErr result = work();
        UndoManager().Nest(false);
        Check(result);
    };
    switch (action) {
    case 1: Check(Copy()); break;
    case 2: grouped([&]() -> ZuErr { return Paste(); }); break;
    case 3: grouped([&]() -> ZuErr { return Cut(); }); break;
    case 4: grouped([&]() -> ZuErr { return view.SelectionEmpty() ? ZuOk : view.DeleteSelection(); }); break;
    case 5:
        for (int p : PanesInScope())
            if (!View(p).SelectionEmpty())
                grouped([&]() -> ZuErr { return View(p).WrapSelection(); });
        break;
    case 6: Check(UndoManager().Undo()); break;
    case 7: Check(UndoManager().Redo()); break;
    case 8: UndoManager().EmptyAll(); break;
    case 9:
    case 10:
    case 11: Check(SearchAction(action)); break;
    default: break;
    }
    View(0).InvalidateAll();
    View(1).InvalidateAll();
}

// ---- Coordinates

namespace {
int MethodPane(int splitterType, int pane, int focus)
{
    if (splitterType == 0)
        return 0;
    return pane > 1 ? 1 : pane < 0 ? focus : pane;
}
}  // namespace

int ZuEditor20::ClientToPane(int x, int y)
{
    const QPoint point(x, y);
    for (int i = 0; i < 2; ++i)
        if (PaneWindow(i).isVisible() && PaneWindow(i).geometry().contains(point))
            return i;
    return -1;
}

QVariantList ZuEditor20::ClientToFile(int pane, int x, int y)
{
    pane = MethodPane(SplitterType, pane, FocusPane());
    const QPoint local = PaneWindow(pane).viewport()->mapFrom(this, QPoint(x, y));
    const ZuTextPosition p = View(pane).PositionAt(local);
    return {int(p.x) + 1, int(p.y) + 1};
}

int ZuEditor20::FileToOffset(int pane, int x, int y)
{
    pane = MethodPane(SplitterType, pane, FocusPane());
    const ZuTextPosition p{std::uint32_t(std::max(1, x) - 1), std::uint32_t(std::max(0, y)) + 1};
    return int(Document().PositionToOffset(pane, p));
}

QVariantList ZuEditor20::OffsetToFile(int offset, int pane)
{
    pane = MethodPane(SplitterType, pane, FocusPane());
    const ZuTextPosition p = Document().OffsetToPosition(pane, std::uint64_t(std::max(0, offset)));
    return {int(p.x) + 1, int(p.y) - 1};
}

void ZuEditor20::AboutBox() { ZuShowAboutBox(window()); }

void ZuEditor20::ShowPropertyPages() { ZuShowPropertySheet({this}, window()); }
