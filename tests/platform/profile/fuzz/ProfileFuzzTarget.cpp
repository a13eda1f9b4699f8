// libFuzzer entry for the INI reader: any bytes as a file read whole, every
// value reachable, and one key written into it that reads back while every
// other value stays as it was read.

#include "platform/profile/PrivateProfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "INI reader: %s\n", what);
        std::abort();
    }
}

const QString& FuzzFile()
{
    static const QString file = [] {
        // In memory where the system has it: every write is synced to disk, which is slow.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString folder = base + QStringLiteral("/talvex-profile-fuzz-%1").arg(::getpid());
        QDir().mkpath(folder);
        return folder + QStringLiteral("/Editor.ini");
    }();
    return file;
}

struct Entry {
    QString section, key, value;
};

// Each read parses the whole file again: a few entries keep a run quick.
constexpr std::size_t EntriesChecked = 12;

std::vector<Entry> ReadAll(const QString& file)
{
    std::vector<Entry> entries;
    const QStringList sections = platform::GetPrivateProfileSections(file);
    for (const QString& section : sections) {
        const QStringList keys = platform::GetPrivateProfileKeys(section, file);
        for (const QString& key : keys) {
            if (entries.size() == EntriesChecked)
                return entries;
            const QString value = platform::GetPrivateProfileString(section, key, QStringLiteral("<none>"), file, 4096);
            // A key the file lists reads as a value of its own, never as the default.
            Require(value != QStringLiteral("<none>") || key.isEmpty(), "a listed key without a value");
            entries.push_back(Entry{section, key, value});
            (void)platform::GetPrivateProfileInt(section, key, -1, file);
        }
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        platform::SetProfileDamageHandler({});
        return true;
    }();
    (void)quiet;
    const QString& file = FuzzFile();
    {
        std::FILE* out = std::fopen(QFile::encodeName(file).constData(), "wb");
        Require(out != nullptr, "the input cannot be written");
        if (size > 0)
            std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    const std::vector<Entry> before = ReadAll(file);

    // Writing one key changes one line: the key reads back, the others as before.
    // Into the first section read that can take a key (a write to a section named by blanks alone is
    // refused), else a new one.
    QString section = QStringLiteral("Fuzz");
    for (const Entry& entry : before)
        if (!entry.section.trimmed().isEmpty()) {
            section = entry.section;
            break;
        }
    const QString key = QStringLiteral("FuzzWritten");
    const QString value = QStringLiteral("1 \u00e9 \u20ac");
    bool keyExisted = false;
    for (const Entry& entry : before)
        keyExisted = keyExisted || (entry.section.compare(section, Qt::CaseInsensitive) == 0
                                    && entry.key.compare(key, Qt::CaseInsensitive) == 0);
    if (keyExisted)
        return 0;
    Require(platform::WritePrivateProfileString(section, key, value, file), "a key cannot be written");
    Require(platform::GetPrivateProfileString(section, key, QString(), file, 4096) == value,
            "a written key reads back otherwise");
    for (const Entry& entry : before)
        Require(platform::GetPrivateProfileString(entry.section, entry.key, QStringLiteral("<none>"), file, 4096)
                    == entry.value,
                "writing one key changes another");
    return 0;
}
