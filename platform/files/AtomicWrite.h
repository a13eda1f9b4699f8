#pragma once
// The one routine through which the suite writes a whole file.
//
// The new content goes to a temporary file beside the target; the routine
// checks that every byte was written and the size on disk is right, flushes
// and fsyncs it, and only then renames it over the target (and fsyncs the
// folder, so the rename itself survives a crash). On any failure the
// temporary file is removed and the old file is left exactly as it was.
// A full disk, a missing folder or a folder without write permission is
// reported with the system's own words ("No space left on device").
//
// A file the user may not write is refused ("Permission denied"), although
// a rename would need only the folder's permission. A replaced file keeps
// what identifies it besides its content: its permission bits, its owner
// and group where the user may set them, and its other names: a file with
// hard links is written in place, after its old content was copied beside
// it (put back should the write fail), so that every name sees the new
// text. A chain of symbolic links is followed to the real file, which is
// written; the links stay. A new file gets the usual 0666 less the umask.

#include "platform/files/FileStamp.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <span>

namespace platform {

struct WriteOutcome {
    bool ok = false;
    QString error;         // the cause, empty when ok
    int errorNumber = 0;   // the cause as the system's error number (errno), 0 when ok
    FileStamp written{};   // the file as written, when ok
    explicit operator bool() const { return ok; }
};

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes);
// The same for a file made of several pieces, written one after the other
// as they lie, so that a large file need not be gathered in memory first.
WriteOutcome WriteFileAtomically(const QString& path, std::span<const QByteArrayView> pieces);

// Test seam: when set, the routine behaves as if the disk had only this
// many bytes free for the new content (a short write with ENOSPC).
// Negative turns it off.
void SetSimulatedFreeSpaceForTests(qint64 bytes);

}  // namespace platform
