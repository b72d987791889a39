#include "platform/PathParts.h"

QString FileNameOfPath(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FolderOfPath(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}
