#pragma once

#include "platform/FileIo.h"

#include <QString>

// What the catalogue's outcomes say, each sentence defined once. A front end adds
// only its own words (a prefix, what the failure means for it). A quotation mark
// shown to the person is written as two single quotes.
namespace Catalog {

class Snapshot;

// The file could not be read, and why.
QString unreadableText(const QString& catalogFile, const FileIo::Result& result);
// The warning for a catalogue file whose encoding was not recognised; each
// program adds what that means for it.
QString unknownEncodingText(const QString& catalogFile);

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
// what was not saved (`lost`, one sentence) and why.
QString notSavedText(const QString& lost, const FileIo::Result& result);
QString notSavedText(Unsaved what, const FileIo::Result& result);

// An entry of that name (letter case ignored) is not in the list. With the
// catalogue as read, also what beyondText() says of it.
QString notListedText(const QString& name);
QString notListedText(const QString& name, const Snapshot& catalogue);

// The entries the catalogue holds past the list's 101 keys (Snapshot::beyond):
// the file, how many and which; empty when there are none.
QString beyondText(const Snapshot& catalogue);

} // namespace Catalog
