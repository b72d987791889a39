#include "generate/ProjectRecord.h"

#include "generate/Fingerprint.h"
#include "platform/FileIo.h"
#include "platform/IniDocument.h"

#include <QFileInfo>
#include <QSet>

namespace Generate {

namespace {

const QString kSuffix = QStringLiteral(".vorlagen");
const QString kSectionProject = QStringLiteral("Projekt");
const QString kKeyMade = QStringLiteral("Erstellt");
const QString kKeyUpdated = QStringLiteral("Aktualisiert");
const QString kSectionFile = QStringLiteral("Datei%1");
const QString kKeyEntry = QStringLiteral("Eintrag");
const QString kKeyFolder = QStringLiteral("Ordner");
const QString kKeyName = QStringLiteral("Datei");
const QString kKeySize = QStringLiteral("Groesse");
const QString kKeySha = QStringLiteral("SHA256");
const QByteArray kHeading = "; Von vorlagen geschrieben: woraus die Komponenten dieses Projekts "
                            "stammen (vorlagen --abgleichen).\r\n";

// A read trims blanks and takes off one pair of quotes: such values go in quotes.
QString stored(const QString& value)
{
    const bool quote = value != value.trimmed() || value.startsWith(QLatin1Char('"'));
    return quote ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

QString valueOf(const Ini::Document& document, const QString& section, const QString& key)
{
    QString value;
    document.value(section, key, &value);
    return Ini::asRead(value).toString();
}

} // namespace

QString recordPath(const QString& projectFile)
{
    const QFileInfo info(projectFile);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + kSuffix;
}

QString projectFileOf(const QString& recordFile)
{
    return recordFile.chopped(kSuffix.size()) + QStringLiteral(".vbp");
}

QString recordDate(const QDateTime& when)
{
    const int offset = when.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QByteArray recordBytes(const Record& record)
{
    Ini::Document document = Ini::Document::fromBytes(kHeading);
    document.setValue(kSectionProject, kKeyMade, record.made);
    if (!record.updated.isEmpty())
        document.setValue(kSectionProject, kKeyUpdated, record.updated);
    for (qsizetype i = 0; i < record.files.size(); ++i) {
        const RecordedFile& file = record.files.at(i);
        const QString section = kSectionFile.arg(i + 1);
        document.setValue(section, kKeyEntry, stored(file.entry));
        document.setValue(section, kKeyFolder, stored(file.folder));
        document.setValue(section, kKeyName, stored(file.fileName));
        document.setValue(section, kKeySize, QString::number(file.size));
        document.setValue(section, kKeySha, QString::fromLatin1(file.sha256));
    }
    return document.composed();
}

Record readRecord(const QString& path, FileIo::Result* read)
{
    const Ini::Document document(path);
    Record record;
    *read = document.state() == Ini::Document::State::Missing ? FileIo::Result::failure(ENOENT)
                                                              : document.readResult();
    if (read->ok() && !document.encodingKnown())
        *read = FileIo::Result::failure(FileIo::kUnknownEncoding);
    if (!read->ok())
        return record;
    record.made = valueOf(document, kSectionProject, kKeyMade);
    record.updated = valueOf(document, kSectionProject, kKeyUpdated);
    for (int n = 1; document.hasSection(kSectionFile.arg(n)); ++n) {
        const QString section = kSectionFile.arg(n);
        RecordedFile file{
            valueOf(document, section, kKeyEntry), valueOf(document, section, kKeyFolder),
            valueOf(document, section, kKeyName), valueOf(document, section, kKeySize).toLongLong(),
            valueOf(document, section, kKeySha).toLatin1()};
        if (!file.entry.isEmpty() && !file.fileName.isEmpty())
            record.files.append(file);
    }
    return record;
}

RecordOfRun::RecordOfRun(const CopyPlan& plan, const std::atomic<bool>& cancel)
    : m_plan(plan), m_cancel(cancel), m_prints(plan.files.size())
{
    m_thread = std::thread([this] {
        for (qsizetype i = 0; i < m_plan.files.size() && !m_cancel; ++i) {
            const FileCopy& file = m_plan.files.at(i);
            if (!file.source.isEmpty())
                m_prints[i] = fingerprintOf(file.source, file.text);
        }
    });
}

RecordOfRun::~RecordOfRun()
{
    if (m_thread.joinable())
        m_thread.join();
}

Record RecordOfRun::finish(const QStringList& written, const QString& made)
{
    if (m_thread.joinable())
        m_thread.join();
    Record record;
    record.made = made;
    const QSet<QString> there(written.cbegin(), written.cend());
    for (qsizetype i = 0; i < m_plan.files.size(); ++i) {
        const FileCopy& file = m_plan.files.at(i);
        if (file.source.isEmpty() || !there.contains(file.target))
            continue;
        Fingerprint print = m_prints.at(i);
        if (!print.ok() || QFileInfo(file.target).size() != print.size)
            print = fingerprintOf(file.target, file.text);
        if (print.ok())
            record.files.append({file.entry, file.source.chopped(file.name.size()), file.name,
                                 print.size, print.sha256});
    }
    return record;
}

void writeRecord(const QString& path, const Record& record, QStringList* written,
                 QList<Failure>* failures)
{
    if (const FileIo::Result result = FileIo::writeFileAtomically(path, recordBytes(record)))
        *written << path;
    else
        failures->append({QFileInfo(path).fileName(), result.reason()});
}

} // namespace Generate
