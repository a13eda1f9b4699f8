#include "platform/forms/MsgBox.h"

#include "platform/forms/FocusReturn.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <mutex>
#include <utility>

namespace platform {
namespace {

std::mutex handlerMutex;
MsgBoxHandler msgBoxHandler;
InputBoxHandler inputBoxHandler;

QMessageBox::StandardButton standardButton(int result)
{
    switch (result) {
    case vbOK: return QMessageBox::Ok;
    case vbCancel: return QMessageBox::Cancel;
    case vbAbort: return QMessageBox::Abort;
    case vbRetry: return QMessageBox::Retry;
    case vbIgnore: return QMessageBox::Ignore;
    case vbYes: return QMessageBox::Yes;
    case vbNo: return QMessageBox::No;
    default: return QMessageBox::NoButton;
    }
}

QMessageBox::Icon icon(int style)
{
    switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The result Escape gives: Cancel when present, OK on a lone OK button;
// a box without either cannot be escaped.
int escapeResult(const QList<int>& buttons)
{
    if (buttons.contains(vbCancel))
        return vbCancel;
    if (buttons == QList<int>{vbOK})
        return vbOK;
    return 0;
}

QString boxTitle(const QString& title)
{
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

int realMsgBox(const QString& prompt, int style, const QString& title)
{
    QMessageBox box(icon(style), boxTitle(title), prompt);
    const QList<int> buttons = MsgBoxButtons(style);
    const int defaultResult = MsgBoxDefaultResult(style);
    const int escape = escapeResult(buttons);
    for (int result : buttons) {
        QPushButton* button = box.addButton(standardButton(result));
        if (result == defaultResult)
            box.setDefaultButton(button);
        if (result == escape)
            box.setEscapeButton(button);
    }
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (int result : buttons) {
        if (standardButton(result) == clicked)
            return result;
    }
    return escape != 0 ? escape : defaultResult;
}

QString realInputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(nullptr, boxTitle(title), prompt, QLineEdit::Normal,
                                               defaultText, &ok);
    return ok ? text : QString();
}

}  // namespace

QList<int> MsgBoxButtons(int style)
{
    switch (style & 0x0F) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

int MsgBoxDefaultResult(int style)
{
    const QList<int> buttons = MsgBoxButtons(style);
    const int index = (style & 0x300) >> 8;
    return index < buttons.size() ? buttons.at(index) : buttons.first();
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    const FocusReturn focusBack;
    MsgBoxHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = msgBoxHandler;
    }
    return handler ? handler(prompt, style, title) : realMsgBox(prompt, style, title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    const FocusReturn focusBack;
    InputBoxHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = inputBoxHandler;
    }
    return handler ? handler(prompt, title, defaultText) : realInputBox(prompt, title, defaultText);
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler)
{
    std::lock_guard lock(handlerMutex);
    return std::exchange(msgBoxHandler, std::move(handler));
}

InputBoxHandler SetInputBoxHandler(InputBoxHandler handler)
{
    std::lock_guard lock(handlerMutex);
    return std::exchange(inputBoxHandler, std::move(handler));
}

}  // namespace platform
