#include "platform/com/ClassRegistry.h"

#include "platform/registry/Registry.h"

#include <QFileInfo>
#include <QUuid>

namespace platform {

namespace {

// Namespace of the class ids derived from ProgIDs.
const QUuid ClassIdNamespace(0x6c1f3a52, 0x8d0e, 0x4b7a, 0x9e, 0x41, 0x2f, 0x5d, 0x17, 0xc8, 0x63, 0x0b);

// Reads the default value of HKEY_CLASSES_ROOT\path as text; nothing when missing.
std::optional<QString> ReadDefault(const QString& path)
{
    HKEY key = 0;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, &key) != ERROR_SUCCESS)
        return std::nullopt;
    quint32 type = REG_NONE;
    QByteArray data;
    const LSTATUS status = RegQueryValueEx(key, QString(), &type, &data);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    return RegStringFromData(data);
}

bool WriteDefault(const QString& path, const QString& text)
{
    HKEY key = 0;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, path, &key) != ERROR_SUCCESS)
        return false;
    const LSTATUS status = RegSetValueEx(key, QString(), REG_SZ, RegStringData(text));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool DeleteTree(const QString& path)
{
    const LSTATUS status = RegDeleteTree(HKEY_CLASSES_ROOT, path);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        return false;
    // RegDeleteTree leaves the key itself.
    const LSTATUS last = RegDeleteKey(HKEY_CLASSES_ROOT, path);
    return last == ERROR_SUCCESS || last == ERROR_FILE_NOT_FOUND;
}

QString CanonicalPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

QString ClassIdOf(const QString& progId)
{
    return QUuid::createUuidV5(ClassIdNamespace, progId.toLower()).toString(QUuid::WithBraces).toUpper();
}

bool IsValidProgId(const QString& progId)
{
    return !progId.isEmpty() && progId.size() <= 39 && !progId.contains(u'\\')
           && !progId.contains(u'/') && progId.trimmed() == progId;
}

bool IsClassId(const QString& text)
{
    return text.startsWith(u'{') && !QUuid::fromString(text).isNull();
}

bool RegisterClass(const QString& progId, const QString& className, const QString& libraryPath,
                   const QString& ownClassId)
{
    if (!IsValidProgId(progId) || className.isEmpty() || libraryPath.isEmpty()
        || (!ownClassId.isEmpty() && !IsClassId(ownClassId)))
        return false;
    const QString classId = ownClassId.isEmpty() ? ClassIdOf(progId) : ownClassId.toUpper();
    const QString classKey = QStringLiteral("CLSID\\") + classId;
    // A ProgID registered before under other letters keeps its key name; drop
    // it so that the entry shows the ProgID as registered now.
    DeleteTree(progId);
    return WriteDefault(progId, progId)
           && WriteDefault(progId + QStringLiteral("\\CLSID"), classId)
           && WriteDefault(classKey, className)
           && WriteDefault(classKey + QStringLiteral("\\InprocServer32"), CanonicalPath(libraryPath))
           && WriteDefault(classKey + QStringLiteral("\\ProgID"), progId);
}

bool UnregisterClass(const QString& progId, const QString& libraryPath)
{
    if (!IsValidProgId(progId))
        return true;
    const QString classId = ReadDefault(progId + QStringLiteral("\\CLSID")).value_or(ClassIdOf(progId));
    const QString classKey = QStringLiteral("CLSID\\") + classId;
    if (!libraryPath.isEmpty()) {
        const std::optional<QString> registered = ReadDefault(classKey + QStringLiteral("\\InprocServer32"));
        if (registered && CanonicalPath(*registered) != CanonicalPath(libraryPath))
            return true;   // another library serves the class; leave it registered
    }
    const bool classGone = DeleteTree(classKey);
    return DeleteTree(progId) && classGone;
}

std::optional<ClassEntry> LookupClass(const QString& progId)
{
    if (!IsValidProgId(progId))
        return std::nullopt;
    const std::optional<QString> classId = ReadDefault(progId + QStringLiteral("\\CLSID"));
    if (!classId || classId->isEmpty())
        return std::nullopt;
    std::optional<ClassEntry> entry = LookupClassById(*classId);
    if (entry)
        entry->progId = ReadDefault(QStringLiteral("CLSID\\") + *classId + QStringLiteral("\\ProgID")).value_or(progId);
    return entry;
}

std::optional<ClassEntry> LookupClassById(const QString& classIdText)
{
    if (!IsClassId(classIdText))
        return std::nullopt;
    const QString classId = classIdText.toUpper();
    const QString classKey = QStringLiteral("CLSID\\") + classId;
    const std::optional<QString> className = ReadDefault(classKey);
    const std::optional<QString> library = ReadDefault(classKey + QStringLiteral("\\InprocServer32"));
    if (!className || className->isEmpty() || !library || library->isEmpty())
        return std::nullopt;
    ClassEntry entry;
    entry.progId = ReadDefault(classKey + QStringLiteral("\\ProgID")).value_or(QString());
    entry.classId = classId;
    entry.className = *className;
    entry.libraryPath = *library;
    return entry;
}

}  // namespace platform
