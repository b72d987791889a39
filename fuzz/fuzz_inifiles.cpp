// Feeds arbitrary bytes to the INI engine as a file and runs reads, writes and
// deletions on it, checking that every answer is sound and nothing is lost.

#include "platform/Ansi.h"
#include "platform/IniDocument.h"
#include "platform/IniFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "test file opens");
    check(file.write(bytes) == bytes.size(), "test file written");
}

// What a read hands out for a stored value.
QString asRead(QStringView stored)
{
    QStringView text = Ini::unquoted(stored);
    if (text.size() > Ini::kMaxValueLength) {
        text = text.first(Ini::kMaxValueLength);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text.toString();
}

// The slow path's answer, to hold the quick reader against.
QString referenceRead(const QString& path, const QString& section, const QString& key)
{
    QString stored;
    if (!Ini::Document(path).value(section, key, &stored))
        return {};
    return asRead(stored);
}

struct Names
{
    QStringList sections;
    QList<QPair<QString, QString>> keys;
};

Names namesIn(const QStringList& lines)
{
    Names names;
    QString section;
    for (const QString& line : lines) {
        const Ini::LineParts parts = Ini::parseLine(line);
        if (parts.kind == Ini::LineKind::Section) {
            section = parts.name.toString();
            names.sections.append(section);
        } else if (parts.kind == Ini::LineKind::Key && !section.isEmpty()) {
            names.keys.append({section, parts.name.toString()});
        }
    }
    return names;
}

// Lines of `before` and `after` outside their common head and tail.
QPair<qsizetype, qsizetype> changedLines(const QStringList& before, const QStringList& after)
{
    const qsizetype shorter = qMin(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    return {before.size() - head - tail, after.size() - head - tail};
}

QString text(FuzzedDataProvider& in, size_t maxLength)
{
    static const char16_t awkward[] = u"aAäÄßłK\u212A\u017F€[]=; \t\r\n\"'\\\uFEFF";
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return QString::fromUtf8(in.ConsumeRandomLengthString(maxLength));
    case 1:
        return Ansi::decode(QByteArray::fromStdString(in.ConsumeRandomLengthString(maxLength)));
    case 2: {
        QString picked;
        const size_t length = in.ConsumeIntegralInRange<size_t>(0, maxLength);
        for (size_t i = 0; i < length; ++i)
            picked += QChar(awkward[in.ConsumeIntegralInRange<size_t>(0, std::size(awkward) - 2)]);
        picked += QChar(in.ConsumeBool() ? u'\0' : u'x');
        return picked;
    }
    default:
        return QString(in.ConsumeIntegralInRange<int>(0, 400), QChar(u'v'));
    }
}

QString variant(FuzzedDataProvider& in, QString name)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return name.toUpper();
    case 1:
        return name.toLower();
    case 2:
        return QStringLiteral(" \t") + name + QLatin1Char(' ');
    default:
        return name;
    }
}

QString sectionName(FuzzedDataProvider& in, const Names& names)
{
    if (!names.sections.isEmpty() && in.ConsumeBool())
        return variant(in, names.sections.at(
                               in.ConsumeIntegralInRange<qsizetype>(0, names.sections.size() - 1)));
    return text(in, 8);
}

QPair<QString, QString> keyName(FuzzedDataProvider& in, const Names& names)
{
    if (!names.keys.isEmpty() && in.ConsumeBool()) {
        const auto& [section, key] =
            names.keys.at(in.ConsumeIntegralInRange<qsizetype>(0, names.keys.size() - 1));
        return {variant(in, section), variant(in, key)};
    }
    return {sectionName(in, names), text(in, 8)};
}

QStringList checkReads(const QString& path, const Names& names)
{
    QStringList values;
    for (const auto& [section, key] : names.keys) {
        const QString value = ReadIniValue(path, section, key);
        check(value.size() <= Ini::kMaxValueLength, "a read is at most 254 characters");
        check(value == referenceRead(path, section, key), "quick read agrees with the document");
        values.append(value);
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Memory-backed when possible: every write syncs the file.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/fuzz_inifiles-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/fuzz_inifiles-XXXXXX"));
    const QString path = folder.path() + QStringLiteral("/f.ini");

    FuzzedDataProvider in(data, size);
    put(path, QByteArray::fromStdString(in.ConsumeRandomLengthString(size)));

    for (int round = 0; round < 6 && in.remaining_bytes() > 0; ++round) {
        const QByteArray before = contents(path);
        const QStringList lines = Ini::Document(path).lineTexts();
        const Names names = namesIn(lines);
        const QStringList reads = checkReads(path, names);

        switch (in.ConsumeIntegralInRange(0, 4)) {
        case 0: { // write one value
            const auto [section, key] = keyName(in, names);
            const QString value = text(in, 300);
            const bool valid = Ini::isWritableSection(section) && Ini::isWritableKey(key) &&
                               Ini::isWritableValue(value);
            const int written = WriteIniValue(path, section, key, value);
            check((written != 0) == valid, "a write succeeds exactly when it is valid");
            if (!valid) {
                check(contents(path) == before, "a refused write changes nothing");
                break;
            }
            check(ReadIniValue(path, section, key) == asRead(Ini::trimmed(value)),
                  "a written value reads back");
            const auto [gone, added] = changedLines(lines, Ini::Document(path).lineTexts());
            check(gone <= 1 && added <= 2 && added >= gone, "a write keeps the other lines");
            for (qsizetype i = 0; i < names.keys.size(); ++i) {
                const auto& [otherSection, otherKey] = names.keys.at(i);
                if (otherSection.compare(Ini::trimmed(section), Qt::CaseInsensitive) != 0 ||
                    otherKey.compare(Ini::trimmed(key), Qt::CaseInsensitive) != 0) {
                    check(ReadIniValue(path, otherSection, otherKey) == reads.at(i),
                          "other keys keep their values");
                }
            }
            const QByteArray once = contents(path);
            check(WriteIniValue(path, section, key, value) != 0, "a second write succeeds");
            check(contents(path) == once, "writing the same value again changes nothing");
            break;
        }
        case 1: { // delete one key
            const auto [section, key] = keyName(in, names);
            QString stored;
            const bool existed = Ini::Document(path).value(section, key, &stored);
            DeleteIniKey(path, section, key);
            if (!existed) {
                check(contents(path) == before, "deleting a missing key changes nothing");
                break;
            }
            const QStringList after = Ini::Document(path).lineTexts();
            const auto [gone, added] = changedLines(lines, after);
            check(after.size() == lines.size() - 1 && gone == 1 && added == 0,
                  "deleting a key removes one line");
            break;
        }
        case 2: { // delete one section
            const QString section = sectionName(in, names);
            const bool existed = Ini::Document(path).hasSection(section);
            DeleteIniSection(path, section);
            if (!existed) {
                check(contents(path) == before, "deleting a missing section changes nothing");
                break;
            }
            const auto [gone, added] = changedLines(lines, Ini::Document(path).lineTexts());
            check(gone >= 1 && added == 0, "deleting a section removes only its lines");
            break;
        }
        case 3: { // replace a section
            const QString section = sectionName(in, names);
            QList<QPair<QString, QString>> pairs;
            const int count = in.ConsumeIntegralInRange(0, 4);
            bool valid = Ini::isWritableSection(section);
            for (int i = 0; i < count; ++i) {
                pairs.append({text(in, 6), text(in, 40)});
                valid = valid && Ini::isWritableKey(pairs.last().first) &&
                        Ini::isWritableValue(pairs.last().second);
            }
            const int written = ReplaceIniSection(path, section, pairs);
            check((written != 0) == valid, "a replacement succeeds exactly when it is valid");
            if (!valid) {
                check(contents(path) == before, "a refused replacement changes nothing");
                break;
            }
            for (qsizetype i = 0; i < pairs.size(); ++i) {
                QString last = pairs[i].second;
                for (qsizetype j = i + 1; j < pairs.size(); ++j) {
                    if (Ini::trimmed(pairs[j].first)
                            .compare(Ini::trimmed(pairs[i].first), Qt::CaseInsensitive) == 0) {
                        last = pairs[j].second;
                    }
                }
                check(ReadIniValue(path, section, pairs[i].first) == asRead(Ini::trimmed(last)),
                      "each replaced pair reads back its last value");
            }
            break;
        }
        default: { // reads of anything
            const auto [section, key] = keyName(in, names);
            const QString value = ReadIniValue(path, section, key);
            check(value.size() <= Ini::kMaxValueLength, "a read is at most 254 characters");
            check(value == referenceRead(path, section, key),
                  "quick read agrees with the document");
            check(contents(path) == before, "reading changes nothing");
            break;
        }
        }
    }
    return 0;
}
