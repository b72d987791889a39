#include "generate/ProjectFile.h"

#include "catalog/ReferenceLines.h"
#include "generate/Checks.h"
#include "platform/Ansi.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"

#include <QFileInfo>

namespace Generate {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QChar kCr = QLatin1Char('\r');
const QChar kLf = QLatin1Char('\n');

QString quoted(const QString& key, const QString& value)
{
    return key + QLatin1String("=\"") + value + QLatin1Char('"');
}

// Finds the key line (letter case aside) and puts `replacement` in place of it
// and the two characters after it, its line end.
void replaceKeyLine(QString& text, const QString& keyLine, const QString& replacement)
{
    const qsizetype at = text.indexOf(keyLine, 0, Qt::CaseInsensitive);
    if (at >= 0)
        text.replace(at, qMin(keyLine.size() + 2, text.size() - at), replacement);
}

// The reference lines for the top of the project file, each with its line end:
// the template's own first, then the remembered ones it lacks. The template's
// lines in `rest` move there; nothing changes when none is lacking.
QString referenceBlock(const QString& firstLine, QString& rest, const QStringList& remembered)
{
    if (remembered.isEmpty())
        return {};
    QStringList lines = rest.split(kCrLf);
    qsizetype mainPart = 0; // the lines before the first section
    while (mainPart < lines.size() && !lines.at(mainPart).trimmed().startsWith(QLatin1Char('[')))
        ++mainPart;
    // A bare LF inside a line of a CR LF template is text of that line.
    const auto isReference = [](const QString& line) {
        return !line.contains(kLf) && ReferenceLines::isReferenceLine(line);
    };
    QStringList own;
    const QString first = firstLine.chopped(qMin<qsizetype>(2, firstLine.size()));
    if (isReference(first))
        own << first;
    for (qsizetype i = 0; i < mainPart; ++i) {
        if (isReference(lines.at(i)))
            own << lines.at(i);
    }
    QStringList merged = ReferenceLines::merged(own + remembered);
    if (merged.size() == ReferenceLines::merged(own).size())
        return {};
    for (qsizetype i = mainPart - 1; i >= 0; --i) {
        if (isReference(lines.at(i)))
            lines.removeAt(i);
    }
    rest = lines.join(kCrLf);
    merged.removeOne(first); // the first line stays where it is
    return merged.join(kCrLf) + kCrLf;
}

} // namespace

QByteArray projectFileBytes(const QByteArray& templateBytes, const QString& projectName,
                            const QString& projectLines, const QString& startForm,
                            const QStringList& remembered)
{
    // Every byte decodes to its own character and back, so untouched parts of
    // the template come out as they went in.
    QString text = Ansi::decode(templateBytes);
    // A template saved by an editor that writes bare LF line ends.
    if (!text.contains(kCr))
        text.replace(kLf, kCrLf);
    // The closing line end; the new text gets its own.
    if (text.endsWith(kCrLf))
        text.chop(2);

    QString firstLine;
    QString rest = text;
    const qsizetype cr = text.indexOf(kCr);
    if (cr >= 0) {
        firstLine = text.left(cr) + kCrLf;
        rest = text.mid(cr);
    }
    // The line end after the first line and one empty line after it.
    qsizetype skip = 0;
    for (const QChar c : {kCr, kLf, kCr, kLf}) {
        if (skip < rest.size() && rest.at(skip) == c)
            ++skip;
    }
    rest.remove(0, skip);

    QString block = referenceBlock(firstLine, rest, remembered) +
                    (projectLines.isEmpty() ? kCrLf : projectLines);
    // With a start form the name moves to the start-up lines; without one it stays
    // where the template has it, beside Startup="Sub Main".
    const QString name = quoted(QStringLiteral("Name"), projectName) + kCrLf;
    replaceKeyLine(rest, QStringLiteral("Name=\"Projekt1\""),
                   startForm.isEmpty() ? name : QString());
    replaceKeyLine(rest, QStringLiteral("Description=\"<PROJEKT>\""),
                   quoted(QStringLiteral("Description"), projectName) + kCrLf);
    replaceKeyLine(rest, QStringLiteral("Title=\"<PROJEKT>\""),
                   quoted(QStringLiteral("Title"), projectName) + kCrLf);
    if (!startForm.isEmpty()) {
        block += quoted(QStringLiteral("Startup"), startForm) + kCrLf +
                 quoted(QStringLiteral("IconForm"), startForm) + kCrLf + name;
        replaceKeyLine(rest, QStringLiteral("Startup=\"Sub Main\""), QString());
    }
    return Ansi::encode(firstLine + block + rest + kCrLf);
}

QByteArray workspaceFileBytes(const QString& startForm)
{
    return Ansi::encode(startForm +
                        QStringLiteral(" = 0, 0, 803, 763, Z, 0, 0, 803, 763, Z\r\n\r\n"));
}

ProjectFileTexts composeProjectFiles(const QString& templatePath, const QString& projectName,
                                     const QString& projectLines, const QString& startForm,
                                     const QStringList& remembered)
{
    ProjectFileTexts texts;
    if (!FileExists(templatePath)) {
        texts.templateMissing = true;
        return texts;
    }
    QByteArray templateBytes;
    // A pipe or device in the template's place must not block the run.
    if (const FileIo::Result read = FileIo::readRegularFile(templatePath, &templateBytes); !read)
        texts.failures.append({QFileInfo(templatePath).fileName(), read.reason()});
    else
        texts.project =
            projectFileBytes(templateBytes, projectName, projectLines, startForm, remembered);
    texts.workspace = workspaceFileBytes(startForm);
    return texts;
}

void stageProjectFiles(const ProjectFileTexts& texts, const QString& projectFolder,
                       const QString& projectName, Staging& staging)
{
    for (const Failure& failure : texts.failures)
        staging.fail(failure.file, failure.reason);
    const auto stage = [&](const QString& fileName, const QByteArray& bytes) {
        staging.add(fileName, pathInProject(projectFolder, fileName), bytes);
    };
    if (!texts.project.isEmpty())
        stage(projectName + QStringLiteral(".vbp"), texts.project);
    if (!texts.templateMissing)
        stage(projectName + QStringLiteral(".vbw"), texts.workspace);
}

ProjectFileResult writeProjectFiles(const QString& templatePath, const QString& projectFolder,
                                    const QString& projectName, const QString& projectLines,
                                    const QString& startForm, const QStringList& remembered)
{
    const ProjectFileTexts texts =
        composeProjectFiles(templatePath, projectName, projectLines, startForm, remembered);
    Staging staging;
    stageProjectFiles(texts, projectFolder, projectName, staging);
    const Staging::Placed placed = staging.putInPlace();
    return {texts.templateMissing, placed.written, placed.failures};
}

} // namespace Generate
