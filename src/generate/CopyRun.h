#pragma once

#include "generate/Failures.h"
#include "generate/Progress.h"
#include "platform/FileIo.h"

#include <QList>
#include <QString>
#include <QStringList>

// Copies the checked catalogue components into the project folder and collects
// what the project file needs for them.
namespace Generate {

// One line of the component list, in list order.
struct ListLine
{
    QString entryName;
    bool checked = false;
};

struct CopyResult
{
    QString projectLines; // one line per component of a known kind, each ending in CR LF
    QString startForm;    // entry name of the first checked form; empty when none
    QStringList written;  // paths of the files copied into the project folder
    QList<Failure> failures;
    FileIo::Result marksSaved; // the "Marked" write; ok when not asked for
};

// Reads each checked entry's "Filepath" and "Filename" from the catalogue and
// copies the file (and a form's .frx or a user control's .ctx beside it) into
// the project folder, replacing files of the same name. With saveMarks, the
// "Marked" section is rebuilt from the checked lines. Reports progress
// before each component.
CopyResult copyComponents(const QList<ListLine>& lines, const QString& projectFolder,
                          bool saveMarks, const Progress& progress = {});

// The project line for a component ("Form=Haupt.frm" and so on) without its line
// end; the empty text for a kind that has none.
QString projectLine(const QString& entryName, const QString& fileName);

// Copies one file, replacing the target; the same file as source and target is
// left alone and counts as copied.
bool copyFile(const QString& source, const QString& target);

} // namespace Generate
