#include "platform/FileCopy.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileIo {

Result copyFile(const QString& source, const QString& target, const CopyOptions& options)
{
    // O_NONBLOCK: opening a pipe nobody writes to must not wait.
    const int fd =
        ::open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Result::failure(errno);
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return Result::failure(errno);
    if (!S_ISREG(st.st_mode))
        return Result::failure(S_ISDIR(st.st_mode) ? EISDIR : kNotRegular);
    if (options.existing == Existing::Keep && QFile::exists(target))
        return Result::failure(EEXIST);

    AtomicWriter writer(target);
    writer.setSync(options.sync);
    if (Result result = writer.open(); !result)
        return result;
    static constexpr qint64 kChunk = 8 << 20;
    qint64 total = 0;
    for (;;) {
        qint64 copied = 0;
        if (Result result = writer.copyFrom(fd, kChunk, &copied); !result)
            return result;
        if (copied == 0)
            break;
        total += copied;
        if (options.progress)
            options.progress(total);
    }
    // A file that shrank or grew while copied is still copied as read; the size
    // only matters when the read stopped early.
    if (total < st.st_size) {
        struct stat now;
        if (::fstat(fd, &now) != 0 || now.st_size > total)
            return Result::failure(kUnreadable);
    }
    return options.existing == Existing::Keep ? writer.commitNew() : writer.commit();
}

} // namespace FileIo
