#pragma once

#include "platform/FileResult.h"

#include <QByteArrayView>
#include <QString>

#include <cerrno>

namespace FileIo {

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
    Result commitNew(FolderSync folderSync = FolderSync::Now, FileSync fileSync = FileSync::Own);
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

// ENAMETOOLONG when a writer could not make `path`: its name longer than one file
// name may be, or the path of its temporary file longer than a whole path.
Result fitsLimits(const QString& path);

// The file a writer replaces when given `path`: a link's target, else `path`.
QString resolvedPath(const QString& path);

// Removes temporary files of `path` that a killed writer left behind: only this
// program's pattern, only regular files older than `minimumAgeSeconds`. Returns
// how many went.
int removeStaleTemporaries(const QString& path, int minimumAgeSeconds = 60);
// The same for every file of `folder`: whatever a killed writer or copy left there.
int removeStaleTemporariesIn(const QString& folder, int minimumAgeSeconds = 60);

// The name prefix of this program's temporary files beside `path`, so leftovers of a
// killed process can be recognised: ".<name>.tmp-", the name cut short where the
// whole would exceed the limit of one file name.
QString temporaryPrefix(const QString& path);

// Test seam: after `bytes` more bytes have been written by any writer here, writes
// fail with `error` (ENOSPC by default) until clearFaults().
void failWritesAfter(qint64 bytes, int error = ENOSPC);
void clearFaults();

} // namespace FileIo
