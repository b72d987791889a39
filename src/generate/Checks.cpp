#include "generate/Checks.h"

#include "platform/Ansi.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"

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

bool isDeviceName(const QString& name)
{
    // Windows looks only at the part before the first dot, blanks at its end dropped.
    QString base = name.section(QLatin1Char('.'), 0, 0);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    base = base.toUpper();
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                        QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (devices.contains(base))
        return true;
    if (base.size() != 4 ||
        !(base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))))
        return false;
    // The superscript digits count as well.
    return QStringLiteral("123456789\u00B9\u00B2\u00B3").contains(base.back());
}

QString projectNameProblem(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return kNameControlCharacter;
    }
    if (name.trimmed().isEmpty())
        return kBlankName;
    if (!Ansi::fits(name))
        return kNameOutsideCodePage;
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return kNameEnding;
    if (isDeviceName(name))
        return kDeviceName;
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
    const QString folder = projectFolder(folderText, name, subfolder);
    // The folder <name> is shorter than <name>.vbp, and the .vbw as long.
    if (check.nameRefusal.isEmpty() && !FileIo::fitsLimits(projectFilePath(folder, name)))
        check.nameRefusal = kNameTooLong;
    if (!check.nameRefusal.isEmpty())
        return check;
    check.folderQuestion = folderQuestion(folderState(folder));
    if (hasForbiddenCharacter(name))
        check.characterRefusal = kForbiddenName;
    return check;
}

} // namespace Generate
