#include "catalog/AddRemove.h"

#include "catalog/ComponentFile.h"
#include "catalog/ComponentKind.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"
#include "platform/PathParts.h"

namespace Catalog {

namespace {

const QString kModule1 = QStringLiteral("Module1");
const QString kNotAdded = QStringLiteral("Die Komponente wurde nicht hinzugefügt.");

QString notRemovedText(const QString& name)
{
    return QStringLiteral("Die Komponente ''%1'' wurde nicht entfernt.").arg(name);
}

// A path far wider than a message box is shown by its beginning and its end.
QString shownPath(const QString& path)
{
    constexpr qsizetype kShown = 80;
    if (path.size() <= kShown)
        return path;
    return path.left(kShown / 2 - 3) + QStringLiteral("...") + path.right(kShown / 2);
}

QString unholdableText(const QString& path, const QString& problem)
{
    return QStringLiteral(
               "Die Datei ''%1'' kann nicht in die Vorlagenliste aufgenommen werden:\n%2")
        .arg(shownPath(path), problem);
}

// A folder, pipe, dangling link or link loop is no component; a file that merely
// cannot be read is listed under its file name.
bool isNoFile(int error)
{
    return error == FileIo::kNotRegular || error == EISDIR || error == ENOENT || error == ENOTDIR ||
           error == ELOOP;
}

} // namespace

QString fullText()
{
    return QStringLiteral("Die Vorlagenliste ist voll: Sie enthält bereits %1 Komponenten. "
                          "Entfernen Sie zuerst eine Komponente.")
        .arg(kCapacity);
}

QString unrememberedText(const QString& name, const QStringList& lines)
{
    return QStringLiteral("Diese Verweise von ''%1'' konnten nicht in der Vorlagenliste "
                          "gespeichert werden; neue Projekte erhalten sie nicht:\n%2")
        .arg(name, lines.join(QLatin1Char('\n')));
}

QString componentProblem(const QString& name, const QString& folder, const QString& fileName)
{
    if (const Kind owner = companionOf(fileName); owner != Kind::Other) {
        const QStringList owners = ownerNames(fileName);
        for (const QString& candidate : owners) {
            if (FileExists(folder + candidate))
                return QStringLiteral("Sie gehört zum %1 ''%2'' daneben und wird mit ihm in neue "
                                      "Projekte kopiert. Nehmen Sie stattdessen ''%2'' auf.")
                    .arg(label(owner), candidate);
        }
        return QStringLiteral("Sie gehört zu einem %1 (%2) und wird nur mit ihm in neue Projekte "
                              "kopiert; allein ist sie keine Komponente.")
            .arg(label(owner), owners.constFirst().right(4).toLower());
    }
    if (const QString problem = entryProblem(name, folder, fileName); !problem.isEmpty())
        return problem;
    switch (unwritableInProject(name, fileName)) {
    case Unwritable::EntryName:
        return QStringLiteral("Der Name ''%1'', unter dem sie aufgeführt würde, enthält Zeichen "
                              "außerhalb des Windows-Zeichensatzes (Windows-1252). Er steht in "
                              "der Projektdatei (in der Zeile Form=, Module= oder Class= und als "
                              "Startformular), die ihn so nicht aufnehmen kann.")
            .arg(name);
    case Unwritable::FileName:
        return QStringLiteral("Ihr Dateiname enthält Zeichen außerhalb des Windows-Zeichensatzes "
                              "(Windows-1252). Er steht in der Projektdatei, die ihn so nicht "
                              "aufnehmen kann.");
    case Unwritable::None:
        break;
    }
    return {};
}

EntryName entryNameOf(const QString& fileName, const QByteArray& bytes)
{
    EntryName entry;
    entry.internal = ComponentFile::internalName(bytes);
    if (!canHoldName(entry.internal))
        entry.internal.clear();
    const QString base = fileName.left(fileName.size() - 4);
    entry.repair = entry.internal == kModule1 && kindOf(fileName) == Kind::Module &&
                   base != kModule1 && canHoldName(base) &&
                   !ComponentFile::renamedModule(bytes, base).isEmpty();
    entry.name = entry.repair                ? base
                 : !entry.internal.isEmpty() ? entry.internal
                                             : fileName.section(QLatin1Char('.'), 0, 0);
    return entry;
}

AddPlan prepareAddition(const QString& path, const Shown& shown)
{
    AddPlan plan;
    plan.path = path;
    plan.fileName = FileNameOfPath(path);
    plan.folder = FolderOfPath(path);

    QByteArray bytes;
    const FileIo::Result read = FileIo::readRegularFile(path, &bytes, ComponentFile::kMaxSize);
    if (isNoFile(read.error())) {
        plan.refusal =
            QStringLiteral("''%1'' kann nicht hinzugefügt werden:\n%2").arg(path, read.reason());
        return plan;
    }

    if (!read)
        bytes.clear();
    const EntryName planned = entryNameOf(plan.fileName, bytes);
    if (const QString problem = componentProblem(planned.name, plan.folder, plan.fileName);
        !problem.isEmpty()) {
        plan.refusal = unholdableText(path, problem);
        return plan;
    }
    // Nothing is touched for an entry that has no room.
    const Snapshot catalogue = Snapshot::read();
    if (catalogue.slotFor(planned.name) < 0) {
        plan.refusal = fullText();
        return plan;
    }

    plan.name = planned.name;
    if (planned.repair) {
        plan.repairProblem = ComponentFile::repairModule(path, bytes, planned.name);
        plan.renamed = plan.repairProblem.isEmpty();
        // A module not renamed keeps its internal name.
        if (!plan.renamed)
            plan.name = planned.internal;
    }
    plan.existing = shown ? shown(plan.name) : catalogue.seen(plan.name);
    if (read && ComponentFile::refersToCompanion(bytes))
        plan.missingCompanion = missingCompanion(plan.folder, plan.fileName);
    return plan;
}

Change add(const AddPlan& plan, bool overwrite)
{
    if (!plan.refusal.isEmpty()) {
        Change change;
        change.status = Change::Status::Refused;
        return change;
    }
    if (plan.existing.listed && !overwrite) {
        Change change;
        change.status = Change::Status::Exists;
        return change;
    }
    return addEntry(plan.name, plan.folder, plan.fileName, plan.existing);
}

QString duplicateQuestion()
{
    return QStringLiteral("Das Formular oder Module ist bereits in der Liste vorhanden. \n"
                          "Möchten Sie den aktuellen Eintrag überschreiben ?");
}

QString removeQuestion(const QString& name)
{
    return QStringLiteral("Die Einträge werden als Vorlage bei neuen Visual Basic Projekten "
                          "verwendet. Wenn Sie Module oder Formulare löschen, können diese Module "
                          "bei dem nächsten Projekte nicht mehr ausgewählt werden.\n \n"
                          "Möchten Sie ''") +
           name + QStringLiteral("'' aus der Datenbank entfernen ? ");
}

QString renamedText(const QString& fileName)
{
    return QStringLiteral("Die interne Bezeichnung des Moduls wurde in den Dateinamen geändert.    "
                          "\nEine Sicherung wurde unter ''") +
           fileName + QStringLiteral(".bak'' angelegt.");
}

QString companionText(const AddPlan& plan)
{
    return companionMissingText(plan.fileName, plan.missingCompanion);
}

QString additionFailedText(const AddPlan& plan, const Change& change)
{
    switch (change.status) {
    case Change::Status::Done:
        return {};
    case Change::Status::Full:
        return fullText();
    case Change::Status::Exists:
        return QStringLiteral("Das Formular oder Module ist bereits in der Liste vorhanden. ") +
               kNotAdded;
    case Change::Status::NotListed:
    case Change::Status::Moved:
        return changedMeanwhileText(plan.name, change) + QLatin1Char('\n') + kNotAdded;
    case Change::Status::Refused:
        return !plan.refusal.isEmpty()
                   ? plan.refusal
                   : unholdableText(plan.path, entryProblem(plan.name, plan.folder, plan.fileName));
    case Change::Status::Failed:
        return notSavedText(kNotAdded, change.result);
    }
    return {};
}

QString removalFailedText(const QString& name, const Change& change,
                          const std::optional<Place>& seen)
{
    switch (change.status) {
    case Change::Status::Done:
        return {};
    case Change::Status::NotListed:
        if (!seen)
            return notListedText(name);
        [[fallthrough]];
    case Change::Status::Moved:
        return changedMeanwhileText(name, change) + QLatin1Char('\n') + notRemovedText(name);
    case Change::Status::Failed:
        return notSavedText(notRemovedText(name), change.result);
    case Change::Status::Full:
    case Change::Status::Exists:
    case Change::Status::Refused:
        break;
    }
    return notRemovedText(name);
}

} // namespace Catalog
