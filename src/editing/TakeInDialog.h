#pragma once

#include "catalog/TakeIn.h"

#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QPushButton;
class QTableWidget;

// The components of a project file, one line each, for the person to look over
// before they go into the catalogue: only new ones can be checked, and OK waits
// until the checked ones fit. It decides nothing; the plan it shows does.
class TakeInDialog : public QDialog
{
    Q_OBJECT
public:
    TakeInDialog(const Catalog::Intake& intake, QWidget* parent);

    static const QString kTitle;

    // The line under the list: how many still fit, and why OK waits.
    static QString roomText(int free, int checked);

    // The checked lines, as indexes into the plan's candidates.
    QList<int> chosen() const;
    const Catalog::Intake& intake() const { return m_intake; }

    enum Column
    {
        Name,
        Kind,
        Folder,
        State
    };

    QLabel* RProjekt = nullptr;
    QTableWidget* LKomponenten = nullptr;
    QLabel* RPlatz = nullptr;
    QPushButton* bUebernehmen = nullptr;
    QPushButton* bAbbrechen = nullptr;

private:
    void showRoom();

    Catalog::Intake m_intake;
};
