// The main window's three toolbars: their buttons, the click of each button
// (dispatched on its position, separators counted), SetButtons and the
// captions. Every button runs the command its menu item runs: on the active
// document window through its hidden buttons and its public handlers, called
// by name, or through the shell's own commands.

#include "shell/MDIMain.h"

#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxCommands.h"
#include "platform/com/CallByName.h"
#include "platform/forms/ActionsWithoutCommand.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ToolbarFace.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/MEditCommands.h"
#include "shell/MEditor.h"

#include <QAbstractButton>
#include <QAction>
#include <QBitmap>
#include <QPixmap>
#include <QToolBar>
#include <iterator>
#include <utility>

namespace Cmd = platform::CodeMaxCmd;

namespace {

// One entry of a toolbar: a button (key, tooltip, image of the strip) or,
// with an empty key, a separator. Clicks are dispatched on the 0-based
// position of the entry, separators counted.
struct ToolbarEntry {
    const char* key;
    const char* tooltip;
    int image;
};

constexpr ToolbarEntry Separator{"", "", -1};

constexpr ToolbarEntry Toolbar1Entries[] = {
    {"Exit", "Exit Program", 9},
    Separator,
    {"New", "New", 0},
    {"Open", "Open", 1},
    {"Save", "Save", 2},
    {"Save All", "Save All", 12},
    Separator,
    {"Insert", "Insert a File", 11},
    Separator,
    {"Cut", "Cut", 3},
    {"Copy", "Copy", 4},
    {"Paste", "Paste", 5},
    Separator,
    {"Print", "Print", 6},
    Separator,
    {"Undo", "Undo Paste", 18},
    {"Redo", "Redo", 17},
    Separator,
    {"Find", "Find", 13},
    {"Find Next", "Find Next", 14},
    {"Find Prev", "Find Previous", 15},
    {"Replace", "Find and Replace", 16},
    Separator,
    {"Block Number", "Insert Block Numbers", 37},
    {"Goto Line", "Goto Line", 20},
    Separator,
    {"Insert Spaces", "Insert Spaces", 39},
    {"Remove Spaces", "Remove Spaces", 40},
    Separator,
    {"Close", "Close", 21},
    {"Close All", "Close All", 22},
};

constexpr ToolbarEntry Toolbar3Entries[] = {
    {"Color", "Color", 23},
    {"Margin Line Numbers", "Margin Line Numbers", 30},
    {"Toggle Bookmarks", "Toggle Boomarks", 24},
    {"Next Bookmark", "Next Bookmark", 25},
    {"Previous Bookmark", "Previous Bookmark", 26},
    {"Clear Bookmarks", "Clear Bookmarks", 27},
    {"Top of File", "Top of File", 28},
    {"Bottom of File", "Bottom of File", 29},
    {"Macro Text Window", "Macro Text Window", 31},
    {"Clipboard Extender", "Clipboard Extender", 32},
    {"Talvex Editor Properties", "Talvex Editor Properties", 33},
    {"Compare Files", "Compare Files", 34},
};

constexpr ToolbarEntry Toolbar4Entries[] = {
    {"Split Window Horizontal", "Split Window Horizontal", 35},
    {"Split Window Vertical", "Split Window Vertical", 36},
    {"Clear Window Splits", "Clear Window Splits", 38},
};

// The buttons SetButtons switches, by toolbar.
constexpr const char* Toolbar1DocumentKeys[] = {
    "Save", "Save All", "Insert", "Cut", "Copy", "Paste", "Print", "Undo", "Redo", "Find",
    "Find Next", "Find Prev", "Replace", "Block Number", "Goto Line", "Insert Spaces",
    "Remove Spaces", "Close", "Close All"};
constexpr const char* Toolbar3DocumentKeys[] = {
    "Color", "Margin Line Numbers", "Toggle Bookmarks", "Next Bookmark", "Previous Bookmark",
    "Clear Bookmarks", "Top of File", "Bottom of File", "Macro Text Window", "Clipboard Extender"};
constexpr const char* Toolbar4DocumentKeys[] = {
    "Split Window Horizontal", "Split Window Vertical", "Clear Window Splits"};

// The images of the strip "Images\smallAll.bmp": 16 x 16 pixels side by side;
// magenta is the transparent colour.
QList<QPixmap> LoadImageStrip()
{
    QList<QPixmap> images;
    const QPixmap strip(platform::ProgramFile(QStringLiteral("\\Images\\smallAll.bmp")));
    if (strip.isNull())
        return images;
    for (int x = 0; x + MDIMain::ToolbarImageSize <= strip.width(); x += MDIMain::ToolbarImageSize) {
        QPixmap image = strip.copy(x, 0, MDIMain::ToolbarImageSize, MDIMain::ToolbarImageSize);
        image.setMask(image.createMaskFromColor(QColor(255, 0, 255)));
        images.append(image);
    }
    return images;
}

template <size_t Count>
void AddEntries(QToolBar& toolbar, const ToolbarEntry (&entries)[Count], bool captions,
                const QList<QPixmap>& images)
{
    for (const ToolbarEntry& entry : entries) {
        if (*entry.key == '\0') {
            toolbar.addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(entry.key);
        QAction* button = toolbar.addAction(captions ? key : QString());
        button->setObjectName(key);
        button->setData(key);
        button->setToolTip(QString::fromLatin1(entry.tooltip));
        if (entry.image >= 0 && entry.image < images.size())
            button->setIcon(QIcon(images[entry.image]));
    }
}

// Presses a hidden button of the document window, as a click would.
void PressButton(DocumentForm& form, const char* name)
{
    auto* button = form.findChild<QAbstractButton*>(QLatin1String(name));
    if (button == nullptr)
        throw platform::Error(438, QStringLiteral("Object doesn't support this property or method"));
    button->click();
}

// Runs a public handler of the document window, the one its menu item runs.
void Call(DocumentForm& form, const char* handler)
{
    platform::CallByName(&form, QLatin1String(handler), platform::VbMethod);
}

bool HasText(const platform::CodeMax& text)
{
    return text.LineCount() > 1 || text.GetLineLength(0) > 0;
}

// Closing documents: a failure on the way is reported, not passed over.
template <typename Unload>
void Unloading(Unload unload)
{
    try {
        unload();
    } catch (...) {
        platform::MsgBox(QStringLiteral("Error unloading forms. Please try again"), platform::vbInformation,
                         QStringLiteral("Talvex Editor"));
    }
}

// The syntax colouring toggle: numbers red in both states, the text magenta
// while colouring is on and black while it is off.
void ToggleColour(platform::CodeMax& text)
{
    text.SetColorSyntax(!text.ColorSyntax());
    text.SetColor(6, 255);
    text.SetColor(4, text.ColorSyntax() ? 16711935 : 0);
}

}  // namespace

void MDIMain::BuildToolbars()
{
    const QList<QPixmap> images = LoadImageStrip();
    cToolbar1->clear();
    cToolbar3->clear();
    cToolbar4->clear();
    // Only the first toolbar carries captions (its keys), shown on demand.
    AddEntries(*cToolbar1, Toolbar1Entries, true, images);
    AddEntries(*cToolbar3, Toolbar3Entries, false, images);
    AddEntries(*cToolbar4, Toolbar4Entries, false, images);
    cToolbar1->setToolButtonStyle(mnuShowCaptions->isChecked() ? Qt::ToolButtonTextUnderIcon
                                                               : Qt::ToolButtonIconOnly);
    const std::pair<QToolBar*, void (MDIMain::*)(int)> clicks[] = {
        {cToolbar1, &MDIMain::cToolbar1_ButtonClick},
        {cToolbar3, &MDIMain::cToolbar3_ButtonClick},
        {cToolbar4, &MDIMain::cToolbar4_ButtonClick},
    };
    for (const auto& [toolbar, click] : clicks) {
        const QList<QAction*> entries = toolbar->actions();
        for (int position = 0; position < entries.size(); ++position)
            if (!entries[position]->isSeparator())
                connect(entries[position], &QAction::triggered, this,
                        [this, click = click, position] { (this->*click)(position); });
    }
    platform::DisableActionsWithoutCommand({cToolbar1, cToolbar3, cToolbar4});
    // The strip is drawn for a light face: on a dark desktop the toolbars keep one.
    for (QToolBar* toolbar : {cToolbar1, cToolbar3, cToolbar4})
        platform::KeepToolbarIconsVisible(*toolbar);
}

void MDIMain::cToolbar1_ButtonClick(int position)
{
    try {
        switch (position) {
        case 0: Unloading([this] { mnuExit_Click(); }); break;
        case 2: mnuNew_Click(); break;
        case 3: mnuOpen_Click(); break;
        default: {
            // Every other button needs a document: with none open it does nothing.
            DocumentForm* form = ActiveForm();
            platform::CodeMax* text = form != nullptr ? form->Text1() : nullptr;
            if (text == nullptr)
                return;
            switch (position) {
            case 4: PressButton(*form, "cmdDummySave"); break;
            case 5: PressButton(*form, "cmdDummySaveAll"); break;
            case 7: PressButton(*form, "cmdFileInsert"); break;
            case 9: EditCut(); break;
            case 10: EditCopy(); break;
            case 11: EditPaste(); break;
            case 13:
                if (OpenDocumentCount() >= 1)
                    Call(*form, "mnuFilePrint_Click");
                break;
            case 15: EditUndo(); break;
            case 16: EditRedo(); break;
            case 18:
                if (HasText(*text))
                    Call(*form, "mnuSFind_Click");
                break;
            case 19:
                if (HasText(*text))
                    Call(*form, "mnuSFindNext_Click");
                break;
            case 20:
                if (HasText(*text))
                    text->ExecuteCmd(Cmd::FindPrev);
                break;
            case 21:
                if (HasText(*text))
                    Call(*form, "mnuSearchReplace_Click");
                break;
            case 23:
                if (HasText(*text))
                    Call(*form, "mnuInsertNumbers_Click");
                break;
            case 24:
                if (HasText(*text))
                    PressButton(*form, "cmdGoto");
                break;
            case 26:
                if (text->LineCount() > 1)
                    Call(*form, "mnuSpaceInsert_Click");
                break;
            case 27:
                if (text->LineCount() > 1)
                    Call(*form, "mnuSpaceRemove_Click");
                break;
            case 29: Unloading([form] { Call(*form, "mnuFClose_Click"); }); break;
            case 30: Unloading([form] { Call(*form, "mnuCloseAllFiles_Click"); }); break;
            default: return;  // a separator
            }
            break;
        }
        }
    } catch (...) {
    }
    FocusBackToDocument();
}

void MDIMain::cToolbar3_ButtonClick(int position)
{
    try {
        switch (position) {
        case 9:
            if (ShowClipExtenderHook)
                ShowClipExtenderHook();
            return;  // its window keeps the keyboard
        case 10: mnuEditProp_Click(); break;
        case 11:
            mnuCompare_Click();
            return;  // the compare program's window keeps the keyboard
        default: {
            DocumentForm* form = ActiveForm();
            platform::CodeMax* text = form != nullptr ? form->Text1() : nullptr;
            if (text == nullptr)
                return;
            switch (position) {
            case 0: ToggleColour(*text); break;
            case 1: Call(*form, "mnuLineNumbers_Click"); break;
            case 2: text->SetDisplayLeftMargin(!text->DisplayLeftMargin()); break;
            case 3: text->ExecuteCmd(Cmd::BookmarkNext); break;
            case 4: text->ExecuteCmd(Cmd::BookmarkPrev); break;
            case 5: text->ExecuteCmd(Cmd::BookmarkClearAll); break;
            case 6: Call(*form, "mnuJumpTop_Click"); break;
            case 7: Call(*form, "mnuJumpBottom_Click"); break;
            case 8:
                WordListShown = !WordListShown;
                PressButton(*form, "cmdWordlist");
                break;
            default: return;
            }
            break;
        }
        }
    } catch (...) {
    }
    FocusBackToDocument();
}

void MDIMain::cToolbar4_ButtonClick(int position)
{
    static const char* const handlers[] = {"mnuHSplit_Click", "mnuVSplit_Click", "mnuClearSplits_Click"};
    try {
        DocumentForm* form = ActiveForm();
        if (form == nullptr || position < 0 || position >= static_cast<int>(std::size(handlers)))
            return;
        Call(*form, handlers[position]);
    } catch (...) {
    }
    FocusBackToDocument();
}

void MDIMain::FocusBackToDocument()
{
    // After the command (and any dialog it showed) the keyboard is back in
    // the document the user is working on.
    if (DocumentForm* form = ActiveForm())
        if (platform::CodeMax* text = form->Text1())
            text->SetFocus();
}

void MDIMain::mnuShowCaptions_Click()
{
    const bool show = !mnuShowCaptions->isChecked();
    mnuShowCaptions->setChecked(show);
    cToolbar1->setToolButtonStyle(show ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
}

void MDIMain::SetButtons(bool enabled)
{
    const auto set = [enabled, this](const QToolBar& toolbar, const auto& keys) {
        for (const char* key : keys)
            if (QAction* button = ToolbarButton(toolbar, QString::fromLatin1(key)))
                // A button without a command stays disabled.
                button->setEnabled(enabled && platform::HasCommand(*button));
    };
    set(*cToolbar1, Toolbar1DocumentKeys);
    set(*cToolbar3, Toolbar3DocumentKeys);
    set(*cToolbar4, Toolbar4DocumentKeys);
}

QAction* MDIMain::ToolbarButton(const QToolBar& toolbar, const QString& key) const
{
    for (QAction* action : toolbar.actions())
        if (!action->isSeparator() && action->data().toString() == key)
            return action;
    return nullptr;
}
