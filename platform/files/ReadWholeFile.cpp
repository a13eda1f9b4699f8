#include "platform/files/ReadWholeFile.h"

#include "platform/files/HugePages.h"
#include "platform/files/SaveJournal.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Reads into data until size bytes came or the file ended; the count read, or -1 with errno.
qint64 ReadUpTo(int fd, char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, static_cast<size_t>(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

}  // namespace

ReadOutcome ReadWholeFile(const QString& path, QByteArray& bytes)
{
    ReadOutcome outcome;
    bytes.clear();
    // A save of it cut short is rolled back first: the old content is read.
    RecoverInterruptedSave(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        outcome.error = SystemError(errno);
        return outcome;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        outcome.error = SystemError(errno);
        ::close(fd);
        return outcome;
    }
    if (S_ISDIR(info.st_mode)) {
        outcome.error = SystemError(EISDIR);
        ::close(fd);
        return outcome;
    }
    // The size the file has now; pipes and devices say 0 and are read in steps.
    qint64 expected = S_ISREG(info.st_mode) ? static_cast<qint64>(info.st_size) : 0;
    QByteArray buffer(expected, Qt::Uninitialized);
    AdviseHugePages(buffer.data(), static_cast<std::size_t>(expected));
    qint64 got = ReadUpTo(fd, buffer.data(), expected);
    int error = got < 0 ? errno : 0;
    // At the expected end: whatever was added meanwhile follows (a file cut short has ended).
    while (got == expected) {
        char more[16 * 1024];
        const qint64 n = ReadUpTo(fd, more, sizeof more);
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            got = n < 0 ? -1 : got;
            break;
        }
        buffer.append(more, n);
        got += n;
        expected = got;
    }
    ::close(fd);
    if (got < 0) {
        outcome.error = SystemError(error);
        return outcome;
    }
    buffer.resize(got);
    bytes = std::move(buffer);
    outcome.ok = true;
    return outcome;
}

}  // namespace platform
