#pragma once
// The registry: hives of keys and typed values kept as files, with the
// operations and result codes of the Windows registry functions.
//
// Hives live in the registry folder (TALVEX_REGISTRY_DIR, else the user's
// data folder ~/.local/share/Talvex/registry), one file per hive:
// HKEY_CLASSES_ROOT.hive, HKEY_CURRENT_USER.hive, HKEY_LOCAL_MACHINE.hive,
// HKEY_USERS.hive. Key paths use backslashes ("Software\Maker\Program");
// leading, trailing and doubled backslashes are ignored. Key and value
// names match regardless of letter case and keep the case they were
// created with. Subkeys enumerate in name order ignoring case, values in
// the order they were created.
//
// Every change locks the hive across processes (platform/files/FileLock.h),
// re-reads it when another process changed it, and replaces the file
// atomically, so a crash never leaves half a hive and two programs never
// lose each other's values. Readers see the last whole hive: a hive is
// read again whenever its file changed.
//
// Hive file format (UTF-8 text, one record per line, LF line ends):
//   TalvexHive 2                      first line
//   K <level> <name>                  a key: a child of the last key before
//                                     it one level up (level 1: of the
//                                     hive's root); keys come depth first
//   V <name> <type> <data>            a value of the key above it (of the
//                                     hive's root before the first K)
//   E <keys> <values>                 last line: the counts written
// Hives of the first version ("TalvexHive 1") are read too: their key
// records give each key's whole path from the hive root ("K <path>", names
// joined by '\'). The first change writes the hive in the current form.
// <name> is "@" for the default (empty) value name; <type> is decimal.
// Names and data are escaped byte by byte: '%', '\\' inside a name, '@' as a
// name's first byte, bytes below 0x21, 0x7F, and bytes >= 0x80 when they are
// not valid UTF-8, are written %XX (two hex digits); data that is empty is
// written "-", and a literal '-' as all the data is written %2D.
// A hive is checked on load: a wrong first line, a bad record, a key deeper
// than MaxKeyDepth, or a missing or wrong end record makes the hive
// damaged. It is then read as far as it is sound: a bad record is skipped
// and the records after it are read (the values and keys under a key record
// that is bad are skipped with it, as their key is unknown); a file with a
// wrong first line is not read at all. The
// damage is reported once through the damage handler (the first problem
// found), and the file is kept as "<hive>.damaged" before the first change
// replaces it.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

using HKEY = quint32;
using LSTATUS = qint32;

// Predefined keys: the roots of the hives.
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;

// Value types.
inline constexpr quint32 REG_NONE = 0;
inline constexpr quint32 REG_SZ = 1;
inline constexpr quint32 REG_EXPAND_SZ = 2;
inline constexpr quint32 REG_BINARY = 3;
inline constexpr quint32 REG_DWORD = 4;
inline constexpr quint32 REG_DWORD_BIG_ENDIAN = 5;
inline constexpr quint32 REG_MULTI_SZ = 7;

// Dispositions of RegCreateKeyEx.
inline constexpr quint32 REG_CREATED_NEW_KEY = 1;
inline constexpr quint32 REG_OPENED_EXISTING_KEY = 2;

// Result codes.
inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;      // key or value missing
inline constexpr LSTATUS ERROR_ACCESS_DENIED = 5;       // hive cannot be written; key has subkeys
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_LOCK_VIOLATION = 33;     // another process held the hive too long
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;
inline constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
inline constexpr LSTATUS ERROR_KEY_DELETED = 1018;      // the open key was deleted
inline constexpr LSTATUS ERROR_BADDB = 1009;

// Longest key name (one path component), as the platform allows.
inline constexpr int MaxKeyNameLength = 255;
// Deepest key, in levels below a hive's root: a create below it fails with
// ERROR_INVALID_PARAMETER, and a hive record below it is damage.
inline constexpr int MaxKeyDepth = 512;

// Keys. A handle opened here names a key by its path; it stays valid until
// closed (operations on it fail with ERROR_KEY_DELETED while the key does
// not exist). The predefined keys need no opening and are never closed.
LSTATUS RegOpenKeyEx(HKEY key, const QString& subKey, HKEY* result);
// Opens or creates subKey and every missing key above it; disposition (may
// be null) says REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
LSTATUS RegCreateKeyEx(HKEY key, const QString& subKey, HKEY* result,
                       quint32* disposition = nullptr);
LSTATUS RegCloseKey(HKEY key);

// Values. An empty name is the key's default value. Data are the stored
// bytes (see the helpers below for strings and numbers).
LSTATUS RegQueryValueEx(HKEY key, const QString& name, quint32* type, QByteArray* data);
LSTATUS RegSetValueEx(HKEY key, const QString& name, quint32 type, const QByteArray& data);
LSTATUS RegDeleteValue(HKEY key, const QString& name);

// Enumeration by index from 0; ERROR_NO_MORE_ITEMS past the last.
LSTATUS RegEnumKeyEx(HKEY key, quint32 index, QString* name);
LSTATUS RegEnumValue(HKEY key, quint32 index, QString* name, quint32* type = nullptr,
                     QByteArray* data = nullptr);
// Counts and longest lengths (in characters; data in bytes); any may be null.
LSTATUS RegQueryInfoKey(HKEY key, quint32* subKeys, quint32* values,
                        quint32* maxSubKeyLength = nullptr,
                        quint32* maxValueNameLength = nullptr,
                        quint32* maxValueLength = nullptr);

// Deletes subKey of key when it has no subkeys of its own; a key with
// subkeys is left whole and gives ERROR_ACCESS_DENIED. A missing key gives
// ERROR_FILE_NOT_FOUND. The root of a hive cannot be deleted.
LSTATUS RegDeleteKey(HKEY key, const QString& subKey);
// Deletes subKey with all its subkeys and values (an empty subKey deletes
// what key holds but not key itself).
LSTATUS RegDeleteTree(HKEY key, const QString& subKey);

// Data helpers. Strings are stored as UTF-8 with a terminating NUL;
// a multi-string as each string and its NUL, then one more NUL; numbers as
// four bytes, low byte first (REG_DWORD) or high byte first (big-endian).
QByteArray RegStringData(const QString& text);
QString RegStringFromData(const QByteArray& data);  // up to the first NUL
QByteArray RegMultiStringData(const QStringList& strings);
QStringList RegMultiStringFromData(const QByteArray& data);
QByteArray RegDwordData(quint32 number);
quint32 RegDwordFromData(const QByteArray& data);   // 0 when shorter than 4 bytes
QByteArray RegDwordBigEndianData(quint32 number);
quint32 RegDwordBigEndianFromData(const QByteArray& data);

// Replaces %NAME% with the environment variable NAME where it is defined;
// undefined references stay as written.
QString ExpandEnvironmentStrings(const QString& text);

// Per-user program settings (application, section, key -> text), kept under
// HKEY_CURRENT_USER "Software\VB and VBA Program Settings".
QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
bool SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);
bool DeleteSetting(const QString& application, const QString& section,
                   const QString& key = QString());  // null key: the whole section

// The registry folder in use (no trailing separator).
QString RegistryFolder();
// Uses another folder from now on (an empty text: the default one); open
// handles are closed and cached hives forgotten. Meant for tests.
void SetRegistryFolder(const QString& folder);

// Called once per hive file (per damaged content) with its path and what is
// wrong. Returns the previous handler; an empty handler reports nothing.
using RegistryDamageHandler = std::function<void(const QString& file, const QString& problem)>;
RegistryDamageHandler SetRegistryDamageHandler(RegistryDamageHandler handler);

}  // namespace platform
