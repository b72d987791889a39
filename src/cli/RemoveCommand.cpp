#include "catalog/AddRemove.h"
#include "cli/Commands.h"
#include "cli/Texts.h"

namespace Cli {

QString RemoveCommand::description() const
{
    return QStringLiteral("Nimmt die Einträge aus der Vorlagenliste (Groß- und Kleinschreibung "
                          "zählt nicht); die Dateien bleiben.");
}

int RemoveCommand::execute(const Arguments& arguments, Output& output)
{
    // Every name is looked up before the first removal: a name that is not
    // listed leaves the catalogue as it is.
    QStringList listed;
    bool unknown = false;
    for (const QString& given : arguments.values) {
        const QString found = arguments.catalogue.listedAs(given);
        if (found.isEmpty()) {
            output.message(Catalog::notListedText(given, arguments.catalogue));
            unknown = true;
        }
        listed << found;
    }
    if (unknown)
        return kNothingDone;

    int removed = 0;
    for (const QString& name : std::as_const(listed)) {
        // One gone meanwhile, or named twice, is said as not listed.
        const Catalog::Change change = Catalog::removeEntry(name);
        if (change.status == Catalog::Change::Status::Done)
            ++removed;
        output.message(change.status == Catalog::Change::Status::Done
                           ? kRemoved.arg(name)
                           : Catalog::removalFailedText(name, change, {}));
    }
    return removed == listed.size() ? kDone : removed > 0 ? kProblems : kNothingDone;
}

} // namespace Cli
