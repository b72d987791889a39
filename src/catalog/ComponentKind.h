#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// What a component file is, told by its name alone (or a project file's key for
// it): the one table of kinds that the catalogue, the checks, the copy run, the
// project file and the reader of existing project files all ask.
namespace Catalog {

// The kind goes by the last three characters of the file name, letter case
// aside, as the project file's loader does; other endings are Other.
enum class Kind
{
    Form,         // .frm, with its .frx
    Module,       // .bas
    UserControl,  // .ctl, with its .ctx
    Class,        // .cls
    Resource,     // .res
    UserDocument, // .dob
    PropertyPage, // .pag
    Designer,     // .dsr
    Other
};

Kind kindOf(const QString& fileName);

// The kind in German, as lists and messages name it; "Datei" for Other.
QString label(Kind kind);

// A form's .frx or a user control's .ctx for a component file: in the letter case
// of the file's own ending first, then the other; none for other kinds.
QStringList companionNames(const QString& fileName);

// The companion beside such a file in `folder` (ending with '/'): the name of the
// first of companionNames that is there; empty when none is.
QString companionIn(const QString& folder, const QString& fileName);
// The kind whose companion the file is: Form for a .frx, UserControl for a .ctx
// (letter case aside); Other for any other file.
Kind companionOf(const QString& fileName);
// The names the component of such a companion may have beside it: Haupt.frx
// gives Haupt.frm, then Haupt.FRM; none for other files.
QStringList ownerNames(const QString& companionName);

// The companion such a file needs beside it in `folder` (ending with '/'), as the
// generation looks for it; empty when there is one or none is needed.
QString missingCompanion(const QString& folder, const QString& fileName);

// A component file (`file`, as the reader knows it) refers to a companion that is
// not beside it.
QString companionMissingText(const QString& file, const QString& companion);

// Components the development environment reads as text, and only with CR LF line
// ends; companions and resources are binary and copied byte for byte.
bool isText(const QString& fileName);

// The project file's line for the component ("Form=Haupt.frm" and so on), without
// its line end; the empty text for a kind that has none.
QString projectLine(const QString& entryName, const QString& fileName);

// The kind a project file's component key names ("Form", "module", "ResFile32"),
// letter case aside; Other for any other key.
Kind kindOfProjectKey(QStringView key);
// Whether new projects get components of the kind, with a project line.
bool hasProjectLine(Kind kind);
// Whether the kind's project line names the component before its path
// ("Module=Name; path").
bool lineNamesComponent(Kind kind);

// Whether the entry name goes into the project files: in a module's or class's
// line, or a form's as the start form.
bool namesEntry(const QString& fileName);

// What of a component a project file, written in Windows-1252, cannot hold: its
// file name, or its entry name where the kind's line or the start form names it.
enum class Unwritable
{
    None,
    EntryName,
    FileName
};
Unwritable unwritableInProject(const QString& entryName, const QString& fileName);

// The start form: the entry of the first form in list order, unless root.frm is
// among the components, which then starts as "Root" (kept as it is when the first
// form's entry is already called so, letter case aside).
class StartForm
{
public:
    void add(const QString& entryName, const QString& fileName);
    QString name() const;

private:
    QString m_first;
    bool m_root = false;
};

// Whether the file is the root form, the start form that is asked about before it
// is unchecked.
bool isRootForm(const QString& fileName);

} // namespace Catalog
