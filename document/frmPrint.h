#pragma once
// The print dialog "Print": prints the active document whole ("Current
// File", through the printer dialog and the editing control's own printing
// in its colours) or its selected text ("Selected Text", a quick print on the
// program's printer; the clipboard is not touched). "&Setup..." shows the
// printer set-up and brings the dialog back, no longer modal.

#include <QDialog>
#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;

class frmPrint : public QDialog {
    Q_OBJECT
public:
    explicit frmPrint(QWidget* parent = nullptr);

    void cmdButton_Click(int index);

    // Set once "&Setup..." has shown the dialog again, modeless: it then
    // belongs to itself and goes when it closes.
    bool ShownModeless = false;

    QGroupBox* fraPrintWhat = nullptr;  // "Print What?"
    QRadioButton* chkCurrent = nullptr;  // "Current File"
    QRadioButton* chkSelect = nullptr;   // "Selected Text"
    std::array<QPushButton*, 3> cmdButton{};  // 0 "&OK", 1 "Cancel", 2 "&Setup..."

private:
    void Form_Load();
    void Unload(int result);
    void PrintCurrentFile();
};

// File > Print: the print dialog, modal, on the main window.
void ShowPrintDialog();
