#include "catalog/Catalog.h"

#include "platform/AppContext.h"
#include "platform/IniDocument.h"
#include "platform/IniFiles.h"

#include <QCollator>

namespace Catalog {

QString file()
{
    return AppContext::catalogFile();
}

namespace {

const QString kFilelist = QStringLiteral("Filelist");
const QString kFilepath = QStringLiteral("Filepath");
const QString kFilename = QStringLiteral("Filename");
const QString kMarked = QStringLiteral("Marked");
const QString kCaption = QStringLiteral("Caption");
const QString kOption = QStringLiteral("Option");

QString read(const QString& section, const QString& key)
{
    return ReadIniValue(file(), section, key);
}

} // namespace

QString listedName(int key)
{
    return read(kFilelist, QString::number(key));
}

FileIo::Result unlist(int key)
{
    return Ini::removeKey(file(), kFilelist, QString::number(key));
}

QString folderOf(const QString& name)
{
    return read(kFilepath, name);
}

QString fileNameOf(const QString& name)
{
    return read(kFilename, name);
}

QString captionOf(const QString& name)
{
    return read(kCaption, name);
}

bool isMarked(const QString& name)
{
    return read(kMarked, name) == QLatin1String("1");
}

QString option(const QString& key)
{
    return read(kOption, key);
}

FileIo::Result setCaption(const QString& name, const QString& caption)
{
    return Ini::writeValue(file(), kCaption, name, caption);
}

FileIo::Result setOption(const QString& key, const QString& value)
{
    return Ini::writeValue(file(), kOption, key, value);
}

QString storedCaption(const QString& caption)
{
    if (Ini::trimmed(caption).size() == caption.size() && Ini::unquoted(caption) == caption)
        return caption;
    return QLatin1Char('"') + caption + QLatin1Char('"');
}

FileIo::Result saveMarks(const QStringList& names)
{
    QList<QPair<QString, QString>> keys;
    for (const QString& name : names)
        keys.append({name, QStringLiteral("1")});
    return Ini::replaceSection(file(), kMarked, keys);
}

QList<Listed> enumerate()
{
    QList<Listed> listed;
    for (int n = kFirstKey; n <= kLastKey; ++n) {
        const QString name = listedName(n);
        if (!name.isEmpty())
            listed.append({n, name});
    }
    return listed;
}

QStringList sortedNames()
{
    QStringList names;
    for (const Listed& entry : enumerate()) {
        if (!folderOf(entry.name).isEmpty())
            names << entry.name;
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}

FileIo::Result saveList(const QStringList& names)
{
    QList<QPair<QString, QString>> keys;
    for (qsizetype i = 0; i < names.size() && i <= kLastKey - kFirstKey; ++i)
        keys.append({QString::number(kFirstKey + i), names.at(i)});
    return Ini::replaceSection(file(), kFilelist, keys);
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
    // A quotation mark shown to the person is written as two single quotes.
    return QStringLiteral("Die Vorlagendatei ''%1'' konnte nicht gespeichert werden. %2\n%3")
        .arg(file(), lost, result.reason());
}

void removeLeftovers()
{
    FileIo::removeStaleTemporaries(file());
}

} // namespace Catalog
