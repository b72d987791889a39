#include "platform/IniRead.h"

#include "platform/FileResult.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Ini::detail {

namespace {

// Anything larger is no catalogue; it is left alone rather than read into memory.
constexpr qint64 kMaxFileSize = qint64(256) * 1024 * 1024;

} // namespace

// Plain system calls: the catalogue load reads the file some 400 times, and each
// read should cost little more than opening it.
Access readFile(const QString& path, QByteArray* bytes, int* error)
{
    int ignored = 0;
    int& why = error ? *error : ignored;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        why = errno;
        struct stat link = {};
        // A dangling link is no missing file: writing would replace the link.
        if ((why == ENOENT || why == ENOTDIR) && ::lstat(native.constData(), &link) != 0)
            return Access::Missing;
        return Access::Unreadable;
    }
    struct stat info = {};
    const bool statted = ::fstat(fd, &info) == 0;
    why = !statted                      ? errno
          : S_ISDIR(info.st_mode)       ? EISDIR
          : !S_ISREG(info.st_mode)      ? FileIo::kNotRegular
          : info.st_size > kMaxFileSize ? FileIo::kTooLarge
                                        : 0;
    if (why != 0) {
        ::close(fd);
        return Access::Unreadable;
    }
    bytes->resize(qsizetype(info.st_size) + 1);
    qsizetype total = 0;
    for (;;) {
        if (total == bytes->size()) {
            if (total > kMaxFileSize) {
                ::close(fd);
                why = FileIo::kTooLarge;
                return Access::Unreadable;
            }
            bytes->resize(total * 2);
        }
        const qsizetype wanted = bytes->size() - total;
        const ssize_t got = ::read(fd, bytes->data() + total, size_t(wanted));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            why = errno;
            ::close(fd);
            return Access::Unreadable;
        }
        total += got;
        if (got < wanted) // a short read of a plain file is its end
            break;
    }
    ::close(fd);
    bytes->resize(total);
    return Access::Read;
}

} // namespace Ini::detail
