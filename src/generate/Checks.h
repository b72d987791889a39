#pragma once

#include <QString>

// The project page's entries: how the project folder is formed from them, which
// names are refused, and the question about a folder that already exists.
namespace Generate {

// The folder text with one '/' appended when it does not end with one.
QString folderBase(const QString& folderText);

// With the subfolder option: folder base + name; without it: the folder text.
QString projectFolder(const QString& folderText, const QString& name, bool subfolder);

// A file inside the project folder: '/' is put between the two only when missing.
QString pathInProject(const QString& projectFolder, const QString& fileName);

// The project file: <project folder>/<name>.vbp.
QString projectFilePath(const QString& projectFolder, const QString& name);

// True when the name holds any of  / \ : * ? " < > | -
bool hasForbiddenCharacter(const QString& name);

// True when Windows takes the name as a device (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9), letter case aside, also before an extension (LPT1.txt, CON .txt).
bool isDeviceName(const QString& name);

// Why the name cannot name the project's folder and files, as the message says
// it; empty when it can. Blank names, names that end in a blank or a dot (".."
// among them) and device names make no folder or file on Windows, where the
// project is opened; the project file holds only Windows-1252, and a control
// character would break its lines.
QString projectNameProblem(const QString& name);

// Ordinary files of the folder: no hidden or special files, no sub-folders;
// -1 when the folder cannot be listed.
int countFiles(const QString& folder);

enum class FolderState
{
    Missing,
    Empty,
    HasFiles
};

// Missing unless FolderExists reports the path. A path that cannot be listed
// (an existing file, say) counts as holding files: the stronger warning.
FolderState folderState(const QString& projectFolder);

// The question for an existing folder; the empty text for a missing one.
QString folderQuestion(FolderState state);

// The project page's checks, in the order a front end says or asks them.
struct ProjectCheck
{
    bool incomplete = false;  // no entries, no name or no folder: stop without a word
    QString nameRefusal;      // told first, before any question; also a name too long
                              // for the project file in that folder
    QString folderQuestion;   // the folder exists: use it anyway? Empty when missing.
    QString characterRefusal; // a forbidden character, told after the question
};

ProjectCheck checkProject(int listedEntries, const QString& name, const QString& folderText,
                          bool subfolder);

// Message texts; the window shows them.
inline const QString kFolderQuestionTitle = QStringLiteral(" Projektordner auswählen");
inline const QString kFolderHasFiles =
    QStringLiteral("Der Projektordner ist vorhanden und enthält Dateien. \n"
                   "Möchten Sie den Ordner trotzdem verwenden ?");
inline const QString kFolderEmpty =
    QStringLiteral("Der Projektordner ist ohne Dateiinhalte vorhanden. \n"
                   "Möchten Sie den Ordner trotzdem verwenden ?");
inline const QString kForbiddenName =
    QStringLiteral("Der Projektname darf folgende Sonderzeichen /\\:*?''<>|- nicht enthalten.  ");
inline const QString kBlankName =
    QStringLiteral("Der Projektname darf nicht nur aus Leerzeichen bestehen.  ");
inline const QString kNameEnding =
    QStringLiteral("Der Projektname darf nicht mit einem Leerzeichen oder Punkt enden.  ");
inline const QString kNameOutsideCodePage = QStringLiteral(
    "Der Projektname darf nur Zeichen des Windows-Zeichensatzes (Windows-1252) enthalten.  ");
inline const QString kNameControlCharacter = QStringLiteral(
    "Der Projektname darf keine Steuerzeichen wie Zeilenumbruch oder Tabulator enthalten.  ");
inline const QString kDeviceName =
    QStringLiteral("Der Projektname darf kein Gerätename wie CON, PRN, AUX, NUL, COM1 bis COM9 "
                   "oder LPT1 bis LPT9 sein, auch nicht vor einer Endung.  ");
inline const QString kNameTooLong =
    QStringLiteral("Der Projektname ist zu lang für den Namen oder den Pfad der Projektdatei.  ");

} // namespace Generate
