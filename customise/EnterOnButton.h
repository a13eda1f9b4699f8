#pragma once
// Enter on a focused push or tool button presses it. The customisation
// dialogs have no default button (their buttons are not auto-default), so
// Enter in a box or a list still presses nothing.

class QDialog;

void EnterPressesFocusedButton(QDialog& dialog);
