#pragma once

#include "catalog/Catalog.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QListWidgetItem;
class QWidget;
class RootUi;

// The component list's behaviour on the component page: the start form's
// protection, the description of the current line, Enter and the right button.
class ComponentPage : public QObject
{
    Q_OBJECT
public:
    ComponentPage(RootUi& ui, QWidget* window);

    // Asked before the root form is unchecked.
    static inline const QString kRootQuestion =
        QStringLiteral("Die Komponente ''Root'' wird als Startformular für das Projekt benötigt. \n"
                       "Zudem kann ohne Formulare die Anwendung nicht kompeliert werden.\n \n"
                       "Möchten Sie dieses Formular wirklich aus der Auswahl entfernen ?");

    // Shows the current entry's description and refreshes the list's tip.
    void LDateien_Click();

    // Edits the current entry's description in the description dialog.
    void RCaption_DblClick();

    // Where a line's entry pointed when the list was read: kept on the line, so
    // a change can tell whether another program changed the entry since.
    static void setPlace(QListWidgetItem* item, const Catalog::Place& place);
    static std::optional<Catalog::Place> placeOf(const QListWidgetItem* item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LDateien_ItemCheck(QListWidgetItem* item);
    // The list's tip follows the description of its current line.
    void tooltipRefresh();
    QString currentEntry() const;

    RootUi& ui;
    QWidget* m_window;
    // The filter only compares with these, as plain objects: the list's own
    // destruction sends events here when it is no longer a list.
    QPointer<QObject> m_list;
    QPointer<QObject> m_viewport;
};
