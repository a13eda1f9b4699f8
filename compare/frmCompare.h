#pragma once
// Brevlin's window: two files side by side in two editing panes, compared
// line by line; the differing lines are bookmarked in both panes.
//
// While a compare runs only Stop, Exit and the panes' scrolling are
// enabled; Exit stops the compare first. Only a successful save clears the
// changed flag; closing with changes asks Yes/No/Cancel.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace platform {
class CodeMax;
}

class frmCompare : public QMainWindow {
    Q_OBJECT
public:
    explicit frmCompare(QWidget* parent = nullptr);
    ~frmCompare() override;

    // The window's start: hot keys, buttons, default folder. Returns false,
    // after its message, when no editor runs: the program is to end.
    bool Form_Load();

    // How a compare ended.
    enum class CompareOutcome { Identical, Different, Stopped, Failed };
    // Compares the panes' texts line by line and bookmarks the differing
    // lines of each pane; shows the result (not when stopped).
    CompareOutcome CompareFiles(const std::string& text1, const std::string& text2);
    // The end line of pane 1's selection becomes the highlighted line of both.
    void HighLightLine();
    // Enables the commands that need two files (buttons 1 and 3, Open and Exit stay).
    void SetButtons(bool enabled);

    // The toolbar's commands by key ("Open", "Compare", "Save", ...).
    void TBCompare_ButtonClick(const QString& key);
    void mnuGotoLine_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuHelpTopics_Click();
    void mnuAbout_Click();

    // Lines compared between two looks at the event queue, and the least
    // time between those looks (tests make it 0).
    inline static std::size_t LinesPerStep = 4096;
    inline static qint64 EventIntervalMs = 20;

    bool Changed() const { return changed_; }
    bool CompareRunning() const { return running_; }
    int ActivePane() const { return activePane_; }
    // A toolbar button by key (null when none).
    QAction* Button(const QString& key) const;

    // Controls, named as the form names them.
    std::array<platform::CodeMax*, 2> Editor{};
    std::array<QLabel*, 2> lblEditor{};
    std::array<QLabel*, 2> lblLines{};
    QToolBar* TBCompare = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuCompareFiles = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuCut = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QMenu* mnuBookmarks = nullptr;
    QMenu* mnuSearch = nullptr;
    QAction* mnuGotoLine = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpTopics = nullptr;
    QAction* mnuAbout = nullptr;
    QMenu* mnuPEditMain = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolbar();
    void ConnectPane(int index);
    // Colours, the hidden bookmark margin and the selection bounds of both
    // panes: at load and after each Open.
    void ApplyPaneLook();
    void RefreshLineLabel(int index);
    bool BothHoldText() const;
    // The commands' states while a compare runs, and back.
    void SetRunning(bool running);
    void OpenFiles();
    void CompareCommand();
    // Save As of pane 2; true when it was written.
    bool SaveCommand();
    void ToggleMargins();

    int activePane_ = 0;
    bool changed_ = false;
    bool stopRequested_ = false;
    bool running_ = false;
    bool closeAfterStop_ = false;
    bool buttonsEnabled_ = false;
    QString lastSavedPath_;
};
