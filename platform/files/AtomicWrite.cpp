#include "platform/files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<qint64> simulatedFree{-1};

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Writes all bytes, resuming after interrupted or partial writes.
bool writeAll(int fd, const char* data, qint64 size, int* error)
{
    const qint64 limit = simulatedFree.load();
    qint64 done = 0;
    while (done < size) {
        qint64 chunk = size - done;
        if (limit >= 0 && done + chunk > limit) {
            chunk = limit - done;
            if (chunk <= 0) {
                *error = ENOSPC;
                return false;
            }
        }
        const ssize_t n = ::write(fd, data + done, size_t(chunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        if (n == 0) {
            *error = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void SetSimulatedFreeSpaceForTests(qint64 bytes) { simulatedFree.store(bytes); }

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes)
{
    WriteOutcome outcome;
    if (path.isEmpty()) {
        outcome.error = systemError(ENOENT);
        return outcome;
    }
    // Replace what a link names, not the link.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString resolved = info.symLinkTarget();
        if (!resolved.isEmpty())
            target = resolved;
    }
    const QFileInfo targetInfo(target);
    if (targetInfo.isDir()) {
        outcome.error = systemError(EISDIR);
        return outcome;
    }
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(targetInfo.absolutePath());

    struct stat old {};
    const bool existed = ::stat(targetName.constData(), &old) == 0;

    QByteArray temporary = QFile::encodeName(targetInfo.absolutePath() + u'/' + u'.'
                                             + targetInfo.fileName())
                           + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        outcome.error = systemError(errno);
        return outcome;
    }
    int error = 0;
    bool whole = writeAll(fd, bytes.data(), bytes.size(), &error);
    if (whole) {
        struct stat written {};
        if (::fstat(fd, &written) != 0) {
            error = errno;
            whole = false;
        } else if (written.st_size != bytes.size()) {
            error = EIO;
            whole = false;
        }
    }
    if (whole && ::fsync(fd) != 0) {
        error = errno;
        whole = false;
    }
    if (whole) {
        mode_t mode = 0;
        if (existed) {
            mode = old.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::fchmod(fd, mode);
    }
    if (::close(fd) != 0 && whole) {
        error = errno;
        whole = false;
    }
    if (whole && ::rename(temporary.constData(), targetName.constData()) != 0) {
        error = errno;
        whole = false;
    }
    if (!whole) {
        ::unlink(temporary.constData());
        outcome.error = systemError(error ? error : EIO);
        return outcome;
    }
    syncFolder(folder);
    outcome.ok = true;
    return outcome;
}

}  // namespace platform
