#include "platform/files/FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace platform {

namespace {

FileStamp StampOf(const struct stat& status)
{
    return {qint64(status.st_size), qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
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
