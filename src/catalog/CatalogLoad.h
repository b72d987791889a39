#pragma once

#include "catalog/Snapshot.h"
#include "platform/FileIo.h"

#include <QList>
#include <QString>
#include <QStringList>

// The catalogue load of the start-up and of every reload, and its start-up log.
namespace Catalog {

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
                                 // for a file that could not be read or whose encoding
                                 // was not recognised
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

} // namespace Catalog
