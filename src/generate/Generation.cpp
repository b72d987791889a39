#include "generate/Generation.h"

#include "catalog/ProjectTemplate.h"
#include "generate/Checks.h"
#include "generate/Finishing.h"
#include "generate/ProjectRecord.h"
#include "generate/Undo.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"
#include "platform/IniDocument.h"

#include <QFileInfo>

namespace Generate {

Generation::Generation(const Request& request) : Generation(request, Catalog::Snapshot::read()) {}

Generation::Generation(const Request& request, const Catalog::Snapshot& catalogue)
    : m_request(request),
      m_plan(planCopies(catalogue, request.entries,
                        Generate::projectFolder(folderBase(request.folderText), request.projectName,
                                                request.subfolder)))
{
}

QString Generation::projectFile() const
{
    return projectFilePath(m_plan.projectFolder, m_request.projectName);
}

Preview Generation::preview() const
{
    Preview preview;
    preview.copies = m_plan.files;
    preview.projectFile = projectFile();
    preview.workspaceFile =
        pathInProject(m_plan.projectFolder, m_request.projectName + QStringLiteral(".vbw"));
    preview.texts = composeProjectFiles(ProjectTemplate::source(), m_request.projectName,
                                        m_plan.projectLines, m_plan.startForm, m_plan.remembered);
    return preview;
}

namespace {

// The run's changes of the catalogue in one replacement under one lock: the marks
// when asked, the options and the sorted list, each as saving it alone would
// leave it. Each part that was to be saved and was not is noted, in that order.
QList<NotSaved> saveCatalogue(const Request& request, const CopyPlan& plan, Frontend& frontend,
                              Undo& undo)
{
    bool marksTaken = true;
    bool optionsTaken = true;
    QByteArray before;
    bool existed = false;
    bool changed = false;
    const FileIo::Result saved = Ini::edit(Catalog::file(), [&](Ini::Document& document) {
        before = document.bytes();
        existed = document.state() == Ini::Document::State::Loaded;
        if (request.saveMarks)
            marksTaken = Catalog::setMarks(document, plan.marks);
        optionsTaken = rememberOptions(document, request.rememberFolder, request.projectName,
                                       request.folderText, request.subfolder, request.openProject);
        frontend.sortedList(Catalog::sortList(document));
        changed = document.changed();
        return true;
    });
    // A stop from now on puts it back.
    if (saved && changed)
        undo.keepCatalogue(before, existed);
    const FileIo::Result refused = FileIo::Result::failure(FileIo::kRefused);
    QList<NotSaved> notSaved;
    if (request.saveMarks && (!marksTaken || !saved))
        notSaved.append({Catalog::Unsaved::Marks, marksTaken ? saved : refused});
    if (!saved || !optionsTaken)
        notSaved.append({Catalog::Unsaved::Options, saved ? refused : saved});
    if (!saved)
        notSaved.append({Catalog::Unsaved::List, saved});
    return notSaved;
}

} // namespace

Outcome Generation::run(Frontend& frontend)
{
    Outcome outcome;
    Undo undo;
    Staging staging;
    const auto stopped = [&] {
        if (!m_control.cancel)
            return false;
        // The temporary files first, so the folders the run made are empty.
        staging.discard();
        outcome = Outcome();
        outcome.failures = undo.putBack();
        outcome.stopped = true;
        return true;
    };
    const auto step = [&](Step step) {
        if (stopped())
            return false;
        frontend.stepStarted(step);
        return !stopped();
    };
    const QString& name = m_request.projectName;
    const QString& folder = m_plan.projectFolder;

    if (!step(Step::Copies))
        return outcome;
    // What a killed run left in the folder goes, as beside the catalogue at start-up.
    (void)FileIo::removeStaleTemporariesIn(folder);
    for (const FileCopy& file : std::as_const(m_plan.files))
        undo.keepFile(file.target);
    // Hashes the copies' sources for the record while they are copied and synced.
    RecordOfRun record(m_plan, m_control.cancel);
    const QStringList createdFolders = stageCopies(m_plan, m_control, staging);
    undo.madeFolders(createdFolders);

    // The marks go into the catalogue with the options and the list, after the
    // project files; never for a run that was stopped.
    if (!step(Step::Marks))
        return outcome;

    if (!step(Step::ProjectFiles))
        return outcome;
    undo.keepFile(projectFile());
    undo.keepFile(pathInProject(folder, name + QStringLiteral(".vbw")));
    if (const QString standard = ProjectTemplate::file(); !FileExists(standard)) {
        // Mended from the spare as the template link mends it; a stop takes it back.
        undo.keepFile(standard);
        if (const ProjectTemplate::Restore restored = ProjectTemplate::restore();
            restored.state == ProjectTemplate::Restore::State::NotCopied)
            staging.fail(QFileInfo(standard).fileName(), restored.problem);
    }
    const ProjectFileTexts texts = composeProjectFiles(
        ProjectTemplate::file(), name, m_plan.projectLines, m_plan.startForm, m_plan.remembered);
    outcome.templateMissing = texts.templateMissing;
    stageProjectFiles(texts, folder, name, staging);
    // The copies and the project files reach the disk together, then take their
    // places.
    const Staging::Placed placed = staging.putInPlace(&m_control.cancel);
    outcome.written = placed.written;
    outcome.failures = placed.failures;
    // What each copy came from, so the project can be compared with the catalogue;
    // written after the others, so its hashing overlaps their sync.
    undo.keepFile(recordPath(projectFile()));
    writeRecord(recordPath(projectFile()), record.finish(placed.written), &outcome.written,
                &outcome.failures);

    if (!step(Step::CleanUp))
        return outcome;
    // A folder made for a project of which nothing could be written does not stay.
    removeEmptyFolders(createdFolders);

    if (!step(Step::Options))
        return outcome;
    if (!step(Step::SortedList))
        return outcome;
    // One atomic replacement: no moment leaves the list missing on disk.
    outcome.notSaved = saveCatalogue(m_request, m_plan, frontend, undo);
    stopped();
    return outcome;
}

QStringList Outcome::messages() const
{
    QStringList texts;
    // The marks are saved before the project files, the rest after them.
    for (const NotSaved& failed : notSaved) {
        if (failed.what == Catalog::Unsaved::Marks)
            texts << Catalog::notSavedText(failed.what, failed.result);
    }
    if (templateMissing)
        texts << ProjectTemplate::kMissing;
    for (const NotSaved& failed : notSaved) {
        if (failed.what != Catalog::Unsaved::Marks)
            texts << Catalog::notSavedText(failed.what, failed.result);
    }
    if (!failures.isEmpty())
        texts << failureReport(failures);
    return texts;
}

} // namespace Generate
