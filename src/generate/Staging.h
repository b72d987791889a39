#pragma once

#include "generate/Failures.h"
#include "platform/FileIo.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

// The files of one run, each written whole into a temporary file beside its
// target before any of them replaces anything. Putting them in place makes them
// durable together: one sync of each file system for all of them, the renames,
// then one sync of each folder. What is not put in place goes with the object.
namespace Generate {

class Staging
{
public:
    Staging() = default;
    ~Staging();
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;

    // Each file of the run, in the run's order: a filled writer for `target`; with
    // `replace` false an existing target is kept and the file fails (EEXIST).
    void add(const QString& name, const QString& target,
             std::unique_ptr<FileIo::AtomicWriter> writer, bool replace = true);
    // The whole of a small file; a write that fails is noted as its failure.
    void add(const QString& name, const QString& target, QByteArrayView bytes);
    // A file that is not made, and why.
    void fail(const QString& name, const QString& reason);
    // A file already in place (the catalogue's own file as the target).
    void inPlace(const QString& target);

    struct Placed
    {
        QStringList written;     // the targets that now hold their new bytes
        QList<Failure> failures; // in the order the files were added
        bool stopped = false;    // `stop` came before the renames: nothing replaced
    };
    // Syncs, renames and syncs the folders. A stop asked for through `stop` up to
    // the renames puts nothing in place.
    Placed putInPlace(const std::atomic<bool>* stop = nullptr);

    // Removes the temporary files; nothing staged is put in place any more.
    void discard();

private:
    struct File
    {
        QString name;
        QString target;
        QString folder; // where the temporary file is, and the rename goes
        std::unique_ptr<FileIo::AtomicWriter> writer; // null: in place, or failed
        QString failure;
        bool replace = true;
    };
    std::vector<File> m_files;
};

} // namespace Generate
