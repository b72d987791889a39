#pragma once

#include <QString>

#include "generate/Progress.h"

#include <functional>

namespace Ini {
class Document;
}

// What closes a generation: the remembered options, and the registry entries,
// current folder and shell open of the finish button.
namespace Generate {

// Registry keys (key names, not paths: the backslashes belong to them).
inline const QString kVb6CommandKey =
    QStringLiteral("Software\\Classes\\Applications\\VB6.EXE\\shell\\open\\command");
inline const QString kVb6AppPathKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Vb6.exe");
inline const QString kManagerKey = QStringLiteral("Software\\Velkaro\\Quorvix Manager");
inline const QString kLastNewValue = QStringLiteral("LastNew");

// Sets the options of the project page in the catalogue `document`
// (Catalog::setOptions): the folder base only with merkeOrdner and a project name.
bool rememberOptions(Ini::Document& document, bool merkeOrdner, const QString& projectName,
                     const QString& folderText, bool subfolder, bool viewer);

// Copies the development environment's open command into its App Paths key
// (then calls `sleep`, the window's two-second wait), records the project file
// as "LastNew" when the manager's key exists, makes the project folder the
// current folder, and opens the project file through `openFile` when `viewer` is set. The caller
// ends the program afterwards.
void finish(const QString& projectFolder, const QString& projectFilePath, bool viewer,
            const std::function<void()>& sleep, const std::function<bool(const QString&)>& openFile,
            const Progress& progress = {});

} // namespace Generate
