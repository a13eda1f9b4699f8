#pragma once
// Enter on a focused push or tool button presses it, for dialogs without a
// default button (their buttons are not auto-default): Enter in a box or a
// list still presses nothing.

class QDialog;

void EnterPressesFocusedButton(QDialog& dialog);
