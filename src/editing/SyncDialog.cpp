#include "editing/SyncDialog.h"

#include "sync/SyncTexts.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString kBehindNote =
    QStringLiteral("Markierte veraltete Komponenten erhalten die Fassung der Vorlagenliste.");
const QString kConflictNote =
    QStringLiteral(" Von markierten beidseitig geänderten wird sie als ''<Datei>.neu'' daneben "
                   "gelegt; die Datei im Projekt bleibt, wie sie ist.");
const QString kNothingToUpdate =
    QStringLiteral("Keine Komponente kann aktualisiert werden; die Spalte ''Zustand'' sagt bei "
                   "jeder, wie sie steht.");
const QString kRecordNote =
    QStringLiteral("Das Projekt hat keine Aufzeichnung (.vorlagen): Sie wird für die markierten "
                   "gleichen Komponenten angelegt, sonst ändert sich keine Datei.");
const QString kNothingToRecord =
    QStringLiteral("Das Projekt hat keine Aufzeichnung (.vorlagen), und keine seiner "
                   "Komponenten gleicht der Vorlagenliste: Es gibt nichts aufzuzeichnen.");

} // namespace

const QString SyncDialog::kTitle = QStringLiteral("Projekt abgleichen");

SyncDialog::SyncDialog(const Sync::Project& project, QWidget* parent)
    : CheckListDialog(
          {"SyncDialog",
           kTitle,
           project.projectFile,
           {QStringLiteral("Eintrag"), QStringLiteral("Zustand"), QStringLiteral("Datei")},
           QStringLiteral("Komponenten des Projekts"),
           "RHinweis",
           QStringLiteral("&Aktualisieren"),
           "bAktualisieren"},
          int(project.components.size()), parent),
      m_project(project)
{
    for (int row = 0; row < m_project.components.size(); ++row) {
        const Sync::Component& component = m_project.components.at(row);
        m_conflict |= component.state == Sync::State::Conflict;
        QStringList files;
        for (const Sync::UnitFile& file : component.files)
            files << file.projectPath;
        setLine(row, {component.entry, Sync::stateText(component.state), files.value(0)},
                Sync::canBeChosen(component.state), Sync::checkedAtFirst(component.state));
        LKomponenten->item(row, State)->setToolTip(component.reason);
        LKomponenten->item(row, File)->setToolTip(files.join(QLatin1Char('\n')));
    }
    finish(File);
}

QString SyncDialog::keyOf(const Sync::Component& component)
{
    return component.entry + QLatin1Char('\n') +
           (component.files.isEmpty() ? QString() : component.files.first().projectPath);
}

QList<int> SyncDialog::openRows(bool checked) const
{
    QList<int> rows;
    for (int row = 0; row < LKomponenten->rowCount(); ++row) {
        const QTableWidgetItem* item = LKomponenten->item(row, Entry);
        if ((item->flags() & Qt::ItemIsUserCheckable) &&
            (item->checkState() == Qt::Checked) == checked)
            rows << row;
    }
    return rows;
}

QHash<QString, Sync::State> SyncDialog::checkedKeys() const
{
    QHash<QString, Sync::State> keys;
    for (const int row : openRows(true))
        keys.insert(keyOf(m_project.components.at(row)), m_project.components.at(row).state);
    return keys;
}

QStringList SyncDialog::uncheckedKeys() const
{
    QStringList keys;
    for (const int row : openRows(false))
        keys << keyOf(m_project.components.at(row));
    return keys;
}

void SyncDialog::checksChanged()
{
    if (!m_project.recorded)
        RHinweis->setText(firstOpen() >= 0 ? kRecordNote : kNothingToRecord);
    else
        RHinweis->setText(firstOpen() < 0 ? kNothingToUpdate
                                          : kBehindNote + (m_conflict ? kConflictNote : QString()));
    bAktualisieren->setEnabled(!checkedRows().isEmpty());
}
