#include "platform/files/SaveJournal.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr char JournalMagic[8] = {'T', 'V', 'X', 'J', 'R', 'N', 'L', '\n'};
constexpr quint32 JournalVersion = 1;
constexpr quint32 KindContent = 1;
constexpr quint32 KindLength = 2;
constexpr quint32 MaxPathLength = 64 * 1024;
constexpr std::size_t CopyChunk = std::size_t(1) << 20;

struct JournalHeader {
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
static_assert(sizeof(JournalHeader) == 56);

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

QString words(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void flushFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray journalFolder()
{
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (!cache.startsWith('/')) {
        QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            const passwd* user = ::getpwuid(::geteuid());
            home = user != nullptr && user->pw_dir != nullptr ? QByteArray(user->pw_dir) : QByteArray("/tmp");
        }
        cache = home + "/.cache";
    }
    return cache + "/Talvex/journal";
}

// Makes the folder and those above it that are missing, for the user alone.
bool makeFolder(const QByteArray& folder, int* error)
{
    struct stat status {};
    if (::stat(folder.constData(), &status) == 0)
        return S_ISDIR(status.st_mode) || ((*error = ENOTDIR), false);
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !makeFolder(folder.left(slash), error))
        return false;
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
        *error = errno;
        return false;
    }
    return true;
}

QByteArray journalName(const QByteArray& folder, quint64 device, quint64 inode)
{
    return folder + '/' + QByteArray::number(device, 16) + '-' + QByteArray::number(inode, 16) + ".journal";
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
Lock lockJournal(int fd, const QByteArray& name)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return Lock::Busy;
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) != 0 || ::lstat(name.constData(), &named) != 0 || opened.st_ino != named.st_ino
        || opened.st_dev != named.st_dev)
        return Lock::Gone;
    return Lock::Held;
}

// A journal whose header, path and content are whole; its header and path.
bool readWholeJournal(int fd, JournalHeader* header, QByteArray* path)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < qint64(sizeof(JournalHeader)))
        return false;
    if (!readAt(fd, reinterpret_cast<char*>(header), sizeof *header, 0))
        return false;
    if (std::memcmp(header->magic, JournalMagic, sizeof JournalMagic) != 0 || header->version != JournalVersion
        || (header->kind != KindContent && header->kind != KindLength) || header->pathLength == 0
        || header->pathLength > MaxPathLength || header->oldSize < 0)
        return false;
    const qint64 content = header->kind == KindContent ? header->oldSize : 0;
    if (status.st_size != qint64(sizeof(JournalHeader)) + header->pathLength + content)
        return false;
    path->resize(header->pathLength);
    if (!readAt(fd, path->data(), header->pathLength, sizeof(JournalHeader)))
        return false;
    Checksum sum;
    sum.add(path->constData(), std::size_t(path->size()));
    std::vector<char> buffer(std::size_t(std::min<qint64>(content, qint64(CopyChunk))));
    for (qint64 offset = 0; offset < content;) {
        const std::size_t step = std::size_t(std::min<qint64>(content - offset, qint64(buffer.size())));
        if (!readAt(fd, buffer.data(), step, qint64(sizeof(JournalHeader)) + header->pathLength + offset))
            return false;
        sum.add(buffer.data(), step);
        offset += qint64(step);
    }
    JournalHeader blank = *header;
    blank.checksum = 0;
    sum.add(reinterpret_cast<const char*>(&blank), sizeof blank);
    return sum.value() == header->checksum;
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

void removeJournal(int fd, const QByteArray& name, const QByteArray& folder)
{
    ::unlink(name.constData());
    flushFolder(folder);
    ::close(fd);
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
    const QByteArray folder = journalFolder();
    const QByteArray name = journalName(folder, quint64(status.st_dev), quint64(status.st_ino));
    const int journal = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (journal < 0)
        return outcome;
    if (lockJournal(journal, name) != Lock::Held) {
        ::close(journal);  // a save going on, or finished meanwhile
        return outcome;
    }
    JournalHeader header {};
    QByteArray recorded;
    struct stat named {};
    // A journal cut short: the file was not touched yet. One of a file that
    // is gone (its inode now another file's) belongs to nothing.
    if (!readWholeJournal(journal, &header, &recorded) || header.device != quint64(status.st_dev)
        || header.inode != quint64(status.st_ino) || ::stat(recorded.constData(), &named) != 0
        || named.st_dev != status.st_dev || named.st_ino != status.st_ino) {
        removeJournal(journal, name, folder);
        return outcome;
    }
    const QString shown = QFile::decodeName(recorded);
    int error = 0;
    const int fd = ::open(file.constData(), O_RDWR | O_CLOEXEC);
    struct stat opened {};
    if (fd < 0)
        error = errno;
    else if (::fstat(fd, &opened) != 0 || opened.st_dev != status.st_dev || opened.st_ino != status.st_ino)
        error = errno != 0 ? errno : ESTALE;
    if (error == 0
        && putBack(journal, qint64(sizeof(JournalHeader)) + header.pathLength, header.kind == KindLength,
                   header.oldSize, fd, &error)) {
        outcome.kind = RecoveryOutcome::Kind::Restored;
        outcome.stamp = StampOfFile(fd);
        outcome.message = QStringLiteral("A save of %1 was cut short. The file was put back as it was before that save.")
                              .arg(shown);
        ::close(fd);
        removeJournal(journal, name, folder);
        return outcome;
    }
    if (fd >= 0)
        ::close(fd);
    ::close(journal);
    outcome.kind = RecoveryOutcome::Kind::Failed;
    outcome.message = QStringLiteral("A save of %1 was cut short, and the file could not be put back as it was "
                                     "before that save: %2. Its old content is kept in %3.")
                          .arg(shown, words(error), QFile::decodeName(name));
    return outcome;
}

SaveJournal::~SaveJournal()
{
    if (fd_ >= 0)
        ::close(fd_);
}

QString SaveJournal::path() const { return QFile::decodeName(name_); }

bool SaveJournal::begin(const QByteArray& target, int fd, bool lengthOnly, int* error, QString* cause)
{
    const auto fail = [&](int number, bool inFolder) {
        *error = number != 0 ? number : EIO;
        const QString folder = QFile::decodeName(folder_);
        *cause = inFolder && (number == EACCES || number == EPERM || number == EROFS)
                     ? QStringLiteral("the folder %1, which keeps the old content until the save is done, may not "
                                      "be written")
                           .arg(folder)
                     : QStringLiteral("while the old content was kept in %1 until the save is done").arg(folder);
        if (fd_ >= 0) {
            ::unlink(name_.constData());
            ::close(fd_);
            fd_ = -1;
        }
        return false;
    };
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return fail(errno, false);
    folder_ = journalFolder();
    if (!makeFolder(folder_, error))
        return fail(*error, true);
    name_ = journalName(folder_, quint64(status.st_dev), quint64(status.st_ino));
    for (int attempt = 0;; ++attempt) {
        fd_ = ::open(name_.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0)
            return fail(errno, true);
        const Lock lock = lockJournal(fd_, name_);
        if (lock == Lock::Held)
            break;
        ::close(fd_);
        fd_ = -1;
        if (lock == Lock::Busy || attempt == 3) {
            // Another program is saving this file now.
            *error = EBUSY;
            *cause = QStringLiteral("another program is saving the file");
            return false;
        }
    }
    lengthOnly_ = lengthOnly;
    // Where the file is, from wherever it is opened next.
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
    header.kind = lengthOnly ? KindLength : KindContent;
    header.device = quint64(status.st_dev);
    header.inode = quint64(status.st_ino);
    header.oldSize = lengthOnly ? qint64(status.st_size) : 0;
    header.pathLength = quint32(std::min<qsizetype>(recorded.size(), MaxPathLength));
    contentOffset_ = qint64(sizeof header) + header.pathLength;
    int number = 0;
    if (::ftruncate(fd_, 0) != 0)
        return fail(errno, true);
    if (!writeAt(fd_, recorded.constData(), header.pathLength, sizeof header, &number))
        return fail(number, true);
    Checksum sum;
    sum.add(recorded.constData(), header.pathLength);
    // The content as it is read now, whatever the size said before.
    if (!lengthOnly) {
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
    flushFolder(folder_);
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
    removeJournal(fd_, name_, folder_);
    fd_ = -1;
}

}  // namespace platform
