#include "shell/cRegistry.h"

#include "platform/forms/Error.h"
#include "shell/MEditor.h"

using namespace platform;

namespace {

// Closes an opened key on every path.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey()
    {
        if (handle_ != 0)
            RegCloseKey(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* out() { return &handle_; }
    HKEY get() const { return handle_; }

private:
    HKEY handle_ = 0;
};

// A text with a "%" that has another "%" after it names environment
// variables and is stored expandable.
bool LooksExpandable(const QString& text)
{
    const qsizetype first = text.indexOf(QLatin1Char('%'));
    return first >= 0 && text.indexOf(QLatin1Char('%'), first + 1) > first;
}

bool IsWholeNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong: {
        // Only what fits in 32 bits, signed or not.
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        return ok && n >= -2147483648LL && n <= 4294967295LL;
    }
    default:
        return false;
    }
}

}  // namespace

QString cRegistry::ErrorSource()
{
    return ProgramName + QStringLiteral(".cRegistry");
}

void cRegistry::Raise(qint64 number, const QString& description) const
{
    throw Error(number, description, ErrorSource());
}

QString cRegistry::RootText() const
{
    // Roots are shown as the signed numbers their handles are.
    return QString::number(static_cast<qint32>(classKey_));
}

void cRegistry::RegWriteStringValue(HKEY key, const QString& name, quint32 type,
                                    const QString& data)
{
    if (data.isEmpty())
        return;
    if (RegSetValueEx(key, name, type, RegStringData(data)) != ERROR_SUCCESS)
        Raise(ErrSetValue, QStringLiteral("Failed to set registry value Key: '%1',Section: '%2',"
                                          "Key: '%3' to value: '%4'")
                               .arg(RootText(), sectionKey_, name, data));
}

void cRegistry::ForceCacheRefresh()
{
}

bool cRegistry::KeyExists() const
{
    OpenKey key;
    return RegOpenKeyEx(classKey_, sectionKey_, key.out()) == ERROR_SUCCESS;
}

void cRegistry::CreateKey()
{
    OpenKey key;
    if (RegCreateKeyEx(classKey_, sectionKey_, key.out()) != ERROR_SUCCESS)
        Raise(ErrRegistry, QStringLiteral("Failed to create registry Key: '") + sectionKey_);
}

void cRegistry::DeleteKey()
{
    if (RegDeleteKey(classKey_, sectionKey_) != ERROR_SUCCESS)
        Raise(ErrRegistry, QStringLiteral("Failed to delete registry Key: '%1',Section: '%2")
                               .arg(RootText(), sectionKey_));
}

void cRegistry::DeleteValue()
{
    OpenKey key;
    if (RegOpenKeyEx(classKey_, sectionKey_, key.out()) != ERROR_SUCCESS)
        Raise(ErrRegistry,
              QStringLiteral("Failed to open key '%1',Section: '%2' for delete access")
                  .arg(RootText(), sectionKey_));
    if (RegDeleteValue(key.get(), valueKey_) != ERROR_SUCCESS)
        Raise(ErrRegistry, QStringLiteral("Failed to delete registry Key: '%1',Section: '%2',Key: '%3")
                               .arg(RootText(), sectionKey_, valueKey_));
}

QVariant cRegistry::Value() const
{
    OpenKey key;
    if (RegOpenKeyEx(classKey_, sectionKey_, key.out()) != ERROR_SUCCESS)
        return default_;
    quint32 type = REG_NONE;
    QByteArray data;
    if (RegQueryValueEx(key.get(), valueKey_, &type, &data) != ERROR_SUCCESS)
        return default_;
    switch (type) {
    case REG_SZ:
        return RegStringFromData(data);
    case REG_MULTI_SZ:
        // The strings with their NUL separators, without the closing NUL.
        if (data.endsWith('\0'))
            data.chop(1);
        return QString::fromUtf8(data);
    case REG_EXPAND_SZ:
        return ExpandEnvironmentStrings(RegStringFromData(data));
    case REG_DWORD:
        return static_cast<qint32>(RegDwordFromData(data));
    case REG_DWORD_BIG_ENDIAN:
        return static_cast<qint32>(RegDwordBigEndianFromData(data));
    default:
        return data;
    }
}

void cRegistry::Value(const QVariant& value)
{
    const QString failure = QStringLiteral("Failed to set registry value Key: '%1',Section: '%2',"
                                           "Key: '%3' to value: '%4'")
                                .arg(RootText(), sectionKey_, valueKey_, value.toString());
    OpenKey key;
    if (RegCreateKeyEx(classKey_, sectionKey_, key.out()) != ERROR_SUCCESS)
        Raise(ErrRegistry, failure);

    quint32 storedType = REG_NONE;
    QByteArray data;
    switch (valueType_) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        const QString text = value.toString();
        storedType = LooksExpandable(text) ? REG_EXPAND_SZ : REG_SZ;
        data = RegStringData(text);
        break;
    }
    case REG_BINARY:
        if (value.typeId() != QMetaType::QByteArray)
            Raise(ErrRegistry, failure);
        storedType = REG_BINARY;
        data = value.toByteArray();
        break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        if (!IsWholeNumber(value))
            Raise(ErrSetValue, failure);
        storedType = REG_DWORD;
        data = RegDwordData(static_cast<quint32>(value.toLongLong()));
        break;
    default:
        Raise(ErrSetValue, failure);
    }
    if (RegSetValueEx(key.get(), valueKey_, storedType, data) != ERROR_SUCCESS)
        Raise(ErrSetValue, failure);
}

bool cRegistry::EnumerateValues(QStringList& names, int& count) const
{
    names.clear();
    count = 0;
    OpenKey key;
    if (RegOpenKeyEx(classKey_, sectionKey_, key.out()) != ERROR_SUCCESS)
        return false;
    QString name;
    for (quint32 index = 0; RegEnumValue(key.get(), index, &name) == ERROR_SUCCESS; ++index)
        names.append(name);
    count = static_cast<int>(names.size());
    return true;
}

bool cRegistry::EnumerateSections(QStringList& names, int& count) const
{
    names.clear();
    count = 0;
    OpenKey key;
    if (RegOpenKeyEx(classKey_, sectionKey_, key.out()) != ERROR_SUCCESS)
        return false;
    QString name;
    for (quint32 index = 0;; ++index) {
        const LSTATUS status = RegEnumKeyEx(key.get(), index, &name);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS) {
            names.clear();
            Raise(ErrEnumerate, QStringLiteral("Failed to enumerate registry Key: '%1',Section: '%2'")
                                    .arg(RootText(), sectionKey_));
        }
        names.append(name);
    }
    count = static_cast<int>(names.size());
    return true;
}

void cRegistry::CreateEXEAssociation(const QString& exePath, const QString& className,
                                     const QString& classTitle, const QString& extension,
                                     int defaultIconIndex)
{
    // Writes the default value of a key below HKEY_CLASSES_ROOT.
    const auto setDefault = [this](const QString& path, const QString& text) {
        OpenKey key;
        if (RegCreateKeyEx(HKEY_CLASSES_ROOT, path, key.out()) != ERROR_SUCCESS
            || RegSetValueEx(key.get(), QString(), REG_SZ, RegStringData(text)) != ERROR_SUCCESS)
            Raise(ErrRegistry, QStringLiteral("Failed to create registry Key: '") + path);
    };
    const QString program = QLatin1Char('"') + exePath + QLatin1Char('"');
    const QString file = QStringLiteral(" \"%1\"");

    setDefault(extension, className);
    setDefault(className, classTitle);
    struct Verb {
        const char* name;
        QString text;
        const char* flag;
    };
    const Verb verbs[] = {
        {"open", QStringLiteral("&Open"), ""},
        {"print", QStringLiteral("&Print"), " /p"},
        {"add", QStringLiteral("&Install ") + classTitle, " /a"},
        {"new", QStringLiteral("&New"), " /n"},
    };
    for (const Verb& verb : verbs) {
        const QString path = className + QStringLiteral("\\shell\\") + QLatin1String(verb.name);
        setDefault(path, verb.text);
        setDefault(path + QStringLiteral("\\command"), program + QLatin1String(verb.flag) + file);
    }
    setDefault(className + QStringLiteral("\\DefaultIcon"),
               exePath + QLatin1Char(',') + QString::number(defaultIconIndex));
    associationClass_ = className;
}

void cRegistry::CreateAdditionalEXEAssociations(const QStringList& nameTextCommand)
{
    if (nameTextCommand.isEmpty() || nameTextCommand.size() % 3 != 0)
        Raise(ErrRegistry, QStringLiteral("Invalid parameter list passed to "
                                          "CreateAdditionalEXEAssociations - expected Name/Text/Command"));
    if (associationClass_.isEmpty())
        Raise(ErrRegistry,
              QStringLiteral("Error - attempt to create additional associations before class defined."));
    for (qsizetype i = 0; i < nameTextCommand.size(); i += 3) {
        const QString path = associationClass_ + QStringLiteral("\\shell\\") + nameTextCommand[i];
        const QString values[2][2] = {{path, nameTextCommand[i + 1]},
                                      {path + QStringLiteral("\\command"), nameTextCommand[i + 2]}};
        for (const auto& [keyPath, text] : values) {
            OpenKey key;
            if (RegCreateKeyEx(HKEY_CLASSES_ROOT, keyPath, key.out()) != ERROR_SUCCESS
                || RegSetValueEx(key.get(), QString(), REG_SZ, RegStringData(text)) != ERROR_SUCCESS)
                Raise(ErrRegistry, QStringLiteral("Failed to create registry Key: '") + keyPath);
        }
    }
}
