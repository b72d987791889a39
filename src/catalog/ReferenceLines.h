#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// The Reference= and Object= lines of project files and of form headers: which
// lines they are, the Object= lines a form or user control names in its header,
// and the merge of several components' lines into one block of a project file.
namespace ReferenceLines {

// How much of a form or user control is read for its header.
inline constexpr qint64 kMaxHeaderBytes = 64 * 1024;

enum class Key
{
    Other,
    Reference,
    Object
};

// The key of a line ("Reference=…", "object = …"), its letter case aside; the
// text after the '=' goes to `value` when given.
Key keyOf(QStringView line, QStringView* value = nullptr);

// Whether a line is a Reference= or Object= line, its key's letter case aside.
bool isReferenceLine(QStringView line);

// The `Object=…` lines a form's or user control's header names, in project file
// form: `Object = "{GUID}#2.0#0"; "X.OCX"` gives `Object={GUID}#2.0#0; X.OCX`.
// Only the header counts (lines before the first "Begin"), and only lines as
// the development environment writes them: blanks around '=' and ';' and
// outside the quotes, none inside; others are left out.
QStringList objectLinesIn(const QByteArray& componentBytes);
// The same for a file, of which the first kMaxHeaderBytes are read; an
// unreadable file gives none.
QStringList objectLinesOf(const QString& componentPath);
// The header Object lines of a form or user control (told by `fileName`) that
// objectLinesIn leaves out since they have another form, trimmed, within its
// first kMaxHeaderBytes; another project of a group ("*\A…") is no such line.
// None for other kinds.
QStringList unusableObjectLines(const QString& fileName, const QByteArray& componentBytes);

// Reference= and Object= lines as one block for a project file: every Reference=
// line before every Object= line, each in the order given, none repeated. Lines
// with the same GUID (or, without one, the same text ignoring case) are the same
// reference and the first one given wins, so the template's own lines go first.
// Other lines are left out.
QStringList merged(const QStringList& lines);

} // namespace ReferenceLines
