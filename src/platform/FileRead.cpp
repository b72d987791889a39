#include "platform/FileRead.h"

#include "platform/FilePaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileIo {

bool isRegularFile(const QString& path)
{
    struct stat st;
    return !path.isEmpty() && ::stat(encoded(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

Result openRegularFile(const QString& path, int* fd, qint64* size)
{
    *fd = -1;
    *size = 0;
    // O_NONBLOCK: opening a pipe nobody writes to must not wait.
    const int opened =
        ::open(encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (opened < 0)
        return Result::failure(errno);
    struct stat st;
    if (::fstat(opened, &st) != 0) {
        const int error = errno;
        ::close(opened);
        return Result::failure(error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(opened);
        return Result::failure(S_ISDIR(st.st_mode) ? EISDIR : kNotRegular);
    }
    *fd = opened;
    *size = st.st_size;
    return {};
}

Result readRegularFile(const QString& path, QByteArray* bytes, qint64 maxBytes)
{
    bytes->clear();
    int fd = -1;
    qint64 size = 0;
    if (Result opened = openRegularFile(path, &fd, &size); !opened)
        return opened;
    if (maxBytes >= 0 && size > maxBytes) {
        ::close(fd);
        return Result::failure(kTooLarge);
    }
    QByteArray data;
    data.reserve(qsizetype(size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return Result::failure(error);
        }
        if (n == 0)
            break;
        data.append(buffer, qsizetype(n));
        if (maxBytes >= 0 && data.size() > maxBytes) {
            ::close(fd);
            return Result::failure(kTooLarge);
        }
    }
    ::close(fd);
    *bytes = std::move(data);
    return {};
}

} // namespace FileIo
