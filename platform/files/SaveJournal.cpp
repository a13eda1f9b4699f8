#include "platform/files/SaveJournal.h"

#include "platform/files/AtomicWrite.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr char JournalMagic[8] = {'T', 'V', 'X', 'J', 'R', 'N', 'L', '\n'};
// Journals of the first version hold the old content (or length) alone:
// nothing proves what state they left the file in, so they never roll back.
constexpr quint32 FirstVersion = 1;
constexpr quint32 JournalVersion = 2;
constexpr quint32 KindContent = 1;
constexpr quint32 KindLength = 2;
constexpr quint32 BirthKnown = 1;
constexpr quint32 MaxPathLength = 64 * 1024;
constexpr std::size_t CopyChunk = std::size_t(1) << 20;
constexpr qint64 Block = JournalBlockSize;

struct FirstHeader {
    char magic[8];
    quint32 version;
    quint32 kind;
    quint64 device;
    quint64 inode;
    qint64 oldSize;
    quint32 pathLength;
    quint32 reserved;
    quint64 checksum;  // of the path, the content and the header (with this 0)
};
static_assert(sizeof(FirstHeader) == 56);

// Followed by the path, the checksums of the new blocks, then (for a save)
// the old content.
struct JournalHeader {
    char magic[8];
    quint32 version;
    quint32 kind;
    quint64 device;
    quint64 inode;
    qint64 birthSeconds;
    quint32 birthNanoseconds;
    quint32 flags;
    qint64 oldSize;
    qint64 newSize;  // of the new content; for an append, the appended length
    quint32 pathLength;
    quint32 reserved;
    quint64 checksum;  // of the path, the block checksums, the content and the header (with this 0)
};
static_assert(sizeof(JournalHeader) == 80);

// A fast checksum of a stream of bytes, the same however it is cut into
// pieces: a journal torn by a crash does not pass it.
class Checksum {
public:
    void add(const char* data, std::size_t size)
    {
        length_ += size;
        while (size > 0 && filled_ != 0) {
            pending_ |= quint64(static_cast<unsigned char>(*data++)) << (8 * filled_);
            --size;
            if (++filled_ == 8)
                flush();
        }
        for (; size >= 8; data += 8, size -= 8) {
            quint64 word = 0;
            std::memcpy(&word, data, 8);
            mix(word);
        }
        while (size > 0) {
            pending_ |= quint64(static_cast<unsigned char>(*data++)) << (8 * filled_);
            --size;
            ++filled_;
        }
    }
    quint64 value() const
    {
        quint64 h = state_;
        h ^= pending_ + 0x9E3779B97F4A7C15ull * (filled_ + 1);
        h *= 0xFF51AFD7ED558CCDull;
        h ^= length_;
        h *= 0xC4CEB9FE1A85EC53ull;
        return h ^ (h >> 33);
    }

private:
    void mix(quint64 word)
    {
        state_ ^= word;
        state_ *= 0x9E3779B97F4A7C15ull;
        state_ ^= state_ >> 29;
    }
    void flush()
    {
        mix(pending_);
        pending_ = 0;
        filled_ = 0;
    }
    quint64 state_ = 0x243F6A8885A308D3ull;
    quint64 pending_ = 0;
    quint64 length_ = 0;
    int filled_ = 0;
};

quint64 checksumOf(const char* data, std::size_t size)
{
    Checksum sum;
    sum.add(data, size);
    return sum.value();
}

// The blocks a write of `size` bytes from `start` touches, cut at multiples
// of the block size; start + size must not overflow.
qint64 blockCount(qint64 start, qint64 size) { return size == 0 ? 0 : (start + size - 1) / Block - start / Block + 1; }

// The checksum of each such block of the bytes the pieces make.
std::vector<quint64> blockSums(std::span<const QByteArrayView> pieces, qint64 start)
{
    std::vector<quint64> sums;
    Checksum sum;
    bool open = false;
    qint64 at = start;
    for (const QByteArrayView piece : pieces) {
        const char* data = piece.data();
        for (qint64 left = piece.size(); left > 0;) {
            const qint64 step = std::min(left, Block - at % Block);
            sum.add(data, std::size_t(step));
            open = true;
            data += step;
            left -= step;
            at += step;
            if (at % Block == 0) {
                sums.push_back(sum.value());
                sum = Checksum();
                open = false;
            }
        }
    }
    if (open)
        sums.push_back(sum.value());
    return sums;
}

QString words(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void flushFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray homeFolder()
{
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/')) {
        const passwd* user = ::getpwuid(::geteuid());
        home = user != nullptr && user->pw_dir != nullptr ? QByteArray(user->pw_dir) : QByteArray("/tmp");
    }
    return home;
}

QByteArray journalFolder()
{
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (!cache.startsWith('/'))
        cache = homeFolder() + "/.cache";
    return cache + "/Talvex/journal";
}

QByteArray keptFolder()
{
    QByteArray data = qgetenv("XDG_DATA_HOME");
    if (!data.startsWith('/'))
        data = homeFolder() + "/.local/share";
    return data + "/Talvex/kept";
}

// Makes the folder and those above it that are missing, for the user alone;
// each one made is flushed into its parent.
bool makeFolder(const QByteArray& folder, int* error)
{
    struct stat status {};
    if (::stat(folder.constData(), &status) == 0)
        return S_ISDIR(status.st_mode) || ((*error = ENOTDIR), false);
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !makeFolder(folder.left(slash), error))
        return false;
    if (::mkdir(folder.constData(), 0700) != 0) {
        if (errno == EEXIST)
            return true;
        *error = errno;
        return false;
    }
    flushFolder(slash > 0 ? folder.left(slash) : QByteArray("/"));
    return true;
}

// What is wrong with a journal folder or journal that another user could
// have put there or may read; empty when it is the user's alone.
const char* notPrivate(const struct stat& status)
{
    if (status.st_uid != ::geteuid())
        return "is owned by another user";
    if ((status.st_mode & 077) != 0)
        return "is open to other users";
    return nullptr;
}

// The journal folder, open, when it is a folder of the user's alone.
int openJournalFolder(const QByteArray& folder, const char** wrong)
{
    *wrong = nullptr;
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || (*wrong = notPrivate(status)) != nullptr) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QByteArray journalLeaf(quint64 device, quint64 inode)
{
    return QByteArray::number(device, 16) + '-' + QByteArray::number(inode, 16) + ".journal";
}

bool readAt(int fd, char* data, std::size_t size, qint64 offset)
{
    while (size > 0) {
        const ssize_t got = ::pread(fd, data, size, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= std::size_t(got);
        offset += got;
    }
    return true;
}

bool writeAt(int fd, const char* data, std::size_t size, qint64 offset, int* error)
{
    while (size > 0) {
        const ssize_t done = ::pwrite(fd, data, size, offset);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            *error = done < 0 ? errno : EIO;
            return false;
        }
        data += done;
        size -= std::size_t(done);
        offset += done;
    }
    return true;
}

// Takes the lock of the journal open as fd, and checks that the name still
// leads to it (another program may have removed it meanwhile).
enum class Lock { Held, Busy, Gone };
Lock lockJournal(int fd, int folderFd, const QByteArray& leaf)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return Lock::Busy;
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) != 0 || ::fstatat(folderFd, leaf.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0
        || opened.st_ino != named.st_ino || opened.st_dev != named.st_dev)
        return Lock::Gone;
    return Lock::Held;
}

bool birthOf(int fd, qint64* seconds, quint32* nanoseconds)
{
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &info) != 0 || (info.stx_mask & STATX_BTIME) == 0)
        return false;
    *seconds = info.stx_btime.tv_sec;
    *nanoseconds = info.stx_btime.tv_nsec;
    return true;
}

// A journal as read back.
struct Journal {
    bool append = false;
    bool knowsNew = false;  // it has the new length and block checksums
    quint64 device = 0;
    quint64 inode = 0;
    bool birthKnown = false;
    qint64 birthSeconds = 0;
    quint32 birthNanoseconds = 0;
    qint64 oldSize = 0;
    qint64 newSize = 0;
    QByteArray path;
    std::vector<quint64> sums;
    qint64 contentOffset = 0;  // where the old content lies in it
};

// Reads a journal whose every part is whole and within bounds; false for
// one cut short, damaged or of no known form. Every size is checked against
// what is left of the journal's real size before it is used.
bool readWholeJournal(int fd, qint64 size, Journal* journal)
{
    char start[sizeof(FirstHeader)];
    if (size < qint64(sizeof start) || !readAt(fd, start, sizeof start, 0)
        || std::memcmp(start, JournalMagic, sizeof JournalMagic) != 0)
        return false;
    quint32 version = 0;
    std::memcpy(&version, start + sizeof JournalMagic, sizeof version);
    quint32 kind = 0;
    qint64 left = 0;  // bytes after the header not yet accounted for
    std::size_t headerSize = 0;
    JournalHeader header {};
    FirstHeader first {};
    if (version == FirstVersion) {
        std::memcpy(&first, start, sizeof first);
        kind = first.kind;
        headerSize = sizeof first;
        journal->device = first.device;
        journal->inode = first.inode;
        journal->oldSize = first.oldSize;
        header.pathLength = first.pathLength;
    } else if (version == JournalVersion) {
        if (size < qint64(sizeof header) || !readAt(fd, reinterpret_cast<char*>(&header), sizeof header, 0))
            return false;
        kind = header.kind;
        headerSize = sizeof header;
        journal->knowsNew = true;
        journal->device = header.device;
        journal->inode = header.inode;
        journal->birthKnown = (header.flags & BirthKnown) != 0;
        journal->birthSeconds = header.birthSeconds;
        journal->birthNanoseconds = header.birthNanoseconds;
        journal->oldSize = header.oldSize;
        journal->newSize = header.newSize;
    } else {
        return false;
    }
    const quint32 pathLength = header.pathLength;
    journal->append = kind == KindLength;
    left = size - qint64(headerSize);
    if ((kind != KindContent && kind != KindLength) || pathLength == 0 || pathLength > MaxPathLength
        || qint64(pathLength) > left || journal->oldSize < 0 || journal->newSize < 0)
        return false;
    left -= pathLength;
    qint64 blocks = 0;
    if (journal->knowsNew) {
        if (journal->append && journal->newSize > std::numeric_limits<qint64>::max() - journal->oldSize)
            return false;
        blocks = blockCount(journal->append ? journal->oldSize : 0, journal->newSize);
        if (blocks > left / qint64(sizeof(quint64)))
            return false;
        left -= blocks * qint64(sizeof(quint64));
    }
    const qint64 content = journal->append ? 0 : journal->oldSize;
    if (content != left)
        return false;
    journal->path.resize(pathLength);
    if (!readAt(fd, journal->path.data(), pathLength, qint64(headerSize)) || journal->path.contains('\0'))
        return false;
    Checksum sum;
    sum.add(journal->path.constData(), pathLength);
    journal->sums.resize(std::size_t(blocks));
    if (blocks > 0) {
        const std::size_t bytes = std::size_t(blocks) * sizeof(quint64);
        if (!readAt(fd, reinterpret_cast<char*>(journal->sums.data()), bytes, qint64(headerSize) + pathLength))
            return false;
        sum.add(reinterpret_cast<const char*>(journal->sums.data()), bytes);
    }
    journal->contentOffset = qint64(headerSize) + pathLength + blocks * qint64(sizeof(quint64));
    std::vector<char> buffer(std::size_t(std::min<qint64>(content, qint64(CopyChunk))));
    for (qint64 offset = 0; offset < content;) {
        const std::size_t step = std::size_t(std::min<qint64>(content - offset, qint64(buffer.size())));
        if (!readAt(fd, buffer.data(), step, journal->contentOffset + offset))
            return false;
        sum.add(buffer.data(), step);
        offset += qint64(step);
    }
    quint64 recorded = 0;
    if (version == FirstVersion) {
        recorded = first.checksum;
        first.checksum = 0;
        sum.add(reinterpret_cast<const char*>(&first), sizeof first);
    } else {
        recorded = header.checksum;
        header.checksum = 0;
        sum.add(reinterpret_cast<const char*>(&header), sizeof header);
    }
    return sum.value() == recorded;
}

// What an interrupted save left the file as.
enum class State {
    Old,      // as it was before that save: nothing to put back
    Torn,     // as that save can have left it: to be put back
    Changed,  // in a state that save cannot have left: changed since
    Unread,   // it could not be read
};

// Reads the file and the old content side by side, a chunk at a time.
State examineSave(int fd, qint64 length, int journalFd, const Journal& journal, int* error)
{
    const qint64 oldSize = journal.oldSize;
    const qint64 newSize = journal.newSize;
    if (length < std::min(oldSize, newSize) || length > std::max(oldSize, newSize))
        return State::Changed;
    bool allOld = length == oldSize;
    std::vector<char> file(std::size_t(std::min<qint64>(std::max<qint64>(length, 1), qint64(CopyChunk))));
    std::vector<char> old(file.size());
    for (qint64 chunk = 0; chunk < length; chunk += qint64(file.size())) {
        const qint64 fileEnd = std::min(length, chunk + qint64(file.size()));
        const qint64 oldEnd = std::clamp(oldSize, chunk, fileEnd);
        if (!readAt(fd, file.data(), std::size_t(fileEnd - chunk), chunk)
            || !readAt(journalFd, old.data(), std::size_t(oldEnd - chunk), journal.contentOffset + chunk)) {
            *error = errno != 0 ? errno : EIO;
            return State::Unread;
        }
        for (qint64 start = chunk; start < fileEnd; start += Block) {
            const qint64 end = std::min(fileEnd, start + Block);
            const char* bytes = file.data() + (start - chunk);
            const auto sameAsOld = [&](qint64 from, qint64 to) {
                return to <= oldSize
                    && std::memcmp(bytes + (from - start), old.data() + (from - chunk), std::size_t(to - from)) == 0;
            };
            const bool isOld = sameAsOld(start, end);
            // The new block whole, and past the new end (before the file was
            // cut to it) the old bytes.
            const qint64 newEnd = std::min(newSize, start + Block);
            const bool isNew = journal.knowsNew && start < newSize && newEnd <= end
                            && checksumOf(bytes, std::size_t(newEnd - start)) == journal.sums[std::size_t(start / Block)]
                            && (newEnd == end || sameAsOld(newEnd, end));
            if (!isOld && !isNew)
                return State::Changed;
            allOld = allOld && isOld;
        }
    }
    return allOld ? State::Old : State::Torn;
}

// After an append: the old length, then whole blocks of the appended bytes.
State examineAppend(int fd, qint64 length, const Journal& journal, int* error)
{
    const qint64 oldSize = journal.oldSize;
    const qint64 end = oldSize + journal.newSize;
    if (length < oldSize || length > end)
        return State::Changed;
    if (length == oldSize)
        return State::Old;
    if (length != end && length % Block != 0)
        return State::Changed;
    std::vector<char> block(static_cast<std::size_t>(Block));
    std::size_t index = 0;
    for (qint64 start = oldSize; start < length; ++index) {
        const qint64 stop = std::min(length, (start / Block + 1) * Block);
        if (!readAt(fd, block.data(), std::size_t(stop - start), start)) {
            *error = errno != 0 ? errno : EIO;
            return State::Unread;
        }
        if (checksumOf(block.data(), std::size_t(stop - start)) != journal.sums[index])
            return State::Changed;
        start = stop;
    }
    return State::Torn;
}

State examine(int fd, const struct stat& opened, int journalFd, const Journal& journal, int* error)
{
    if (journal.device != quint64(opened.st_dev) || journal.inode != quint64(opened.st_ino))
        return State::Changed;
    qint64 seconds = 0;
    quint32 nanoseconds = 0;
    // Born after the journal: a new file on the same inode number.
    if (journal.birthKnown && birthOf(fd, &seconds, &nanoseconds)
        && (seconds != journal.birthSeconds || nanoseconds != journal.birthNanoseconds))
        return State::Changed;
    const qint64 length = opened.st_size;
    if (!journal.knowsNew) {
        if (length != journal.oldSize)
            return State::Changed;
        if (journal.append)
            return State::Old;
        Journal asOld = journal;
        asOld.newSize = journal.oldSize;  // no block passes as new
        return examineSave(fd, length, journalFd, asOld, error);
    }
    return journal.append ? examineAppend(fd, length, journal, error)
                          : examineSave(fd, length, journalFd, journal, error);
}

// Copies the kept content from the journal into the file and cuts the file
// to its old length; flushed.
bool putBack(int journal, qint64 contentOffset, bool lengthOnly, qint64 oldSize, int fd, int* error)
{
    if (lengthOnly) {
        struct stat now {};
        if (::fstat(fd, &now) != 0) {
            *error = errno;
            return false;
        }
        // Only what an append added goes; a file cut shorter meanwhile is not lengthened.
        if (now.st_size > oldSize && ::ftruncate(fd, oldSize) != 0) {
            *error = errno;
            return false;
        }
    } else {
        std::vector<char> buffer(std::size_t(std::min<qint64>(std::max<qint64>(oldSize, 1), qint64(CopyChunk))));
        for (qint64 offset = 0; offset < oldSize;) {
            const std::size_t step = std::size_t(std::min<qint64>(oldSize - offset, qint64(buffer.size())));
            if (!readAt(journal, buffer.data(), step, contentOffset + offset)) {
                *error = errno != 0 ? errno : EIO;
                return false;
            }
            if (!writeAt(fd, buffer.data(), step, offset, error))
                return false;
            offset += qint64(step);
        }
        if (::ftruncate(fd, oldSize) != 0) {
            *error = errno;
            return false;
        }
    }
    if (::fsync(fd) != 0) {
        *error = errno;
        return false;
    }
    return true;
}

void removeJournal(int fd, int folderFd, const QByteArray& leaf)
{
    ::unlinkat(folderFd, leaf.constData(), 0);
    ::fsync(folderFd);
    ::close(fd);
}

// Writes the journal's old content to a new file of the user's own under
// the kept folder, named after the file and the time of the save; its path,
// or empty with *error set.
QString keepOldContent(int journalFd, const struct stat& journalStatus, const Journal& journal, int* error)
{
    const QByteArray folder = keptFolder();
    if (!makeFolder(folder, error))
        return QString();
    QByteArray name = journal.path.mid(journal.path.lastIndexOf('/') + 1);
    if (name.isEmpty() || name == "." || name == "..")
        name = "file";
    const QByteArray when = QDateTime::fromSecsSinceEpoch(journalStatus.st_mtim.tv_sec)
                                .toString(QStringLiteral("yyyyMMdd-HHmmss"))
                                .toLatin1();
    QByteArray kept;
    int placeholder = -1;
    // The name is taken first, for the user alone; the content then replaces it.
    for (int counter = 1; placeholder < 0 && counter <= 1000; ++counter) {
        kept = folder + '/' + name + '.' + when + (counter > 1 ? '-' + QByteArray::number(counter) : QByteArray());
        placeholder = ::open(kept.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (placeholder < 0 && errno != EEXIST) {
            *error = errno;
            return QString();
        }
    }
    if (placeholder < 0) {
        *error = EEXIST;
        return QString();
    }
    ::close(placeholder);
    const qint64 content = journal.oldSize;
    const std::size_t mapped = std::size_t(journal.contentOffset + content);
    void* map = content > 0 ? ::mmap(nullptr, mapped, PROT_READ, MAP_SHARED, journalFd, 0) : nullptr;
    if (map == MAP_FAILED) {
        *error = errno;
        ::unlink(kept.constData());
        return QString();
    }
    const QByteArrayView bytes =
        map != nullptr ? QByteArrayView(static_cast<const char*>(map) + journal.contentOffset, content) : QByteArrayView();
    const WriteOutcome written = WriteFileAtomically(QFile::decodeName(kept), bytes);
    if (map != nullptr)
        ::munmap(map, mapped);
    if (!written) {
        *error = written.errorNumber;
        ::unlink(kept.constData());
        return QString();
    }
    return QFile::decodeName(kept);
}

}  // namespace

QString SaveJournalFolder() { return QFile::decodeName(journalFolder()); }

RecoveryOutcome RecoverInterruptedSave(const QString& path)
{
    RecoveryOutcome outcome;
    const QByteArray file = QFile::encodeName(path);
    struct stat status {};
    if (path.isEmpty() || ::stat(file.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return outcome;
    // Only a folder and journal of the user's alone are trusted; a FIFO or
    // anything else at the journal's name is no journal and must not block.
    const char* wrong = nullptr;
    const int folderFd = openJournalFolder(journalFolder(), &wrong);
    if (folderFd < 0)
        return outcome;
    const QByteArray leaf = journalLeaf(quint64(status.st_dev), quint64(status.st_ino));
    const int journal = ::openat(folderFd, leaf.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    struct stat journalStatus {};
    if (journal < 0 || ::fstat(journal, &journalStatus) != 0 || !S_ISREG(journalStatus.st_mode)
        || notPrivate(journalStatus) != nullptr || lockJournal(journal, folderFd, leaf) != Lock::Held) {
        // None, not ours, or a save going on (or finished meanwhile).
        if (journal >= 0)
            ::close(journal);
        ::close(folderFd);
        return outcome;
    }
    const auto done = [&] {
        ::close(journal);
        ::close(folderFd);
        return outcome;
    };
    Journal found;
    if (!readWholeJournal(journal, journalStatus.st_size, &found)) {
        // Cut short while it was written: the file was not touched yet.
        removeJournal(journal, folderFd, leaf);
        ::close(folderFd);
        return outcome;
    }
    const QString shown = QFile::decodeName(found.path);
    int error = 0;
    bool writable = true;
    int fd = ::open(file.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        writable = false;
        fd = ::open(file.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
    struct stat opened {};
    if (fd < 0 && errno == ENOENT)
        return done();  // gone meanwhile
    if (fd < 0)
        error = errno;
    else if (::fstat(fd, &opened) != 0 || opened.st_dev != status.st_dev || opened.st_ino != status.st_ino) {
        // Replaced meanwhile: the next open looks again.
        ::close(fd);
        return done();
    }
    const State state = fd >= 0 ? examine(fd, opened, journal, found, &error) : State::Unread;
    if (state == State::Old) {
        ::close(fd);
        removeJournal(journal, folderFd, leaf);
        ::close(folderFd);
        return outcome;
    }
    if (state == State::Changed) {
        if (fd >= 0)
            ::close(fd);
        const QString changed = QStringLiteral("A save of %1 was cut short, and the file has been changed since. It was "
                                               "left as it is")
                                    .arg(shown);
        if (!found.append) {
            outcome.kept = keepOldContent(journal, journalStatus, found, &error);
            if (outcome.kept.isEmpty()) {
                outcome.kind = RecoveryOutcome::Kind::Failed;
                outcome.message = changed
                                + QStringLiteral(", but its content from before that save could not be kept in %1: "
                                                 "%2. It stays in %3.")
                                      .arg(QFile::decodeName(keptFolder()), words(error),
                                           QFile::decodeName(journalFolder() + '/' + leaf));
                return done();
            }
        }
        outcome.kind = RecoveryOutcome::Kind::Kept;
        outcome.message = found.append ? changed + u'.'
                                       : changed + QStringLiteral("; its content from before that save is kept in %1.")
                                                       .arg(outcome.kept);
        removeJournal(journal, folderFd, leaf);
        ::close(folderFd);
        return outcome;
    }
    if (state == State::Torn && !writable)
        error = EACCES;
    else if (state == State::Torn
             && putBack(journal, found.contentOffset, found.append, found.oldSize, fd, &error)) {
        outcome.kind = RecoveryOutcome::Kind::Restored;
        outcome.stamp = StampOfFile(fd);
        outcome.message = QStringLiteral("A save of %1 was cut short. The file was put back as it was before that save.")
                              .arg(shown);
        ::close(fd);
        removeJournal(journal, folderFd, leaf);
        ::close(folderFd);
        return outcome;
    }
    if (fd >= 0)
        ::close(fd);
    outcome.kind = RecoveryOutcome::Kind::Failed;
    outcome.message = QStringLiteral("A save of %1 was cut short, and the file could not be put back as it was "
                                     "before that save: %2. Its old content is kept in %3.")
                          .arg(shown, words(error), QFile::decodeName(journalFolder() + '/' + leaf));
    return done();
}

SaveJournal::~SaveJournal()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (folderFd_ >= 0)
        ::close(folderFd_);
}

QString SaveJournal::path() const { return QFile::decodeName(name_); }

bool SaveJournal::begin(const QByteArray& target, int fd, std::span<const QByteArrayView> pieces, bool append,
                        int* error, QString* cause)
{
    folder_ = journalFolder();
    const QString folder = QFile::decodeName(folder_);
    const auto drop = [&] {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
        if (folderFd_ >= 0) {
            ::close(folderFd_);
            folderFd_ = -1;
        }
        return false;
    };
    const auto refuse = [&](int number, const QString& why) {
        *error = number;
        *cause = why;
        return drop();
    };
    const auto fail = [&](int number, bool inFolder) {
        *error = number != 0 ? number : EIO;
        *cause = inFolder && (number == EACCES || number == EPERM || number == EROFS)
                     ? QStringLiteral("the folder %1, which keeps the old content until the save is done, may not "
                                      "be written")
                           .arg(folder)
                     : QStringLiteral("the old content could not be kept in %1 until the save is done").arg(folder);
        if (fd_ >= 0)
            ::unlinkat(folderFd_, name_.mid(folder_.size() + 1).constData(), 0);
        return drop();
    };
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return fail(errno, false);
    if (!makeFolder(folder_, error))
        return fail(*error, true);
    const char* wrong = nullptr;
    folderFd_ = openJournalFolder(folder_, &wrong);
    if (folderFd_ < 0 && wrong != nullptr)
        return refuse(EACCES, QStringLiteral("the folder %1, which keeps the old content until the save is done, %2")
                                  .arg(folder, QLatin1String(wrong)));
    if (folderFd_ < 0)
        return fail(errno, true);
    const QByteArray leaf = journalLeaf(quint64(status.st_dev), quint64(status.st_ino));
    name_ = folder_ + '/' + leaf;
    for (int attempt = 0;; ++attempt) {
        fd_ = ::openat(folderFd_, leaf.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0600);
        struct stat journal {};
        if (fd_ < 0 && errno != ELOOP && errno != EISDIR && errno != ENXIO)
            return fail(errno, true);
        if (fd_ < 0 || ::fstat(fd_, &journal) != 0 || !S_ISREG(journal.st_mode))
            return refuse(EEXIST, QStringLiteral("%1, where the old content is to be kept until the save is done, is "
                                                 "not a regular file")
                                      .arg(path()));
        if (const char* why = notPrivate(journal))
            return refuse(EACCES, QStringLiteral("%1, where the old content is to be kept until the save is done, %2")
                                      .arg(path(), QLatin1String(why)));
        const Lock lock = lockJournal(fd_, folderFd_, leaf);
        if (lock == Lock::Held)
            break;
        ::close(fd_);
        fd_ = -1;
        if (lock == Lock::Busy || attempt == 3)
            // Another program is saving this file now.
            return refuse(EBUSY, QStringLiteral("another program is saving the file"));
    }
    lengthOnly_ = append;
    // Where the file is, from wherever it is opened next: it names the file
    // in messages.
    QByteArray recorded = target;
    if (!recorded.startsWith('/')) {
        char* here = ::getcwd(nullptr, 0);
        if (here != nullptr) {
            recorded = QByteArray(here) + '/' + recorded;
            std::free(here);
        }
    }
    JournalHeader header {};
    std::memcpy(header.magic, JournalMagic, sizeof JournalMagic);
    header.version = JournalVersion;
    header.kind = append ? KindLength : KindContent;
    header.device = quint64(status.st_dev);
    header.inode = quint64(status.st_ino);
    if (birthOf(fd, &header.birthSeconds, &header.birthNanoseconds))
        header.flags |= BirthKnown;
    header.oldSize = append ? qint64(status.st_size) : 0;
    for (const QByteArrayView piece : pieces)
        header.newSize += piece.size();
    header.pathLength = quint32(std::min<qsizetype>(recorded.size(), MaxPathLength));
    const std::vector<quint64> sums = blockSums(pieces, header.oldSize);
    const std::size_t sumBytes = sums.size() * sizeof(quint64);
    contentOffset_ = qint64(sizeof header) + header.pathLength + qint64(sumBytes);
    int number = 0;
    if (::ftruncate(fd_, 0) != 0)
        return fail(errno, true);
    if (!writeAt(fd_, recorded.constData(), header.pathLength, sizeof header, &number)
        || !writeAt(fd_, reinterpret_cast<const char*>(sums.data()), sumBytes, qint64(sizeof header) + header.pathLength,
                    &number))
        return fail(number, true);
    Checksum sum;
    sum.add(recorded.constData(), header.pathLength);
    sum.add(reinterpret_cast<const char*>(sums.data()), sumBytes);
    // The content as it is read now, whatever the size said before.
    if (!append) {
        std::vector<char> buffer(CopyChunk);
        qint64 size = 0;
        for (;;) {
            const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), size);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return fail(errno, false);
            if (got == 0)
                break;
            sum.add(buffer.data(), std::size_t(got));
            if (!writeAt(fd_, buffer.data(), std::size_t(got), contentOffset_ + size, &number))
                return fail(number, true);
            size += got;
        }
        header.oldSize = size;
    }
    oldSize_ = header.oldSize;
    sum.add(reinterpret_cast<const char*>(&header), sizeof header);
    header.checksum = sum.value();
    if (!writeAt(fd_, reinterpret_cast<const char*>(&header), sizeof header, 0, &number))
        return fail(number, true);
    if (::fsync(fd_) != 0)
        return fail(errno, true);
    ::fsync(folderFd_);
    return true;
}

bool SaveJournal::restore(int fd)
{
    int error = 0;
    return fd_ >= 0 && putBack(fd_, contentOffset_, lengthOnly_, oldSize_, fd, &error);
}

void SaveJournal::finish()
{
    if (fd_ < 0)
        return;
    removeJournal(fd_, folderFd_, name_.mid(folder_.size() + 1));
    fd_ = -1;
    ::close(folderFd_);
    folderFd_ = -1;
}

}  // namespace platform
