#include "app/Root.h"
#include "editing/PageCommands.h"
#include "platform/FileIo.h"
#include "support/ShownWindow.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The help icon, the folder button, the Enter chain and the links of page 1,
// driven through the shown window.
class tst_pagecommands : public QObject
{
    Q_OBJECT

    struct Window : ShownWindow
    {
        // Shows the window on `page` (1 to 5) with a component to get past page 2.
        void openOn(int page)
        {
            t.write("v/Haupt.frm", "VERSION 5.00\r\n");
            t.writeCatalog({"[Filelist]", "100=Haupt", "[Filepath]", "Haupt=" + t.file("v/"),
                            "[Filename]", "Haupt=Haupt.frm", "[Marked]", "Haupt=1"});
            open();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
            const QWidgetList maps{w->ui.Map1, w->ui.Map2, w->ui.Map3, w->ui.Map4, w->ui.Map5};
            for (QWidget* map : maps)
                map->setVisible(map == maps.at(page - 1));
        }
        QWidget* focus() const { return QApplication::focusWidget(); }
        QString bpv() const { return t.file("bin/QvStandard.bpv"); }
        QString prj() const { return t.file("bin/QvStandard.prj"); }
    };

    static void settle() { QCoreApplication::processEvents(); }

private slots:
    void cleanup() { FileIo::clearFaults(); }

    void help_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::newRow("welcome page") << 1
                                      << "Für diese Einstellungen hat der Assistent leider keine "
                                         "Hilfethemen. ";
        QTest::newRow("component page")
            << 2
            << "Die Objektbeschreibung von Komponenten in der Liste können Sie ändern, indem Sie "
               "den Eintrag mit der rechten Maustaste klicken oder die Beschreibung doppelt "
               "anklicken.";
        QTest::newRow("project page")
            << 3
            << "Soweit die Bezeichnung des Projekts eine andere Bezeichnung verwenden möchten als "
               "für den Projektordner, dann entfernen Sie die Option ''Projektnamen als "
               "Unterordner''. Nun geben Sie zusätzlich den Ordnernamen des Projekts im Feld "
               "''Projektordner festlegen'' ein und den Namen des Projekts im Textfeld ''Neuer "
               "Projektname'' (benutzt Visual Basic auch).";
        QTest::newRow("progress page") << 4 << QString();
        QTest::newRow("finish page") << 5 << QString();
    }

    void help()
    {
        QFETCH(int, page);
        QFETCH(QString, text);
        Window f;
        f.openOn(page);
        if (!text.isEmpty())
            f.desk.answers.enqueue(QMessageBox::Ok);
        QTest::mouseClick(f.w->ui.PHilfe, Qt::LeftButton);
        if (text.isEmpty()) {
            QVERIFY(f.desk.messages.isEmpty());
            return;
        }
        QCOMPARE(f.desk.messages.size(), 1);
        const FakeDesktop::Message& m = f.desk.messages.constFirst();
        QCOMPARE(m.title, QString(" Hilfethemen"));
        QCOMPARE(m.text, text);
        QCOMPARE(m.icon, QMessageBox::Information);
        QCOMPARE(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void folderChoice_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("shown");
        QTest::newRow("chosen") << "/srv/projekte/"
                                << "/srv/projekte";
        QTest::newRow("cancelled") << QString() << "/alt/";
    }

    void folderChoice()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        Window f;
        f.openOn(3);
        f.w->ui.tProjekte->setText("/alt/");
        f.w->ui.tBezeichnung->setFocus();
        if (!chosen.isEmpty())
            f.desk.folders.enqueue(chosen);
        QTest::mouseClick(f.w->ui.bOrdner, Qt::LeftButton);
        settle();
        QCOMPARE(f.w->ui.tProjekte->text(), shown);
        QCOMPARE(f.focus(), f.w->ui.tProjekte);
        QCOMPARE(f.w->ui.tProjekte->selectedText(), shown);
        QVERIFY(f.desk.messages.isEmpty());
    }

    void enterChain_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("name to folder") << "tBezeichnung"
                                        << "tProjekte";
        QTest::newRow("subfolder option to folder") << "bUnterordner"
                                                    << "tProjekte";
        QTest::newRow("folder to next") << "tProjekte"
                                        << "bWeiter";
        QTest::newRow("folder button to next, not pressed") << "bOrdner"
                                                            << "bWeiter";
    }

    void enterChain()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        Window f;
        f.openOn(3);
        f.w->ui.tBezeichnung->setText("Kunde");
        f.w->ui.tProjekte->setText(f.t.file("P"));
        const bool subfolder = f.w->ui.bUnterordner->isChecked();
        auto* start = f.w->findChild<QWidget*>(from);
        start->setFocus();
        settle();
        QTest::keyClick(start, Qt::Key_Return);
        settle();
        QCOMPARE(f.focus()->objectName(), to);
        // Nothing was pressed: no folder dialog, no generation, no toggled option.
        QVERIFY(!f.w->ui.Map3->isHidden());
        QVERIFY(!QFileInfo::exists(f.t.file("P")));
        QCOMPARE(f.w->ui.bUnterordner->isChecked(), subfolder);
        QCOMPARE(f.w->ui.tProjekte->text(), f.t.file("P"));
        QVERIFY(f.desk.messages.isEmpty());
        if (to == "tProjekte")
            QCOMPARE(f.w->ui.tProjekte->selectedText(), f.t.file("P"));
    }

    void selectAllOnFocus()
    {
        Window f;
        f.openOn(3);
        f.w->ui.tBezeichnung->setText("Kunde");
        f.w->ui.tProjekte->setFocus();
        settle();
        QTest::keyClick(f.w->ui.tProjekte, Qt::Key_Tab, Qt::ShiftModifier); // back to bUnterordner
        QTest::keyClick(f.w->ui.bUnterordner, Qt::Key_Tab, Qt::ShiftModifier);
        settle();
        QCOMPARE(f.focus(), f.w->ui.tBezeichnung);
        QCOMPARE(f.w->ui.tBezeichnung->selectedText(), QString("Kunde"));
        QTest::keyClicks(f.w->ui.tBezeichnung, "Neu");
        QCOMPARE(f.w->ui.tBezeichnung->text(), QString("Neu"));
    }

    // Files: "-" missing, "dir" a folder, anything else the bytes.
    void templateLink_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QByteArray>("bpv");
        QTest::addColumn<QByteArray>("prj");
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QByteArray>("bpvAfter");
        QTest::addColumn<bool>("started");
        QTest::addColumn<QString>("message"); // the start of the one message, if any
        QTest::newRow("template there, spare unused")
            << "tStdProjekt" << QByteArray("Type=Exe\r\n") << QByteArray("Alt\r\n") << false
            << QByteArray("Type=Exe\r\n") << true << QString();
        QTest::newRow("restored from the spare, text beside the link")
            << "tStdProject" << QByteArray("-") << QByteArray("Type=Exe\r\n") << false
            << QByteArray("Type=Exe\r\n") << true << QString();
        QTest::newRow("neither file: nothing happens")
            << "tStdProjekt" << QByteArray("-") << QByteArray("-") << false << QByteArray("-")
            << false << QString();
        QTest::newRow("restore on a full disk")
            << "tStdProjekt" << QByteArray("-") << QByteArray("Type=Exe\r\n") << true
            << QByteArray("-") << false
            << "Die Projektvorlage ''%1'' fehlt und konnte nicht aus ''%2'' wiederhergestellt "
               "werden.\nAuf dem Datenträger ist nicht genügend Speicherplatz vorhanden.";
        QTest::newRow("empty spare is not copied")
            << "tStdProjekt" << QByteArray("-") << QByteArray("") << false << QByteArray("-")
            << false
            << "Die Projektvorlage ''%1'' fehlt und konnte nicht aus ''%2'' wiederhergestellt "
               "werden.\nDie Ersatzvorlage ist leer.";
        QTest::newRow("spare is a folder")
            << "tStdProjekt" << QByteArray("-") << QByteArray("dir") << false << QByteArray("-")
            << false
            << "Die Projektvorlage ''%1'' fehlt und konnte nicht aus ''%2'' wiederhergestellt "
               "werden.\nDer Pfad bezeichnet einen Ordner.";
        QTest::newRow("template is a folder")
            << "tStdProjekt" << QByteArray("dir") << QByteArray("Type=Exe\r\n") << false
            << QByteArray("dir") << false
            << "Die Projektvorlage ''%1'' kann nicht bearbeitet werden.\nDer Pfad bezeichnet "
               "einen Ordner.";
        QTest::newRow("empty template is opened with a note")
            << "tStdProjekt" << QByteArray("") << QByteArray("Type=Exe\r\n") << false
            << QByteArray("") << true << "Die Projektvorlage ''%1'' ist leer.";
    }

    void templateLink()
    {
        QFETCH(QString, link);
        QFETCH(QByteArray, bpv);
        QFETCH(QByteArray, prj);
        QFETCH(bool, diskFull);
        QFETCH(QByteArray, bpvAfter);
        QFETCH(bool, started);
        QFETCH(QString, message);
        Window f;
        auto place = [&](const QString& path, const QByteArray& bytes) {
            if (bytes == "dir")
                QDir().mkpath(path);
            else if (bytes != "-")
                f.t.write(QDir(f.t.path()).relativeFilePath(path), bytes);
        };
        place(f.bpv(), bpv);
        place(f.prj(), prj);
        f.openOn(1);
        if (!message.isEmpty())
            f.desk.answers.enqueue(QMessageBox::Ok);
        if (diskFull)
            FileIo::failWritesAfter(0);
        QTest::mouseClick(f.w->findChild<QWidget*>(link), Qt::LeftButton);
        FileIo::clearFaults();

        if (bpvAfter == "-")
            QVERIFY(!QFileInfo::exists(f.bpv()));
        else if (bpvAfter == "dir")
            QVERIFY(QFileInfo(f.bpv()).isDir());
        else
            QCOMPARE(TestFolder::read(f.bpv()), bpvAfter);
        if (prj != "-" && prj != "dir")
            QCOMPARE(TestFolder::read(f.prj()), prj);
        // No half-written template is left behind.
        const QStringList left = QDir(f.t.exeFolder()).entryList(QDir::Hidden | QDir::Files);
        QVERIFY2(left.filter(".tmp-").isEmpty(), qPrintable(left.join(' ')));

        QCOMPARE(f.desk.starts.size(), started ? 1 : 0);
        if (started) {
            QCOMPARE(f.desk.starts.constFirst().program, QString("Notepad.exe"));
            QCOMPARE(f.desk.starts.constFirst().arguments, QStringList{f.bpv()});
            QCOMPARE(f.desk.starts.constFirst().windowStyle, 3);
        }
        QCOMPARE(f.desk.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(f.desk.messages.constFirst().text.startsWith(
                         QString(message).replace("%1", f.bpv()).replace("%2", f.prj())),
                     qPrintable(f.desk.messages.constFirst().text));
    }

    void editorCannotStart()
    {
        Window f;
        f.t.write("bin/QvStandard.bpv", "Type=Exe\r\n");
        f.openOn(1);
        f.desk.startsSucceed = false;
        f.desk.answers.enqueue(QMessageBox::Ok);
        QTest::mouseClick(f.w->ui.tStdProjekt, Qt::LeftButton);
        QCOMPARE(f.desk.messages.size(), 1);
        QCOMPARE(f.desk.messages.constFirst().icon, QMessageBox::Warning);
        QVERIFY(f.desk.messages.constFirst().text.startsWith(
            "Der Texteditor konnte nicht gestartet werden"));
        QVERIFY(f.w->isVisible());
        QCOMPARE(f.desk.ends, 0);
    }

    void copyToolLink_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("startable");
        QTest::addColumn<int>("messages");
        QTest::newRow("started") << true << true << 0;
        QTest::newRow("missing: nothing happens") << false << true << 0;
        QTest::newRow("present but not startable") << true << false << 1;
    }

    void copyToolLink()
    {
        QFETCH(bool, present);
        QFETCH(bool, startable);
        QFETCH(int, messages);
        Window f;
        if (present)
            f.t.write("bin/QvtrCopy", "#!/bin/sh\n");
        f.openOn(1);
        f.desk.startsSucceed = startable;
        if (messages)
            f.desk.answers.enqueue(QMessageBox::Ok);
        QTest::mouseClick(f.w->ui.tProjektKopie, Qt::LeftButton);
        QCOMPARE(f.desk.starts.size(), present ? 1 : 0);
        if (present) {
            QCOMPARE(f.desk.starts.constFirst().program, f.t.file("bin/QvtrCopy"));
            QVERIFY(f.desk.starts.constFirst().arguments.isEmpty());
            QCOMPARE(f.desk.starts.constFirst().windowStyle, 1);
        }
        QCOMPARE(f.desk.messages.size(), messages);
        if (messages)
            QCOMPARE(f.desk.messages.constFirst().text, "Das Kopierprogramm ''" +
                                                            f.t.file("bin/QvtrCopy") +
                                                            "'' konnte nicht gestartet werden.");
    }
};

QTEST_MAIN(tst_pagecommands)
#include "tst_pagecommands.moc"
