#include "platform/FileIo.h"
#include "platform/IniDocument.h"
#include "platform/IniFiles.h"
#include "support/TestFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTest>

#include <unistd.h>

#include <functional>

using namespace Qt::StringLiterals;

using Pairs = QList<QPair<QString, QString>>;
using Edit = std::function<void(const QString& file)>;
Q_DECLARE_METATYPE(Edit)

namespace {

const QString s = u"s"_s, k = u"k"_s;

// Raw file bytes, NUL characters included.
QByteArray operator""_b(const char* text, size_t size)
{
    return QByteArray(text, qsizetype(size));
}

// One data row in a line: plain literals are texts, _b literals are bytes.
template <typename... T> void row(const char* name, const T&... cells)
{
    (QTest::newRow(name) << ... << cells);
}

// Reading hands out the value and leaves the file as it was.
void readRow(const char* name, const QByteArray& file, const QString& section, const QString& key,
             const QString& value)
{
    row(name, file, Edit([=](auto& path) { QCOMPARE(ReadIniValue(path, section, key), value); }),
        file);
}

Edit write(const QString& key, const QString& value)
{
    return [=](const QString& file) { QVERIFY(WriteIniValue(file, s, key, value) != 0); };
}
// An empty key deletes the whole section.
Edit drop(const QString& section, const QString& key)
{
    return [=](const QString& file) {
        key.isEmpty() ? DeleteIniSection(file, section) : DeleteIniKey(file, section, key);
    };
}
// A change that would alter how the file reads, or to a file the engine cannot write
// back as it found it, fails, and the file stays.
Edit refused(const QString& key, const QString& value)
{
    return [=](const QString& file) {
        QCOMPARE(WriteIniValue(file, s, key, value), 0);
        QCOMPARE(ReplaceIniSection(file, s, {{key, value}}), 0);
    };
}
Edit replace(const Pairs& pairs)
{
    return [=](const QString& file) { QVERIFY(ReplaceIniSection(file, u"Filelist"_s, pairs)); };
}
// Text that would change the file's lines is refused, also for a missing file.
Edit refuse(const QString& section, const QString& key, const QString& value)
{
    return [=](const QString& file) {
        QCOMPARE(WriteIniValue(file, section, key, value), 0);
        // One bad pair spoils the whole replacement.
        QCOMPARE(ReplaceIniSection(file, section, {{k, k}, {key, value}}), 0);
        QCOMPARE(WriteIniValue(file + u'2', section, key, value), 0);
        QVERIFY(!QFile::exists(file + u'2'));
    };
}

using enum QStringConverter::Encoding;

QByteArray marked(const QString& text, QStringConverter::Encoding encoding)
{
    return QStringEncoder(encoding, QStringEncoder::Flag::WriteBom)(text);
}

// A file two minutes old, as a killed writer leaves it.
void writeAged(const TestFolder& t, const QString& name)
{
    QFile f(t.write(name, "y"));
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-120),
                          QFileDevice::FileModificationTime));
}

// Child process: writes `count` keys of its own, each a read-change-write of its own.
int writeKeys(const QString& file, const QString& prefix, int count)
{
    for (int i = 0; i < count; ++i)
        if (!WriteIniValue(file, u"s"_s, prefix + QString::number(i), QString::number(i)))
            return 1;
    return 0;
}

} // namespace

// The profile-file semantics the catalogue depends on.
class tst_inifiles : public QObject
{
    Q_OBJECT
private slots:
    // The bytes on disk after each change (writes to "s"); untouched lines keep their bytes.
    void edit_data()
    {
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<Edit>("change");
        QTest::addColumn<QByteArray>("after"); // null: still no file
        const QByteArray list = "[Filelist]\r\n100=Haupt\r\n";
        readRow("FileList finds Filelist", list, "FileList", "100", "Haupt");
        readRow("umlaut case", "[\xC4rger]\r\n\xD6l=1\r\n"_b, "ärger", "ÖL", "1");
        readRow("blanks and tabs trimmed", " \t[ Option\t] \r\n MyDocs \t= /p/ \t\r\n"_b, "Option",
                " MyDocs", "/p/");
        readRow("quotes removed", "[s]\r\nk=\"  a b  \"\r\n"_b, s, k, "  a b  ");
        readRow("255 characters cut to 254", "[s]\r\nk="_b + QByteArray(255, 'x'), s, k,
                QString(254, u'x'));
        readRow("first of equal keys", "[s]\r\nk=1\r\nK=2\r\n"_b, s, k, "1");
        readRow("first of equal sections", "[s]\r\na=1\r\n[S]\r\nk=2\r\n"_b, s, k, "");
        readRow("line without equals is no key", "[s]\r\nk\r\nk =2\r\n"_b, s, k, "2");
        readRow("LF only", "[a]\nx=1\n[s]\nk=2\n"_b, s, k, "2");
        readRow("CR only", "[a]\rx=1\r[s]\rk=2\r"_b, s, k, "2");
        readRow("byte-order mark", "\xEF\xBB\xBF[s]\r\nk=\xC3\xBC\r\n"_b, s, k, "ü");
        readRow("UTF-8 file", "[s]\r\nk=\xC5\x82\xC3\xBC\r\n"_b, s, k, "łü");
        readRow("code-page file", "[s]\r\nk=\xFC\x80\r\n"_b, s, k, "ü€");
        readRow("missing file", QByteArray(), s, k, "");
        readRow("missing section", list, "Filepath", "100", "");
        readRow("missing key", list, "Filelist", "101", "");
        readRow("Ctrl-Z is a blank", "\x1A[s]\x1A\r\n\x1A k\x1A=\0321\x1A\r\n\x1A"_b, s, k, "1");
        readRow("section to the last bracket", "[T]x] \r\nk=1\r\n"_b, "T]x", k, "1");
        readRow("not to the first bracket", "[T]x]\r\nk=1\r\n"_b, "T", k, "");
        readRow("UTF-16 LE", marked(u"[s]\r\nk=\u00FC\u0142\r\n"_s, Utf16LE), s, k, "üł");
        readRow("UTF-16 BE", marked(u"[a]\nk=0\n[s]\nk = \"\u20AC\" \n"_s, Utf16BE), s, k, "€");

        row("replace keeps comments, blank and odd lines",
            "; c\r\n\r\n junk \r\n[s]\r\n;x=1\r\n\tK = 1\r\nl=2\r\n\r\n"_b, write("k", "9"),
            "; c\r\n\r\n junk \r\n[s]\r\n;x=1\r\nK=9\r\nl=2\r\n\r\n"_b);
        row("first of equal keys changed", "[s]\r\nk=1\r\nk=2\r\n"_b, write("k", "3"),
            "[s]\r\nk=3\r\nk=2\r\n"_b);
        row("new key after the last key of its section", "[s]\r\nk=1\r\n\r\n;t\r\n[t]\r\n"_b,
            write("l", "2"), "[s]\r\nk=1\r\nl=2\r\n\r\n;t\r\n[t]\r\n"_b);
        row("new section at the end", "[t]\r\nk=1\r\n\r\n"_b, write("k", "2"),
            "[t]\r\nk=1\r\n\r\n[s]\r\nk=2\r\n"_b);
        row("final line break added", "[t]\r\nk=1"_b, write("k", "2"),
            "[t]\r\nk=1\r\n[s]\r\nk=2\r\n"_b);
        row("LF-only file written with CR LF", "[s]\nk=1\n"_b, write("k", "2"), "[s]\r\nk=2\r\n"_b);
        row("CR-only file written with CR LF", "[s]\rk=1\r"_b, write("l", "2"),
            "[s]\r\nk=1\r\nl=2\r\n"_b);
        row("line holding NUL kept", "[s]\r\na\0=\xFF\r\n"_b, write("k", "1"),
            "[s]\r\nk=1\r\na\0=\xFF\r\n"_b);
        row("missing file made, umlaut in the code page", QByteArray(), write("k", "ü"),
            "[s]\r\nk=\xFC\r\n"_b);
        row("euro in the code page", ""_b, write("k", "€"), "[s]\r\nk=\x80\r\n"_b);
        row("character outside the code page turns the file to UTF-8", "[s]\r\na=\xFC\r\n"_b,
            write("b", "ł"), "[s]\r\na=\xC3\xBC\r\nb=\xC5\x82\r\n"_b);
        row("UTF-8 file back to the code page when all fits",
            "[s]\r\na=\xC5\x82\r\nb=\xC3\xBC\r\n"_b, write("a", "l"), "[s]\r\na=l\r\nb=\xFC\r\n"_b);
        row("byte-order mark kept", "\xEF\xBB\xBF[s]\r\n"_b, write("k", "ü"),
            "\xEF\xBB\xBF[s]\r\nk=\xC3\xBC\r\n"_b);
        row("UTF-16 LE stays UTF-16 LE", marked(u"; \u0142\r\n[s]\r\nk=1\r\n"_s, Utf16LE),
            write("k", "ü€"), marked(u"; \u0142\r\n[s]\r\nk=ü€\r\n"_s, Utf16LE));
        row("UTF-16 BE stays UTF-16 BE, line ends CR LF", marked(u"[s]\nk=1"_s, Utf16BE),
            write("l", "ł"), marked(u"[s]\r\nk=1\r\nl=ł\r\n"_s, Utf16BE));
        row("UTF-16 key deleted", marked(u"[s]\r\nk=1\r\nl=2\r\n"_s, Utf16LE), drop("s", "k"),
            marked(u"[s]\r\nl=2\r\n"_s, Utf16LE));
        const QByteArray unmarked = marked(u"[s]\r\nk=\u00FC\r\n"_s, Utf16LE).sliced(2);
        readRow("UTF-16 LE without a mark", unmarked, s, k, "ü");
        row("UTF-16 LE without a mark stays so", unmarked, write("l", "2"),
            marked(u"[s]\r\nk=\u00FC\r\nl=2\r\n"_s, Utf16LE).sliced(2));
        readRow("UTF-16 BE without a mark", marked(u"[s]\nk=1\n"_s, Utf16BE).sliced(2), s, k, "1");
        // More than Latin text would no longer show plainly what the file is.
        row("UTF-16 without a mark kept from turning unclear", unmarked,
            refused("l", QString(30, u'€')), unmarked);
        // Only the first line that is not blank decides, so no write changes the verdict.
        row("UTF-16-like lines after the first are kept", "[s]\r\n[\0t\0]\0\r\n"_b, write("k", "1"),
            "[s]\r\nk=1\r\n[\0t\0]\0\r\n"_b);
        const QByteArray halves = "[s]\r\n"_b + "a\0"_b.repeated(8);
        row("text never written so that it reads as UTF-16", halves,
            Edit([](auto& file) { QCOMPARE(WriteIniValue(file, s, k, u"1"_s), 0); }), halves);
        const QByteArray utf32 = marked(u"[s]\nk=\u20AC"_s, Utf32LE);
        readRow("UTF-32 LE", utf32, s, k, "€");
        row("UTF-32 LE stays UTF-32 LE, line ends CR LF", utf32, write("l", "ł"),
            marked(u"[s]\r\nk=\u20AC\r\nl=\u0142\r\n"_s, Utf32LE));
        readRow("UTF-32 BE", marked(u"[s]\nk=1"_s, Utf32BE), s, k, "1");
        const QByteArray unmarked32 = utf32.sliced(4);
        row("UTF-32 without a mark never rewritten", unmarked32, refused("k", "neu"), unmarked32);
        const QByteArray odd = marked(u"[s]\r\n"_s, Utf16BE) + "k";
        row("UTF-16 with a stray byte never rewritten", odd, refused("k", "neu"), odd);

        const QByteArray file = "[s]\r\nk=1\r\n";
        row("value plants a section", file, refuse("s", "k", "x\n[Filelist]\n1=y"), file);
        row("CR in value", file, refuse("s", "k", "a\rb"), file);
        row("NUL in value", file, refuse("s", "k", QStringView(u"a\0b", 3).toString()), file);
        row("LF in key", file, refuse("s", "k\nl", "v"), file);
        row("equals in key", file, refuse("s", "a=b", "v"), file);
        row("key begins with bracket", file, refuse("s", " [k", "v"), file);
        row("key begins with semicolon", file, refuse("s", ";k", "v"), file);
        row("closing bracket in section", file, refuse("a]b", "k", "v"), file);
        row("empty section", file, refuse("", "k", "v"), file);
        row("empty key", file, refuse("s", "", "v"), file);

        // LF only and no final line break, so a needless rewrite shows in the bytes.
        const QByteArray lf = "; c\n[s]\nk=1\nl=2\n\n[t]\nk=3";
        row("key deleted", lf, drop("S", "K"), "; c\r\n[s]\r\nl=2\r\n\r\n[t]\r\nk=3\r\n"_b);
        row("section deleted", lf, drop("s", ""), "; c\r\n[t]\r\nk=3\r\n"_b);
        row("last section deleted", lf, drop("t", ""), "; c\r\n[s]\r\nk=1\r\nl=2\r\n\r\n"_b);
        row("missing key", lf, drop("s", "m"), lf);
        row("missing section", lf, drop("u", ""), lf);
        row("deleting in a missing file makes none", QByteArray(), drop("s", "k"), QByteArray());

        const QByteArray full = "[Filelist]\r\n100=b\r\n150=a\r\n[Filepath]\r\na=/x/\r\n";
        const QByteArray rest = "[Filepath]\r\na=/x/\r\n";
        row("section replaced at the end in the given order", full,
            replace({{"100", "a"}, {"101", "b"}}), rest + "[Filelist]\r\n100=a\r\n101=b\r\n");
        row("no pairs remove the section", full, replace({}), rest);
        row("equal keys: first place, last value", full,
            replace({{"100", "a"}, {"101", "b"}, {"100", "c"}}),
            rest + "[Filelist]\r\n100=c\r\n101=b\r\n");
    }
    void edit()
    {
        QFETCH(QByteArray, before);
        QFETCH(Edit, change);
        QFETCH(QByteArray, after);
        TestFolder t;
        const QString file = before.isNull() ? t.file(u"a.ini"_s) : t.write(u"a.ini"_s, before);
        change(file);
        QCOMPARE(TestFolder::read(file), after);
        QCOMPARE(QFile::exists(file), !after.isNull());
    }

    // Whatever lies in the file, reads answer and a write loses none of it.
    void badInput()
    {
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage += char(i * 7919 + 13);
        for (const QByteArray& bytes :
             {garbage, "[s]\0\r\n\0\0\0\r\nk=\0\r\n"_b,
              "[s]\r\nk="_b + QByteArray(100000, 'x') + "\r\n",
              "[s]\r\n"_b + QByteArray("Schluessel=Ein Wert\r\n").repeated(1 << 20)}) {
            TestFolder t;
            const QString file = t.write(u"a.ini"_s, bytes);
            QVERIFY(ReadIniValue(file, s, k).size() <= 254);
            QVERIFY(WriteIniValue(file, u"neu"_s, k, u"v"_s));
            const QByteArray old = QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n');
            const QByteArray now = TestFolder::read(file).replace("\r\n", "\n");
            QVERIFY(now.startsWith(old) && now.endsWith("\n[neu]\nk=v\n"));
        }
    }

    // A folder in the file's place loses nothing.
    void unwritableTargetKeepsItsContents()
    {
        TestFolder t;
        const QString folder = t.file(u"a.ini"_s);
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(ReadIniValue(folder, s, k), QString());
        QCOMPARE(WriteIniValue(folder, s, k, k), 0);
        QVERIFY(QFileInfo(folder).isDir());
    }

    // A failed write (full disk, by the seam) is reported, file and folder stay; deletions too.
    void failedWritesReported()
    {
        TestFolder t;
        const QByteArray bytes = "[s]\r\nk=1\r\n[t]\r\n";
        const QString file = t.write(u"a.ini"_s, bytes);
        FileIo::failWritesAfter(4);
        // Only the deletion that has nothing to delete succeeds.
        const QList<int> results{WriteIniValue(file, s, k, u"2"_s), DeleteIniKey(file, s, k),
                                 DeleteIniSection(file, u"t"_s), DeleteIniKey(file, s, u"fehlt"_s)};
        FileIo::clearFaults();
        QCOMPARE(results, QList<int>({0, 0, 0, 1}));
        QCOMPARE(TestFolder::read(file), bytes);
        QCOMPARE(QDir(t.path()).entryList(QDir::Files | QDir::Hidden),
                 u".a.ini.lock a.ini"_s.split(' '));
        QCOMPARE(DeleteIniKey(file, s, k), 1);
        QCOMPARE(TestFolder::read(file), "[s]\r\n[t]\r\n"_b);
    }

    // Several programs writing keys of their own at once: every key arrives.
    void processesLoseNoWrites()
    {
        TestFolder t;
        const QString file = t.write(u"a.ini"_s, "[s]\r\n");
        constexpr int kProcesses = 4, kKeys = 60;
        QProcess writers[kProcesses];
        for (int p = 0; p < kProcesses; ++p)
            writers[p].start(QCoreApplication::applicationFilePath(),
                             {u"--write-keys"_s, file, u"p%1_"_s.arg(p), QString::number(kKeys)});
        for (QProcess& writer : writers)
            QVERIFY(writer.waitForFinished(120000) && writer.exitStatus() == QProcess::NormalExit &&
                    writer.exitCode() == 0);
        for (int p = 0; p < kProcesses; ++p)
            for (int i = 0; i < kKeys; ++i)
                QCOMPARE(ReadIniValue(file, s, u"p%1_%2"_s.arg(p).arg(i)), QString::number(i));
        QCOMPARE(TestFolder::read(file).count("\r\n"), 1 + kProcesses * kKeys);
    }

    // A lock held elsewhere fails the write after the timeout, no hang; a no-op still succeeds.
    void heldLockFailsTheWrite()
    {
        TestFolder t;
        const QByteArray bytes = "[s]\r\nk=1\r\n";
        const QString file = t.write(u"a.ini"_s, bytes);
        FileIo::FileLock other;
        QVERIFY(other.acquire(file).ok());
        const int before = FileIo::lockTimeout();
        FileIo::setLockTimeout(50);
        // The write fails, the deletion of nothing succeeds, and the error says why.
        const QList<int> results{WriteIniValue(file, s, k, u"2"_s),
                                 DeleteIniSection(file, u"fehlt"_s),
                                 Ini::writeValue(file, s, k, u"2"_s).error()};
        FileIo::setLockTimeout(before);
        QCOMPARE(results, QList<int>({0, 1, EWOULDBLOCK}));
        QCOMPARE(TestFolder::read(file), bytes);
        other.release();
        QVERIFY(WriteIniValue(file, s, k, u"2"_s));
    }

    // Names as long as the file system allows still get a temporary file, a lock and clean-up.
    void namesAtTheLimit()
    {
        // 254 and 255 bytes, and 255 bytes of two-byte characters.
        for (const QString& name :
             {QString(254, u'n'), QString(255, u'n'), QString(127, u'ü') + u'n'}) {
            TestFolder t;
            const QString file = t.file(name);
            QVERIFY(WriteIniValue(file, s, k, u"1"_s));
            QCOMPARE(TestFolder::read(file), "[s]\r\nk=1\r\n"_b);
            writeAged(t, QFileInfo(FileIo::temporaryPrefix(file)).fileName() + u"abc123"_s);
            QCOMPARE(FileIo::removeStaleTemporaries(file), 1);
            QCOMPARE(QDir(t.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList({QFileInfo(FileIo::lockPath(file)).fileName(), name}));
        }
    }

    // Temporary files a killed writer left: only ours, only old ones go.
    void staleTemporariesRemoved()
    {
        TestFolder t;
        const QString file = t.write(u"a.ini"_s, "x");
        const QString prefix = QFileInfo(FileIo::temporaryPrefix(file)).fileName();
        writeAged(t, prefix + u"abc123"_s);  // goes
        t.write(prefix + u"def456"_s, "y");  // a writer may still fill it
        writeAged(t, prefix + u"long789"_s); // not our pattern
        writeAged(t, u".b.ini.tmp-abc123"_s);
        writeAged(t, u"a.ini"_s);
        // A second name of a file: a running undo's kept older file.
        QCOMPARE(::link(QFile::encodeName(file), QFile::encodeName(t.file(prefix + "kept01"))), 0);
        QCOMPARE(FileIo::removeStaleTemporaries(file), 1);
        QCOMPARE(QDir(t.path()).entryList(QDir::Files | QDir::Hidden),
                 u".a.ini.tmp-def456 .a.ini.tmp-kept01 .a.ini.tmp-long789 .b.ini.tmp-abc123 a.ini"_s
                     .split(' '));
        // The whole folder: every file's leftovers.
        QCOMPARE(FileIo::removeStaleTemporariesIn(t.path()), 1);
        QCOMPARE(QDir(t.path()).entryList(QDir::Files | QDir::Hidden),
                 u".a.ini.tmp-def456 .a.ini.tmp-kept01 .a.ini.tmp-long789 a.ini"_s.split(' '));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args.at(1) == u"--write-keys"_s)
        return writeKeys(args.at(2), args.at(3), args.at(4).toInt());
    tst_inifiles test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_inifiles.moc"
