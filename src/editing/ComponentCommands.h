#pragma once

#include "catalog/Catalog.h"
#include "catalog/TakeIn.h"

#include <QHash>
#include <QMessageBox>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>

class CheckListDialog;
class QWidget;
class RootUi;
namespace Sync {
enum class State;
struct Project;
} // namespace Sync

// "Hinzufügen", "Aus Projekt übernehmen …", "Löschen" and "Projekt abgleichen …"
// on the component page: they ask and show, and the core (catalog/AddRemove.h,
// catalog/TakeIn.h, sync/Update.h) decides and changes the files.
class ComponentCommands : public QObject
{
    Q_OBJECT
public:
    // `reload` rebuilds the component list from the catalogue and keeps the page.
    ComponentCommands(RootUi& ui, QWidget* window, std::function<void()> reload);

    // Added to a message after another program changed the entry: the list is read anew.
    static inline const QString kReread =
        QStringLiteral(" Die Liste zeigt jetzt die gespeicherten Einträge.");

    void bHinzufuegen_Click();
    void bUebernehmen_Click();
    void bLoeschen_Click();
    void bAbgleichen_Click();

    // The addition after the open-file dialog chose `path`.
    void addFile(const QString& path);
    // Shows the components of the project file at `path` in a dialog that is
    // open when this returns; its OK takes the checked ones in.
    void takeInProject(const QString& path);
    // Shows the project file at `path` compared with the catalogue in a dialog
    // that is open when this returns; its OK updates the checked components.
    void compareProject(const QString& path);

private:
    void tell(QMessageBox::Icon icon, const QString& title, const QString& text);
    // The line the list shows under `name` (letter case ignored), and where its
    // entry pointed when the list was read.
    Catalog::Seen shownEntry(const QString& name) const;
    // The project file the person picks, in the folder of the one picked last.
    QString askForProject(QString& folder);
    // Opened, not run: the window's events go on, and nothing is written before
    // OK. `accepted` runs on OK; the size the person gives it is kept.
    void openDialog(CheckListDialog* dialog, QSize& size,
                    const std::function<void(CheckListDialog*)>& accepted);
    void takeInChosen(const Catalog::Intake& intake, const QList<int>& chosen);
    // The project compared with the catalogue as they are now; false, once said
    // why, when nothing could be compared.
    bool compared(const QString& path, Catalog::Snapshot* catalogue, Sync::Project* project);
    void updateChosen(const QString& path, const QHash<QString, Sync::State>& checked,
                      const QStringList& unchecked);

    RootUi& ui;
    QWidget* m_window;
    std::function<void()> m_reload;
    // Kept while the program runs: each dialog's size as the person left it,
    // and the folder of the project file each command was given last.
    QSize m_takeInSize;
    QString m_projectFolder;
    QSize m_syncSize;
    QString m_syncFolder;
};
