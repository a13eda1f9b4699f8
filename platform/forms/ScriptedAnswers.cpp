#include "platform/forms/ScriptedAnswers.h"

#include <QMetaObject>
#include <algorithm>

namespace platform {

ScriptedAnswers::ScriptedAnswers()
{
    previousMsgBox_ = SetMsgBoxHandler(
        [this](const QString& prompt, int style, const QString& title) {
            return onMsgBox(prompt, style, title);
        });
    previousInputBox_ = SetInputBoxHandler(
        [this](const QString& prompt, const QString& title, const QString& defaultText) {
            return onInputBox(prompt, title, defaultText);
        });
    previousModal_ = SetModalHandler([this](QDialog& dialog) { return onModal(dialog); });
}

ScriptedAnswers::~ScriptedAnswers()
{
    SetMsgBoxHandler(std::move(previousMsgBox_));
    SetInputBoxHandler(std::move(previousInputBox_));
    SetModalHandler(std::move(previousModal_));
}

void ScriptedAnswers::answerMsgBox(int result) { msgBoxAnswers_.push_back(result); }
void ScriptedAnswers::answerInputBox(const QString& text) { inputBoxAnswers_.push_back(text); }
void ScriptedAnswers::cancelInputBox() { inputBoxAnswers_.push_back(QString()); }
void ScriptedAnswers::scriptModal(ModalScript script) { modalScripts_.push_back(std::move(script)); }

int ScriptedAnswers::unscriptedCount() const
{
    auto unscripted = [](const auto& call) { return !call.scripted; };
    return int(std::count_if(msgBoxes_.begin(), msgBoxes_.end(), unscripted)
               + std::count_if(inputBoxes_.begin(), inputBoxes_.end(), unscripted)
               + std::count_if(modals_.begin(), modals_.end(), unscripted));
}

int ScriptedAnswers::pendingCount() const
{
    return int(msgBoxAnswers_.size() + inputBoxAnswers_.size() + modalScripts_.size());
}

void ScriptedAnswers::clear()
{
    msgBoxAnswers_.clear();
    inputBoxAnswers_.clear();
    modalScripts_.clear();
    msgBoxes_.clear();
    inputBoxes_.clear();
    modals_.clear();
}

int ScriptedAnswers::onMsgBox(const QString& prompt, int style, const QString& title)
{
    MsgBoxCall call{prompt, style, title, MsgBoxDefaultResult(style), false};
    if (!msgBoxAnswers_.empty()) {
        call.answer = msgBoxAnswers_.front();
        call.scripted = true;
        msgBoxAnswers_.pop_front();
    }
    msgBoxes_.append(call);
    return call.answer;
}

QString ScriptedAnswers::onInputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText)
{
    InputBoxCall call{prompt, title, defaultText, defaultText, false};
    if (!inputBoxAnswers_.empty()) {
        call.answer = inputBoxAnswers_.front();
        call.scripted = true;
        inputBoxAnswers_.pop_front();
    }
    inputBoxes_.append(call);
    return call.answer;
}

int ScriptedAnswers::onModal(QDialog& dialog)
{
    ModalCall call{QString::fromLatin1(dialog.metaObject()->className()), dialog.objectName(),
                   dialog.windowTitle(), QDialog::Rejected, false};
    // Recorded before the script runs so that boxes the dialog shows
    // while it is scripted come after it in the record.
    const qsizetype index = modals_.size();
    modals_.append(call);
    dialog.setResult(QDialog::Rejected);
    if (!modalScripts_.empty()) {
        ModalScript script = std::move(modalScripts_.front());
        modalScripts_.pop_front();
        modals_[index].scripted = true;
        // Shown as exec() would show it, so that code run on showing has run.
        dialog.show();
        if (script)
            script(dialog);
        if (dialog.isVisible())
            dialog.reject();
    } else {
        dialog.reject();  // as if the user pressed Cancel
    }
    modals_[index].result = dialog.result();
    return dialog.result();
}

}  // namespace platform
