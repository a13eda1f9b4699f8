#include "platform/com/ComServer.h"

#include "platform/com/ClassRegistry.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace platform {

QString LibraryPathOf(const void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

QString VersionText(const LibraryVersion& version)
{
    return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

qint32 RegisterServer(std::span<const ComClass> classes, const QString& libraryPath)
{
    if (libraryPath.isEmpty())
        return SELFREG_E_CLASS;
    try {
        for (const ComClass& c : classes) {
            if (!RegisterClass(QString::fromUtf8(c.progId), QString::fromUtf8(c.className), libraryPath,
                               QString::fromUtf8(c.classId)))
                return SELFREG_E_CLASS;
        }
    } catch (...) {
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

qint32 UnregisterServer(std::span<const ComClass> classes, const QString& libraryPath)
{
    bool ok = true;
    try {
        for (const ComClass& c : classes)
            ok = UnregisterClass(QString::fromUtf8(c.progId), libraryPath) && ok;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
    return ok ? S_OK : SELFREG_E_CLASS;
}

QObject* CreateServerObject(std::span<const ComClass> classes, const char* className, QObject* parent)
{
    if (!className)
        return nullptr;
    const QString wanted = QString::fromUtf8(className);
    for (const ComClass& c : classes) {
        if (wanted.compare(QString::fromUtf8(c.className), Qt::CaseInsensitive) != 0)
            continue;
        try {
            return c.create(parent);
        } catch (...) {
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace platform
