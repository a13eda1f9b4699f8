#pragma once
// Prentil's command line: "/p", "/P", "/print" (or with "-") print every
// file given and end; "/dde" is the desktop's start and changes nothing.
// Only these words are switches. Any other argument is a file, except a
// word of its own after "/" or "-" ("/x", "-big") that names no file,
// which is ignored.

#include <QString>
#include <QStringList>
#include <functional>

namespace prentil {

struct PrintCommandLineInfo {
    bool printAndExit = false;
    bool dde = false;
    QStringList files;
};

// arguments without the program's name; exists says whether a path names a file.
PrintCommandLineInfo ParsePrintCommandLine(const QStringList& arguments,
                                           const std::function<bool(const QString&)>& exists);

}  // namespace prentil
