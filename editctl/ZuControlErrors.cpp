#include "editctl/ZuControlErrors.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace {

constexpr int TextLimit = 256;

int FileErrorNumber(ZuFileException::Cause cause)
{
    switch (cause) {
    case ZuFileException::FileNotFound: return 53;
    case ZuFileException::BadPath: return 75;
    case ZuFileException::TooManyOpenFiles: return 67;
    case ZuFileException::InvalidFile: return 52;
    case ZuFileException::DirectoryFull: return 61;
    case ZuFileException::BadSeek:
    case ZuFileException::HardIO: return 57;
    case ZuFileException::EndOfFile: return 59;
    default: return 5;
    }
}

platform::Error Automation(int number, const QString& text)
{
    return platform::Error(number, text.left(TextLimit));
}

}  // namespace

std::optional<platform::Error> ZuBoundaryError(std::exception_ptr exception)
{
    if (!exception)
        return std::nullopt;
    try {
        std::rethrow_exception(exception);
    } catch (const platform::Error& e) {
        return e;
    } catch (const ZuErrnoException& e) {
        const ZuAutomationError error = AutomationError(e.code);
        return Automation(1000, QString::fromLatin1(error.text.c_str()));
    } catch (const ZuFileException& e) {
        return Automation(FileErrorNumber(e.cause), e.message);
    } catch (const ZuMemoryException&) {
        return Automation(7, QStringLiteral("Not Enough Memory."));
    } catch (const std::bad_alloc&) {
        return Automation(7, QStringLiteral("Not Enough Memory."));
    } catch (const std::exception& e) {
        const QString text = QString::fromLocal8Bit(e.what());
        return Automation(1000, text.isEmpty() ? QStringLiteral("Unknown error.") : text);
    } catch (...) {
        return Automation(1000, QStringLiteral("Unknown error."));
    }
}

ZuFileException ZuFileExceptionOf(int errorNumber, const QString& path)
{
    ZuFileException::Cause cause = ZuFileException::Generic;
    switch (errorNumber) {
    case ENOENT: cause = ZuFileException::FileNotFound; break;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR: cause = ZuFileException::BadPath; break;
    case EMFILE:
    case ENFILE: cause = ZuFileException::TooManyOpenFiles; break;
    case EACCES:
    case EPERM:
    case EROFS: cause = ZuFileException::AccessDenied; break;
    case ENOSPC: cause = ZuFileException::DiskFull; break;
    case EIO: cause = ZuFileException::HardIO; break;
    case ESPIPE: cause = ZuFileException::BadSeek; break;
    default: break;
    }
    const QString reason = QString::fromLocal8Bit(std::strerror(errorNumber));
    return {cause, path.isEmpty() ? reason : QStringLiteral("%1: %2").arg(path, reason)};
}
