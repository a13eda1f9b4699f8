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

namespace {

TypeLibraryEntry TypeLibraryEntryOf(const ComTypeLibrary& library, const QString& libraryPath)
{
    TypeLibraryEntry entry;
    entry.libId = QString::fromUtf8(library.libId);
    entry.version = QString::fromUtf8(library.version);
    entry.locale = library.locale;
    entry.name = QString::fromUtf8(library.name);
    entry.helpString = QString::fromUtf8(library.helpString);
    entry.helpFile = QString::fromUtf8(library.helpFile);
    entry.libraryPath = libraryPath;
    if (library.description)
        entry.description = library.description();
    for (const ComInterfaceInfo& i : library.interfaces)
        entry.interfaces.append({QString::fromUtf8(i.interfaceId), QString::fromUtf8(i.name)});
    return entry;
}

ControlEntry ControlEntryOf(const ComControlInfo& control)
{
    ControlEntry entry;
    entry.typeName = QString::fromUtf8(control.typeName);
    entry.miscStatus = control.miscStatus;
    entry.toolboxBitmap = control.toolboxBitmap;
    entry.insertable = control.insertable;
    entry.typeLibId = QString::fromUtf8(control.typeLibId);
    entry.typeLibVersion = QString::fromUtf8(control.typeLibVersion);
    entry.isControl = control.isControl;
    return entry;
}

}  // namespace

qint32 RegisterServer(std::span<const ComClass> classes, const QString& libraryPath,
                      const ComTypeLibrary* typeLibrary)
{
    if (libraryPath.isEmpty())
        return typeLibrary ? SELFREG_E_TYPELIB : SELFREG_E_CLASS;
    try {
        if (typeLibrary && !RegisterTypeLibrary(TypeLibraryEntryOf(*typeLibrary, libraryPath)))
            return SELFREG_E_TYPELIB;
    } catch (...) {
        return SELFREG_E_TYPELIB;
    }
    try {
        for (const ComClass& c : classes) {
            const QString progId = QString::fromUtf8(c.progId);
            if (!RegisterClass(progId, QString::fromUtf8(c.className), libraryPath, QString::fromUtf8(c.classId)))
                return SELFREG_E_CLASS;
            if (c.control && !RegisterControl(progId, ControlEntryOf(*c.control)))
                return SELFREG_E_CLASS;
        }
    } catch (...) {
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

qint32 UnregisterServer(std::span<const ComClass> classes, const QString& libraryPath,
                        const ComTypeLibrary* typeLibrary)
{
    try {
        if (typeLibrary && !UnregisterTypeLibrary(TypeLibraryEntryOf(*typeLibrary, libraryPath)))
            return SELFREG_E_TYPELIB;
    } catch (...) {
        return SELFREG_E_TYPELIB;
    }
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
