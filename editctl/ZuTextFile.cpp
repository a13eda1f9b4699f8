#include "editctl/ZuTextFile.h"

#include "editctl/engine/ZuFileInStream.h"
#include "editctl/engine/ZuGlobalOutStream.h"
#include "platform/files/AtomicWrite.h"
#include "platform/files/SaveJournal.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::int64_t MaxFileBytes = std::int64_t(1) << 31;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

ZuFileResult FileFailure(int error) { return {error, ZuOk}; }

// A code the stream's own system calls gave is the file's; any other is the engine's.
ZuFileResult Outcome(ZuErr code, const ZuStream& stream)
{
    if (code == ZuOk)
        return {};
    if (stream.Bad() && stream.Error() == code && code > 0 && code < ZuErrLineCount)
        return FileFailure(code);
    return {0, code};
}

// Opens a regular file for reading, refusing others (and one too large for a
// document) before a byte is read; the descriptor or the failure.
ZuFileResult OpenForReading(const QString& path, Descriptor& fd)
{
    // Non-blocking, so that opening a FIFO cannot hang before the check below.
    fd.reset(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return FileFailure(errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return FileFailure(errno);
    if (!S_ISREG(info.st_mode))
        return FileFailure(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    if (info.st_size >= MaxFileBytes)
        return {0, ZuErrLineCount};
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return {};
}

} // namespace

ZuFileResult ZuLoadFile(const QString& path, ZuTextDocument& document, int& type, bool convert)
{
    // A save of it cut short is rolled back first: the old text loads.
    platform::RecoverInterruptedSave(path);
    Descriptor fd(-1);
    if (const ZuFileResult opened = OpenForReading(path, fd); !opened.Ok())
        return opened;
    ZuFileInStream stream(fd.get());
    int found = type;
    if (const ZuFileResult loaded = Outcome(document.Load(stream, found, convert), stream); !loaded.Ok())
        return loaded;
    type = found;
    return {};
}

ZuFileResult ZuReadFile(const QString& path, QByteArray& bytes)
{
    platform::RecoverInterruptedSave(path);
    Descriptor fd(-1);
    if (const ZuFileResult opened = OpenForReading(path, fd); !opened.Ok())
        return opened;
    QByteArray read;
    for (;;) {
        char chunk[64 * 1024];
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return FileFailure(errno);
        if (got == 0)
            break;
        if (read.size() + got >= MaxFileBytes)
            return {0, ZuErrLineCount};
        read.append(chunk, got);
    }
    bytes = std::move(read);
    return {};
}

ZuFileResult ZuSaveFile(const QString& path, const ZuTextDocument& document, int pane, const ZuTextRange& range,
                        int type, bool convert, bool append)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    const bool exists = ::stat(name.constData(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        return FileFailure(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    ZuGlobalOutStream stream;
    if (const ZuErr error = document.Save(pane, range, stream, type, convert))
        return {0, error};
    const std::string& bytes = stream.Data();
    if (append && exists) {
        // The old length is journaled first, with the bytes to append: an
        // append that fails, or is cut short, is taken off again (at once, or
        // at the next open or save).
        const QByteArrayView added(bytes.data(), qsizetype(bytes.size()));
        const platform::WriteOutcome appended = platform::AppendToFile(path, std::span<const QByteArrayView>(&added, 1));
        if (!appended)
            return FileFailure(appended.errorNumber);
        return {};
    }
    const platform::WriteOutcome written =
        platform::WriteFileAtomically(path, QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!written)
        return FileFailure(written.errorNumber);
    return {};
}
