#pragma once
// The registration tool `regsvr` (beside the programs) and how a program runs it.
//
//   regsvr [/s] [/u] LIBRARY...
// runs each library's DllRegisterServer (DllUnregisterServer with /u). "/s"
// shows no message. Switches are "/s", "/u" (also "-s", "-u"), in any letter
// case. Any other argument that starts with "-", or with "/" followed by
// letters alone ("/x", "/i:text"), is a switch the tool does not know: a bad
// command line. Every other argument is a library path, so "/home/me/a.so"
// is a path.
// The exit code is the Windows tool's: 0 done, then the codes below; with
// several libraries, the first failure's code (the others are still tried).

#include "platform/shell/Shell.h"

#include <QString>
#include <QStringList>

namespace platform {

inline constexpr int RegsvrSuccess = 0;
inline constexpr int RegsvrFailArgs = 1;    // bad command line
inline constexpr int RegsvrFailOle = 2;     // (never here: no OLE to start)
inline constexpr int RegsvrFailLoad = 3;    // the library cannot be loaded
inline constexpr int RegsvrFailEntry = 4;   // it has no registration export
inline constexpr int RegsvrFailReg = 5;     // the export reported a failure

// The tool's work, given its arguments (without the program name). Messages
// go through MsgBox unless "/s" is given.
int RegsvrMain(const QStringList& arguments);

// The tool beside the programs: ProgramFile("regsvr").
QString RegistrationToolPath();

// Runs the tool silently on one library, as a separate program with an
// argument list (no shell) and a time limit; the tool is killed when the
// limit runs out. The result's exitCode is the tool's (see above).
ProgramResult RegisterLibrary(const QString& libraryPath, int timeoutMs, bool unregister = false);

// The command shown to the user for that run: "regsvr /s " and the path.
QString RegistrationCommand(const QString& libraryPath, bool unregister = false);

}  // namespace platform
