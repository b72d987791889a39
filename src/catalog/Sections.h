#pragma once

#include <QString>

// The names of the catalogue's sections, for the units of this library that read
// or write them.
namespace Catalog::Section {

inline const QString kFilelist = QStringLiteral("Filelist");
inline const QString kFilepath = QStringLiteral("Filepath");
inline const QString kFilename = QStringLiteral("Filename");
inline const QString kMarked = QStringLiteral("Marked");
inline const QString kCaption = QStringLiteral("Caption");
inline const QString kOption = QStringLiteral("Option");

} // namespace Catalog::Section
