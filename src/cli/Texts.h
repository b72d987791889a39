#pragma once

#include <QString>

// What the command line says. A quotation mark shown to the person is written
// as two single quotes, as in the window.
namespace Cli {

inline const QString kExitCodes =
    QStringLiteral("Rückgabewert: 0 erledigt; 1 erledigt, aber mit Fehlern oder Befunden; "
                   "2 nichts getan\n(falsche Argumente, von einer Prüfung abgelehnt, "
                   "Vorlagenliste nicht lesbar oder gesperrt).");

// Arguments
inline const QString kUnknownOption =
    QStringLiteral("Unbekannte Option ''%1''. Die Optionen nennt %2 --help.");
inline const QString kMissingValue = QStringLiteral("Der Option ''%1'' fehlt ihr Wert %2.");
inline const QString kNoValueWanted = QStringLiteral("Die Option ''%1'' nimmt keinen Wert.");
inline const QString kBadArguments = QStringLiteral("Die Argumente sind ungültig: %1");
inline const QString kNoTask =
    QStringLiteral("Keine Aufgabe genannt. Die Aufgaben nennt vorlagen --help.");
inline const QString kOneTaskOnly = QStringLiteral("Nur eine Aufgabe auf einmal: %1.");
inline const QString kForeignOption = QStringLiteral("Die Option ''%1'' gehört nicht zu ''%2''.");
inline const QString kRequired = QStringLiteral("''%1'' braucht die Option ''%2''.");
inline const QString kRepeated = QStringLiteral("Die Option ''%1'' darf nur einmal stehen.");
inline const QString kUnexpectedArgument = QStringLiteral("Unerwartetes Argument ''%1''.");
inline const QString kNoDataFolder =
    QStringLiteral("Der Datenordner ''%1'' ist nicht vorhanden oder kein Ordner.");

// Output
inline const QString kOutputLost =
    QStringLiteral("Die Standardausgabe konnte nicht geschrieben werden: %1");

// --hinzufuegen
inline const QString kAdded = QStringLiteral("''%1'' wurde in die Vorlagenliste aufgenommen.");
inline const QString kNotOverwritten =
    QStringLiteral("Ohne --ueberschreiben wird der vorhandene Eintrag nicht ersetzt.");

// --entfernen
inline const QString kRemoved = QStringLiteral("''%1'' wurde aus der Vorlagenliste entfernt.");

// --uebernehmen
inline const QString kNotInProject =
    QStringLiteral("Die Projektdatei nennt keine Komponente ''%1''.");

// --aktualisieren
inline const QString kPreviewOutcome =
    QStringLiteral("Vorschau, nichts ist geschrieben. So ginge es aus:");

// --pruefen
inline const QString kNothingWrong =
    QStringLiteral("Die Vorlagenliste, ihre Dateien und die Projektvorlage sind in Ordnung.");

// --neu
inline const QString kExclusive =
    QStringLiteral("Die Optionen ''%1'' und ''%2'' schließen einander aus.");
inline const QString kNameOrFolderEmpty =
    QStringLiteral("Projektname und Projektordner dürfen nicht leer sein.");
inline const QString kFolderNotUsed =
    QStringLiteral("Ohne --ueberschreiben wird der vorhandene Ordner nicht verwendet.");
inline const QString kFolderUnusable =
    QStringLiteral("Im Projektordner ''%1'' kann nichts angelegt werden: %2");
inline const QString kPreviewCopy = QStringLiteral("%1 -> %2");
inline const QString kPreviewRefused = QStringLiteral("%1 wird nicht kopiert: %2");
inline const QString kPreviewFile = QStringLiteral("\n--- %1\n");
inline const QString kProgress = QStringLiteral("%1 % kopiert  %2");
inline const QString kStopped =
    QStringLiteral("Abgebrochen. Alles, was dieser Lauf angelegt hatte, ist entfernt.");
inline const QString kStoppedNotAll =
    QStringLiteral("Abgebrochen. Diese Dateien konnten nicht zurückgesetzt werden:");
inline const QString kMade = QStringLiteral("Das Projekt in ''%1'' ist erstellt.");
inline const QString kMadeIncompletely =
    QStringLiteral("Das Projekt in ''%1'' ist unvollständig erstellt.");
inline const QString kNotAFolder =
    QStringLiteral("''%1'' ist kein Ordner; darin kann kein Projekt angelegt werden.");
inline const QString kNotOpened =
    QStringLiteral("Das Projekt ''%1'' konnte nicht geöffnet werden: %2");
inline const QString kNoOpener = QStringLiteral("Das Programm xdg-open wurde nicht gefunden.");
inline const QString kOpenerNotStarted =
    QStringLiteral("Das Programm xdg-open konnte nicht gestartet werden.");

} // namespace Cli
