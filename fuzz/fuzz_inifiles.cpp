// Feeds arbitrary bytes to the INI engine as a file and runs reads, writes and
// deletions on it, checking that every answer is sound and nothing is lost.
// Most inputs run on the bytes in memory; one in 32 runs through the file
// operations on disk, lock, atomic replacement and a second writer included.

#include "FuzzSupport.h"
#include "platform/Ansi.h"
#include "platform/FileIo.h"
#include "platform/IniDocument.h"
#include "platform/IniFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

using Pairs = QList<QPair<QString, QString>>;

QByteArray contents(const QString& path)
{
    QByteArray bytes;
    (void)FileIo::readRegularFile(path, &bytes);
    return bytes;
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

// The file under test: on disk through the file operations, or in memory
// through the document they are built on. `bytes` is always what the file holds.
struct Store
{
    // Reads through the file cost system calls: a few of each round go there,
    // the rest read the same bytes in memory (each round checks the file holds them).
    static constexpr int kFileReadsPerRound = 2;

    QString path;
    bool disk = false;
    QByteArray bytes;
    // The last change was refused because the file would then read as another
    // encoding.
    bool drifted = false;
    mutable int fileReads = 0;

    QString read(QStringView section, QStringView key) const
    {
        if (disk && fileReads++ < kFileReadsPerRound)
            return ReadIniValue(path, section.toString(), key.toString());
        QString stored;
        return Ini::findValueIn(bytes, section, key, &stored) ? asRead(stored) : QString();
    }

    // The document of `bytes`, parsed again only after they change.
    const Ini::Document& parsed()
    {
        if (!m_document || !m_parsedFrom.isSharedWith(bytes)) {
            m_document = Ini::Document::fromBytes(bytes);
            m_parsedFrom = bytes;
        }
        return *m_document;
    }

    // Runs one change the way the engine's edit does; non-zero when done.
    int change(const std::function<bool(Ini::Document&)>& edit, const std::function<int()>& onDisk)
    {
        Ini::Document document = parsed();
        const bool changes = edit(document);
        QByteArray composed;
        if (changes && document.writable() && document.changed())
            composed = document.composed();
        drifted = !composed.isNull() && !document.keepsEncoding(composed);
        if (disk) {
            const int result = onDisk();
            bytes = contents(path);
            return result;
        }
        if (!changes)
            return -1; // nothing to change
        if (!document.writable() || drifted)
            return 0;
        if (document.changed())
            bytes = composed;
        return 1;
    }

    int write(const QString& section, const QString& key, const QString& value)
    {
        drifted = false;
        if (!Ini::isWritableSection(section) || !Ini::isWritableKey(key) ||
            !Ini::isWritableValue(value))
            return disk ? WriteIniValue(path, section, key, value) : 0;
        const int result = change([&](Ini::Document& d) { return d.setValue(section, key, value); },
                                  [&] { return WriteIniValue(path, section, key, value); });
        return result < 0 ? 0 : result;
    }
    int removeKey(const QString& section, const QString& key)
    {
        const int result = change([&](Ini::Document& d) { return d.removeKey(section, key); },
                                  [&] { return DeleteIniKey(path, section, key); });
        return result < 0 ? 1 : result;
    }
    int removeSection(const QString& section)
    {
        const int result = change([&](Ini::Document& d) { return d.removeSection(section); },
                                  [&] { return DeleteIniSection(path, section); });
        return result < 0 ? 1 : result;
    }
    int replaceSection(const QString& section, const Pairs& pairs, bool valid)
    {
        drifted = false;
        if (!valid)
            return disk ? ReplaceIniSection(path, section, pairs) : 0;
        return change(
            [&](Ini::Document& d) {
                d.removeSection(section);
                for (const auto& [key, value] : pairs)
                    d.setValue(section, key, value);
                return true;
            },
            [&] { return ReplaceIniSection(path, section, pairs); });
    }

private:
    std::optional<Ini::Document> m_document;
    QByteArray m_parsedFrom;
};

using Lines = QList<QStringView>;

// Views into the document the lines came from.
struct Names
{
    QList<QStringView> sections;
    QList<QPair<QStringView, QStringView>> keys;
};

Names namesIn(const Lines& lines)
{
    Names names;
    QStringView section;
    for (const QStringView line : lines) {
        const Ini::LineParts parts = Ini::parseLine(line);
        if (parts.kind == Ini::LineKind::Section) {
            section = parts.name;
            names.sections.append(section);
        } else if (parts.kind == Ini::LineKind::Key && !section.isEmpty()) {
            names.keys.append({section, parts.name});
        }
    }
    return names;
}

// Lines of `before` and `after` outside their common head and tail.
QPair<qsizetype, qsizetype> changedLines(const Lines& before, const Lines& after)
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
    static const char16_t awkward[] = u"aAäÄßłK\u212A\u017F€[]=; \t\r\n\"'\\\uFEFF\x1A";
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

QString variant(FuzzedDataProvider& in, QStringView view)
{
    QString name = view.toString();
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

// Every key's read, held against the whole document; the quick reader works on
// the bytes alone. A large file is checked on a sample of its keys.
QStringList checkReads(const Store& store, const Ini::Document& document, const Names& names)
{
    QStringList values;
    const qsizetype step = qMax<qsizetype>(1, names.keys.size() / 64);
    for (qsizetype i = 0; i < names.keys.size(); ++i) {
        if (i % step != 0) {
            values.append(QString());
            continue;
        }
        const auto& [section, key] = names.keys.at(i);
        const QString value = store.read(section, key);
        check(value.size() <= Ini::kMaxValueLength, "a read is at most 254 characters");
        QString stored;
        const QString reference =
            document.value(section, key, &stored) ? asRead(stored) : QString();
        check(value == reference, "quick read agrees with the document");
        values.append(value);
    }
    return values;
}

// FNV-1a: the same on every machine, so an input found here runs the same elsewhere.
quint32 hashOf(const uint8_t* data, size_t size)
{
    quint32 hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder(scratchPattern("fuzz_inifiles"));
    FuzzedDataProvider in(data, size);
    Store store;
    store.path = folder.path() + QStringLiteral("/f.ini");
    store.bytes = QByteArray::fromStdString(in.ConsumeRandomLengthString(size));
    // By a hash of all the bytes: one chosen byte survives mutation and sent four
    // in ten inputs to disk. The byte is still read, so the seeds drive the same steps.
    store.disk = (in.ConsumeIntegralInRange<quint32>(0, 31) + hashOf(data, size)) % 32 == 0;
    if (store.disk)
        put(store.path, store.bytes);

    for (int round = 0; round < 6 && in.remaining_bytes() > 0; ++round) {
        const QByteArray before = store.bytes;
        store.fileReads = 0;
        const Ini::Document document = store.parsed();
        const bool writable = document.writable();
        const Lines lines = document.lines();
        const Names names = namesIn(lines);
        const QStringList reads = checkReads(store, document, names);

        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: { // write one value
            const auto [section, key] = keyName(in, names);
            const QString value = text(in, 300);
            const bool valid = Ini::isWritableSection(section) && Ini::isWritableKey(key) &&
                               Ini::isWritableValue(value);
            const int written = store.write(section, key, value);
            check((written != 0) == (valid && writable && !store.drifted),
                  "a write succeeds exactly when it is valid, the file writable and its "
                  "encoding kept");
            if (!written) {
                check(store.bytes == before, "a refused write changes nothing");
                break;
            }
            check(store.read(section, key) == asRead(Ini::trimmed(value)),
                  "a written value reads back");
            const Ini::Document changed = store.parsed();
            const auto [gone, added] = changedLines(lines, changed.lines());
            check(gone <= 1 && added <= 2 && added >= gone, "a write keeps the other lines");
            for (qsizetype i = 0; i < names.keys.size(); ++i) {
                const auto& [otherSection, otherKey] = names.keys.at(i);
                if (i % qMax<qsizetype>(1, names.keys.size() / 64) != 0)
                    continue;
                if (otherSection.compare(Ini::trimmed(section), Qt::CaseInsensitive) != 0 ||
                    otherKey.compare(Ini::trimmed(key), Qt::CaseInsensitive) != 0) {
                    check(store.read(otherSection, otherKey) == reads.at(i),
                          "other keys keep their values");
                }
            }
            const QByteArray once = store.bytes;
            check(store.write(section, key, value) != 0, "a second write succeeds");
            check(store.bytes == once, "writing the same value again changes nothing");
            break;
        }
        case 1: { // delete one key
            const auto [section, key] = keyName(in, names);
            QString stored;
            const bool existed = document.value(section, key, &stored);
            const int done = store.removeKey(section, key);
            check((done != 0) == (!existed || (writable && !store.drifted)),
                  "a deletion fails only when unwritable");
            if (!existed || !writable || store.drifted) {
                check(store.bytes == before, "deleting nothing changes nothing");
                break;
            }
            const Lines after = store.parsed().lines();
            const auto [gone, added] = changedLines(lines, after);
            check(after.size() == lines.size() - 1 && gone == 1 && added == 0,
                  "deleting a key removes one line");
            break;
        }
        case 2: { // delete one section
            const QString section = sectionName(in, names);
            const bool existed = document.hasSection(section);
            const int done = store.removeSection(section);
            check((done != 0) == (!existed || (writable && !store.drifted)),
                  "a deletion fails only when unwritable");
            if (!existed || !writable || store.drifted) {
                check(store.bytes == before, "deleting nothing changes nothing");
                break;
            }
            const auto [gone, added] = changedLines(lines, store.parsed().lines());
            check(gone >= 1 && added == 0, "deleting a section removes only its lines");
            break;
        }
        case 3: { // replace a section
            const QString section = sectionName(in, names);
            Pairs pairs;
            const int count = in.ConsumeIntegralInRange(0, 4);
            bool valid = Ini::isWritableSection(section);
            for (int i = 0; i < count; ++i) {
                pairs.append({text(in, 6), text(in, 40)});
                valid = valid && Ini::isWritableKey(pairs.last().first) &&
                        Ini::isWritableValue(pairs.last().second);
            }
            const int written = store.replaceSection(section, pairs, valid);
            check((written != 0) == (valid && writable && !store.drifted),
                  "a replacement succeeds exactly when it is valid, the file writable and its "
                  "encoding kept");
            if (!written) {
                check(store.bytes == before, "a refused replacement changes nothing");
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
                check(store.read(section, pairs[i].first) == asRead(Ini::trimmed(last)),
                      "each replaced pair reads back its last value");
            }
            break;
        }
        case 4: { // a write while another writer holds the lock
            if (!store.disk)
                break;
            const auto [section, key] = keyName(in, names);
            const QString value = text(in, 20);
            FileIo::FileLock other;
            check(other.acquire(store.path).ok(), "the lock is free between writes");
            const int timeout = FileIo::lockTimeout();
            FileIo::setLockTimeout(0);
            const int written = WriteIniValue(store.path, section, key, value);
            const int deleted = DeleteIniKey(store.path, section, key);
            FileIo::setLockTimeout(timeout);
            QString stored;
            check(written == 0, "no write past another writer's lock");
            check((deleted != 0) == !document.value(section, key, &stored),
                  "only a deletion with nothing to delete passes the lock");
            check(contents(store.path) == before, "a locked file keeps its bytes");
            break;
        }
        default: { // reads of anything
            const auto [section, key] = keyName(in, names);
            const QString value = store.read(section, key);
            check(value.size() <= Ini::kMaxValueLength, "a read is at most 254 characters");
            QString stored;
            check(value == (document.value(section, key, &stored) ? asRead(stored) : QString()),
                  "quick read agrees with the document");
            break;
        }
        }
        if (store.disk)
            check(contents(store.path) == store.bytes, "the file holds what was written");
    }
    return 0;
}
