#include "platform/forms/WaitCursor.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QCursor>
#include <QGuiApplication>

namespace platform {
namespace {
bool waitCursorOn = false;
}

void SetWaitCursor(bool on)
{
    if (on == waitCursorOn)
        return;
    waitCursorOn = on;
    // Without a GUI application there is no pointer to change.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (on)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

bool IsWaitCursor() { return waitCursorOn; }

WaitCursor::WaitCursor() : previous_(waitCursorOn) { SetWaitCursor(true); }

WaitCursor::~WaitCursor() { SetWaitCursor(previous_); }

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void DoEventsHoldingInput()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace platform
