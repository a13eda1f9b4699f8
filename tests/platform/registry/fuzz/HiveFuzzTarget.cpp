// libFuzzer entry for the registry's hive files: any bytes as a hive, every
// key and value reachable through the registry functions, and one value
// written, after which the hive (written anew) holds what it held.

#include "platform/registry/Registry.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

using namespace platform;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "hive reader: %s\n", what);
        std::abort();
    }
}

const QString& Folder()
{
    static const QString folder = [] {
        // In memory where the system has it: every hive write is synced to disk, which is slow.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString path = base + QStringLiteral("/talvex-hive-fuzz-%1").arg(::getpid());
        QDir().mkpath(path);
        qputenv("TALVEX_REGISTRY_DIR", QFile::encodeName(path));
        SetRegistryDamageHandler({});
        return path;
    }();
    return folder;
}

struct Value {
    QString path, name;
    quint32 type = 0;
    QByteArray data;
};

// Each key is read whole; a few of them keep a run quick.
constexpr int KeysVisited = 24;
constexpr quint32 ValuesPerKey = 16;

void Walk(const QString& path, int depth, int& keys, std::vector<Value>& values)
{
    if (keys >= KeysVisited)
        return;
    ++keys;
    HKEY key = 0;
    if (path.isEmpty())
        key = HKEY_USERS;
    else
        Require(RegOpenKeyEx(HKEY_USERS, path, &key) == ERROR_SUCCESS, "an enumerated key does not open");
    for (quint32 i = 0; i < ValuesPerKey; ++i) {
        Value value{path, QString(), 0, QByteArray()};
        if (RegEnumValue(key, i, &value.name, &value.type, &value.data) != ERROR_SUCCESS)
            break;
        quint32 type = 0;
        QByteArray data;
        Require(RegQueryValueEx(key, value.name, &type, &data) == ERROR_SUCCESS && type == value.type
                    && data == value.data,
                "an enumerated value reads otherwise by its name");
        values.push_back(value);
    }
    QStringList children;
    for (quint32 i = 0; depth < 6; ++i) {
        QString name;
        if (RegEnumKeyEx(key, i, &name) != ERROR_SUCCESS)
            break;
        children << name;
    }
    if (!path.isEmpty())
        RegCloseKey(key);
    for (const QString& child : children)
        Walk(path.isEmpty() ? child : path + u'\\' + child, depth + 1, keys, values);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString hive = Folder() + QStringLiteral("/HKEY_USERS.hive");
    {
        // A new file each time, so the registry sees a changed hive whatever its size and time.
        QFile::remove(hive + QStringLiteral(".damaged"));
        const QString next = hive + QStringLiteral(".next");
        std::FILE* out = std::fopen(QFile::encodeName(next).constData(), "wb");
        Require(out != nullptr, "the input cannot be written");
        if (size > 0)
            std::fwrite(data, 1, size, out);
        std::fclose(out);
        Require(::rename(QFile::encodeName(next).constData(), QFile::encodeName(hive).constData()) == 0,
                "the input cannot be put in place");
    }
    int keys = 0;
    std::vector<Value> before;
    Walk(QString(), 0, keys, before);

    // A change writes the hive anew from what was read: every value is still there as it was.
    const QString name = QStringLiteral("FuzzWritten");
    for (const Value& value : before)
        if (value.path.isEmpty() && value.name.compare(name, Qt::CaseInsensitive) == 0)
            return 0;
    const QByteArray written = RegStringData(QStringLiteral("1 \u00e9"));
    if (RegSetValueEx(HKEY_USERS, name, REG_SZ, written) != ERROR_SUCCESS)
        return 0;
    quint32 type = 0;
    QByteArray read;
    Require(RegQueryValueEx(HKEY_USERS, name, &type, &read) == ERROR_SUCCESS && type == REG_SZ && read == written,
            "a written value reads back otherwise");
    for (const Value& value : before) {
        HKEY key = HKEY_USERS;
        if (!value.path.isEmpty())
            Require(RegOpenKeyEx(HKEY_USERS, value.path, &key) == ERROR_SUCCESS, "a key is lost by a change");
        Require(RegQueryValueEx(key, value.name, &type, &read) == ERROR_SUCCESS && type == value.type
                    && read == value.data,
                "a value changes when the hive is written anew");
        if (!value.path.isEmpty())
            RegCloseKey(key);
    }
    return 0;
}
