#include "catalog/Options.h"

#include "catalog/Sections.h"
#include "catalog/Snapshot.h"
#include "platform/IniDocument.h"
#include "platform/SpecialFolders.h"

namespace Catalog {

namespace {

const QString kMyDocsKey = QStringLiteral("MyDocs");
const QString kFolderKey = QStringLiteral("Folder");
const QString kViewerKey = QStringLiteral("Viewer");

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

Options rememberedOptions(const Snapshot& catalogue)
{
    Options options;
    options.projectFolder = catalogue.option(kMyDocsKey);
    if (options.projectFolder.isEmpty())
        options.projectFolder = SpecialFolderPath(CSIDL_PERSONAL) + QLatin1Char('/');
    options.subfolder = catalogue.option(kFolderKey) != flag(false);
    options.showProject = catalogue.option(kViewerKey) != flag(false);
    return options;
}

bool setOptions(Ini::Document& document, const std::optional<QString>& projectFolder,
                bool subfolder, bool showProject)
{
    bool accepted = true;
    if (projectFolder)
        accepted &= document.setValue(Section::kOption, kMyDocsKey, *projectFolder);
    accepted &= document.setValue(Section::kOption, kFolderKey, flag(subfolder));
    accepted &= document.setValue(Section::kOption, kViewerKey, flag(showProject));
    return accepted;
}

} // namespace Catalog
