#pragma once

#include "catalog/TakeIn.h"
#include "editing/CheckListDialog.h"

#include <QList>
#include <QString>

// The components of a project file, one line each, for the person to look over
// before they go into the catalogue: only new ones can be checked, and OK waits
// until the checked ones fit. It decides nothing; the plan it shows does.
class TakeInDialog : public CheckListDialog
{
    Q_OBJECT
public:
    TakeInDialog(const Catalog::Intake& intake, QWidget* parent);

    static const QString kTitle;
    // Under the list when no line can be checked.
    static const QString kNothingToTakeIn;

    // The line under the list: how many still fit, and why OK waits.
    static QString roomText(int free, int checked);

    // The checked lines, as indexes into the plan's candidates.
    QList<int> chosen() const;
    const Catalog::Intake& intake() const { return m_intake; }

    enum Column
    {
        Name,
        Kind,
        File, // the file on disk, or the path as the project names it
        State
    };

    QLabel* const RPlatz = m_note; // the line under the list
    QPushButton* const bUebernehmen = m_ok;

private:
    void checksChanged() override;

    Catalog::Intake m_intake;
};
