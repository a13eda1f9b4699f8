#pragma once
// The dialog "Change Value": every occurrence of "Value to find:" in the active program becomes
// "Change to:", as typed, when OK is pressed with both boxes filled. OK is enabled by the first
// change of "Change to:". Enter in "Value to find:" goes on to "Change to:", Enter there (with
// text) to OK. Each showing starts empty.

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class frmChangeValue : public QDialog {
    Q_OBJECT
public:
    explicit frmChangeValue(QWidget* parent = nullptr);

    void cmdChange_Click(int index);
    // The change itself, on the active document.
    void DoChange();

    QLabel* lblFind = nullptr;
    QLineEdit* txtFind = nullptr;
    QLabel* lblChange = nullptr;
    QLineEdit* txtChange = nullptr;
    std::array<QPushButton*, 2> cmdChange{};  // 0 OK, 1 Cancel

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
};
