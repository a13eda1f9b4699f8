#include "shell/GShell.h"

#include "platform/forms/Error.h"
#include "platform/shell/Shell.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

qint64 Nanoseconds(const timespec& time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

timespec TimeSpec(qint64 nanoseconds)
{
    timespec time{};
    time.tv_sec = static_cast<time_t>(nanoseconds / 1000000000);
    time.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    if (time.tv_nsec < 0) {
        time.tv_nsec += 1000000000;
        --time.tv_sec;
    }
    return time;
}

// "Pelmar" for the editor; the name the error source begins with.
QString ExecutableName()
{
    const QString path = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    const QString name = QFileInfo(path).completeBaseName();
    return name.isEmpty() ? QStringLiteral("Pelmar") : name;
}

}  // namespace

void AcceptDroppedFiles(QWidget* window)
{
    if (window != nullptr)
        window->setAcceptDrops(true);
}

void KillFileKeepInfo(const QString& path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0
        || !S_ISREG(status.st_mode))
        return;
    KeptFileData.Mode = status.st_mode & 07777;
    KeptFileData.AccessTimeNs = Nanoseconds(status.st_atim);
    KeptFileData.WriteTimeNs = Nanoseconds(status.st_mtim);
    KeptFilePath = path;
    FileDataKept = true;
}

void RestoreFileInfo()
{
    if (FileDataKept) {
        const QByteArray name = QFile::encodeName(KeptFilePath);
        const timespec times[2] = {TimeSpec(KeptFileData.AccessTimeNs), TimeSpec(KeptFileData.WriteTimeNs)};
        // Times first: on a read-only file their change still works for the owner.
        if (::utimensat(AT_FDCWD, name.constData(), times, 0) == 0)
            ::chmod(name.constData(), KeptFileData.Mode);
    }
    FileDataKept = false;
}

ShellFailure ShellFailureFor(int result)
{
    const qint32 byDefault = platform::Error::toNumber(-2147220456LL + result);
    switch (result) {
    case 0:
    case 8:
        return {7, QStringLiteral("Out of memory"), {}};
    case 2:
        return {53, QStringLiteral("File not found"), {}};
    case 3:
        return {76, QStringLiteral("Path not found"), {}};
    case 5:
        return {75, QStringLiteral("Path/file access error"), {}};
    case 11:
        return {byDefault, QStringLiteral("The executable file is invalid or corrupt"), {}};
    case 26:
        return {75, QStringLiteral("A sharing violation occurred."), {}};
    case 27:
        return {byDefault, QStringLiteral("This file type does not have a valid file association."), {}};
    case 28:
        return {286, QStringLiteral("The file could not be opened due to time out. Please try again in a moment."), {}};
    case 29:
        return {285,
                QStringLiteral("The file could not be opened because the DDE transaction failed. "
                               "Please try again in a moment."),
                {}};
    case 30:
        return {285,
                QStringLiteral("The file could not be opened because the target application is busy. "
                               "Please try again in a moment."),
                {}};
    case 31:
        return {byDefault, QStringLiteral("No application is associated with this file type."), {}};
    case 32:
        return {48, QStringLiteral("The specified dynamic-link library was not found."), {}};
    default:
        return {byDefault,
                QStringLiteral("An error occurred occurred whilst trying to open or print the selected file."),
                {}};
    }
}

bool ShellExecuteFile(const QString& file, int showState, const QStringList& parameters,
                      const QString& directory, const QString& operation, QWidget* owner)
{
    Q_UNUSED(owner);
    ShellError = {};
    int result = 0;
    try {
        result = platform::ShellExecuteWithArguments(operation, file, parameters, directory, showState);
    } catch (...) {
        result = 0;
    }
    if (result > 32)
        return true;
    ShellError = ShellFailureFor(result);
    ShellError.Source = ExecutableName() + QStringLiteral(".GShell");
    return false;
}
