#pragma once
// Bringing NC files into document windows and back to disk.

#include <QString>
#include <functional>

// True when path names an existing file (not a folder). A path that is blank
// or ends in a separator or ":" names none.
bool FileExists(const QString& path);

// Loads the file into a new document window; true when the window was
// opened. A failure has shown its own message. flag is handed to the
// editing control (every caller passes false).
bool OpenFileInWindow(const QString& path, bool flag);

// What OpenFileInWindow runs; the document window's library fills it in.
// Unset, nothing can be opened and OpenFileInWindow answers false.
inline std::function<bool(const QString& path, bool flag)> OpenFileInWindowHook;
