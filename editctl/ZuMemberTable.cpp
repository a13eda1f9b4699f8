#include "editctl/ZuMemberTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using K = ZuMemberKind;
constexpr unsigned RW = ZuRead | ZuWrite;
constexpr unsigned RWH = ZuRead | ZuWrite | ZuHidden;
constexpr unsigned RO = ZuRead | ZuReadOnly;
constexpr unsigned ROH = ZuRead | ZuReadOnly | ZuHidden;
constexpr unsigned WOH = ZuWrite | ZuWriteOnly | ZuHidden;

const ZuMember Dispatch[] = {
    {1, "SplitterPosition", K::Property, "short", RW},
    {2, "SplitterWidth", K::Property, "short", RW},
    {3, "SplitterEnabled", K::Property, "boolean", RW},
    {4, "SplitterType", K::Property, "short", RW},
    {5, "SplitterForeColor", K::Property, "OLE_COLOR", RW},
    {6, "SplitterBackColor", K::Property, "OLE_COLOR", RW},
    {7, "FileOpen", K::Property, "BSTR", RW},
    {8, "FileInsert", K::Property, "BSTR", RW},
    {9, "ScrollBars", K::Property, "short", RW},
    {10, "TextAll", K::Property, "BSTR", RW},
    {11, "TextIndex", K::Property, "long", RWH},
    {12, "IsDirty", K::Property, "boolean", RWH},
    {13, "Count", K::Property, "long", ROH},
    {14, "CaretX", K::Property, "long", RWH},
    {15, "CaretY", K::Property, "long", RWH},
    {16, "TopY", K::Property, "long", RWH},
    {17, "InsertMode", K::Property, "boolean", RW},
    {18, "Action", K::Property, "short", WOH},
    {19, "SelDefaultType", K::Property, "short", RW},
    {20, "SelMark", K::Property, "short", RWH},
    {21, "SelStartX", K::Property, "long", RWH},
    {22, "SelStartY", K::Property, "long", RWH},
    {23, "SelEndX", K::Property, "long", RWH},
    {24, "SelEndY", K::Property, "long", RWH},
    {25, "SelText", K::Property, "BSTR", RWH},
    {26, "SelTextAll", K::Property, "BSTR", RWH},
    {27, "Redraw", K::Property, "boolean", RWH},
    {28, "LeftHi", K::Property, "long", ROH},
    {29, "RightHi", K::Property, "long", ROH},
    {30, "ReadOnly", K::Property, "boolean", RW},
    {31, "TopMargin", K::Property, "short", RW},
    {32, "BottomMargin", K::Property, "short", RW},
    {33, "LeftMargin", K::Property, "short", RW},
    {34, "RightMargin", K::Property, "short", RW},
    {35, "SelForeColor", K::Property, "OLE_COLOR", RW},
    {36, "SelBackColor", K::Property, "OLE_COLOR", RW},
    {37, "SelDragDropEnable", K::Property, "boolean", RW},
    {38, "TabDefaultWidth", K::Property, "short", RW},
    {39, "TabCount", K::Property, "short", RWH},
    {40, "TabMark", K::IndexedProperty, "long", RW},
    {41, "WrapX", K::Property, "short", RW},
    {42, "WrapWholeWords", K::Property, "boolean", RW},
    {43, "WrapAutomatically", K::Property, "boolean", RW},
    {44, "hFont", K::Property, "OLE_HANDLE", ROH},
    {45, "CaretWidth", K::Property, "short", RW},
    {46, "CaretHeight", K::Property, "short", RW},
    {47, "LinesPerWindow", K::Property, "short", ROH},
    {48, "FullLinesPerWindow", K::Property, "short", ROH},
    {49, "CanUndo", K::Property, "boolean", ROH},
    {50, "CanRedo", K::Property, "boolean", ROH},
    {51, "UndoLimit", K::Property, "short", RW},
    {52, "SearchTarget", K::Property, "BSTR", RW},
    {53, "SearchReplacement", K::Property, "BSTR", RW},
    {54, "SearchOrigin", K::Property, "short", RW},
    {55, "SearchTo", K::Property, "short", RW},
    {56, "SearchCaseSensitive", K::Property, "boolean", RW},
    {57, "SearchWholeWordsOnly", K::Property, "boolean", RW},
    {58, "SearchResult", K::Property, "short", ROH},
    {59, "IsEndOfParagraph", K::Property, "boolean", RWH},
    {60, "PaneIndex", K::Property, "short", RWH},
    {61, "PaneFocus", K::Property, "short", RWH},
    {62, "SearchReplaceCount", K::Property, "long", ROH},
    {63, "FileConvertOemAnsi", K::Property, "boolean", RW},
    {64, "CountBytes", K::Property, "long", ROH},
    {65, "FileSaveSelected", K::Property, "BSTR", RWH},
    {66, "CharacterBold", K::Property, "short", RWH},
    {67, "CharacterItalic", K::Property, "short", RWH},
    {68, "CharacterName", K::Property, "BSTR", RWH},
    {69, "CharacterSize", K::Property, "float", RWH},
    {70, "CharacterStrikethru", K::Property, "boolean", RWH},
    {71, "CharacterUnderline", K::Property, "boolean", RWH},
    {72, "CharacterForeColor", K::Property, "OLE_COLOR", RWH},
    {73, "CharacterBackColor", K::Property, "OLE_COLOR", RWH},
    {74, "BookmarkOffset", K::IndexedProperty, "long", RW},
    {75, "BookmarkCount", K::Property, "long", RWH},
    {76, "BookmarkName", K::IndexedProperty, "BSTR", RW},
    {77, "CaretOffset", K::Property, "long", RWH},
    {78, "SelStartOffset", K::Property, "long", RWH},
    {79, "SelEndOffset", K::Property, "long", RWH},
    {80, "TextType", K::Property, "short", RW},
    {81, "SelColorType", K::Property, "short", RW},
    {82, "HeightLine", K::Property, "long", ROH},
    {83, "PaintDC", K::Property, "OLE_HANDLE", WOH},
    {84, "FileSaveAppend", K::Property, "boolean", RW},
    {85, "FileSave", K::Property, "BSTR", RW},
    {86, "Text", K::Property, "BSTR", RWH},
    {87, "ForeColor", K::Property, "OLE_COLOR", RW},
    {88, "BackColor", K::Property, "OLE_COLOR", RW},
    {89, "MousePointer", K::Property, "short", RW},
    {90, "ClientToPane", K::Method, "short(long XIn, long YIn)", 0},
    {91, "ClientToFile", K::Method, "void(short Pane, long XIn, long YIn, long* lpXOut, long* lpYOut)", 0},
    {92, "FileToOffset", K::Method, "long(short Pane, long XIn, long YIn)", 0},
    {93, "OffsetToFile", K::Method, "void(long Offset, short Pane, long* XOut, long* YOut)", 0},
    {94, "FontName", K::Property, "BSTR", RW},
    {95, "FontBold", K::Property, "boolean", RW},
    {96, "FontItalic", K::Property, "boolean", RW},
    {97, "FontStrikethru", K::Property, "boolean", RW},
    {98, "FontUnderline", K::Property, "boolean", RW},
    {99, "FontSize", K::Property, "float", RW},
    {100, "TabAlign", K::IndexedProperty, "short", RW},
    {101, "TabLeader", K::IndexedProperty, "short", RW},
    {102, "SelTabMark", K::IndexedProperty, "long", RW},
    {103, "SelTabCount", K::Property, "long", RWH},
    {104, "SelTabClear", K::Method, "void()", 0},
    {105, "SelTabClearAll", K::Method, "void()", 0},
    {106, "SelTabAlign", K::IndexedProperty, "short", RW},
    {107, "SelTabLeader", K::IndexedProperty, "short", RW},
    {108, "SelNextTab", K::Property, "long", ROH},
    {109, "SelPrevTab", K::Property, "long", ROH},
    {110, "SearchReplaceAction", K::Property, "short", RW},
    {111, "ExtentX", K::Property, "long", ROH},
    {112, "LeftX", K::Property, "long", RWH},
    {113, "UndoCharFormattingEnabled", K::Property, "boolean", RW},
    {114, "UndoCaretEnabled", K::Property, "boolean", RW},
    {-512, "Font", K::Property, "Font", RW},
    {-520, "Appearance", K::Property, "short", RW},
    {-504, "BorderStyle", K::Property, "short", RW},
    {-514, "Enabled", K::Property, "boolean", RW},
    {-515, "hWnd", K::Property, "OLE_HANDLE", RO},
    {-552, "AboutBox", K::Method, "void()", 0},
};

const ZuMember Events[] = {
    {1, "KeyPress", K::Event, "short* KeyAscii", 0},
    {2, "FindWordBreak", K::Event, "long* CurrentX, long* CurrentY, long* NextX, long* NextY, short* Pane", 0},
    {3, "SelChange", K::Event,
     "long* OldSelStartX, long* OldSelStartY, long* OldSelEndX, long* OldSelEndY, short* OldSelMark, short* Pane", 0},
    {4, "TopYChange", K::Event, "long* OldTopY, short* Pane", 0},
    {5, "CaretChange", K::Event, "long* OldCaretX, long* OldCaretY, short* Pane", 0},
    {6, "Change", K::Event, "", 0},
    {7, "SearchReplaceConfirm", K::Event, "short* Confirmation", 0},
    {11, "CountChange", K::Event, "long* OldCount, short* Pane", 0},
    {12, "PaneFocusChange", K::Event, "short* OldPaneIndex", 0},
    {13, "EraseBackground", K::Event, "short* Pane, OLE_HANDLE* hDC, short* bErasedBackground", 0},
    {14, "LeftXChange", K::Event, "long* OldLeftX, short* Pane", 0},
    {15, "ExtentXChange", K::Event, "long* OldExtentX, short* Pane", 0},
    {-600, "Click", K::Event, "", 0},
    {-601, "DblClick", K::Event, "", 0},
    {-602, "KeyDown", K::Event, "short* KeyCode, short Shift", 0},
    {-604, "KeyUp", K::Event, "short* KeyCode, short Shift", 0},
    {-605, "MouseDown", K::Event, "short Button, short Shift, OLE_XPOS_PIXELS X, OLE_YPOS_PIXELS Y", 0},
    {-606, "MouseMove", K::Event, "short Button, short Shift, OLE_XPOS_PIXELS X, OLE_YPOS_PIXELS Y", 0},
    {-607, "MouseUp", K::Event, "short Button, short Shift, OLE_XPOS_PIXELS X, OLE_YPOS_PIXELS Y", 0},
    // The stock error event, which keys and mouse report their failures through.
    {-608, "Error", K::Event,
     "short Number, BSTR* Description, long Scode, BSTR Source, BSTR HelpFile, long HelpContext, boolean* CancelDisplay",
     0},
};

QJsonArray ToJson(std::span<const ZuMember> members)
{
    static const char* const Kinds[] = {"property", "indexed property", "method", "event"};
    QJsonArray array;
    for (const ZuMember& m : members) {
        QJsonObject o;
        o[QStringLiteral("dispid")] = m.dispid;
        o[QStringLiteral("name")] = QString::fromLatin1(m.name);
        o[QStringLiteral("kind")] = QString::fromLatin1(Kinds[int(m.kind)]);
        o[QStringLiteral("type")] = QString::fromLatin1(m.type);
        if (m.kind == ZuMemberKind::Property || m.kind == ZuMemberKind::IndexedProperty) {
            o[QStringLiteral("access")] = (m.access & ZuReadOnly)    ? QStringLiteral("R RO")
                                          : (m.access & ZuWriteOnly) ? QStringLiteral("WO")
                                                                     : QStringLiteral("R W");
            o[QStringLiteral("hidden")] = (m.access & ZuHidden) != 0;
        }
        array.append(o);
    }
    return array;
}

}  // namespace

std::span<const ZuMember> ZuDispatchMembers() { return Dispatch; }
std::span<const ZuMember> ZuEventMembers() { return Events; }

const ZuMember* ZuFindMember(const QString& name)
{
    for (const ZuMember& m : Dispatch)
        if (name.compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0)
            return &m;
    return nullptr;
}

QString ZuInterfaceDescription()
{
    QJsonObject root;
    root[QStringLiteral("_DZuEdit2")] = ToJson(Dispatch);
    root[QStringLiteral("_DZuEdit2Events")] = ToJson(Events);
    root[QStringLiteral("defaultMember")] = QStringLiteral("Text");
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}
