#pragma once

#include "catalog/Snapshot.h"
#include "platform/FileIo.h"

#include <QString>
#include <QStringList>

#include <optional>

// Changes of the catalogue's membership: adding, removing and the sorted save of
// the list, each in one atomic replacement of the file.
namespace Catalog {

// Rewrites "Filelist" as 100, 101, ... in sorted order, from the list as read
// under the lock, in one atomic replacement; no names leaves no "Filelist"
// section at all. Lines of keys outside 100 to 200 stay as they are.
FileIo::Result saveSortedList();

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
// and gives its names. Lines of keys outside 100 to 200 stay as they are.
QStringList sortList(Ini::Document& document);

// What the change found instead of the entry as seen (NotListed, Moved), in
// German: it is gone, or it points elsewhere now.
QString changedMeanwhileText(const QString& name, const Change& change);

// Deletes the key that lists exactly `name`, the name's "Filename", "Filepath",
// "Marked" and "Caption" keys and its remembered lines (References.h), and saves
// the list sorted: all in one atomic replacement of the file. With `seen`, only
// while the entry still points there (else Moved).
Change removeEntry(const QString& name, const std::optional<Place>& seen = {});

} // namespace Catalog
