#include "print/PrintProfile.h"

#include "print/PrintStrings.h"
#include "platform/registry/Registry.h"

namespace prentil {

namespace {

QString SectionPath(const QString& section)
{
    return ProfileKey() + QLatin1Char('\\') + section;
}

bool Query(const QString& section, const QString& entry, quint32 wantedType, QByteArray* data)
{
    platform::HKEY key = 0;
    if (platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, SectionPath(section), &key) != platform::ERROR_SUCCESS)
        return false;
    quint32 type = 0;
    const bool found = platform::RegQueryValueEx(key, entry, &type, data) == platform::ERROR_SUCCESS;
    platform::RegCloseKey(key);
    return found && type == wantedType;
}

bool Write(const QString& section, const QString& entry, quint32 type, const QByteArray& data)
{
    platform::HKEY key = 0;
    if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, SectionPath(section), &key) != platform::ERROR_SUCCESS)
        return false;
    const bool written = platform::RegSetValueEx(key, entry, type, data) == platform::ERROR_SUCCESS;
    platform::RegCloseKey(key);
    return written;
}

}  // namespace

QString ProfileKey()
{
    return QStringLiteral("Software\\KroPrint\\") + AppName;
}

int GetProfileInt(const QString& section, const QString& entry, int defaultValue)
{
    QByteArray data;
    if (!Query(section, entry, platform::REG_DWORD, &data) || data.size() < 4)
        return defaultValue;
    return static_cast<qint32>(platform::RegDwordFromData(data));
}

QString GetProfileString(const QString& section, const QString& entry, const QString& defaultValue)
{
    QByteArray data;
    if (!Query(section, entry, platform::REG_SZ, &data))
        return defaultValue;
    return platform::RegStringFromData(data);
}

bool WriteProfileInt(const QString& section, const QString& entry, int value)
{
    return Write(section, entry, platform::REG_DWORD, platform::RegDwordData(static_cast<quint32>(value)));
}

bool WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    return Write(section, entry, platform::REG_SZ, platform::RegStringData(value));
}

void DeleteProfileSection(const QString& section)
{
    platform::RegDeleteTree(platform::HKEY_CURRENT_USER, SectionPath(section));
    platform::RegDeleteKey(platform::HKEY_CURRENT_USER, SectionPath(section));
}

}  // namespace prentil
