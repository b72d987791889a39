#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

// Copies the project presets (the catalogue, the project template and its spare,
// and every component file with its .frx/.ctx) into another folder, and writes
// there a catalogue whose folders point at the copies: the folder then serves
// the wizard as its own data folder, wherever it is moved. The source is only read.
namespace PresetCopy {

// Where the components go inside the target folder; a relative catalogue value.
inline const QString kComponentFolder = QStringLiteral("Komponenten/");

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
    QStringList missing; // from the plan
    QStringList failed;  // German lines: each file once, with its reason
    bool ok() const { return missing.isEmpty() && failed.isEmpty(); }
};

// (bytes done, bytes in all, file being copied)
using Progress = std::function<void(qint64, qint64, const QString&)>;

// Copies what `plan` lists. Without `replace`, existing targets are kept and
// counted as failures. Every file is copied whole or not at all. With
// `syncAtEnd` the target's disk is synced once at the end, so that what the
// summary calls copied has reached it (a stick may be pulled after it) and a
// late write error is not missed.
Outcome run(const Plan& plan, bool replace, const Progress& progress = {}, bool syncAtEnd = true);

// The German summary for the person: what was copied, and every file that was
// missing or failed.
QString summary(const Plan& plan, const Outcome& outcome);

} // namespace PresetCopy
