#include "platform/files/FileLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

QString LockFileOf(const QString& file) { return file + QStringLiteral(".lock"); }

FileLock::FileLock(const QString& lockFile) : path_(lockFile) {}

FileLock::~FileLock() { unlock(); }

FileLock::Outcome FileLock::lock(int timeoutMs)
{
    if (fd_ >= 0)
        return Outcome::Locked;
    error_.clear();
    const QByteArray name = QFile::encodeName(path_);
    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    int pause = 1;  // milliseconds, doubled up to a limit while the lock is busy
    for (;;) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            return Outcome::Failed;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The owner before us removes the file as it lets go: hold the
            // lock only if it is on the file that is there now.
            struct stat held {}, now {};
            if (::fstat(fd, &held) == 0 && ::stat(name.constData(), &now) == 0 && sameFile(held, now)) {
                fd_ = fd;
                return Outcome::Locked;
            }
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR) {
            error_ = QString::fromLocal8Bit(std::strerror(error));
            return Outcome::Failed;
        }
        if (deadline.hasExpired())
            return Outcome::Busy;
        QThread::msleep(ulong(std::min<qint64>(pause, std::max<qint64>(deadline.remainingTime(), 1))));
        pause = std::min(pause * 2, 20);
    }
}

void FileLock::unlock()
{
    if (fd_ < 0)
        return;
    // Removed while still held, so nobody takes a lock on a file that is
    // about to go.
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace platform
