#pragma once
// Files for the editor control: the engine loads from and saves to streams;
// this layer opens the files. Only regular files are read or replaced (a
// device or FIFO could hang a load or never end). Files of 2^31 bytes or more
// are refused before reading. A save other than an append writes through the
// suite's atomic routine, so a failed save leaves the old file as it was; an
// append that fails cuts the file back to its old length, as the next load or
// save does after an append (or a save in place) that was cut short. "*" and
// "?" are ordinary characters of a file name.

#include "editctl/engine/ZuTextDocument.h"

#include <QByteArray>
#include <QString>

// How a file operation ended: a cause of the file itself (the system's error
// number of opening, reading or writing it), or else a code of the engine (a
// line too long, no memory, a count too large); both 0 when it worked.
struct ZuFileResult {
    int fileError = 0;
    ZuErr engineError = ZuOk;
    bool Ok() const { return fileError == 0 && engineError == ZuOk; }
};

// Replaces the document's text with the file's; `type` in: 0 detect, 1 DOS,
// 2 Unix, 3 RTF; out: the type found. The control loads into a new document
// and keeps the one it shows when this fails; a file that cannot be opened, is
// not a regular file or is too large leaves the document untouched.
ZuFileResult ZuLoadFile(const QString& path, ZuTextDocument& document, int& type, bool convert);
// The whole content of a regular file (for an insertion).
ZuFileResult ZuReadFile(const QString& path, QByteArray& bytes);
// Saves a range of a pane; `append` adds to the end of an existing file in place.
ZuFileResult ZuSaveFile(const QString& path, const ZuTextDocument& document, int pane, const ZuTextRange& range,
                        int type, bool convert, bool append);
