#include "catalog/Catalog.h"
#include "cli/Commands.h"
#include "cli/Texts.h"
#include "platform/IniDocument.h"

namespace Cli {

QString RemoveCommand::description() const
{
    return QStringLiteral("Nimmt die Einträge aus der Vorlagenliste (Groß- und Kleinschreibung "
                          "zählt nicht); die Dateien bleiben.");
}

int RemoveCommand::execute(const Arguments& arguments, Output& output)
{
    QByteArray bytes;
    if (const FileIo::Result read = readCatalogue(&bytes); !read) {
        output.message(kCatalogueUnreadable.arg(Catalog::file(), read.reason()));
        return kNothingDone;
    }
    // Every name is looked up before the first removal: a name that is not
    // listed leaves the catalogue as it is.
    const Catalog::Snapshot catalogue(Ini::Document::fromBytes(bytes));
    QStringList listed;
    bool unknown = false;
    for (const QString& given : arguments.values) {
        QString found;
        for (const Catalog::Listed& entry : catalogue.enumerate()) {
            if (entry.name.compare(given, Qt::CaseInsensitive) == 0) {
                found = entry.name;
                break;
            }
        }
        if (found.isEmpty()) {
            output.message(kNotListed.arg(given));
            unknown = true;
        }
        listed << found;
    }
    if (unknown)
        return kNothingDone;

    int removed = 0;
    for (const QString& name : std::as_const(listed)) {
        const Catalog::Change change = Catalog::removeEntry(name);
        switch (change.status) {
        case Catalog::Change::Status::Done:
            ++removed;
            output.message(kRemoved.arg(name));
            break;
        case Catalog::Change::Status::Failed:
            output.message(kNotSaved.arg(Catalog::file(), change.result.reason()) +
                           QLatin1Char('\n') + kNotRemoved.arg(name));
            break;
        case Catalog::Change::Status::NotListed: // gone meanwhile, or named twice
        case Catalog::Change::Status::Full:
        case Catalog::Change::Status::Refused:
        case Catalog::Change::Status::Exists:
        case Catalog::Change::Status::Moved:
            output.message(kNotListed.arg(name));
            break;
        }
    }
    return removed == listed.size() ? kDone : removed > 0 ? kProblems : kNothingDone;
}

} // namespace Cli
