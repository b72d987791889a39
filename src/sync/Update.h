#pragma once

#include "sync/Comparison.h"

#include "generate/Failures.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Bringing chosen components of a compared project up to date, the same for every
// front end:
//
//     Sync::Update update(project, comparer.catalogue(), chosenIndexes);
//     const Sync::Outcome outcome = update.run();   // or update.preview()
//     show(Sync::summaryText(outcome));             // SyncTexts.h
//
// A component behind the catalogue gets the catalogue's bytes (after the copy's
// CR LF mend), its form and companion together; one changed on both sides keeps
// its bytes and gets the catalogue's beside it as "<file>.neu"; one changed in the
// project, deleted, gone or unreadable is never touched. New files are built
// beside their targets, synced once and renamed into place; a stop or a full disk
// puts every file back as it was. The project file gets the Reference= and
// Object= lines the updated entries remember and it lacks; the record is
// written last. A project without a record gets one for its components that equal
// the catalogue's, and no other file changes.
namespace Sync {

// What became of one chosen component.
struct Result
{
    enum class Kind
    {
        Updated,  // the catalogue's bytes are in the project
        Current,  // nothing to do
        Recorded, // a project without a record: the component is in the new record
        Beside,   // a conflict: the catalogue's files were written as ".neu"
        Left,     // not touched; see reason
        Failed    // could not be written; see reason
    };
    QString entry;
    int component = -1;           // into Project::components
    State state = State::Current; // as compared
    Kind kind = Kind::Left;
    QString reason{};      // German, for Left and Failed
    QStringList besides{}; // the ".neu" files of a conflict
    bool wentIn() const
    {
        return kind == Kind::Updated || kind == Kind::Current || kind == Kind::Recorded;
    }
};

struct Outcome
{
    QString projectFile;
    bool recorded = true;                // false: the project had no record before
    QList<Result> results;               // the chosen components, in the project's order
    QStringList addedLines;              // added to the project file
    QList<Generate::Failure> failures;   // the project file's or the record's write
    bool stopped = false;                // a stop or a full disk took everything back
    QList<Generate::Failure> notPutBack; // after a stop
};

// What a run would write, with nothing written.
struct Preview
{
    QList<QPair<QString, QString>> copies; // the catalogue's file and its target
    QByteArray projectFile;                // the new bytes; empty when it stays
    Outcome outcome;                       // as the run would end, all writes going well
};

class Update
{
public:
    // The steps of a run; the renames in their order, each file after the one sync.
    enum class Step
    {
        Stage,       // a component's new files are built beside their targets
        Commit,      // a component's files are put in place
        ProjectFile, // the project file with its new Reference= and Object= lines
        Record       // the record, last
    };

    // `chosen`: indexes into project.components; others are not looked at.
    Update(const Project& project, const Catalog::Snapshot& catalogue, const QList<int>& chosen);

    Preview preview() const;
    // A stop asked for before a step or during it takes the whole run back.
    Outcome run();
    // Safe from any thread and from a signal handler.
    void stop() { m_cancel = true; }

private:
    struct Write
    {
        QString source;
        QString target;
        bool text = false;
    };
    struct Unit
    {
        int result = -1; // into m_planned.results
        QList<Write> writes;
    };

    QByteArray projectFileBytes(QStringList* added, const QList<int>& updated) const;
    Generate::Record newRecord(const QList<QList<Generate::RecordedFile>>& lines) const;

    Project m_project;
    Catalog::Snapshot m_catalogue;
    Outcome m_planned;
    QList<Unit> m_units;
    std::atomic<bool> m_cancel{false};
};

// Test seam: called before each step of every run (Stage and Commit once per
// component written, ProjectFile and Record when they change), on the run's
// thread; empty restores none.
void setStepHook(std::function<void(Update& running, Update::Step step)> hook);

} // namespace Sync
