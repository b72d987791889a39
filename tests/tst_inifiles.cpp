#include "platform/IniDocument.h"
#include "platform/IniFiles.h"
#include "support/TestFolder.h"

#include <QProcess>
#include <QStringEncoder>
#include <QTest>

#include <unistd.h>

#include <functional>

using namespace Qt::StringLiterals;

using Edit = std::function<void(const QString& file)>;
Q_DECLARE_METATYPE(Edit)

const QString s = u"s"_s, k = u"k"_s;

// Raw file bytes, NUL characters included; '|' stands for CR LF.
QByteArray operator""_b(const char* text, size_t size)
{
    return QByteArray(text, qsizetype(size)).replace('|', "\r\n");
}

// One data row in a line: plain literals are texts, _b literals are bytes.
const auto row = [](const char* name, const auto&... c) { (QTest::newRow(name) << ... << c); };

// Reading hands out the value and leaves the file as it was.
const auto readRow = [](const char* name, const QByteArray& file, const QString& section,
                        const QString& key, const QString& value) {
    row(name, file, Edit([=](auto& path) { QCOMPARE(ReadIniValue(path, section, key), value); }),
        file);
};

// An empty key deletes the whole section.
const auto drop = [](const QString& section, const QString& key) -> Edit {
    return [=](const QString& file) {
        key.isEmpty() ? DeleteIniSection(file, section) : DeleteIniKey(file, section, key);
    };
};
// A change that would alter how the file reads, or that it cannot write back as found, fails.
const auto refused = [](const QString& key, const QString& value) -> Edit {
    return [=](const QString& file) {
        QCOMPARE(WriteIniValue(file, s, key, value), 0);
        QCOMPARE(ReplaceIniSection(file, s, {{key, value}}), 0);
    };
};
const auto replace = [](const QList<QPair<QString, QString>>& pairs) -> Edit {
    return [=](const QString& file) { QVERIFY(ReplaceIniSection(file, u"Filelist"_s, pairs)); };
};
// Text that would change the file's lines is refused, also for a missing file.
const auto refuse = [](const QString& section, const QString& key, const QString& value) -> Edit {
    return [=](const QString& file) {
        QCOMPARE(WriteIniValue(file, section, key, value), 0);
        // One bad pair spoils the whole replacement.
        QCOMPARE(ReplaceIniSection(file, section, {{k, k}, {key, value}}), 0);
        QCOMPARE(WriteIniValue(file + u'2', section, key, value), 0);
        QVERIFY(!QFile::exists(file + u'2'));
    };
};

using enum QStringConverter::Encoding;

const auto marked = [](const QString& text, QStringConverter::Encoding encoding) -> QByteArray {
    return QStringEncoder(encoding, QStringEncoder::Flag::WriteBom)(text);
};

// A file two minutes old, as a killed writer leaves it.
const auto writeAged = [](const TestFolder& t, const QString& name) {
    QFile f(t.write(name, "y"));
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-120),
                          QFileDevice::FileModificationTime));
};

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
        const auto write = [](const QString& key, const QString& value) -> Edit {
            return [=](const QString& file) { QVERIFY(WriteIniValue(file, s, key, value) != 0); };
        };
        const QByteArray list = "[Filelist]|100=Haupt|"_b;
        readRow("FileList finds Filelist", list, "FileList", "100", "Haupt");
        readRow("umlaut case", "[\xC4rger]|\xD6l=1|"_b, "ärger", "ÖL", "1");
        readRow("blanks and tabs trimmed", " \t[ Option\t] | MyDocs \t= /p/ \t|"_b, "Option",
                " MyDocs", "/p/");
        readRow("quotes removed", "[s]|k=\"  a b  \"|"_b, s, k, "  a b  ");
        readRow("255 characters cut to 254", "[s]|k="_b + QByteArray(255, 'x'), s, k,
                QString(254, u'x'));
        readRow("first of equal keys", "[s]|k=1|K=2|"_b, s, k, "1");
        readRow("first of equal sections", "[s]|a=1|[S]|k=2|"_b, s, k, "");
        readRow("line without equals is no key", "[s]|k|k =2|"_b, s, k, "2");
        readRow("LF only", "[a]\nx=1\n[s]\nk=2\n"_b, s, k, "2");
        readRow("CR only", "[a]\rx=1\r[s]\rk=2\r"_b, s, k, "2");
        readRow("byte-order mark", "\xEF\xBB\xBF[s]|k=\xC3\xBC|"_b, s, k, "ü");
        readRow("UTF-8 file", "[s]|k=\xC5\x82\xC3\xBC|"_b, s, k, "łü");
        readRow("code-page file", "[s]|k=\xFC\x80|"_b, s, k, "ü€");
        readRow("missing file", QByteArray(), s, k, "");
        readRow("missing section", list, "Filepath", "100", "");
        readRow("missing key", list, "Filelist", "101", "");
        readRow("Ctrl-Z is a blank", "\x1A[s]\x1A|\x1A k\x1A=\0321\x1A|\x1A"_b, s, k, "1");
        readRow("section to the last bracket", "[T]x] |k=1|"_b, "T]x", k, "1");
        readRow("not to the first bracket", "[T]x]|k=1|"_b, "T", k, "");
        readRow("UTF-16 LE", marked(u"[s]\r\nk=\u00FC\u0142\r\n"_s, Utf16LE), s, k, "üł");
        readRow("UTF-16 BE", marked(u"[a]\nk=0\n[s]\nk = \"\u20AC\" \n"_s, Utf16BE), s, k, "€");

        row("replace keeps comments, blank and odd lines", "; c|| junk |[s]|;x=1|\tK = 1|l=2||"_b,
            write("k", "9"), "; c|| junk |[s]|;x=1|K=9|l=2||"_b);
        row("first of equal keys changed", "[s]|k=1|k=2|"_b, write("k", "3"), "[s]|k=3|k=2|"_b);
        row("new key after the last key of its section", "[s]|k=1||;t|[t]|"_b, write("l", "2"),
            "[s]|k=1|l=2||;t|[t]|"_b);
        row("new section at the end", "[t]|k=1||"_b, write("k", "2"), "[t]|k=1||[s]|k=2|"_b);
        row("final line break added", "[t]|k=1"_b, write("k", "2"), "[t]|k=1|[s]|k=2|"_b);
        row("LF-only file written with CR LF", "[s]\nk=1\n"_b, write("k", "2"), "[s]|k=2|"_b);
        row("CR-only file written with CR LF", "[s]\rk=1\r"_b, write("l", "2"), "[s]|k=1|l=2|"_b);
        row("line holding NUL kept", "[s]|a\0=\xFF|"_b, write("k", "1"), "[s]|k=1|a\0=\xFF|"_b);
        row("missing file made, umlaut in the code page", QByteArray(), write("k", "ü"),
            "[s]|k=\xFC|"_b);
        row("euro in the code page", ""_b, write("k", "€"), "[s]|k=\x80|"_b);
        row("character outside the code page turns the file to UTF-8", "[s]|a=\xFC|"_b,
            write("b", "ł"), "[s]|a=\xC3\xBC|b=\xC5\x82|"_b);
        row("UTF-8 file back to the code page when all fits", "[s]|a=\xC5\x82|b=\xC3\xBC|"_b,
            write("a", "l"), "[s]|a=l|b=\xFC|"_b);
        row("byte-order mark kept", "\xEF\xBB\xBF[s]|"_b, write("k", "ü"),
            "\xEF\xBB\xBF[s]|k=\xC3\xBC|"_b);
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
        row("UTF-16-like lines after the first are kept", "[s]|[\0t\0]\0|"_b, write("k", "1"),
            "[s]|k=1|[\0t\0]\0|"_b);
        const QByteArray halves = "[s]|"_b + "a\0"_b.repeated(8);
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

        const QByteArray file = "[s]|k=1|"_b;
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
        row("key deleted", lf, drop("S", "K"), "; c|[s]|l=2||[t]|k=3|"_b);
        row("section deleted", lf, drop("s", ""), "; c|[t]|k=3|"_b);
        row("last section deleted", lf, drop("t", ""), "; c|[s]|k=1|l=2||"_b);
        row("missing key", lf, drop("s", "m"), lf);
        row("missing section", lf, drop("u", ""), lf);
        row("deleting in a missing file makes none", QByteArray(), drop("s", "k"), QByteArray());

        const QByteArray full = "[Filelist]|100=b|150=a|[Filepath]|a=/x/|"_b;
        const QByteArray rest = "[Filepath]|a=/x/|"_b;
        row("section replaced at the end in the given order", full,
            replace({{"100", "a"}, {"101", "b"}}), rest + "[Filelist]|100=a|101=b|"_b);
        row("no pairs remove the section", full, replace({}), rest);
        row("equal keys: first place, last value", full,
            replace({{"100", "a"}, {"101", "b"}, {"100", "c"}}),
            rest + "[Filelist]|100=c|101=b|"_b);
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
             {garbage, "[s]\0|\0\0\0|k=\0|"_b, "[s]|k="_b + QByteArray(100000, 'x') + "\r\n",
              "[s]|"_b + "Schluessel=Ein Wert|"_b.repeated(1 << 20)}) {
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
        const QByteArray bytes = "[s]|k=1|[t]|"_b;
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
        QCOMPARE(TestFolder::read(file), "[s]|[t]|"_b);
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
        const QByteArray bytes = "[s]|k=1|"_b;
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
            QCOMPARE(TestFolder::read(file), "[s]|k=1|"_b);
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
    // Child process: writes keys of its own, each a read-change-write of its own.
    if (args.size() == 5 && args.at(1) == u"--write-keys"_s) {
        for (int i = 0; i < args.at(4).toInt(); ++i)
            if (!WriteIniValue(args.at(2), s, args.at(3) + QString::number(i), QString::number(i)))
                return 1;
        return 0;
    }
    tst_inifiles test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_inifiles.moc"
