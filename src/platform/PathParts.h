#pragma once

#include <QString>

// The text after the last '/' (the whole path without one, empty when it ends in '/').
QString FileNameOfPath(const QString& path);

// The text up to and including the last '/' (empty without one).
QString FolderOfPath(const QString& path);
