#include "platform/forms/EnterOnButton.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace {

// Sees the Enter a button left unhandled on its way up to the dialog.
class EnterOnButton : public QObject {
public:
    explicit EnterOnButton(QDialog& dialog) : QObject(&dialog), dialog_(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &dialog_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = (key->key() == Qt::Key_Return && key->modifiers() == Qt::NoModifier)
                           || (key->key() == Qt::Key_Enter
                               && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier);
        QWidget* focus = dialog_.focusWidget();
        auto* button = qobject_cast<QAbstractButton*>(focus);
        if (!enter || !button || !button->isEnabled()
            || !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button)))
            return false;
        button->click();
        return true;
    }

private:
    QDialog& dialog_;
};

}  // namespace

void EnterPressesFocusedButton(QDialog& dialog)
{
    dialog.installEventFilter(new EnterOnButton(dialog));
}
