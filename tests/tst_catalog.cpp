#include "app/Root.h"
#include "catalog/Catalog.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"

#include <QTest>

// Saving the catalogue's list: sorted, renumbered, and never half-written.
class tst_catalog : public QObject
{
    Q_OBJECT

    // What deleting the section and writing key after key leaves on disk.
    static QByteArray stepByStep(const TestFolder& t, const QByteArray& start,
                                 const QStringList& names)
    {
        const QString copy = t.write(QStringLiteral("copy.dat"), start);
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
        QTest::newRow("alphabetical without regard to case, gaps closed")
            << QStringList{"[Filelist]", "150=beta", "100=Alpha", "120=gamma",
                           "[Filepath]", "beta=/v/", "Alpha=/v/", "gamma=/v/"}
            << QStringList{"Alpha", "beta", "gamma"};
        QTest::newRow("no entry leaves no list")
            << QStringList{"[Filelist]", "100=x", "[Filepath]", "x="} << QStringList{};
        QTest::newRow("keys 100..200 only")
            << QStringList{"[Filelist]", "99=x",  "100=b", "200=c", "201=y",
                           "[Filepath]", "x=/v/", "b=/v/", "c=/v/", "y=/v/"}
            << QStringList{"b", "c"};
        QTest::newRow("empty Filepath drops the name")
            << QStringList{"[Filelist]", "100=weg",    "101=da",      "[Filepath]", "weg=",
                           "da=/v/",     "[Filename]", "weg=weg.frm", "[Caption]",  "weg=bleibt"}
            << QStringList{"da"};
        QTest::newRow("umlauts sort by the locale")
            << QStringList{"[Filelist]", "100=Zahl", "101=Übersicht", "102=Anfang",
                           "[Filepath]", "Zahl=/v/", "Übersicht=/v/", "Anfang=/v/"}
            << QStringList{"Anfang", "Übersicht", "Zahl"};
    }
    void sortierung()
    {
        QFETCH(QStringList, catalogue);
        QFETCH(QStringList, saved);
        TestFolder t;
        FakeDesktop desk;
        const QByteArray start = TestFolder::crlf(catalogue);
        const QByteArray expected = stepByStep(t, start, saved);
        t.write(QStringLiteral("bin/vorlagen.dat"), start);
        Root w;
        w.Sortierung();
        QCOMPARE(t.catalogBytes(), expected);
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
