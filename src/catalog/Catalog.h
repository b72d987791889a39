#pragma once

#include "catalog/ComponentKind.h"
#include "platform/FileIo.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Ini {
class Document;
}

// The catalogue file beside the executable: its sections and the one list that
// enumerates its entries ("Filelist" keys 100 to 200).
namespace Catalog {

inline constexpr int kFirstKey = 100;
inline constexpr int kLastKey = 200;
inline constexpr int kCapacity = kLastKey - kFirstKey + 1;

QString file();

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

// The catalogue as one read of the file found it: the one way the program reads
// it. Every answer is the one a single key read of that file gives (first section
// and key count, at most 254 characters, one pair of outer quotes removed). The
// sections are named here by what they hold, and nowhere else.
class Snapshot
{
public:
    Snapshot() = default; // an empty catalogue
    explicit Snapshot(const Ini::Document& document);
    static Snapshot read(); // reads file()

    QString listedName(int key) const;
    // "Filepath", ends with '/'. A relative value counts from the catalogue's own
    // folder, so a catalogue travels with the components beside it.
    QString folderOf(const QString& name) const;
    QString fileNameOf(const QString& name) const; // "Filename"
    QString captionOf(const QString& name) const;  // "Caption"
    bool isMarked(const QString& name) const;
    QString option(const QString& key) const;

    // The non-empty "Filelist" values in key order.
    QList<Listed> enumerate() const;
    // The names the saved list keeps: every listed name whose "Filepath" is set,
    // ascending without regard to case in the user's locale.
    QStringList sortedNames() const;
    // The key an entry named `name` goes under: the one that lists it already
    // (letter case ignored), else the first free one; -1 when the list is full.
    int slotFor(const QString& name) const;
    // The first key that lists exactly `name`, letter case included; -1 if none.
    int keyOf(const QString& name) const;

    // Any key; for the sections References.h keeps.
    QString value(const QString& section, QStringView key) const;

private:
    QHash<QString, QHash<QString, QString>> m_sections; // by case-folded names
};

// Rewrites "Filelist" as 100, 101, ... in sorted order, from the list as read
// under the lock, in one atomic replacement; no names leaves no "Filelist"
// section at all.
FileIo::Result saveSortedList();

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

// One listed entry as the catalogue load shows it.
struct Entry
{
    int key;
    QString name;
    QString folder;
    QString fileName;
    QString caption;
    bool marked;
};

// What one catalogue load found.
struct Load
{
    Snapshot catalogue;          // the file as read, options included
    QList<Entry> entries;        // listed entries whose file exists, duplicates left out
    QStringList missingFiles;    // folder and file name of each entry whose file is missing
    QList<Listed> dropped;       // later listings of a name already listed; now deleted
    FileIo::Result droppedSaved; // whether deleting them reached the file
};

// Reads the catalogue once: the entries to list in key order, the component files
// that are missing, and the duplicates, whose keys are deleted from the file.
Load load();

// The start-up log of missing component files.
QString startupLog();
void removeStartupLog();
// Adds one "File is not exists: " line per path to the log, which the load
// removed before; nothing when there is none. A log that cannot be written is
// not worth a message.
void writeStartupLog(const QStringList& missingFiles);

// Whether a name can be an entry name: stored as key and value, it reads back
// the same. No '=', ']' or control character, not beginning with '[' or ';', no
// blanks or quotes around it, 1 to 254 characters.
bool canHoldName(QStringView name);
// Whether a folder or file name value reads back the same.
bool canHoldValue(QStringView value);

// The outcome of a change of the catalogue's membership.
struct Change
{
    enum class Status
    {
        Done,
        Full,      // no key is free for a new name
        NotListed, // the name to remove is not listed
        Refused,   // a name or value the file cannot hold
        Failed     // the file could not be read or written; see result
    };
    Status status = Status::Failed;
    FileIo::Result result;
    QStringList sorted; // the saved list after the change
};

// Lists `name` under Snapshot::slotFor, stores its folder and file name, and
// saves the list sorted: all in one atomic replacement of the file.
Change addEntry(const QString& name, const QString& folder, const QString& fileName);

// Deletes the key that lists exactly `name`, the name's "Filename", "Filepath",
// "Marked" and "Caption" keys and its remembered lines (References.h), and saves
// the list sorted: all in one atomic replacement of the file.
Change removeEntry(const QString& name);

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
