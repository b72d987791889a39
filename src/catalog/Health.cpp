#include "catalog/Health.h"

#include "catalog/ComponentFile.h"
#include "catalog/ComponentKind.h"
#include "catalog/ProjectTemplate.h"
#include "catalog/ReferenceLines.h"
#include "catalog/Selection.h"
#include "catalog/Snapshot.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"

#include <QHash>
#include <QSet>

namespace Catalog {

namespace {

// Larger component files are not read for their line ends.
constexpr qint64 kMaxComponentBytes = qint64(64) << 20;

// A stray byte of a wide file reads as NUL; a terminal or a script must not get it.
QString visible(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control && c != u'\n')
            shown += QStringLiteral("\\x") +
                     QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper();
        else
            shown += c;
    }
    return shown;
}

bool hasBareLineFeed(const QByteArray& bytes)
{
    for (qsizetype at = bytes.indexOf('\n'); at >= 0; at = bytes.indexOf('\n', at + 1)) {
        if (at == 0 || bytes.at(at - 1) != '\r')
            return true;
    }
    return false;
}

class Findings
{
public:
    void add(const QString& entry, const char* kind, const QString& text)
    {
        m_list.append({visible(entry), QString::fromLatin1(kind), visible(text)});
    }
    QList<Finding> list() const { return m_list; }

private:
    QList<Finding> m_list;
};

// What copying the entry's file into a project would find: the file, its line
// ends, its companion.
void checkFile(const Snapshot& catalogue, const QString& name, Findings& findings)
{
    const QString fileName = catalogue.fileNameOf(name);
    const QString path = catalogue.folderOf(name) + fileName;
    if (const QString refusal = copyRefusal(fileName); !refusal.isEmpty())
        return findings.add(name, "kopie", kNotCopyable.arg(name, refusal));
    if (!FileExists(path))
        return findings.add(name, "datei", kFileMissing.arg(name, path));
    if (!isText(fileName))
        return;
    QByteArray bytes;
    if (const FileIo::Result read = FileIo::readRegularFile(path, &bytes, kMaxComponentBytes);
        !read)
        return findings.add(name, "datei", kFileUnreadable.arg(name, path, read.reason()));
    if (!ComponentFile::isBinary(bytes) && hasBareLineFeed(bytes))
        findings.add(name, "zeilenenden", kBareLineFeeds.arg(name, path));
    if (const QStringList lines = ReferenceLines::unusableObjectLines(fileName, bytes);
        !lines.isEmpty())
        findings.add(name, "objektzeile",
                     kUnusableObjectLines.arg(name, path, lines.join(QStringLiteral("'', ''"))));
    if (const QString missing = missingCompanion(catalogue.folderOf(name), fileName);
        !missing.isEmpty() && ComponentFile::refersToCompanion(bytes))
        findings.add(name, "begleitdatei", companionMissingText(path, missing));
}

void checkEntries(const Snapshot& catalogue, Findings& findings)
{
    QList<Listed> later;
    QHash<QString, int> firstKey;
    for (const Listed& listed : catalogue.listedOnce(&later))
        firstKey.insert(listed.name.toCaseFolded(), listed.key);
    QSet<int> again;
    for (const Listed& listed : later)
        again.insert(listed.key);

    QStringList together; // entries that can go into one project, in list order
    for (const Listed& listed : catalogue.enumerate()) {
        const QString& name = listed.name;
        if (again.contains(listed.key)) {
            findings.add(name, "doppelt",
                         kListedTwice.arg(name, QString::number(firstKey[name.toCaseFolded()]),
                                          QString::number(listed.key)));
            continue;
        }
        if (catalogue.folderOf(name).isEmpty())
            findings.add(name, "ordner", kNoFolder.arg(name));
        checkFile(catalogue, name, findings);
        // The checks of the component page, one entry against those before it.
        if (const QString problem = selectionProblem(catalogue, {name}); !problem.isEmpty()) {
            findings.add(name, "name", problem);
        } else if (const QString clash = selectionProblem(catalogue, together + QStringList{name});
                   !clash.isEmpty()) {
            findings.add(name, "gleiche-datei", clash);
        } else {
            together << name;
        }
    }
    for (const Listed& beyond : catalogue.beyond())
        findings.add(beyond.name, "jenseits",
                     kBeyondList.arg(beyond.name, QString::number(beyond.key)));
}

void checkTemplate(Findings& findings)
{
    const QString path = ProjectTemplate::file();
    const ProjectTemplate::Check found = ProjectTemplate::check(path);
    if (found.state == ProjectTemplate::Check::State::Unreadable)
        findings.add({}, "vorlage", kTemplateUnreadable.arg(path, found.problem()));
    else if (found.state != ProjectTemplate::Check::State::Missing)
        return;
    else if (ProjectTemplate::source() == path)
        findings.add({}, "vorlage", kNoTemplate.arg(path));
    else
        findings.add({}, "vorlage", kTemplateRestorable.arg(path, ProjectTemplate::spare()));
}

} // namespace

QList<Finding> health(const Snapshot& catalogue)
{
    Findings findings;
    if (!catalogue.ok())
        findings.add({}, "katalog", catalogue.problem());
    // What could not be read has no lines and no entries.
    if (catalogue.readResult()) {
        for (const auto& [number, line] : catalogue.strayLines())
            findings.add({}, "katalog", kStrayLine.arg(QString::number(number), line));
        checkEntries(catalogue, findings);
    }
    checkTemplate(findings);
    return findings.list();
}

} // namespace Catalog
