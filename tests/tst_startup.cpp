#include "app/Root.h"
#include "platform/IniFiles.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Start-up with the catalogue: what the window shows and what lands on disk.
class tst_startup : public QObject
{
    Q_OBJECT

    static QStringList lines(const QListWidget* list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked
                                                   ? QStringLiteral(" [x]")
                                                   : QString());
        return result;
    }

private slots:
    void init() { Root::setSleepScale(0.0); }

    void firstStartWithoutCatalogue()
    {
        TestFolder t;
        FakeDesktop desk;
        Root w;
        QCOMPARE(w.ui.LDateien->count(), 0);
        QCOMPARE(w.ui.tProjekte->text(), t.documents() + QLatin1Char('/'));
        QVERIFY(w.ui.bUnterordner->isChecked());
        QVERIFY(w.ui.bZeigeProjekt->isChecked());
        QVERIFY(!w.ui.Map1->isHidden());
        for (QWidget* page : QList<QWidget*>{w.ui.Map2, w.ui.Map3, w.ui.Map4, w.ui.Map5})
            QVERIFY(page->isHidden());
        QVERIFY(!w.ui.bZurueck->isEnabled());
        QVERIFY(!w.ui.Frame1->isHidden());
        QVERIFY(w.ui.Frame2->isHidden());
        QVERIFY(!QFile::exists(t.exeFolder() + QStringLiteral("/vorlagen.log")));
        QVERIFY(!QFile::exists(t.catalog())); // reading never creates the file
        QVERIFY(desk.starts.isEmpty());
        QVERIFY(desk.messages.isEmpty());
    }

    void listsEntriesWithMarksAndOptions()
    {
        TestFolder t;
        FakeDesktop desk;
        const QString v = t.path() + QStringLiteral("/Vorlagen/");
        t.write(QStringLiteral("Vorlagen/root.frm"), "x");
        t.write(QStringLiteral("Vorlagen/Module/Hilfsmodul.bas"), "x");
        t.write(QStringLiteral("Vorlagen/Werkzeugleiste.ctl"), "x");
        t.writeCatalog({"[Filelist]",
                        "100=Hilfsmodul",
                        "101=Root",
                        "102=Werkzeugleiste",
                        "[Filepath]",
                        "Root=" + v,
                        "Hilfsmodul=" + v + "Module/",
                        "Werkzeugleiste=" + v,
                        "[Filename]",
                        "Root=root.frm",
                        "Hilfsmodul=Hilfsmodul.bas",
                        "Werkzeugleiste=Werkzeugleiste.ctl",
                        "[Marked]",
                        "Root=1",
                        "[Caption]",
                        "Root=Startformular des Projekts",
                        "[Option]",
                        "MyDocs=/srv/Projekte/",
                        "Folder=1",
                        "Viewer=0"});
        const QByteArray before = t.catalogBytes();
        Root w;
        QCOMPARE(lines(w.ui.LDateien), QStringList({"Hilfsmodul", "Root [x]", "Werkzeugleiste"}));
        QCOMPARE(w.ui.LDateien->currentRow(), 0);
        QCOMPARE(w.ui.tProjekte->text(), QStringLiteral("/srv/Projekte/"));
        QVERIFY(w.ui.bUnterordner->isChecked());
        QVERIFY(!w.ui.bZeigeProjekt->isChecked());
        QCOMPARE(t.catalogBytes(), before); // nothing to save
        QVERIFY(desk.starts.isEmpty());
    }

    void optionValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("checked");
        QTest::newRow("0 unchecks") << "0" << false;
        QTest::newRow("1 checks") << "1" << true;
        QTest::newRow("yes checks") << "yes" << true;
        QTest::newRow("empty checks") << "" << true;
        QTest::newRow("00 checks") << "00" << true;
    }
    void optionValues()
    {
        QFETCH(QString, value);
        QFETCH(bool, checked);
        TestFolder t;
        FakeDesktop desk;
        t.writeCatalog({"[Option]", "Folder=" + value, "Viewer=" + value});
        Root w;
        QCOMPARE(w.ui.bUnterordner->isChecked(), checked);
        QCOMPARE(w.ui.bZeigeProjekt->isChecked(), checked);
    }

    void missingFilesAreLogged()
    {
        TestFolder t;
        FakeDesktop desk;
        t.write(QStringLiteral("v/Da.frm"), "x");
        t.writeCatalog({"[Filelist]", "100=Fehlt1", "101=Da", "105=Fehlt2", "[Filepath]",
                        "Fehlt1=/nirgends/", "Da=" + t.path() + "/v/", "Fehlt2=/weg/", "[Filename]",
                        "Fehlt1=Eins.frm", "Da=Da.frm", "Fehlt2=Zwei.bas", "[Marked]", "Fehlt1=1",
                        "Da=1"});
        Root w;
        QCOMPARE(lines(w.ui.LDateien), QStringList({"Da [x]"}));
        const QString log = t.exeFolder() + QStringLiteral("/vorlagen.log");
        QCOMPARE(TestFolder::read(log), QByteArray("\r\nFile is not exists: /nirgends/Eins.frm\r\n"
                                                   "File is not exists: /weg/Zwei.bas\r\n"));
        QCOMPARE(desk.starts.size(), 1);
        QCOMPARE(desk.starts[0].program, QStringLiteral("Notepad.exe"));
        QCOMPARE(desk.starts[0].arguments, QStringList({log}));
        QCOMPARE(desk.starts[0].windowStyle, 1);
        // The missing entries stay in the catalogue.
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "100"), QStringLiteral("Fehlt1"));
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "105"), QStringLiteral("Fehlt2"));
    }

    void emptyFileNameCountsAsMissing()
    {
        TestFolder t;
        FakeDesktop desk;
        t.write(QStringLiteral("v/x.frm"), "x");
        t.writeCatalog({"[Filelist]", "100=Leer", "[Filepath]", "Leer=" + t.path() + "/v/"});
        Root w;
        QCOMPARE(w.ui.LDateien->count(), 0);
        QCOMPARE(desk.starts.size(), 1);
    }

    void staleLogIsDeleted()
    {
        TestFolder t;
        FakeDesktop desk;
        t.write(QStringLiteral("bin/vorlagen.log"), "\r\nFile is not exists: /alt.frm\r\n");
        Root w;
        QVERIFY(!QFile::exists(t.exeFolder() + QStringLiteral("/vorlagen.log")));
        QVERIFY(desk.starts.isEmpty());
    }

    void duplicateNameIsDroppedAndListSaved()
    {
        TestFolder t;
        FakeDesktop desk;
        t.write(QStringLiteral("v/a.frm"), "x");
        t.write(QStringLiteral("v/z.bas"), "x");
        const QString v = t.path() + QStringLiteral("/v/");
        t.writeCatalog({"[Filelist]", "100=Zeta", "103=zeta", "104=Alpha", "[Filepath]",
                        "Zeta=" + v, "Alpha=" + v, "[Filename]", "Zeta=z.bas", "Alpha=a.frm"});
        Root w;
        QCOMPARE(lines(w.ui.LDateien), QStringList({"Zeta", "Alpha"}));
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "100"), QStringLiteral("Alpha"));
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "101"), QStringLiteral("Zeta"));
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "102"), QString());
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "103"), QString());
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "104"), QString());
    }

    void reloadKeepsPageButResetsNothingElse()
    {
        TestFolder t;
        FakeDesktop desk;
        Root w;
        w.ui.Map1->hide();
        w.ui.Map2->show();
        w.ui.bZurueck->setEnabled(true);
        WriteIniValue(t.catalog(), "Option", "MyDocs", "/neu/");
        WriteIniValue(t.catalog(), "Option", "Folder", "0");
        w.reloadFlag = QStringLiteral("1");
        w.Form_Load();
        QVERIFY(!w.ui.Map2->isHidden());
        QVERIFY(w.ui.Map1->isHidden());
        QVERIFY(w.ui.bZurueck->isEnabled());
        QCOMPARE(w.ui.tProjekte->text(), QStringLiteral("/neu/"));
        QVERIFY(!w.ui.bUnterordner->isChecked());
        w.reloadFlag = QStringLiteral("0");
        w.Form_Load();
        QVERIFY(!w.ui.Map1->isHidden());
        QVERIFY(w.ui.Map2->isHidden());
        QVERIFY(!w.ui.bZurueck->isEnabled());
    }

    void badCatalogues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary garbage") << QByteArray("\xff\xfe\x00\x01[\x00]=\x80\x81\r\r\n", 13);
        QTest::newRow("NUL inside a value") << QByteArray("[Filelist]\r\n100=a\0b\r\n", 21);
        QTest::newRow("100 000-character line") << QByteArray(100000, 'x');
    }
    void badCatalogues()
    {
        QFETCH(QByteArray, bytes);
        TestFolder t;
        FakeDesktop desk;
        t.write(QStringLiteral("bin/vorlagen.dat"), bytes);
        Root w;
        QVERIFY(desk.messages.isEmpty());
        QCOMPARE(w.ui.tProjekte->text(), t.documents() + QLatin1Char('/'));
        QCOMPARE(t.catalogBytes(), bytes);
    }

    void catalogueIsAFolder()
    {
        TestFolder t;
        FakeDesktop desk;
        t.write(QStringLiteral("bin/vorlagen.dat/inside"), "x");
        Root w;
        QCOMPARE(w.ui.LDateien->count(), 0);
        QVERIFY(desk.messages.isEmpty());
    }

    void cancelEndsAtOnceWithoutClosing()
    {
        TestFolder t;
        FakeDesktop desk;
        Root w;
        w.show();
        QTest::mouseClick(w.ui.bAbbrechen, Qt::LeftButton);
        QCOMPARE(desk.ends, 1);
        QVERIFY(w.isVisible()); // no close event ran
    }

    void sleepWaitsWhileEventsRun()
    {
        Root::setSleepScale(1.0);
        bool ran = false;
        QTimer::singleShot(50, [&] { ran = true; });
        QElapsedTimer timer;
        timer.start();
        Root::Sleep(0.3);
        QVERIFY(timer.elapsed() >= 300);
        QVERIFY(timer.elapsed() < 1500);
        QVERIFY(ran);
        timer.restart();
        Root::Sleep(-1);
        QVERIFY(timer.elapsed() < 50);
    }
};

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
