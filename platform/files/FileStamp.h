#pragma once
// What tells that another program changed a file since it was last read or
// written here: its size and its modification time. Comparing the two is
// enough to notice a program that wrote the file again; nothing watches it.

#include <QString>
#include <QtGlobal>

namespace platform {

struct FileStamp {
    qint64 size = -1;        // -1: no file
    qint64 modifiedNs = 0;   // nanoseconds since 1970
    bool exists() const { return size >= 0; }
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file a path names (links followed); no file gives size -1.
FileStamp StampOfFile(const QString& path);
// The stamp of an open file.
FileStamp StampOfFile(int fd);

}  // namespace platform
