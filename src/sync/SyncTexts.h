#pragma once

#include "platform/FileResult.h"
#include "sync/Comparison.h"

#include <QString>

// What comparing and updating projects says, each sentence defined once for every
// front end. A quotation mark shown to the person is written as two single quotes.
namespace Sync {

struct Outcome;

// The state, short, as lists and the command line show it.
QString stateText(State state);

QString unreadableFolderText(const QString& folder, const FileIo::Result& result);
// Why a compared project shows nothing: its problem, or that it lists no
// component; empty when it has some.
QString nothingComparedText(const Project& project);
// A folder below which no project has a record.
QString noRecordsText(const QString& folder);

// Why a component of a project without a record is not recorded.
inline const QString kOutsideProjectFolder =
    QStringLiteral("die Datei liegt nicht im Ordner des Projekts");

// What an update changed, what it did not and why, each ".neu" file, the lines
// added to the project file, and the writes that failed; or that it was taken back.
QString summaryText(const Outcome& outcome);

} // namespace Sync
