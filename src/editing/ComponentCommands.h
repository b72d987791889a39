#pragma once

#include "catalog/Catalog.h"
#include "catalog/TakeIn.h"

#include <QMessageBox>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>

class QWidget;
class RootUi;

// "Hinzufügen", "Aus Projekt übernehmen …" and "Löschen" on the component page:
// they ask and show, and the catalogue's core (catalog/AddRemove.h,
// catalog/TakeIn.h) decides and changes the file.
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

    // The addition after the open-file dialog chose `path`.
    void addFile(const QString& path);
    // Shows the components of the project file at `path` in a dialog that is
    // open when this returns; its OK takes the checked ones in.
    void takeInProject(const QString& path);

private:
    void tell(QMessageBox::Icon icon, const QString& title, const QString& text);
    // The line the list shows under `name` (letter case ignored), and where its
    // entry pointed when the list was read.
    Catalog::Seen shownEntry(const QString& name) const;
    void takeInChosen(const Catalog::Intake& intake, const QList<int>& chosen);

    RootUi& ui;
    QWidget* m_window;
    std::function<void()> m_reload;
    // Kept while the program runs: the take-in dialog's size as the person left
    // it, and the folder of the project file chosen last.
    QSize m_takeInSize;
    QString m_projectFolder;
};
