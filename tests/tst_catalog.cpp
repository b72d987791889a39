#include "app/Root.h"
#include "catalog/Catalog.h"
#include "catalog/Health.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QStringEncoder>
#include <QTest>

#include <sys/fsuid.h>

// Saving the catalogue's list: sorted, renumbered, and never half-written.
class tst_catalog : public QObject
{
    Q_OBJECT

    // What deleting the section (or, with keys outside 100 to 200, the keys of the
    // list) and writing key after key leaves on disk.
    static QByteArray stepByStep(const TestFolder& t, const QByteArray& start,
                                 const QStringList& names, bool othersStay)
    {
        const QString copy = t.write(QStringLiteral("copy.dat"), start);
        for (int n = 100; othersStay && n <= 200; ++n)
            DeleteIniKey(copy, QStringLiteral("Filelist"), QString::number(n));
        if (!othersStay)
            DeleteIniSection(copy, QStringLiteral("Filelist"));
        for (int i = 0; i < names.size(); ++i)
            WriteIniValue(copy, QStringLiteral("Filelist"), QString::number(100 + i), names[i]);
        return TestFolder::read(copy);
    }

private slots:
    void sortierung_data()
    {
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<bool>("othersStay"); // lines of keys outside 100 to 200
        QTest::newRow("alphabetical without regard to case, gaps closed")
            << QStringList{"[Filelist]", "150=beta", "100=Alpha", "120=gamma",
                           "[Filepath]", "beta=/v/", "Alpha=/v/", "gamma=/v/"}
            << QStringList{"Alpha", "beta", "gamma"} << false;
        QTest::newRow("no entry leaves no list")
            << QStringList{"[Filelist]", "100=x", "[Filepath]", "x="} << QStringList{} << false;
        QTest::newRow("keys 100..200 only, the others stay as they are")
            << QStringList{"[Filelist]", "99=x",  "100=b", "200=c", "201=y",
                           "[Filepath]", "x=/v/", "b=/v/", "c=/v/", "y=/v/"}
            << QStringList{"b", "c"} << true;
        QTest::newRow("empty Filepath drops the name")
            << QStringList{"[Filelist]", "100=weg",    "101=da",      "[Filepath]", "weg=",
                           "da=/v/",     "[Filename]", "weg=weg.frm", "[Caption]",  "weg=bleibt"}
            << QStringList{"da"} << false;
        QTest::newRow("umlauts sort by the locale")
            << QStringList{"[Filelist]", "100=Zahl", "101=Übersicht", "102=Anfang",
                           "[Filepath]", "Zahl=/v/", "Übersicht=/v/", "Anfang=/v/"}
            << QStringList{"Anfang", "Übersicht", "Zahl"} << false;
    }
    void sortierung()
    {
        QFETCH(QStringList, catalogue);
        QFETCH(QStringList, saved);
        QFETCH(bool, othersStay);
        TestFolder t;
        FakeDesktop desk;
        const QByteArray start = TestFolder::crlf(catalogue);
        const QByteArray expected = stepByStep(t, start, saved, othersStay);
        t.write(QStringLiteral("bin/vorlagen.dat"), start);
        if (othersStay) // said at start-up
            desk.answers.enqueue(QMessageBox::Ok);
        Root w;
        w.Sortierung();
        QCOMPARE(t.catalogBytes(), expected);
    }

    // The one read: a missing file is an empty catalogue and fine; one that
    // cannot be read or understood is said with its reason, naming the file, and
    // is the first finding of its health, whose texts show control characters.
    void readResult_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "-" none, "dir" a folder
        QTest::addColumn<QString>("problem");  // %F the file
        const QString unreadable = "Die Vorlagendatei ''%F'' kann nicht gelesen werden: ";
        QTest::newRow("missing") << QByteArray("-") << QString();
        QTest::newRow("a folder in its place")
            << QByteArray("dir") << unreadable + FileIo::reasonFor(EISDIR);
        QTest::newRow("no permission")
            << QByteArray("[Filelist]\r\n100=a\r\n") << unreadable + FileIo::reasonFor(EACCES);
        // UTF-16 without its mark and with a stray byte: read as it comes, NULs and all.
        QTest::newRow("encoding not recognised")
            << QStringEncoder(QStringEncoder::Utf16LE)(u"[Filelist]\r\n100=a\r\n") + "x"
            << Catalog::unknownEncodingText("%F");
    }
    void readResult()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        TestFolder t;
        if (bytes == "dir")
            QVERIFY(QDir().mkpath(t.catalog()));
        else if (bytes != "-")
            t.write(QStringLiteral("bin/vorlagen.dat"), bytes);
        const bool denied = problem.endsWith(FileIo::reasonFor(EACCES));
        QVERIFY(!denied || QFile::setPermissions(t.catalog(), {}));
        // Without the file system's privileges, also for root.
        const QString file = t.catalog();
        const int before = denied ? setfsuid(65534) : 0;
        const Catalog::Snapshot catalogue = Catalog::Snapshot::read(file);
        if (denied)
            setfsuid(uid_t(before));
        QCOMPARE(catalogue.problem(), problem.replace("%F", file));
        const QList<Catalog::Finding> findings = Catalog::health(catalogue);
        QVERIFY(problem.isEmpty() || findings.value(0).text == problem);
        for (const Catalog::Finding& finding : findings) {
            for (const QChar c : finding.entry + finding.text)
                QVERIFY2(c == u'\n' || c.category() != QChar::Other_Control,
                         qPrintable(finding.text));
        }
    }

    // One read of the whole file answers as each single key read does.
    void snapshotAnswersAsSingleReads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("repeated section and key")
            << QByteArray("[Filelist]\r\n100=a\r\n100=b\r\n[filelist]\r\n101=c\r\n[Filepath]\r\n"
                          "a=/v/\r\nA=/w/\r\n");
        QTest::newRow("quotes, blanks and case")
            << QByteArray("[ Caption ]\r\n  A  =  \"quoted\"  \r\nb='x'\r\nc=\"half\r\n"
                          "MyDocs=\"\"\r\n");
        QTest::newRow("long value") << "[Caption]\r\na=" + QByteArray(300, 'x') + "\r\n";
        QTest::newRow("code page") << QByteArray("[Filelist]\r\n100=\xdc"
                                                 "bersicht\r\n[Caption]\r\n\xfc"
                                                 "bersicht=gr\xfc\xdf\r\n");
        QTest::newRow("UTF-8") << QByteArray("[Filelist]\r\n100=\xc3\x9c"
                                             "bersicht\r\n[Caption]\r\n\xc3\xbc"
                                             "bersicht=gr\xc3\xbc\xc3\x9f\r\n");
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Option]\r\nMyDocs=/x/\r\n");
        QTest::newRow("LF and CR line ends") << QByteArray("[Option]\nFolder=0\rViewer=1\n");
        QTest::newRow("NUL in a line")
            << QByteArray("[Option]\r\nMy\0Docs=/n/\r\nMyDocs=/m/\r\n", 36);
        QTest::newRow("key before any section") << QByteArray("MyDocs=/a/\r\n[Option]\r\n");
        QTest::newRow("header without closing bracket")
            << QByteArray("[Option\r\nMyDocs=/a/\r\n[Caption]\r\na=1\r\n");
    }
    void snapshotAnswersAsSingleReads()
    {
        QFETCH(QByteArray, bytes);
        TestFolder t;
        t.write(QStringLiteral("bin/vorlagen.dat"), bytes);
        const Catalog::Snapshot snapshot = Catalog::Snapshot::read();
        const QString file = t.catalog();
        for (int key : {100, 101})
            QCOMPARE(snapshot.listedName(key),
                     ReadIniValue(file, QStringLiteral("Filelist"), QString::number(key)));
        for (const QString name :
             {"a", "A", "b", "c", "übersicht", "Übersicht", "MyDocs", "Folder", "Viewer", " a "}) {
            QCOMPARE(snapshot.folderOf(name), ReadIniValue(file, QStringLiteral("Filepath"), name));
            QCOMPARE(snapshot.captionOf(name), ReadIniValue(file, QStringLiteral("Caption"), name));
            QCOMPARE(snapshot.option(name), ReadIniValue(file, QStringLiteral("Option"), name));
        }
    }

    // A catalogue that cannot be written (a full disk here): one warning names the
    // file and the list, and the file keeps its bytes.
    void sortierungNotSavedIsSaid()
    {
        TestFolder t;
        FakeDesktop desk;
        t.writeCatalog({"[Filelist]", "100=b", "101=a", "[Filepath]", "a=/v/", "b=/v/"});
        const QByteArray before = t.catalogBytes();
        Root w;
        desk.answers.enqueue(QMessageBox::Ok);
        FileIo::failWritesAfter(0);
        w.Sortierung();
        FileIo::clearFaults();
        QCOMPARE(t.catalogBytes(), before);
        QCOMPARE(desk.messages.value(0).icon, QMessageBox::Warning);
        QCOMPARE(desk.messages.value(0).title, w.messageTitle());
        QCOMPARE(desk.messages.value(0).text,
                 Catalog::notSavedText(Catalog::Unsaved::List, FileIo::Result::failure(ENOSPC)));
    }
};

QTEST_MAIN(tst_catalog)
#include "tst_catalog.moc"
