#pragma once
// "Remove Macro": frees one macro slot. The slot loses its hot keys and its
// description becomes the free mark, which the next recording takes over;
// the macro's bytes stay in the control and in the slot's file.
// Also the Macros menu's "Delete all Macros".

#include <QDialog>

class QListWidget;
class QPushButton;
namespace platform {
class CodeMax;
}

class frmMacroRemove : public QDialog {
    Q_OBJECT
public:
    explicit frmMacroRemove(QWidget* parent = nullptr);

    void SetListMacros();
    void lstMacros_Click();
    void cmdRemove_Click();

    QListWidget* lstMacros = nullptr;
    platform::CodeMax* MacroEdit = nullptr;
    QPushButton* cmdRemove = nullptr;  // "&Remove"
    QPushButton* cmdCancel = nullptr;  // "Cancel", "&OK" after a removal

protected:
    void showEvent(QShowEvent* event) override;

private:
    int SelectedMacro = -1;
};

// Shows frmMacroRemove modally over the main window.
void ShowMacroRemove();

// Asks, then removes every macro file, description and key binding, and
// resets the whole hot-key table to the control's defaults. Returns false
// when the user cancelled.
bool DeleteAllMacros();
