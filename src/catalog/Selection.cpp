#include "catalog/Selection.h"

#include "catalog/ComponentKind.h"

#include <QHash>

namespace Catalog {

namespace {

// The names the copies of one component get in the project folder. A companion
// counts whether or not it exists today: it may be added to the source folder
// before the copy runs.
QStringList copiedNames(const QString& fileName)
{
    if (fileName.isEmpty())
        return {};
    const QStringList companions = companionNames(fileName);
    return companions.isEmpty() ? QStringList{fileName}
                                : QStringList{fileName, companions.constFirst()};
}

} // namespace

QString selectionProblem(const Snapshot& catalogue, const QStringList& checkedEntries)
{
    if (checkedEntries.isEmpty())
        return kNothingChecked;
    struct Owner
    {
        QString entry;
        QString spelling;
    };
    // Keyed by the case-folded name: Windows, where the project is opened,
    // does not tell Module1.bas from MODULE1.BAS.
    QHash<QString, Owner> owners;
    for (const QString& entry : checkedEntries) {
        const QString fileName = catalogue.fileNameOf(entry);
        switch (Catalog::unwritableInProject(entry, fileName)) {
        case Catalog::Unwritable::EntryName:
            return kEntryNameOutsideCodePage.arg(entry);
        case Catalog::Unwritable::FileName:
            return kFileNameOutsideCodePage.arg(entry, fileName);
        case Catalog::Unwritable::None:
            break;
        }
        for (const QString& copied : copiedNames(fileName)) {
            const QString key = copied.toCaseFolded();
            const auto it = owners.constFind(key);
            if (it != owners.cend() && it->entry != entry)
                return kSameFile.arg(it->entry, entry, it->spelling);
            owners.insert(key, {entry, copied});
        }
    }
    return {};
}

QString copyRefusal(const QString& fileName)
{
    if (fileName.isEmpty())
        return kNoFileName;
    if (fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\')) ||
        fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        return kBadFileName;
    return {};
}

} // namespace Catalog
