#pragma once
// The modal-dialog runner: every modal form is shown through ShowModal so
// that tests can fill and close it without a window (see ScriptedAnswers.h).

#include <QDialog>
#include <functional>

namespace platform {

// Runs the dialog modally, then gives the activation and the focus back to
// where they were (see FocusReturn.h); returns its result (QDialog::Accepted,
// QDialog::Rejected or the value given to done()).
int ShowModal(QDialog& dialog);

// Test seam: the handler runs in place of exec() and returns the result.
// An empty handler restores the real window. Returns the previous handler.
using ModalHandler = std::function<int(QDialog& dialog)>;
ModalHandler SetModalHandler(ModalHandler handler);

}  // namespace platform
