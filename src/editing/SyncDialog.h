#pragma once

#include "editing/CheckListDialog.h"
#include "sync/Comparison.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A project compared with the catalogue, one line per component with its state,
// for the person to choose what is brought up to date: what is behind starts
// checked, what changed on both sides can be checked, nothing else can. It
// decides nothing; the comparison it shows does.
class SyncDialog : public CheckListDialog
{
    Q_OBJECT
public:
    SyncDialog(const Sync::Project& project, QWidget* parent);

    static const QString kTitle;

    enum Column
    {
        Entry,
        State,
        File // the component file in the project; its companion in the tooltip
    };

    // A component as the dialog knows it, the same in a later comparison of the
    // same files.
    static QString keyOf(const Sync::Component& component);
    // The lines checked, by key, with the state they were shown in; and those
    // that could have been checked and were not.
    QHash<QString, Sync::State> checkedKeys() const;
    QStringList uncheckedKeys() const;

    QLabel* const RHinweis = m_note; // the line under the list
    QPushButton* const bAktualisieren = m_ok;

private:
    void checksChanged() override;
    // The lines that can be checked and are, or are not.
    QList<int> openRows(bool checked) const;

    Sync::Project m_project;
    bool m_conflict = false; // some line changed on both sides
};
