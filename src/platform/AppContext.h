#pragma once

#include <QString>

// Where the program finds its files. Everything defaults to the real places;
// tests point each of them at a temporary folder.
namespace AppContext {

// The executable's folder, without a trailing '/'.
QString exeFolder();
void setExeFolder(const QString& folder);

// The executable's file name without extension: "vorlagen".
QString exeStem();

QString catalogFile(); // <exeFolder>/vorlagen.dat
QString logFile();     // <exeFolder>/vorlagen.log

// Folder holding the registry stand-in's hive files.
QString registryFolder();
void setRegistryFolder(const QString& folder);

// The user's documents folder, without a trailing '/'.
QString documentsFolder();
void setDocumentsFolder(const QString& folder);

// Back to the real places.
void reset();

} // namespace AppContext
