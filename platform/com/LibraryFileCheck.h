#pragma once
// Whether a library file holds what its ELF headers promise, checked before
// the file is loaded. The loader maps a library's segments as its program
// headers describe them; in a file cut short (a copy broken off halfway)
// part of a mapping has no file behind it, and the first touch of it ends
// the process with a bus error. So a file is loaded only when its ELF header
// suits this process (word size, byte order, a shared object) and its program
// headers, each segment's bytes and its section headers lie within the file.
//
// The headers are read with plain reads; nothing of the file is mapped. A
// file cut between this check and the load is not caught (nor one cut while
// it is loaded): the check is for files that are already broken.

#include <QString>

namespace platform {

// Why the file at path cannot be loaded as a library, as a sentence for a
// message ("The file is cut short: ..."), or an empty string when it can.
QString LibraryFileFault(const QString& path);

}  // namespace platform
