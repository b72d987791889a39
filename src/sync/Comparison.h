#pragma once

#include "catalog/Snapshot.h"
#include "generate/Fingerprint.h"
#include "generate/ProjectRecord.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A project compared with the catalogue, component by component. How a front end
// uses it (the window's dialog and the command line alike):
//
//     Sync::Comparer comparer(Catalog::Snapshot::read());  // or --von's
//     const Sync::Project project = comparer.compare(vbpPath);
//     if (!project.problem.isEmpty())
//         show(project.problem);                           // nothing compared
//     for (const Sync::Component& c : project.components)
//         show(c.entry, Sync::stateText(c.state), Sync::checkedAtFirst(c.state));
//     // then Sync::Update (Update.h) with the chosen lines
//
// A project made by the wizard or --neu is compared through its record
// (ProjectRecord.h): the project's copy against the bytes it was given, the
// catalogue's file against the bytes it had then. The catalogue's side is the
// entry of that name as the catalogue points to it now, so an entry moved
// elsewhere is followed. A form and its .frx (a user control and its .ctx) are
// one component. Text components are compared after the copy's CR LF mend, so a
// difference in line ends alone is none. A project made before records existed
// is compared by its project file's component lines, by file name.
namespace Sync {

enum class State
{
    Current,          // the project's copy is the catalogue's
    Behind,           // the catalogue's changed, the project's is as made: safe to update
    ChangedInProject, // the project's changed, the catalogue's is as it was
    Conflict,         // both changed
    Deleted,          // the project's copy is gone
    Gone,             // the entry is no longer listed, or no longer has the file
    Unreadable,       // a file of either side could not be read; see Component::reason
    // A project without a record:
    Equal,   // the same bytes as the catalogue's file of that name
    Differs, // another file of that name; where it came from is not known
    Unknown  // no file of that name in the catalogue
};

// One file of a component: the project's and the catalogue's.
struct UnitFile
{
    QString projectPath;   // where it is, or would go, in the project
    QString cataloguePath; // empty when the catalogue has none for it
    bool text = false;     // a text component, mended on its way into the project
    int recorded = -1;     // into Project::record.files; -1 when not recorded
    Generate::Fingerprint project{};
    Generate::Fingerprint catalogue{};
};

struct Component
{
    QString entry; // the entry's name (without a match: the file's name)
    State state = State::Current;
    QString reason{};        // for Unreadable: the file and why
    QString folder{};        // the catalogue's folder of the entry now
    QList<UnitFile> files{}; // the component file first, then its companion
};

struct Project
{
    QString projectFile; // the .vbp
    QString recordFile;  // beside it, whether there or not
    bool recorded = false;
    QString problem; // German; set: nothing could be compared
    Generate::Record record;
    QList<Component> components;
};

// Compares projects with one catalogue; the catalogue's files are read once for
// all the projects it compares.
class Comparer
{
public:
    explicit Comparer(const Catalog::Snapshot& catalogue);

    // A project file, or a record (".vorlagen").
    Project compare(const QString& projectOrRecord);

    const Catalog::Snapshot& catalogue() const { return m_catalogue; }

private:
    Generate::Fingerprint catalogueFile(const QString& path, bool text);
    void compareRecorded(Project& project);
    void compareUnrecorded(Project& project);

    Catalog::Snapshot m_catalogue;
    QHash<QString, Generate::Fingerprint> m_catalogueFiles;
};

// The records below `folder` (its subfolders too, without following links),
// sorted; `unreadable` gets a message for each folder that could not be read.
QStringList findRecords(const QString& folder, QStringList* unreadable);

// What the dialog lets the person check: what an update can do something with.
bool canBeChosen(State state);
// What the dialog checks at first: the components that can simply be updated, or
// recorded in a project without a record.
bool checkedAtFirst(State state);
// Whether the state asks for an update: behind, or changed on both sides.
bool wantsUpdate(State state);

} // namespace Sync
