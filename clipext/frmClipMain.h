#pragma once
// The clipboard extender's window "Clipboard Extender": the history of
// clipboard contents as a list of titles or as the details of one entry,
// with file, edit, view and help commands, a toolbar, the tray icon, and
// its settings under "Software\Corvane Software Development Inc.\CorvaneClip"
// (current user, else local machine; written to both).
//
// Where the desktop has no tray, the window never hides itself: closing it
// closes it. Menu handlers: frmClipMainMenus.cpp; history files and saving
// the details: frmClipMainFiles.cpp.

#include "clipext/ClipHistory.h"
#include "clipext/cClipboardViewer.h"
#include "clipext/cCustomClipboard.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QToolBar;
class frmSysTray;
namespace platform {
class CodeMax;
class SingleInstance;
}

inline const QString ClipSettingsKey = QStringLiteral("Software\\Corvane Software Development Inc.\\CorvaneClip");

class frmClipMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmClipMain(QWidget* parent = nullptr);
    ~frmClipMain() override;

    // The single default instance: loaded on first use, then shown modeless
    // and brought to the front. Default() is null while none is loaded.
    static void ShowDefault();
    static frmClipMain* Default();

    bool AlwaysOnTop() const { return alwaysOnTop_; }
    void AlwaysOnTop(bool on);
    // A history file named on a command line: loaded when it names an
    // existing file ("/p" before it is allowed); else a message.
    void ParseCommand(const QString& commandLine);
    int NumberOfLines() const { return history_.NumberOfLines(); }
    void NumberOfLines(int size);
    // Whether the tray icon is shown.
    bool InSysTray() const { return inSysTray_; }
    // On asks for the tray icon; without a tray it is not shown, but the
    // setting written stays on.
    void InSysTray(bool on);
    cCustomClipboard& Clipboard() { return clipboard_; }
    // The format number of a name of the format table; 0 when absent.
    quint32 FormatID(const QString& name) const;
    const std::vector<quint32>& DoStoreFormat() const { return storeFormats_; }
    void DoStoreFormat(std::vector<quint32> formats) { storeFormats_ = std::move(formats); }
    void SetupToolbar();

    // Loads a history file; false for a file that is not one (with the
    // message). A damaged file loads its good records and reports the rest.
    bool LoadHistoryFile(const QString& path);
    // Another instance asks to see the window: an empty request shows a
    // hidden window; one with data does nothing.
    void ShowRequest(const QByteArray& data);
    // How another process asks: the request goes to the extender window of
    // this user and program folder, which takes requests while it is
    // loaded. True once the window confirmed it; false when there is none.
    static bool SendShowRequest(const QByteArray& data, int timeoutMs = 10000);
    // Writes the settings (also done when the program quits).
    void SaveClipSettings();

    clipext::ClipHistory& History() { return history_; }
    frmSysTray* SysTray() const { return sysTray_.get(); }
    // The entry of the selected row; -1 when none.
    int SelectedEntry() const;

    // Controls.
    QToolBar* cToolbar1 = nullptr;
    QListWidget* lstClipboard = nullptr;
    QWidget* picDetails = nullptr;
    platform::CodeMax* edtDetails = nullptr;
    QComboBox* cboTypes = nullptr;
    QLabel* lblTypes = nullptr;

    // Menus.
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileClose = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditDelete = nullptr;
    QAction* mnuEditRename = nullptr;
    QAction* mnuEditMoveUp = nullptr;
    QAction* mnuEditMoveDown = nullptr;
    QAction* mnuEditClear = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewToolbar = nullptr;
    QAction* mnuViewToolbarCaptions = nullptr;
    QAction* mnuViewStatusBar = nullptr;
    QAction* mnuViewList = nullptr;
    QAction* mnuViewDetails = nullptr;
    QAction* mnuViewConfigure = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // Menu and toolbar handlers (frmClipMainMenus.cpp).
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileClose_Click();
    void mnuEditCopy_Click();
    void mnuEditDelete_Click();
    void mnuEditRename_Click();
    void mnuEditMoveUp_Click();
    void mnuEditMoveDown_Click();
    void mnuEditClear_Click();
    void mnuViewToolbar_Click();
    void mnuViewList_Click();
    void mnuViewDetails_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    void cToolbar1_ButtonClick(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    void BuildFormatTable();
    bool LoadClipSettings(quint32 root);
    void WriteClipSettings(quint32 root);
    void Unload();

    // Capture and the list.
    void CaptureClipboard();
    // The blocks of the stored formats now on the clipboard, in its order.
    std::vector<clipext::ClipBlock> StoredBlocksOnClipboard();
    // Refills the list; the selection follows keepEntry (when it is still
    // shown), else goes to row fallbackRow clamped, else to row 0.
    void RefreshHistoryList(int keepEntry, int fallbackRow = 0);
    void RefreshView();
    void ShowClipView();
    void lstClipboard_Click();
    void lstClipboard_DblClick();
    void cboTypes_Click();
    void ShowFormats(int entry);
    void RenderFormat(int entry, int position);
    void ApplyDetailColours();

    // Files (frmClipMainFiles.cpp).
    void SaveHistoryFile();
    void OpenHistoryFile();
    void SaveEntryDetails();

    // Tray.
    void AddTrayIcon();
    void RemoveTrayIcon();
    void TrayMenuClick(int index, const QString& key);
    void ShowFromTray();

    // Focus: where it was before the window came up, to go back there.
    void RememberFocus();
    void ReturnFocus();

    clipext::ClipHistory history_;
    cCustomClipboard clipboard_;
    cClipboardViewer viewer_;
    std::unique_ptr<frmSysTray> sysTray_;
    // Where other processes' show requests arrive (null while another
    // loaded extender of the same program folder takes them).
    std::unique_ptr<platform::SingleInstance> requests_;
    std::vector<std::pair<QString, quint32>> formatTable_;
    std::vector<quint32> storeFormats_;
    bool alwaysOnTop_ = false;
    bool inSysTray_ = false;
    // The tray setting as the user chose it (ShowInSysTray).
    bool trayWanted_ = false;
    bool exitRequested_ = false;
    bool unloaded_ = false;
    QPointer<QWidget> focusBefore_;
    // What our own last copy put on the clipboard: a late notice of an
    // older change, arriving while that is still ours, is not a new copy.
    std::vector<clipext::ClipBlock> ownWrite_;
};
