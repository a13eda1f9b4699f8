#include "platform/files/AtomicWrite.h"

#include "platform/files/SaveJournal.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

std::atomic<qint64> simulatedFree{-1};
std::function<void()> beforeOpenHook;  // test seam: runs between the checks and the open

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

// The temporary files of replacing saves: "dir/.NAME.talvex-XXXXXX", a
// pattern of the suite's own, so that one an interrupted save left is known
// for what it is.
constexpr char TemporaryMark[] = ".talvex-";
constexpr int TemporaryRandom = 6;

// Makes a temporary file of that pattern beside the target, under a fresh
// random name. The mode goes to open(2) as it is, so the kernel applies the
// umask or the folder's default ACL, as for any new file made there.
int createTemporaryBeside(const QByteArray& target, mode_t mode, QByteArray* temporary)
{
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray stem = target.left(slash + 1) + '.' + target.mid(slash + 1) + TemporaryMark;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        *temporary = stem;
        for (int i = 0; i < TemporaryRandom; ++i)
            *temporary += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)];
        const int fd = ::open(temporary->constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Removes the temporaries that interrupted saves of the target left beside
// it: the user's own, which no save going on holds (its lock).
void removeLeftTemporaries(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = folderOf(target);
    const QByteArray prefix = '.' + target.mid(slash + 1) + TemporaryMark;
    DIR* listing = ::opendir(folder.constData());
    if (listing == nullptr)
        return;
    const int folderFd = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArrayView name(entry->d_name);
        if (name.size() != prefix.size() + TemporaryRandom || !name.startsWith(prefix))
            continue;
        const int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev)
            ::unlinkat(folderFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(listing);
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

// The names of a file's extended attributes (its ACL among them); false
// when they cannot be listed. A file system without them has none.
bool attributeNames(const QByteArray& path, int fd, std::vector<QByteArray>* names)
{
    names->clear();
    QByteArray list;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t size = fd >= 0 ? ::flistxattr(fd, nullptr, 0) : ::listxattr(path.constData(), nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP;
        list.resize(qsizetype(size));
        const ssize_t got = fd >= 0 ? ::flistxattr(fd, list.data(), std::size_t(size))
                                    : ::listxattr(path.constData(), list.data(), std::size_t(size));
        if (got < 0 && errno == ERANGE)
            continue;  // it grew meanwhile
        if (got < 0)
            return false;
        list.truncate(got);
        for (const QByteArray& name : list.split('\0'))
            if (!name.isEmpty())
                names->push_back(name);
        return true;
    }
    return false;
}

// Gives the new file (fd) the old one's owner, group, ACL and other extended
// attributes; false when it cannot carry them all (the user may not give a
// file away, nor set some attribute), and then it must not replace the old.
bool carryIdentity(int fd, const QByteArray& target, const struct stat& old)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    std::vector<QByteArray> wanted;
    std::vector<QByteArray> inherited;
    if (!attributeNames(target, -1, &wanted) || !attributeNames(QByteArray(), fd, &inherited))
        return false;
    // What the folder's default ACL gave the new file and the old one has not
    // goes: it might grant more than the old file did.
    for (const QByteArray& name : inherited)
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() && ::fremovexattr(fd, name.constData()) != 0)
            return false;
    QByteArray value;
    for (const QByteArray& name : wanted) {
        ssize_t size = ::getxattr(target.constData(), name.constData(), nullptr, 0);
        if (size < 0)
            return false;
        value.resize(qsizetype(size));
        size = ::getxattr(target.constData(), name.constData(), value.data(), std::size_t(value.size()));
        if (size < 0 || ::fsetxattr(fd, name.constData(), value.constData(), std::size_t(size), 0) != 0)
            return false;
    }
    return true;
}

// The old file's permission bits, set after the content, whose writing
// clears the set-id bits. A new file keeps the mode it was made with.
void takeMode(int fd, const struct stat* old)
{
    if (old != nullptr)
        ::fchmod(fd, old->st_mode & 07777);
}

qint64 totalOf(std::span<const QByteArrayView> pieces)
{
    qint64 total = 0;
    for (const QByteArrayView piece : pieces)
        total += piece.size();
    return total;
}

WriteOutcome success(const FileStamp& stamp)
{
    WriteOutcome outcome;
    outcome.ok = true;
    outcome.written = stamp;
    return outcome;
}

// Says what refused a save: the file or its folder.
WriteOutcome refusedBy(int error, const char* what, const QByteArray& path)
{
    WriteOutcome outcome = failure(error);
    if (error == EACCES || error == EPERM || error == EROFS)
        outcome.error += QStringLiteral(" (the %1 %2 may not be written)").arg(QLatin1String(what), QFile::decodeName(path));
    return outcome;
}

// A new file beside the target, renamed over it once it is whole. With an
// old file that the new one cannot stand in for (its owner, group or
// attributes cannot be carried over), nothing happens and *cannotCarry is set.
WriteOutcome writeBeside(const QByteArray& target, const struct stat* old, std::span<const QByteArrayView> pieces,
                         bool* cannotCarry)
{
    // An old file's temporary stays private until the old file's owner,
    // ACL and mode are on it; a new file gets what the folder gives.
    QByteArray temporary;
    const int fd = createTemporaryBeside(target, old != nullptr ? 0600 : 0666, &temporary);
    if (fd < 0)
        return refusedBy(errno, "folder", folderOf(target));
    // Held while it is written: a later save leaves it alone meanwhile.
    ::flock(fd, LOCK_EX);
    if (old != nullptr && !carryIdentity(fd, target, *old)) {
        ::unlink(temporary.constData());
        ::close(fd);
        *cannotCarry = true;
        return failure(EPERM);
    }
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
        takeMode(fd, old);
    if (whole && ::fsync(fd) != 0)
        whole = failWith(&error, errno);
    if (whole && ::rename(temporary.constData(), target.constData()) != 0)
        whole = failWith(&error, errno);
    // After the rename, which sets the file's status-change time.
    const FileStamp stamp = StampOfFile(fd);
    if (::close(fd) != 0 && whole)
        whole = failWith(&error, errno);
    if (!whole) {
        ::unlink(temporary.constData());
        return failure(error);
    }
    syncFolder(folderOf(target));
    return success(stamp);
}

// Opens the file the checks were made on (`checked`) and no other: in a
// folder others may write, a link or another file put in its place between
// the checks and the open must not be written through. O_NONBLOCK keeps a
// FIFO put there from holding the open. -1 with errno on failure, ESTALE
// when the file was replaced.
int openCheckedFile(const QByteArray& target, const struct stat& checked, int flags)
{
    if (beforeOpenHook)
        beforeOpenHook();
    const int fd = ::open(target.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP || errno == ENXIO)  // a link; a FIFO without reader, a socket
            errno = ESTALE;
        return -1;
    }
    struct stat opened {};
    int error = 0;
    if (::fstat(fd, &opened) != 0)
        error = errno;
    else if (!S_ISREG(opened.st_mode) || opened.st_dev != checked.st_dev || opened.st_ino != checked.st_ino)
        error = ESTALE;
    else if (const int status = ::fcntl(fd, F_GETFL); status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0)
        error = errno;
    if (error == 0)
        return fd;
    ::close(fd);
    errno = error;
    return -1;
}

WriteOutcome replacedWhileSaving(const QByteArray& target)
{
    WriteOutcome outcome = failure(ESTALE);
    outcome.error = QStringLiteral("The file %1 was replaced while it was being saved; nothing was written to it")
                        .arg(QFile::decodeName(target));
    return outcome;
}

// Writes the pieces in order at the descriptor's position, which is `start`
// in the file, each write ending on a multiple of the journal's block but
// the last: a save cut short between two writes leaves whole blocks, which
// is what lets the journal tell a torn file from one changed since. Writes
// go on to that end after a partial write; at most `limit` bytes fit
// (negative: no limit).
bool writeInBlocks(int fd, std::span<const QByteArrayView> pieces, qint64 start, qint64 limit, int* error)
{
    constexpr qint64 Chunk = qint64(1) << 20;
    static_assert(Chunk % JournalBlockSize == 0);
    const qint64 total = totalOf(pieces);
    std::vector<char> gathered;
    std::size_t piece = 0;  // the first piece not yet written whole
    qint64 offset = 0;      // how much of it is written
    const auto skipDone = [&] {
        while (piece < pieces.size() && offset == pieces[piece].size()) {
            ++piece;
            offset = 0;
        }
    };
    for (qint64 done = 0; done < total;) {
        const qint64 at = start + done;
        qint64 end = std::min(start + total, (at / Chunk + 1) * Chunk);
        if (limit >= 0)
            end = std::min(end, start + limit);
        if (end <= at)
            return failWith(error, ENOSPC);
        const qint64 size = end - at;
        skipDone();
        const char* data = pieces[piece].data() + offset;
        if (pieces[piece].size() - offset < size) {
            // It spans pieces: gathered into one buffer.
            gathered.resize(std::size_t(size));
            std::size_t from = piece;
            qint64 within = offset;
            for (qint64 copied = 0; copied < size; ++from, within = 0) {
                const qint64 step = std::min(size - copied, pieces[from].size() - within);
                if (step > 0)  // an empty piece may have no bytes at all
                    std::memcpy(gathered.data() + copied, pieces[from].data() + within, std::size_t(step));
                copied += step;
            }
            data = gathered.data();
        }
        for (qint64 written = 0; written < size;) {
            const ssize_t n = ::write(fd, data + written, std::size_t(size - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return failWith(error, n < 0 ? errno : EIO);
            written += n;
        }
        for (qint64 left = size; left > 0;) {
            skipDone();
            const qint64 step = std::min(left, pieces[piece].size() - offset);
            offset += step;
            left -= step;
        }
        done += size;
    }
    return true;
}

// The file itself is written: for one with other names (hard links), whose
// folder the user may not write, or which a new file cannot stand in for.
// Starts the journal of a file about to change in place; on failure the
// file is closed and the outcome says why.
bool beginJournal(SaveJournal& journal, const QByteArray& target, int fd, std::span<const QByteArrayView> pieces,
                  bool append, WriteOutcome* refusal)
{
    int error = 0;
    QString cause;
    if (journal.begin(target, fd, pieces, append, &error, &cause))
        return true;
    ::close(fd);
    *refusal = failure(error);
    refusal->error += QStringLiteral(" (%1)").arg(cause);
    return false;
}

// Ends a change in place: a failed one is undone from the journal
// (`changing`: the file was touched), and the journal goes once the file is
// whole, old or new.
WriteOutcome endInPlace(int fd, SaveJournal& journal, bool ok, int error, bool changing)
{
    const bool restored = !ok && (!changing || journal.restore(fd));
    // After the last change: what the caller records as its own write.
    const FileStamp stamp = StampOfFile(fd);
    if (::close(fd) != 0 && ok)
        ok = failWith(&error, errno);
    if (ok || restored)
        journal.finish();
    if (ok)
        return success(stamp);
    WriteOutcome outcome = failure(error);
    if (restored) {
        outcome.rolledBack = changing;
        outcome.written = stamp;
    } else {
        outcome.error += QStringLiteral("; the file is put back as it was when it is next opened (unless it is "
                                        "changed before), from %1")
                             .arg(journal.path());
    }
    return outcome;
}

// Its old content goes to the rollback journal first, is put back should
// the write fail, and stays there should the save be cut short.
WriteOutcome writeInPlace(const QByteArray& target, const struct stat& old, std::span<const QByteArrayView> pieces)
{
    const int fd = openCheckedFile(target, old, O_RDWR);
    if (fd < 0) {
        if (errno == ESTALE)
            return replacedWhileSaving(target);
        WriteOutcome outcome = failure(errno);
        if (outcome.errorNumber == EACCES)
            outcome.error += QStringLiteral(" (the file %1 may not be read)").arg(QFile::decodeName(target));
        return outcome;
    }
    SaveJournal journal;
    if (WriteOutcome refusal; !beginJournal(journal, target, fd, pieces, false, &refusal))
        return refusal;
    int error = 0;
    const qint64 total = totalOf(pieces);
    bool ok = true;
    // Room for the new content before a byte of the old changes: a full
    // disk stops the save here.
    if (total > old.st_size && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, total) != 0 && errno != EOPNOTSUPP
        && errno != ENOSYS)
        ok = failWith(&error, errno);
    const bool changing = ok;
    if (ok && ::lseek(fd, 0, SEEK_SET) != 0)
        ok = failWith(&error, errno);
    ok = ok && writeInBlocks(fd, pieces, 0, simulatedFree.load(), &error);
    if (ok && ::ftruncate(fd, total) != 0)
        ok = failWith(&error, errno);
    if (ok && ::fsync(fd) != 0)
        ok = failWith(&error, errno);
    return endInPlace(fd, journal, ok, error, changing);
}

// The real file a path leads to, after the rollback of a save of it that
// was cut short; false with the outcome to give when there is none.
bool prepare(const QString& path, QByteArray* target, WriteOutcome* refusal)
{
    int error = 0;
    if (path.isEmpty() || !followLinks(QFile::encodeName(path), target, &error)) {
        *refusal = failure(path.isEmpty() ? ENOENT : error);
        return false;
    }
    const RecoveryOutcome recovery = RecoverInterruptedSave(QFile::decodeName(*target));
    if (recovery.kind == RecoveryOutcome::Kind::Failed) {
        *refusal = failure(EIO);
        refusal->error = recovery.message;
        return false;
    }
    return true;
}

bool folderWritable(const QByteArray& target)
{
    return ::faccessat(AT_FDCWD, folderOf(target).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace

void SetSimulatedFreeSpaceForTests(qint64 bytes) { simulatedFree.store(bytes); }

void SetBeforeOpenInPlaceHookForTests(std::function<void()> hook) { beforeOpenHook = std::move(hook); }

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes)
{
    return WriteFileAtomically(path, std::span<const QByteArrayView>(&bytes, 1));
}

WriteOutcome WriteFileAtomically(const QString& path, std::span<const QByteArrayView> pieces)
{
    QByteArray target;
    WriteOutcome refusal;
    if (!prepare(path, &target, &refusal))
        return refusal;
    struct stat old {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode))
        return failure(EISDIR);
    // A rename needs only the folder's permission: the file's own is asked here.
    if (existed && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return refusedBy(errno, "file", target);
    const bool mayReplace = folderWritable(target);
    if (mayReplace)
        removeLeftTemporaries(target);
    if (!existed || !S_ISREG(old.st_mode)) {
        bool cannotCarry = false;
        const WriteOutcome outcome = writeBeside(target, existed ? &old : nullptr, pieces, &cannotCarry);
        return cannotCarry ? refusedBy(EPERM, "file", target) : outcome;
    }
    if (mayReplace && old.st_nlink == 1) {
        bool cannotCarry = false;
        WriteOutcome outcome = writeBeside(target, &old, pieces, &cannotCarry);
        if (!cannotCarry)
            return outcome;
    }
    return writeInPlace(target, old, pieces);
}

WriteOutcome AppendToFile(const QString& path, std::span<const QByteArrayView> pieces)
{
    QByteArray target;
    WriteOutcome refusal;
    if (!prepare(path, &target, &refusal))
        return refusal;
    struct stat checked {};
    if (::stat(target.constData(), &checked) != 0)
        return refusedBy(errno, "file", target);
    if (!S_ISREG(checked.st_mode))
        return failure(S_ISDIR(checked.st_mode) ? EISDIR : EINVAL);
    const int fd = openCheckedFile(target, checked, O_WRONLY | O_APPEND);
    if (fd < 0)
        return errno == ESTALE ? replacedWhileSaving(target) : refusedBy(errno, "file", target);
    SaveJournal journal;
    if (WriteOutcome refusal; !beginJournal(journal, target, fd, pieces, true, &refusal))
        return refusal;
    int error = 0;
    bool ok = writeInBlocks(fd, pieces, journal.oldSize(), simulatedFree.load(), &error);
    if (ok && ::fsync(fd) != 0)
        ok = failWith(&error, errno);
    // What was appended goes again: the file stays exactly as it was.
    return endInPlace(fd, journal, ok, error, true);
}

}  // namespace platform
