#pragma once

#include "catalog/ComponentKind.h"
#include "platform/FileIo.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

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

// Where an entry's component file lies: its folder (resolved like folderOf)
// and file name.
struct Place
{
    QString folder;
    QString fileName;
    bool operator==(const Place&) const = default;
    QString path() const { return folder + fileName; }
};

// The entry of a name as a front end last saw it: not listed, or listed and
// pointing at `place`.
struct Seen
{
    bool listed = false;
    Place place;
};

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
    // False when the file's encoding was not recognised: nothing is written to it.
    bool encodingKnown() const { return m_encodingKnown; }

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
    // The entry of `name` (letter case ignored) as this read shows it.
    Seen seen(const QString& name) const;

    // Any key; for the sections References.h keeps.
    QString value(const QString& section, QStringView key) const;

private:
    QHash<QString, QHash<QString, QString>> m_sections; // by case-folded names
    bool m_encodingKnown = true;
};

// The warning for a catalogue file whose encoding was not recognised; each
// program adds what that means for it.
QString unknownEncodingText(const QString& catalogFile);

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
    FileIo::Result droppedSaved; // whether deleting them reached the file; not tried
                                 // for a file of unknown encoding
};

// Reads the catalogue once: the entries to list in key order, the component files
// that are missing, and the duplicates, whose keys are deleted from the file.
Load load();
// What load() finds in the snapshot, with nothing deleted from the file.
Load inspect(const Snapshot& catalogue);

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

// Why a component file's folder and name cannot be stored as an entry's values,
// or `name` cannot be its entry name: one German sentence, empty when they can.
// A file name of the file system's full 255 bytes is one character too long.
QString entryProblem(const QString& name, const QString& folder, const QString& fileName);

// The outcome of a change of the catalogue's membership.
struct Change
{
    enum class Status
    {
        Done,
        Full,      // no key is free for a new name
        Exists,    // an entry of that name is listed and was not to be replaced
        NotListed, // the entry to replace or remove is gone
        Moved,     // the entry is listed, but not as seen: see found
        Refused,   // a name or value the file cannot hold
        Failed     // the file could not be read or written; see result
    };
    Status status = Status::Failed;
    FileIo::Result result;
    QStringList sorted; // the saved list after the change
    Place found;        // Moved: where the entry points now
    // Done: the Reference=/Object= lines of the file that could not be remembered.
    QStringList leftLines;
};

// Lists `name` under Snapshot::slotFor, stores its folder and file name and the
// Object= lines of a form's or user control's header (References.h; an entry
// replaced gets its lines anew), and saves the list sorted: all in one atomic
// replacement of the file. Only while
// the file still shows the entry of that name (letter case ignored) as `seen`:
// otherwise nothing changes (NotListed, Moved).
Change addEntry(const QString& name, const QString& folder, const QString& fileName,
                const Seen& seen);

// For one edit that changes several entries (Ini::edit): lists `name` under
// `key` with its folder and file name; false when the document refuses a value.
bool listEntry(Ini::Document& document, int key, const QString& name, const QString& folder,
               const QString& fileName);
// Brings the document's list into its saved form (sorted, from the first key)
// and gives its names.
QStringList sortList(Ini::Document& document);

// What the change found instead of the entry as seen (NotListed, Moved), in
// German: it is gone, or it points elsewhere now.
QString changedMeanwhileText(const QString& name, const Change& change);

// Deletes the key that lists exactly `name`, the name's "Filename", "Filepath",
// "Marked" and "Caption" keys and its remembered lines (References.h), and saves
// the list sorted: all in one atomic replacement of the file. With `seen`, only
// while the entry still points there (else Moved).
Change removeEntry(const QString& name, const std::optional<Place>& seen = {});

// Another catalogue file than the program's own, read and written as a whole.
struct Component
{
    QString name;
    QString folder;   // resolved like folderOf, ends with '/'
    QString fileName; // "Filename"
};

// The listed entries of `catalogFile` in key order, each once.
QList<Component> componentsOf(const QString& catalogFile);

// Whether the encoding of `catalogFile` was recognised (a missing file's is).
bool encodingKnown(const QString& catalogFile);

// Sets each entry's "Filepath" to the paired folder value in one atomic
// replacement of `catalogFile`.
FileIo::Result setFolders(const QString& catalogFile,
                          const QList<QPair<QString, QString>>& namesAndFolders);

} // namespace Catalog
