#include "catalog/Membership.h"

#include "catalog/CatalogValues.h"
#include "catalog/References.h"
#include "catalog/Sections.h"
#include "platform/IniDocument.h"

namespace Catalog {

using namespace Section;

QStringList sortList(Ini::Document& document)
{
    const Snapshot catalogue(document);
    const QStringList names = catalogue.sortedNames();
    if (catalogue.beyond().isEmpty()) {
        document.removeSection(kFilelist);
    } else {
        // Entries past the list were put there by hand or by another program;
        // they are not this save's to drop.
        for (int n = kFirstKey; n <= kLastKey; ++n) {
            while (document.removeKey(kFilelist, QString::number(n))) {
            }
        }
    }
    for (qsizetype i = 0; i < names.size() && i < kCapacity; ++i)
        document.setValue(kFilelist, QString::number(kFirstKey + i), names.at(i));
    return names;
}

bool listEntry(Ini::Document& document, int key, const QString& name, const QString& folder,
               const QString& fileName)
{
    return document.setValue(kFilelist, QString::number(key), name) &&
           document.setValue(kFilename, name, fileName) &&
           document.setValue(kFilepath, name, folder);
}

FileIo::Result saveSortedList()
{
    return Ini::edit(file(), [](Ini::Document& document) {
        sortList(document);
        return true;
    });
}

Change addEntry(const QString& name, const QString& folder, const QString& fileName,
                const Seen& seen)
{
    Change change;
    if (!canHoldName(name) || !canHoldValue(folder) || !canHoldValue(fileName)) {
        change.status = Change::Status::Refused;
        return change;
    }
    // Read before the lock is taken: the file is the user's, not the catalogue.
    const QStringList lines = References::linesOfFile(folder + fileName);
    change.result = Ini::edit(file(), [&](Ini::Document& document) {
        if (!document.writable())
            return true; // the save says why
        const Snapshot catalogue(document);
        // Another program may have changed the entry since it was seen.
        if (const Seen now = catalogue.seen(name);
            now.listed != seen.listed || (now.listed && now.place != seen.place)) {
            change.status = now.listed ? Change::Status::Moved : Change::Status::NotListed;
            change.found = now.place;
            return false;
        }
        const int key = catalogue.slotFor(name);
        if (key < 0) {
            change.status = Change::Status::Full;
            return false;
        }
        if (!listEntry(document, key, name, folder, fileName)) {
            change.status = Change::Status::Refused;
            return false;
        }
        change.leftLines = References::setLines(document, name, fileName, lines);
        change.sorted = sortList(document);
        change.status = Change::Status::Done;
        return true;
    });
    if (!change.result.ok()) {
        change.status = Change::Status::Failed;
        change.leftLines.clear();
    }
    return change;
}

QString changedMeanwhileText(const QString& name, const Change& change)
{
    if (change.status == Change::Status::Moved)
        return QStringLiteral("Der Eintrag ''%1'' verweist inzwischen auf ''%2''; ein anderes "
                              "Programm hat die Vorlagenliste geändert.")
            .arg(name, change.found.path());
    return QStringLiteral("Der Eintrag ''%1'' steht inzwischen nicht mehr in der Vorlagenliste; "
                          "ein anderes Programm hat ihn entfernt.")
        .arg(name);
}

Change removeEntry(const QString& name, const std::optional<Place>& seen)
{
    Change change;
    change.result = Ini::edit(file(), [&](Ini::Document& document) {
        if (!document.writable())
            return true; // the save says why
        const Snapshot catalogue(document);
        const int key = catalogue.keyOf(name);
        if (key < 0) {
            change.status = Change::Status::NotListed;
            return false;
        }
        if (const Place now{catalogue.folderOf(name), catalogue.fileNameOf(name)};
            seen && now != *seen) {
            change.status = Change::Status::Moved;
            change.found = now;
            return false;
        }
        document.removeKey(kFilelist, QString::number(key));
        for (const QString& section : {kFilename, kFilepath, kMarked, kCaption})
            document.removeKey(section, name);
        References::removeLines(document, name);
        change.sorted = sortList(document);
        change.status = Change::Status::Done;
        return true;
    });
    if (!change.result.ok())
        change.status = Change::Status::Failed;
    return change;
}

} // namespace Catalog
