#pragma once
// The dialog "Shift Address": one shift per axis. OK takes the three values only when every box
// is empty (0) or holds one decimal number ("." or "," as its separator); a box that does not
// shows "An error as occured", and the dialog closes having taken nothing. Cancel and the close
// box take nothing either: the command shifts only after an accepted OK.

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The shifts of the last accepted OK, 0 at start.
inline double XShiftValue = 0;
inline double YShiftValue = 0;
inline double ZShiftValue = 0;

class frmShiftAddress : public QDialog {
    Q_OBJECT
public:
    explicit frmShiftAddress(QWidget* parent = nullptr);

    void cmdBut_Click(int index);

    QLabel* lblAddress = nullptr;
    QLabel* lblValue = nullptr;
    QLineEdit* txtAX = nullptr;  // the "Address:" boxes only show their letter
    QLineEdit* txtAY = nullptr;
    QLineEdit* txtAZ = nullptr;
    QLineEdit* txtVX = nullptr;
    QLineEdit* txtVY = nullptr;
    QLineEdit* txtVZ = nullptr;
    std::array<QPushButton*, 2> cmdBut{};  // 0 OK, 1 Cancel

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
};
