#include "platform/FileLock.h"

#include "platform/FilePaths.h"

#include <QElapsedTimer>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace FileIo {

namespace {
int g_lockTimeout = 5000;
} // namespace

FileLock::~FileLock()
{
    release();
}

Result FileLock::acquire(const QString& path, int timeoutMs)
{
    release();
    const QByteArray name = encoded(lockPath(path));
    // Read-write where allowed: network folders lock only files open for writing.
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY,
                    creationMode());
    if (fd < 0 && errno == EACCES) {
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
        // No lock file in a folder we may not write to: the refusal is the reason.
        if (fd < 0 && errno == ENOENT)
            errno = EACCES;
    }
    if (fd < 0)
        return Result::failure(errno);
    QElapsedTimer timer;
    timer.start();
    const int timeout = timeoutMs < 0 ? g_lockTimeout : timeoutMs;
    unsigned long pause = 1;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            return {};
        }
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK || timer.elapsed() >= timeout) {
            ::close(fd);
            return Result::failure(error);
        }
        // Short pauses first: a catalogue write holds the lock for milliseconds.
        QThread::msleep(pause);
        pause = qMin<unsigned long>(pause * 2, 16);
    }
}

void FileLock::release()
{
    if (m_fd >= 0) {
        // Closing releases the lock; the lock file stays, as another writer may
        // already wait on it.
        ::close(m_fd);
        m_fd = -1;
    }
}

QString lockPath(const QString& path)
{
    return besidePath(resolved(path), QStringLiteral(".lock"), 0);
}

int lockTimeout()
{
    return g_lockTimeout;
}

void setLockTimeout(int milliseconds)
{
    g_lockTimeout = qMax(milliseconds, 0);
}

} // namespace FileIo
