#include "platform/AppContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QString g_exeFolder;
QString g_dataFolder; // set by a test, or the decision once made
bool g_dataDecided = false;
QString g_registryFolder;
QString g_documentsFolder;
bool g_documentsSet = false;

QString withoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}
// Write access as the permission bits grant it: root passes access(2) on every
// folder, yet a folder nobody may write to is meant to stay as installed.
bool writableFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat st;
    if (::access(path.constData(), W_OK) != 0 || ::stat(path.constData(), &st) != 0)
        return false;
    if (st.st_uid == ::geteuid())
        return st.st_mode & S_IWUSR;
    if (st.st_gid == ::getegid())
        return st.st_mode & S_IWGRP;
    return st.st_mode & S_IWOTH;
}

const QString kShareFolder = QStringLiteral("/../share/vorlagen");

} // namespace

namespace AppContext {

QString exeFolder()
{
    if (!g_exeFolder.isEmpty())
        return g_exeFolder;
    return withoutTrailingSlash(QCoreApplication::applicationDirPath());
}

void setExeFolder(const QString& folder)
{
    g_exeFolder = withoutTrailingSlash(folder);
    g_dataFolder.clear();
    g_dataDecided = false;
}

QString dataFolder()
{
    if (g_dataDecided)
        return g_dataFolder;
    const QString exe = exeFolder();
    const bool installed = QFile::exists(exe + kShareFolder + QLatin1Char('/') + kTemplateName);
    if (!installed && writableFolder(exe)) {
        g_dataFolder = exe;
    } else {
        g_dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/vorlagen");
        QDir().mkpath(g_dataFolder);
    }
    g_dataDecided = true;
    return g_dataFolder;
}

void setDataFolder(const QString& folder)
{
    g_dataFolder = withoutTrailingSlash(folder);
    g_dataDecided = true;
}

bool isPortable()
{
    return dataFolder() == exeFolder();
}

QString exeStem()
{
    return QStringLiteral("vorlagen");
}

QString catalogFile()
{
    return dataFolder() + QLatin1Char('/') + kCatalogName;
}

QString logFile()
{
    return dataFolder() + QLatin1Char('/') + exeStem() + QStringLiteral(".log");
}

QString templateFile()
{
    return dataFolder() + QLatin1Char('/') + kTemplateName;
}

QString spareTemplateFile()
{
    return dataFolder() + QLatin1Char('/') + kSpareTemplateName;
}

QString copyTool()
{
    return exeFolder() + QStringLiteral("/QvtrCopy");
}

QString installedTemplate()
{
    return QDir::cleanPath(exeFolder() + kShareFolder + QLatin1Char('/') + kTemplateName);
}

QString registryFolder()
{
    if (!g_registryFolder.isEmpty())
        return g_registryFolder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vorlagen/registry");
}

void setRegistryFolder(const QString& folder)
{
    g_registryFolder = withoutTrailingSlash(folder);
}

QString documentsFolder()
{
    if (g_documentsSet)
        return g_documentsFolder;
    return withoutTrailingSlash(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

void setDocumentsFolder(const QString& folder)
{
    g_documentsFolder = withoutTrailingSlash(folder);
    g_documentsSet = true;
}

void reset()
{
    g_exeFolder.clear();
    g_dataFolder.clear();
    g_dataDecided = false;
    g_registryFolder.clear();
    g_documentsFolder.clear();
    g_documentsSet = false;
}

} // namespace AppContext
