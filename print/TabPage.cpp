#include "print/TabPage.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"

#include <QApplication>

namespace prentil {

void TabPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    RefreshFromDocument();
}

namespace {

template <typename F>
int KeepingFocus(F&& run)
{
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const int result = run();
    if (focus != nullptr) {
        if (QWidget* window = focus->window(); window != nullptr && !window->isActiveWindow()) {
            window->activateWindow();
            // The activation arrives as an event; let it in before the focus moves.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        focus->setFocus(Qt::OtherFocusReason);
    }
    return result;
}

}  // namespace

int RunModalKeepingFocus(QDialog& dialog)
{
    return KeepingFocus([&] { return platform::ShowModal(dialog); });
}

int MessageKeepingFocus(const QString& text, int style, const QString& title)
{
    return KeepingFocus([&] { return platform::MsgBox(text, style, title); });
}

}  // namespace prentil
