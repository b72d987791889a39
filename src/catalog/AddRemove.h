#pragma once

#include "catalog/Catalog.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Adding a component file to the catalogue and removing an entry: the decisions
// every front end shares. A front end only asks and shows; the window asks with
// message boxes, a command line answers with its flags.
//
// Adding:
//   const Catalog::AddPlan plan = Catalog::prepareAddition(path, shown);
//   1. plan.refusal not empty: show it; nothing was touched, stop.
//   2. plan.repairProblem not empty: show it (the module keeps "Module1").
//   3. plan.existing.listed: ask duplicateQuestion() (a command line takes
//      --ueberschreiben as the answer); No stops.
//   4. const Catalog::Change change = Catalog::add(plan, overwrite);
//      not Done: show additionFailedText(plan, change) and stop; for NotListed
//      and Moved the front end shows the catalogue anew, as it is on disk.
//   5. plan.renamed: show renamedText(plan.fileName); then, when
//      plan.missingCompanion is set, companionText(plan); then, when
//      change.leftLines is not empty, unrememberedText(plan.name, change.leftLines).
// Removing (after the front end asked removeQuestion(name)):
//   const Catalog::Change change = Catalog::removeEntry(name, seen);
//   not Done: show removalFailedText(name, change, seen).
namespace Catalog {

// The entry a front end shows under a name (letter case ignored), or none.
using Shown = std::function<Seen(const QString& name)>;

struct AddPlan
{
    QString path;     // the component file as chosen
    QString folder;   // its folder, ending with '/'
    QString fileName; // its file name
    // The entry name: the file's internal name, else its file name up to the
    // first dot; a module still called "Module1" is listed under its file name.
    QString name;
    QString refusal;          // German; set: nothing is added, nothing was touched
    bool renamed = false;     // the module was renamed after a backup
    QString repairProblem;    // German; the renaming was wanted but failed
    Seen existing;            // the entry of that name as the front end shows it
    QString missingCompanion; // the .frx/.ctx the file refers to but lacks beside it
};

// The entry name of a component file, for one file added and for a project's
// files taken in alike: its internal name when the catalogue can hold it, else
// its file name up to the first dot. A module still called "Module1" whose
// first line can be renamed goes under its file name without ".bas", after the
// renaming (`repair`).
struct EntryName
{
    QString name;        // the entry name once any renaming is done
    QString internal;    // the internal name the catalogue can hold; else empty
    bool repair = false; // rename the module to `name` first
};
// `bytes` are the file's bytes, or empty when it could not be read.
EntryName entryNameOf(const QString& fileName, const QByteArray& bytes);

// Why a component file cannot go into the catalogue under `name`, for one file
// added and a project's files taken in alike; empty when it can. Refused: a
// form's .frx or a user control's .ctx on its own (it goes with its component),
// what the catalogue cannot hold (entryProblem), and a name or file name the
// project file cannot hold in Windows-1252 (unwritableInProject).
QString componentProblem(const QString& name, const QString& folder, const QString& fileName);

// Reads the component file at `path` and decides its entry name. Refuses what
// is no file, what componentProblem refuses, and a new name when the catalogue
// is full; otherwise renames a module still called "Module1" after its
// file, with a backup first (the only change before add()). `shown` tells the
// entry of that name the front end shows; without it, the catalogue as read now.
AddPlan prepareAddition(const QString& path, const Shown& shown = {});

// Lists the planned entry, replacing the one of that name when `overwrite`,
// in one atomic replacement of the catalogue. Exists when the plan found an
// entry of that name and `overwrite` is false; NotListed or Moved, with nothing
// changed, when the catalogue no longer shows the entry as the plan saw it.
Change add(const AddPlan& plan, bool overwrite);

// The question before an entry of the same name is replaced.
QString duplicateQuestion();
// The question before an entry is removed.
QString removeQuestion(const QString& name);
// After a renamed module was added: where its backup is.
QString renamedText(const QString& fileName);
// After a form or user control was added whose companion is missing.
QString companionText(const AddPlan& plan);

// The catalogue has no key left for a new entry.
QString fullText();
// After an entry was stored: the Reference=/Object= lines of it that new
// projects will not get, since the catalogue could not keep them.
QString unrememberedText(const QString& name, const QStringList& lines);

// Why an addition did not happen; empty for Done.
QString additionFailedText(const AddPlan& plan, const Change& change);
// Why a removal did not happen; empty for Done. `seen` as given to removeEntry.
QString removalFailedText(const QString& name, const Change& change,
                          const std::optional<Place>& seen);

} // namespace Catalog
