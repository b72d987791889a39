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
    // Under the list when no line can be checked.
    static const QString kNothingToTakeIn;

    // The line under the list: how many still fit, and why OK waits.
    static QString roomText(int free, int checked);

    // The checked lines, as indexes into the plan's candidates.
    QList<int> chosen() const;
    const Catalog::Intake& intake() const { return m_intake; }

    // The lines the list has room for at its first size.
    static constexpr int kShownLines = 20;

    enum Column
    {
        Name,
        Kind,
        File, // the file on disk, or the path as the project names it
        State
    };

    QLabel* RProjekt = nullptr;
    QTableWidget* LKomponenten = nullptr;
    QLabel* RPlatz = nullptr;
    QPushButton* bUebernehmen = nullptr;
    QPushButton* bAbbrechen = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followChecks();
    QSize firstSize() const;

    Catalog::Intake m_intake;
    bool m_open = false; // some line can be checked
};
