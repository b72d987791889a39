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

#include <memory>
#include <vector>

namespace Sync {

namespace {

using Generate::RecordedFile;

const QString kBeside = QStringLiteral(".neu");

std::function<void(Update&, Update::Step)> g_stepHook;

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
    // One per component put in place, so that a failed one goes back alone; the
    // last keeps the project file and the record.
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

    // Every new file beside its target first: a stop here replaces nothing.
    struct Staged
    {
        const Unit* unit;
        std::vector<std::unique_ptr<FileIo::AtomicWriter>> writers;
    };
    std::vector<Staged> staged;
    for (const Unit& unit : std::as_const(m_units)) {
        if (!step(Step::Stage))
            return takeBack();
        Result& result = outcome.results[unit.result];
        const Component& component = m_project.components.at(result.component);
        Staged files{&unit, {}};
        for (const Write& write : unit.writes) {
            QByteArray bytes;
            auto writer = std::make_unique<FileIo::AtomicWriter>(write.target);
            FileIo::Result done = mended(write.source, write.text, &bytes);
            if (done)
                done = writer->open();
            if (done)
                done = writer->write(bytes);
            if (!done && fullDisk(done))
                return takeBack({failure(write.target, done)});
            if (!done) {
                result.kind = Result::Kind::Failed;
                result.reason = fileProblemText(write.target, done);
                break;
            }
            files.writers.push_back(std::move(writer));
            Sha256 hash;
            hash.add(bytes);
            lines[unit.result].append({component.entry, component.folder,
                                       QFileInfo(write.source).fileName(), bytes.size(),
                                       hash.hex()});
        }
        if (result.kind != Result::Kind::Failed)
            staged.push_back(std::move(files));
    }

    // One sync for all, then the renames.
    const bool synced = !staged.empty() && FileIo::syncFileSystem(folder).ok();
    for (Staged& files : staged) {
        if (!step(Step::Commit))
            return takeBack();
        Result& result = outcome.results[files.unit->result];
        auto undo = std::make_unique<Generate::Undo>();
        for (const Write& write : files.unit->writes)
            undo->keepFile(write.target);
        for (std::size_t i = 0; i < files.writers.size(); ++i) {
            const FileIo::Result placed =
                files.writers.at(i)->commit(FileIo::AtomicWriter::FolderSync::Later,
                                            synced ? FileIo::AtomicWriter::FileSync::Covered
                                                   : FileIo::AtomicWriter::FileSync::Own);
            if (placed)
                continue;
            const QString target = files.unit->writes.at(qsizetype(i)).target;
            if (fullDisk(placed)) {
                undos.push_back(std::move(undo));
                return takeBack({failure(target, placed)});
            }
            (void)undo->putBack();
            result.kind = Result::Kind::Failed;
            result.reason = fileProblemText(target, placed);
            break;
        }
        if (result.kind == Result::Kind::Failed)
            lines.remove(files.unit->result);
        else
            undos.push_back(std::move(undo));
    }
    if (!staged.empty())
        (void)FileIo::syncFolder(folder);

    undos.push_back(std::make_unique<Generate::Undo>());
    Generate::Undo& last = *undos.back();
    if (!step(Step::ProjectFile))
        return takeBack();
    QStringList remembered;
    for (const Result& result : std::as_const(outcome.results)) {
        if (result.kind == Result::Kind::Updated)
            remembered += References::linesOf(m_catalogue, result.entry);
    }
    const QByteArray projectBytes =
        projectFileWith(m_project.projectFile, remembered, &outcome.addedLines, &outcome.failures);
    if (!projectBytes.isEmpty()) {
        last.keepFile(m_project.projectFile);
        const FileIo::Result written =
            FileIo::writeFileAtomically(m_project.projectFile, projectBytes);
        if (!written && fullDisk(written))
            return takeBack({failure(m_project.projectFile, written)});
        if (!written) {
            outcome.failures.append(failure(m_project.projectFile, written));
            outcome.addedLines.clear();
        }
    }

    if (!step(Step::Record))
        return takeBack();
    QList<QList<RecordedFile>> fresh; // in the project's order
    for (int i = 0; i < outcome.results.size(); ++i) {
        const Result::Kind kind = outcome.results.at(i).kind;
        if ((kind == Result::Kind::Updated || kind == Result::Kind::Recorded) && lines.contains(i))
            fresh << lines.value(i);
    }
    const bool changed = !fresh.isEmpty();
    if (changed) {
        last.keepFile(m_project.recordFile);
        const FileIo::Result written = FileIo::writeFileAtomically(
            m_project.recordFile, Generate::recordBytes(newRecord(fresh)));
        if (!written && fullDisk(written))
            return takeBack({failure(m_project.recordFile, written)});
        if (!written)
            outcome.failures.append(failure(m_project.recordFile, written));
    }
    // A stop during the last step still takes the run back.
    if (m_cancel)
        return takeBack();
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
