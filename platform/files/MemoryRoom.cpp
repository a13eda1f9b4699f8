#include "platform/files/MemoryRoom.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <atomic>
#include <sys/stat.h>

namespace platform {

namespace {

std::atomic<qint64> simulatedAvailable{-1};

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "MemAvailable:   8123456 kB" of /proc/meminfo, in bytes.
qint64 systemAvailable()
{
    const QByteArray info = readSmallFile(QStringLiteral("/proc/meminfo"));
    for (const QByteArray& line : info.split('\n')) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        bool ok = false;
        const qint64 kib = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? kib * 1024 : -1;
    }
    return -1;
}

// The least room left under the memory limits of the program's control
// group and the groups above it (cgroup v2); -1 when none has a limit.
qint64 groupRoom()
{
    QByteArray group;
    for (const QByteArray& line : readSmallFile(QStringLiteral("/proc/self/cgroup")).split('\n'))
        if (line.startsWith("0::"))
            group = line.mid(3).trimmed();
    qint64 room = -1;
    while (group.startsWith('/') && group.size() > 1) {
        const QString folder = QStringLiteral("/sys/fs/cgroup") + QFile::decodeName(group);
        const QByteArray max = readSmallFile(folder + QStringLiteral("/memory.max")).trimmed();
        bool limited = false;
        const qint64 limit = max.toLongLong(&limited);
        bool known = false;
        const qint64 used = readSmallFile(folder + QStringLiteral("/memory.current")).trimmed().toLongLong(&known);
        if (limited && known) {
            const qint64 left = std::max<qint64>(0, limit - used);
            room = room < 0 ? left : std::min(room, left);
        }
        group.truncate(std::max<qsizetype>(group.lastIndexOf('/'), 1));
    }
    return room;
}

QString bytesText(qint64 bytes)
{
    return QLocale(QLocale::English).formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

}  // namespace

void SetAvailableMemoryForTests(qint64 bytes) { simulatedAvailable.store(bytes); }

qint64 AvailableMemory()
{
    if (const qint64 simulated = simulatedAvailable.load(); simulated >= 0)
        return simulated;
    const qint64 system = systemAvailable();
    const qint64 group = groupRoom();
    if (system < 0 || group < 0)
        return std::max(system, group);
    return std::min(system, group);
}

ReadOutcome RoomToRead(const QString& path, double memoryPerByte)
{
    ReadOutcome outcome;
    outcome.ok = true;
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return outcome;
    const qint64 available = AvailableMemory();
    const double needed = double(status.st_size) * memoryPerByte;
    if (available < 0 || needed <= double(available))
        return outcome;
    outcome.ok = false;
    outcome.error = QStringLiteral("The file %1 is too large to be read: it has %2 bytes (%3), and holding it "
                                   "takes about %4 of memory, but only %5 is available. Nothing was read.")
                        .arg(path, QLocale(QLocale::English).toString(qlonglong(status.st_size)),
                             bytesText(status.st_size), bytesText(qint64(needed)), bytesText(available));
    return outcome;
}

}  // namespace platform
