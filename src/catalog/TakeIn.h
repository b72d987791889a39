#pragma once

#include "catalog/Catalog.h"
#include "catalog/ProjectImport.h"
#include "platform/FileIo.h"

#include <QList>
#include <QString>
#include <QStringList>

// Taking the components of an existing project file into the catalogue at once:
// the decisions every front end shares. A front end only shows and asks.
//
//     Catalog::Intake intake = Catalog::planIntake(vbpPath);   // touches nothing
//     if (!intake.problem.isEmpty())
//         show(intake.problem);                                // nothing to take in
//     // show intake.candidates; intake.free says how many still fit;
//     // Candidate::checked is the first choice (new ones, as many as fit)
//     const Catalog::IntakeOutcome outcome = Catalog::takeIn(intake, chosenIndexes);
//     show(Catalog::summaryText(outcome));
//
// Every file is named as adding it alone names it (its internal name, a module
// still called "Module1" under its file name after a backup), and all chosen
// ones go in with one atomic replacement of the catalogue, list sorted.
namespace Catalog {

struct Candidate
{
    enum class State
    {
        New,          // can go in
        Same,         // this very file is in the catalogue already
        NameTaken,    // another file is listed under its name, or an earlier line
                      // of the project would go under it
        Missing,      // ProjectImport::State::Missing
        NotRegular,   // a folder, pipe, device or link loop
        Duplicate,    // the same file as an earlier line
        UnusableKind, // a kind the generator does not copy
        Refused,      // a name or value the catalogue cannot hold; see reason
        Full          // new, but no room is left for it
    };

    ProjectImport::Component component;
    QString name;     // the entry name it gets (empty while its file is missing)
    QString folder;   // the resolved file's folder, ending with '/'; empty when missing
    QString fileName; // the resolved file's name
    State state = State::Missing;
    QString reason;         // German, for the states other than New
    bool repair = false;    // a module still called "Module1", renamed when taken in
    bool checked = false;   // the first choice: New, as long as there is room
    QStringList remembered; // the Reference=/Object= lines its entry keeps
};

struct Intake
{
    ProjectImport::Project project;
    QList<Candidate> candidates; // one per component line, in line order
    int free = 0;                // how many entries still fit into the catalogue
    QString problem;             // German; set: the project gives nothing to take in
};

// Reads the project file and decides each line's state against the catalogue
// as read now. Nothing is written.
Intake planIntake(const QString& projectPath);
// The same against a given catalogue (tests, and a front end that holds one).
Intake planIntake(const QString& projectPath, const Snapshot& catalogue);

struct IntakeOutcome
{
    struct Left
    {
        QString name; // the entry name, else the path as written
        QString reason;
        int index = -1; // into intake.candidates
    };
    struct Unremembered
    {
        QString name;      // an entry taken in
        QStringList lines; // its lines the catalogue could not keep
    };
    QStringList taken;       // entry names now in the catalogue, in line order
    QList<Left> left;        // chosen, but not taken in, each with its reason, in line order
    QStringList backups;     // the backup file of each renamed module
    FileIo::Result result;   // the one write of the catalogue
    QStringList sorted;      // the saved list afterwards
    QList<int> takenIndexes; // of `taken`, into intake.candidates
    QList<Unremembered> unremembered; // remembered lines left out of taken entries
};

// The plan's lines once `chosen` are checked: a new line that does not fit (a
// checked one past the room, in line order, or an unchecked one when the checked
// ones fill it) is Full with its reason, one that fits again is New; `checked`
// says whether it is chosen.
QList<Candidate> linesWith(const Intake& intake, const QList<int>& chosen);

// Whether the lines not chosen are named in IntakeOutcome::left too: a front end
// that showed every line names each one not taken in; one that was told what
// to take names only those.
enum class Unchosen
{
    Unnamed,
    Named
};

// Takes the chosen candidates (indexes into intake.candidates) in: first the
// renaming of each chosen "Module1" module (backup first), then one atomic
// replacement of the catalogue with their entries, their remembered lines and
// the sorted list. Under the lock the catalogue is read anew: a candidate that
// is no longer new there, or that would go past the last key, is left with its
// reason and nothing of it is written. A failed write takes nothing in.
// A chosen candidate that is neither New nor Full is left with its reason. The
// project's property pages, never taken in, are left with theirs once one of
// its user controls went in.
IntakeOutcome takeIn(const Intake& intake, const QList<int>& chosen,
                     Unchosen unchosen = Unchosen::Unnamed);

// German texts for front ends.
QString stateText(Candidate::State state);
QString summaryText(const IntakeOutcome& outcome);

} // namespace Catalog
