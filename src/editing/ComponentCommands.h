#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>

#include <functional>

class QWidget;
class RootUi;

// "Hinzufügen" and "Löschen" on the component page: adding a component file to
// the catalogue and removing the current entry from it.
class ComponentCommands : public QObject
{
    Q_OBJECT
public:
    // `reload` rebuilds the component list from the catalogue and keeps the page.
    ComponentCommands(RootUi& ui, QWidget* window, std::function<void()> reload);

    void bHinzufuegen_Click();
    void bLoeschen_Click();

    // The addition after the open-file dialog chose `path`.
    void addFile(const QString& path);

private:
    void tell(QMessageBox::Icon icon, const QString& title, const QString& text);

    RootUi& ui;
    QWidget* m_window;
    std::function<void()> m_reload;
};
