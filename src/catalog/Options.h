#pragma once

#include <QString>

#include <optional>

namespace Ini {
class Document;
}

// The options the wizard remembers for the next project, in the catalogue's
// "Option" section: their keys and what their values mean.
namespace Catalog {

class Snapshot;

struct Options
{
    QString projectFolder;   // "MyDocs"; when empty, the documents folder with a '/'
    bool subfolder = true;   // "Folder": on unless exactly "0"
    bool showProject = true; // "Viewer": on unless exactly "0"
};

Options rememberedOptions(const Snapshot& catalogue);

// Sets the options in `document`: "MyDocs" only when a folder is given, "Folder"
// and "Viewer" as "1" or "0". False when the document refuses a value (one that
// cannot be written says why when saved).
bool setOptions(Ini::Document& document, const std::optional<QString>& projectFolder,
                bool subfolder, bool showProject);

} // namespace Catalog
