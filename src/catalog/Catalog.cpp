#include "catalog/Catalog.h"

#include "platform/AppContext.h"
#include "platform/FileExistence.h"
#include "platform/IniDocument.h"
#include "platform/IniFiles.h"

#include <QCollator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

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

// An earlier start-up log up to this size is continued; a larger one is replaced.
constexpr qint64 kMaxLogSize = qint64(16) * 1024 * 1024;

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

QString folded(QStringView name)
{
    // Names and keys are nearly always ASCII, whose folding is its lower case;
    // the Unicode tables are asked only for the rest.
    QString text = Ini::trimmed(name).toString();
    for (QChar& c : text) {
        if (c.unicode() >= 0x80)
            return std::move(text).toCaseFolded();
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return text;
}

QStringList sortedByLocale(QStringList names)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}

// Brings the document's list into its saved form and returns the names.
QStringList sortList(Ini::Document& document)
{
    const QStringList names = Snapshot(document).sortedNames();
    document.removeSection(kFilelist);
    for (qsizetype i = 0; i < names.size() && i < kCapacity; ++i)
        document.setValue(kFilelist, QString::number(kFirstKey + i), names.at(i));
    return names;
}

} // namespace

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

Snapshot::Snapshot(const Ini::Document& document)
{
    // The first section of a name and the first key of a name in it count.
    QHash<QString, QString>* current = nullptr;
    for (const QStringView line : document.lines()) {
        const Ini::LineParts parts = Ini::parseLine(line);
        if (parts.kind == Ini::LineKind::Section) {
            const QString name = folded(parts.name);
            current = m_sections.contains(name) ? nullptr : &m_sections[name];
        } else if (parts.kind == Ini::LineKind::Key && current) {
            const QString key = folded(parts.name);
            if (!current->contains(key))
                current->insert(key, Ini::asRead(parts.value).toString());
        }
    }
}

Snapshot Snapshot::read()
{
    return Snapshot(Ini::Document(file()));
}

QString Snapshot::value(const QString& section, QStringView key) const
{
    const auto found = m_sections.constFind(folded(section));
    return found == m_sections.constEnd() ? QString() : found->value(folded(key));
}

QString Snapshot::listedName(int key) const
{
    return value(kFilelist, QString::number(key));
}

QString Snapshot::folderOf(const QString& name) const
{
    return resolved(file(), value(kFilepath, name));
}

QString Snapshot::fileNameOf(const QString& name) const
{
    return value(kFilename, name);
}

QString Snapshot::captionOf(const QString& name) const
{
    return value(kCaption, name);
}

bool Snapshot::isMarked(const QString& name) const
{
    return value(kMarked, name) == QLatin1String("1");
}

QString Snapshot::option(const QString& key) const
{
    return value(kOption, key);
}

QList<Listed> Snapshot::enumerate() const
{
    QList<Listed> listed;
    for (int n = kFirstKey; n <= kLastKey; ++n) {
        const QString name = listedName(n);
        if (!name.isEmpty())
            listed.append({n, name});
    }
    return listed;
}

QStringList Snapshot::sortedNames() const
{
    QStringList names;
    for (const Listed& entry : enumerate()) {
        if (!folderOf(entry.name).isEmpty())
            names << entry.name;
    }
    return sortedByLocale(names);
}

int Snapshot::slotFor(const QString& name) const
{
    int free = -1;
    for (int n = kFirstKey; n <= kLastKey; ++n) {
        const QString listed = listedName(n);
        if (listed.compare(name, Qt::CaseInsensitive) == 0)
            return n;
        if (listed.isEmpty() && free < 0)
            free = n;
    }
    return free;
}

int Snapshot::keyOf(const QString& name) const
{
    for (int n = kFirstKey; n <= kLastKey; ++n) {
        if (listedName(n) == name)
            return n;
    }
    return -1;
}

QList<Listed> enumerate()
{
    return Snapshot::read().enumerate();
}

QStringList sortedNames()
{
    return Snapshot::read().sortedNames();
}

FileIo::Result saveSortedList()
{
    return Ini::edit(file(), [](Ini::Document& document) {
        sortList(document);
        return true;
    });
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

Load load()
{
    Load result;
    result.catalogue = Snapshot::read();
    const Snapshot& catalogue = result.catalogue;
    QSet<QString> shown;
    for (const Listed& listed : catalogue.enumerate()) {
        const QString folder = catalogue.folderOf(listed.name);
        const QString fileName = catalogue.fileNameOf(listed.name);
        if (!FileExists(folder + fileName)) {
            result.missingFiles << folder + fileName;
            continue;
        }
        const QString key = listed.name.toCaseFolded();
        if (shown.contains(key)) {
            result.dropped << listed;
            continue;
        }
        shown.insert(key);
        result.entries.append({listed.key, listed.name, folder, fileName,
                               catalogue.captionOf(listed.name), catalogue.isMarked(listed.name)});
    }
    if (!result.dropped.isEmpty()) {
        // The sorted save that follows needs the duplicates gone; if they stay, the
        // next load drops them again.
        result.droppedSaved = Ini::edit(file(), [&](Ini::Document& document) {
            bool changed = false;
            for (const Listed& listed : std::as_const(result.dropped))
                changed |= document.removeKey(kFilelist, QString::number(listed.key));
            return changed;
        });
    }
    return result;
}

QString startupLog()
{
    return AppContext::logFile();
}

void removeStartupLog()
{
    if (FileExists(startupLog()))
        QFile::remove(startupLog());
}

void writeStartupLog(const QStringList& missingFiles)
{
    if (missingFiles.isEmpty())
        return;
    const QString log = startupLog();
    QByteArray text;
    // A log that could not be removed is continued, as if appended line by line.
    if (FileExists(log) && FileIo::readRegularFile(log, &text, kMaxLogSize).ok() &&
        text.endsWith("\r\n"))
        text.chop(2);
    for (const QString& path : missingFiles)
        text += "\r\nFile is not exists: " + path.toUtf8();
    (void)FileIo::writeFileAtomically(log, text + "\r\n");
}

bool canHoldValue(QStringView value)
{
    return Ini::isWritableValue(value) && value.size() <= Ini::kMaxValueLength &&
           Ini::trimmed(value).size() == value.size() &&
           Ini::unquoted(value).size() == value.size();
}

bool canHoldName(QStringView name)
{
    if (name.isEmpty() || !canHoldValue(name) || !Ini::isWritableKey(name) || name.contains(u']'))
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

Change addEntry(const QString& name, const QString& folder, const QString& fileName)
{
    Change change;
    if (!canHoldName(name) || !canHoldValue(folder) || !canHoldValue(fileName)) {
        change.status = Change::Status::Refused;
        return change;
    }
    change.result = Ini::edit(file(), [&](Ini::Document& document) {
        if (document.state() == Ini::Document::State::Unreadable)
            return true; // the save says why
        const int key = Snapshot(document).slotFor(name);
        if (key < 0) {
            change.status = Change::Status::Full;
            return false;
        }
        if (!document.setValue(kFilelist, QString::number(key), name) ||
            !document.setValue(kFilename, name, fileName) ||
            !document.setValue(kFilepath, name, folder)) {
            change.status = Change::Status::Refused;
            return false;
        }
        change.sorted = sortList(document);
        change.status = Change::Status::Done;
        return true;
    });
    if (!change.result.ok())
        change.status = Change::Status::Failed;
    return change;
}

Change removeEntry(const QString& name)
{
    Change change;
    change.result = Ini::edit(file(), [&](Ini::Document& document) {
        if (document.state() == Ini::Document::State::Unreadable)
            return true; // the save says why
        const int key = Snapshot(document).keyOf(name);
        if (key < 0) {
            change.status = Change::Status::NotListed;
            return false;
        }
        document.removeKey(kFilelist, QString::number(key));
        for (const QString& section : {kFilename, kFilepath, kMarked, kCaption})
            document.removeKey(section, name);
        change.sorted = sortList(document);
        change.status = Change::Status::Done;
        return true;
    });
    if (!change.result.ok())
        change.status = Change::Status::Failed;
    return change;
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

QStringList companionNames(const QString& fileName)
{
    const QString kind = fileName.right(3).toLower();
    QString ending;
    if (kind == QLatin1String("frm"))
        ending = QStringLiteral("frx");
    else if (kind == QLatin1String("ctl"))
        ending = QStringLiteral("ctx");
    else
        return {};
    const QString stem = fileName.left(fileName.size() - 3);
    const bool upper = fileName.right(3) == fileName.right(3).toUpper();
    return {stem + (upper ? ending.toUpper() : ending), stem + (upper ? ending : ending.toUpper())};
}

} // namespace Catalog
