#pragma once
// "Macro Assignments": records keyboard macros in a pane of its own, names
// them, binds hot keys to them. A recording goes into the first slot marked
// free, else the next unused one; its description and the count reach
// "Macro.ini" at Apply, the keys are written at once.

#include <QDialog>
#include <array>

class HotKeyBox;
class QLabel;
class QListWidget;
class QPushButton;
namespace platform {
class CodeMax;
}

class frmMacro : public QDialog {
    Q_OBJECT
public:
    explicit frmMacro(QWidget* parent = nullptr);

    // The slot a new recording takes, or -1 when all ten hold macros.
    static int SlotForRecording();

    void SetListMacros();
    // Binds the captured key to the selected macro; false when nothing was bound.
    bool SetShortcutKeys();
    void lstMacros_Click();
    void cmdRecord_Click();
    void cmdApply_Click();
    void cmdAssign_Click();
    void cmdRemove_Click();

    QListWidget* lstMacros = nullptr;
    QListWidget* lstKeys = nullptr;
    HotKeyBox* txtNewHotKey = nullptr;
    std::array<QPushButton*, 3> cmdRecord{};  // "&Record", "&Apply", "&Close"
    std::array<QPushButton*, 2> cmdAssign{};  // "&Assign", "Re&move"
    platform::CodeMax* RecordEdit = nullptr;
    QLabel* lblRecordEnd = nullptr;  // while recording: the key that ends it

    bool RecordingSession = false;

public slots:
    // Esc as Close: refused while a recording runs, when Close is off.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RecordingChanged();
    void UpdateAssign();

    int SelectedMacro = -1;
    int recordingSlot_ = -1;   // the slot of the recording under way or not yet applied
    QString pendingDescription_;
    bool recorded_ = false;
};

// Shows frmMacro modally over the main window.
void ShowMacroCreate();
