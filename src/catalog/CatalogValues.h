#pragma once

#include "platform/FileIo.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Ini {
class Document;
}

// What the catalogue can hold, and the writes of single values: a description,
// the marks, another catalogue's folders.
namespace Catalog {

// Every write gives its result; a failure is shown with notSavedText().
FileIo::Result setCaption(const QString& name, const QString& caption);

// A description as the value to store, so that it reads back exactly as typed:
// one with blanks (or Ctrl-Z) at either end or with matching outer quotes is
// put in quotes, since reading drops both.
QString storedCaption(const QString& caption);

// Rebuilds "Marked" in `document` as exactly these names with "1", at its end;
// no names leaves no section. False, with nothing changed, when a name cannot be
// a key.
bool setMarks(Ini::Document& document, const QStringList& names);

// Sets each entry's "Filepath" to the paired folder value in one atomic
// replacement of `catalogFile`, another catalogue than the program's own.
FileIo::Result setFolders(const QString& catalogFile,
                          const QList<QPair<QString, QString>>& namesAndFolders);

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

} // namespace Catalog
