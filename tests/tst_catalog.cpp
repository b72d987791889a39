#include "app/Root.h"
#include "catalog/Catalog.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTimer>

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
    void init() { Root::setSleepScale(0.0); }

    void sortierung_data()
    {
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("alphabetical without regard to case")
            << QStringList{"[Filelist]", "150=beta", "100=Alpha", "120=gamma",
                           "[Filepath]", "beta=/v/", "Alpha=/v/", "gamma=/v/"}
            << QStringList{"Alpha", "beta", "gamma"};
        QTest::newRow("gaps closed") << QStringList{"[Filelist]", "100=a", "150=b", "200=c",
                                                    "[Filepath]", "a=/v/", "b=/v/", "c=/v/"}
                                     << QStringList{"a", "b", "c"};
        QTest::newRow("no entry leaves no list")
            << QStringList{"[Filelist]", "100=x", "[Filepath]", "x="} << QStringList{};
        QTest::newRow("keys outside 100..200 ignored")
            << QStringList{"[Filelist]", "99=x",  "100=b", "201=y",
                           "[Filepath]", "x=/v/", "b=/v/", "y=/v/"}
            << QStringList{"b"};
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
        QStringList listed;
        for (const Catalog::Listed& e : Catalog::enumerate())
            listed << e.name;
        QCOMPARE(listed, saved);
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
        FileIo::failWritesAfter(0);
        w.Sortierung();
        FileIo::clearFaults();
        QCOMPARE(t.catalogBytes(), before);
        QCOMPARE(desk.messages.size(), 1);
        QCOMPARE(desk.messages.first().icon, QMessageBox::Warning);
        QCOMPARE(desk.messages.first().title, w.messageTitle());
        QCOMPARE(desk.messages.first().text,
                 "Die Vorlagendatei ''" + t.catalog() +
                     "'' konnte nicht gespeichert werden. Die sortierte Liste der Vorlagen wurde "
                     "nicht gespeichert.\nAuf dem Datenträger ist nicht genügend Speicherplatz "
                     "vorhanden.");
    }

    // The list on disk is never missing, whatever the window does meanwhile.
    void listNeverMissingWhileEventsRun()
    {
        TestFolder t;
        FakeDesktop desk;
        t.writeCatalog({"[Filelist]", "100=b", "101=a", "[Filepath]", "a=/v/", "b=/v/"});
        Root w;
        QStringList seen;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            seen << ReadIniValue(t.catalog(), QStringLiteral("Filelist"), QStringLiteral("100"));
        });
        probe.start(0);
        w.Sortierung();
        probe.stop();
        QVERIFY(!seen.isEmpty());
        QVERIFY(!seen.contains(QString()));
    }
};

QTEST_MAIN(tst_catalog)
#include "tst_catalog.moc"
