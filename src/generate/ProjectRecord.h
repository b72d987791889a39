#pragma once

#include "generate/CopyRun.h"
#include "generate/Failures.h"
#include "generate/Fingerprint.h"
#include "platform/FileResult.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

// The record beside a project's .vbp (Kunde.vbp -> Kunde.vorlagen): which
// catalogue entry each copied file came from and the bytes it was given, so that
// the project can be compared with the catalogue later. An INI text:
//
//     ; ...
//     [Projekt]
//     Erstellt=2025-03-01T10:15:00+01:00
//     Aktualisiert=...                  after the last update, when there was one
//     [Datei1]
//     Eintrag=Haupt
//     Ordner=/home/anna/Vorlagen/       the catalogue's folder of the file then
//     Datei=Haupt.frm                   its name, in the catalogue and the project
//     Groesse=2048
//     SHA256=9f86d0...                  as the project got it (Fingerprint.h)
//     [Datei2]
//     ...                               a form's .frx is a file of its entry
namespace Generate {

struct RecordedFile
{
    QString entry;
    QString folder; // ends with '/'
    QString fileName;
    qint64 size = 0;
    QByteArray sha256;
    bool operator==(const RecordedFile&) const = default;
};

struct Record
{
    QString made;
    QString updated;
    QList<RecordedFile> files;
};

// Where the record of a project file lies.
QString recordPath(const QString& projectFile);
// The project file a record belongs to.
QString projectFileOf(const QString& recordFile);

// "2025-03-01T10:15:00+01:00": local time with its offset.
QString recordDate(const QDateTime& when = QDateTime::currentDateTime());

// Windows-1252 while every character fits, else UTF-8, like the catalogue.
QByteArray recordBytes(const Record& record);
// A missing file gives ENOENT; one in an encoding not recognised, kUnknownEncoding.
Record readRecord(const QString& path, FileIo::Result* read);

// The record of a run, worked out while the copies are made: it hashes the
// planned files' sources on a thread of its own (a copy holds its source's bytes
// after the same CR LF mend, so both have one fingerprint). Stops early when
// `cancel` is set; the destructor waits for it.
class RecordOfRun
{
public:
    RecordOfRun(const CopyPlan& plan, const std::atomic<bool>& cancel);
    ~RecordOfRun();
    RecordOfRun(const RecordOfRun&) = delete;
    RecordOfRun& operator=(const RecordOfRun&) = delete;

    // Every planned file now in the project (`written`); one whose size there is
    // not its source's (changed meanwhile) is hashed where it is now.
    Record finish(const QStringList& written, const QString& made = recordDate());

private:
    const CopyPlan& m_plan;
    const std::atomic<bool>& m_cancel;
    QList<Fingerprint> m_prints; // by planned file
    std::thread m_thread;
};

// Writes the record atomically; adds it to `written`, or its failure to `failures`.
void writeRecord(const QString& path, const Record& record, QStringList* written,
                 QList<Failure>* failures);

} // namespace Generate
