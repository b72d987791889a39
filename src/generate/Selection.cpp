#include "generate/Selection.h"

#include "catalog/Catalog.h"
#include "platform/Ansi.h"

#include <QHash>

namespace Generate {

namespace {

// The names the copies of one component get in the project folder. A companion
// counts whether or not it exists today: it may be added to the source folder
// before the copy runs.
QStringList copiedNames(const QString& fileName)
{
    if (fileName.isEmpty())
        return {};
    const QString kind = fileName.right(3).toLower();
    const QString stem = fileName.left(fileName.size() - 3);
    if (kind == QLatin1String("frm"))
        return {fileName, stem + QStringLiteral("frx")};
    if (kind == QLatin1String("ctl"))
        return {fileName, stem + QStringLiteral("ctx")};
    return {fileName};
}

// Forms (as the start form), modules and classes put the entry name into the
// project files; the other kinds only their file name.
bool namesEntry(const QString& fileName)
{
    const QString kind = fileName.right(3).toLower();
    return kind == QLatin1String("frm") || kind == QLatin1String("bas") ||
           kind == QLatin1String("cls");
}

} // namespace

QString selectionProblem(const QStringList& checkedEntries)
{
    struct Owner
    {
        QString entry;
        QString spelling;
    };
    // Keyed by the case-folded name: Windows, where the project is opened,
    // does not tell Module1.bas from MODULE1.BAS.
    QHash<QString, Owner> owners;
    for (const QString& entry : checkedEntries) {
        const QString fileName = Catalog::fileNameOf(entry);
        if (namesEntry(fileName) && !Ansi::fits(entry))
            return kEntryNameOutsideCodePage.arg(entry);
        if (!Ansi::fits(fileName))
            return kFileNameOutsideCodePage.arg(entry, fileName);
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

} // namespace Generate
