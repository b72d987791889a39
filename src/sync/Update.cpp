#include "sync/Update.h"

#include "catalog/ComponentFile.h"
#include "catalog/ProjectImport.h"
#include "catalog/References.h"
#include "generate/Undo.h"
#include "platform/FileIo.h"
#include "platform/Sha256.h"
#include "sync/ProjectReferences.h"
#include "sync/SyncTexts.h"

#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace Sync {

namespace {

using Generate::RecordedFile;

const QString kBeside = QStringLiteral(".neu");

std::function<void(Update&, Update::Step)> g_stepHook;

// Keeps the run: each undo removes the older files it kept. On a disk that
// discards freed blocks each removal waits for the device, so they go side by side.
void keep(std::vector<std::unique_ptr<Generate::Undo>>& undos)
{
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < qMin<std::size_t>(8, undos.size()); ++i) {
        threads.emplace_back([&] {
            for (std::size_t n = next++; n < undos.size(); n = next++)
                undos[n].reset();
        });
    }
    for (std::thread& thread : threads)
        thread.join();
}

bool fullDisk(const FileIo::Result& result)
{
    return result.error() == ENOSPC || result.error() == EDQUOT;
}

// The catalogue's file as a project gets it.
FileIo::Result mended(const QString& source, bool text, QByteArray* bytes)
{
    QByteArray raw;
    const FileIo::Result read = FileIo::readRegularFile(source, &raw);
    if (!read || !text || ComponentFile::isBinary(raw)) {
        *bytes = raw;
        return read;
    }
    bytes->clear();
    bool lastWasCr = false;
    ComponentFile::appendWithCrLf(*bytes, raw, lastWasCr);
    return read;
}

Generate::Failure failure(const QString& path, const FileIo::Result& result)
{
    return {QFileInfo(path).fileName(), result.reason()};
}

// The project file with the lines the updated entries remember and it lacks;
// empty when it stays as it is.
QByteArray projectFileWith(const QString& projectFile, const QStringList& lines, QStringList* added,
                           QList<Generate::Failure>* failures)
{
    added->clear();
    if (lines.isEmpty())
        return {};
    QByteArray bytes;
    if (const FileIo::Result read =
            FileIo::readRegularFile(projectFile, &bytes, ProjectImport::kMaxProjectBytes);
        !read) {
        failures->append(failure(projectFile, read));
        return {};
    }
    const QByteArray now = withReferences(bytes, lines, added);
    return added->isEmpty() ? QByteArray() : now;
}

} // namespace

Update::Update(const Project& project, const Catalog::Snapshot& catalogue, const QList<int>& chosen)
    : m_project(project), m_catalogue(catalogue)
{
    m_planned.projectFile = project.projectFile;
    m_planned.recorded = project.recorded;
    const QString folder = QFileInfo(project.recordFile).absolutePath();
    for (int index = 0; index < project.components.size(); ++index) {
        if (!chosen.contains(index))
            continue;
        const Component& component = project.components.at(index);
        Result result{component.entry, index, component.state};
        Unit unit{int(m_planned.results.size()), {}};
        switch (component.state) {
        case State::Behind:
        case State::Conflict:
            result.kind =
                component.state == State::Behind ? Result::Kind::Updated : Result::Kind::Beside;
            for (const UnitFile& file : component.files) {
                if (file.cataloguePath.isEmpty())
                    continue;
                const QString target =
                    file.projectPath + (component.state == State::Conflict ? kBeside : QString());
                unit.writes.append({file.cataloguePath, target, file.text});
                if (component.state == State::Conflict)
                    result.besides << target;
            }
            m_units.append(unit);
            break;
        case State::Current:
            result.kind = Result::Kind::Current;
            break;
        case State::Equal:
            result.kind = Result::Kind::Recorded;
            for (const UnitFile& file : component.files) {
                if (QFileInfo(file.projectPath).absolutePath() != folder) {
                    result.kind = Result::Kind::Left;
                    result.reason = kOutsideProjectFolder;
                }
            }
            break;
        default:
            result.reason =
                component.state == State::Unreadable
                    ? stateText(component.state) + QStringLiteral(": ") + component.reason
                    : stateText(component.state);
        }
        m_planned.results.append(result);
    }
}

Preview Update::preview() const
{
    Preview preview;
    preview.outcome = m_planned;
    QStringList lines;
    for (const Unit& unit : m_units) {
        for (const Write& write : unit.writes)
            preview.copies.append({write.source, write.target});
        if (m_planned.results.at(unit.result).kind == Result::Kind::Updated)
            lines += References::linesOf(m_catalogue, m_planned.results.at(unit.result).entry);
    }
    preview.projectFile = projectFileWith(m_project.projectFile, lines, &preview.outcome.addedLines,
                                          &preview.outcome.failures);
    return preview;
}

Outcome Update::run()
{
    Outcome outcome = m_planned;
    // One per component put in place (and the project file, the record), so that a
    // component that fails goes back alone.
    std::vector<std::unique_ptr<Generate::Undo>> undos;
    const auto takeBack = [&](const QList<Generate::Failure>& why = {}) {
        Outcome back;
        back.projectFile = outcome.projectFile;
        back.recorded = outcome.recorded;
        back.stopped = true;
        back.failures = why;
        for (auto it = undos.rbegin(); it != undos.rend(); ++it)
            back.notPutBack += (*it)->putBack();
        return back;
    };
    const auto step = [&](Step step) {
        if (!m_cancel && g_stepHook)
            g_stepHook(*this, step);
        return !m_cancel;
    };
    const QString folder = QFileInfo(m_project.recordFile).absolutePath();
    QHash<int, QList<RecordedFile>> lines; // by result
    // A project without a record: its equal components as they are.
    for (int i = 0; i < outcome.results.size(); ++i) {
        if (outcome.results.at(i).kind != Result::Kind::Recorded)
            continue;
        const Component& component = m_project.components.at(outcome.results.at(i).component);
        for (const UnitFile& file : component.files)
            lines[i].append({component.entry, component.folder,
                             QFileInfo(file.cataloguePath).fileName(), file.project.size,
                             file.project.sha256});
    }

    // Every new file beside its target first, so that a stop replaces nothing and
    // one sync covers them all; the project file and the record with them.
    struct Staged
    {
        int result = -1; // -1: the project file or the record
        QStringList targets;
        std::vector<std::unique_ptr<FileIo::AtomicWriter>> writers;
    };
    std::vector<Staged> staged;
    const auto stage = [&](Staged& files, const QString& target, const QByteArray& bytes) {
        auto writer = std::make_unique<FileIo::AtomicWriter>(target);
        FileIo::Result done = writer->open();
        if (done)
            done = writer->write(bytes);
        if (done) {
            files.targets << target;
            files.writers.push_back(std::move(writer));
        }
        return done;
    };
    for (const Unit& unit : std::as_const(m_units)) {
        if (!step(Step::Stage))
            return takeBack();
        Result& result = outcome.results[unit.result];
        const Component& component = m_project.components.at(result.component);
        Staged files{unit.result, {}, {}};
        for (const Write& write : unit.writes) {
            QByteArray bytes;
            FileIo::Result done = mended(write.source, write.text, &bytes);
            if (done)
                done = stage(files, write.target, bytes);
            if (!done && fullDisk(done))
                return takeBack({failure(write.target, done)});
            if (!done) {
                result.kind = Result::Kind::Failed;
                result.reason = FileIo::aboutFile(write.target, done.reason());
                break;
            }
            Sha256 hash;
            hash.add(bytes);
            lines[unit.result].append({component.entry, component.folder,
                                       QFileInfo(write.source).fileName(), bytes.size(),
                                       hash.hex()});
        }
        if (result.kind != Result::Kind::Failed)
            staged.push_back(std::move(files));
    }
    // What the project file and the record get once the staged components are in.
    const auto projectBytes = [&] {
        QStringList remembered;
        for (const Result& result : std::as_const(outcome.results)) {
            if (result.kind == Result::Kind::Updated)
                remembered += References::linesOf(m_catalogue, result.entry);
        }
        return projectFileWith(m_project.projectFile, remembered, &outcome.addedLines,
                               &outcome.failures);
    };
    const auto recordBytes = [&] {
        QList<QList<RecordedFile>> fresh; // in the project's order
        for (int i = 0; i < outcome.results.size(); ++i) {
            const Result::Kind kind = outcome.results.at(i).kind;
            if ((kind == Result::Kind::Updated || kind == Result::Kind::Recorded) &&
                lines.contains(i))
                fresh << lines.value(i);
        }
        return fresh.isEmpty() ? QByteArray() : Generate::recordBytes(newRecord(fresh));
    };
    const QString files[] = {m_project.projectFile, m_project.recordFile};
    QByteArray bytes[] = {projectBytes(), recordBytes()};
    for (int i = 0; i < 2; ++i) {
        Staged file;
        if (bytes[i].isEmpty())
            continue;
        if (const FileIo::Result done = stage(file, files[i], bytes[i]); !done) {
            if (fullDisk(done))
                return takeBack({failure(files[i], done)});
            outcome.failures.append(failure(files[i], done));
            if (i == 0)
                outcome.addedLines.clear();
            continue;
        }
        staged.push_back(std::move(file));
    }

    // One sync for all, then the renames: the components, the project file, the
    // record last.
    const bool synced = !staged.empty() && FileIo::syncFileSystem(folder).ok();
    bool componentFailed = false;
    for (Staged& files : staged) {
        const bool record = files.result < 0 && files.targets.first() == m_project.recordFile;
        if (!step(files.result >= 0 ? Step::Commit : record ? Step::Record : Step::ProjectFile))
            return takeBack();
        auto undo = std::make_unique<Generate::Undo>();
        for (const QString& target : std::as_const(files.targets))
            undo->keepFile(target);
        // A component left out after all: the project file and the record anew.
        if (files.result < 0 && componentFailed) {
            files.writers.clear();
            const QByteArray now = record ? recordBytes() : projectBytes();
            if (now.isEmpty())
                continue;
            undos.push_back(std::move(undo));
            if (const FileIo::Result written =
                    FileIo::writeFileAtomically(files.targets.first(), now);
                !written)
                outcome.failures.append(failure(files.targets.first(), written));
            continue;
        }
        for (std::size_t i = 0; i < files.writers.size(); ++i) {
            const FileIo::Result placed =
                files.writers.at(i)->commit(FileIo::AtomicWriter::FolderSync::Later,
                                            synced ? FileIo::AtomicWriter::FileSync::Covered
                                                   : FileIo::AtomicWriter::FileSync::Own);
            if (placed)
                continue;
            const QString target = files.targets.at(qsizetype(i));
            if (fullDisk(placed)) {
                undos.push_back(std::move(undo));
                return takeBack({failure(target, placed)});
            }
            (void)undo->putBack();
            undo.reset();
            if (files.result >= 0) {
                componentFailed = true;
                outcome.results[files.result].kind = Result::Kind::Failed;
                outcome.results[files.result].reason = FileIo::aboutFile(target, placed.reason());
                lines.remove(files.result);
            } else {
                outcome.failures.append(failure(target, placed));
            }
            break;
        }
        if (undo)
            undos.push_back(std::move(undo));
    }
    if (!staged.empty())
        (void)FileIo::syncFolder(folder);
    // A stop during the last step still takes the run back.
    if (m_cancel)
        return takeBack();
    keep(undos);
    return outcome;
}

Generate::Record Update::newRecord(const QList<QList<RecordedFile>>& lines) const
{
    Generate::Record record = m_project.record;
    if (m_project.recorded)
        record.updated = Generate::recordDate();
    else
        record.made = Generate::recordDate();
    // An updated entry's lines in place of its old ones, new entries at the end.
    QHash<QString, QList<RecordedFile>> byEntry;
    for (const QList<RecordedFile>& entry : lines)
        byEntry.insert(entry.first().entry.toCaseFolded(), entry);
    QList<RecordedFile> files;
    QSet<QString> placed;
    for (const RecordedFile& file : std::as_const(record.files)) {
        const QString entry = file.entry.toCaseFolded();
        if (!byEntry.contains(entry))
            files << file;
        else if (!placed.contains(entry))
            files += byEntry.value(entry);
        placed.insert(entry);
    }
    for (const QList<RecordedFile>& entry : lines) {
        if (!placed.contains(entry.first().entry.toCaseFolded()))
            files += entry;
    }
    record.files = files;
    return record;
}

void setStepHook(std::function<void(Update&, Update::Step)> hook)
{
    g_stepHook = std::move(hook);
}

} // namespace Sync
