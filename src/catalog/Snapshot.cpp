#include "catalog/Snapshot.h"

#include "catalog/CatalogTexts.h"
#include "catalog/Sections.h"
#include "platform/AppContext.h"
#include "platform/IniDocument.h"

#include <QCollator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace Catalog {

using namespace Section;

QString file()
{
    return AppContext::catalogFile();
}

namespace {

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

Snapshot::Snapshot(const Ini::Document& document, const QString& catalogFile)
    : m_file(catalogFile), m_read(document.readResult()), m_encodingKnown(document.encodingKnown())
{
    // The first section of a name and the first key of a name in it count.
    QHash<QString, QString>* current = nullptr;
    const QList<QStringView> lines = document.lines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Ini::LineParts parts = Ini::parseLine(lines.at(i));
        if (parts.kind == Ini::LineKind::Section) {
            const QString name = folded(parts.name);
            current = m_sections.contains(name) ? nullptr : &m_sections[name];
        } else if (parts.kind == Ini::LineKind::Key && current) {
            const QString key = folded(parts.name);
            if (!current->contains(key))
                current->insert(key, Ini::asRead(parts.value).toString());
        } else if (parts.kind == Ini::LineKind::Other && !Ini::trimmed(lines.at(i)).isEmpty()) {
            m_strayLines.append({int(i + 1), lines.at(i).toString()});
        }
    }
    const QHash<QString, QString> list = m_sections.value(folded(kFilelist));
    for (auto it = list.cbegin(); it != list.cend(); ++it) {
        bool number = false;
        const int key = it.key().toInt(&number);
        if (number && QString::number(key) == it.key() && (key < kFirstKey || key > kLastKey) &&
            !it.value().isEmpty())
            m_beyond.append({key, it.value()});
    }
    std::sort(m_beyond.begin(), m_beyond.end(),
              [](const Listed& a, const Listed& b) { return a.key < b.key; });
}

Snapshot Snapshot::read(const QString& catalogFile)
{
    return Snapshot(Ini::Document(catalogFile), catalogFile);
}

QString Snapshot::problem() const
{
    if (!m_read)
        return unreadableText(m_file, m_read);
    return m_encodingKnown ? QString() : unknownEncodingText(m_file);
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
    return resolved(m_file, value(kFilepath, name));
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

QList<Listed> Snapshot::listedOnce(QList<Listed>* later) const
{
    QList<Listed> once;
    QSet<QString> names;
    for (const Listed& listed : enumerate()) {
        const QString name = listed.name.toCaseFolded();
        if (names.contains(name)) {
            if (later)
                later->append(listed);
            continue;
        }
        names.insert(name);
        once.append(listed);
    }
    return once;
}

QString Snapshot::listedAs(const QString& name) const
{
    for (const Listed& listed : listedOnce()) {
        if (listed.name.compare(name, Qt::CaseInsensitive) == 0)
            return listed.name;
    }
    return {};
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
    if (listedAs(name).isEmpty())
        return {};
    return {true, {folderOf(name), fileNameOf(name)}};
}

} // namespace Catalog
