#pragma once
// Reading a whole file into memory in one buffer sized from the start (with
// huge pages for a large one), read rather than mapped: a file cut short by
// another program while it is read gives a short read, never a crash.

#include <QByteArray>
#include <QString>

namespace platform {

struct ReadOutcome {
    bool ok = false;
    QString error;  // the system's words, empty when ok
    explicit operator bool() const { return ok; }
};

// All bytes of the file as they are at the end of the read (a file that
// grows meanwhile is read to its new end). A save of the file that was cut
// short is rolled back first.
ReadOutcome ReadWholeFile(const QString& path, QByteArray& bytes);

}  // namespace platform
