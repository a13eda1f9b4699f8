#include "platform/com/CreateObject.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/ComErrors.h"
#include "platform/com/LibraryFileCheck.h"
#include "platform/forms/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace platform {

namespace {

[[noreturn]] void CannotCreate(const QString& progId)
{
    throw Error(ErrCannotCreateObject, ComErrorDescription(ErrCannotCreateObject), progId);
}

bool LiesIn(const QString& libraryPath, const QString& folder)
{
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    return !canonicalFolder.isEmpty() && QFileInfo(libraryPath).canonicalPath() == canonicalFolder;
}

}  // namespace

std::unique_ptr<QObject> CreateObject(const QString& progId, const QString& libraryFolder)
{
    const std::optional<ClassEntry> entry = IsClassId(progId) ? LookupClassById(progId) : LookupClass(progId);
    if (!entry)
        CannotCreate(progId);
    const QFileInfo library(entry->libraryPath);
    if (!library.isFile() || (!libraryFolder.isEmpty() && !LiesIn(library.filePath(), libraryFolder)))
        CannotCreate(progId);

    // A file cut short would bring the process down in the loader.
    const QString libraryPath = library.canonicalFilePath();
    if (!LibraryFileFault(libraryPath).isEmpty())
        CannotCreate(progId);
    // Never unloaded (the QLibrary destructor leaves the library loaded).
    QLibrary loader(libraryPath);
    if (!loader.load())
        CannotCreate(progId);
    const auto factory = reinterpret_cast<DllCreateObjectFunction>(loader.resolve(DllCreateObjectName));
    if (!factory)
        CannotCreate(progId);

    std::unique_ptr<QObject> object;
    try {
        object.reset(factory(entry->className.toUtf8().constData(), nullptr));
    } catch (...) {
        CannotCreate(progId);
    }
    if (!object)
        CannotCreate(progId);
    return object;
}

}  // namespace platform
