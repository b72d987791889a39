#include "editing/ComponentCommands.h"

#include "catalog/Catalog.h"
#include "desktop/Desktop.h"
#include "desktop/ListFind.h"
#include "editing/ComponentFile.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"
#include "platform/PathParts.h"
#include "ui/RootUi.h"

#include <QListWidget>

#include <utility>

namespace {

const QString kOpenTitle = QStringLiteral("Öffnen ...");
const QString kOpenFilter = QStringLiteral(
    "Alle Visual Basic Dateitypen|*.frm;*.bas;*.ctl;*.res|Formulare (*.frm)|*.frm|Module "
    "(*.bas)|*.bas|Benutzersteuerelemente (*.ctl)|*.ctl|Verbundene Dokumente "
    "(*.res)|*.res|Alle Dateitypen (*.*)|*.*");
const QString kAddTitle = QStringLiteral(" Formulare/Module hinzufügen");
const QString kRemoveTitle = QStringLiteral(" Formulare/Module entfernen");
const QString kDuplicate =
    QStringLiteral("Das Formular oder Module ist bereits in der Liste vorhanden. \n"
                   "Möchten Sie den aktuellen Eintrag überschreiben ?");
const QString kFull = QStringLiteral("Die Vorlagenliste ist voll: Sie enthält bereits %1 "
                                     "Komponenten. Entfernen Sie zuerst eine Komponente.")
                          .arg(Catalog::kCapacity);
const QString kModule1 = QStringLiteral("Module1");

QString renamedText(const QString& fileName)
{
    return QStringLiteral("Die interne Bezeichnung des Moduls wurde in den Dateinamen geändert.    "
                          "\nEine Sicherung wurde unter ''") +
           fileName + QStringLiteral(".bak'' angelegt.");
}

QString removeQuestion(const QString& name)
{
    return QStringLiteral("Die Einträge werden als Vorlage bei neuen Visual Basic Projekten "
                          "verwendet. Wenn Sie Module oder Formulare löschen, können diese Module "
                          "bei dem nächsten Projekte nicht mehr ausgewählt werden.\n \n"
                          "Möchten Sie ''") +
           name + QStringLiteral("'' aus der Datenbank entfernen ? ");
}

QString notAddedText(const QString& path, const QString& reason)
{
    return QStringLiteral("''%1'' kann nicht hinzugefügt werden:\n%2").arg(path, reason);
}

QString unholdableText(const QString& path)
{
    return QStringLiteral("Die Datei ''%1'' kann nicht in die Vorlagenliste aufgenommen werden: "
                          "Ihr Name oder Ordner lässt sich dort nicht speichern.")
        .arg(path);
}

QString unsavedText(const QString& reason, const QString& outcome)
{
    return QStringLiteral("Die Vorlagenliste ''%1'' konnte nicht gespeichert werden:\n%2\n%3")
        .arg(Catalog::file(), reason, outcome);
}

QString companionText(const QString& fileName, const QString& companion)
{
    return QStringLiteral("Die Datei ''%1'' verweist auf ''%2'', die nicht neben ihr liegt.\n"
                          "Projekte mit dieser Komponente lassen sich so in Visual Basic nicht "
                          "laden.")
        .arg(fileName, companion);
}

// A folder, pipe, dangling link or link loop is no component; a file that merely
// cannot be read is listed under its file name.
bool isNoFile(int error)
{
    return error == FileIo::kNotRegular || error == EISDIR || error == ENOENT || error == ENOTDIR ||
           error == ELOOP;
}

// The companion a form or user control needs beside it, as the generation looks
// for it ("Haupt.frx" or "Haupt.FRX"); empty when there is one or none is needed.
QString missingCompanion(const QString& folder, const QString& fileName)
{
    const QStringList names = Catalog::companionNames(fileName);
    for (const QString& name : names) {
        if (FileExists(folder + name))
            return {};
    }
    return names.isEmpty() ? QString() : names.first();
}

} // namespace

ComponentCommands::ComponentCommands(RootUi& rootUi, QWidget* window, std::function<void()> reload)
    : QObject(window), ui(rootUi), m_window(window), m_reload(std::move(reload))
{
}

void ComponentCommands::tell(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    desktop().message(m_window, icon, title, text, QMessageBox::Ok);
}

void ComponentCommands::bHinzufuegen_Click()
{
    const QString path = desktop().openFileName(m_window, kOpenTitle, kOpenFilter);
    if (path.isEmpty())
        return;
    addFile(path);
}

void ComponentCommands::addFile(const QString& path)
{
    const QString fileName = FileNameOfPath(path);
    const QString folder = FolderOfPath(path);
    const auto done = [this] {
        ui.LDateien->setFocus();
        DoEvents();
    };

    QByteArray bytes;
    const FileIo::Result read = FileIo::readRegularFile(path, &bytes, ComponentFile::kMaxSize);
    if (isNoFile(read.error())) {
        tell(QMessageBox::Warning, kAddTitle, notAddedText(path, read.reason()));
        return done();
    }

    // The entry name: the internal name when the catalogue can hold it, else the
    // file name up to its first dot.
    QString name = read ? ComponentFile::internalName(bytes) : QString();
    if (!Catalog::canHoldName(name))
        name.clear();
    const QString stem = fileName.section(QLatin1Char('.'), 0, 0);
    const QString base = fileName.left(fileName.size() - 4);
    QByteArray renamedBytes;
    if (name == kModule1 && fileName.endsWith(QLatin1String(".bas"), Qt::CaseInsensitive) &&
        base != kModule1 && Catalog::canHoldName(base))
        renamedBytes = ComponentFile::renamedModule(bytes, base);
    const QString planned = !renamedBytes.isEmpty() ? base : !name.isEmpty() ? name : stem;
    if (!Catalog::canHoldName(planned) || !Catalog::canHoldValue(folder) ||
        !Catalog::canHoldValue(fileName)) {
        tell(QMessageBox::Warning, kAddTitle, unholdableText(path));
        return done();
    }
    // Nothing is touched for an entry that has no room.
    if (Catalog::Snapshot::read().slotFor(planned) < 0) {
        tell(QMessageBox::Warning, kAddTitle, kFull);
        return done();
    }

    // The module's file is the user's: the backup must be complete before the
    // file is replaced, and a failure keeps the old name.
    bool renamed = false;
    if (!renamedBytes.isEmpty()) {
        const QString backup = path + QStringLiteral(".bak");
        if (const FileIo::Result saved = FileIo::writeFileAtomically(backup, bytes); !saved) {
            tell(QMessageBox::Warning, kAddTitle,
                 QStringLiteral("Die Sicherung ''%1'' konnte nicht angelegt werden:\n%2\n"
                                "Die interne Bezeichnung des Moduls wurde nicht geändert.")
                     .arg(backup, saved.reason()));
        } else if (const FileIo::Result rewritten = FileIo::writeFileAtomically(path, renamedBytes);
                   !rewritten) {
            tell(QMessageBox::Warning, kAddTitle,
                 QStringLiteral("Die Datei ''%1'' konnte nicht geändert werden:\n%2\n"
                                "Die interne Bezeichnung des Moduls bleibt ''Module1''.")
                     .arg(path, rewritten.reason()));
        } else {
            renamed = true;
            name = base;
        }
    }
    if (name.isEmpty())
        name = stem;
    const auto finish = [&] {
        if (renamed)
            tell(QMessageBox::Information, kAddTitle, renamedText(fileName));
        done();
    };

    bool overwrite = false;
    if (ListFind(ui.LDateien, name, -1, false) >= 0) {
        if (desktop().message(m_window, QMessageBox::Warning, kAddTitle, kDuplicate,
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            ListFind(ui.LDateien, name, -1, true);
            return finish();
        }
        // Letter case does not tell entries apart: the existing one is replaced.
        for (int i = 0; i < ui.LDateien->count() && !overwrite; ++i) {
            ui.LDateien->setCurrentRow(i);
            overwrite = ui.LDateien->item(i)->text().compare(name, Qt::CaseInsensitive) == 0;
        }
    }

    const Catalog::Change change = Catalog::addEntry(name, folder, fileName);
    switch (change.status) {
    case Catalog::Change::Status::Done:
        break;
    case Catalog::Change::Status::Full:
        tell(QMessageBox::Warning, kAddTitle, kFull);
        return finish();
    case Catalog::Change::Status::Refused:
    case Catalog::Change::Status::NotListed:
        tell(QMessageBox::Warning, kAddTitle, unholdableText(path));
        return finish();
    case Catalog::Change::Status::Failed:
        tell(QMessageBox::Warning, kAddTitle,
             unsavedText(change.result.reason(),
                         QStringLiteral("Die Komponente wurde nicht hinzugefügt.")));
        return finish();
    }
    if (!overwrite) {
        auto* item = new QListWidgetItem(name);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        ui.LDateien->addItem(item);
    }

    DoEvents();
    ui.LSorted->clear();
    ui.LSorted->addItems(change.sorted);
    m_reload();
    ListFind(ui.LDateien, name, -1, true);
    DoEvents();

    if (renamed)
        tell(QMessageBox::Information, kAddTitle, renamedText(fileName));
    if (read) {
        const QString companion = missingCompanion(folder, fileName);
        if (!companion.isEmpty() && ComponentFile::refersToCompanion(bytes))
            tell(QMessageBox::Information, kAddTitle, companionText(fileName, companion));
    }
    done();
}

void ComponentCommands::bLoeschen_Click()
{
    const int row = ui.LDateien->currentRow();
    if (row < 0 || !ui.LDateien->item(row))
        return;
    const QString name = ui.LDateien->item(row)->text();
    if (desktop().message(m_window, QMessageBox::Warning, kRemoveTitle, removeQuestion(name),
                          QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Cancel)
        return;

    const Catalog::Change change = Catalog::removeEntry(name);
    if (change.status == Catalog::Change::Status::Failed) {
        tell(QMessageBox::Warning, kRemoveTitle,
             unsavedText(change.result.reason(),
                         QStringLiteral("Die Komponente wurde nicht entfernt.")));
        return;
    }
    if (change.status != Catalog::Change::Status::Done)
        return;
    if (row < ui.LDateien->count() && ui.LDateien->item(row)->text() == name)
        delete ui.LDateien->takeItem(row);
    DoEvents();
    ui.LSorted->clear();
    ui.LSorted->addItems(change.sorted);
    ui.LDateien->setFocus();
}
