#include "shell/MCompanions.h"

#include "platform/com/ComErrors.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/Error.h"
#include "platform/forms/ProgramFolder.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace {

constexpr int RegistrationTimeoutMs = 30000;

}  // namespace

std::unique_ptr<QObject> CreateCompanionObject(const QString& progIdOrClassId, const QString& libraryFile)
{
    const QString folder = platform::ProgramFolder();
    try {
        return platform::CreateObject(progIdOrClassId, folder);
    } catch (const platform::Error& error) {
        const QString library = platform::ProgramFile(libraryFile);
        if (error.number() != platform::ErrCannotCreateObject || !QFileInfo(library).isFile())
            throw;
        if (platform::RegisterLibrary(library, RegistrationTimeoutMs).exitCode != platform::RegsvrSuccess)
            throw;
    }
    return platform::CreateObject(progIdOrClassId, folder);
}

void CloseCompanionWindows(const QWidget* mainWindow)
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != mainWindow && widget->isVisible() && widget->isWindow())
            windows.append(widget);
    for (const QPointer<QWidget>& window : windows)
        if (window)
            window->close();
}
