#pragma once

#include "catalog/Catalog.h"
#include "generate/Failures.h"
#include "generate/Staging.h"
#include "platform/FileResult.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Copies the checked catalogue components into the project folder and collects
// what the project file needs for them. Planning reads a catalogue snapshot;
// copying touches only files.
namespace Generate {

// One file to copy, or a component refused before copying.
struct FileCopy
{
    QString name;   // the file name, as shown and reported
    QString source; // empty when refused
    QString target;
    QString refused;   // why it cannot be copied, known before copying (no usable name)
    bool text = false; // a text component: bare LF line ends become CR LF, unless it holds a NUL
    qint64 size = 0;   // at planning time; the share of the progress total
    QString entry{};   // the catalogue entry it belongs to
};

struct CopyPlan
{
    QString projectFolder;
    QList<FileCopy> files;
    QString projectLines;   // one line per component of a known kind, each ending in CR LF
    QString startForm;      // by the start-form rule; empty when no form is checked
    QStringList remembered; // the entries' Reference= and Object= lines, as stored
    QStringList marks;      // every checked entry name, for "Marked"
    qint64 totalBytes = 0;
    // False: an existing target is kept and its copy fails (EEXIST).
    bool replace = true;
};

// Shared by the copying thread, which writes, and the window, which reads and
// may ask for a stop.
struct CopyControl
{
    std::atomic<bool> cancel{false};
    std::atomic<int> file{-1};        // index into the plan's files
    std::atomic<qint64> fileDone{0};  // bytes of that file
    std::atomic<qint64> bytesDone{0}; // of the plan's total
};

struct CopyResult
{
    QStringList written;        // files of the project folder that now hold copies
    QStringList createdFolders; // folders this run made, outermost first
    QList<Failure> failures;
    bool cancelled = false; // then nothing was written and the made folders are gone
};

// Lists the files to copy for the checked entries (in list order): each one's
// "Filepath" + "Filename" and a form's .frx or a user control's .ctx beside it.
CopyPlan planCopies(const Catalog::Snapshot& catalogue, const QStringList& checkedEntries,
                    const QString& projectFolder);

// Creates the project folder first (even when nothing can be copied), then
// copies every planned file in chunks into a temporary file beside its target,
// staged in `staging` in the plan's order; a file that cannot be copied is noted
// there with its reason, and the older file of its name stays as it was. A stop
// through `control.cancel` ends it at once. Gives the folders made here,
// outermost first. The catalogue's component files are only read.
QStringList stageCopies(const CopyPlan& plan, CopyControl& control, Staging& staging);

// The copies alone: staged, then put in place together (Staging::putInPlace).
// A stop before the renames replaces no file; it removes the temporary files and
// the folders this run made.
CopyResult runCopies(const CopyPlan& plan, CopyControl& control);

// Creates `folder` and any missing parents, appending each one made here to
// `created` (outermost first).
FileIo::Result makeFolders(const QString& folder, QStringList* created);

// Removes the given folders, innermost first, as long as they are empty.
void removeEmptyFolders(const QStringList& outermostFirst);

// Bytes as a German reader expects them, in the unit of `total`:
// "1,2 von 3,0 GB", "512 von 900 Bytes".
QString sizeProgress(qint64 done, qint64 total);

// How far a copy run is, as the window's bar and file line and the command line's
// progress line show it: thousandths of all bytes, and the file under way with
// its own progress ("Haupt.frm (1,2 von 3,0 MB)"), empty before the first.
struct CopyProgress
{
    int perMille = 0;
    QString file;
};
CopyProgress copyProgress(const CopyPlan& plan, const CopyControl& control);

// Test seams: the chunk size of a copy, and a call after every chunk (on the
// copying thread) that may slow the copy down or record its progress.
void setChunkBytes(qint64 bytes); // 0 restores the default
void setAfterChunk(std::function<void(const CopyControl&)> hook);

} // namespace Generate
