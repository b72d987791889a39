#include "catalog/Catalog.h"

#include "platform/AppContext.h"
#include "platform/IniDocument.h"
#include "platform/IniFiles.h"

#include <QFileInfo>

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

// Absolute values stay; a relative one is taken from the catalogue's folder.
QString resolved(const QString& catalogFile, const QString& folder)
{
    if (folder.isEmpty() || folder.startsWith(QLatin1Char('/')))
        return folder;
    return QFileInfo(catalogFile).absolutePath() + QLatin1Char('/') + folder;
}

} // namespace

QString listedName(int key)
{
    return read(kFilelist, QString::number(key));
}

void unlist(int key)
{
    DeleteIniKey(file(), kFilelist, QString::number(key));
}

QString folderOf(const QString& name)
{
    return resolved(file(), read(kFilepath, name));
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

int setCaption(const QString& name, const QString& caption)
{
    return WriteIniValue(file(), kCaption, name, caption);
}

int setOption(const QString& key, const QString& value)
{
    return WriteIniValue(file(), kOption, key, value);
}

int saveMarks(const QStringList& names)
{
    QList<QPair<QString, QString>> keys;
    for (const QString& name : names)
        keys.append({name, QStringLiteral("1")});
    return ReplaceIniSection(file(), kMarked, keys);
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

void saveList(const QStringList& names)
{
    QList<QPair<QString, QString>> keys;
    for (qsizetype i = 0; i < names.size() && i <= kLastKey - kFirstKey; ++i)
        keys.append({QString::number(kFirstKey + i), names.at(i)});
    ReplaceIniSection(file(), kFilelist, keys);
}

QList<Component> componentsOf(const QString& catalogFile)
{
    QList<Component> components;
    const Ini::Document doc(catalogFile);
    QStringList seen;
    for (int n = kFirstKey; n <= kLastKey; ++n) {
        QString name;
        if (!doc.value(kFilelist, QString::number(n), &name))
            continue;
        name = Ini::unquoted(name).toString();
        if (name.isEmpty() || seen.contains(name, Qt::CaseInsensitive))
            continue;
        seen << name;
        QString folder;
        QString fileName;
        doc.value(kFilepath, name, &folder);
        doc.value(kFilename, name, &fileName);
        components.append({name, resolved(catalogFile, Ini::unquoted(folder).toString()),
                           Ini::unquoted(fileName).toString()});
    }
    return components;
}

FileIo::Result setFolders(const QString& catalogFile,
                          const QList<QPair<QString, QString>>& namesAndFolders)
{
    return Ini::edit(catalogFile, [&](Ini::Document& doc) {
        bool changed = false;
        for (const auto& [name, folder] : namesAndFolders)
            changed |= doc.setValue(kFilepath, name, folder);
        return changed;
    });
}

} // namespace Catalog
