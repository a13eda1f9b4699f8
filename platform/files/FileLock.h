#pragma once
// A lock that one process at a time holds on a file of the suite, across
// processes: the hives and the INI files take it around each change.
//
// The lock is the kernel's advisory lock (flock) on a lock file beside the
// file ("<file>.lock"), not the lock file's existence or content: the kernel
// drops it when its owner ends, however it ends, so a lock file left by a
// process that was killed (empty or not) is taken over at once. The lock
// file is removed when the lock is released.

#include <QString>

namespace platform {

// How long a change waits for another process's change of the same file.
inline constexpr int FileLockWaitMs = 10000;

class FileLock {
public:
    enum class Outcome {
        Locked,  // held until unlock() or destruction
        Busy,    // another process held it for the whole time given
        Failed,  // the lock file cannot be made or opened (see error())
    };

    explicit FileLock(const QString& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits at most timeoutMs milliseconds (0: only tries) for the lock.
    Outcome lock(int timeoutMs);
    void unlock();
    bool isLocked() const { return fd_ >= 0; }
    // The system's words for a failure, e.g. "Permission denied".
    QString error() const { return error_; }

private:
    QString path_;
    QString error_;
    int fd_ = -1;
};

// The lock file of a file: "<file>.lock" beside it.
QString LockFileOf(const QString& file);

}  // namespace platform
