#include "platform/com/Regsvr.h"

#include "platform/com/ComServer.h"
#include "platform/com/CreateObject.h"
#include "platform/com/LibraryFileCheck.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"

#include <QFileInfo>
#include <QLibrary>

#include <algorithm>

namespace platform {

namespace {

const QString ToolTitle = QStringLiteral("regsvr");

const QString Usage = QStringLiteral(
    "Registers the classes of a library, or removes them.\n\n"
    "regsvr [/s] [/u] LIBRARY...\n\n"
    "/s  show no message\n"
    "/u  remove the registration");

bool IsSwitch(const QString& argument, QChar letter)
{
    return argument.size() == 2 && (argument[0] == u'/' || argument[0] == u'-')
           && argument[1].toLower() == letter;
}

// Written as a switch: "-" and anything, or "/" and a word of letters (with
// an optional ":" and value). A library path has a "/" between folders or a
// "." before its extension, so it never looks like this.
bool LooksLikeSwitch(const QString& argument)
{
    if (argument.size() < 2)
        return false;
    if (argument[0] == u'-')
        return true;
    if (argument[0] != u'/')
        return false;
    const qsizetype colon = argument.indexOf(u':');
    const QStringView word = QStringView(argument).sliced(1, (colon < 0 ? argument.size() : colon) - 1);
    return !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
}

int RegisterOne(const QString& path, bool unregister, bool silent)
{
    const char* entryName = unregister ? DllUnregisterServerName : DllRegisterServerName;
    const QString entry = QString::fromLatin1(entryName);
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    // A file cut short would bring the tool down in the loader.
    const QString fault = LibraryFileFault(absolutePath);
    if (!fault.isEmpty()) {
        if (!silent)
            MsgBox(QStringLiteral("Loading the library \"%1\" failed: %2").arg(path, fault), vbCritical, ToolTitle);
        return RegsvrFailLoad;
    }
    QLibrary library(absolutePath);
    if (!library.load()) {
        if (!silent)
            MsgBox(QStringLiteral("Loading the library \"%1\" failed: %2").arg(path, library.errorString()),
                   vbCritical, ToolTitle);
        return RegsvrFailLoad;
    }
    const auto function = reinterpret_cast<DllRegisterServerFunction>(library.resolve(entryName));
    if (!function) {
        if (!silent)
            MsgBox(QStringLiteral("The library \"%1\" was loaded, but it has no %2 entry point.").arg(path, entry),
                   vbCritical, ToolTitle);
        return RegsvrFailEntry;
    }
    qint32 result = SELFREG_E_CLASS;
    try {
        result = function();
    } catch (...) {
        result = SELFREG_E_CLASS;
    }
    if (result != S_OK) {
        if (!silent)
            MsgBox(QStringLiteral("%1 in \"%2\" failed.\nReturn code was: 0x%3")
                       .arg(entry, path, QString::number(quint32(result), 16).rightJustified(8, u'0')),
                   vbCritical, ToolTitle);
        return RegsvrFailReg;
    }
    if (!silent)
        MsgBox(QStringLiteral("%1 in \"%2\" succeeded.").arg(entry, path), vbInformation, ToolTitle);
    return RegsvrSuccess;
}

}  // namespace

int RegsvrMain(const QStringList& arguments)
{
    bool silent = false;
    bool unregister = false;
    QStringList libraries;
    QString unknown;
    for (const QString& argument : arguments) {
        if (IsSwitch(argument, u's'))
            silent = true;
        else if (IsSwitch(argument, u'u'))
            unregister = true;
        else if (LooksLikeSwitch(argument)) {
            if (unknown.isEmpty())
                unknown = argument;
        } else if (!argument.isEmpty())
            libraries << argument;
    }
    // Nothing is loaded on a bad command line: an unknown switch may mean
    // something the user did not want done to the libraries.
    if (!unknown.isEmpty()) {
        if (!silent)
            MsgBox(QStringLiteral("Unrecognized switch: %1\n\n%2").arg(unknown, Usage), vbExclamation, ToolTitle);
        return RegsvrFailArgs;
    }
    if (libraries.isEmpty()) {
        if (!silent)
            MsgBox(Usage, vbExclamation, ToolTitle);
        return RegsvrFailArgs;
    }
    int exitCode = RegsvrSuccess;
    for (const QString& library : libraries) {
        const int code = RegisterOne(library, unregister, silent);
        if (exitCode == RegsvrSuccess)
            exitCode = code;
    }
    return exitCode;
}

QString RegistrationToolPath()
{
    return ProgramFile(QStringLiteral("regsvr"));
}

ProgramResult RegisterLibrary(const QString& libraryPath, int timeoutMs, bool unregister)
{
    QStringList arguments{QStringLiteral("/s")};
    if (unregister)
        arguments << QStringLiteral("/u");
    arguments << libraryPath;
    return RunProgram(RegistrationToolPath(), arguments, timeoutMs);
}

QString RegistrationCommand(const QString& libraryPath, bool unregister)
{
    return (unregister ? QStringLiteral("regsvr /s /u ") : QStringLiteral("regsvr /s ")) + libraryPath;
}

}  // namespace platform
