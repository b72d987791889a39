#include "catalog/Catalog.h"
#include "catalog/ProjectTemplate.h"
#include "catalog/Selection.h"
#include "cli/Commands.h"
#include "cli/SignalsStop.h"
#include "cli/Texts.h"
#include "generate/Background.h"
#include "generate/Checks.h"
#include "generate/Finishing.h"
#include "generate/Generation.h"
#include "platform/Ansi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#include <unistd.h>

namespace Cli {

namespace {

const QString kFolder = QStringLiteral("ordner");
const QString kComponent = componentOption().names().first();
const QString kSubfolder = QStringLiteral("unterordner");
const QString kNoSubfolder = QStringLiteral("kein-unterordner");
const QString kMark = QStringLiteral("markieren");
const QString kRemember = QStringLiteral("ordner-merken");
const QString kOpen = QStringLiteral("oeffnen");
const QString kPreview = previewOption().names().first();

// The command line's side of a run: everything it has to say is in the outcome,
// said on this thread afterwards; the run only tells when the copies are over.
class Console : public Generate::Frontend
{
public:
    std::atomic<bool> copying{true};

    void stepStarted(Generate::Step step) override { copying = step == Generate::Step::Copies; }
    void sortedList(const QStringList&) override {}
};

// The named entries in list order, each once, as the window's list holds them
// checked; a name not listed is said, and then there are none.
QStringList namedEntries(const Catalog::Snapshot& catalogue, const QStringList& given,
                         Output& output)
{
    QStringList entries;
    for (const Catalog::Listed& listed : catalogue.listedOnce()) {
        if (given.contains(listed.name, Qt::CaseInsensitive))
            entries << listed.name;
    }
    bool unknown = false;
    for (const QString& name : given) {
        if (!entries.contains(name, Qt::CaseInsensitive)) {
            output.message(Catalog::notListedText(name, catalogue));
            unknown = true;
        }
    }
    return unknown ? QStringList() : entries;
}

// The entries the window shows checked: marked, with their file present.
QStringList markedEntries(const Catalog::Snapshot& catalogue)
{
    QStringList entries;
    for (const Catalog::Entry& entry : Catalog::inspect(catalogue).entries) {
        if (entry.marked)
            entries << entry.name;
    }
    return entries;
}

// Why nothing can be made in the project folder: the nearest part of its path
// that exists must be a folder this process may write to.
QString folderProblem(const QString& projectFolder)
{
    QString path = QDir::cleanPath(projectFolder);
    if (const QFileInfo info(path); info.exists() && !info.isDir())
        return kNotAFolder.arg(path);
    while (!QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    int error = 0;
    if (!QFileInfo(path).isDir())
        error = ENOTDIR;
    else if (::access(QFile::encodeName(path).constData(), W_OK | X_OK) != 0)
        error = errno;
    return error == 0 ? QString() : kFolderUnusable.arg(projectFolder, FileIo::reasonFor(error));
}

QString asText(const QByteArray& bytes)
{
    return Ansi::decode(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

int showPreview(const Generate::Generation& generation, Output& output)
{
    const Generate::Preview preview = generation.preview();
    QString text;
    for (const Generate::FileCopy& copy : preview.copies) {
        text += (copy.refused.isEmpty() ? kPreviewCopy.arg(copy.source, copy.target)
                                        : kPreviewRefused.arg(copy.name, copy.refused)) +
                QLatin1Char('\n');
    }
    if (!preview.texts.project.isEmpty())
        text += kPreviewFile.arg(preview.projectFile) + asText(preview.texts.project);
    if (!preview.texts.workspace.isEmpty())
        text += kPreviewFile.arg(preview.workspaceFile) + asText(preview.texts.workspace);
    output.data(text);
    if (preview.texts.templateMissing)
        output.message(ProjectTemplate::kMissing);
    if (!preview.texts.failures.isEmpty())
        output.message(Generate::failureReport(preview.texts.failures));
    return kDone;
}

} // namespace

QString NewCommand::description() const
{
    return QStringLiteral("Erstellt das Projekt NAME in ORDNER mit den Prüfungen und Meldungen "
                          "des Assistenten: aus den markierten Einträgen oder denen von "
                          "--komponente. Strg+C, SIGTERM und SIGHUP nehmen alles zurück, was der "
                          "Lauf angelegt hat.");
}

QList<QCommandLineOption> NewCommand::options() const
{
    return {
        {kFolder, QStringLiteral("Mit --neu: der Ordner des Projekts."), QStringLiteral("ORDNER")},
        componentOption(),
        {kSubfolder, QStringLiteral("Mit --neu: das Projekt in ORDNER/NAME anlegen.")},
        {kNoSubfolder, QStringLiteral("Mit --neu: das Projekt direkt in ORDNER anlegen. Ohne "
                                      "beide gilt die gespeicherte Einstellung.")},
        {kMark, QStringLiteral("Mit --neu: die Auswahl als Markierungen speichern.")},
        {kRemember, QStringLiteral("Mit --neu: ORDNER als Projektordner merken.")},
        {kOpen, QStringLiteral("Mit --neu: das Projekt danach öffnen.")},
        overwriteOption(),
        previewOption(),
    };
}

int NewCommand::execute(const Arguments& arguments, Output& output)
{
    using namespace Generate;
    if (arguments.isSet(kSubfolder) && arguments.isSet(kNoSubfolder)) {
        output.message(
            kExclusive.arg(QStringLiteral("--") + kSubfolder, QStringLiteral("--") + kNoSubfolder));
        return kNothingDone;
    }
    const Catalog::Snapshot& catalogue = arguments.catalogue;

    // The component page's check, then the project page's, in the window's order.
    const QStringList entries =
        arguments.isSet(kComponent)
            ? namedEntries(catalogue, arguments.parser.values(kComponent), output)
            : markedEntries(catalogue);
    if (arguments.isSet(kComponent) && entries.isEmpty())
        return kNothingDone;
    if (const QString problem = Catalog::selectionProblem(catalogue, entries); !problem.isEmpty()) {
        output.message(problem);
        return kNothingDone;
    }

    Request request;
    request.entries = entries;
    request.projectName = arguments.values.constFirst();
    request.folderText = fromWorkingFolder(arguments.parser.value(kFolder));
    request.subfolder = arguments.isSet(kSubfolder) ? true
                        : arguments.isSet(kNoSubfolder)
                            ? false
                            : Catalog::rememberedOptions(catalogue).subfolder;
    request.saveMarks = arguments.isSet(kMark);
    request.rememberFolder = arguments.isSet(kRemember);
    request.openProject = arguments.isSet(kOpen);

    const ProjectCheck check = checkProject(int(entries.size()), request.projectName,
                                            request.folderText, request.subfolder);
    if (check.incomplete) {
        output.message(kNameOrFolderEmpty);
        return kNothingDone;
    }
    if (!check.nameRefusal.isEmpty()) {
        output.message(check.nameRefusal);
        return kNothingDone;
    }
    // Before the question: a file or a locked folder would be asked about as one that
    // holds files, and --ueberschreiben would not help.
    Generation generation(request, catalogue);
    if (const QString problem = folderProblem(generation.projectFolder()); !problem.isEmpty()) {
        output.message(problem);
        return kNothingDone;
    }
    if (!check.folderQuestion.isEmpty() && !arguments.isSet(overwriteOption().names().first())) {
        output.message(check.folderQuestion + QLatin1Char('\n') + kFolderNotUsed);
        return kNothingDone;
    }
    if (!check.characterRefusal.isEmpty()) {
        output.message(check.characterRefusal);
        return kNothingDone;
    }
    if (arguments.isSet(kPreview))
        return showPreview(generation, output);

    Console console;
    Outcome outcome;
    {
        const SignalsStop signalsStop([](void* run) { static_cast<Generation*>(run)->stop(); },
                                      &generation);
        BackgroundTask task([&] { outcome = generation.run(console); });
        while (!task.waitFor(100)) {
            if (output.errIsTerminal() && console.copying) {
                const CopyProgress progress =
                    copyProgress(generation.plan(), generation.progress());
                output.progress(kProgress.arg(progress.perMille / 10).arg(progress.file));
            }
        }
    }

    if (outcome.stopped) {
        output.message(
            failureList(outcome.failures.isEmpty() ? kStopped : kStoppedNotAll, outcome.failures));
        return kNothingDone;
    }
    for (const QString& text : outcome.messages())
        output.message(text);
    const bool incomplete = !outcome.failures.isEmpty() || outcome.templateMissing;
    output.message((incomplete ? kMadeIncompletely : kMade).arg(generation.projectFolder()));

    // What "Beenden" does after the finish page.
    bool opened = true;
    finish(
        generation.projectFolder(), generation.projectFile(), request.openProject,
        [] { std::this_thread::sleep_for(std::chrono::seconds(2)); },
        [&](const QString& file) {
            const QString problem = openFile(file);
            opened = problem.isEmpty();
            if (!opened)
                output.message(kNotOpened.arg(file, problem));
            return opened;
        });
    return incomplete || !outcome.notSaved.isEmpty() || !opened ? kProblems : kDone;
}

} // namespace Cli
