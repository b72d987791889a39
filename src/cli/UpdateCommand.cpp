#include "cli/Commands.h"
#include "cli/SignalsStop.h"
#include "cli/Texts.h"
#include "platform/Ansi.h"
#include "sync/SyncTexts.h"
#include "sync/Update.h"

namespace Cli {

QString UpdateCommand::description() const
{
    return QStringLiteral(
        "Bringt die veralteten Komponenten des Projekts auf den Stand der Vorlagenliste, oder "
        "nur die mit --komponente genannten. Von beidseitig geänderten wird die Fassung der "
        "Vorlagenliste als <Datei>.neu daneben gelegt; im Projekt geänderte und gelöschte "
        "bleiben, wie sie sind. Ein Projekt ohne Aufzeichnung (.vorlagen) erhält eine für "
        "seine Komponenten, die denen der Vorlagenliste gleichen, und sonst keine Änderung. "
        "Strg+C, SIGTERM und SIGHUP nehmen alles zurück.");
}

int UpdateCommand::execute(const Arguments& arguments, Output& output)
{
    Sync::Comparer comparer(arguments.catalogue);
    const Sync::Project project = comparer.compare(fromWorkingFolder(arguments.values.first()));
    if (const QString problem = Sync::nothingComparedText(project); !problem.isEmpty()) {
        output.message(problem);
        return kNothingDone;
    }
    const QString component = componentOption().names().first();
    QStringList entries;
    for (const Sync::Component& c : project.components)
        entries << c.entry;
    QList<int> chosen;
    if (!namedIndexes(arguments, entries, output, &chosen))
        return kNothingDone;
    for (int i = 0; i < project.components.size() && !arguments.isSet(component); ++i) {
        // Without a record every component is looked at: the equal ones are recorded.
        if (!project.recorded || Sync::wantsUpdate(project.components.at(i).state))
            chosen << i;
    }

    Sync::Update update(project, comparer.catalogue(), chosen);
    if (arguments.isSet(previewOption().names().first())) {
        const Sync::Preview preview = update.preview();
        QString text;
        for (const auto& [source, target] : preview.copies)
            text += kPreviewCopy.arg(source, target) + QLatin1Char('\n');
        if (!preview.projectFile.isEmpty())
            text += kPreviewFile.arg(project.projectFile) +
                    Ansi::decode(preview.projectFile).replace(QStringLiteral("\r\n"), "\n");
        output.data(text);
        output.message(kPreviewOutcome + QLatin1Char('\n') + Sync::summaryText(preview.outcome));
        return kDone;
    }
    Sync::Outcome outcome;
    {
        const SignalsStop signalsStop([](void* run) { static_cast<Sync::Update*>(run)->stop(); },
                                      &update);
        outcome = update.run();
    }
    output.message(Sync::summaryText(outcome));
    if (outcome.stopped)
        return kNothingDone;
    const bool all = std::all_of(outcome.results.cbegin(), outcome.results.cend(),
                                 [](const Sync::Result& result) { return result.wentIn(); });
    return all && outcome.failures.isEmpty() ? kDone : kProblems;
}

} // namespace Cli
