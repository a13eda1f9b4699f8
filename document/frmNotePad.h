#pragma once
// The document window: one NC program in the editing control Text1, bound
// to one slot of the document table (its Tag). Its menus show in the main
// window's menu bar while it is the active document; a menu shows once it
// has items, so the NC, View, Search, Utilities, Accessories, Plugins and
// Help menus are there for their commands to be added to.
//
// Commands act on the main window's active document window and its Text1,
// which is the window whose menu was used.

#include "platform/codemax/CodeMaxPosition.h"
#include "platform/codemax/CodeMaxRange.h"
#include "shell/DocumentForm.h"

#include <QList>
#include <array>
#include <functional>

class QAction;
class QDropEvent;
class QFrame;
class QListWidget;
class QMenu;
class QPushButton;

namespace platform {
class CodeMax;
}

class frmNotePad;

// Save All is running: document windows skip their layout meanwhile.
inline bool SaveAllRunning = false;

// The plug-in scan of a new window (fills its Plugins menu); set by the
// plug-in host. Unset, the window lists no plug-ins.
inline std::function<void(frmNotePad& window)> ScanPluginsHook;
// The Macros menu's dialogs and commands, set by the customisation library;
// unset, their items are disabled. DeleteAllMacrosHook returns true when it
// cleared the macro list.
inline std::function<void()> ShowMacroCreateHook;
inline std::function<void()> ShowMacroRemoveHook;
inline std::function<bool()> DeleteAllMacrosHook;
inline std::function<void()> ShowKeysHook;
// The desktop's calculator: TALVEX_CALCULATOR when set, else the first of
// gnome-calculator, kcalc, galculator and xcalc found on PATH; "" for none.
QString DesktopCalculator();

class frmNotePad : public DocumentForm {
    Q_OBJECT
public:
    // Builds the window and runs its load.
    explicit frmNotePad(QWidget* parent = nullptr);
    ~frmNotePad() override;

    platform::CodeMax* Text1() override { return text1_; }
    void ShowRecentFile(int index, const QString& path) override;
    QList<QMenu*> MenuBarMenus() const override;
    bool QueryUnload(int unloadMode) override;
    void Form_Activate() override;

    // The handlers marked Q_INVOKABLE are also run by name by the main
    // window's toolbars, on the active document window.

    // Public variables of the window, read and written by the NC dialogs.
    qint16 XSwitchValue = 0;
    qint16 YSwitchValue = 0;
    qint16 ZSwitchValue = 0;
    qint32 BlockLine1 = 0;
    qint32 BlockLine2 = 0;
    qint32 HStartNumber = 0;
    qint32 HIncNumber = 0;

    // The last selection taken from Text1, and Insert File's insertion point.
    platform::CodeMaxRange CurrentRange;
    platform::CodeMaxPosition InsertPos;

    // ---- Window events
    void Form_Load();
    void Form_Resize();

    // ---- Events of Text1
    void Text1_CaretNotify();
    void Text1_ContentChange();
    void Text1_SelectionChange();
    bool Text1_SettingsRequest();
    void Text1_CommandFailure(int command, int code);
    bool Text1_KeyDown(int keyCode, int shift);
    void Text1_MouseUp(int button, int shift, int x, int y);

    // ---- File menu
    void mnuFNew_Click();
    void mnuFOpen_Click();
    void mnuRecentFile_Click(int index);
    void mnuFSave_Click();
    void mnuFSaveAs_Click();
    void mnuFSaveAll_Click();
    Q_INVOKABLE void mnuFClose_Click();
    Q_INVOKABLE void mnuCloseAllFiles_Click();
    Q_INVOKABLE void mnuFilePrint_Click();
    void mnuFilePrintSetup_Click();
    // ---- Insert and Window menus
    void mnuInsertFile_Click();
    void mnuCloseWindow_Click();
    void mnuCloseAll_Click();
    // ---- Edit menu and the popup edit menu
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuECut_Click();
    void mnuECopy_Click();
    void mnuEPaste_Click();
    void mnuEditDelete_Click();
    void mnuSelectAll_Click();
    void mnuPEdit_Click(int index);
    // ---- NC Functions and Utilities menus (the commands run on the active document)
    Q_INVOKABLE void mnuInsertNumbers_Click();
    void mnuRemoveBlockNumbers_Click();
    void RemoveZeros_Click();
    Q_INVOKABLE void mnuSpaceInsert_Click();
    Q_INVOKABLE void mnuSpaceRemove_Click();
    void mnuRemoveBlankLines_Click();
    void mnuG90_Click();
    void mnuG91_Click();
    void mnuClipboard_Click();
    // ---- Accessories menu
    void mnuBolt_Click();
    void mnuMacroCreate_Click();
    void mnuMacroRem_Click();
    void mnuMacroDel_Click();
    void mnuMacroKeys_Click();
    void mnuMacros_Click(int index);
    // Captions of the Macros menu items from the macro list, in every
    // document window: items 1 .. Macronumber show their descriptions (the
    // free mark for an empty one); with all set, every item shows the free mark.
    static void UpdateMacroCaptions(bool allFree = false);
    // The same for this window only.
    void SetMacroCaptions(bool allFree);
    // ---- Block marks, time stamp, axis switch, change value, shift and syntax check
    //      (frmNotePadNcMenus.cpp)
    void mnuBlockSkips_Click();
    void mnuComment_Click();
    void mnuEndOFBlocks_Click();
    void mnuTime_Click();
    void mnuDelBlockSkips_Click();
    void mnuDelComments_Click();
    void mnuDelEndBlocks_Click();
    void mnuSwitch_Click();
    void mnuChangeMain_Click();
    void mnuShiftAddress_Click();
    void mnuSyntax_Click();

    // ---- View, Window and Options menus, Utilities > Highlight Line (frmNotePadViewMenus.cpp)
    Q_INVOKABLE void mnuHSplit_Click();
    Q_INVOKABLE void mnuVSplit_Click();
    Q_INVOKABLE void mnuClearSplits_Click();
    Q_INVOKABLE void mnuLineNumbers_Click();
    void mnuLineHighlight_Click();
    void mnuOptions_Click(int index);
    void mnuNewWindow_Click();
    void mnuWCascade_Click();
    void mnuTileHorz_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWArrange_Click();
    // ---- Search menu (frmNotePadSearchMenus.cpp)
    Q_INVOKABLE void mnuSFind_Click();
    Q_INVOKABLE void mnuSearchReplace_Click();
    Q_INVOKABLE void mnuSFindNext_Click();
    void mnuBlockSearch_Click();
    void mnuGCodes_Click();
    void mnuMCodes_Click();
    void mnuFeeds_Click();
    void mnuSpindle_Click();
    void mnuToolChange_Click();
    void mnuSGoto_Click();
    Q_INVOKABLE void mnuJumpTop_Click();
    Q_INVOKABLE void mnuJumpBottom_Click();
    void mnuWhiteSpace_Click();

    // ---- Word-list panel, Macros > Macro Text (frmNotePadWordList.cpp)
    void mnuOpenMacFile_Click();
    void mnuMacClear_Click();
    void mnuMacClose_Click();
    // Asks for a word-list file and adds its entries to this window's list;
    // false when cancelled or unreadable (entries added stay).
    bool OpenWordList();
    // Key codes and shift masks as Windows gives them (16 Shift, 17 Ctrl; 1 Shift, 2 Ctrl, 4 Alt).
    void lstWords_KeyDown(int keyCode, int shift);
    void lstWords_KeyUp(int keyCode, int shift);
    void lstWords_MouseDown(int button, int shift, int x, int y);
    // A key went down in the list while Shift or Ctrl was held.
    bool WordPickPending = false;

    // ---- Reference texts and tool launchers (frmNotePadTools.cpp)
    void mnuGCode_Click();
    void mnuMCode_Click();
    void mnuWordRef_Click();
    void mnuCal_Click();
    void mnuKroCalc_Click();
    void mnuPrintPrev_Click();
    void mnuClipBrd_Click();
    void mnuExpress_Click();
    void mnuMetric_Click();
    // 0 Help Topics, 1 "&About Quillet..." (nothing), 2 a separator, 3 the tip of the day.
    void mnuHelp_Click(int index);

    // Numbers the selected lines of the active document.
    void NumberHighLight();

    // ---- Controls
    QFrame* frWords = nullptr;
    QListWidget* lstWords = nullptr;
    // Hidden buttons the main window's toolbars press on the active window.
    QPushButton* cmdDummySave = nullptr;
    QPushButton* cmdDummySaveAll = nullptr;
    QPushButton* cmdFileInsert = nullptr;
    QPushButton* cmdGoto = nullptr;
    QPushButton* cmdWordlist = nullptr;

    // ---- Menus (top-level menus in menu-bar order)
    QMenu* mnuFile = nullptr;
    QAction* mnuFNew = nullptr;
    QAction* mnuFOpen = nullptr;
    QAction* mnuFClose = nullptr;
    QAction* mnuCloseAllFiles = nullptr;
    QAction* mnuFSave = nullptr;
    QAction* mnuFSaveAs = nullptr;
    QAction* mnuFSaveAll = nullptr;
    QAction* mnuPrintPrev = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFilePageSetup = nullptr;
    QAction* mnuFilePrintSetup = nullptr;
    QAction* mnuPlot = nullptr;
    // Element 0 is a separator, 1 to 4 the recent files.
    std::array<QAction*, 5> mnuRecentFile{};

    QMenu* mnuEdit = nullptr;
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditRedo = nullptr;
    QAction* mnuECut = nullptr;
    QAction* mnuECopy = nullptr;
    QAction* mnuEPaste = nullptr;
    QAction* mnuEditDelete = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuEditClearAll = nullptr;
    QAction* mnuDelBlockSkips = nullptr;
    QAction* mnuDelComments = nullptr;
    QAction* mnuDelEndBlocks = nullptr;

    QMenu* mnuSearch = nullptr;
    QAction* mnuSFind = nullptr;
    QAction* mnuSearchReplace = nullptr;
    QAction* mnuSFindNext = nullptr;
    QAction* mnuNextToolChange = nullptr;
    QAction* mnuPrevToolchange = nullptr;
    QAction* mnuBlockSearch = nullptr;
    QAction* mnuGCodes = nullptr;
    QAction* mnuMCodes = nullptr;
    QAction* mnuFeeds = nullptr;
    QAction* mnuSpindle = nullptr;
    QAction* mnuToolChange = nullptr;
    QAction* mnuSGoto = nullptr;
    QAction* mnuJumpTop = nullptr;
    QAction* mnuJumpBottom = nullptr;
    QAction* mnuWhiteSpace = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuHSplit = nullptr;
    QAction* mnuVSplit = nullptr;
    QAction* mnuClearSplits = nullptr;
    QAction* mnuLineNumbers = nullptr;
    QMenu* mnuInsert = nullptr;
    QAction* mnuInsertFile = nullptr;
    QAction* mnuBlockSkips = nullptr;
    QAction* mnuComment = nullptr;
    QAction* mnuEndOFBlocks = nullptr;
    QAction* mnuTime = nullptr;
    QMenu* mnuNC = nullptr;
    QAction* mnuInsertNumbers = nullptr;
    QAction* mnuRemoveBlockNumbers = nullptr;
    QAction* RemoveZeros = nullptr;
    QAction* mnuSpaceInsert = nullptr;
    QAction* mnuSpaceRemove = nullptr;
    QAction* mnuRemoveBlankLines = nullptr;
    QMenu* mnuUtilities = nullptr;
    QAction* mnuG90 = nullptr;
    QAction* mnuG91 = nullptr;
    QAction* mnuSwitch = nullptr;
    QAction* mnuChangeMain = nullptr;
    QAction* mnuShiftAddress = nullptr;
    QAction* mnuSyntax = nullptr;
    QAction* mnuClipboard = nullptr;
    QAction* mnuLineHighlight = nullptr;
    QMenu* mnuAccessories = nullptr;
    QAction* mnuBolt = nullptr;
    QAction* mnuGCode = nullptr;
    QAction* mnuMCode = nullptr;
    QAction* mnuWordRef = nullptr;
    QAction* mnuCal = nullptr;
    QAction* mnuKroCalc = nullptr;
    QAction* mnuTrig = nullptr;
    QAction* mnuExpress = nullptr;
    QAction* mnuCalenda = nullptr;
    QAction* mnuMetric = nullptr;
    QAction* mnuClipBrd = nullptr;
    // Items 1 to 10 play macro slots 0 to 9.
    QMenu* mnuMacrosMain = nullptr;
    QMenu* mnuMacroMain = nullptr;
    QAction* mnuMacroCreate = nullptr;
    QAction* mnuMacroRem = nullptr;
    QAction* mnuMacroDel = nullptr;
    QAction* mnuMacroKeys = nullptr;
    std::array<QAction*, 11> mnuMacros{};
    QAction* mnuOpenMacFile = nullptr;
    QAction* mnuMacClear = nullptr;
    QAction* mnuMacClose = nullptr;
    QMenu* mnuPlugins = nullptr;
    // Items 0 "&Toolbar" (no action), 1 "&Status Bar", 2 a separator, 3 the settings dialog.
    QMenu* mnuOptionsMain = nullptr;
    std::array<QAction*, 4> mnuOptions{};
    QMenu* mnuWindow = nullptr;
    QAction* mnuNewWindow = nullptr;
    QAction* mnuWCascade = nullptr;
    QAction* mnuTileHorz = nullptr;
    QAction* mnuWindowTileHorizontal = nullptr;  // "&Tile Vertically"
    QAction* mnuWArrange = nullptr;
    QAction* mnuCloseWindow = nullptr;
    QAction* mnuCloseAll = nullptr;
    QMenu* mnuHelp = nullptr;
    std::array<QAction*, 4> mnuHelpItems{};

    // The popup edit menu of a right click in the text: items 0 to 16 of
    // mnuPEdit (2, 7, 10, 13 and 15 separators); 8, 9, 11 and 12 run NC commands.
    QMenu* mnuPEditMain = nullptr;
    std::array<QAction*, 17> mnuPEdit{};

protected:
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void BuildPopupMenu();
    // Connects the items of the block marks, time stamp, axis switch, change value, shift and
    // syntax check to their handlers.
    void ConnectNcCommandItems();
    void BuildViewMenus();
    void BuildWordListMenu();
    void BuildToolMenus();
    // Shows a reference file of the program folder in the viewer, or the failure message.
    void ShowReferenceText(const QString& file, const QString& caption, const QString& failure);
    // Key and mouse events of the word list; true when the event was used up.
    bool WordListEvent(QObject* watched, QEvent* event);
    void BuildSearchMenu();
    // Check marks from the active document's control and the highlight option.
    void RefreshCheckMarks();
    // Bookmarks every line of the active document that holds word, after clearing the others.
    void NcWordSearch(const QString& word);
    void ConnectText1();
    // Files dropped on any pane of Text1 go to the main window's drop.
    void WatchFileDrops();
    bool HandleFileDrop(QDropEvent& event);
    // After a save by the close question: the slot is no longer modified.
    void MarkSaved();
    // Close All Windows and Close All Files; the latter also forgets the paths.
    void CloseAll(bool clearPaths);

    platform::CodeMax* text1_ = nullptr;
    // The status line shows the last selection change of Text1.
    bool statusShown_ = false;
};
