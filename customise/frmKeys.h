#pragma once
// "Keyboard": binds keys to the editing control's commands and to the ten
// macros. The bindings live in the control's shared hot-key table; every
// change is written to the hot-key file at once.

#include <QDialog>
#include <array>

class HotKeyBox;
class QLabel;
class QListWidget;
class QPushButton;

class frmKeys : public QDialog {
    Q_OBJECT
public:
    static constexpr int CommandCount = 49;

    explicit frmKeys(QWidget* parent = nullptr);

    // The command id at a position of lstKeys.
    static int CommandId(int position);
    // Fills lstKeyAssignment with the keys of the command at the position,
    // the control's last position first.
    void GetKeyAssignment(int position);

    void lstKeys_Click();
    void cmdAssign_Click();
    void cmdRemove_Click();
    void cmdReset_Click();

    HotKeyBox* Text3 = nullptr;
    QLabel* txtDescription = nullptr;  // the whole description, wrapped, from its start
    QListWidget* lstKeyAssignment = nullptr;
    QListWidget* lstKeys = nullptr;
    std::array<QPushButton*, 3> cmdAssign{};  // "&Assign", "Re&move", "&Reset"
    QPushButton* cmdButton = nullptr;          // "&Close"

private:
    void UpdateAssign();

    int CurrentCommand = -1;  // none selected: Assign stays off
};

// Shows frmKeys modally over the main window.
void ShowKeys();
