#include "platform/FileExistence.h"

#include <QDir>
#include <QFileInfo>

bool FileExists(const QString& path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return false;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
        const QDir folder(slash < 0 ? QStringLiteral(".") : path.left(slash + 1));
        return !folder
                    .entryList({name}, QDir::AllEntries | QDir::Hidden | QDir::System |
                                           QDir::NoDotAndDotDot)
                    .isEmpty();
    }
    return QFileInfo::exists(path);
}

bool FolderExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    // A dangling link is an entry too.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
