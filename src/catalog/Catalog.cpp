#include "catalog/Catalog.h"

#include "catalog/References.h"
#include "platform/AppContext.h"
#include "platform/FileExistence.h"
#include "platform/IniDocument.h"

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

} // namespace

QStringList sortList(Ini::Document& document)
{
    const QStringList names = Snapshot(document).sortedNames();
    document.removeSection(kFilelist);
    for (qsizetype i = 0; i < names.size() && i < kCapacity; ++i)
        document.setValue(kFilelist, QString::number(kFirstKey + i), names.at(i));
    return names;
}

bool listEntry(Ini::Document& document, int key, const QString& name, const QString& folder,
               const QString& fileName)
{
    return document.setValue(kFilelist, QString::number(key), name) &&
           document.setValue(kFilename, name, fileName) &&
           document.setValue(kFilepath, name, folder);
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

Snapshot::Snapshot(const Ini::Document& document) : m_encodingKnown(document.encodingKnown())
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

Seen Snapshot::seen(const QString& name) const
{
    for (int n = kFirstKey; n <= kLastKey; ++n) {
        if (listedName(n).compare(name, Qt::CaseInsensitive) == 0)
            return {true, {folderOf(name), fileNameOf(name)}};
    }
    return {};
}

FileIo::Result saveSortedList()
{
    return Ini::edit(file(), [](Ini::Document& document) {
        sortList(document);
        return true;
    });
}

QString unknownEncodingText(const QString& catalogFile)
{
    return QStringLiteral("Die Vorlagendatei ''%1'' ist in einer Zeichenkodierung gespeichert, "
                          "die das Programm nicht erkennt.")
        .arg(catalogFile);
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

Load inspect(const Snapshot& catalogue)
{
    Load result;
    result.catalogue = catalogue;
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
    return result;
}

Load load()
{
    Load result = inspect(Snapshot::read());
    if (!result.dropped.isEmpty() && result.catalogue.encodingKnown()) {
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

QString entryProblem(const QString& name, const QString& folder, const QString& fileName)
{
    const auto tooLong = [](const QString& what, QStringView value) {
        return QStringLiteral("%1 ist mit %2 Zeichen zu lang: Die Vorlagenliste speichert "
                              "höchstens %3 Zeichen.")
            .arg(what)
            .arg(value.size())
            .arg(Ini::kMaxValueLength);
    };
    const auto unfit = [](const QString& what) {
        return QStringLiteral("%1 enthält einen Zeilenumbruch oder beginnt oder endet mit einem "
                              "Leerzeichen oder Anführungszeichen; so liest die Vorlagenliste "
                              "ihn nicht unverändert zurück.")
            .arg(what);
    };
    const QString fileWhat = QStringLiteral("Ihr Dateiname");
    const QString folderWhat = QStringLiteral("Ihr Ordner");
    if (fileName.size() > Ini::kMaxValueLength)
        return tooLong(fileWhat, fileName);
    if (folder.size() > Ini::kMaxValueLength)
        return tooLong(folderWhat, folder);
    if (!canHoldValue(fileName))
        return unfit(fileWhat);
    if (!canHoldValue(folder))
        return unfit(folderWhat);
    if (name.isEmpty())
        return QStringLiteral("Ihr Dateiname hat vor dem ersten Punkt keinen Namen, unter dem "
                              "sie aufgeführt werden könnte.");
    if (!canHoldName(name))
        return QStringLiteral("Der Name ''%1'', unter dem sie aufgeführt würde, enthält Zeichen, "
                              "die die Vorlagenliste nicht als Namen speichern kann (= oder ], "
                              "ein Steuerzeichen, [ oder ; am Anfang, Leerzeichen oder "
                              "Anführungszeichen am Rand).")
            .arg(name);
    return {};
}

Change addEntry(const QString& name, const QString& folder, const QString& fileName,
                const Seen& seen)
{
    Change change;
    if (!canHoldName(name) || !canHoldValue(folder) || !canHoldValue(fileName)) {
        change.status = Change::Status::Refused;
        return change;
    }
    // Read before the lock is taken: the file is the user's, not the catalogue.
    const QStringList lines = References::linesOfFile(folder + fileName);
    change.result = Ini::edit(file(), [&](Ini::Document& document) {
        if (!document.writable())
            return true; // the save says why
        const Snapshot catalogue(document);
        // Another program may have changed the entry since it was seen.
        if (const Seen now = catalogue.seen(name);
            now.listed != seen.listed || (now.listed && now.place != seen.place)) {
            change.status = now.listed ? Change::Status::Moved : Change::Status::NotListed;
            change.found = now.place;
            return false;
        }
        const int key = catalogue.slotFor(name);
        if (key < 0) {
            change.status = Change::Status::Full;
            return false;
        }
        if (!listEntry(document, key, name, folder, fileName)) {
            change.status = Change::Status::Refused;
            return false;
        }
        change.leftLines = References::setLines(document, name, fileName, lines);
        change.sorted = sortList(document);
        change.status = Change::Status::Done;
        return true;
    });
    if (!change.result.ok()) {
        change.status = Change::Status::Failed;
        change.leftLines.clear();
    }
    return change;
}

QString changedMeanwhileText(const QString& name, const Change& change)
{
    if (change.status == Change::Status::Moved)
        return QStringLiteral("Der Eintrag ''%1'' verweist inzwischen auf ''%2''; ein anderes "
                              "Programm hat die Vorlagenliste geändert.")
            .arg(name, change.found.path());
    return QStringLiteral("Der Eintrag ''%1'' steht inzwischen nicht mehr in der Vorlagenliste; "
                          "ein anderes Programm hat ihn entfernt.")
        .arg(name);
}

Change removeEntry(const QString& name, const std::optional<Place>& seen)
{
    Change change;
    change.result = Ini::edit(file(), [&](Ini::Document& document) {
        if (!document.writable())
            return true; // the save says why
        const Snapshot catalogue(document);
        const int key = catalogue.keyOf(name);
        if (key < 0) {
            change.status = Change::Status::NotListed;
            return false;
        }
        if (const Place now{catalogue.folderOf(name), catalogue.fileNameOf(name)};
            seen && now != *seen) {
            change.status = Change::Status::Moved;
            change.found = now;
            return false;
        }
        document.removeKey(kFilelist, QString::number(key));
        for (const QString& section : {kFilename, kFilepath, kMarked, kCaption})
            document.removeKey(section, name);
        References::removeLines(document, name);
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

bool encodingKnown(const QString& catalogFile)
{
    return Ini::Document(catalogFile).encodingKnown();
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
