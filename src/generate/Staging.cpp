#include "generate/Staging.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sys/stat.h>

namespace Generate {

Staging::~Staging()
{
    discard();
}

void Staging::add(const QString& name, const QString& target,
                  std::unique_ptr<FileIo::AtomicWriter> writer, bool replace)
{
    const QString folder = QFileInfo(writer->temporaryPath()).absolutePath();
    m_files.push_back({name, target, folder, std::move(writer), QString(), replace});
}

void Staging::add(const QString& name, const QString& target, QByteArrayView bytes)
{
    auto writer = std::make_unique<FileIo::AtomicWriter>(target);
    FileIo::Result written = writer->open();
    if (written)
        written = writer->write(bytes);
    if (written)
        add(name, target, std::move(writer));
    else
        fail(name, written.reason()); // the writer's temporary file goes with it
}

void Staging::fail(const QString& name, const QString& reason)
{
    m_files.push_back({name, QString(), QString(), nullptr, reason, true});
}

void Staging::inPlace(const QString& target)
{
    m_files.push_back({QString(), target, QString(), nullptr, QString(), true});
}

Staging::Placed Staging::putInPlace(const std::atomic<bool>* stop)
{
    Placed placed;
    const auto stopped = [stop] { return stop && stop->load(); };
    // One write-back and one device flush for all files of a file system instead
    // of one per file; each commit then only asks for its own file's write-back
    // errors.
    QHash<QString, bool> covered; // by folder
    QHash<quint64, bool> synced;  // by device
    for (const File& file : m_files) {
        if (!file.writer || covered.contains(file.folder) || stopped())
            continue;
        struct stat st;
        bool done = false;
        if (::stat(QFile::encodeName(file.folder).constData(), &st) == 0) {
            const auto device = quint64(st.st_dev);
            if (!synced.contains(device))
                synced.insert(device, FileIo::syncFileSystem(file.folder).ok());
            done = synced.value(device);
        }
        covered.insert(file.folder, done);
    }
    if (stopped()) {
        discard();
        placed.stopped = true;
        return placed;
    }

    QStringList renamedIn;
    for (File& file : m_files) {
        if (!file.failure.isEmpty()) {
            placed.failures.append({file.name, file.failure});
            continue;
        }
        if (!file.writer) {
            placed.written << file.target;
            continue;
        }
        const auto later = FileIo::AtomicWriter::FolderSync::Later;
        const auto fileSync = covered.value(file.folder) ? FileIo::AtomicWriter::FileSync::Covered
                                                         : FileIo::AtomicWriter::FileSync::Own;
        // Kept targets: one that appeared meanwhile is still not replaced.
        const FileIo::Result committed = file.replace ? file.writer->commit(later, fileSync)
                                                      : file.writer->commitNew(later, fileSync);
        file.writer.reset();
        if (!committed) {
            placed.failures.append({file.name, committed.reason()});
            continue;
        }
        placed.written << file.target;
        if (!renamedIn.contains(file.folder))
            renamedIn << file.folder;
    }
    m_files.clear();
    for (const QString& folder : std::as_const(renamedIn))
        (void)FileIo::syncFolder(folder);
    placed.written.removeDuplicates();
    return placed;
}

void Staging::discard()
{
    m_files.clear(); // each writer removes its temporary file
}

} // namespace Generate
