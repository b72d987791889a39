#pragma once

#include "platform/FileIo.h"

#include <QString>

// Where the program finds its files. Everything defaults to the real places;
// tests point each of them at a temporary folder.
namespace AppContext {

// The executable's folder, without a trailing '/'.
QString exeFolder();
void setExeFolder(const QString& folder);

// The executable's file name without extension: "vorlagen".
QString exeStem();

// The folder of the catalogue, the start-up log and the template, without a
// trailing '/'. A portable build (writable executable folder) keeps them beside
// the executable; an installed one (executable folder not writable, or
// share/vorlagen beside it) in the user's data folder, created on demand. Decided
// once until setExeFolder or setDataFolder.
QString dataFolder();
void setDataFolder(const QString& folder);
// Whether dataFolder() is the executable's folder.
bool isPortable();

// The file names in a data folder (this program's or another's).
inline const QString kCatalogName = QStringLiteral("vorlagen.dat");
inline const QString kTemplateName = QStringLiteral("QvStandard.bpv");
inline const QString kSpareTemplateName = QStringLiteral("QvStandard.prj");

QString catalogFile();       // <dataFolder>/vorlagen.dat
QString logFile();           // <dataFolder>/vorlagen.log
QString templateFile();      // <dataFolder>/QvStandard.bpv
QString spareTemplateFile(); // <dataFolder>/QvStandard.prj
QString copyTool();          // <exeFolder>/QvtrCopy

// The template an installation ships: <exeFolder>/../share/vorlagen/QvStandard.bpv.
QString installedTemplate();

// Folder holding the registry stand-in's hive files.
QString registryFolder();
void setRegistryFolder(const QString& folder);

// The user's documents folder, without a trailing '/'.
QString documentsFolder();
void setDocumentsFolder(const QString& folder);

// Back to the real places.
void reset();

} // namespace AppContext
