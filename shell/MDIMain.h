#pragma once
// The editor's main window: the MDI parent of every document window, with
// the File, Options and Help menus, three toolbar bands and the status line.
// Every other part of the editor reaches the current document through
// ActiveForm().

#include "shell/MIni.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>

class DocumentForm;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

class MDIMain : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIMain(QWidget* parent = nullptr);
    ~MDIMain() override;

    // The main window while it exists, else null.
    static MDIMain* Instance();

    inline static const QString Title = QStringLiteral("Talvex Editor V5.1");

    // Sets the program-wide paths and fills the recent-file menu.
    void MDIForm_Initialize();
    // Places the window, reads the settings, builds the toolbars, loads the
    // macro list and applies the command line. Returns false when the
    // program is to end at once ("/?"): nothing further is to run.
    bool MDIForm_Load();
    void mnuShowCaptions_Click();

    // Enables or disables the toolbar buttons that need a document. Exit,
    // New, Open, Properties and Compare Files are never touched.
    void SetButtons(bool enabled);

    // The active document window, or null when none is open.
    DocumentForm* ActiveForm() const;
    // Takes a new document window into the MDI area, hidden until shown.
    DocumentForm* AddDocument(std::unique_ptr<DocumentForm> form);
    // Shows a document window as the active child.
    void ShowDocument(DocumentForm* form);
    QMdiArea* MdiArea() const { return mdiArea; }

    // Shows entry index (1 to 4) of the recent-file menu and its separator.
    void ShowRecentFile(int index, const QString& path);
    // The path entry index stands for ("" while it was never shown).
    QString RecentFilePath(int index) const;

    // The placement read from "Editor.ini", in twips; one that lies off every
    // screen is centred, a minimised state opens normal.
    void ApplyPlacement(const WindowPlacement& placement);
    // The normal (not maximised) position and size in twips, and the state.
    WindowPlacement CurrentPlacement() const;
    // Shows the window in the state the placement asked for.
    void ShowAsPlaced();

    // The toolbar button of a key (null when there is none).
    QAction* ToolbarButton(const QToolBar& toolbar, const QString& key) const;

    // Controls, named as the form names them.
    QMdiArea* mdiArea = nullptr;

    QMenu* mnuFileMain = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuFBar1 = nullptr;
    QAction* mnuCompare = nullptr;
    QAction* mnuFBar2 = nullptr;
    QAction* mnuCorvanePrint = nullptr;
    QAction* mnuFBar3 = nullptr;
    QAction* mnuExit = nullptr;
    // Element 0 is a separator; 1 to 6 are the entries ("RecentFile1" ...).
    std::array<QAction*, 7> mnuRecentFile{};

    QMenu* mnuOptionMain = nullptr;
    QAction* mnuEditProp = nullptr;
    QAction* mnuOptionsBar1 = nullptr;
    QAction* mnuShowCaptions = nullptr;
    QMenu* mnuMachines = nullptr;
    QAction* mnuAddMachine = nullptr;

    QMenu* mnuHelpMain = nullptr;
    QAction* mnuHTopics = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuHBar1 = nullptr;
    QAction* mnuShowTip = nullptr;

    // The three toolbar bands: "Toolbar1" (file, edit, search and NC),
    // "Toolbar3" (view, bookmarks and tools), "Toolbar4" (window splits).
    QToolBar* cToolbar1 = nullptr;
    QToolBar* cToolbar3 = nullptr;
    QToolBar* cToolbar4 = nullptr;

    QWidget* pictStatusBar = nullptr;
    QLabel* lblLine = nullptr;
    QLabel* lblColumn = nullptr;
    QLabel* lblTotalLines = nullptr;
    QLabel* labelInsert = nullptr;

private:
    void BuildMenus();
    void BuildStatusBar();
    void BuildToolbars();

    Qt::WindowStates placedState_ = Qt::WindowMaximized;
};
