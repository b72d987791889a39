#include "platform/AtomicWrite.h"

#include "platform/FilePaths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <limits>

namespace FileIo {

namespace {

qint64 g_faultBudget = -1; // bytes left before the injected failure; -1: none
int g_faultError = 0;
constexpr int kTemporarySuffixLength = 6; // mkostemp's XXXXXX

// How many of `wanted` bytes may still be written before the injected failure.
qint64 allowed(qint64 wanted)
{
    return g_faultBudget < 0 ? wanted : qMin(wanted, g_faultBudget);
}

void spend(qint64 written)
{
    if (g_faultBudget >= 0)
        g_faultBudget -= written;
}

} // namespace

AtomicWriter::AtomicWriter(const QString& path) : m_path(resolved(path)) {}

AtomicWriter::~AtomicWriter()
{
    discard();
}

Result AtomicWriter::open()
{
    discard();
    struct stat st;
    const bool exists = ::stat(encoded(m_path).constData(), &st) == 0;
    // Renaming over a pipe or device would silently swap it for a file.
    if (exists && !S_ISREG(st.st_mode))
        return Result::failure(S_ISDIR(st.st_mode) ? EISDIR : kNotRegular);
    // A write-protected file stays as it is, although the rename could replace it.
    if (exists && ::access(encoded(m_path).constData(), W_OK) != 0)
        return Result::failure(errno);
    QByteArray pattern = encoded(temporaryPrefix(m_path)) + "XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return Result::failure(errno);
    m_fd = fd;
    m_temporary = QFile::decodeName(pattern);
    // Keep the old file's permissions; a new file gets the usual ones.
    if (::fchmod(fd, exists ? (st.st_mode & 07777) : creationMode()) != 0) {
        const int error = errno;
        discard();
        return Result::failure(error);
    }
    return {};
}

Result AtomicWriter::write(QByteArrayView bytes)
{
    if (m_fd < 0)
        return Result::failure(EBADF);
    const char* data = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 chunk = allowed(left);
        if (chunk == 0)
            return Result::failure(g_faultError);
        const ssize_t n = ::write(m_fd, data, size_t(chunk));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Result::failure(errno);
        if (n == 0)
            return Result::failure(ENOSPC);
        spend(n);
        data += n;
        left -= n;
    }
    return {};
}

Result AtomicWriter::copyFrom(int sourceFd, qint64 length, qint64* copied)
{
    *copied = 0;
    if (m_fd < 0)
        return Result::failure(EBADF);
    const qint64 chunk = allowed(length);
    if (chunk == 0 && length > 0)
        return Result::failure(g_faultError);
    for (;;) {
        const ssize_t n = ::copy_file_range(sourceFd, nullptr, m_fd, nullptr, size_t(chunk), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n >= 0) {
            spend(n);
            *copied = n;
            return {};
        }
        // Across file systems or on old kernels: through user space instead.
        if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
            return Result::failure(errno);
        break;
    }
    static constexpr qint64 kBuffer = 1 << 20;
    QByteArray buffer(qsizetype(qMin(chunk, kBuffer)), Qt::Uninitialized);
    ssize_t n;
    do
        n = ::read(sourceFd, buffer.data(), size_t(buffer.size()));
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return Result::failure(errno);
    if (const Result written = write(QByteArrayView(buffer.constData(), n)); !written)
        return written;
    *copied = n;
    return {};
}

Result AtomicWriter::finishTemporary(FileSync fileSync)
{
    if (m_fd < 0)
        return Result::failure(EBADF);
    bool synced = true;
    if (m_sync && fileSync == FileSync::Covered)
        synced = ::sync_file_range(m_fd, 0, 0,
                                   SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                       SYNC_FILE_RANGE_WAIT_AFTER) == 0;
    else if (m_sync)
        synced = ::fsync(m_fd) == 0;
    if (!synced) {
        const int error = errno;
        discard();
        return Result::failure(error);
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        discard();
        return Result::failure(error);
    }
    return {};
}

Result AtomicWriter::placed(int renameResult, FolderSync folderSync)
{
    if (renameResult != 0) {
        const int error = errno;
        discard();
        return Result::failure(error);
    }
    m_temporary.clear();
    if (m_sync && folderSync == FolderSync::Now)
        (void)syncFolder(QFileInfo(m_path).absolutePath());
    return {};
}

Result AtomicWriter::commit(FolderSync folderSync, FileSync fileSync)
{
    if (Result result = finishTemporary(fileSync); !result)
        return result;
    return placed(::rename(encoded(m_temporary).constData(), encoded(m_path).constData()),
                  folderSync);
}

Result AtomicWriter::commitNew(FolderSync folderSync, FileSync fileSync)
{
    if (Result result = finishTemporary(fileSync); !result)
        return result;
    const QByteArray from = encoded(m_temporary);
    const QByteArray to = encoded(m_path);
    int done = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (done != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // File systems without the flag: a hard link never replaces either.
        done = ::link(from.constData(), to.constData());
        if (done == 0)
            ::unlink(from.constData());
    }
    return placed(done, folderSync);
}

void AtomicWriter::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(encoded(m_temporary).constData());
        m_temporary.clear();
    }
}

Result writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    AtomicWriter writer(path);
    if (Result result = writer.open(); !result)
        return result;
    if (Result result = writer.write(bytes); !result)
        return result;
    return writer.commit();
}

Result syncFolder(const QString& folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Result::failure(errno);
    // Some file systems cannot sync a folder; the renames themselves have happened.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
    const int error = errno;
    ::close(fd);
    return synced ? Result() : Result::failure(error);
}

Result syncFileSystem(const QString& path)
{
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Result::failure(errno);
    const bool synced = ::syncfs(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced ? Result() : Result::failure(error);
}

Result fitsLimits(const QString& path)
{
    const qsizetype name = encoded(QFileInfo(path).fileName()).size();
    // The kernel counts the terminating NUL in PATH_MAX.
    const qsizetype temporary = encoded(temporaryPrefix(path)).size() + kTemporarySuffixLength;
    return name <= NAME_MAX && temporary < PATH_MAX ? Result() : Result::failure(ENAMETOOLONG);
}

QString resolvedPath(const QString& path)
{
    return resolved(path);
}

namespace {

// Removes the regular files of `folder` whose names `matches` accepts and that
// were last written more than `minimumAgeSeconds` ago.
int removeOld(const QDir& folder, const std::function<bool(const QString&)>& matches,
              int minimumAgeSeconds)
{
    const qint64 limit = QDateTime::currentSecsSinceEpoch() - minimumAgeSeconds;
    int removed = 0;
    // No name filter: a bracket in the file's name would act as a pattern.
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!matches(name))
            continue;
        const QByteArray native = encoded(folder.filePath(name));
        struct stat st;
        // Never a link, never anything fresh: a running writer may still fill it. A
        // second name of a file is a running undo's kept older file, however old.
        if (::lstat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1 ||
            st.st_mtime > limit) {
            continue;
        }
        if (::unlink(native.constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace

int removeStaleTemporaries(const QString& path, int minimumAgeSeconds)
{
    const QFileInfo prefix(temporaryPrefix(resolved(path)));
    const QString namePrefix = prefix.fileName();
    return removeOld(
        QDir(prefix.absolutePath()),
        [&](const QString& name) {
            return name.size() == namePrefix.size() + kTemporarySuffixLength &&
                   name.startsWith(namePrefix);
        },
        minimumAgeSeconds);
}

int removeStaleTemporariesIn(const QString& folder, int minimumAgeSeconds)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..*\\.tmp-[A-Za-z0-9]{6}$"));
    return removeOld(
        QDir(folder), [](const QString& name) { return pattern.match(name).hasMatch(); },
        minimumAgeSeconds);
}

QString temporaryPrefix(const QString& path)
{
    return besidePath(path, QStringLiteral(".tmp-"), kTemporarySuffixLength);
}

void failWritesAfter(qint64 bytes, int error)
{
    g_faultBudget = qMax<qint64>(bytes, 0);
    g_faultError = error;
}

void clearFaults()
{
    g_faultBudget = -1;
    g_faultError = 0;
}

} // namespace FileIo
