#pragma once

#include <QString>

class QListWidget;

// Index of the first line equal to `text` without regard to case, searching from
// the line after `start` to the end and then from the top (-1 searches all from
// the top); -1 when there is none. With `select` the found line becomes current.
// Only the exact search exists; `exact` is kept for the callers' sake.
int ListFind(QListWidget* list, const QString& text, int start, bool select, bool exact = true);
