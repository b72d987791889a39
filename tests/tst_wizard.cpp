#include "app/Root.h"
#include "platform/IniFiles.h"
#include "platform/Registry.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// A whole project through the window: page 3's checks, the generation, page 5.
class tst_wizard : public QObject
{
    Q_OBJECT

    // Haupt (Haupt.frm + Haupt.frx) and Hilfsmodul (Hilfsmodul.bas), both marked.
    static void prepare(const TestFolder& t)
    {
        t.write(QStringLiteral("v/Haupt.frm"), "VERSION 5.00\r\n");
        t.write(QStringLiteral("v/Haupt.frx"), QByteArray("\x01\x02", 2));
        t.write(QStringLiteral("v/Hilfsmodul.bas"), "Attribute VB_Name = \"Hilfsmodul\"\r\n");
        const QString v = t.path() + QStringLiteral("/v/");
        t.writeCatalog({"[Filelist]", "100=Haupt", "101=Hilfsmodul", "[Filepath]", "Haupt=" + v,
                        "Hilfsmodul=" + v, "[Filename]", "Haupt=Haupt.frm",
                        "Hilfsmodul=Hilfsmodul.bas", "[Marked]", "Haupt=1", "Hilfsmodul=1"});
        t.write(QStringLiteral("bin/QvStandard.bpv"),
                TestFolder::crlf({"Type=Exe", "Reference=x", "Startup=\"Sub Main\"",
                                  "Name=\"Projekt1\"", "Description=\"<PROJEKT>\"",
                                  "Title=\"<PROJEKT>\"", "Rest=1"}));
    }

    // From the welcome page to page 3 with the given name and folder.
    static void toProjectPage(Root& w, const QString& name, const QString& folder)
    {
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QVERIFY(!w.ui.Map3->isHidden());
        w.ui.tBezeichnung->setText(name);
        w.ui.tProjekte->setText(folder);
    }

private slots:
    void init() { Root::setSleepScale(0.0); }

    void wholeProject()
    {
        TestFolder t;
        FakeDesktop desk;
        prepare(t);
        Root w;
        w.show();
        toProjectPage(w, QStringLiteral("Kunde"), t.path() + QStringLiteral("/Projekte"));
        w.ui.bMerkeOrdner->setChecked(true);
        w.ui.bZeigeProjekt->setChecked(true);
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QVERIFY(desk.messages.isEmpty());
        QVERIFY(!w.ui.Map5->isHidden());
        QCOMPARE(w.ui.bWeiter->text(), QStringLiteral("&Beenden"));
        QVERIFY(w.ui.bWeiter->isEnabled());
        QVERIFY(w.ui.bWeiter->isDefault());
        QVERIFY(!w.ui.bZurueck->isEnabled());
        QVERIFY(!w.ui.bAbbrechen->isEnabled());
        QCOMPARE(w.ui.tProjekte->text(), t.path() + QStringLiteral("/Projekte/"));

        const QString project = t.path() + QStringLiteral("/Projekte/Kunde/");
        QVERIFY(QFile::exists(project + QStringLiteral("Haupt.frm")));
        QVERIFY(QFile::exists(project + QStringLiteral("Haupt.frx")));
        QVERIFY(QFile::exists(project + QStringLiteral("Hilfsmodul.bas")));
        QCOMPARE(TestFolder::read(project + QStringLiteral("Kunde.vbp")),
                 TestFolder::crlf({"Type=Exe", "Form=Haupt.frm",
                                   "Module=Hilfsmodul; Hilfsmodul.bas", "Startup=\"Haupt\"",
                                   "IconForm=\"Haupt\"", "Name=\"Kunde\"", "Reference=x",
                                   "Description=\"Kunde\"", "Title=\"Kunde\"", "Rest=1"}));
        QCOMPARE(TestFolder::read(project + QStringLiteral("Kunde.vbw")),
                 QByteArray("Haupt = 0, 0, 803, 763, Z, 0, 0, 803, 763, Z\r\n\r\n"));
        QCOMPARE(ReadIniValue(t.catalog(), "Option", "MyDocs"),
                 t.path() + QStringLiteral("/Projekte/"));
        QCOMPARE(ReadIniValue(t.catalog(), "Option", "Folder"), QStringLiteral("1"));
        QCOMPARE(ReadIniValue(t.catalog(), "Option", "Viewer"), QStringLiteral("1"));

        QCOMPARE(w.focusWidget(), w.ui.bWeiter);
        QTest::keyClick(w.ui.bWeiter, Qt::Key_Return); // Enter presses "Beenden"
        QCOMPARE(desk.openedFiles, QStringList({project + QStringLiteral("Kunde.vbp")}));
        QCOMPARE(desk.ends, 1);
        QVERIFY(!w.ui.bWeiter->isEnabled());
    }

    void silentStops_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty name") << ""
                                    << "/tmp/x";
        QTest::newRow("empty folder") << "Kunde"
                                      << "";
    }
    void silentStops()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        TestFolder t;
        FakeDesktop desk;
        prepare(t);
        Root w;
        w.show();
        toProjectPage(w, name, folder);
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QVERIFY(!w.ui.Map3->isHidden());
        QVERIFY(desk.messages.isEmpty());
    }

    void existingFolderQuestion_data()
    {
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");
        QTest::newRow("files, No") << true << int(QMessageBox::No)
                                   << "Der Projektordner ist vorhanden und enthält Dateien. \n"
                                      "Möchten Sie den Ordner trotzdem verwenden ?";
        QTest::newRow("empty, Yes") << false << int(QMessageBox::Yes)
                                    << "Der Projektordner ist ohne Dateiinhalte vorhanden. \n"
                                       "Möchten Sie den Ordner trotzdem verwenden ?";
    }
    void existingFolderQuestion()
    {
        QFETCH(bool, withFile);
        QFETCH(int, answer);
        QFETCH(QString, text);
        TestFolder t;
        FakeDesktop desk;
        prepare(t);
        QDir().mkpath(t.file(QStringLiteral("P/Kunde/sub")));
        if (withFile)
            t.write(QStringLiteral("P/Kunde/alt.txt"), "x");
        Root w;
        w.show();
        toProjectPage(w, QStringLiteral("Kunde"), t.file(QStringLiteral("P")));
        desk.answers << QMessageBox::StandardButton(answer);
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QCOMPARE(desk.messages.size(), 1);
        QCOMPARE(desk.messages[0].title, QStringLiteral(" Projektordner auswählen"));
        QCOMPARE(desk.messages[0].text, text);
        QCOMPARE(desk.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
        const bool went = answer == QMessageBox::Yes;
        QCOMPARE(w.ui.Map5->isHidden(), !went);
        QCOMPARE(w.ui.Map3->isHidden(), went);
        QCOMPARE(QFile::exists(t.file(QStringLiteral("P/Kunde/Kunde.vbp"))), went);
    }

    void forbiddenNameSelectedAfterFolderQuestion_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("question mark") << "Test?1";
        QTest::newRow("hyphen") << "Mein-Projekt";
    }
    void forbiddenNameSelectedAfterFolderQuestion()
    {
        QFETCH(QString, name);
        TestFolder t;
        FakeDesktop desk;
        prepare(t);
        Root w;
        w.show();
        w.ui.bUnterordner->setChecked(false);
        toProjectPage(w, name, t.path()); // exists and holds files
        desk.answers << QMessageBox::Yes << QMessageBox::Ok;
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QCOMPARE(desk.messages.size(), 2);
        QCOMPARE(desk.messages[1].icon, QMessageBox::Critical);
        QCOMPARE(desk.messages[1].text,
                 QStringLiteral("Der Projektname darf folgende Sonderzeichen /\\:*?''<>|- nicht "
                                "enthalten.  "));
        QVERIFY(!w.ui.Map3->isHidden());
        QCOMPARE(w.ui.tBezeichnung->selectedText(), name);
        QCOMPARE(w.focusWidget(), w.ui.tBezeichnung);
    }

    void doublePressGeneratesOnce()
    {
        TestFolder t;
        FakeDesktop desk;
        prepare(t);
        Root::setSleepScale(0.05);
        Root w;
        w.show();
        toProjectPage(w, QStringLiteral("Kunde"), t.file(QStringLiteral("P")));
        int pressesDuringRun = 0;
        QTimer presser;
        QObject::connect(&presser, &QTimer::timeout, [&] {
            if (w.ui.Map4->isHidden() || pressesDuringRun > 0)
                return;
            // Page 4 is up: the button must already be disabled.
            QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
            w.ui.bWeiter->click();
            ++pressesDuringRun;
        });
        presser.start(0);
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        presser.stop();
        QCOMPARE(pressesDuringRun, 1);
        QVERIFY(!w.ui.Map5->isHidden());
        QCOMPARE(desk.ends, 0);
        QVERIFY(desk.messages.isEmpty());
    }

    void failuresAreReportedBeforeFinishPage()
    {
        TestFolder t;
        FakeDesktop desk;
        prepare(t);
        t.write(QStringLiteral("datei"), "kein Ordner");
        Root w;
        w.show();
        toProjectPage(w, QStringLiteral("Kunde"), t.file(QStringLiteral("datei/P")));
        QFile::remove(t.file(QStringLiteral("v/Hilfsmodul.bas"))); // gone since start-up
        desk.answers << QMessageBox::Ok;
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QCOMPARE(desk.messages.size(), 1);
        QCOMPARE(desk.messages[0].icon, QMessageBox::Warning);
        QVERIFY(desk.messages[0].text.contains(QStringLiteral("Haupt.frm")));
        QVERIFY(desk.messages[0].text.contains(QStringLiteral("Hilfsmodul.bas")));
        QVERIFY(desk.messages[0].text.contains(QStringLiteral("Kunde.vbp")));
        QVERIFY(!w.ui.Map5->isHidden());
    }

    void missingTemplateIsReported()
    {
        TestFolder t;
        FakeDesktop desk;
        prepare(t);
        QFile::remove(t.file(QStringLiteral("bin/QvStandard.bpv")));
        Root w;
        w.show();
        toProjectPage(w, QStringLiteral("Kunde"), t.file(QStringLiteral("P")));
        desk.answers << QMessageBox::Ok;
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QCOMPARE(desk.messages.size(), 1);
        QCOMPARE(desk.messages[0].text,
                 QStringLiteral("Die Projektvorlage ''QvStandard.bpv'' konnte nicht gefunden "
                                "werden.    \nDamit konnten nur die ausgewählten Dateien kopiert "
                                "werden."));
        QVERIFY(QFile::exists(t.file(QStringLiteral("P/Kunde/Haupt.frm"))));
        QVERIFY(!QFile::exists(t.file(QStringLiteral("P/Kunde/Kunde.vbp"))));
        QVERIFY(!w.ui.Map5->isHidden());
    }

    void finishWritesRegistryOnlyWhereKeysExist()
    {
        TestFolder t;
        FakeDesktop desk;
        prepare(t);
        const QString command =
            QStringLiteral("Software\\Classes\\Applications\\VB6.EXE\\shell\\open\\command");
        RegistryCreateKey(HKEY_LOCAL_MACHINE, command, QString());
        RegistrySetValue(HKEY_LOCAL_MACHINE, command, QString(), QStringLiteral("vb6 \"%1\""));
        RegistryCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Velkaro\\Quorvix Manager"),
                          QString());
        Root w;
        w.show();
        toProjectPage(w, QStringLiteral("Kunde"), t.file(QStringLiteral("P")));
        w.ui.bZeigeProjekt->setChecked(false);
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton);
        QCOMPARE(desk.ends, 1);
        QVERIFY(desk.openedFiles.isEmpty());
        QVariant appPath;
        QVERIFY(RegistryGetValue(HKEY_LOCAL_MACHINE,
                                 QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App "
                                                "Paths\\Vb6.exe"),
                                 QString(), appPath));
        QVERIFY(appPath.toString().startsWith(QStringLiteral("vb6 \"%1\"")));
        QVariant lastNew;
        QVERIFY(RegistryGetValue(HKEY_CURRENT_USER,
                                 QStringLiteral("Software\\Velkaro\\Quorvix Manager"),
                                 QStringLiteral("LastNew"), lastNew));
        QVERIFY(lastNew.toString().startsWith(t.file(QStringLiteral("P/Kunde/Kunde.vbp"))));
        QCOMPARE(ReadIniValue(t.catalog(), "Option", "Viewer"), QStringLiteral("0"));
    }
};

QTEST_MAIN(tst_wizard)
#include "tst_wizard.moc"
