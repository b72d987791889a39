#pragma once

#include <QString>

class QWidget;

// Lets the user choose a folder below `rootFolder` (a special-folder number).
// The chosen path without a trailing '/' ("/" for the root), or the empty text.
QString BrowseFolder(int rootFolder, QWidget* parent = nullptr);
