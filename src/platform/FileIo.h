#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cerrno>

// Reading and replacing files by name without ever leaving a half-written file or
// blocking on something that is not a file.
namespace FileIo {

// Not an errno value: the path names a pipe, device, socket or folder.
inline constexpr int kNotRegular = -1;
// Not an errno value: the file is larger than the caller accepts.
inline constexpr int kTooLarge = -2;
// Not an errno value: a file that could not be read as a whole is never replaced.
inline constexpr int kUnreadable = -3;
// Not an errno value: the file is in an encoding that cannot be written back as found.
inline constexpr int kForeignEncoding = -4;
// Not an errno value: the text would break the file's lines and is not written.
inline constexpr int kRefused = -5;
// Not an errno value: the file's encoding was not recognised; it is never written.
inline constexpr int kUnknownEncoding = -6;

// The outcome of a file operation: ok, or the system's error number.
class [[nodiscard]] Result
{
public:
    Result() = default;
    static Result failure(int error) { return Result(error == 0 ? EIO : error); }

    bool ok() const { return m_error == 0; }
    explicit operator bool() const { return ok(); }
    int error() const { return m_error; }

    // The reason in German, as one sentence for the user.
    QString reason() const;

private:
    explicit Result(int error) : m_error(error) {}
    int m_error = 0;
};

// The German sentence for a system error number (or kNotRegular, kTooLarge).
QString reasonFor(int error);

// Whether `path` is a regular file or a link to one.
bool isRegularFile(const QString& path);

// Opens a regular file (or a link to one) for reading without blocking on a pipe or
// device (kNotRegular) and gives its descriptor, which the caller closes, and size.
Result openRegularFile(const QString& path, int* fd, qint64* size);

// Reads a whole regular file. A pipe, device or folder is refused without blocking
// (kNotRegular); a file over `maxBytes` (when >= 0) gives kTooLarge.
Result readRegularFile(const QString& path, QByteArray* bytes, qint64 maxBytes = -1);

// Builds a new file beside `path` and puts it in place only when every byte reached
// the disk: each write, the sync and the close are checked, the rename is atomic
// and the folder is synced after it. Until commit() the old file stays untouched;
// a writer destroyed or discarded before it removes its temporary file.
class AtomicWriter
{
public:
    explicit AtomicWriter(const QString& path);
    ~AtomicWriter();
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    Result open();
    Result write(QByteArrayView bytes);
    // Copies up to `length` bytes from `sourceFd` (at its offset) into the new file,
    // in the kernel where it can; `copied` gets the count (0 at the source's end).
    Result copyFrom(int sourceFd, qint64 length, qint64* copied);
    // With FolderSync::Later the caller syncs the folder once after a batch of
    // commits (syncFolder), instead of once per file.
    enum class FolderSync
    {
        Now,
        Later
    };
    // With FileSync::Covered the caller has just synced the whole file system
    // (syncFileSystem): the commit then only collects a write-back error of this
    // file, without flushing the device once more.
    enum class FileSync
    {
        Own,
        Covered
    };
    Result commit(FolderSync folderSync = FolderSync::Now, FileSync fileSync = FileSync::Own);
    // Like commit(), but never replaces: when `path` exists meanwhile, the new file
    // is dropped and the result is EEXIST.
    Result commitNew();
    void discard();

    // Off: commit skips the syncs. A crash may then lose the new file's bytes but
    // never an old file's; for fresh copies whose source stays as it was.
    void setSync(bool sync) { m_sync = sync; }

    // The temporary file while open; empty otherwise.
    QString temporaryPath() const { return m_temporary; }

private:
    QString m_path; // the file to replace (a link is followed to its target)
    QString m_temporary;
    int m_fd = -1;
    bool m_sync = true;

    Result finishTemporary(FileSync fileSync);
    Result placed(int renameResult, FolderSync folderSync);
};

// Replaces `path` by a file holding `bytes` through an AtomicWriter.
Result writeFileAtomically(const QString& path, QByteArrayView bytes);

// Makes a folder's entries (renames, new files) durable.
Result syncFolder(const QString& folder);

// Writes back everything pending on the file system that holds `path`: one sync
// for many files instead of one per file.
Result syncFileSystem(const QString& path);

// The file a writer replaces when given `path`: a link's target, else `path`.
QString resolvedPath(const QString& path);

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

// Removes temporary files of `path` that a killed writer left behind: only this
// program's pattern, only regular files older than `minimumAgeSeconds`. Returns
// how many went.
int removeStaleTemporaries(const QString& path, int minimumAgeSeconds = 60);

// The name prefix of this program's temporary files beside `path`, so leftovers of a
// killed process can be recognised: ".<name>.tmp-", the name cut short where the
// whole would exceed the limit of one file name.
QString temporaryPrefix(const QString& path);

// Test seam: after `bytes` more bytes have been written by any writer here, writes
// fail with `error` (ENOSPC by default) until clearFaults().
void failWritesAfter(qint64 bytes, int error = ENOSPC);
void clearFaults();

} // namespace FileIo
