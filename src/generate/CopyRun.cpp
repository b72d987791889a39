#include "generate/CopyRun.h"

#include "catalog/Catalog.h"
#include "generate/Checks.h"
#include "platform/FileExistence.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace Generate {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString kindOf(const QString& fileName)
{
    return fileName.right(3).toLower();
}

// A name from the catalogue that would put the copy outside the project folder.
bool leavesFolder(const QString& fileName)
{
    return fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\')) ||
           fileName == QLatin1String(".") || fileName == QLatin1String("..");
}

// A form's .frx or a user control's .ctx, in the letter case of the file's own
// ending first: the catalogue may come from a system that ignored case.
QStringList companionNames(const QString& fileName)
{
    const QString kind = kindOf(fileName);
    QString ending;
    if (kind == QLatin1String("frm"))
        ending = QStringLiteral("frx");
    else if (kind == QLatin1String("ctl"))
        ending = QStringLiteral("ctx");
    else
        return {};
    const QString stem = fileName.left(fileName.size() - 3);
    const bool upper = fileName.right(3) == fileName.right(3).toUpper();
    return {stem + (upper ? ending.toUpper() : ending), stem + (upper ? ending : ending.toUpper())};
}

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

QString projectLine(const QString& entryName, const QString& fileName)
{
    const QString kind = kindOf(fileName);
    if (kind == QLatin1String("frm"))
        return QStringLiteral("Form=") + fileName;
    if (kind == QLatin1String("bas"))
        return QStringLiteral("Module=") + entryName + QStringLiteral("; ") + fileName;
    if (kind == QLatin1String("res"))
        return QStringLiteral("ResFile32=\"") + fileName + QLatin1Char('"');
    if (kind == QLatin1String("ctl"))
        return QStringLiteral("UserControl=") + fileName;
    if (kind == QLatin1String("cls"))
        return QStringLiteral("Class=") + entryName + QStringLiteral("; ") + fileName;
    return {};
}

bool copyFile(const QString& source, const QString& target)
{
    std::error_code error;
    const auto from = fsPath(source);
    const auto to = fsPath(target);
    // Replacing a file by itself would truncate it first.
    if (std::filesystem::equivalent(from, to, error))
        return true;
    error.clear();
    // The kernel copies (sendfile/copy_file_range) without a trip through user space.
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                      error) &&
           !error;
}

CopyResult copyComponents(const QList<ListLine>& lines, const QString& projectFolder,
                          bool saveMarks, const Progress& progress)
{
    CopyResult result;
    QStringList marks;

    for (const ListLine& line : lines) {
        if (!line.checked)
            continue;
        const QString& name = line.entryName;
        const QString folder = Catalog::folderOf(name);
        const QString fileName = Catalog::fileNameOf(name);

        if (fileName.isEmpty()) {
            result.failures.append({name, Reason::kNoFileName});
        } else if (leavesFolder(fileName)) {
            result.failures.append({fileName, Reason::kBadFileName});
        } else {
            const bool folderReady = ensureProjectFolder(projectFolder, progress);
            const QString source = folder + fileName;
            const QString target = pathInProject(projectFolder, fileName);
            if (copyFile(source, target))
                result.written << target;
            else if (!QFile::exists(source))
                result.failures.append({fileName, Reason::kSourceMissing});
            else
                result.failures.append(
                    {fileName, folderReady ? Reason::kCopyFailed : Reason::kNoFolder});

            // A missing file still gets its line: the project then names it, and
            // the person is told above.
            const QString projectLineText = projectLine(name, fileName);
            if (!projectLineText.isEmpty())
                result.projectLines += projectLineText + kCrLf;

            for (const QString& companion : companionNames(fileName)) {
                if (!FileExists(folder + companion))
                    continue;
                const QString companionTarget = pathInProject(projectFolder, companion);
                if (copyFile(folder + companion, companionTarget))
                    result.written << companionTarget;
                else
                    result.failures.append(
                        {companion, folderReady ? Reason::kCopyFailed : Reason::kNoFolder});
                break;
            }

            if (result.startForm.isEmpty() && kindOf(fileName) == QLatin1String("frm"))
                result.startForm = name;
        }

        marks << name;
    }
    // One replacement after the copies: no moment leaves the marks half-written.
    if (saveMarks)
        result.marksSaved = Catalog::saveMarks(marks);
    return result;
}

} // namespace Generate
