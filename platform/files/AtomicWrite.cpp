#include "platform/files/AtomicWrite.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

std::atomic<qint64> simulatedFree{-1};

// More links in a chain than this is a loop, as the system counts.
constexpr int MaxLinks = 40;

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

WriteOutcome failure(int error)
{
    WriteOutcome outcome;
    outcome.errorNumber = error != 0 ? error : EIO;
    outcome.error = systemError(outcome.errorNumber);
    return outcome;
}

// Writes all pieces in order from the descriptor's position, resuming after
// interrupted or partial writes; at most `limit` bytes fit (negative: no limit).
bool writeAll(int fd, std::span<const QByteArrayView> pieces, qint64 limit, int* error)
{
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

// Copies everything from one descriptor's position to the end onto the
// other's position.
bool copyAll(int from, int to, int* error)
{
    std::vector<char> buffer(std::size_t(1) << 20);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = errno;
            return false;
        }
        if (got == 0)
            return true;
        const QByteArrayView piece(buffer.data(), got);
        if (!writeAll(to, std::span<const QByteArrayView>(&piece, 1), -1, error))
            return false;
    }
}

bool failWith(int* error, int value)
{
    *error = value;
    return false;
}

void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// A name for a temporary file beside the target ("dir/.NAME.XXXXXX").
QByteArray temporaryBeside(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + ".XXXXXX";
}

// The file at the end of a path's chain of symbolic links (the path itself
// when it is no link, or names nothing yet).
bool followLinks(const QByteArray& path, QByteArray* target, int* error)
{
    QByteArray current = path;
    for (int hop = 0; hop <= MaxLinks; ++hop) {
        struct stat status {};
        if (::lstat(current.constData(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            *target = current;
            return true;
        }
        QByteArray link(qsizetype(std::max<off_t>(status.st_size, 255)) + 1, Qt::Uninitialized);
        ssize_t length = 0;
        while ((length = ::readlink(current.constData(), link.data(), std::size_t(link.size()))) == link.size())
            link.resize(link.size() * 2);
        if (length < 0)
            return failWith(error, errno);
        link.truncate(length);
        current = link.startsWith('/') ? link : folderOf(current) + '/' + link;
    }
    return failWith(error, ELOOP);
}

// The new file takes the old one's owner and group where the user may set
// them (root any, a user a group of theirs), and its permission bits.
void takeIdentity(int fd, const struct stat* old)
{
    if (old == nullptr) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        return;
    }
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old->st_uid || now.st_gid != old->st_gid)) {
        if (::fchown(fd, old->st_uid, old->st_gid) != 0 && ::fchown(fd, uid_t(-1), old->st_gid) != 0) {
            // The user's own owner and group stay: nothing else may be given.
        }
    }
    // After the owner: a change of owner clears the set-id bits.
    ::fchmod(fd, old->st_mode & 07777);
}

qint64 totalOf(std::span<const QByteArrayView> pieces)
{
    qint64 total = 0;
    for (const QByteArrayView piece : pieces)
        total += piece.size();
    return total;
}

// A new file beside the target, renamed over it once it is whole.
WriteOutcome writeBeside(const QByteArray& target, const struct stat* old, std::span<const QByteArrayView> pieces)
{
    QByteArray temporary = temporaryBeside(target);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return failure(errno);
    int error = 0;
    bool whole = writeAll(fd, pieces, simulatedFree.load(), &error);
    if (whole) {
        struct stat written {};
        if (::fstat(fd, &written) != 0)
            whole = failWith(&error, errno);
        else if (written.st_size != totalOf(pieces))
            whole = failWith(&error, EIO);
    }
    if (whole)
        takeIdentity(fd, old);
    if (whole && ::fsync(fd) != 0)
        whole = failWith(&error, errno);
    const FileStamp stamp = StampOfFile(fd);
    if (::close(fd) != 0 && whole)
        whole = failWith(&error, errno);
    if (whole && ::rename(temporary.constData(), target.constData()) != 0)
        whole = failWith(&error, errno);
    if (!whole) {
        ::unlink(temporary.constData());
        return failure(error);
    }
    syncFolder(folderOf(target));
    WriteOutcome outcome;
    outcome.ok = true;
    outcome.written = stamp;
    return outcome;
}

// A file with other names (hard links) is written in place: a rename would
// leave them with the old text. Its old content is copied beside it first
// and put back should the write fail half way.
WriteOutcome writeInPlace(const QByteArray& target, const struct stat& old, std::span<const QByteArrayView> pieces)
{
    const int fd = ::open(target.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return failure(errno);
    QByteArray backupName = temporaryBeside(target);
    const int backup = ::mkostemp(backupName.data(), O_CLOEXEC);
    if (backup < 0) {
        const int error = errno;
        ::close(fd);
        return failure(error);
    }
    const qint64 total = totalOf(pieces);
    int error = 0;
    bool ok = copyAll(fd, backup, &error);
    if (ok && ::fsync(backup) != 0)
        ok = failWith(&error, errno);
    // Room for the new content before a byte of the old changes: a full
    // disk stops the save here.
    if (ok && total > old.st_size && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, total) != 0 && errno != EOPNOTSUPP
        && errno != ENOSYS)
        ok = failWith(&error, errno);
    const bool changing = ok;
    if (ok && ::lseek(fd, 0, SEEK_SET) != 0)
        ok = failWith(&error, errno);
    ok = ok && writeAll(fd, pieces, simulatedFree.load(), &error);
    if (ok && ::ftruncate(fd, total) != 0)
        ok = failWith(&error, errno);
    if (ok && ::fsync(fd) != 0)
        ok = failWith(&error, errno);
    bool restored = !changing;
    if (!ok && changing) {
        int ignored = 0;
        restored = ::lseek(fd, 0, SEEK_SET) == 0 && ::lseek(backup, 0, SEEK_SET) == 0
                   && copyAll(backup, fd, &ignored) && ::ftruncate(fd, old.st_size) == 0 && ::fsync(fd) == 0;
    }
    const FileStamp stamp = StampOfFile(fd);
    if (::close(fd) != 0 && ok)
        ok = failWith(&error, errno);
    ::close(backup);
    if (ok || restored)
        ::unlink(backupName.constData());
    syncFolder(folderOf(target));
    if (!ok) {
        WriteOutcome outcome = failure(error);
        if (!restored)
            outcome.error += QStringLiteral("; the old content is kept in %1").arg(QFile::decodeName(backupName));
        return outcome;
    }
    WriteOutcome outcome;
    outcome.ok = true;
    outcome.written = stamp;
    return outcome;
}

}  // namespace

void SetSimulatedFreeSpaceForTests(qint64 bytes) { simulatedFree.store(bytes); }

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes)
{
    return WriteFileAtomically(path, std::span<const QByteArrayView>(&bytes, 1));
}

WriteOutcome WriteFileAtomically(const QString& path, std::span<const QByteArrayView> pieces)
{
    if (path.isEmpty())
        return failure(ENOENT);
    QByteArray target;
    int error = 0;
    if (!followLinks(QFile::encodeName(path), &target, &error))
        return failure(error);
    struct stat old {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode))
        return failure(EISDIR);
    // A rename needs only the folder's permission: the file's own is asked here.
    if (existed && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return failure(errno);
    if (existed && S_ISREG(old.st_mode) && old.st_nlink > 1)
        return writeInPlace(target, old, pieces);
    return writeBeside(target, existed ? &old : nullptr, pieces);
}

}  // namespace platform
