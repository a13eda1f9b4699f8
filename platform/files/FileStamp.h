#pragma once
// What tells that another program changed a file since it was last read or
// written here: which file the name leads to (device and inode), its size,
// its modification time and its status-change time. The last one matters
// where the others do not: a program that rewrites a file in place and sets
// its modification time back (or writes within the coarse time steps of a
// FAT disk or a network share) keeps size and time, but no program can set
// the status-change time. Nothing watches the file.

#include <QString>
#include <QtGlobal>

namespace platform {

struct FileStamp {
    qint64 size = -1;        // -1: no file
    qint64 modifiedNs = 0;   // nanoseconds since 1970
    qint64 changedNs = 0;    // status change, nanoseconds since 1970
    quint64 device = 0;
    quint64 inode = 0;
    bool exists() const { return size >= 0; }
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file a path names (links followed); no file gives size -1.
FileStamp StampOfFile(const QString& path);
// The stamp of an open file.
FileStamp StampOfFile(int fd);

}  // namespace platform
