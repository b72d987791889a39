#pragma once

#include "catalog/Snapshot.h"

#include <QString>
#include <QStringList>

// Whether the checked components can go into one project together. Asked while
// the component page still shows, so the person can uncheck what stands in the way.
namespace Catalog {

// Why the checked entries (in list order) cannot be copied into one project, as
// the message says it; empty when they can. Refused: no entry at all; a file
// name, or an entry name that goes into the project files, that those cannot
// hold in Windows-1252; and two entries whose copies (the file, a form's .frx, a
// user control's .ctx) would have the same name without regard to letter case,
// so that the second would replace the first.
QString selectionProblem(const Snapshot& catalogue, const QStringList& checkedEntries);

// Why an entry's file cannot be copied into a project as the catalogue names it:
// no file name, or one that would put the copy outside the project folder; empty
// when it can.
QString copyRefusal(const QString& fileName);
inline const QString kNoFileName = QStringLiteral("kein Dateiname im Katalog");
inline const QString kBadFileName = QStringLiteral("ungültiger Dateiname im Katalog");

inline const QString kNothingChecked = QStringLiteral(
    "Markieren Sie die Dateien, welche in das neue Projekt eingefügt werden sollen. ");

inline const QString kSameFile =
    QStringLiteral("Die Komponenten ''%1'' und ''%2'' verwenden beide die Datei ''%3''. "
                   "Bitte markieren Sie nur eine davon.");
inline const QString kEntryNameOutsideCodePage =
    QStringLiteral("Der Name der Komponente ''%1'' enthält Zeichen außerhalb des "
                   "Windows-Zeichensatzes (Windows-1252) und kann nicht in die Projektdatei "
                   "geschrieben werden. Bitte markieren Sie diese Komponente nicht.");
inline const QString kFileNameOutsideCodePage =
    QStringLiteral("Der Dateiname ''%2'' der Komponente ''%1'' enthält Zeichen außerhalb des "
                   "Windows-Zeichensatzes (Windows-1252) und kann nicht in die Projektdatei "
                   "geschrieben werden. Bitte markieren Sie diese Komponente nicht.");

} // namespace Catalog
