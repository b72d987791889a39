#pragma once

#include <QByteArray>
#include <QStringList>

// The Reference= and Object= lines an existing project file lacks, added where
// the development environment keeps them, and nothing else changed.
namespace Sync {

// The project file's bytes (Windows-1252) with those of `lines` it lacks, merged
// as a new project gets them (one GUID, one reference; the project's own line
// wins): a reference after the project's last Reference= line, an object after
// its last Object= line; without such lines, references before the first Object=
// line and objects after the references, else after the first line. The file's
// own line ends are used, and every other byte stays. `added` gets the lines
// added, references first; without any the bytes come back as they were.
QByteArray withReferences(const QByteArray& projectBytes, const QStringList& lines,
                          QStringList* added);

} // namespace Sync
