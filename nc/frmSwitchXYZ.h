#pragma once
// The axis switch dialog "Switch": the letter each of X, Y and Z becomes (0 "X", 1 "Y", 2 "Z").
// A click on an option writes its value to the document window at once and enables OK. OK writes
// the selected options again and sets DialogCancelled False; Cancel, Escape and the close box
// set it True.

#include <QDialog>
#include <QtGlobal>
#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;

// The document window's switch values the dialog writes.
struct SwitchValues {
    qint16* X;
    qint16* Y;
    qint16* Z;
};

class frmSwitchXYZ : public QDialog {
    Q_OBJECT
public:
    explicit frmSwitchXYZ(SwitchValues values, QWidget* parent = nullptr);

    void optX_Click(int index);
    void optY_Click(int index);
    void optZ_Click(int index);
    void cmdSwitch_Click(int index);
    // Each axis takes the first selected option of its frame; a frame with none keeps its value.
    void SetSwitches();

    void reject() override;

    std::array<QGroupBox*, 3> fraAxis{};  // "X=", "Y=", "Z="
    std::array<QRadioButton*, 3> optX{};
    std::array<QRadioButton*, 3> optY{};
    std::array<QRadioButton*, 3> optZ{};
    std::array<QPushButton*, 2> cmdSwitch{};  // 0 OK, 1 Cancel

private:
    void Form_Load();

    SwitchValues values_;
};
