#pragma once
// The rollback journal of a file written in place. Before the first byte of
// such a file changes, its old content (before an append: its old length)
// is written to a journal in the user's cache folder and flushed, with the
// folder, together with which file it belongs to and what the save is to
// write (the new length and a checksum of each block of 4096 bytes, on the
// file's own offsets; for an append, of the appended bytes). Once the new
// content is written and flushed the journal goes.
//
// A save cut short (the program killed, the power lost) leaves the journal
// behind, and the next open or save of the file by a program of the suite,
// run by the same user, looks at the file the path leads to: one in a state
// that save can have left (its length between the old and the new one,
// each block old or new; after an append, the old length and then whole
// blocks of the appended bytes) is put back as it was. One changed since
// (rewritten, appended to, replaced by a new file on the same inode) is
// left exactly as it is, and the old content goes to a file of its own
// under $XDG_DATA_HOME/Talvex/kept for the user to find; the journal goes.
// Whatever name the file was saved under, the file opened decides.
//
// The journal of a file is named after its device and inode and lies in
// $XDG_CACHE_HOME/Talvex/journal (~/.cache/Talvex/journal without it), a
// folder that must be the user's own and closed to others; a journal there
// that is not (or is no regular file) is never acted on. The saving program
// holds a lock on the journal while it writes, so that no other program
// rolls back a save going on. A journal that is not whole (cut short while
// it was written) means the file was not touched yet: it is removed.

#include "platform/files/FileStamp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <span>

namespace platform {

// The writers of a file in place end each write on a multiple of this (but
// the last), so that a save cut short leaves whole blocks.
inline constexpr qint64 JournalBlockSize = 4096;

struct RecoveryOutcome {
    enum class Kind {
        Nothing,   // no interrupted save of the file (or it had not touched it)
        Restored,  // its content from before that save was put back
        Kept,      // it was changed since: left as it is, its old content kept apart
        Failed,    // it could not be: the journal stays for the next try
    };
    Kind kind = Kind::Nothing;
    QString message;    // for the user; empty for Nothing
    FileStamp stamp{};  // the file after it was put back
    QString kept;       // where the old content was kept (Kept after a save; empty after an append)
};

// Looks for a journal an interrupted save of the file (links followed) left,
// and puts the old content back when the file is as that save left it.
// Quick when there is none.
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

    // Keeps the content of the open file `fd` (readable) safely on disk,
    // with what `pieces` will make of it: the new content written from
    // offset 0, or when `append` the bytes added at its end (then only its
    // length is kept). On failure *error is the system's error number and
    // *cause says what failed.
    bool begin(const QByteArray& target, int fd, std::span<const QByteArrayView> pieces, bool append, int* error,
               QString* cause);
    // Puts the kept content (or length) back into fd and flushes it.
    bool restore(int fd);
    // The change is complete, or undone: the journal goes.
    void finish();
    // Where the journal lies.
    QString path() const;
    // The file's length when the journal began.
    qint64 oldSize() const { return oldSize_; }

private:
    int fd_ = -1;
    int folderFd_ = -1;
    QByteArray name_;
    QByteArray folder_;
    qint64 contentOffset_ = 0;
    qint64 oldSize_ = 0;
    bool lengthOnly_ = false;
};

}  // namespace platform
