#pragma once
// Test helper: while alive it answers every message box, input box and modal
// dialog from queues and records each call. An empty queue never blocks: the
// call is answered with the default (the default button of a message box,
// OK with the proposed text for an input box, Rejected for a dialog) and
// recorded as unscripted, so a test can assert that no unexpected box came.
// Nested use is allowed: the destructor puts back the previous handlers.

#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace platform {

class ScriptedAnswers {
public:
    struct MsgBoxCall {
        QString prompt;
        int style = 0;
        QString title;
        int answer = 0;
        bool scripted = false;  // false: answered with the default button
    };
    struct InputBoxCall {
        QString prompt;
        QString title;
        QString defaultText;
        QString answer;
        bool scripted = false;
    };
    struct ModalCall {
        QString className;   // the dialog's meta-object class name
        QString objectName;
        QString windowTitle;
        int result = 0;
        bool scripted = false;
    };
    // Fills the dialog's fields and calls accept(), reject() or done(n).
    // A script that closes nothing leaves the dialog Rejected.
    using ModalScript = std::function<void(QDialog& dialog)>;

    ScriptedAnswers();
    ~ScriptedAnswers();
    ScriptedAnswers(const ScriptedAnswers&) = delete;
    ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;

    // Queue the next answers, used in order.
    void answerMsgBox(int result);
    void answerInputBox(const QString& text);
    void cancelInputBox();  // the same as answering ""
    void scriptModal(ModalScript script);

    const QList<MsgBoxCall>& msgBoxes() const { return msgBoxes_; }
    const QList<InputBoxCall>& inputBoxes() const { return inputBoxes_; }
    const QList<ModalCall>& modals() const { return modals_; }
    // Calls answered by default because their queue was empty.
    int unscriptedCount() const;
    // Answers queued but never used.
    int pendingCount() const;
    // Forget the recorded calls and the queued answers.
    void clear();

private:
    int onMsgBox(const QString& prompt, int style, const QString& title);
    QString onInputBox(const QString& prompt, const QString& title, const QString& defaultText);
    int onModal(QDialog& dialog);

    std::deque<int> msgBoxAnswers_;
    std::deque<QString> inputBoxAnswers_;
    std::deque<ModalScript> modalScripts_;
    QList<MsgBoxCall> msgBoxes_;
    QList<InputBoxCall> inputBoxes_;
    QList<ModalCall> modals_;
    MsgBoxHandler previousMsgBox_;
    InputBoxHandler previousInputBox_;
    ModalHandler previousModal_;
};

}  // namespace platform
