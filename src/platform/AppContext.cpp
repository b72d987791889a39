#include "platform/AppContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {
QString g_exeFolder;
QString g_registryFolder;
QString g_documentsFolder;
bool g_documentsSet = false;

QString withoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}
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
}

QString exeStem()
{
    return QStringLiteral("vorlagen");
}

QString catalogFile()
{
    return exeFolder() + QLatin1Char('/') + exeStem() + QStringLiteral(".dat");
}

QString logFile()
{
    return exeFolder() + QLatin1Char('/') + exeStem() + QStringLiteral(".log");
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
    g_registryFolder.clear();
    g_documentsFolder.clear();
    g_documentsSet = false;
}

} // namespace AppContext
