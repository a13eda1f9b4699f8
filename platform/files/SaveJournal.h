#pragma once
// The rollback journal of a file written in place. Before the first byte of
// such a file changes, its old content (before an append: its old length)
// is written to a journal in the user's cache folder and flushed, with the
// folder, together with which file it belongs to; once the new content is
// written and flushed the journal goes. A save cut short (the program
// killed, the power lost) leaves the journal behind, and the next open or
// save of the file by any program of the suite puts the old content back
// from it: the file is then the old one or the new one, whole.
//
// The journal of a file is named after its device and inode and lies in
// $XDG_CACHE_HOME/Talvex/journal (~/.cache/Talvex/journal without it), a
// folder only the user may enter. The saving program holds a lock on it
// while it writes, so that no other program rolls back a save going on. A
// journal that is not whole (cut short while it was written) means the file
// was not touched yet: it is removed.

#include "platform/files/FileStamp.h"

#include <QByteArray>
#include <QString>

namespace platform {

struct RecoveryOutcome {
    enum class Kind {
        Nothing,   // no interrupted save of the file
        Restored,  // its content from before that save was put back
        Failed,    // it could not be: the journal stays for the next try
    };
    Kind kind = Kind::Nothing;
    QString message;    // for the user; empty for Nothing
    FileStamp stamp{};  // the file after it was put back
};

// Looks for a journal an interrupted save of the file (links followed) left,
// and puts the old content back. Quick when there is none.
RecoveryOutcome RecoverInterruptedSave(const QString& path);

// The folder of the journals (made only when a journal is written).
QString SaveJournalFolder();

class SaveJournal {
public:
    SaveJournal() = default;
    // A journal not finished stays (its lock goes): the next open rolls back.
    ~SaveJournal();
    SaveJournal(const SaveJournal&) = delete;
    SaveJournal& operator=(const SaveJournal&) = delete;

    // Keeps the content of the open file `fd` (readable), or only its length
    // when `lengthOnly` (before an append), safely on disk. On failure
    // *error is the system's error number and *cause says what failed.
    bool begin(const QByteArray& target, int fd, bool lengthOnly, int* error, QString* cause);
    // Puts the kept content (or length) back into fd and flushes it.
    bool restore(int fd);
    // The change is complete, or undone: the journal goes.
    void finish();
    // Where the journal lies.
    QString path() const;

private:
    int fd_ = -1;
    QByteArray name_;
    QByteArray folder_;
    qint64 contentOffset_ = 0;
    qint64 oldSize_ = 0;
    bool lengthOnly_ = false;
};

}  // namespace platform
