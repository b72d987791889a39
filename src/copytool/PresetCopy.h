#pragma once

#include "generate/CopyRun.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Copies the project presets (the catalogue, the project template and its spare,
// and every component file with its .frx/.ctx) into another folder, and writes
// there a catalogue whose folders point at the copies: the folder then serves
// the wizard as its own data folder, wherever it is moved. The source is only read.
namespace PresetCopy {

// Where the components go inside the target folder; a relative catalogue value.
inline const QString kComponentFolder = QStringLiteral("Komponenten/");
// The summary of a run that was stopped.
inline const QString kCancelled =
    QStringLiteral("Das Kopieren wurde abgebrochen. Im Zielordner ist alles wie zuvor.");

struct File
{
    QString source;
    QString target;
    qint64 size = 0;
};

struct Plan
{
    QString sourceFolder; // the wizard's data folder
    QString targetFolder; // absolute, without a trailing '/'
    // Non-empty: the target cannot be used, and why (German).
    QString refusal;
    QList<File> files;                      // the catalogue comes last, and is written, not copied
    QStringList missing;                    // German lines: what the source lacks
    QList<QPair<QString, QString>> folders; // entry name and its folder in the copy
    qint64 totalBytes = 0;
};

// What would be copied from `sourceFolder` into `targetFolder`. A leading "~/"
// is the home folder; any other relative target is refused.
Plan plan(const QString& sourceFolder, const QString& targetFolder);

// The planned targets that exist already.
QStringList existingTargets(const Plan& plan);

struct Outcome
{
    int copied = 0;
    qint64 bytes = 0;
    QStringList missing;    // from the plan
    QStringList failed;     // German lines: each file once, with its reason
    bool cancelled = false; // then nothing of the run is left in the target
    bool ok() const { return !cancelled && missing.isEmpty() && failed.isEmpty(); }
};

// Copies what `plan` lists, on the calling thread (any thread will do), with
// the project copier: each file into a temporary file beside its target, put in
// place only once all are copied, then the target's disk is synced, so that
// what the summary calls copied has reached it (a stick may be pulled after it)
// and a late write error is not missed. Without `replace`, existing targets are
// kept and counted as failures. `control`, when given, shows the progress to
// another thread and takes a stop: then the temporary files and the folders
// this run made go, and no older file is touched.
Outcome run(const Plan& plan, bool replace, Generate::CopyControl* control = nullptr);

// The German summary for the person: what was copied, and every file that was
// missing or failed.
QString summary(const Plan& plan, const Outcome& outcome);

} // namespace PresetCopy
