#pragma once
// The services that talk to the desktop's shell and the file system: making
// a window take dropped files, keeping a file's times and permissions across
// a rewrite, and opening a file or program with the shell's error table.

#include <QString>
#include <QStringList>
#include <QtGlobal>

class QWidget;

// Lets window take files dragged from the file manager (the drop itself is
// the window's own business).
void AcceptDroppedFiles(QWidget* window);

// What KillFileKeepInfo keeps of a file. Linux has no settable creation
// time: only the access and modification times and the permission bits
// can be given back.
struct KeptFileRecord {
    quint32 Mode = 0;           // permission bits (read-only: no write bits)
    qint64 AccessTimeNs = 0;    // nanoseconds since 1970
    qint64 WriteTimeNs = 0;
};
inline KeptFileRecord KeptFileData;
inline QString KeptFilePath;
inline bool FileDataKept = false;

// Records the times and permissions of path when a file of that name exists
// (nothing happens otherwise). The file itself stays: the caller replaces it
// with platform::WriteFileAtomically, so a failed write leaves it whole, and
// then calls RestoreFileInfo.
void KillFileKeepInfo(const QString& path);
// Gives the file named by the last KillFileKeepInfo its kept times and
// permissions, when they were kept; a file that cannot be changed keeps its
// new ones, silently. Forgets the kept data in every case.
void RestoreFileInfo();

// The error ShellExecuteFile set by its last call: number 0 after a success.
struct ShellFailure {
    qint32 Number = 0;
    QString Description;
    QString Source;
};
inline ShellFailure ShellError;

// The error number and description for a shell result r from 0 to 32.
ShellFailure ShellFailureFor(int result);

// Performs operation ("open") on file through the shell: a program is
// started with parameters as its argument list (never a command line for a
// shell to split), in directory when given; a document opens with the
// desktop's handler. True on success. A failure sets ShellError (source:
// the program's name and ".GShell") and returns false; nothing is thrown.
// owner would own a message of the shell; this shell shows none.
bool ShellExecuteFile(const QString& file, int showState, const QStringList& parameters,
                      const QString& directory, const QString& operation, QWidget* owner);
