#include "generate/Checks.h"

#include "platform/Ansi.h"
#include "platform/FileExistence.h"

#include <QDir>
#include <QFileInfo>

namespace Generate {

QString folderBase(const QString& folderText)
{
    return folderText.endsWith(QLatin1Char('/')) ? folderText : folderText + QLatin1Char('/');
}

QString projectFolder(const QString& folderText, const QString& name, bool subfolder)
{
    return subfolder ? folderBase(folderText) + name : folderText;
}

QString pathInProject(const QString& projectFolder, const QString& fileName)
{
    return folderBase(projectFolder) + fileName;
}

QString projectFilePath(const QString& projectFolder, const QString& name)
{
    return pathInProject(projectFolder, name + QStringLiteral(".vbp"));
}

bool hasForbiddenCharacter(const QString& name)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|-");
    for (const QChar c : forbidden) {
        if (name.contains(c))
            return true;
    }
    return false;
}

QString projectNameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return kBlankName;
    if (!Ansi::fits(name))
        return kNameOutsideCodePage;
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return kNameEnding;
    return {};
}

int countFiles(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable())
        return -1;
    // Without QDir::Hidden and QDir::System: dot files, sockets, pipes, devices
    // and dangling links are not listed.
    return int(QDir(folder).entryList(QDir::Files).size());
}

FolderState folderState(const QString& projectFolder)
{
    if (!FolderExists(projectFolder))
        return FolderState::Missing;
    return countFiles(projectFolder) == 0 ? FolderState::Empty : FolderState::HasFiles;
}

QString folderQuestion(FolderState state)
{
    switch (state) {
    case FolderState::Missing:
        break;
    case FolderState::Empty:
        return kFolderEmpty;
    case FolderState::HasFiles:
        return kFolderHasFiles;
    }
    return {};
}

ProjectCheck checkProject(int listedEntries, const QString& name, const QString& folderText,
                          bool subfolder)
{
    ProjectCheck check;
    if (listedEntries == 0 || name.isEmpty() || folderText.isEmpty()) {
        check.incomplete = true;
        return check;
    }
    // Before the folder: with ".." the question would be about the parent folder.
    check.nameRefusal = projectNameProblem(name);
    if (!check.nameRefusal.isEmpty())
        return check;
    check.folderQuestion = folderQuestion(folderState(projectFolder(folderText, name, subfolder)));
    if (hasForbiddenCharacter(name))
        check.characterRefusal = kForbiddenName;
    return check;
}

} // namespace Generate
