#pragma once

#include <QString>
#include <QStringList>

namespace Ini {
class Document;
}

namespace Catalog {
class Snapshot;
}

// The Reference= and Object= lines an entry remembers for the projects made
// from it, kept in the catalogue's section "References":
//
//     [References]
//     Grid.0=Grid.frm                                  the entry's "Filename"
//     Grid.1=Reference=*\G{...}#2.0#0#C:\...           line 1, its first 254 characters
//     Grid.1-2=...\msado20.tlb#Microsoft ActiveX ...   line 1 goes on
//     Grid.2=Object={5E9E78A0-...}#1.0#0; MSFLXGRD.OCX  line 2
//
// Every key is the entry's name, a dot and a number, so the keys of two entries
// never meet ("Grid.1" is line 1 of Grid, never a key of an entry "Grid.1") and
// an entry's lines go with its removal. A read gives at most 254 characters, so
// a longer line goes on in pieces "<line>-2", "<line>-3", ...; a piece with
// blanks or quotes at its ends is stored in quotes; no line is ever cut. Lines
// count only while the entry's file name is still the one in ".0": a program
// that does not know the section may remove the entry and add another file
// under its name. Without remembered lines there is no section at all.
//
// Adding an entry together with its lines, in the one edit of its other keys:
//
//     Ini::edit(Catalog::file(), [&](Ini::Document& document) {
//         ...  // the entry's "Filelist", "Filename" and "Filepath" keys
//         const QStringList left = References::setLines(
//             document, name, fileName, References::linesOfFile(folder + fileName));
//         ...  // a line in `left` was not remembered; say so
//     });
//
// Catalog::removeEntry deletes them with the entry's other keys.
namespace References {

// The lines `name` remembers, in their stored order; none when its file name
// is not the one they were remembered for.
QStringList linesOf(const Catalog::Snapshot& catalogue, const QString& name);

// What an entry added from a single file remembers: a form's or user control's
// header Object= lines; none for other kinds or an unreadable file.
QStringList linesOfFile(const QString& componentPath);

// Replaces the lines of `name` (for its file name `fileName`) in the document:
// the Reference= and Object= lines, merged (references first, none repeated).
// Gives back the lines left out: no Reference= or Object= line, or one the file
// cannot hold (a line break or NUL in it), or all of them when the document,
// the name or the file name cannot be written.
QStringList setLines(Ini::Document& document, const QString& name, const QString& fileName,
                     const QStringList& lines);

// Deletes the lines of `name` (letter case aside), and the section when it is
// left without keys; false when there were none.
bool removeLines(Ini::Document& document, const QString& name);

} // namespace References
