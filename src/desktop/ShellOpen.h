#pragma once

#include <QString>

// Opens the file with the desktop's handler for its type; true when that worked.
bool ShellOpen(const QString& file, int showCommand);
