#pragma once
// Message boxes and input boxes with the VB-style flags and results.
// Product code calls MsgBox/InputBox; tests replace the real windows through
// the handlers (see ScriptedAnswers.h), so no test ever blocks on a window.

#include <QList>
#include <QString>
#include <functional>

namespace platform {

// Buttons (low nibble), icon (bits 4-6) and default button (bits 8-9).
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

// Results.
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Shows a message box; returns the button chosen (vbOK ... vbNo). Both boxes
// give the activation and the focus back to where they were when they close.
// An empty title gives the application's name, as VB does.
// Escape answers Cancel when the box has it (OK for a box with only OK).
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());

// Shows an input box; returns the text entered, or an empty text on Cancel.
QString InputBox(const QString& prompt, const QString& title = QString(),
                 const QString& defaultText = QString());

// The buttons of a style in display order (e.g. {vbYes, vbNo, vbCancel}).
QList<int> MsgBoxButtons(int style);
// The result of the style's default button (vbDefaultButton2/3; the first
// button when the style names a button the box does not have).
int MsgBoxDefaultResult(int style);

// Test seams. A handler replaces the real window; an empty handler restores
// it. Each setter returns the previous handler so that it can be put back.
using MsgBoxHandler = std::function<int(const QString& prompt, int style, const QString& title)>;
using InputBoxHandler = std::function<QString(const QString& prompt, const QString& title,
                                              const QString& defaultText)>;
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);
InputBoxHandler SetInputBoxHandler(InputBoxHandler handler);

}  // namespace platform
