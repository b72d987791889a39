#pragma once

#include "platform/FileResult.h"

#include <QString>

namespace FileIo {

// An advisory lock that writers of one file take before they read, change and
// replace it. It lives on a lock file beside the file (the file itself is
// replaced, so it cannot carry the lock), works between processes on local and
// network folders, and is released when the object goes or the process dies.
class FileLock
{
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits at most `timeoutMs` (lockTimeout() when negative); a lock another
    // writer keeps longer gives EWOULDBLOCK instead of a hang.
    Result acquire(const QString& path, int timeoutMs = -1);
    void release();
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// ".<name>.lock" beside the file a writer of `path` replaces; a name near the
// limit of one file name is cut short to make room.
QString lockPath(const QString& path);

// How long a writer waits for the lock; 5 seconds unless a test sets another.
int lockTimeout();
void setLockTimeout(int milliseconds);

} // namespace FileIo
