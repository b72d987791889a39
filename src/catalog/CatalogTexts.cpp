#include "catalog/CatalogTexts.h"

#include "catalog/Snapshot.h"

namespace Catalog {

QString unreadableText(const QString& catalogFile, const FileIo::Result& result)
{
    return QStringLiteral("Die Vorlagendatei ''%1'' kann nicht gelesen werden: %2")
        .arg(catalogFile, result.reason());
}

QString unknownEncodingText(const QString& catalogFile)
{
    return QStringLiteral("Die Vorlagendatei ''%1'' ist in einer Zeichenkodierung gespeichert, "
                          "die das Programm nicht erkennt.")
        .arg(catalogFile);
}

QString notSavedText(const QString& lost, const FileIo::Result& result)
{
    return QStringLiteral("Die Vorlagendatei ''%1'' konnte nicht gespeichert werden. %2\n%3")
        .arg(file(), lost, result.reason());
}

QString notSavedText(Unsaved what, const FileIo::Result& result)
{
    QString lost;
    switch (what) {
    case Unsaved::Caption:
        lost = QStringLiteral("Die Beschreibung wurde nicht gespeichert.");
        break;
    case Unsaved::Marks:
        lost = QStringLiteral("Die Markierungen der Liste wurden nicht gespeichert.");
        break;
    case Unsaved::Options:
        lost = QStringLiteral("Die Einstellungen des Projekts wurden nicht gespeichert.");
        break;
    case Unsaved::List:
        lost = QStringLiteral("Die sortierte Liste der Vorlagen wurde nicht gespeichert.");
        break;
    case Unsaved::Duplicate:
        lost = QStringLiteral("Ein doppelter Eintrag wurde nicht aus der Liste entfernt.");
        break;
    }
    return notSavedText(lost, result);
}

QString notListedText(const QString& name)
{
    return QStringLiteral("Der Eintrag ''%1'' steht nicht in der Vorlagenliste.").arg(name);
}

QString notListedText(const QString& name, const Snapshot& catalogue)
{
    const QString beyond = beyondText(catalogue);
    return beyond.isEmpty() ? notListedText(name) : notListedText(name) + QLatin1Char(' ') + beyond;
}

QString beyondText(const Snapshot& catalogue)
{
    if (catalogue.beyond().isEmpty())
        return {};
    QStringList entries;
    for (const Listed& entry : catalogue.beyond())
        entries
            << QStringLiteral("''%1'' (Schlüssel %2)").arg(entry.name, QString::number(entry.key));
    return QStringLiteral("Die Vorlagendatei ''%1'' führt Einträge außerhalb der %2 Plätze der "
                          "Liste (Schlüssel %3 bis %4); das Programm zeigt und verwendet sie "
                          "nicht. Anzahl: %5; %6.")
        .arg(catalogue.catalogFile(), QString::number(kCapacity), QString::number(kFirstKey),
             QString::number(kLastKey), QString::number(entries.size()),
             entries.join(QStringLiteral(", ")));
}

} // namespace Catalog
