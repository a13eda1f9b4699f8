#pragma once
// The modeless "Working..." window that long commands show while they run.
// Callers show it, let the message loop run once, do their work and unload it.
// It never takes the activation from the window the user works in, and when
// it goes the keyboard is back where it was.

#include "platform/forms/FocusReturn.h"

#include <QDialog>
#include <memory>

class QLabel;

class frmMsg : public QDialog {
    Q_OBJECT
public:
    explicit frmMsg(QWidget* parent = nullptr);

    // Shows the one "Working..." window modeless, centred on the main window.
    static void Show();
    // Closes and destroys it (nothing when it is not shown).
    static void Unload();
    // The window while it is loaded, else null.
    static frmMsg* Loaded();

    QLabel* lblMsg = nullptr;

private:
    // Where the keyboard was when it was shown: given back when it goes.
    std::unique_ptr<platform::FocusReturn> focusReturn_;
};
