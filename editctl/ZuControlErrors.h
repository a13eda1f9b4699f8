#pragma once
// What fails inside the control and how it reaches the container: every
// automation member runs its work inside one handler that turns the exception
// into an automation error {number, text} (platform::Error).

#include "editctl/engine/ZuErrors.h"
#include "platform/forms/Error.h"

#include <QString>

#include <exception>
#include <optional>

// An engine or C run-time code (errno).
struct ZuErrnoException {
    ZuErr code;
};

// A file that could not be used, with the cause and the message shown.
struct ZuFileException {
    enum Cause { Generic, FileNotFound, BadPath, TooManyOpenFiles, AccessDenied, InvalidFile, RemoveCurrentDir,
                 DirectoryFull, BadSeek, HardIO, SharingViolation, LockViolation, DiskFull, EndOfFile };
    Cause cause;
    QString message;
};

struct ZuMemoryException {};

// Thrown by a member whose property cannot be set (383) or read (394).
inline constexpr int ZuErrSetNotSupported = 383;
inline constexpr int ZuErrGetNotSupported = 394;

// The automation error an exception becomes; nothing for no exception. A
// platform::Error passes through unchanged.
std::optional<platform::Error> ZuBoundaryError(std::exception_ptr exception);

// The file exception for a C run-time error number of a file operation:
// the cause its number maps to, and "path: the system's words".
ZuFileException ZuFileExceptionOf(int errorNumber, const QString& path);
