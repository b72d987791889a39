#pragma once

#include <QList>
#include <QString>

namespace Catalog {

class Snapshot;

// What is wrong with the catalogue as read, with its entries' files and with
// the project template, for a front end to show. Texts name what they are about
// and never hold a control character as it is (shown as \xHH), apart from the
// line feeds of their own sentences.
struct Finding
{
    QString entry; // empty for the catalogue itself and the template
    QString kind;  // one word, for scripts
    QString text;  // German
};
QList<Finding> health(const Snapshot& catalogue);

// The texts of the findings, with the entry name first and its file second.
inline const QString kStrayLine =
    QStringLiteral("Zeile %1 der Vorlagendatei ist weder Abschnitt noch Schlüssel und wird "
                   "nicht gelesen: ''%2''");
inline const QString kListedTwice =
    QStringLiteral("Die Komponente ''%1'' steht zweimal in der Liste (Schlüssel %2 und %3); "
                   "der spätere Eintrag wird beim nächsten Start gelöscht.");
inline const QString kBeyondList =
    QStringLiteral("Der Eintrag ''%1'' steht unter dem Schlüssel %2 außerhalb der 101 Plätze der "
                   "Liste (Schlüssel 100 bis 200); das Programm zeigt und verwendet ihn nicht.");
inline const QString kNoFolder =
    QStringLiteral("Die Komponente ''%1'' hat keinen Ordner und fällt beim nächsten Speichern "
                   "aus der Liste.");
inline const QString kFileMissing = QStringLiteral("Die Datei ''%2'' der Komponente ''%1'' fehlt.");
inline const QString kNotCopyable =
    QStringLiteral("Die Komponente ''%1'' kann nicht kopiert werden: %2.");
inline const QString kBareLineFeeds =
    QStringLiteral("Die Datei ''%2'' der Komponente ''%1'' hat Zeilenenden ohne CR; beim "
                   "Kopieren in ein Projekt werden sie in CR LF umgewandelt.");
inline const QString kUnusableObjectLines =
    QStringLiteral("Die Datei ''%2'' der Komponente ''%1'' nennt im Kopf Object-Zeilen, die "
                   "Visual Basic so nicht schreibt; neue Projekte erhalten sie nicht: ''%3''");
inline const QString kFileUnreadable =
    QStringLiteral("Die Datei ''%2'' der Komponente ''%1'' kann nicht gelesen werden: %3");
inline const QString kNoTemplate =
    QStringLiteral("Die Projektvorlage ''%1'' fehlt; neue Projekte erhalten keine Projektdatei.");
inline const QString kTemplateRestorable =
    QStringLiteral("Die Projektvorlage ''%1'' fehlt; das nächste Projekt stellt sie aus ''%2'' "
                   "wieder her.");
inline const QString kTemplateUnreadable =
    QStringLiteral("Die Projektvorlage ''%1'' kann nicht gelesen werden: %2");

} // namespace Catalog
