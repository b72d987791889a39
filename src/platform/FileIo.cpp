#include "platform/FileIo.h"

#include <QFile>
#include <QFileInfo>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <limits>

namespace FileIo {

namespace {

qint64 g_faultBudget = -1; // bytes left before the injected failure; -1: none
int g_faultError = 0;
int g_lockTimeout = 5000;
constexpr int kTemporarySuffixLength = 6; // mkostemp's XXXXXX
constexpr qsizetype kNameMax = NAME_MAX;  // bytes in one name of a folder entry

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

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

mode_t creationMode()
{
    // umask can only be read by setting it; done once, before any threads write.
    static const mode_t mask = [] {
        const mode_t old = ::umask(022);
        ::umask(old);
        return old;
    }();
    return 0666 & ~mask;
}

// A link is replaced at its target, so the link itself survives the rename.
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

// `name` cut at the end of a character so that `extra` more bytes still make a
// legal file name: the temporary file or lock of a target whose own name is
// near the limit would otherwise be too long to create.
QString fitted(const QString& name, qsizetype extra)
{
    QString cut = name;
    while (!cut.isEmpty() && encoded(cut).size() + extra > kNameMax) {
        cut.chop(1);
        if (!cut.isEmpty() && cut.back().isHighSurrogate())
            cut.chop(1);
    }
    return cut;
}

// "/.<name><ending>" beside the file, within the limit of one name.
QString besidePath(const QString& path, const QString& ending, qsizetype reserved)
{
    const QFileInfo info(path);
    const QString dot = QStringLiteral(".");
    return info.absolutePath() + QLatin1Char('/') + dot +
           fitted(info.fileName(), dot.size() + encoded(ending).size() + reserved) + ending;
}

} // namespace

QString Result::reason() const
{
    return reasonFor(m_error);
}

QString reasonFor(int error)
{
    switch (error) {
    case 0:
        return {};
    case kNotRegular:
        return QStringLiteral("Die Datei ist keine gewöhnliche Datei.");
    case kTooLarge:
        return QStringLiteral("Die Datei ist zu groß.");
    case kUnreadable:
        return QStringLiteral("Die Datei konnte nicht gelesen werden.");
    case kForeignEncoding:
        return QStringLiteral("Die Datei ist in einer Zeichenkodierung gespeichert, in der sie "
                              "nicht unverändert zurückgeschrieben werden kann.");
    case kUnknownEncoding:
        return QStringLiteral("Die Datei ist in einer Zeichenkodierung gespeichert, die das "
                              "Programm nicht erkennt.");
    case kRefused:
        return QStringLiteral("Der Text enthält Zeichen, die in der Datei nicht gespeichert "
                              "werden können.");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Der Zugriff wurde verweigert.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENOENT:
        return QStringLiteral("Die Datei oder der Ordner wurde nicht gefunden.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case EISDIR:
        return QStringLiteral("Der Pfad bezeichnet einen Ordner.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Pfad ist zu lang.");
    case ELOOP:
        return QStringLiteral("Der Pfad enthält zu viele symbolische Verknüpfungen.");
    case EIO:
        return QStringLiteral("Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler "
                              "aufgetreten.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird gerade verwendet.");
    case EWOULDBLOCK:
        return QStringLiteral("Die Datei ist durch ein anderes Programm gesperrt.");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß für den Datenträger.");
    case EEXIST:
        return QStringLiteral("Die Datei ist bereits vorhanden.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    default:
        return QStringLiteral("Systemfehler %1.").arg(error);
    }
}

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

Result AtomicWriter::commitNew()
{
    if (Result result = finishTemporary(FileSync::Own); !result)
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
    return placed(done, FolderSync::Now);
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

QString resolvedPath(const QString& path)
{
    return resolved(path);
}

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
    if (fd < 0 && errno == EACCES)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
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

int removeStaleTemporaries(const QString& path, int minimumAgeSeconds)
{
    const QString prefix = temporaryPrefix(resolved(path));
    const QFileInfo prefixInfo(prefix);
    const QString namePrefix = prefixInfo.fileName();
    const QDir folder(prefixInfo.absolutePath());
    const qint64 limit = QDateTime::currentSecsSinceEpoch() - minimumAgeSeconds;
    int removed = 0;
    // No name filter: a bracket in the file's name would act as a pattern.
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.size() != namePrefix.size() + kTemporarySuffixLength ||
            !name.startsWith(namePrefix)) {
            continue;
        }
        const QByteArray native = encoded(folder.filePath(name));
        struct stat st;
        // Never a link, never anything fresh: a running writer may still fill it.
        if (::lstat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_mtime > limit) {
            continue;
        }
        if (::unlink(native.constData()) == 0)
            ++removed;
    }
    return removed;
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
