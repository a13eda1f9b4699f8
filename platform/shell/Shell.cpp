#include "platform/shell/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <mutex>
#include <utility>

#include <csignal>
#include <unistd.h>

namespace platform {
namespace {

std::mutex seamMutex;
ProgramStarter programStarter;
DocumentOpener documentOpener;

bool openDocument(const QUrl& url)
{
    DocumentOpener opener;
    {
        std::lock_guard lock(seamMutex);
        opener = documentOpener;
    }
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

// A program file starts like one: an ELF image or a script with "#!".
bool looksLikeProgram(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head.startsWith("\x7f" "ELF") || head.startsWith("#!");
}

bool isUrl(const QString& file)
{
    // A mail address ("mailto:" in any letter case) has no "//" after its scheme.
    static const QRegularExpression scheme(QStringLiteral("^(?:[A-Za-z][A-Za-z0-9+.-]+://|mailto:)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return scheme.match(file).hasMatch();
}

// Finds the file as the shell would: relative to the directory, with a
// Windows-style name, or a bare program name on the search path.
QString locate(const QString& file, const QString& directory)
{
    auto resolve = [&](const QString& name) {
        return QDir::isRelativePath(name) && !directory.isEmpty() ? QDir(directory).filePath(name) : name;
    };
    QStringList candidates{file};
    if (file.contains(u'\\'))
        candidates.append(QString(file).replace(u'\\', u'/'));
    for (const QString& name : std::as_const(candidates)) {
        const QString path = resolve(name);
        if (QFileInfo::exists(path))
            return path;
        if (path.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) {
            const QString bare = path.chopped(4);
            if (QFileInfo(bare).isFile() && QFileInfo(bare).isExecutable())
                return bare;
        }
    }
    const QString name = candidates.last();
    if (!name.contains(u'/')) {
        QString found = QStandardPaths::findExecutable(name);
        if (found.isEmpty() && name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
            found = QStandardPaths::findExecutable(name.chopped(4));
        if (!found.isEmpty())
            return found;
    }
    return resolve(name);
}

// Waits until the process ends (true) or the time runs out. On the thread
// of the application's event loop the windows go on repainting and timers
// run meanwhile, but keys and clicks wait until the program has ended, so
// that no command starts in the middle.
bool waitForEnd(QProcess& process, int timeoutMs)
{
    const QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || app->thread() != QThread::currentThread())
        return process.waitForFinished(timeoutMs < 0 ? -1 : timeoutMs);
    if (process.state() == QProcess::NotRunning)
        return true;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (timeoutMs >= 0)
        limit.start(timeoutMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return process.state() == QProcess::NotRunning;
}

}  // namespace

bool StartProgram(const QString& program, const QStringList& arguments,
                  const QString& workingDirectory, qint64* processId)
{
    ProgramStarter starter;
    {
        std::lock_guard lock(seamMutex);
        starter = programStarter;
    }
    if (processId)
        *processId = 0;
    if (starter)
        return starter(program, arguments, workingDirectory);
    return QProcess::startDetached(program, arguments, workingDirectory, processId);
}

ProgramResult RunProgram(const QString& program, const QStringList& arguments, int timeoutMs,
                         const QString& workingDirectory)
{
    ProgramResult result;
    QProcess process;
    // The program writes where we write and reads nothing (its input is
    // closed). Opened for reading too: a device opened without reading gets
    // its output sent to the null device, which Qt warns is at odds with
    // forwarding.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setProgram(program);
    process.setArguments(arguments);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    // Its own process group, so that a time-out ends what it started too.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(QIODevice::ReadWrite);
    process.closeWriteChannel();
    if (!process.waitForStarted(timeoutMs < 0 ? 30000 : std::max(timeoutMs, 1000))) {
        result.error = process.errorString();
        process.kill();
        process.waitForFinished(1000);
        return result;
    }
    result.started = true;
    if (!waitForEnd(process, timeoutMs)) {
        result.timedOut = process.state() != QProcess::NotRunning;
        result.error = result.timedOut ? QStringLiteral("time limit ran out") : process.errorString();
        if (process.processId() > 0)
            ::kill(-pid_t(process.processId()), SIGKILL);
        process.kill();
        process.waitForFinished(5000);
        return result;
    }
    result.finished = true;
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    if (!result.crashed)
        result.exitCode = process.exitCode();
    else
        result.error = process.errorString();
    return result;
}

int ShellExecute(const QString& operation, const QString& file, const QString& parameters,
                 const QString& directory, int showCmd)
{
    return ShellExecuteWithArguments(operation, file, QProcess::splitCommand(parameters), directory,
                                     showCmd);
}

int ShellExecuteWithArguments(const QString& operation, const QString& file,
                              const QStringList& arguments, const QString& directory, int showCmd)
{
    Q_UNUSED(showCmd);
    const QString verb = operation.trimmed().isEmpty() ? QStringLiteral("open")
                                                       : operation.trimmed().toLower();
    const bool open = verb == u"open" || verb == u"explore";
    if (file.trimmed().isEmpty())
        return SE_ERR_FNF;
    if (isUrl(file))
        return open && openDocument(QUrl(file)) ? SE_SUCCESS : SE_ERR_NOASSOC;

    const QString path = locate(file, directory);
    const QFileInfo info(path);
    if (!info.exists())
        return info.absoluteDir().exists() ? SE_ERR_FNF : SE_ERR_PNF;
    if (info.isDir())
        return open && openDocument(QUrl::fromLocalFile(info.absoluteFilePath())) ? SE_SUCCESS
                                                                                  : SE_ERR_NOASSOC;
    if (!info.isReadable() && !info.isExecutable())
        return SE_ERR_ACCESSDENIED;
    if (looksLikeProgram(path)) {
        if (!open)
            return SE_ERR_NOASSOC;
        if (!info.isExecutable())
            return SE_ERR_ACCESSDENIED;
        const QString folder = directory.isEmpty() ? info.absolutePath() : directory;
        return StartProgram(info.absoluteFilePath(), arguments, folder)
                   ? SE_SUCCESS
                   : SE_ERR_BAD_FORMAT;
    }
    if (!info.isReadable())
        return SE_ERR_ACCESSDENIED;
    if (!open)
        return SE_ERR_NOASSOC;
    return openDocument(QUrl::fromLocalFile(info.absoluteFilePath())) ? SE_SUCCESS : SE_ERR_NOASSOC;
}

ProgramStarter SetProgramStarter(ProgramStarter starter)
{
    std::lock_guard lock(seamMutex);
    return std::exchange(programStarter, std::move(starter));
}

DocumentOpener SetDocumentOpener(DocumentOpener opener)
{
    std::lock_guard lock(seamMutex);
    return std::exchange(documentOpener, std::move(opener));
}

}  // namespace platform
