#pragma once

#include "platform/FileIo.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The catalogue file beside the executable: its sections and the one list that
// enumerates its entries ("Filelist" keys 100 to 200).
namespace Catalog {

inline constexpr int kFirstKey = 100;
inline constexpr int kLastKey = 200;

QString file();

// The sections by what they hold; no other file names them.
QString listedName(int key); // "Filelist"
void unlist(int key);
// "Filepath", ends with '/'. A relative value counts from the catalogue's own
// folder, so a catalogue travels with the components beside it.
QString folderOf(const QString& name);
QString fileNameOf(const QString& name); // "Filename"
QString captionOf(const QString& name);  // "Caption"
bool isMarked(const QString& name);      // "Marked" holds "1"
QString option(const QString& key);      // "Option"

// Each gives non-zero when written.
int setCaption(const QString& name, const QString& caption);
int setOption(const QString& key, const QString& value);

// Rebuilds "Marked" as exactly these names with "1", at the end of the file, in
// one atomic replacement; no names leaves no section.
int saveMarks(const QStringList& names);

struct Listed
{
    int key;
    QString name;
};

// The non-empty "Filelist" values in key order.
QList<Listed> enumerate();

// The names that the saved list keeps: every listed name whose "Filepath" is
// set, in ascending order without regard to case in the user's locale.
QStringList sortedNames();

// Rewrites "Filelist" as 100, 101, ... in the given order, in one atomic
// replacement; no names leaves no "Filelist" section at all.
void saveList(const QStringList& names);

// Another catalogue file than the program's own, read and written as a whole.
struct Component
{
    QString name;
    QString folder;   // resolved like folderOf, ends with '/'
    QString fileName; // "Filename"
};

// The listed entries of `catalogFile` in key order, each once.
QList<Component> componentsOf(const QString& catalogFile);

// Sets each entry's "Filepath" to the paired folder value in one atomic
// replacement of `catalogFile`.
FileIo::Result setFolders(const QString& catalogFile,
                          const QList<QPair<QString, QString>>& namesAndFolders);

} // namespace Catalog
