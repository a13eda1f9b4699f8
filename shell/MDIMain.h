#pragma once
// The editor's main window: the MDI parent of every document window, with
// the File, Options and Help menus, three toolbar bands and the status line.
// Every other part of the editor reaches the current document through
// ActiveForm().

#include "shell/MIni.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <vector>

class DocumentForm;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QToolBar;

// Arrangements of the document windows (Arrange).
inline constexpr int vbCascade = 0;
inline constexpr int vbTileHorizontal = 1;  // one above the other, full width
inline constexpr int vbTileVertical = 2;    // side by side, full height
inline constexpr int vbArrangeIcons = 3;    // minimised windows in a row at the bottom

class MDIMain : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIMain(QWidget* parent = nullptr);
    ~MDIMain() override;

    // The main window while it exists, else null.
    static MDIMain* Instance();

    inline static const QString Title = QStringLiteral("Talvex Editor V5.1");
    // The suite's icon (built into the program).
    inline static const QString IconResource = QStringLiteral(":/Images/Pelmar.png");

    // Sets the program-wide paths and fills the recent-file menu.
    void MDIForm_Initialize();
    // Places the window, reads the settings, builds the toolbars, loads the
    // macro list and applies the command line. Returns false when the
    // program is to end at once ("/?"): nothing further is to run.
    bool MDIForm_Load();
    // Applies a command line ("/f", then "/g", "/n", "/rs" on the file
    // opened). Returns false for "/?", after showing the switch list.
    bool ApplyCommandLine(const QString& command);
    // Work handed over by a later start of the program (its command line,
    // split, with the "/f" path made absolute): comes to the front, then
    // applies it.
    void TakeHandedOverCommand(const QStringList& items);
    void mnuShowCaptions_Click();

    // Menu commands.
    void mnuNew_Click();
    void mnuOpen_Click();
    // Starts the compare program (beside the program).
    void mnuCompare_Click();
    // Starts the print program (beside the program).
    void mnuCorvanePrint_Click();
    // With documents open, closes each (each may ask to save) and stays;
    // with none, closes the main window.
    void mnuExit_Click();
    // Opens the file of recent-file entry index (1 to 4).
    void mnuRecentFile_Click(int index);
    void mnuEditProp_Click();
    void mnuHTopics_Click();
    void mnuAbout_Click();
    void mnuShowTip_Click();

    // Closing the main window: every open document is asked first (a Cancel
    // keeps everything open), then the documents go and the placement,
    // directories and macro list are written.
    void MDIForm_QueryUnload(bool& cancel, int unloadMode);
    void MDIForm_Unload(bool& cancel);

    // Files dropped on the main window or on a document's text, in the order
    // the file manager gives them: opened last first, each in its own
    // window; several are tiled.
    void DropFiles(const QStringList& files);
    // The local files a drag carries, in the order the file manager gives
    // them (none for a drag of text or of other links).
    static QStringList DroppedFiles(const QMimeData* data);
    // Arranges the document windows (vbCascade ... vbArrangeIcons).
    void Arrange(int arrangement);

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
    // The place of the n-th new document window in a workspace of the given
    // size: three quarters of it (at least 480 x 320 where there is room),
    // each one step (a caption's height) down and right of the one before,
    // starting again at the top left before one would reach past the edge.
    static QRect CascadeRect(const QSize& area, int n, int step);

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
    // Toolbar images are squares of this many pixels.
    static constexpr int ToolbarImageSize = 16;

    // A click on a toolbar button, by its 0-based position (separators
    // count): the command of its menu item on the active document. With no
    // document open a button that needs one does nothing; afterwards the
    // keyboard is back in the active document.
    void cToolbar1_ButtonClick(int position);
    void cToolbar3_ButtonClick(int position);
    void cToolbar4_ButtonClick(int position);

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

    // Shows the text in a label of the status line (pictStatusBar). The label
    // is painted once the frame in progress is out: a key typed shows in the
    // text first, and the status line follows, once per turn of the event loop.
    void ShowStatusText(QLabel& label, const QString& text);
    QWidget* pictStatusBar = nullptr;
    QLabel* lblLine = nullptr;
    QLabel* lblColumn = nullptr;
    QLabel* lblTotalLines = nullptr;
    QLabel* labelInsert = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // A document window became active: its menus take the menu bar and it
    // runs its activation.
    void SubWindowActivated(QMdiSubWindow* sub);
    void ShowMenusOf(DocumentForm* form);
    void BuildMenus();
    void BuildStatusBar();
    void BuildToolbars();
    void FocusBackToDocument();

    Qt::WindowStates placedState_ = Qt::WindowMaximized;
    // Document windows placed so far, for the next one's cascade step.
    int placedCount_ = 0;
    // Per status label, the shapes of text it has been measured for.
    std::map<const QLabel*, QSet<QString>> statusShapes_;
    // Status labels whose painting waits for the frame in progress.
    std::vector<QPointer<QLabel>> statusHeld_;
    static constexpr const char* UnplacedProperty = "talvexUnplaced";
    // A document window placed before the main window was shown: its cascade
    // step, and the place given it, which it keeps following the workspace's
    // size until someone else moves or sizes it.
    static constexpr const char* EarlyPlaceProperty = "talvexEarlyPlace";
    static constexpr const char* EarlyRectProperty = "talvexEarlyRect";
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PlaceEarlyWindowsAgain();
};
