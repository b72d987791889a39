#pragma once

#include "editing/CheckListDialog.h"

#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QTest>

// The lines of a dialog with a check box per line, as a test reads and changes
// them through the keyboard.
namespace CheckLines {

// Space on a line, its last cell current: the line's check changes.
inline void toggle(CheckListDialog* d, int row)
{
    d->LKomponenten->setCurrentCell(row, d->LKomponenten->columnCount() - 1);
    QTest::keyClick(d->LKomponenten, Qt::Key_Space);
}
inline QString text(const CheckListDialog* d, int row, int column)
{
    return d->LKomponenten->item(row, column)->text();
}
inline bool checked(const CheckListDialog* d, int row)
{
    return d->LKomponenten->item(row, 0)->checkState() == Qt::Checked;
}
// Three presses of Tab from the list reach OK and Cancel and come back to it.
inline bool tabGoesRound(const CheckListDialog* d, const QPushButton* ok)
{
    QSet<const QWidget*> reached;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
        reached << d->focusWidget();
    }
    return reached == QSet<const QWidget*>{ok, d->bAbbrechen, d->LKomponenten} &&
           d->focusWidget() == d->LKomponenten;
}

} // namespace CheckLines
