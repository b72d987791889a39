#include "generate/Undo.h"

#include "catalog/Catalog.h"
#include "generate/CopyRun.h"
#include "platform/FileIo.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace Generate {

namespace {

bool identify(const QString& path, quint64* device, quint64* inode)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    *device = st.st_dev;
    *inode = st.st_ino;
    return true;
}

// A hidden name beside `path` in the pattern of the program's temporary files,
// so that a leftover is recognised as one.
QString spareName(const QString& path)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = FileIo::temporaryPrefix(path);
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
    return name;
}

// The older file under a spare name: a second link to it where the folder allows
// links, else a copy of a regular file. Empty, with the reason, when neither works.
QString keepAside(const QString& path, int* error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString spare = spareName(path);
        if (::link(QFile::encodeName(path).constData(), QFile::encodeName(spare).constData()) == 0)
            return spare;
        *error = errno;
        if (*error != EEXIST)
            break;
    }
    const QString spare = spareName(path);
    if (FileIo::isRegularFile(path) && QFile::copy(path, spare))
        return spare;
    return {};
}

} // namespace

Undo::~Undo()
{
    for (const Kept& kept : std::as_const(m_files)) {
        if (!kept.backup.isEmpty())
            ::unlink(QFile::encodeName(kept.backup).constData());
    }
}

void Undo::keepFile(const QString& path)
{
    if (path.isEmpty())
        return;
    Kept kept;
    kept.path = FileIo::resolvedPath(path);
    if (m_seen.contains(kept.path))
        return;
    m_seen.insert(kept.path);
    kept.existed = identify(kept.path, &kept.device, &kept.inode);
    if (kept.existed)
        kept.backup = keepAside(kept.path, &kept.error);
    m_files.append(kept);
}

void Undo::madeFolders(const QStringList& outermostFirst)
{
    m_folders += outermostFirst;
}

void Undo::keepCatalogue(const QByteArray& before, bool existed)
{
    m_catalogueKept = true;
    m_catalogue = before;
    m_catalogueExisted = existed;
}

QList<Failure> Undo::putBack()
{
    QList<Failure> failures;
    QSet<QString> folders;
    for (qsizetype i = m_files.size() - 1; i >= 0; --i) {
        Kept& kept = m_files[i];
        const QByteArray path = QFile::encodeName(kept.path);
        quint64 device = 0;
        quint64 inode = 0;
        const bool now = identify(kept.path, &device, &inode);
        if (!kept.existed) {
            if (now)
                ::unlink(path.constData());
        } else if (!now || device != kept.device || inode != kept.inode) {
            // Replaced by the run: the older file goes back in its place.
            int error = kept.error;
            if (!kept.backup.isEmpty()) {
                // Renamed or not, the spare name is no longer dropped: on a failure the
                // older bytes stay under it.
                error = ::rename(QFile::encodeName(kept.backup).constData(), path.constData()) == 0
                            ? 0
                            : errno;
                kept.backup.clear();
            }
            if (error != 0)
                failures.append({QFileInfo(kept.path).fileName(), FileIo::reasonFor(error)});
        }
        folders.insert(QFileInfo(kept.path).path());
    }
    for (const QString& folder : std::as_const(folders))
        (void)FileIo::syncFolder(folder);
    removeEmptyFolders(m_folders);

    if (m_catalogueKept) {
        const QString catalogue = Catalog::file();
        FileIo::FileLock lock;
        FileIo::Result restored = lock.acquire(catalogue);
        QByteArray now;
        const bool exists = restored && FileIo::readRegularFile(catalogue, &now).ok();
        if (restored && m_catalogueExisted && (!exists || now != m_catalogue))
            restored = FileIo::writeFileAtomically(catalogue, m_catalogue);
        else if (restored && !m_catalogueExisted && exists && !QFile::remove(catalogue))
            restored = FileIo::Result::failure(EACCES);
        if (!restored)
            failures.append({QFileInfo(catalogue).fileName(), restored.reason()});
    }
    return failures;
}

} // namespace Generate
