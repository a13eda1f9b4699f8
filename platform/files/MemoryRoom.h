#pragma once
// Whether a file can be read into memory without endangering what is there
// already: a reader that runs the system out of memory is killed, and with it
// every open document's unsaved changes. Asked before the first byte is read.

#include "platform/files/ReadWholeFile.h"

#include <QString>
#include <QtGlobal>

namespace platform {

// The memory a program may still take: what the system reports available,
// or less where the program's control group has a limit; -1 when unknown.
qint64 AvailableMemory();

// Refuses, with a message naming the file's size, a file whose reading takes
// more memory than is available: `memoryPerByte` bytes of memory for each
// byte of the file. What is not a regular file passes (its reader refuses it
// in its own words), as does every file when the memory is unknown.
ReadOutcome RoomToRead(const QString& path, double memoryPerByte);

// Test seam: the memory available as if the system said so; negative: the
// system's own figure.
void SetAvailableMemoryForTests(qint64 bytes);

}  // namespace platform
