#include "document/frmNotePad.h"

#include "document/NcLanguage.h"
#include "document/frmPrint.h"
#include "document/MenuItems.h"
#include "nc/NcCommandFrame.h"
#include "nc/frmBolt.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/ActionsWithoutCommand.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Twips.h"
#include "platform/forms/WaitCursor.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditCommands.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/MPrinting.h"
#include "shell/MRecentFiles.h"
#include "shell/basFileDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <utility>

namespace {

const QString Title = QStringLiteral("Talvex Editor");

// The caption of a free Macros menu item, and the description a removed
// macro's slot gets: "Macro3 - not assigned" for item 3.
QString FreeMacroCaption(int item)
{
    return QStringLiteral("Macro%1 - not assigned").arg(item);
}

// The design width of the word-list panel, in twips.
constexpr double WordPanelWidth = 2400;

QAction* AddSeparator(QMenu* menu, const QString& name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(name);
    return action;
}

QMenu* AddMenu(QWidget* owner, const char* name, const QString& caption)
{
    auto* menu = new QMenu(caption, owner);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

DocumentStateRecord* StateOf(const DocumentForm* window)
{
    if (window == nullptr)
        return nullptr;
    const int slot = SlotOf(*window);
    if (slot < 1 || slot > DocumentSlotCount())
        return nullptr;
    return &DocumentState[static_cast<size_t>(slot)];
}

void SetButtons(bool enabled)
{
    if (MDIMain* main = MDIMain::Instance())
        main->SetButtons(enabled);
}

void Activate(DocumentForm* window)
{
    if (MDIMain* main = MDIMain::Instance())
        main->ShowDocument(window);
}

}  // namespace

frmNotePad::frmNotePad(QWidget* parent) : DocumentForm(parent)
{
    setObjectName(QStringLiteral("frmNotePad"));
    BuildControls();
    BuildMenus();
    BuildPopupMenu();
    // Items whose command this program does not have are shown disabled.
    QList<QWidget*> menus{mnuPEditMain};
    for (QMenu* menu : MenuBarMenus())
        menus.append(menu);
    platform::DisableActionsWithoutCommand(menus);
    ConnectText1();
    Form_Load();
}

frmNotePad::~frmNotePad() = default;

void frmNotePad::BuildControls()
{
    text1_ = new platform::CodeMax(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    setFocusProxy(text1_);

    frWords = new QFrame(this);
    frWords->setObjectName(QStringLiteral("frWords"));
    frWords->setFrameShape(QFrame::StyledPanel);
    frWords->resize(platform::TwipsToPixelsX(WordPanelWidth), frWords->height());
    lstWords = new QListWidget(frWords);
    lstWords->setObjectName(QStringLiteral("lstWords"));
    lstWords->setSelectionMode(QAbstractItemView::ExtendedSelection);
    frWords->hide();

    const auto hidden = [this](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->hide();
        return button;
    };
    cmdDummySave = hidden("cmdDummySave", QStringLiteral("Dummy Save"));
    cmdDummySaveAll = hidden("cmdDummySaveAll", QStringLiteral("Dummy Save All"));
    cmdFileInsert = hidden("cmdFileInsert", QStringLiteral("FileInsert"));
    cmdGoto = hidden("cmdGoto", QStringLiteral("Goto"));
    cmdWordlist = hidden("cmdWordlist", QStringLiteral("Wordlist"));
    connect(cmdDummySave, &QPushButton::clicked, this, [this] { mnuFSave_Click(); });
    connect(cmdDummySaveAll, &QPushButton::clicked, this, [this] { mnuFSaveAll_Click(); });
    connect(cmdFileInsert, &QPushButton::clicked, this, [this] { mnuInsertFile_Click(); });
    connect(cmdWordlist, &QPushButton::clicked, this, [this] { Form_Resize(); });
    // cmdGoto runs Go To Line: connected with the Search menu.
}

void frmNotePad::BuildMenus()
{
    mnuFile = AddMenu(this, "mnuFile", QStringLiteral("&File"));
    mnuFNew = AddMenuItem(mnuFile, "mnuFNew", QStringLiteral("&New"));
    mnuFOpen = AddMenuItem(mnuFile, "mnuFOpen", QStringLiteral("&Open..."));
    mnuFClose = AddMenuItem(mnuFile, "mnuFClose", QStringLiteral("&Close File"));
    mnuCloseAllFiles = AddMenuItem(mnuFile, "mnuCloseAllFiles", QStringLiteral("Close &All Files"));
    AddSeparator(mnuFile, QStringLiteral("mnuFBar1"));
    mnuFSave = AddMenuItem(mnuFile, "mnuFSave", QStringLiteral("&Save"));
    mnuFSaveAs = AddMenuItem(mnuFile, "mnuFSaveAs", QStringLiteral("Save &As..."));
    mnuFSaveAll = AddMenuItem(mnuFile, "mnuFSaveAll", QStringLiteral("Save Al&l"));
    AddSeparator(mnuFile, QStringLiteral("mnuFBar2"));
    mnuFilePrint = AddMenuItem(mnuFile, "mnuFilePrint", QStringLiteral("&Print"));
    mnuFilePageSetup = AddMenuItem(mnuFile, "mnuFilePageSetup", QStringLiteral("Page Set&up..."));
    mnuFilePrintSetup = AddMenuItem(mnuFile, "mnuFilePrintSetup", QStringLiteral("P&rint Setup..."));
    mnuPlot = AddMenuItem(mnuFile, "mnuPlot", QStringLiteral("Plot &Window"));
    mnuRecentFile[0] = AddSeparator(mnuFile, QStringLiteral("mnuRecentFile0"));
    mnuRecentFile[0]->setVisible(false);
    for (int i = 1; i < static_cast<int>(mnuRecentFile.size()); ++i) {
        QAction* entry = mnuFile->addAction(QStringLiteral("RecentFile%1").arg(i));
        entry->setObjectName(QStringLiteral("mnuRecentFile%1").arg(i));
        entry->setVisible(false);
        connect(entry, &QAction::triggered, this, [this, i] { mnuRecentFile_Click(i); });
        mnuRecentFile[static_cast<size_t>(i)] = entry;
    }
    // Standard keys for the commands every editor has.
    mnuFNew->setShortcut(QKeySequence::New);
    mnuFOpen->setShortcut(QKeySequence::Open);
    mnuFSave->setShortcut(QKeySequence::Save);
    connect(mnuFNew, &QAction::triggered, this, [this] { mnuFNew_Click(); });
    connect(mnuFOpen, &QAction::triggered, this, [this] { mnuFOpen_Click(); });
    connect(mnuFClose, &QAction::triggered, this, [this] { mnuFClose_Click(); });
    connect(mnuCloseAllFiles, &QAction::triggered, this, [this] { mnuCloseAllFiles_Click(); });
    connect(mnuFSave, &QAction::triggered, this, [this] { mnuFSave_Click(); });
    connect(mnuFSaveAs, &QAction::triggered, this, [this] { mnuFSaveAs_Click(); });
    connect(mnuFSaveAll, &QAction::triggered, this, [this] { mnuFSaveAll_Click(); });
    connect(mnuFilePrint, &QAction::triggered, this, [this] { mnuFilePrint_Click(); });
    connect(mnuFilePrintSetup, &QAction::triggered, this, [this] { mnuFilePrintSetup_Click(); });

    mnuEdit = AddMenu(this, "mnuEdit", QStringLiteral("&Edit"));
    mnuEditUndo = AddMenuItem(mnuEdit, "mnuEditUndo", QStringLiteral("&Undo"));
    mnuEditRedo = AddMenuItem(mnuEdit, "mnuEditRedo", QStringLiteral("&Redo"));
    AddSeparator(mnuEdit, QStringLiteral("mnuEBar1"));
    mnuECut = AddMenuItem(mnuEdit, "mnuECut", QStringLiteral("Cu&t"));
    mnuECopy = AddMenuItem(mnuEdit, "mnuECopy", QStringLiteral("&Copy"));
    mnuEPaste = AddMenuItem(mnuEdit, "mnuEPaste", QStringLiteral("&Paste"));
    mnuEditDelete = AddMenuItem(mnuEdit, "mnuEditDelete", QStringLiteral("D&elete"));
    AddSeparator(mnuEdit, QStringLiteral("mnuEBar2"));
    mnuSelectAll = AddMenuItem(mnuEdit, "mnuSelectAll", QStringLiteral("Select &All"));
    mnuEditClearAll = AddMenuItem(mnuEdit, "mnuEditClearAll", QStringLiteral("Clear All"));
    AddSeparator(mnuEdit, QStringLiteral("mnuEBar3"));
    mnuDelBlockSkips = AddMenuItem(mnuEdit, "mnuDelBlockSkips", QStringLiteral("Remove &Block Skips"));
    mnuDelComments = AddMenuItem(mnuEdit, "mnuDelComments", QStringLiteral("Remove Co&mments"));
    mnuDelEndBlocks = AddMenuItem(mnuEdit, "mnuDelEndBlocks", QStringLiteral("Remove End &Of Blocks"));
    connect(mnuEditUndo, &QAction::triggered, this, [this] { mnuEditUndo_Click(); });
    connect(mnuEditRedo, &QAction::triggered, this, [this] { mnuEditRedo_Click(); });
    connect(mnuECut, &QAction::triggered, this, [this] { mnuECut_Click(); });
    connect(mnuECopy, &QAction::triggered, this, [this] { mnuECopy_Click(); });
    connect(mnuEPaste, &QAction::triggered, this, [this] { mnuEPaste_Click(); });
    connect(mnuEditDelete, &QAction::triggered, this, [this] { mnuEditDelete_Click(); });
    connect(mnuSelectAll, &QAction::triggered, this, [this] { mnuSelectAll_Click(); });

    mnuSearch = AddMenu(this, "mnuSearch", QStringLiteral("&Search"));
    mnuView = AddMenu(this, "mnuView", QStringLiteral("&View"));

    mnuInsert = AddMenu(this, "mnuInsert", QStringLiteral("&Insert"));
    mnuInsertFile = AddMenuItem(mnuInsert, "mnuInsertFile", QStringLiteral("&File..."));
    mnuBlockSkips = AddMenuItem(mnuInsert, "mnuBlockSkips", QStringLiteral("&Block Skips"));
    mnuComment = AddMenuItem(mnuInsert, "mnuComment", QStringLiteral("Co&mments"));
    mnuEndOFBlocks = AddMenuItem(mnuInsert, "mnuEndOFBlocks", QStringLiteral("&End of Blocks"));
    mnuTime = AddMenuItem(mnuInsert, "mnuTime", QStringLiteral("&Time/Date"));
    connect(mnuInsertFile, &QAction::triggered, this, [this] { mnuInsertFile_Click(); });

    mnuNC = AddMenu(this, "mnuNC", QStringLiteral("&NC Functions"));
    mnuInsertNumbers = AddMenuItem(mnuNC, "mnuInsertNumbers", QStringLiteral("&Insert Block Numbers"));
    mnuRemoveBlockNumbers = AddMenuItem(mnuNC, "mnuRemoveBlockNumbers", QStringLiteral("&Remove Block Numbers"));
    RemoveZeros = AddMenuItem(mnuNC, "RemoveZeros", QStringLiteral("Remove Leading Number &Zeros"));
    AddSeparator(mnuNC, QStringLiteral("mnuNCBar1"));
    mnuSpaceInsert = AddMenuItem(mnuNC, "mnuSpaceInsert", QStringLiteral("Insert &Spaces"));
    mnuSpaceRemove = AddMenuItem(mnuNC, "mnuSpaceRemove", QStringLiteral("Remove Spaces"));
    mnuRemoveBlankLines = AddMenuItem(mnuNC, "mnuRemoveBlankLines", QStringLiteral("Remove &Blank Lines"));
    AddMenuItem(mnuNC, "mnuAddMachine", QStringLiteral("&Add/Delete Machine"));  // no action of its own
    connect(mnuInsertNumbers, &QAction::triggered, this, [this] { mnuInsertNumbers_Click(); });
    connect(mnuRemoveBlockNumbers, &QAction::triggered, this, [this] { mnuRemoveBlockNumbers_Click(); });
    connect(RemoveZeros, &QAction::triggered, this, [this] { RemoveZeros_Click(); });
    connect(mnuSpaceInsert, &QAction::triggered, this, [this] { mnuSpaceInsert_Click(); });
    connect(mnuSpaceRemove, &QAction::triggered, this, [this] { mnuSpaceRemove_Click(); });
    connect(mnuRemoveBlankLines, &QAction::triggered, this, [this] { mnuRemoveBlankLines_Click(); });

    mnuUtilities = AddMenu(this, "mnuUtilities", QStringLiteral("&Utilities"));
    mnuG90 = AddMenuItem(mnuUtilities, "mnuG90", QStringLiteral("&Absolute G90"));
    mnuG91 = AddMenuItem(mnuUtilities, "mnuG91", QStringLiteral("&Incremental G91"));
    mnuClipboard = AddMenuItem(mnuUtilities, "mnuClipboard", QStringLiteral("&Clipboard Extender"));
    if (ShowClipExtenderHook)
        connect(mnuClipboard, &QAction::triggered, this, [this] { mnuClipboard_Click(); });
    mnuSwitch = AddMenuItem(mnuUtilities, "mnuSwitch", QStringLiteral("&Switch XYZ..."));
    mnuChangeMain = AddMenuItem(mnuUtilities, "mnuChangeMain", QStringLiteral("Change &Value..."));
    mnuShiftAddress = AddMenuItem(mnuUtilities, "mnuShiftAddress", QStringLiteral("Shift &Address"));
    mnuSyntax = AddMenuItem(mnuUtilities, "mnuSyntax", QStringLiteral("Syntax &Checker"));
    connect(mnuG90, &QAction::triggered, this, [this] { mnuG90_Click(); });
    connect(mnuG91, &QAction::triggered, this, [this] { mnuG91_Click(); });
    ConnectNcCommandItems();
    mnuAccessories = AddMenu(this, "mnuAccessories", QStringLiteral("&Accessories"));
    mnuBolt = AddMenuItem(mnuAccessories, "mnuBolt", QStringLiteral("&Bolt Circle"));
    connect(mnuBolt, &QAction::triggered, this, [this] { mnuBolt_Click(); });

    mnuMacrosMain = AddMenu(this, "mnuMacrosMain", QStringLiteral("&Macros"));
    mnuMacroMain = mnuMacrosMain->addMenu(QStringLiteral("Keyboard Macro &Editor"));
    mnuMacroMain->setObjectName(QStringLiteral("mnuMacroMain"));
    mnuMacroCreate = AddMenuItem(mnuMacroMain, "mnuMacroCreate", QStringLiteral("&Create"));
    AddSeparator(mnuMacroMain, QStringLiteral("mnuMacroBar1"));
    mnuMacroRem = AddMenuItem(mnuMacroMain, "mnuMacroRem", QStringLiteral("&Remove a Macro"));
    AddSeparator(mnuMacroMain, QStringLiteral("mnuMacroBar2"));
    mnuMacroDel = AddMenuItem(mnuMacroMain, "mnuMacroDel", QStringLiteral("&Delete all Macros"));
    mnuMacroKeys = AddMenuItem(mnuMacrosMain, "mnuMacroKeys", QStringLiteral("&Keyboard Assignments"));
    AddSeparator(mnuMacrosMain, QStringLiteral("mnuMacroBar3"));
    // The macro dialogs come from the customisation library: without it these items have no command.
    if (ShowMacroCreateHook)
        connect(mnuMacroCreate, &QAction::triggered, this, [this] { mnuMacroCreate_Click(); });
    if (ShowMacroRemoveHook)
        connect(mnuMacroRem, &QAction::triggered, this, [this] { mnuMacroRem_Click(); });
    if (DeleteAllMacrosHook)
        connect(mnuMacroDel, &QAction::triggered, this, [this] { mnuMacroDel_Click(); });
    if (ShowKeysHook)
        connect(mnuMacroKeys, &QAction::triggered, this, [this] { mnuMacroKeys_Click(); });
    for (int i = 1; i < static_cast<int>(mnuMacros.size()); ++i) {
        // The design captions (item 4's misspelling included).
        const QString caption = i == 4 ? QStringLiteral("Marco 4 - not assigned")
                                       : QStringLiteral("Macro %1 - not assigned").arg(i);
        QAction* item = mnuMacrosMain->addAction(caption);
        item->setObjectName(QStringLiteral("mnuMacros%1").arg(i));
        mnuMacros[static_cast<size_t>(i)] = item;
        connect(item, &QAction::triggered, this, [this, i] { mnuMacros_Click(i); });
    }

    // Shown but disabled until the listing adds its first plug-in.
    mnuPlugins = AddMenu(this, "mnuPlugins", QStringLiteral("&Plugins"));
    mnuPlugins->setEnabled(false);
    mnuPlugins->menuAction()->setEnabled(false);

    mnuWindow = AddMenu(this, "mnuWindow", QStringLiteral("&Window"));
    mnuCloseWindow = AddMenuItem(mnuWindow, "mnuCloseWindow", QStringLiteral("&Close Window"));
    mnuCloseAll = AddMenuItem(mnuWindow, "mnuCloseAll", QStringLiteral("Close &All Windows"));
    connect(mnuCloseWindow, &QAction::triggered, this, [this] { mnuCloseWindow_Click(); });
    connect(mnuCloseAll, &QAction::triggered, this, [this] { mnuCloseAll_Click(); });

    mnuHelp = AddMenu(this, "mnuHelpMain", QStringLiteral("&Help"));
    BuildSearchMenu();
    BuildViewMenus();
    BuildWordListMenu();
    BuildToolMenus();

    for (QMenu* menu : MenuBarMenus()) {
        if (menu != mnuPlugins)
            menu->menuAction()->setVisible(!menu->isEmpty());
        menu->installEventFilter(this);
    }
}

void frmNotePad::BuildPopupMenu()
{
    mnuPEditMain = AddMenu(this, "mnuPEditMain", QStringLiteral("PEdit"));
    const QString captions[] = {
        QStringLiteral("&Undo"),
        QStringLiteral("&Redo"),
        QString(),
        QStringLiteral("Cu&t"),
        QStringLiteral("&Copy"),
        QStringLiteral("&Paste"),
        QStringLiteral("Select &All"),
        QString(),
        QStringLiteral("Insert Block Numbers"),
        QStringLiteral("Remove Block Numbers"),
        QString(),
        QStringLiteral("Remove Spaces"),
        QStringLiteral("Insert Spaces"),
        QString(),
        QStringLiteral("&Close"),
        QString(),
        QStringLiteral("Talvex Editor Properties"),
    };
    for (int i = 0; i < static_cast<int>(mnuPEdit.size()); ++i) {
        const QString name = QStringLiteral("mnuPEdit%1").arg(i);
        QAction* item = captions[i].isEmpty() ? AddSeparator(mnuPEditMain, name)
                                              : mnuPEditMain->addAction(captions[i]);
        item->setObjectName(name);
        // The settings item has a command only where the settings dialog is built in.
        if (!item->isSeparator() && (i != 16 || ShowEditPropHook))
            connect(item, &QAction::triggered, this, [this, i] { mnuPEdit_Click(i); });
        mnuPEdit[static_cast<size_t>(i)] = item;
    }
}

void frmNotePad::ConnectText1()
{
    using platform::CodeMax;
    connect(text1_, &CodeMax::CaretNotify, this, [this](CodeMax*) { Text1_CaretNotify(); });
    connect(text1_, &CodeMax::ContentChange, this, [this](CodeMax*) { Text1_ContentChange(); });
    connect(text1_, &CodeMax::SelectionChange, this, [this](CodeMax*) { Text1_SelectionChange(); });
    connect(text1_, &CodeMax::SettingsRequest, this,
            [this](CodeMax*, bool& cancel) { cancel = Text1_SettingsRequest(); });
    connect(text1_, &CodeMax::CommandFailure, this,
            [this](CodeMax*, int command, int code) { Text1_CommandFailure(command, code); });
    connect(text1_, &CodeMax::KeyDown, this, [this](CodeMax*, int keyCode, int shift, bool& cancel) {
        cancel = Text1_KeyDown(keyCode, shift) || cancel;
    });
    connect(text1_, &CodeMax::MouseUp, this, [this](CodeMax*, int button, int shift, int x, int y) {
        Text1_MouseUp(button, shift, x, y);
    });
    // The splitters hold the panes: a pane added by a split is watched too.
    for (QSplitter* splitter : text1_->findChildren<QSplitter*>())
        splitter->installEventFilter(this);
    WatchFileDrops();
}

void frmNotePad::WatchFileDrops()
{
    // Installing a filter twice keeps one.
    for (int i = 0; i < text1_->PaneCount(); ++i)
        if (QsciScintilla* pane = text1_->Pane(i))
            pane->viewport()->installEventFilter(this);
}

bool frmNotePad::HandleFileDrop(QDropEvent& event)
{
    // The text fills the window: files dropped on it are opened as if
    // dropped on the main window; dragged text stays with the editor.
    const QStringList files = MDIMain::DroppedFiles(event.mimeData());
    MDIMain* main = MDIMain::Instance();
    if (files.isEmpty() || main == nullptr)
        return false;
    event.acceptProposedAction();
    if (event.type() == QEvent::Drop)
        main->DropFiles(files);
    return true;
}

QList<QMenu*> frmNotePad::MenuBarMenus() const
{
    return {mnuFile, mnuEdit, mnuSearch, mnuView, mnuInsert, mnuNC, mnuUtilities,
            mnuAccessories, mnuMacrosMain, mnuPlugins, mnuOptionsMain, mnuWindow, mnuHelp};
}

bool frmNotePad::eventFilter(QObject* watched, QEvent* event)
{
    if (WordListEvent(watched, event))
        return true;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (HandleFileDrop(static_cast<QDropEvent&>(*event)))
            return true;
        break;
    case QEvent::ChildAdded:
        if (qobject_cast<QSplitter*>(watched) != nullptr)
            WatchFileDrops();
        break;
    default:
        break;
    }
    // A menu without items stays out of the menu bar until its commands come;
    // the Plugins menu stays in it, disabled while it is empty.
    if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved)
        if (auto* menu = qobject_cast<QMenu*>(watched); menu != nullptr && menu != mnuPlugins)
            menu->menuAction()->setVisible(!menu->isEmpty());
    return DocumentForm::eventFilter(watched, event);
}

void frmNotePad::ShowRecentFile(int index, const QString& path)
{
    ShowRecentFileEntry(mnuRecentFile, index, path);
}

// ---------------------------------------------------------------- window events

void frmNotePad::Form_Load()
{
    RegisterNcLanguage(*text1_);
    text1_->SetLanguage(QStringLiteral("CNC"));
    frWords->hide();
    WordListShown = false;
    SetMacroCaptions(false);
    // The list as the main window shows it; later opens refresh every window.
    ShowRecentFiles(*this);
    if (ScanPluginsHook)
        ScanPluginsHook(*this);
}

void frmNotePad::Form_Activate()
{
    try {
        ApplyColorItems(*text1_);
        WordListShown = false;
        if (LoadMacrosHook)
            LoadMacrosHook();
        if (LoadHotKeysHook)
            LoadHotKeysHook();
    } catch (...) {
        ShowProgramError();
    }
}

bool frmNotePad::QueryUnload(int)
{
    try {
        const DocumentStateRecord* state = StateOf(this);
        if (state == nullptr || !state->Modified)
            return true;
        const int slot = SlotOf(*this);
        const int answer = platform::MsgBox(
            QStringLiteral("Do you want to save the changes? ")
                + GetFileTitle(DocumentPaths[static_cast<size_t>(slot - 1)]),
            platform::vbYesNoCancel | platform::vbQuestion, Caption());
        if (answer == platform::vbYes) {
            QString path = FilePath;
            if (IsUntitled()) {
                GetSaveAsFileName(path, this);
                DialogCancelled = false;
            }
            // A document whose save failed or was not chosen stays open.
            if (path.isEmpty() || !SaveDocumentAs(*this, path))
                return false;
            // Saved: when the close is called off after all (a later window
            // of a shutdown cancels), this one is not asked about again.
            MarkSaved();
            return true;
        }
        if (answer == platform::vbNo) {
            DialogCancelled = false;
            return true;
        }
        DialogCancelled = true;
        return false;
    } catch (...) {
        ShowProgramError();
        return false;
    }
}

void frmNotePad::MarkSaved()
{
    if (DocumentStateRecord* state = StateOf(this))
        state->Modified = false;
    // The program-wide flag stays while another document still holds changes.
    for (int slot = 1; slot <= DocumentSlotCount(); ++slot) {
        const DocumentStateRecord& other = DocumentState[static_cast<size_t>(slot)];
        if (!other.Free && other.Modified)
            return;
    }
    TextChanged = false;
}

void frmNotePad::Form_Unload()
{
    try {
        FreeDocumentIndex(SlotOf(*this));
        InsertMode = true;
        platform::DoEvents();
        UpdateStatusBar();
        if (!AnyDocumentsOpen())
            SetButtons(false);
    } catch (...) {
        ShowProgramError();
    }
}

void frmNotePad::resizeEvent(QResizeEvent* event)
{
    DocumentForm::resizeEvent(event);
    Form_Resize();
}

void frmNotePad::Form_Resize()
{
    if (SaveAllRunning)
        return;
    using platform::PixelsToTwipsX;
    using platform::PixelsToTwipsY;
    using platform::TwipsToPixelsX;
    using platform::TwipsToPixelsY;
    const double innerWidth = PixelsToTwipsX(width());
    const double innerHeight = PixelsToTwipsY(height());
    const auto at = [](QWidget* widget, double left, double top, double w, double h) {
        widget->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top),
                            std::max(0, TwipsToPixelsX(w)), std::max(0, TwipsToPixelsY(h)));
    };
    if (WordListShown) {
        const double panelWidth = PixelsToTwipsX(frWords->width());
        at(frWords, innerWidth - panelWidth, 0, panelWidth, innerHeight - 3);
        lstWords->setGeometry(0, 0, frWords->width(), frWords->height());
        at(text1_, 0, 0, innerWidth - panelWidth - 30, innerHeight - 3);
        frWords->show();
    } else {
        frWords->hide();
        at(text1_, 0, 0, innerWidth - 3, innerHeight - 3);
    }
}

// ---------------------------------------------------------------- events of Text1

void frmNotePad::Text1_CaretNotify()
{
    // The selection change that comes with every caret move has shown the
    // status line already, unless bulk edits held it back.
    if (!std::exchange(statusShown_, false))
        UpdateStatusBar();
}

void frmNotePad::Text1_ContentChange()
{
    TextChanged = true;
    // The document that changed is this window's, whichever window is active.
    if (DocumentStateRecord* state = StateOf(this); state != nullptr && !state->Free)
        state->Modified = true;
}

void frmNotePad::Text1_SelectionChange()
{
    statusShown_ = false;
    if (BulkEditRunning)
        return;
    try {
        CurrentRange = text1_->GetSel(true);
        text1_->SetHighlightedLine(LineHighlightOn ? CurrentRange.endLine : -1);
        UpdateStatusBar();
        statusShown_ = true;
    } catch (...) {
    }
}

bool frmNotePad::Text1_SettingsRequest()
{
    return true;
}

void frmNotePad::Text1_CommandFailure(int, int code)
{
    if (code == 1) {
        if (MacroPlaying) {
            platform::MsgBox(QStringLiteral("No macro has been assigned to this selection!"),
                             platform::vbExclamation, Title);
            MacroPlaying = false;
        }
    } else if (code == 4) {
        if (SearchingG91) {
            platform::MsgBox(QStringLiteral("G91 was not found!"), platform::vbExclamation, Title);
            SearchingG91 = false;
        } else {
            platform::MsgBox(QStringLiteral("Data was not found!"), platform::vbExclamation, Title);
        }
    }
}

bool frmNotePad::Text1_KeyDown(int keyCode, int shift)
{
    constexpr int vbKeyInsert = 45;
    if (keyCode != vbKeyInsert || shift != 0)
        return false;
    ToggleInsertMode();
    // The typing mode is the program's to switch.
    return true;
}

void frmNotePad::Text1_MouseUp(int button, int, int x, int y)
{
    constexpr int vbRightButton = 2;
    if (button != vbRightButton)
        return;
    try {
        CurrentRange = ActiveText1().GetSel(false);
    } catch (...) {
        return;
    }
    mnuPEditMain->popup(text1_->mapToGlobal(QPoint(x, y)));
}

// ---------------------------------------------------------------- File menu

void frmNotePad::mnuFNew_Click()
{
    NewDocument();
    SetButtons(true);
}

void frmNotePad::mnuFOpen_Click()
{
    WordListShown = false;
    OpenFiles();
    // A cancelled dialog concerns this command only.
    DialogCancelled = false;
    platform::DoEvents();
    UpdateStatusBar();
}

void frmNotePad::mnuRecentFile_Click(int index)
{
    try {
        if (index < 1 || index >= static_cast<int>(mnuRecentFile.size()))
            return;
        const QString path = mnuRecentFile[static_cast<size_t>(index)]->data().toString();
        if (path.isEmpty())
            return;
        if (OpenFileInWindow(path, false))
            RefreshRecentFileMenus();
    } catch (...) {
    }
}

void frmNotePad::mnuFSave_Click()
{
    try {
        QString path = FilePath;
        if (IsUntitled()) {
            GetSaveAsFileName(path, this);
            DialogCancelled = false;
        }
        if (path.isEmpty())
            return;
        // A failed save leaves the document modified: its changes are not on disk.
        if (!SaveDocument(*this, path))
            return;
        if (DocumentStateRecord* state = StateOf(this))
            state->Modified = false;
        TextChanged = false;
    } catch (...) {
        ShowProgramError();
    }
}

void frmNotePad::mnuFSaveAs_Click()
{
    try {
        QString path;
        const bool cancelled = GetSaveAsFileName(path, this);
        DialogCancelled = false;
        if (cancelled || path.isEmpty())
            return;
        if (!SaveDocumentAs(*this, path))
            return;
        if (DocumentStateRecord* state = StateOf(this))
            state->Modified = false;
        TextChanged = false;
    } catch (...) {
        ShowProgramError();
    }
}

void frmNotePad::mnuFSaveAll_Click()
{
    QPointer<DocumentForm> wasActive = ActiveDocumentForm();
    try {
        if (OpenDocumentCount() == 0)
            return;
        for (int slot = 1; slot <= DocumentSlotCount(); ++slot) {
            if (DocumentState[static_cast<size_t>(slot)].Free)
                continue;
            // A slot without a window has no text to save: never write an
            // empty window over the slot's file.
            DocumentForm* window = DocumentWindow(slot);
            if (window == nullptr)
                continue;
            SaveAllRunning = true;
            Activate(window);
            QString path = window->FilePath;
            if (window->IsUntitled())
                path = ShowFileDialog(window, QStringLiteral("Save As"),
                                      QStringLiteral("All Files (*.*)|*.*"), 0, QString(), DefaultDir,
                                      QString(), SaveFileDialog);
            if (path.isEmpty() || !SaveDocument(*window, path))
                continue;
            DocumentState[static_cast<size_t>(slot)].Modified = false;
            TextChanged = false;
        }
    } catch (...) {
    }
    SaveAllRunning = false;
    // The user goes on where they were.
    if (wasActive)
        Activate(wasActive);
}

void frmNotePad::mnuFClose_Click()
{
    DocumentForm* active = ActiveDocumentForm();
    if (active == nullptr)
        return;
    const int slot = SlotOf(*active);
    // Whether the window went decides, not a flag a dialog may have left.
    if (!UnloadDocument(*active))
        return;
    if (slot >= 1 && slot <= MaxDocuments)
        DocumentPaths[static_cast<size_t>(slot - 1)].clear();
    if (!AnyDocumentsOpen()) {
        EraseDocuments(true);
        UpdateStatusBar();
        SetButtons(false);
    }
}

void frmNotePad::mnuCloseWindow_Click()
{
    DocumentForm* active = ActiveDocumentForm();
    if (active == nullptr || !UnloadDocument(*active))
        return;
    if (!AnyDocumentsOpen()) {
        EraseDocuments(false);
        UpdateStatusBar();
        SetButtons(false);
    }
}

void frmNotePad::mnuCloseAll_Click()
{
    CloseAll(false);
}

void frmNotePad::mnuCloseAllFiles_Click()
{
    CloseAll(true);
}

void frmNotePad::CloseAll(bool clearPaths)
{
    if (AnyDocumentsOpen()) {
        for (const QPointer<DocumentForm>& window : OpenDocumentWindows()) {
            try {
                if (window == nullptr)
                    continue;
                Activate(window);
                UnloadDocument(*window);
            } catch (...) {
            }
        }
        // A document kept by Cancel keeps its buttons.
        SetButtons(AnyDocumentsOpen());
    }
    if (OpenDocumentCount() == 0) {
        EraseDocuments(clearPaths);
        UpdateStatusBar();
        SetButtons(false);
    }
}

void frmNotePad::mnuFilePrint_Click()
{
    if (OpenDocumentCount() > 0)
        ShowPrintDialog();
}

void frmNotePad::mnuFilePrintSetup_Click()
{
    ShowPrintSetup();
}

// ---------------------------------------------------------------- Insert menu

void frmNotePad::mnuInsertFile_Click()
{
    try {
        CurrentRange = ActiveText1().GetSel(true);
        InsertPos = platform::CodeMaxPosition{CurrentRange.startLine, 0};
        const QString path = InsertFileDialog();
        if (path.isEmpty())
            return;
        ActiveText1().InsertFile(path, InsertPos);
        if (DocumentStateRecord* state = StateOf(ActiveDocumentForm()))
            state->Modified = true;
    } catch (...) {
        // A file that cannot be inserted (too large for the memory, unreadable) says why.
        ShowProgramError();
    }
}

// ---------------------------------------------------------------- Edit menus

void frmNotePad::mnuEditUndo_Click()
{
    EditUndo();
}

void frmNotePad::mnuEditRedo_Click()
{
    EditRedo();
}

void frmNotePad::mnuECut_Click()
{
    EditCut();
}

void frmNotePad::mnuECopy_Click()
{
    EditCopy();
}

void frmNotePad::mnuEPaste_Click()
{
    EditPaste();
}

void frmNotePad::mnuEditDelete_Click()
{
    try {
        EditDelete();
    } catch (...) {
        ShowProgramError();
    }
}

void frmNotePad::mnuSelectAll_Click()
{
    EditSelectAll();
}

void frmNotePad::mnuPEdit_Click(int index)
{
    switch (index) {
    case 0: EditUndo(); break;
    case 1: EditRedo(); break;
    case 3: EditCut(); break;
    case 4: EditCopy(); break;
    case 5: EditPaste(); break;
    case 6: EditSelectAll(); break;
    case 8: InsertBlockNumbersCommand(); break;
    case 9: RemoveBlockNumbersCommand(); break;
    case 11: RemoveSpacesCommand(); break;
    case 12: InsertSpacesCommand(); break;
    case 14: mnuFClose_Click(); break;
    case 16:
        if (ShowEditPropHook)
            ShowEditPropHook();
        break;
    default: break;
    }
}

// ---------------------------------------------------------------- NC Functions and Utilities menus

void frmNotePad::mnuInsertNumbers_Click() { InsertBlockNumbersCommand(); }
void frmNotePad::mnuRemoveBlockNumbers_Click() { RemoveBlockNumbersCommand(); }
void frmNotePad::RemoveZeros_Click() { RemoveLeadingZerosCommand(); }
void frmNotePad::mnuSpaceInsert_Click() { InsertSpacesCommand(); }
void frmNotePad::mnuSpaceRemove_Click() { RemoveSpacesCommand(); }
void frmNotePad::mnuRemoveBlankLines_Click() { RemoveBlankLinesCommand(); }
void frmNotePad::mnuG90_Click() { DoAbsolute(); }
void frmNotePad::mnuG91_Click() { DoIncremental(); }
void frmNotePad::mnuBolt_Click() { ShowBoltCircle(); }

void frmNotePad::mnuClipboard_Click()
{
    if (ShowClipExtenderHook)
        ShowClipExtenderHook();
}

// ---------------------------------------------------------------- Macros menu

void frmNotePad::mnuMacroCreate_Click()
{
    if (ShowMacroCreateHook)
        ShowMacroCreateHook();
    UpdateMacroCaptions();
}

void frmNotePad::mnuMacroRem_Click()
{
    if (ShowMacroRemoveHook)
        ShowMacroRemoveHook();
    UpdateMacroCaptions();
}

void frmNotePad::mnuMacroDel_Click()
{
    if (DeleteAllMacrosHook && DeleteAllMacrosHook())
        UpdateMacroCaptions(true);
}

void frmNotePad::mnuMacroKeys_Click()
{
    if (ShowKeysHook)
        ShowKeysHook();
}

void frmNotePad::mnuMacros_Click(int index)
{
    MacroPlaying = true;
    const int command = 213 + index;
    try {
        // A macro plays only through its key. A removed one keeps its bytes
        // but loses its keys and its description: for it nothing is assigned.
        const platform::CodeMaxGlobals globals;
        if (globals.GetNumHotKeysForCmd(command) == 0) {
            const bool recorded = !globals.GetMacro(index - 1).isEmpty()
                                  && MacroDescriptions[static_cast<size_t>(index - 1)] != FreeMacroCaption(index);
            platform::MsgBox(recorded ? QStringLiteral("This macro has no shortcut key, and a macro plays only "
                                                       "through its shortcut key.\n\nTo give it one, open Macros > "
                                                       "Keyboard Assignments, select \"Macro %1\", press the key in "
                                                       "\"New Key Assignment\" and click Assign.")
                                            .arg(index)
                                      : QStringLiteral("No macro has been assigned to this selection!"),
                             platform::vbExclamation, Title);
            MacroPlaying = false;
            return;
        }
        text1_->ExecuteCmd(command);
    } catch (...) {
        platform::MsgBox(QStringLiteral("Error using Macro ") + mnuMacros[static_cast<size_t>(index)]->text(),
                         platform::vbOKOnly, Title);
    }
    MacroPlaying = false;
}

void frmNotePad::UpdateMacroCaptions(bool allFree)
{
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* window = qobject_cast<frmNotePad*>(widget))
            window->SetMacroCaptions(allFree);
}

void frmNotePad::SetMacroCaptions(bool allFree)
{
    for (int i = 1; i <= MaxMacros; ++i) {
        const QString free = FreeMacroCaption(i);
        const QString& description = MacroDescriptions[static_cast<size_t>(i - 1)];
        if (allFree)
            mnuMacros[static_cast<size_t>(i)]->setText(free);
        else if (i <= Macronumber)
            // An empty caption would leave an item nobody can see.
            mnuMacros[static_cast<size_t>(i)]->setText(description.trimmed().isEmpty() ? free : description);
    }
}
void frmNotePad::NumberHighLight() { ::NumberHighLight(); }
