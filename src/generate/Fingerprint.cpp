#include "generate/Fingerprint.h"

#include "catalog/ComponentFile.h"
#include "platform/FileIo.h"
#include "platform/Sha256.h"

#include <unistd.h>

#include <cerrno>

namespace Generate {

namespace {

// Component files are small: most come in with one read.
constexpr qsizetype kBlock = qsizetype(1) << 20;

} // namespace

Fingerprint fingerprintOf(const QString& path, bool text)
{
    Fingerprint print;
    int fd = -1;
    qint64 size = 0;
    if (print.read = FileIo::openRegularFile(path, &fd, &size); !print.read)
        return print;
    thread_local QByteArray block(kBlock, Qt::Uninitialized);
    thread_local QByteArray mended;
    Sha256 hash;
    bool mend = text;
    bool lastWasCr = false;
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, block.data(), size_t(block.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            print.read = FileIo::Result::failure(errno);
            break;
        }
        if (n == 0)
            break;
        const QByteArrayView in(block.constData(), n);
        // As the copy does: a NUL anywhere makes the whole file binary.
        if (mend && ComponentFile::isBinary(in)) {
            mend = false;
            hash.reset();
            total = 0;
            if (::lseek(fd, 0, SEEK_SET) != 0) {
                print.read = FileIo::Result::failure(errno);
                break;
            }
            continue;
        }
        if (mend) {
            mended.clear();
            ComponentFile::appendWithCrLf(mended, in, lastWasCr);
            hash.add(mended);
            total += mended.size();
        } else {
            hash.add(in);
            total += n;
        }
    }
    ::close(fd);
    if (print.read) {
        print.size = total;
        print.sha256 = hash.hex();
    }
    return print;
}

} // namespace Generate
