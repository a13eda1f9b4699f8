#pragma once
// Files for the editor control: the engine loads from and saves to streams;
// this layer opens the files. Only regular files are read or replaced (a
// device or FIFO could hang a load or never end). Files of 2^31 bytes or more
// are refused before reading. A save other than an append writes through the
// suite's atomic routine, so a failed save leaves the old file as it was; a
// symlink is followed and the file's permissions are kept, but a hard link is
// not (the file is replaced by a new one). "*" and "?" are ordinary characters
// of a file name.

#include "editctl/engine/ZuTextDocument.h"

#include <QString>

// Replaces the document's text with the file's; `type` in: 0 detect, 1 DOS,
// 2 Unix, 3 RTF; out: the type found. The control loads into a new document
// and keeps the one it shows when this fails; a file that cannot be opened, is
// not a regular file or is too large leaves the document untouched.
ZuErr ZuLoadFile(const QString& path, ZuTextDocument& document, int& type, bool convert);
// Saves a range of a pane; `append` adds to the end of an existing file in place.
ZuErr ZuSaveFile(const QString& path, const ZuTextDocument& document, int pane, const ZuTextRange& range, int type,
                 bool convert, bool append);
