#pragma once
// Starting programs and opening files.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace platform {

// Starts program detached with the arguments as given (no shell, no
// splitting): it runs on by itself. workingDirectory empty: the current one.
// Returns false when it cannot be started; processId (may be null) gets its id.
bool StartProgram(const QString& program, const QStringList& arguments,
                  const QString& workingDirectory = QString(), qint64* processId = nullptr);

// What became of a program run and waited for.
struct ProgramResult {
    bool started = false;   // false: it could not be started (see error)
    bool finished = false;  // it ended within the time limit
    bool timedOut = false;  // the time limit ran out; the program was killed
    bool crashed = false;   // it ended through a signal
    int exitCode = -1;      // valid when finished && !crashed
    QString error;          // why it could not be started or finished
};

// Starts program with the arguments as given and waits until it ends
// (timeoutMs < 0) or at most timeoutMs, killing it when the time runs out.
// Called on the thread of the application's event loop, the wait runs that
// loop: windows repaint and timers run, while keys and mouse clicks are held
// back until the wait is over. Elsewhere it simply blocks.
ProgramResult RunProgram(const QString& program, const QStringList& arguments,
                         int timeoutMs = -1, const QString& workingDirectory = QString());

// ShellExecute results: above 32 is success.
inline constexpr int SE_ERR_OUT_OF_RESOURCES = 0;
inline constexpr int SE_ERR_FNF = 2;             // file not found
inline constexpr int SE_ERR_PNF = 3;             // path not found
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_OOM = 8;
inline constexpr int SE_ERR_BAD_FORMAT = 11;
inline constexpr int SE_ERR_SHARE = 26;
inline constexpr int SE_ERR_ASSOCINCOMPLETE = 27;
inline constexpr int SE_ERR_DDETIMEOUT = 28;
inline constexpr int SE_ERR_DDEFAIL = 29;
inline constexpr int SE_ERR_DDEBUSY = 30;
inline constexpr int SE_ERR_NOASSOC = 31;
inline constexpr int SE_ERR_DLLNOTFOUND = 32;
inline constexpr int SE_SUCCESS = 42;            // what a success returns here

// Show commands (accepted; a started program places its own window).
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;

// Performs operation ("open", or empty for open; others give
// SE_ERR_NOASSOC) on file:
//  - a program (an executable file) is started detached with parameters
//    split as a command line, in directory (or its own folder when empty);
//    "X.exe" that does not exist finds the program "X" beside it;
//  - a document, a folder or a URL ("scheme://...") is opened with the
//    desktop's handler; SE_ERR_NOASSOC when there is none.
// Failures: 2 missing file, 3 missing folder, 5 not readable / not
// executable by us, 11 an executable file that cannot be run.
int ShellExecute(const QString& operation, const QString& file,
                 const QString& parameters = QString(), const QString& directory = QString(),
                 int showCmd = SW_SHOWNORMAL);
// The same with the program's arguments as a list, passed as they are (no
// command line is split or built, so blanks and quotes stay in their
// argument). Documents, folders and URLs take no arguments.
int ShellExecuteWithArguments(const QString& operation, const QString& file,
                              const QStringList& arguments, const QString& directory = QString(),
                              int showCmd = SW_SHOWNORMAL);

// Test seam for StartProgram (and so for ShellExecute on programs): the
// starter runs in place of starting a process and says whether it started.
// An empty starter restores the real one. Returns the previous starter.
using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments,
                                          const QString& workingDirectory)>;
ProgramStarter SetProgramStarter(ProgramStarter starter);

// Test seam for opening documents, folders and URLs: returns whether it was
// opened. An empty handler restores QDesktopServices. Returns the previous.
using DocumentOpener = std::function<bool(const QUrl& url)>;
DocumentOpener SetDocumentOpener(DocumentOpener opener);

}  // namespace platform
