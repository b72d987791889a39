#include "platform/IniFiles.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using Pairs = QList<QPair<QString, QString>>;

namespace {

// Identifies the file on disk: a replacement gets a new inode.
QPair<qint64, qint64> identity(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {-1, -1};
    return {qint64(info.st_ino), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// Bytes of a literal that holds NUL characters.
template <qsizetype N> QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

} // namespace

// The profile-file semantics the catalogue depends on.
class tst_inifiles : public QObject
{
    Q_OBJECT
private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");

        const QByteArray list = "[Filelist]\r\n100=Haupt\r\n";
        QTest::newRow("exact") << list << "Filelist"
                               << "100"
                               << "Haupt";
        QTest::newRow("section case") << list << "FileList"
                                      << "100"
                                      << "Haupt";
        QTest::newRow("key case") << QByteArray("[Caption]\r\nroot=x\r\n") << "caption"
                                  << "ROOT"
                                  << "x";
        QTest::newRow("umlaut case") << QByteArray("[\xDC"
                                                   "bersicht]\r\n\xC4rger=1\r\n")
                                     << "übersicht"
                                     << "ärger"
                                     << "1";
        QTest::newRow("blanks and tabs around everything")
            << QByteArray(" \t[ Option\t]  \r\n  MyDocs \t=\t /p/ \t\r\n") << "Option"
            << "MyDocs"
            << "/p/";
        QTest::newRow("blanks around asked names") << list << " Filelist "
                                                   << "\t100 "
                                                   << "Haupt";
        QTest::newRow("double quotes removed") << QByteArray("[s]\r\nk=\"  a b  \"\r\n") << "s"
                                               << "k"
                                               << "  a b  ";
        QTest::newRow("single quotes removed") << QByteArray("[s]\r\nk='x'\r\n") << "s"
                                               << "k"
                                               << "x";
        QTest::newRow("unmatched quotes kept") << QByteArray("[s]\r\nk=\"x'\r\n") << "s"
                                               << "k"
                                               << "\"x'";
        QTest::newRow("lone quote kept") << QByteArray("[s]\r\nk=\"\r\n") << "s"
                                         << "k"
                                         << "\"";
        QTest::newRow("only one pair removed") << QByteArray("[s]\r\nk=\"\"x\"\"\r\n") << "s"
                                               << "k"
                                               << "\"x\"";
        QTest::newRow("equals in value") << QByteArray("[s]\r\nk=a=b\r\n") << "s"
                                         << "k"
                                         << "a=b";
        QTest::newRow("empty value") << QByteArray("[s]\r\nk=\r\n") << "s"
                                     << "k"
                                     << "";
        QTest::newRow("first of equal keys") << QByteArray("[s]\r\nk=1\r\nK=2\r\n") << "s"
                                             << "k"
                                             << "1";
        QTest::newRow("first of equal sections")
            << QByteArray("[s]\r\na=1\r\n[t]\r\n[S]\r\nk=2\r\n") << "s"
            << "k"
            << "";
        QTest::newRow("key of another section") << QByteArray("[s]\r\n[t]\r\nk=1\r\n") << "s"
                                                << "k"
                                                << "";
        QTest::newRow("key before any section") << QByteArray("k=1\r\n[s]\r\n") << "s"
                                                << "k"
                                                << "";
        QTest::newRow("line without equals is no key") << QByteArray("[s]\r\nk\r\nk =2\r\n") << "s"
                                                       << "k"
                                                       << "2";
        QTest::newRow("comment is no key") << QByteArray("[s]\r\n;k=1\r\n") << "s"
                                           << ";k"
                                           << "";
        QTest::newRow("header without bracket is no section")
            << QByteArray("[s]\r\n[t\r\nk=1\r\n") << "s"
            << "k"
            << "1";
        QTest::newRow("line holding NUL is no key") << bytes("[s]\r\nk=1\0\r\nk=2\r\n") << "s"
                                                    << "k"
                                                    << "2";
        QTest::newRow("LF only") << QByteArray("[a]\nx=1\n[s]\nk=2\n") << "s"
                                 << "k"
                                 << "2";
        QTest::newRow("CR only") << QByteArray("[a]\rx=1\r[s]\rk=2\r") << "s"
                                 << "k"
                                 << "2";
        QTest::newRow("no final line end") << QByteArray("[s]\r\nk=2") << "s"
                                           << "k"
                                           << "2";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[s]\r\nk=\xC3\xBC\r\n") << "s"
                                         << "k"
                                         << "ü";
        QTest::newRow("UTF-8 file") << QByteArray("[s]\r\nk=\xC5\x82\xC3\xBC\r\n") << "s"
                                    << "k"
                                    << "łü";
        QTest::newRow("code-page file") << QByteArray("[s]\r\nk=\xFC\x80\r\n") << "s"
                                        << "k"
                                        << "ü€";
        QTest::newRow("300 characters cut to 254") << "[s]\r\nk=" + QByteArray(300, 'x') + "\r\n"
                                                   << "s"
                                                   << "k" << QString(254, u'x');
        QTest::newRow("quoted 300 characters cut to 254")
            << "[s]\r\nk=\"" + QByteArray(300, 'y') + "\"\r\n"
            << "s"
            << "k" << QString(254, u'y');
        QTest::newRow("missing key") << list << "Filelist"
                                     << "101"
                                     << "";
        QTest::newRow("missing section") << list << "Filepath"
                                         << "100"
                                         << "";
        QTest::newRow("empty names") << QByteArray("[]\r\n=1\r\n") << ""
                                     << ""
                                     << "";
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        TestFolder t;
        const QString file = t.write(QStringLiteral("a.ini"), bytes);
        QCOMPARE(ReadIniValue(file, section, key), value);
        QCOMPARE(TestFolder::read(file), bytes);
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("value replaced") << QByteArray("[s]\r\nk=1\r\nl=2\r\n") << "s"
                                        << "k"
                                        << "9" << QByteArray("[s]\r\nk=9\r\nl=2\r\n");
        QTest::newRow("key keeps its spelling") << QByteArray("[S]\r\n  Key = 1 \r\n") << "s"
                                                << "KEY"
                                                << "2" << QByteArray("[S]\r\nKey=2\r\n");
        QTest::newRow("umlaut names match") << QByteArray("[\xDC"
                                                          "ber]\r\n\xC4=1\r\n")
                                            << "über"
                                            << "ä"
                                            << "2"
                                            << QByteArray("[\xDC"
                                                          "ber]\r\n\xC4=2\r\n");
        QTest::newRow("new key after the last key, not after blank lines")
            << QByteArray("[s]\r\nk=1\r\n\r\n; about t\r\n[t]\r\n") << "s"
            << "l"
            << "2" << QByteArray("[s]\r\nk=1\r\nl=2\r\n\r\n; about t\r\n[t]\r\n");
        QTest::newRow("new key in a section without keys")
            << QByteArray("[s]\r\n\r\n[t]\r\n") << "s"
            << "k"
            << "1" << QByteArray("[s]\r\nk=1\r\n\r\n[t]\r\n");
        QTest::newRow("new section at the end")
            << QByteArray("; top\r\n[s]\r\nk=1\r\n\r\n") << "t"
            << "k"
            << "2" << QByteArray("; top\r\n[s]\r\nk=1\r\n\r\n[t]\r\nk=2\r\n");
        QTest::newRow("first of equal keys changed") << QByteArray("[s]\r\nk=1\r\nk=2\r\n") << "s"
                                                     << "k"
                                                     << "3" << QByteArray("[s]\r\nk=3\r\nk=2\r\n");
        QTest::newRow("first of equal sections changed")
            << QByteArray("[s]\r\na=1\r\n[s]\r\nb=2\r\n") << "s"
            << "b"
            << "3" << QByteArray("[s]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n");
        QTest::newRow("comments, blanks and strange lines kept")
            << QByteArray("; c\r\n\r\n  junk  \r\n[s]\r\n ;x=1\r\n\tk = 1\r\n") << "s"
            << "k"
            << "2" << QByteArray("; c\r\n\r\n  junk  \r\n[s]\r\n ;x=1\r\nk=2\r\n");
        QTest::newRow("line holding NUL kept byte for byte")
            << bytes("[s]\r\na\0=\xFF\r\n") << "s"
            << "k"
            << "1" << bytes("[s]\r\nk=1\r\na\0=\xFF\r\n");
        QTest::newRow("final line end added") << QByteArray("[s]\r\nk=1") << "t"
                                              << "k"
                                              << "2" << QByteArray("[s]\r\nk=1\r\n[t]\r\nk=2\r\n");
        QTest::newRow("LF-only file written with CR LF") << QByteArray("[s]\nk=1\n") << "s"
                                                         << "k"
                                                         << "2" << QByteArray("[s]\r\nk=2\r\n");
        QTest::newRow("CR-only file written with CR LF")
            << QByteArray("[s]\rk=1\r") << "s"
            << "l"
            << "2" << QByteArray("[s]\r\nk=1\r\nl=2\r\n");
        QTest::newRow("outer blanks written but not read")
            << QByteArray() << "s"
            << "k"
            << "  v  " << QByteArray("[s]\r\nk=  v  \r\n");
        QTest::newRow("umlaut in the code page") << QByteArray() << "s"
                                                 << "k"
                                                 << "ü" << QByteArray("[s]\r\nk=\xFC\r\n");
        QTest::newRow("euro in the code page") << QByteArray() << "s"
                                               << "k"
                                               << "€" << QByteArray("[s]\r\nk=\x80\r\n");
        QTest::newRow("character outside the code page turns the file to UTF-8")
            << QByteArray("[s]\r\na=\xFC\r\n") << "s"
            << "b"
            << "ł" << QByteArray("[s]\r\na=\xC3\xBC\r\nb=\xC5\x82\r\n");
        QTest::newRow("UTF-8 file stays UTF-8 while a character needs it")
            << QByteArray("[s]\r\na=\xC5\x82\r\n") << "s"
            << "b"
            << "ü" << QByteArray("[s]\r\na=\xC5\x82\r\nb=\xC3\xBC\r\n");
        QTest::newRow("UTF-8 file back to the code page when all fits")
            << QByteArray("[s]\r\na=\xC5\x82\r\nb=\xC3\xBC\r\n") << "s"
            << "a"
            << "l" << QByteArray("[s]\r\na=l\r\nb=\xFC\r\n");
        QTest::newRow("code-page bytes that would read as UTF-8 are written as UTF-8")
            << QByteArray() << "s"
            << "k"
            << "Ã¼" << QByteArray("[s]\r\nk=\xC3\x83\xC2\xBC\r\n");
        QTest::newRow("byte-order mark kept, file stays UTF-8")
            << QByteArray("\xEF\xBB\xBF[s]\r\n") << "s"
            << "k"
            << "ü" << QByteArray("\xEF\xBB\xBF[s]\r\nk=\xC3\xBC\r\n");
        QTest::newRow("byte-order mark with a code-page line")
            << QByteArray("\xEF\xBB\xBF[s]\r\na=\xFC\r\n") << "s"
            << "k"
            << "ü" << QByteArray("\xEF\xBB\xBF[s]\r\na=\xFC\r\nk=\xC3\xBC\r\n");
    }
    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        TestFolder t;
        const QString file = t.write(QStringLiteral("a.ini"), before);
        QVERIFY(WriteIniValue(file, section, key, value) != 0);
        QCOMPARE(TestFolder::read(file), after);
        QCOMPARE(ReadIniValue(file, section, key), value.trimmed());
    }

    void writeTheSameValueAgainLeavesTheFile()
    {
        TestFolder t;
        const QString file = t.write(QStringLiteral("a.ini"), "[s]\r\nk=1\r\n");
        const auto before = identity(file);
        QVERIFY(WriteIniValue(file, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1")));
        QCOMPARE(identity(file), before);
    }

    void missingFile()
    {
        TestFolder t;
        const QString file = t.file(QStringLiteral("a.ini"));
        QCOMPARE(ReadIniValue(file, QStringLiteral("s"), QStringLiteral("k")), QString());
        DeleteIniKey(file, QStringLiteral("s"), QStringLiteral("k"));
        DeleteIniSection(file, QStringLiteral("s"));
        QVERIFY(ReplaceIniSection(file, QStringLiteral("s"), {}) != 0);
        QVERIFY(!QFile::exists(file));
        QVERIFY(WriteIniValue(file, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")));
        QCOMPARE(TestFolder::read(file), QByteArray("[s]\r\nk=v\r\n"));
        // A missing folder is not made.
        const QString deeper = t.file(QStringLiteral("none/a.ini"));
        QCOMPARE(
            WriteIniValue(deeper, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")),
            0);
        QVERIFY(!QFile::exists(deeper));
    }

    void refused_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("value plants a section") << "s"
                                                << "k"
                                                << "x\n[Filelist]\n100=y";
        QTest::newRow("CR in value") << "s"
                                     << "k"
                                     << "a\rb";
        QTest::newRow("NUL in value") << "s"
                                      << "k" << QStringView(u"a\0b", 3).toString();
        QTest::newRow("LF in key") << "s"
                                   << "k\nl"
                                   << "v";
        QTest::newRow("NUL in key") << "s" << QStringView(u"k\0", 2).toString() << "v";
        QTest::newRow("equals in key") << "s"
                                       << "a=b"
                                       << "v";
        QTest::newRow("key begins with bracket") << "s"
                                                 << " [k"
                                                 << "v";
        QTest::newRow("key begins with semicolon") << "s"
                                                   << ";k"
                                                   << "v";
        QTest::newRow("CR in section") << "s\r"
                                       << "k"
                                       << "v";
        QTest::newRow("closing bracket in section") << "a]b"
                                                    << "k"
                                                    << "v";
        QTest::newRow("empty section") << ""
                                       << "k"
                                       << "v";
        QTest::newRow("blank section") << " \t"
                                       << "k"
                                       << "v";
        QTest::newRow("empty key") << "s"
                                   << ""
                                   << "v";
        QTest::newRow("half a character") << "s"
                                          << "k" << QString(QChar(0xD800));
    }
    void refused()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        TestFolder t;
        const QByteArray bytes = "[s]\r\nk=1\r\n";
        const QString file = t.write(QStringLiteral("a.ini"), bytes);
        QCOMPARE(WriteIniValue(file, section, key, value), 0);
        // One bad pair spoils the whole replacement.
        QCOMPARE(ReplaceIniSection(file, section,
                                   {{QStringLiteral("a"), QStringLiteral("1")}, {key, value}}),
                 0);
        QCOMPARE(TestFolder::read(file), bytes);
        const QString missing = t.file(QStringLiteral("b.ini"));
        QCOMPARE(WriteIniValue(missing, section, key, value), 0);
        QVERIFY(!QFile::exists(missing));
    }

    void remove_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key"); // empty: the whole section
        QTest::addColumn<QByteArray>("after");
        const QByteArray file = "; c\r\n[s]\r\nk=1\r\nl=2\r\n\r\n[t]\r\nk=3\r\n";
        QTest::newRow("key") << file << "S"
                             << "K" << QByteArray("; c\r\n[s]\r\nl=2\r\n\r\n[t]\r\nk=3\r\n");
        QTest::newRow("first of equal keys") << QByteArray("[s]\r\nk=1\r\nk=2\r\n") << "s"
                                             << "k" << QByteArray("[s]\r\nk=2\r\n");
        QTest::newRow("section with all its lines") << file << "s"
                                                    << "" << QByteArray("; c\r\n[t]\r\nk=3\r\n");
        QTest::newRow("last section") << file << "t"
                                      << "" << QByteArray("; c\r\n[s]\r\nk=1\r\nl=2\r\n\r\n");
        QTest::newRow("first of equal sections")
            << QByteArray("[s]\r\na=1\r\n[s]\r\nb=2\r\n") << "s"
            << "" << QByteArray("[s]\r\nb=2\r\n");
        QTest::newRow("missing key") << file << "s"
                                     << "m" << file;
        QTest::newRow("key of another section") << file << "t"
                                                << "l" << file;
        QTest::newRow("missing section") << file << "u"
                                         << "" << file;
        QTest::newRow("missing key, LF file untouched") << QByteArray("[s]\nk=1") << "s"
                                                        << "m" << QByteArray("[s]\nk=1");
    }
    void remove()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        TestFolder t;
        const QString file = t.write(QStringLiteral("a.ini"), before);
        const auto old = identity(file);
        if (key.isEmpty())
            DeleteIniSection(file, section);
        else
            DeleteIniKey(file, section, key);
        QCOMPARE(TestFolder::read(file), after);
        if (before == after)
            QCOMPARE(identity(file), old); // not even rewritten
    }

    void replaceSection_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<Pairs>("pairs");
        QTest::addColumn<QByteArray>("after");
        const QByteArray file = "[Filelist]\r\n100=b\r\n150=a\r\n[Filepath]\r\na=/x/\r\n";
        QTest::newRow("moved to the end in the given order")
            << file << Pairs{{"100", "a"}, {"101", "b"}}
            << QByteArray("[Filepath]\r\na=/x/\r\n[Filelist]\r\n100=a\r\n101=b\r\n");
        QTest::newRow("no pairs removes the section")
            << file << Pairs{} << QByteArray("[Filepath]\r\na=/x/\r\n");
        QTest::newRow("equal keys: first place, last value")
            << QByteArray() << Pairs{{"100", "a"}, {"101", "b"}, {"100", "c"}}
            << QByteArray("[Filelist]\r\n100=c\r\n101=b\r\n");
        QTest::newRow("unchanged section at the end is not rewritten")
            << QByteArray("[Filelist]\r\n100=a\r\n") << Pairs{{"100", "a"}}
            << QByteArray("[Filelist]\r\n100=a\r\n");
        QTest::newRow("later equal section takes the pairs")
            << QByteArray("[Filelist]\r\n100=x\r\n[t]\r\n[FILELIST]\r\n100=y\r\n")
            << Pairs{{"100", "a"}, {"101", "b"}}
            << QByteArray("[t]\r\n[FILELIST]\r\n100=a\r\n101=b\r\n");
    }
    void replaceSection()
    {
        QFETCH(QByteArray, before);
        QFETCH(Pairs, pairs);
        QFETCH(QByteArray, after);
        TestFolder t;
        const QString file = t.write(QStringLiteral("a.ini"), before);
        QVERIFY(ReplaceIniSection(file, QStringLiteral("Filelist"), pairs) != 0);
        QCOMPARE(TestFolder::read(file), after);
    }

    // Whatever lies in the file, reads answer and writes lose nothing.
    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray garbage(4096, Qt::Uninitialized);
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 256);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary garbage") << garbage;
        QTest::newRow("NUL bytes") << bytes("[s]\0\r\n\0\0\0\r\nk=\0\r\n");
        QTest::newRow("100 000-character line") << "[s]\r\nk=" + QByteArray(100000, 'x') + "\r\n";
        QByteArray big;
        big.reserve(20 * 1024 * 1024 + 64);
        const QByteArray line = "Schluessel=Ein Wert mit ein paar Worten darin\r\n";
        big += "[s]\r\n";
        while (big.size() < 20 * 1024 * 1024)
            big += line;
        QTest::newRow("20 MB") << big;
        QTest::newRow("lone byte-order mark") << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("only line ends") << QByteArray("\r\r\n\n\r");
    }
    void badInput()
    {
        QFETCH(QByteArray, bytes);
        TestFolder t;
        const QString file = t.write(QStringLiteral("a.ini"), bytes);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(ReadIniValue(file, QStringLiteral("s"), QStringLiteral("k")).size() <= 254);
        QVERIFY(ReadIniValue(file, QStringLiteral("s"), QStringLiteral("none")).isEmpty());
        QVERIFY(
            WriteIniValue(file, QStringLiteral("neu"), QStringLiteral("k"), QStringLiteral("v")));
        QCOMPARE(ReadIniValue(file, QStringLiteral("neu"), QStringLiteral("k")),
                 QStringLiteral("v"));
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        const QByteArray written = TestFolder::read(file);
        QVERIFY(written.size() >= bytes.size());
        // Every old line is still there, in its order.
        QByteArray normalised = bytes;
        QByteArray rewritten = written;
        if (normalised.startsWith("\xEF\xBB\xBF")) {
            QVERIFY(rewritten.startsWith("\xEF\xBB\xBF"));
            normalised.remove(0, 3);
            rewritten.remove(0, 3);
        }
        normalised.replace("\r\n", "\n").replace('\r', '\n');
        rewritten.replace("\r\n", "\n");
        if (!normalised.isEmpty() && !normalised.endsWith('\n'))
            normalised += '\n';
        QVERIFY(rewritten.startsWith(normalised));
        QCOMPARE(rewritten.mid(normalised.size()), QByteArray("[neu]\nk=v\n"));
    }

    void folderIsNoFile()
    {
        TestFolder t;
        const QString folder = t.file(QStringLiteral("a.ini"));
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(ReadIniValue(folder, QStringLiteral("s"), QStringLiteral("k")), QString());
        QCOMPARE(
            WriteIniValue(folder, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")),
            0);
        QCOMPARE(ReplaceIniSection(folder, QStringLiteral("s"), {}), 0);
        DeleteIniSection(folder, QStringLiteral("s"));
        QVERIFY(QFileInfo(folder).isDir());
    }

    void unreadableFileIsNeverReplaced()
    {
        if (runningAsRoot())
            QSKIP("permissions do not stop the superuser");
        TestFolder t;
        const QByteArray bytes = "[s]\r\nk=1\r\n";
        const QString file = t.write(QStringLiteral("a.ini"), bytes);
        QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
        QCOMPARE(ReadIniValue(file, QStringLiteral("s"), QStringLiteral("k")), QString());
        QCOMPARE(WriteIniValue(file, QStringLiteral("s"), QStringLiteral("l"), QStringLiteral("2")),
                 0);
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(TestFolder::read(file), bytes);
    }

    void readOnlyFileIsNotReplaced()
    {
        if (runningAsRoot())
            QSKIP("permissions do not stop the superuser");
        TestFolder t;
        const QByteArray bytes = "[s]\r\nk=1\r\n";
        const QString file = t.write(QStringLiteral("a.ini"), bytes);
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
        QCOMPARE(ReadIniValue(file, QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("1"));
        QCOMPARE(WriteIniValue(file, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("2")),
                 0);
        DeleteIniSection(file, QStringLiteral("s"));
        QCOMPARE(TestFolder::read(file), bytes);
    }

    void failedReplacementKeepsTheOldFile_data()
    {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("no room for the temporary name") << false;
        QTest::newRow("read-only folder") << true;
    }
    void failedReplacementKeepsTheOldFile()
    {
        QFETCH(bool, readOnlyFolder);
        if (readOnlyFolder && runningAsRoot())
            QSKIP("permissions do not stop the superuser");
        TestFolder t;
        const QByteArray bytes = "[s]\r\nk=1\r\n";
        // A name at the length limit leaves no room for the temporary file beside it,
        // which fails even for the superuser.
        const QString name = readOnlyFolder ? QStringLiteral("a.ini") : QString(250, u'n');
        const QString file = t.write(QStringLiteral("f/") + name, bytes);
        const QString folder = t.file(QStringLiteral("f"));
        if (readOnlyFolder)
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QCOMPARE(WriteIniValue(file, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("2")),
                 0);
        QCOMPARE(ReplaceIniSection(file, QStringLiteral("s"),
                                   {{QStringLiteral("k"), QStringLiteral("3")}}),
                 0);
        DeleteIniKey(file, QStringLiteral("s"), QStringLiteral("k"));
        if (readOnlyFolder)
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        QCOMPARE(TestFolder::read(file), bytes);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    }

    void otherWriterSeenAtOnce()
    {
        TestFolder t;
        const QString file = t.write(QStringLiteral("a.ini"), "[s]\r\nk=1\r\n");
        QCOMPARE(ReadIniValue(file, QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("1"));
        t.write(QStringLiteral("a.ini"), "[s]\r\nk=2\r\n"); // same size, same second
        QCOMPARE(ReadIniValue(file, QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("2"));
    }

    // The catalogue load reads about 400 values of a full catalogue.
    void catalogueLoadIsFast()
    {
        TestFolder t;
        QStringList lines{QStringLiteral("[Filelist]")};
        for (int i = 0; i < 101; ++i)
            lines << QStringLiteral("%1=Komponente%2").arg(100 + i).arg(i);
        for (const QString& section : {QStringLiteral("Filepath"), QStringLiteral("Filename"),
                                       QStringLiteral("Marked"), QStringLiteral("Caption")}) {
            lines << u'[' + section + u']';
            for (int i = 0; i < 101; ++i)
                lines << QStringLiteral("Komponente%1=Ein Wert für %1").arg(i);
        }
        t.writeCatalog(lines);
        const QString file = t.catalog();
        QElapsedTimer timer;
        timer.start();
        int found = 0;
        for (int i = 0; i < 101; ++i) {
            const QString name =
                ReadIniValue(file, QStringLiteral("Filelist"), QString::number(100 + i));
            found += !ReadIniValue(file, QStringLiteral("Filepath"), name).isEmpty();
            found += !ReadIniValue(file, QStringLiteral("Filename"), name).isEmpty();
            found += !ReadIniValue(file, QStringLiteral("Marked"), name).isEmpty();
        }
        const qint64 ms = timer.elapsed();
        qInfo("404 reads: %lld ms", ms);
        QCOMPARE(found, 303);
        QVERIFY2(ms < 100, qPrintable(QString::number(ms)));
    }
};

QTEST_GUILESS_MAIN(tst_inifiles)
#include "tst_inifiles.moc"
