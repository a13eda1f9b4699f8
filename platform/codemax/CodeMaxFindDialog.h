#pragma once
// The control's find dialog (command 178) and find-and-replace dialog
// (command 169). Modal, shown through platform::ShowModal so that tests can
// drive it. It edits the control's FindText, ReplText and search options
// and runs the searches on the control; a failed search raises the
// control's CommandFailure (code 4), which the programs report.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace platform {

class CodeMax;

class CodeMaxFindDialog : public QDialog {
    Q_OBJECT
public:
    CodeMaxFindDialog(CodeMax& control, bool replace, QWidget* parent = nullptr);

    QLineEdit* txtFind = nullptr;
    QLineEdit* txtReplace = nullptr;  // null in the find dialog
    QCheckBox* chkMatchCase = nullptr;
    QCheckBox* chkWholeWord = nullptr;
    QCheckBox* chkRegExp = nullptr;
    QPushButton* cmdFindNext = nullptr;
    QPushButton* cmdFindPrev = nullptr;
    QPushButton* cmdMarkAll = nullptr;
    QPushButton* cmdReplace = nullptr;     // null in the find dialog
    QPushButton* cmdReplaceAll = nullptr;  // null in the find dialog
    QPushButton* cmdClose = nullptr;

private:
    void store();
    void run(int command);
    void updateButtons();

    CodeMax& control_;
};

}  // namespace platform
