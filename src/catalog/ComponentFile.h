#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// What the catalogue needs to know about a component file's text: its internal
// name, the repair of a module still called "Module1", and whether a form
// refers to its binary companion.
namespace ComponentFile {

// Larger files are not read for their name; component files are far smaller.
inline constexpr qint64 kMaxSize = qint64(16) * 1024 * 1024;

// The name between the quotes of the first "Attribute VB_Name" (letter case
// ignored; blanks around '=' optional). Empty when that line has no opening or
// no closing quote on the same line, or an empty name. UTF-8 when the file is
// valid UTF-8, else the code page.
QString internalName(const QByteArray& bytes);

// The file with the name of its first line replaced by `name`, when that line
// is exactly a well-formed "Attribute VB_Name = "Module1"" line; every other
// byte stays. Empty when the line is not such a line or `name` cannot be
// written in the file's code page.
QByteArray renamedModule(const QByteArray& bytes, const QString& name);

// Whether a component file's bytes show it is binary: a NUL, which no text
// component holds. Such a file is copied as it is, whatever its ending.
bool isBinary(QByteArrayView bytes);

// The mend a text component gets on its way into a project: appends `in` to `out`
// with every LF that has no CR before it turned into CR LF. `lastWasCr` carries
// the byte before `in` from one chunk to the next. Mending twice changes nothing.
void appendWithCrLf(QByteArray& out, QByteArrayView in, bool& lastWasCr);
// The same into `out`, which has room for twice the bytes of `in`; gives the
// bytes written.
qsizetype withCrLf(QByteArrayView in, char* out, bool& lastWasCr);

// Whether a form or user control refers to data in its binary companion, as
// in: Picture = "Haupt.frx":0000.
bool refersToCompanion(const QByteArray& bytes);

// Renames the module at `path`, whose bytes are `bytes`, to `name` in its first
// line (renamedModule): first the backup "<path>.bak" with the old bytes, then
// the file, each replaced whole. Empty when done, else the German warning; the
// module then keeps its bytes.
QString repairModule(const QString& path, const QByteArray& bytes, const QString& name);

} // namespace ComponentFile
