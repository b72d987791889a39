#include "generate/Generation.h"

#include "catalog/ProjectTemplate.h"
#include "generate/Checks.h"
#include "generate/Finishing.h"
#include "generate/ProjectRecord.h"
#include "generate/Undo.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"

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

Outcome Generation::run(Frontend& frontend)
{
    Outcome outcome;
    Undo undo;
    const auto stopped = [&] {
        if (!m_control.cancel)
            return false;
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
    const auto save = [&](Catalog::Unsaved what, const FileIo::Result& result) {
        if (result)
            return;
        outcome.notSaved.append({what, result});
    };
    const QString& name = m_request.projectName;
    const QString& folder = m_plan.projectFolder;

    if (!step(Step::Copies))
        return outcome;
    // What a killed run left in the folder goes, as beside the catalogue at start-up.
    (void)FileIo::removeStaleTemporariesIn(folder);
    for (const FileCopy& file : std::as_const(m_plan.files))
        undo.keepFile(file.target);
    RecordOfRun record(m_plan, m_control.cancel); // hashes while the copies are made
    const CopyResult copied = runCopies(m_plan, m_control);
    undo.madeFolders(copied.createdFolders);
    outcome.written = copied.written;
    outcome.failures = copied.failures;

    if (!step(Step::Marks))
        return outcome;
    // One replacement after the copies, and never for a run that was stopped.
    if (m_request.saveMarks) {
        undo.keepCatalogue();
        save(Catalog::Unsaved::Marks, Catalog::saveMarks(m_plan.marks));
    }

    if (!step(Step::ProjectFiles))
        return outcome;
    undo.keepFile(projectFile());
    undo.keepFile(pathInProject(folder, name + QStringLiteral(".vbw")));
    if (const QString standard = ProjectTemplate::file(); !FileExists(standard)) {
        // Mended from the spare as the template link mends it; a stop takes it back.
        undo.keepFile(standard);
        if (const ProjectTemplate::Restore restored = ProjectTemplate::restore();
            restored.state == ProjectTemplate::Restore::State::NotCopied)
            outcome.failures.append({QFileInfo(standard).fileName(), restored.problem});
    }
    const ProjectFileResult project =
        writeProjectFiles(ProjectTemplate::file(), folder, name, m_plan.projectLines,
                          m_plan.startForm, m_plan.remembered);
    outcome.written += project.written;
    outcome.failures += project.failures;
    outcome.templateMissing = project.templateMissing;
    // What each copy came from, so the project can be compared with the catalogue.
    undo.keepFile(recordPath(projectFile()));
    writeRecord(recordPath(projectFile()), record.finish(copied.written), &outcome.written,
                &outcome.failures);

    if (!step(Step::CleanUp))
        return outcome;
    // A folder made for a project of which nothing could be written does not stay.
    removeEmptyFolders(copied.createdFolders);

    if (!step(Step::Options))
        return outcome;
    undo.keepCatalogue();
    save(Catalog::Unsaved::Options,
         rememberOptions(m_request.rememberFolder, name, m_request.folderText, m_request.subfolder,
                         m_request.openProject));

    if (!step(Step::SortedList))
        return outcome;
    undo.keepCatalogue();
    frontend.sortedList(Catalog::Snapshot::read().sortedNames());
    // One atomic replacement: no moment leaves the list missing on disk.
    save(Catalog::Unsaved::List, Catalog::saveSortedList());
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
