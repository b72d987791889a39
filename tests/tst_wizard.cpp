#include "catalog/ProjectTemplate.h"
#include "cli/CommandLine.h"
#include "generate/Checks.h"
#include "generate/ProjectFile.h"
#include "platform/Ansi.h"
#include "platform/IniFiles.h"
#include "platform/Registry.h"
#include "support/CliRun.h"
#include "support/Rows.h"
#include "support/ShownWindow.h"
#include "ui/Widgets.h"

#include <QDir>
#include <QTimer>

// A whole project through the window: page 3's checks, the generation, page 5.
class tst_wizard : public QObject
{
    Q_OBJECT

private slots:
    // Then the command line for the same input: the same bytes, catalogue and file opened.
    void wholeProject()
    {
        ProjectWindow f;
        const QByteArray catalogueBefore = f.t.catalogBytes();
        RootUi& ui = f.w->ui;
        ui.bMerkeOrdner->setChecked(true);
        f.next();
        QVERIFY(!ui.Map5->isHidden());
        QCOMPARE(ui.bWeiter->text(), QString("&Beenden"));
        QVERIFY(ui.bWeiter->isEnabled() && ui.bWeiter->isDefault() && !ui.bZurueck->isEnabled() &&
                !ui.bAbbrechen->isEnabled());
        QCOMPARE(ui.tProjekte->text(), f.t.file("P/"));
        QCOMPARE(TestFolder::read(f.project("Kunde.vbp")),
                 bar("Type=Exe|Form=Haupt.frm|Module=Hilfsmodul; Hilfsmodul.bas|Startup=\"Haupt\"|"
                     "IconForm=\"Haupt\"|Name=\"Kunde\"|Reference=x|Description=\"Kunde\"|"
                     "Title=\"Kunde\"|Rest=1|"));
        QCOMPARE(TestFolder::read(f.project("Kunde.vbw")), Generate::workspaceFileBytes("Haupt"));
        QCOMPARE(ReadIniValue(f.t.catalog(), "Option", "MyDocs"), f.t.file("P/"));

        QCOMPARE(f.w->focusWidget(), ui.bWeiter);
        QTest::keyClick(ui.bWeiter, Qt::Key_Return); // Enter presses "Beenden"
        QCOMPARE(f.desk.openedFiles, QStringList({f.project("Kunde.vbp")}));
        QCOMPARE(f.desk.ends, 1);

        QMap<QString, QByteArray> byWindow = TestFolder::contents(f.project({}));
        const QByteArray catalogueByWindow = f.t.catalogBytes();
        QVERIFY(QDir(f.t.file("P")).removeRecursively());
        f.t.write("bin/vorlagen.dat", catalogueBefore);
        QStringList opened;
        Cli::setFileOpener([&](const QString& file) {
            opened << file;
            return QString();
        });
        QCOMPARE(CliRun::run(f.t, {"--neu", "Kunde", "--ordner", f.t.file("P"), "--ordner-merken",
                                   "--oeffnen"})
                     .code,
                 int(Cli::kDone));
        Cli::setFileOpener({});
        // The same files, the record's date aside.
        QMap<QString, QByteArray> byCommand = TestFolder::contents(f.project({}));
        for (QMap<QString, QByteArray>* files : {&byWindow, &byCommand}) {
            QByteArray& record = (*files)["Kunde.vorlagen"];
            const qsizetype date = record.indexOf("Erstellt=");
            QVERIFY(date > 0);
            record.remove(date, record.indexOf('\r', date) - date);
        }
        QCOMPARE(byCommand, byWindow);
        QCOMPARE(f.t.catalogBytes(), catalogueByWindow);
        QCOMPARE(opened, f.desk.openedFiles);
    }

    // Without the name as a sub-folder the folder field names the project folder.
    void existingFolderQuestion()
    {
        const std::tuple<bool, bool, QMessageBox::StandardButton, QString> rows[] = {
            {true, true, QMessageBox::No, Generate::kFolderHasFiles},
            {false, false, QMessageBox::Yes, Generate::kFolderEmpty}};
        for (const auto& [withFile, subfolder, answer, text] : rows) {
            ProjectWindow f;
            QDir().mkpath(f.project("sub"));
            if (withFile)
                f.t.write("P/Kunde/alt.txt", "x");
            f.w->ui.bUnterordner->setChecked(subfolder);
            f.w->ui.tProjekte->setText(subfolder ? f.t.file("P") : f.project());
            f.desk.answers << answer;
            f.next();
            QCOMPARE(f.desk.texts(), QStringList{text});
            QCOMPARE(f.desk.messages[0].title, Generate::kFolderQuestionTitle);
            QCOMPARE(QFile::exists(f.project("Kunde.vbp")), answer == QMessageBox::Yes);
        }
    }

    // A refused name is told first, selected for overtyping (the rules: tst_generate).
    void projectNames()
    {
        const std::pair<QString, QString> rows[] = {{"..", Generate::kNameEnding},
                                                    {"Mein-Projekt", Generate::kForbiddenName},
                                                    {"Proj€kt", QString()}};
        for (const auto& [name, refusal] : rows) {
            ProjectWindow f;
            QDir().mkpath(f.t.file("P")); // ".." would name this folder's parent
            f.w->ui.tBezeichnung->setText(name);
            if (!refusal.isEmpty())
                f.desk.answers << QMessageBox::Ok;
            f.next();
            const QStringList made =
                QDir(f.t.file("P")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            if (refusal.isEmpty()) {
                QCOMPARE(made, QStringList{name});
                QVERIFY(TestFolder::read(f.t.file("P/" + name + '/' + name + ".vbp"))
                            .contains("Name=\"" + Ansi::encode(name) + '"'));
                continue;
            }
            QCOMPARE(f.desk.texts(), QStringList{refusal});
            QCOMPARE(f.desk.messages[0].icon, QMessageBox::Critical);
            QCOMPARE(f.w->ui.tBezeichnung->selectedText(), name);
            QCOMPARE(f.w->focusWidget(), f.w->ui.tBezeichnung);
            QVERIFY(made.isEmpty());
            QCOMPARE(QDir(f.t.path()).entryList({"*.vbp", "*.vbw"}, QDir::Files | QDir::Hidden),
                     QStringList());
        }
    }

    // A second press during the run does nothing. "Beenden" writes the registry
    // where its keys exist, and opens nothing without the viewer.
    void doublePressAndFinish()
    {
        ProjectWindow f;
        SleepScale slower(0.05);
        const QString command = "Software\\Classes\\Applications\\VB6.EXE\\shell\\open\\command";
        const QString manager = "Software\\Velkaro\\Quorvix Manager";
        RegistryCreateKey(HKEY_LOCAL_MACHINE, command, {});
        RegistrySetValue(HKEY_LOCAL_MACHINE, command, {}, QString("vb6 \"%1\""));
        RegistryCreateKey(HKEY_CURRENT_USER, manager, {});
        f.w->ui.bZeigeProjekt->setChecked(false);
        bool pressedDuringRun = false, nextWasEnabled = true;
        QTimer presser;
        connect(&presser, &QTimer::timeout, [&] {
            if (f.w->ui.Map4->isHidden() || pressedDuringRun)
                return;
            pressedDuringRun = true;
            nextWasEnabled = f.w->ui.bWeiter->isEnabled() || f.w->ui.bZurueck->isEnabled();
            f.next();
        });
        presser.start(0);
        f.next();
        QVERIFY(pressedDuringRun && !nextWasEnabled);
        QVERIFY(!f.w->ui.Map5->isHidden());
        QCOMPARE(f.desk.ends, 0);
        f.next();
        QCOMPARE(f.desk.ends, 1);
        QVERIFY(f.desk.openedFiles.isEmpty());
        QVariant appPath, lastNew;
        QVERIFY(RegistryGetValue(HKEY_LOCAL_MACHINE,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Vb6.exe",
                                 {}, appPath));
        QVERIFY(appPath.toString().startsWith("vb6 \"%1\""));
        QVERIFY(RegistryGetValue(HKEY_CURRENT_USER, manager, "LastNew", lastNew));
        QVERIFY(lastNew.toString().startsWith(f.project("Kunde.vbp")));
        QCOMPARE(ReadIniValue(f.t.catalog(), "Option", "Viewer"), QString("0"));
    }

    // Told, and page 5 does not call it complete (restored from a spare: tst_generate).
    void missingTemplate()
    {
        ProjectWindow f;
        const QString success = f.w->ui.Label17->text();
        QFile::rename(f.t.file("bin/QvStandard.bpv"), f.t.file("alt.bpv"));
        f.desk.answers << QMessageBox::Ok;
        f.next();
        QCOMPARE(f.desk.texts(), QStringList{ProjectTemplate::kMissing});
        QVERIFY(QFile::exists(f.project("Haupt.frm")) && !QFile::exists(f.project("Kunde.vbp")));
        QVERIFY(!f.w->ui.Map5->isHidden() && f.w->ui.Label17->text() != success);
    }
};

QTEST_MAIN(tst_wizard)
#include "tst_wizard.moc"
