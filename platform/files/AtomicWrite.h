#pragma once
// The one routine through which the suite writes a whole file.
//
// Where it may, the new content goes to a temporary file beside the target
// (".NAME.talvex-XXXXXX"); the routine checks that every byte was written
// and the size on disk is right, flushes and fsyncs it, and only then
// renames it over the target (and fsyncs the folder, so the rename itself
// survives a crash). On any failure the temporary file is removed and the
// old file is left exactly as it was; one that a save cut short left is
// removed by the next save of the file. A full disk, a missing folder or a
// folder without write permission is reported with the system's own words
// ("No space left on device"), a refusal saying what refused it.
//
// A file the user may not write is refused ("Permission denied"), although
// a rename would need only the folder's permission. A replaced file keeps
// what identifies it besides its content: its permission bits, owner,
// group, ACL and other extended attributes, and its other names. Where a
// new file could not keep them all (a file with hard links, one the user
// may write but does not own, one in a folder the user may not write), the
// file is written in place instead, its old content kept in the rollback
// journal (SaveJournal.h) until the new content is flushed: put back at
// once should the write fail, and at the next open or save should the save
// be cut short (unless the file was changed since). Permissions never grow. A chain of symbolic links is
// followed to the real file, which is written; the links stay. A new file
// gets what any new file gets in its folder: 0666 less the umask, or what
// the folder's default ACL gives.

#include "platform/files/FileStamp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <span>

namespace platform {

struct WriteOutcome {
    bool ok = false;
    QString error;         // the cause, empty when ok
    int errorNumber = 0;   // the cause as the system's error number (errno), 0 when ok
    FileStamp written{};   // the file as written, when ok (or as put back, when rolledBack)
    bool rolledBack = false;  // failed after the file was touched, and its old content was put back
    explicit operator bool() const { return ok; }
};

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes);
// The same for a file made of several pieces, written one after the other
// as they lie, so that a large file need not be gathered in memory first.
WriteOutcome WriteFileAtomically(const QString& path, std::span<const QByteArrayView> pieces);

// Appends the pieces, one after the other, to an existing file. The old
// length is journaled first, with what is to be appended: a failed append is
// cut off at once, one cut short at the next open or save of the file
// (unless the file was changed since).
WriteOutcome AppendToFile(const QString& path, std::span<const QByteArrayView> pieces);

// Test seam: when set, the routine behaves as if the disk had only this
// many bytes free for the new content (a short write with ENOSPC).
// Negative turns it off.
void SetSimulatedFreeSpaceForTests(qint64 bytes);

// Test seam: when set, runs between the checks of a file written in place
// (or appended to) and its open, so that a test can put something else in
// its place at that moment. An empty function turns it off.
void SetBeforeOpenInPlaceHookForTests(std::function<void()> hook);

}  // namespace platform
