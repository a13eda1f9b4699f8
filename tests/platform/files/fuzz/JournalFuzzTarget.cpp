// libFuzzer entry for the rollback journal: see JournalFuzzCheck.h.

#include "JournalFuzzCheck.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

const QString& Folder()
{
    static const QString folder = [] {
        // In memory where the system has it: every journal is flushed to disk, which is slow.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString path = base + QStringLiteral("/talvex-journal-fuzz-%1").arg(::getpid());
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(path + QStringLiteral("/cache")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path + QStringLiteral("/data")));
        std::atexit([] { QDir(Folder()).removeRecursively(); });
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    journalfuzz::CheckInput(reinterpret_cast<const char*>(data), size, Folder());
    return 0;
}
