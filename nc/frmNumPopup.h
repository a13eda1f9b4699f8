#pragma once
// The numbering popup: asks the start number and the step before block numbers are inserted.
// OK writes them to Startnumber and Increment; Cancel (its button, Escape or the close box)
// sets DialogCancelled. OK sets DialogCancelled False, so a flag left by another dialog never
// turns an OK into a Cancel.

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class frmNumPopup : public QDialog {
    Q_OBJECT
public:
    explicit frmNumPopup(QWidget* parent = nullptr);

    // OK: only whole numbers from 0 up, in the 32-bit range, are taken; another entry is refused with a
    // message and the popup stays open on that box.
    void accept() override;
    // Cancel.
    void reject() override;

    void cmdBut_Click(int index);

    QLabel* lblStart = nullptr;
    QLineEdit* txtStart = nullptr;
    QLabel* lblIncrement = nullptr;
    QLineEdit* txtIncrement = nullptr;
    std::array<QPushButton*, 2> cmdBut{};  // 0 OK, 1 Cancel

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
};
