#pragma once
// The main frame: menus, toolbar, the view, dropped files and the window
// placement kept under "Window placement". Its command handlers are in
// CMainFrameCommands.cpp.

#include <QAction>
#include <QMainWindow>
#include <QMap>

namespace prentil {

class CTxtPrintApp;
class CTxtPrintView;

// Command identifiers, kept as each action's data.
enum Command : int {
    ID_FILE_ADD = 32782,
    ID_FILE_REMOVE = 32781,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_SELECTED = 32774,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_PREVIEW_SELECTED = 32780,
    ID_APP_EXIT = 57665,
    ID_EDIT_SAVE_SETTINGS = 32772,
    ID_EDIT_RESTORE_SETTINGS = 32775,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_WARNINGS = 32783,
    ID_HELP_FINDER = 57667,
    ID_APP_ABOUT = 57664,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_HELP = 57670,
    ID_CONTEXT_HELP = 57669,
};

// A window's geometry (frame not included) moved and, where it must be,
// made smaller so that with its frame it lies within the available area of
// window's screen.
QRect FitOnScreen(QRect rect, QWidget& window);

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CTxtPrintApp& app, QWidget* parent = nullptr);

    CTxtPrintView* View() const { return view_; }
    QAction* Action(int id) const { return actions_.value(id); }

    // Restores the normal placement stored under "Window placement", fitted
    // to the screen; nothing when a value is missing.
    void RestorePlacement();
    void SavePlacement() const;

    // Commands.
    void OnFileAdd();
    void OnFileRemove();
    int OnFilePrint();
    int OnFilePrintSelected();
    int OnFilePrintDirect();
    void OnFilePrintSetup();
    int OnFilePrintPreview();
    int OnFilePreviewSelected();
    void OnSaveSettings();
    void OnRestoreSettings();
    void OnToggleWarnings();
    void OnHelp();
    void OnAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeAction(int id, const QString& text, const QString& status, const QString& tip,
                        const QKeySequence& key = {});
    void BuildMenus();

    CTxtPrintApp& app_;
    CTxtPrintView* view_ = nullptr;
    QMap<int, QAction*> actions_;
};

}  // namespace prentil
