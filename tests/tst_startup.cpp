#include "catalog/Catalog.h"
#include "desktop/Programs.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/ShownWindow.h"
#include "ui/Widgets.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTimer>

class tst_startup : public QObject
{
    Q_OBJECT

private slots:
    // The catalogue's own example with files gone: those are logged and not shown, but kept.
    void catalogueExampleWithMissingFiles()
    {
        TestFolder t;
        FakeDesktop desk;
        t.write("bin/vorlagen.log", "\r\nFile is not exists: /alt.frm\r\n"); // from an earlier run
        t.writeEntries({Entry{"Hilfsmodul", "V/Module/Hilfsmodul.bas"},
                        Entry{"Fehlt1", "/nirgends/Eins.frm", true},
                        Entry{"Root", "V/root.frm", true}, Entry{"Fehlt2", "/weg/Zwei.bas"},
                        Entry{"Leer", "V/"}, Entry{"Werkzeugleiste", "V/Werkzeugleiste.ctl"}},
                       {"[Option]", "MyDocs=/srv/Projekte/", "Folder=yes", "Viewer=0"});
        Root w;
        QCOMPARE(lines(w.ui.LDateien), QStringList({"Hilfsmodul", "Root [x]", "Werkzeugleiste"}));
        QCOMPARE(w.ui.LDateien->currentRow(), 0);
        QCOMPARE(w.ui.tProjekte->text(), QString("/srv/Projekte/"));
        QVERIFY(w.ui.bUnterordner->isChecked()); // only "0" unchecks
        QVERIFY(!w.ui.bZeigeProjekt->isChecked());
        const QString log = t.exeFolder() + "/vorlagen.log";
        QCOMPARE(TestFolder::read(log),
                 "\r\nFile is not exists: /nirgends/Eins.frm\r\n"
                 "File is not exists: /weg/Zwei.bas\r\nFile is not exists: " +
                     t.path().toUtf8() + "/V/\r\n");
        QCOMPARE(desk.starts.size(), 1);
        QCOMPARE(desk.starts[0].program, kTextEditor);
        QCOMPARE(desk.starts[0].arguments, QStringList({log}));
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "101"), QString("Fehlt1")); // kept
    }

    // A name twice is dropped, the list saved; under another's lock one warning, one wait.
    void duplicateName()
    {
        for (const bool locked : {false, true}) {
            TestFolder t;
            FakeDesktop desk;
            t.write("v/a.frm", "x");
            t.write("v/z.bas", "x");
            const QString v = t.path() + "/v/";
            t.writeCatalog({"[Filelist]", "100=Zeta", "103=zeta", "104=Alpha", "[Filepath]",
                            "Zeta=" + v, "Alpha=" + v, "[Filename]", "Zeta=z.bas", "Alpha=a.frm"});
            const QByteArray before = t.catalogBytes();
            FileIo::FileLock other;
            const int timeout = FileIo::lockTimeout();
            if (locked) {
                QVERIFY(other.acquire(t.catalog()).ok());
                FileIo::setLockTimeout(1000);
                desk.answers.enqueue(QMessageBox::Ok);
            }
            QElapsedTimer timer;
            timer.start();
            Root w;
            const qint64 elapsed = timer.elapsed();
            FileIo::setLockTimeout(timeout);
            QCOMPARE(lines(w.ui.LDateien), QStringList({"Zeta", "Alpha"}));
            QCOMPARE(desk.messages.size(), locked ? 1 : 0);
            QVERIFY2(!locked || elapsed < 1900, qPrintable(QString::number(elapsed)));
            QStringList stored;
            for (const char* key : {"100", "101", "102", "103", "104"})
                stored << ReadIniValue(t.catalog(), "Filelist", key);
            if (locked)
                QCOMPARE(t.catalogBytes(), before);
            else
                QCOMPARE(stored, QStringList({"Alpha", "Zeta", "", "", ""}));
        }
    }

    // An unusable catalogue, or entries past the list's keys, are said once, not again on reading.
    void catalogueSaidOnce_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: a folder in its place
        QTest::addColumn<QString>("told");     // %F the file; empty: what is past the list
        const QString unchanged =
            " Sie wird nicht verändert; Änderungen an der Liste lassen sich nicht speichern.";
        QTest::newRow("encoding not recognised")
            << QByteArray(QStringEncoder(QStringEncoder::Utf32LE)(u"[Filelist]\r\n100=a\r\n"))
            << Catalog::unknownEncodingText("%F") + unchanged;
        QTest::newRow("a folder in its place")
            << QByteArray()
            << "Die Vorlagendatei ''%F'' kann nicht gelesen werden: " + FileIo::reasonFor(EISDIR) +
                   unchanged;
        QTest::newRow("past the list") << QByteArray("[Filelist]\r\n201=Extra\r\n") << QString();
    }
    void catalogueSaidOnce()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, told);
        TestFolder t;
        FakeDesktop desk;
        t.write(bytes.isEmpty() ? "bin/vorlagen.dat/x" : "bin/vorlagen.dat", bytes);
        desk.answers << QMessageBox::Ok;
        Root w;
        w.Form_Load();
        if (told.isEmpty())
            told = Catalog::beyondText(Catalog::Snapshot::read());
        QCOMPARE(desk.messages,
                 (QList<FakeDesktop::Message>{
                     {QMessageBox::Warning, w.messageTitle(), told.replace("%F", t.catalog())}}));
    }

    // No catalogue, or one that says nothing: default options, the old log gone, nothing written.
    void startsEmpty()
    {
        for (const QByteArray& bytes :
             {QByteArray("-"), QByteArray("\xfe\xff\x00\x01[\x00]=\x80\x81\r\n", 12),
              QByteArray("[Filelist]\r\n100=a\0b\r\n", 21), QByteArray(100000, 'x')}) {
            TestFolder t;
            FakeDesktop desk;
            t.write("bin/vorlagen.log", "\r\nFile is not exists: /alt.frm\r\n");
            if (bytes != "-")
                t.write("bin/vorlagen.dat", bytes);
            Root w;
            QCOMPARE(w.ui.tProjekte->text(), t.documents() + '/');
            QVERIFY(!QFile::exists(t.exeFolder() + "/vorlagen.log") &&
                    w.ui.LDateien->count() == 0 && desk.starts.isEmpty() &&
                    desk.messages.isEmpty());
            QVERIFY(w.ui.bUnterordner->isChecked() && w.ui.bZeigeProjekt->isChecked() &&
                    !w.ui.bZurueck->isEnabled());
            QVERIFY(!w.ui.Map1->isHidden() && w.ui.Map2->isHidden() && w.ui.Map3->isHidden() &&
                    !w.ui.Frame1->isHidden() && w.ui.Frame2->isHidden());
            QVERIFY(!w.ui.restDone()); // pictures and pointer wait for the first paint
            if (bytes == "-")
                QVERIFY(!QFile::exists(t.catalog())); // reading never creates the file
            else
                QCOMPARE(t.catalogBytes(), bytes);
        }
    }

    // As the program builds it: the first paint shows the welcome page and its separator alone; the
    // rest (pages, list, log, pictures, pointer) follows, or comes first when Next is pressed.
    void windowBuiltAfterTheFirstPaint()
    {
        TestFolder t;
        FakeDesktop desk;
        t.writeEntries({{"Da", "v/Da.bas"}, {"Fehlt", "/weg/Fehlt.frm"}});
        Root w(nullptr, Root::Build::AfterFirstPaint);
        QVERIFY(!w.ui.pagesDone() && !w.ui.LDateien && desk.starts.isEmpty());
        QVERIFY(w.ui.Map2->isHidden() && w.ui.Map3->isHidden() && w.ui.Map4->isHidden() &&
                w.ui.Map5->isHidden() && w.ui.Frame2->isHidden());
        QVERIFY(!w.ui.Map1->isHidden() && !w.ui.Frame1->isHidden());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(w.ui.restDone());
        for (const PictureBox* page : {w.ui.Map2, w.ui.Map3, w.ui.Picture2, w.ui.Picture4})
            QVERIFY(!page->picture().isNull());
        QCOMPARE(w.ui.bMarkieren->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(lines(w.ui.LDateien), QStringList({"Da"}));
        QCOMPARE(desk.starts.size(), 1);
        QVERIFY(!w.ui.Map1->isHidden() && w.ui.Map2->isHidden());

        Root early(nullptr, Root::Build::AfterFirstPaint);
        early.ui.bWeiter->click();
        QVERIFY(!early.ui.Map2->isHidden() && early.ui.Map1->isHidden());
        QCOMPARE(early.ui.LDateien->count(), 1);
        QCOMPARE(early.ui.RCaption->text(), QString());
    }

    // A temporary of the catalogue goes at a minute old; a second younger may still be in use.
    void staleTemporaryAgeAtStart()
    {
        TestFolder t;
        t.writeCatalog({"[Filelist]"});
        const QString prefix = FileIo::temporaryPrefix(FileIo::resolvedPath(t.catalog()));
        for (qint64 now = 0; now != QDateTime::currentSecsSinceEpoch();) { // again if it ticked
            now = QDateTime::currentSecsSinceEpoch();
            for (const int age : {60, 59}) {
                QFile f(prefix + QString::number(age) + "abcd");
                QVERIFY(f.open(QIODevice::WriteOnly));
                QVERIFY(f.setFileTime(QDateTime::fromSecsSinceEpoch(now - age),
                                      QFileDevice::FileModificationTime));
            }
            Catalog::removeLeftovers();
        }
        QVERIFY(!QFile::exists(prefix + "60abcd") && QFile::exists(prefix + "59abcd"));
    }

    void sleepWaitsWhileEventsRun()
    {
        bool ran = false;
        QTimer::singleShot(50, [&] { ran = true; });
        QElapsedTimer timer;
        timer.start();
        Root::Sleep(0.3);
        QVERIFY(timer.elapsed() >= 300 && timer.elapsed() < 1500 && ran);
    }
};

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
