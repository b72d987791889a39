#pragma once

#include "platform/FileIo.h"

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
FileIo::Result unlist(int key);
QString folderOf(const QString& name);   // "Filepath", ends with '/'
QString fileNameOf(const QString& name); // "Filename"
QString captionOf(const QString& name);  // "Caption"
bool isMarked(const QString& name);      // "Marked" holds "1"
QString option(const QString& key);      // "Option"

// Every write gives its result; a failure is shown with notSavedText().
FileIo::Result setCaption(const QString& name, const QString& caption);
FileIo::Result setOption(const QString& key, const QString& value);

// A description as the value to store, so that it reads back exactly as typed:
// one with blanks (or Ctrl-Z) at either end or with matching outer quotes is
// put in quotes, since reading drops both.
QString storedCaption(const QString& caption);

// Rebuilds "Marked" as exactly these names with "1", at the end of the file, in
// one atomic replacement; no names leaves no section.
FileIo::Result saveMarks(const QStringList& names);

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
FileIo::Result saveList(const QStringList& names);

// What a failed write did not save, for the warning.
enum class Unsaved
{
    Caption,
    Marks,
    Options,
    List,
    Duplicate
};

// The one warning for a failed write of the catalogue: it names the file, says
// what was not saved and why.
QString notSavedText(Unsaved what, const FileIo::Result& result);

// Removes temporary files of the catalogue that a crashed write left behind
// (older than a minute, never the catalogue itself). Run at start-up.
void removeLeftovers();

} // namespace Catalog
