#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringView>

// Profile-file (INI) operations on the catalogue. Section and key names compare
// without regard to case; each call reads or rewrites the file on its own, and
// every write replaces the file atomically under the file's lock, so writers in
// other programs at the same time lose nothing.

// The key's value, at most 254 characters; the empty text when the file, section
// or key is missing.
QString ReadIniValue(const QString& file, const QString& section, const QString& key);

// Replaces the key's value, adds the key at the end of its section, or adds the
// section at the end of the file; a missing file is created. Non-zero when written.
// A section, key or value that would break the file's lines is refused (0).
int WriteIniValue(const QString& file, const QString& section, const QString& key,
                  const QString& value);

// Removes the key's line; nothing happens when there is none. Non-zero when the
// file holds no such key afterwards (also when there was none).
int DeleteIniKey(const QString& file, const QString& section, const QString& key);

// Removes the section header and all its lines; nothing happens when there is
// none. Non-zero when the file holds no such section afterwards.
int DeleteIniSection(const QString& file, const QString& section);

// The same as DeleteIniSection followed by WriteIniValue for each pair in order,
// done in one atomic replacement of the file, so no moment leaves the section
// missing on disk. Non-zero when written.
int ReplaceIniSection(const QString& file, const QString& section,
                      const QList<QPair<QString, QString>>& keysAndValues);

namespace Ini {

// Looks up one key without building a whole document: true with the trimmed
// value (quotes kept) when the file, section and key are there.
bool findValue(const QString& path, QStringView section, QStringView key, QString* value);
// The same on a file's bytes in memory.
bool findValueIn(const QByteArray& bytes, QStringView section, QStringView key, QString* value);

} // namespace Ini
