#include "platform/files/FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace platform {

namespace {

FileStamp StampOf(const struct stat& status)
{
    FileStamp stamp;
    stamp.size = qint64(status.st_size);
    stamp.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    stamp.changedNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    stamp.device = quint64(status.st_dev);
    stamp.inode = quint64(status.st_ino);
    return stamp;
}

}  // namespace

FileStamp StampOfFile(const QString& path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return StampOf(status);
}

FileStamp StampOfFile(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return {};
    return StampOf(status);
}

}  // namespace platform
