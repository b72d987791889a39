#include "desktop/ListFind.h"

#include <QListWidget>

int ListFind(QListWidget* list, const QString& text, int start, bool select, bool exact)
{
    Q_UNUSED(exact);
    if (!list)
        return -1;
    const int count = list->count();
    int found = -1;
    const int first = (start < 0 || start >= count) ? 0 : start + 1;
    for (int step = 0; step < count && found < 0; ++step) {
        const int i = (first + step) % count;
        if (list->item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (select)
        list->setCurrentRow(found);
    return found;
}
