#include "generate/Finishing.h"

#include "catalog/Options.h"
#include "generate/Checks.h"
#include "platform/Registry.h"

#include <QDir>
#include <QVariant>

namespace Generate {

bool rememberOptions(Ini::Document& document, bool merkeOrdner, const QString& projectName,
                     const QString& folderText, bool subfolder, bool viewer)
{
    std::optional<QString> folder;
    if (merkeOrdner && !projectName.isEmpty())
        folder = folderBase(folderText);
    return Catalog::setOptions(document, folder, subfolder, viewer);
}

void finish(const QString& projectFolder, const QString& projectFilePath, bool viewer,
            const std::function<void()>& sleep, const std::function<bool(const QString&)>& openFile,
            const Progress& progress)
{
    if (RegistryKeyExists(HKEY_LOCAL_MACHINE, kVb6CommandKey)) {
        QVariant command;
        RegistryGetValue(HKEY_LOCAL_MACHINE, kVb6CommandKey, QString(), command);
        if (!RegistryKeyExists(HKEY_LOCAL_MACHINE, kVb6AppPathKey))
            RegistryCreateKey(HKEY_LOCAL_MACHINE, kVb6AppPathKey, QStringLiteral("1"));
        // Passed on exactly as read, terminating NUL and blank included.
        RegistrySetValue(HKEY_LOCAL_MACHINE, kVb6AppPathKey, QString(), command);
        report(progress);
        if (sleep)
            sleep();
    }

    if (RegistryKeyExists(HKEY_CURRENT_USER, kManagerKey))
        RegistrySetValue(HKEY_CURRENT_USER, kManagerKey, kLastNewValue, projectFilePath);

    // The program opened next inherits it; in both folder modes it is the
    // folder that holds the project file.
    QDir::setCurrent(folderBase(projectFolder));
    report(progress);

    if (viewer)
        openFile(projectFilePath);
    report(progress);
}

} // namespace Generate
