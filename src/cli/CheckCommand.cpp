#include "catalog/Catalog.h"
#include "catalog/ComponentFile.h"
#include "catalog/ComponentKind.h"
#include "catalog/ReferenceLines.h"
#include "cli/Commands.h"
#include "cli/Texts.h"
#include "generate/CopyRun.h"
#include "generate/Selection.h"
#include "platform/AppContext.h"
#include "platform/FileExistence.h"
#include "platform/IniDocument.h"
#include "platform/PathParts.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Cli {

namespace {

// Larger component files are not read for their line ends.
constexpr qint64 kMaxComponentBytes = qint64(64) << 20;

struct Finding
{
    QString entry; // empty for the catalogue and the template
    QString kind;  // for scripts
    QString text;
};

bool hasBareLineFeed(const QByteArray& bytes)
{
    for (qsizetype at = bytes.indexOf('\n'); at >= 0; at = bytes.indexOf('\n', at + 1)) {
        if (at == 0 || bytes.at(at - 1) != '\r')
            return true;
    }
    return false;
}

// What the copy run would find of one entry: its file, its companion, its line ends.
void checkFiles(const Catalog::Snapshot& catalogue, const QString& name, QList<Finding>& findings)
{
    const Generate::CopyPlan plan = Generate::planCopies(catalogue, {name}, {});
    for (const Generate::FileCopy& copy : plan.files) {
        if (!copy.refused.isEmpty()) {
            findings.append({name, QStringLiteral("kopie"), kNotCopyable.arg(name, copy.refused)});
            continue;
        }
        if (!FileExists(copy.source)) {
            findings.append({name, QStringLiteral("datei"), kFileMissing.arg(name, copy.source)});
            continue;
        }
        if (!copy.text)
            continue;
        QByteArray bytes;
        if (const FileIo::Result read =
                FileIo::readRegularFile(copy.source, &bytes, kMaxComponentBytes);
            !read) {
            findings.append({name, QStringLiteral("datei"),
                             kFileUnreadable.arg(name, copy.source, read.reason())});
        } else {
            if (!ComponentFile::isBinary(bytes) && hasBareLineFeed(bytes))
                findings.append(
                    {name, QStringLiteral("zeilenenden"), kBareLineFeeds.arg(name, copy.source)});
            if (const QStringList lines = ReferenceLines::unusableObjectLines(copy.name, bytes);
                !lines.isEmpty())
                findings.append({name, QStringLiteral("objektzeile"),
                                 kUnusableObjectLines.arg(name, copy.source,
                                                          lines.join(QStringLiteral("'', ''")))});
            if (const QString missing = Catalog::missingCompanion(FolderOfPath(copy.source),
                                                                  FileNameOfPath(copy.source));
                !missing.isEmpty() && ComponentFile::refersToCompanion(bytes))
                findings.append({name, QStringLiteral("begleitdatei"),
                                 kCompanionMissing.arg(name, copy.source, missing)});
        }
    }
}

void checkCatalogue(QList<Finding>& findings)
{
    QByteArray bytes;
    if (const FileIo::Result read = readCatalogue(&bytes); !read) {
        findings.append({{},
                         QStringLiteral("katalog"),
                         kCatalogueUnreadable.arg(Catalog::file(), read.reason())});
        return;
    }
    const Ini::Document document = Ini::Document::fromBytes(bytes);
    if (!document.writable())
        findings.append({{}, QStringLiteral("katalog"), kNotRewritable.arg(Catalog::file())});
    const QList<QStringView> lines = document.lines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (Ini::parseLine(lines.at(i)).kind == Ini::LineKind::Other &&
            !Ini::trimmed(lines.at(i)).isEmpty())
            findings.append({{},
                             QStringLiteral("katalog"),
                             kStrayLine.arg(QString::number(i + 1), lines.at(i).toString())});
    }

    const Catalog::Snapshot catalogue(document);
    QHash<QString, int> firstKey;
    QStringList together; // entries that can go into one project, in list order
    for (const Catalog::Listed& listed : catalogue.enumerate()) {
        const QString& name = listed.name;
        if (const auto first = firstKey.constFind(name.toCaseFolded()); first != firstKey.cend()) {
            findings.append(
                {name, QStringLiteral("doppelt"),
                 kListedTwice.arg(name, QString::number(*first), QString::number(listed.key))});
            continue;
        }
        firstKey.insert(name.toCaseFolded(), listed.key);
        if (catalogue.folderOf(name).isEmpty())
            findings.append({name, QStringLiteral("ordner"), kNoFolder.arg(name)});
        checkFiles(catalogue, name, findings);
        // The checks of the component page, one entry against those before it.
        if (const QString problem = Generate::selectionProblem(catalogue, {name});
            !problem.isEmpty()) {
            findings.append({name, QStringLiteral("name"), problem});
        } else if (const QString clash =
                       Generate::selectionProblem(catalogue, together + QStringList{name});
                   !clash.isEmpty()) {
            findings.append({name, QStringLiteral("gleiche-datei"), clash});
        } else {
            together << name;
        }
    }
}

void checkTemplate(QList<Finding>& findings)
{
    const QString path = AppContext::templateFile();
    QByteArray bytes;
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        findings.append({{}, QStringLiteral("vorlage"), kTemplateMissing.arg(path)});
    else if (const FileIo::Result read = FileIo::readRegularFile(path, &bytes, kMaxComponentBytes);
             !read)
        findings.append(
            {{}, QStringLiteral("vorlage"), kTemplateUnreadable.arg(path, read.reason())});
}

} // namespace

QString CheckCommand::description() const
{
    return QStringLiteral("Was an der Vorlagenliste, ihren Dateien und der Projektvorlage nicht "
                          "stimmt, eine Zeile je Befund.");
}

int CheckCommand::execute(const Arguments& arguments, Output& output)
{
    QList<Finding> findings;
    checkCatalogue(findings);
    checkTemplate(findings);

    if (arguments.isSet(jsonOption().names().first())) {
        QJsonArray array;
        for (const Finding& finding : std::as_const(findings)) {
            array.append(QJsonObject{{QStringLiteral("eintrag"), finding.entry},
                                     {QStringLiteral("befund"), finding.kind},
                                     {QStringLiteral("text"), finding.text}});
        }
        output.data(QString::fromUtf8(QJsonDocument(array).toJson()));
    } else {
        QString text;
        for (const Finding& finding : std::as_const(findings))
            text += QString(finding.text).replace(QLatin1Char('\n'), QLatin1Char(' ')) +
                    QLatin1Char('\n');
        output.data(text);
    }
    if (findings.isEmpty())
        output.message(kNothingWrong);
    return findings.isEmpty() ? kDone : kProblems;
}

} // namespace Cli
