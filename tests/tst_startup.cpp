#include "catalog/Catalog.h"
#include "desktop/Programs.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/ShownWindow.h"
#include "ui/Widgets.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTimer>

// Start-up with the catalogue: what the window shows and what lands on disk.
class tst_startup : public QObject
{
    Q_OBJECT

private slots:
    // The catalogue's own example: order, marks and options as stored. A reload
    // reads the options again and, flagged, keeps the page.
    void catalogueExampleAndReload()
    {
        TestFolder t;
        FakeDesktop desk;
        t.listEntries(
            {"Hilfsmodul=V/Module/Hilfsmodul.bas", "Root=V/root.frm",
             "Werkzeugleiste=V/Werkzeugleiste.ctl"},
            {"[Marked]", "Root=1", "[Option]", "MyDocs=/srv/Projekte/", "Folder=yes", "Viewer=0"});
        Root w;
        QCOMPARE(lines(w.ui.LDateien), QStringList({"Hilfsmodul", "Root [x]", "Werkzeugleiste"}));
        QCOMPARE(w.ui.LDateien->currentRow(), 0);
        QCOMPARE(w.ui.tProjekte->text(), QString("/srv/Projekte/"));
        QVERIFY(w.ui.bUnterordner->isChecked()); // only "0" unchecks
        QVERIFY(!w.ui.bZeigeProjekt->isChecked());

        w.ui.Map1->hide();
        w.ui.Map2->show();
        WriteIniValue(t.catalog(), "Option", "MyDocs", "/neu/");
        w.reloadFlag = "1";
        w.Form_Load();
        QVERIFY(!w.ui.Map2->isHidden() && w.ui.Map1->isHidden());
        QCOMPARE(w.ui.tProjekte->text(), QString("/neu/"));
        w.reloadFlag = "0";
        w.Form_Load();
        QVERIFY(!w.ui.Map1->isHidden() && w.ui.Map2->isHidden());
    }

    void missingFilesAreLoggedAndShown()
    {
        TestFolder t;
        FakeDesktop desk;
        t.write("v/Da.frm", "x");
        t.write("bin/vorlagen.log", "\r\nFile is not exists: /alt.frm\r\n"); // from an earlier run
        t.writeCatalog({"[Filelist]", "100=Fehlt1", "101=Da", "105=Fehlt2", "106=Leer",
                        "[Filepath]", "Fehlt1=/nirgends/", "Da=" + t.path() + "/v/", "Fehlt2=/weg/",
                        "Leer=" + t.path() + "/v/", "[Filename]", "Fehlt1=Eins.frm", "Da=Da.frm",
                        "Fehlt2=Zwei.bas", "[Marked]", "Fehlt1=1", "Da=1"});
        Root w;
        QCOMPARE(lines(w.ui.LDateien), QStringList({"Da [x]"}));
        const QString log = t.exeFolder() + "/vorlagen.log";
        QCOMPARE(TestFolder::read(log), QByteArray("\r\nFile is not exists: /nirgends/Eins.frm\r\n"
                                                   "File is not exists: /weg/Zwei.bas\r\n"
                                                   "File is not exists: " +
                                                   t.path().toUtf8() + "/v/\r\n"));
        QCOMPARE(desk.starts.size(), 1);
        QCOMPARE(desk.starts[0].program, kTextEditor);
        QCOMPARE(desk.starts[0].arguments, QStringList({log}));
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "100"), QString("Fehlt1")); // kept
    }

    // A name listed twice is dropped and the list saved; while another program
    // holds the catalogue: one warning, one wait for its lock, the list as read.
    void duplicateName_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("dropped and saved") << false;
        QTest::newRow("locked elsewhere") << true;
    }
    void duplicateName()
    {
        QFETCH(bool, locked);
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
        if (locked) {
            QVERIFY2(elapsed < 1900, qPrintable(QString::number(elapsed)));
            QCOMPARE(t.catalogBytes(), before);
            return;
        }
        QStringList stored;
        for (const char* key : {"100", "101", "102", "103", "104"})
            stored << ReadIniValue(t.catalog(), "Filelist", key);
        QCOMPARE(stored, QStringList({"Alpha", "Zeta", "", "", ""}));
    }

    // Every encoding the catalogue may come in lists the same entries. One not
    // recognised, a folder in the catalogue's place, or entries past the list's
    // keys are said once at start-up, not again when the list is read anew, and
    // the catalogue keeps its bytes.
    void cataloguesInEachEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("told"); // empty: nothing
        const QString text = "[Filelist]\r\n100=Haupt\r\n101=Über\r\n[Filepath]\r\nHaupt=../v/\r\n"
                             "Über=../v/\r\n[Filename]\r\nHaupt=a.frm\r\nÜber=a.frm\r\n";
        const auto encoded = [&](QStringConverter::Encoding encoding, bool mark) {
            QStringEncoder encoder(encoding, mark ? QStringConverter::Flag::WriteBom
                                                  : QStringConverter::Flag::Default);
            return QByteArray(encoder(text));
        };
        using E = QStringConverter::Encoding;
        QTest::newRow("code page") << encoded(E::Latin1, false) << QString();
        QTest::newRow("UTF-8 with its mark") << encoded(E::Utf8, true) << QString();
        QTest::newRow("UTF-16 LE with its mark") << encoded(E::Utf16LE, true) << QString();
        QTest::newRow("UTF-16 LE without a mark") << encoded(E::Utf16LE, false) << QString();
        QTest::newRow("UTF-16 BE without a mark") << encoded(E::Utf16BE, false) << QString();
        QTest::newRow("UTF-32 LE with its mark") << encoded(E::Utf32LE, true) << QString();
        QTest::newRow("UTF-32 BE with its mark") << encoded(E::Utf32BE, true) << QString();
        const QString unknown = "Zeichenkodierung gespeichert, die das Programm nicht erkennt.";
        QTest::newRow("UTF-32 LE without a mark") << encoded(E::Utf32LE, false) << unknown;
        QTest::newRow("UTF-16 BE with its mark and a stray byte")
            << encoded(E::Utf16BE, true) + "x" << unknown;
        QTest::newRow("a folder") << QByteArray() << FileIo::reasonFor(EISDIR);
        QTest::newRow("past the list")
            << encoded(E::Latin1, false).replace("101=", "201=Extra\r\n101=")
            << "Anzahl: 1; ''Extra'' (Schlüssel 201).";
    }
    void cataloguesInEachEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, told);
        TestFolder t;
        FakeDesktop desk;
        t.write("v/a.frm", "x");
        t.write(bytes.isEmpty() ? "bin/vorlagen.dat/x" : "bin/vorlagen.dat", bytes);
        if (!told.isEmpty())
            desk.answers.enqueue(QMessageBox::Ok);
        Root w;
        w.Form_Load();
        QCOMPARE(desk.messages.size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty())
            QVERIFY(desk.messages[0].text.startsWith("Die Vorlagendatei ''" + t.catalog()) &&
                    desk.messages[0].text.contains(told));
        if (told.isEmpty() || told.startsWith("Anzahl"))
            QCOMPARE(lines(w.ui.LDateien), QStringList({"Haupt", "Über"}));
        if (!bytes.isEmpty())
            QCOMPARE(t.catalogBytes(), bytes);
    }

    // No catalogue, or one that says nothing: an empty list, the default options
    // on page 1, an earlier run's log gone, and nothing written.
    void startsEmpty_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("none") << QByteArray("-");
        QTest::newRow("binary garbage") << QByteArray("\xfe\xff\x00\x01[\x00]=\x80\x81\r\n", 12);
        QTest::newRow("NUL inside a value") << QByteArray("[Filelist]\r\n100=a\0b\r\n", 21);
        QTest::newRow("100 000-character line") << QByteArray(100000, 'x');
    }
    void startsEmpty()
    {
        QFETCH(QByteArray, bytes);
        TestFolder t;
        FakeDesktop desk;
        t.write("bin/vorlagen.log", "\r\nFile is not exists: /alt.frm\r\n");
        if (bytes != "-")
            t.write("bin/vorlagen.dat", bytes);
        Root w;
        QVERIFY(!QFile::exists(t.exeFolder() + "/vorlagen.log"));
        QCOMPARE(w.ui.LDateien->count(), 0);
        QCOMPARE(w.ui.tProjekte->text(), t.documents() + '/');
        QVERIFY(w.ui.bUnterordner->isChecked() && w.ui.bZeigeProjekt->isChecked());
        QVERIFY(!w.ui.Map1->isHidden() && w.ui.Map2->isHidden() && w.ui.Map3->isHidden());
        QVERIFY(!w.ui.bZurueck->isEnabled());
        QVERIFY(!w.ui.Frame1->isHidden() && w.ui.Frame2->isHidden());
        QVERIFY(desk.starts.isEmpty() && desk.messages.isEmpty());
        QVERIFY(!w.ui.restDone()); // pictures and pointer wait for the first paint
        if (bytes == "-")
            QVERIFY(!QFile::exists(t.catalog())); // reading never creates the file
        else
            QCOMPARE(t.catalogBytes(), bytes);
    }

    // As the program builds it: the first paint shows the welcome page alone and
    // the load's separator; the other pages, the list, the start-up log, the
    // pictures and the pointer follow it, or come first when Next is pressed before.
    void windowBuiltAfterTheFirstPaint()
    {
        TestFolder t;
        FakeDesktop desk;
        t.listEntries({"Da=v/Da.bas", "Fehlt=v/Fehlt.frm"});
        QFile::remove(t.file("v/Fehlt.frm"));
        Root w(nullptr, Root::Build::AfterFirstPaint);
        QVERIFY(!w.ui.pagesDone() && !w.ui.LDateien && desk.starts.isEmpty());
        for (const QWidget* page : std::initializer_list<QWidget*>{w.ui.Map2, w.ui.Map3, w.ui.Map4,
                                                                   w.ui.Map5, w.ui.Frame2})
            QVERIFY(page->isHidden());
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

    void sleepWaitsWhileEventsRun()
    {
        bool ran = false;
        QTimer::singleShot(50, [&] { ran = true; });
        QElapsedTimer timer;
        timer.start();
        Root::Sleep(0.3);
        QVERIFY(timer.elapsed() >= 300 && timer.elapsed() < 1500);
        QVERIFY(ran);
    }
};

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
