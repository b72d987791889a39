#pragma once

#include <QString>

// True when the path names an existing file or folder; '*' and '?' in the last
// part act as a pattern. A path ending in '/' is false.
bool FileExists(const QString& path);

// True when the path names any existing entry (a file counts too); empty is false.
bool FolderExists(const QString& path);
