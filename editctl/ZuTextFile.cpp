#include "editctl/ZuTextFile.h"

#include "editctl/engine/ZuFileInStream.h"
#include "editctl/engine/ZuFileOutStream.h"
#include "editctl/engine/ZuGlobalOutStream.h"
#include "platform/files/AtomicWrite.h"

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
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

} // namespace

ZuErr ZuLoadFile(const QString& path, ZuTextDocument& document, int& type, bool convert)
{
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that opening a FIFO cannot hang before the check below.
    Descriptor fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return errno;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (info.st_size >= MaxFileBytes)
        return ZuErrLineCount;
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    ZuFileInStream stream(fd.get());
    int found = type;
    if (const ZuErr error = document.Load(stream, found, convert))
        return error;
    type = found;
    return ZuOk;
}

ZuErr ZuSaveFile(const QString& path, const ZuTextDocument& document, int pane, const ZuTextRange& range, int type,
                 bool convert, bool append)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    const bool exists = ::stat(name.constData(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (append && exists) {
        Descriptor fd(::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC));
        if (fd.get() < 0)
            return errno;
        ZuFileOutStream stream(fd.get());
        if (const ZuErr error = document.Save(pane, range, stream, type, convert))
            return error;
        if (::fsync(fd.get()) != 0 || ::close(fd.release()) != 0)
            return errno;
        return ZuOk;
    }
    // The folder must take a new file: the atomic routine writes one beside the target.
    const QString folder = QFileInfo(QFileInfo(path).canonicalFilePath().isEmpty() ? path
                                                                                     : QFileInfo(path).canonicalFilePath())
                               .absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return errno == ENOENT ? ENOENT : EACCES;
    ZuGlobalOutStream stream;
    if (const ZuErr error = document.Save(pane, range, stream, type, convert))
        return error;
    const std::string& bytes = stream.Data();
    if (!platform::WriteFileAtomically(path, QByteArrayView(bytes.data(), qsizetype(bytes.size()))))
        return EIO;
    return ZuOk;
}
