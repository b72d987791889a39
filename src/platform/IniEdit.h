#pragma once

#include "platform/FileIo.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringView>

#include <functional>

namespace Ini {

class Document;

// One read-change-write of a file: `change` edits the document read from it and
// answers false to leave the file alone; otherwise the file is replaced once,
// atomically. The file's lock is held from the read to the replacement, so
// writers in other programs lose nothing; a lock not had within the lock
// timeout fails the write (a change that needs no write still succeeds).
// Every change of several keys that belongs together goes here.
FileIo::Result edit(const QString& path, const std::function<bool(Document&)>& change);

// The single changes through edit(), with the reason when they fail. Text that
// would break the file's lines is refused (kRefused) before anything is read.
// Deleting what is not there succeeds and writes nothing.
FileIo::Result writeValue(const QString& path, QStringView section, QStringView key,
                          QStringView value);
FileIo::Result removeKey(const QString& path, QStringView section, QStringView key);
FileIo::Result removeSection(const QString& path, QStringView section);
// Removes the section and appends it anew with these pairs, in one replacement.
FileIo::Result replaceSection(const QString& path, QStringView section,
                              const QList<QPair<QString, QString>>& keysAndValues);

} // namespace Ini
