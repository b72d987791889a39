#include "desktop/FolderDialog.h"

#include "desktop/Desktop.h"

QString BrowseFolder(int rootFolder, QWidget* parent)
{
    Q_UNUSED(rootFolder); // every folder lies below the file-system root here
    QString path = desktop().chooseFolder(
        parent, QStringLiteral("Bitte wählen Sie den gewünschten Zielordner ..."));
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}
