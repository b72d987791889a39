#include "catalog/AddRemove.h"
#include "cli/Commands.h"
#include "cli/Texts.h"

namespace Cli {

QString AddCommand::description() const
{
    return QStringLiteral("Nimmt Komponentendateien in die Vorlagenliste auf, jede mit einer "
                          "eigenen Speicherung. Neue Projekte erhalten .frm (mit .frx) als Form=, "
                          ".bas als Module=, .cls als Class=, .ctl (mit .ctx) als UserControl= "
                          "und .res als ResFile32=; andere Dateien werden nur kopiert. Eine .frx "
                          "oder .ctx allein wird abgelehnt.");
}

QList<QCommandLineOption> AddCommand::options() const
{
    return {overwriteOption()};
}

int AddCommand::execute(const Arguments& arguments, Output& output)
{
    const bool overwrite = arguments.isSet(overwriteOption().names().first());
    int added = 0;
    // The window's steps, with --ueberschreiben as the answer to its question.
    for (const QString& path : arguments.values) {
        // Of many files, each message names the one it is about, as given.
        const auto say = [&](const QString& text) {
            output.message(path + QStringLiteral(": ") + text);
        };
        const Catalog::AddPlan plan = Catalog::prepareAddition(fromWorkingFolder(path));
        if (!plan.refusal.isEmpty()) {
            say(plan.refusal);
            continue;
        }
        if (!plan.repairProblem.isEmpty())
            say(plan.repairProblem);
        const Catalog::Change change = Catalog::add(plan, overwrite);
        if (change.status != Catalog::Change::Status::Done) {
            QString text = Catalog::additionFailedText(plan, change);
            if (change.status == Catalog::Change::Status::Exists)
                text += QLatin1Char('\n') + kNotOverwritten;
            say(text);
            continue;
        }
        ++added;
        say(kAdded.arg(plan.name));
        if (plan.renamed)
            say(Catalog::renamedText(plan.fileName));
        if (!plan.missingCompanion.isEmpty())
            say(Catalog::companionText(plan));
        if (!change.leftLines.isEmpty())
            say(Catalog::unrememberedText(plan.name, change.leftLines));
    }
    const qsizetype given = arguments.values.size();
    return added == given ? kDone : added > 0 ? kProblems : kNothingDone;
}

} // namespace Cli
