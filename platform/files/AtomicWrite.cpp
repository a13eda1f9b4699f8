#include "platform/files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/uio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<qint64> simulatedFree{-1};

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Writes all pieces in order, resuming after interrupted or partial writes.
bool writeAll(int fd, std::span<const QByteArrayView> pieces, int* error)
{
    const qint64 limit = simulatedFree.load();
    qint64 done = 0;
    std::size_t piece = 0;  // the first piece not yet written whole
    qint64 offset = 0;      // how much of it is written
    constexpr std::size_t Batch = 512;  // well below every system's IOV_MAX
    iovec vectors[Batch];
    for (;;) {
        while (piece < pieces.size() && offset == pieces[piece].size()) {
            ++piece;
            offset = 0;
        }
        if (piece == pieces.size())
            return true;
        // The next run of pieces, cut where the simulated disk is full.
        qint64 room = limit >= 0 ? limit - done : std::numeric_limits<qint64>::max();
        if (room <= 0) {
            *error = ENOSPC;
            return false;
        }
        std::size_t count = 0;
        for (std::size_t i = piece; i < pieces.size() && count < Batch && room > 0; ++i) {
            const qint64 skip = i == piece ? offset : 0;
            const qint64 size = std::min(pieces[i].size() - skip, room);
            if (size == 0)
                continue;
            vectors[count].iov_base = const_cast<char*>(pieces[i].data() + skip);
            vectors[count].iov_len = static_cast<size_t>(size);
            room -= size;
            ++count;
        }
        const ssize_t n = ::writev(fd, vectors, static_cast<int>(count));
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
        for (qint64 left = n; left > 0;) {
            const qint64 step = std::min(left, pieces[piece].size() - offset);
            offset += step;
            left -= step;
            if (offset == pieces[piece].size() && left > 0) {
                ++piece;
                offset = 0;
            }
        }
    }
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
    return WriteFileAtomically(path, std::span<const QByteArrayView>(&bytes, 1));
}

WriteOutcome WriteFileAtomically(const QString& path, std::span<const QByteArrayView> pieces)
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
    qint64 total = 0;
    for (const QByteArrayView piece : pieces)
        total += piece.size();
    int error = 0;
    bool whole = writeAll(fd, pieces, &error);
    if (whole) {
        struct stat written {};
        if (::fstat(fd, &written) != 0) {
            error = errno;
            whole = false;
        } else if (written.st_size != total) {
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
