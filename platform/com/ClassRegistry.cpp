#include "platform/com/ClassRegistry.h"

#include "platform/registry/Registry.h"

#include <QFileInfo>
#include <QUuid>

namespace platform {

namespace {

// The value of a class's key that names the class its library makes.
const QString ClassNameValue = QStringLiteral("ClassName");

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

bool WriteNamed(const QString& path, const QString& name, const QString& text)
{
    HKEY key = 0;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, path, &key) != ERROR_SUCCESS)
        return false;
    const LSTATUS status = RegSetValueEx(key, name, REG_SZ, RegStringData(text));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

std::optional<QString> ReadNamed(const QString& path, const QString& name)
{
    HKEY key = 0;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, &key) != ERROR_SUCCESS)
        return std::nullopt;
    quint32 type = REG_NONE;
    QByteArray data;
    const LSTATUS status = RegQueryValueEx(key, name, &type, &data);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    return RegStringFromData(data);
}

bool KeyExists(const QString& path)
{
    HKEY key = 0;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool CreateKey(const QString& path)
{
    HKEY key = 0;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, path, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
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
           && WriteNamed(classKey, ClassNameValue, className)
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
    // A control's default value is its type name; the class its library makes is named
    // beside it (entries written before that have it as the default value).
    std::optional<QString> className = ReadNamed(classKey, ClassNameValue);
    if (!className)
        className = ReadDefault(classKey);
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

namespace platform {

bool RegisterControl(const QString& progId, const ControlEntry& control)
{
    const std::optional<ClassEntry> entry = LookupClass(progId);
    if (!entry || (!control.typeLibId.isEmpty() && !IsClassId(control.typeLibId)))
        return false;
    const QString classKey = QStringLiteral("CLSID\\") + entry->classId;
    if (!control.isControl)
        return WriteDefault(entry->progId, control.typeName);
    bool ok = WriteDefault(entry->progId, control.typeName)
              && WriteDefault(classKey, control.typeName)
              && CreateKey(classKey + QStringLiteral("\\Control"))
              && WriteDefault(classKey + QStringLiteral("\\MiscStatus"), QStringLiteral("0"))
              && WriteDefault(classKey + QStringLiteral("\\MiscStatus\\1"), QString::number(control.miscStatus))
              && WriteDefault(classKey + QStringLiteral("\\ToolboxBitmap32"),
                              QStringLiteral("%1, %2").arg(entry->libraryPath).arg(control.toolboxBitmap));
    if (ok && control.insertable)
        ok = CreateKey(classKey + QStringLiteral("\\Insertable"))
             && CreateKey(entry->progId + QStringLiteral("\\Insertable"));
    if (ok && !control.typeLibId.isEmpty())
        ok = WriteDefault(classKey + QStringLiteral("\\TypeLib"), control.typeLibId.toUpper())
             && WriteDefault(classKey + QStringLiteral("\\Version"), control.typeLibVersion);
    return ok;
}

std::optional<ControlEntry> LookupControl(const QString& classIdText)
{
    if (!IsClassId(classIdText))
        return std::nullopt;
    const QString classKey = QStringLiteral("CLSID\\") + classIdText.toUpper();
    if (!KeyExists(classKey + QStringLiteral("\\Control")))
        return std::nullopt;
    ControlEntry control;
    const QString progId = ReadDefault(classKey + QStringLiteral("\\ProgID")).value_or(QString());
    control.typeName = progId.isEmpty() ? QString() : ReadDefault(progId).value_or(QString());
    control.miscStatus = ReadDefault(classKey + QStringLiteral("\\MiscStatus\\1")).value_or(QString()).toUInt();
    const QString bitmap = ReadDefault(classKey + QStringLiteral("\\ToolboxBitmap32")).value_or(QString());
    control.toolboxBitmap = bitmap.section(u',', -1).trimmed().toInt();
    control.insertable = KeyExists(classKey + QStringLiteral("\\Insertable"));
    control.typeLibId = ReadDefault(classKey + QStringLiteral("\\TypeLib")).value_or(QString());
    control.typeLibVersion = ReadDefault(classKey + QStringLiteral("\\Version")).value_or(QString());
    return control;
}

namespace {

QString VersionKey(const QString& libId, const QString& version)
{
    return QStringLiteral("TypeLib\\") + libId.toUpper() + u'\\' + version;
}

}  // namespace

bool RegisterTypeLibrary(const TypeLibraryEntry& library)
{
    if (!IsClassId(library.libId) || library.version.isEmpty() || library.version.contains(u'\\'))
        return false;
    for (const InterfaceEntry& i : library.interfaces)
        if (!IsClassId(i.interfaceId))
            return false;
    const QString key = VersionKey(library.libId, library.version);
    bool ok = WriteDefault(key, library.helpString)
              && WriteDefault(key + QStringLiteral("\\%1\\linux").arg(library.locale), CanonicalPath(library.libraryPath))
              && WriteDefault(key + QStringLiteral("\\FLAGS"), QStringLiteral("0"))
              && WriteDefault(key + QStringLiteral("\\HELPDIR"), QFileInfo(CanonicalPath(library.libraryPath)).path())
              && WriteNamed(key, QStringLiteral("Name"), library.name)
              && WriteNamed(key, QStringLiteral("HelpFile"), library.helpFile)
              && WriteNamed(key, QStringLiteral("Description"), library.description);
    for (const InterfaceEntry& i : library.interfaces) {
        if (!ok)
            break;
        const QString interfaceKey = QStringLiteral("Interface\\") + i.interfaceId.toUpper();
        ok = WriteDefault(interfaceKey, i.name)
             && WriteDefault(interfaceKey + QStringLiteral("\\TypeLib"), library.libId.toUpper())
             && WriteNamed(interfaceKey + QStringLiteral("\\TypeLib"), QStringLiteral("Version"), library.version);
    }
    return ok;
}

bool UnregisterTypeLibrary(const TypeLibraryEntry& library)
{
    if (!IsClassId(library.libId) || library.version.isEmpty() || library.version.contains(u'\\'))
        return true;
    bool ok = DeleteTree(VersionKey(library.libId, library.version));
    const QString libraryKey = QStringLiteral("TypeLib\\") + library.libId.toUpper();
    HKEY key = 0;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, libraryKey, &key) == ERROR_SUCCESS) {
        quint32 subKeys = 0;
        const bool empty = RegQueryInfoKey(key, &subKeys, nullptr) == ERROR_SUCCESS && subKeys == 0;
        RegCloseKey(key);
        if (empty)
            ok = DeleteTree(libraryKey) && ok;
    }
    for (const InterfaceEntry& i : library.interfaces)
        if (IsClassId(i.interfaceId))
            ok = DeleteTree(QStringLiteral("Interface\\") + i.interfaceId.toUpper()) && ok;
    return ok;
}

std::optional<TypeLibraryEntry> LookupTypeLibrary(const QString& libId, const QString& version)
{
    if (!IsClassId(libId) || version.isEmpty())
        return std::nullopt;
    const QString key = VersionKey(libId, version);
    const std::optional<QString> helpString = ReadDefault(key);
    if (!helpString)
        return std::nullopt;
    TypeLibraryEntry library;
    library.libId = libId.toUpper();
    library.version = version;
    library.helpString = *helpString;
    library.name = ReadNamed(key, QStringLiteral("Name")).value_or(QString());
    library.helpFile = ReadNamed(key, QStringLiteral("HelpFile")).value_or(QString());
    library.description = ReadNamed(key, QStringLiteral("Description")).value_or(QString());
    HKEY handle = 0;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, key, &handle) == ERROR_SUCCESS) {
        QString name;
        for (quint32 i = 0; RegEnumKeyEx(handle, i, &name) == ERROR_SUCCESS; ++i) {
            bool number = false;
            const int locale = name.toInt(&number);
            if (!number)
                continue;
            library.locale = locale;
            library.libraryPath = ReadDefault(key + u'\\' + name + QStringLiteral("\\linux")).value_or(QString());
            break;
        }
        RegCloseKey(handle);
    }
    return library;
}

}  // namespace platform
