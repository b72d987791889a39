#include "app/Root.h"
#include "editing/Beschreibung.h"
#include "editing/ComponentPage.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/ShownWindow.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// The component page and the wizard's navigation, driven through the window.
class tst_navigation : public QObject
{
    Q_OBJECT

    // Haupt (ROOT.frm, marked), Modul, Steuer (described), in a shown window.
    struct Wizard : ShownWindow
    {
        Wizard()
        {
            for (const char* file : {"ROOT.frm", "Modul.bas", "Steuer.ctl"})
                t.write(QString("v/") + file, "x");
            const QString v = t.path() + "/v/";
            t.writeCatalog({"[Filelist]", "100=Haupt", "101=Modul", "102=Steuer", "[Filepath]",
                            "Haupt=" + v, "Modul=" + v, "Steuer=" + v, "[Filename]",
                            "Haupt=ROOT.frm", "Modul=Modul.bas", "Steuer=Steuer.ctl", "[Marked]",
                            "Haupt=1", "[Caption]", "Steuer=Eine Werkzeugleiste"});
            open();
        }
        QListWidgetItem* line(int row) const { return w->ui.LDateien->item(row); }
    };

    // Runs `act` on the description dialog once it is up.
    static void whenDialogOpens(std::function<void(Beschreibung*)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<Beschreibung*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            act(dialog);
            // A failed check above must not leave the test waiting on the dialog.
            if (dialog->isVisible())
                dialog->reject();
        });
    }

private slots:
    void init() { Root::setSleepScale(0.0); }

    void nextAndBackMoveBetweenPages()
    {
        Wizard f;
        RootUi& ui = f.w->ui;
        f.next();
        QVERIFY(!ui.Map2->isHidden() && ui.Map1->isHidden() && ui.bZurueck->isEnabled());
        QCOMPARE(f.w->focusWidget(), ui.LDateien);
        QTest::keyClick(ui.LDateien, Qt::Key_Return); // Enter only moves the focus
        QCOMPARE(f.w->focusWidget(), ui.bWeiter);
        QVERIFY(!ui.Map2->isHidden());
        f.next(); // Haupt is checked
        QVERIFY(!ui.Map3->isHidden());
        QCOMPARE(f.w->focusWidget(), ui.tBezeichnung);
        f.back();
        QVERIFY(!ui.Map2->isHidden());
        f.back();
        QVERIFY(!ui.Map1->isHidden() && !ui.bZurueck->isEnabled());
        QCOMPARE(f.w->focusWidget(), ui.bWeiter);
        QVERIFY(f.desk.messages.isEmpty());
    }

    void nothingCheckedKeepsPageTwo()
    {
        Wizard f;
        f.next();
        f.desk.answers << QMessageBox::Yes << QMessageBox::Ok; // let Root go, then the hint
        f.line(0)->setCheckState(Qt::Unchecked);
        f.next();
        QVERIFY(!f.w->ui.Map2->isHidden());
        QCOMPARE(f.desk.messages.size(), 2);
        const FakeDesktop::Message& m = f.desk.messages[1];
        QCOMPARE(m.text, QString("Markieren Sie die Dateien, welche in das neue Projekt "
                                 "eingefügt werden sollen. "));
        QCOMPARE(m.title, QString(" Velkaro Quorvix-Vorgix"));
        QCOMPARE(m.icon, QMessageBox::Warning);
    }

    void backToWelcomeRestoresStoredMarks()
    {
        Wizard f;
        f.next();
        f.desk.answers << QMessageBox::Yes;
        f.line(0)->setCheckState(Qt::Unchecked);
        f.line(2)->setCheckState(Qt::Checked);
        f.w->ui.tProjekte->setText("/getippt/");
        f.w->ui.tBezeichnung->setText("Kunde");
        f.back();
        f.next();
        QCOMPARE(f.line(0)->checkState(), Qt::Checked);
        QCOMPARE(f.line(2)->checkState(), Qt::Unchecked);
        QCOMPARE(f.w->ui.tProjekte->text(), f.t.documents() + '/');
        QCOMPARE(f.w->ui.tBezeichnung->text(), QString("Kunde"));
    }

    void rootFormQuestion_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<Qt::CheckState>("state");
        QTest::newRow("No keeps the start form") << QMessageBox::No << Qt::Checked;
        QTest::newRow("Yes lets it go") << QMessageBox::Yes << Qt::Unchecked;
    }
    void rootFormQuestion()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(Qt::CheckState, state);
        Wizard f;
        f.next();
        f.desk.answers << answer;
        f.line(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(f.desk.messages.size(), 1); // asked once, also when checked again
        QCOMPARE(f.desk.messages[0].text,
                 QString("Die Komponente ''Root'' wird als Startformular für das Projekt "
                         "benötigt. \nZudem kann ohne Formulare die Anwendung nicht kompeliert "
                         "werden.\n \nMöchten Sie dieses Formular wirklich aus der Auswahl "
                         "entfernen ?"));
        QCOMPARE(f.line(0)->checkState(), state);
        // Checking never asks; other entries go freely.
        f.line(0)->setCheckState(Qt::Checked);
        f.w->ui.LDateien->setCurrentRow(1);
        f.line(1)->setCheckState(Qt::Checked);
        f.line(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(f.desk.messages.size(), 1);
    }

    void rightClickEditsTheCurrentLine()
    {
        Wizard f;
        f.next();
        QCOMPARE(f.w->ui.LDateien->toolTip(), QString()); // Haupt has no description
        f.w->ui.LDateien->setCurrentRow(2);
        QCOMPARE(f.w->ui.LDateien->toolTip(), QString("Eine Werkzeugleiste"));
        QString shown;
        whenDialogOpens([&](Beschreibung* d) {
            shown = d->ui.RName->text() + ": " + d->ui.tCaption->toPlainText();
            d->ui.tCaption->setPlainText("Neue\r\nZeilen\nhier"); // as pasted
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
        });
        const QRect other = f.w->ui.LDateien->visualItemRect(f.line(0));
        QTest::mouseClick(f.w->ui.LDateien->viewport(), Qt::RightButton, {}, other.center());
        QCOMPARE(shown, QString("Steuer: Eine Werkzeugleiste"));
        QCOMPARE(f.w->ui.LDateien->currentRow(), 2);
        QCOMPARE(ReadIniValue(f.t.catalog(), "Caption", "Steuer"), QString("Neue Zeilen hier"));
        QCOMPARE(f.w->ui.LDateien->toolTip(), QString("Neue Zeilen hier"));
    }

    void descriptionCancelStoresNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("cancel button") << 0;
        QTest::newRow("escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void descriptionCancelStoresNothing()
    {
        QFETCH(int, how);
        Wizard f;
        f.w->ui.LDateien->setCurrentRow(2);
        const QByteArray before = f.t.catalogBytes();
        whenDialogOpens([how](Beschreibung* d) {
            d->ui.tCaption->setPlainText("verworfen");
            if (how == 0)
                QTest::mouseClick(d->ui.bAbbrechen, Qt::LeftButton);
            else if (how == 1)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
        });
        f.w->componentPage()->RCaption_DblClick();
        QCOMPARE(f.t.catalogBytes(), before);
        QCOMPARE(f.w->ui.RCaption->text(), QString("Eine Werkzeugleiste"));
    }

    void descriptionEmptiedAndLong()
    {
        Wizard f;
        f.w->ui.LDateien->setCurrentRow(2);
        whenDialogOpens([](Beschreibung* d) {
            d->ui.tCaption->clear();
            QTest::keyClick(d->ui.tCaption, Qt::Key_Return); // OK, never a line break
        });
        f.w->componentPage()->RCaption_DblClick();
        QVERIFY(f.t.catalogBytes().contains("\r\nSteuer=\r\n"));
        QCOMPARE(f.w->ui.LDateien->toolTip(), QString());

        QCOMPARE(ReadIniValue(f.t.catalog(), "Filename", "Steuer"), QString("Steuer.ctl"));

        // A paste stops at what the catalogue can hand back; so does typing.
        const QString a254(254, 'a');
        whenDialogOpens([&](Beschreibung* d) {
            QApplication::clipboard()->setText(QString(300, 'a'));
            d->ui.tCaption->paste();
            QApplication::clipboard()->clear();
            QCOMPARE(d->ui.tCaption->toPlainText(), a254);
            d->ui.tCaption->moveCursor(QTextCursor::Start);
            QTest::keyClicks(d->ui.tCaption, "bc");
            QCOMPARE(d->ui.tCaption->toPlainText(), a254);
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
        });
        f.w->componentPage()->RCaption_DblClick();
        QVERIFY(f.t.catalogBytes().contains("\r\nSteuer=" + a254.toLatin1() + "\r\n"));
        QCOMPARE(f.w->ui.RCaption->text(), a254);
    }

    // Outer blanks and quotes survive the round trip through the catalogue.
    void descriptionReadsBackAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("quotes") << "\"Zitat\"" << QByteArray("\"\"Zitat\"\"");
        QTest::newRow("outer blanks") << "  Rand  " << QByteArray("\"  Rand  \"");
        QTest::newRow("single quotes") << "'x'" << QByteArray("\"'x'\"");
        QTest::newRow("one quote only") << "\"halb" << QByteArray("\"halb");
        QTest::newRow("inner quotes") << "a \"b\" c" << QByteArray("a \"b\" c");
        QTest::newRow("254 with blanks") << " " + QString(252, 'r') + " "
                                         << "\" " + QByteArray(252, 'r') + " \"";
    }
    void descriptionReadsBackAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        Wizard f;
        f.w->ui.LDateien->setCurrentRow(2);
        whenDialogOpens([&](Beschreibung* d) {
            d->ui.tCaption->setPlainText(typed);
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
        });
        f.w->componentPage()->RCaption_DblClick();
        QVERIFY(f.t.catalogBytes().contains("\r\nSteuer=" + stored + "\r\n"));
        QCOMPARE(f.w->ui.RCaption->text(), typed);
        QString shown;
        whenDialogOpens([&](Beschreibung* d) {
            shown = d->ui.tCaption->toPlainText();
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
        });
        f.w->componentPage()->RCaption_DblClick();
        QCOMPARE(shown, typed);
        QCOMPARE(ReadIniValue(f.t.catalog(), "Caption", "Steuer"), typed);
    }

    // A catalogue that cannot be written (a full disk here): the person is told
    // which file and what was not saved, the file keeps its bytes and the text
    // stays in the dialog.
    void descriptionNotSavedIsSaid()
    {
        Wizard f;
        f.w->ui.LDateien->setCurrentRow(2);
        const QByteArray before = f.t.catalogBytes();
        bool stillOpen = false;
        QString kept;
        whenDialogOpens([&](Beschreibung* d) {
            d->ui.tCaption->setPlainText("Neu");
            FileIo::failWritesAfter(0);
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
            FileIo::clearFaults();
            stillOpen = d->isVisible();
            kept = d->ui.tCaption->toPlainText();
            QTest::mouseClick(d->ui.bAbbrechen, Qt::LeftButton);
        });
        f.w->componentPage()->RCaption_DblClick();
        QVERIFY(stillOpen);
        QCOMPARE(kept, QString("Neu"));
        QCOMPARE(f.t.catalogBytes(), before);
        QCOMPARE(f.desk.messages.size(), 1);
        const FakeDesktop::Message& m = f.desk.messages.first();
        QCOMPARE(m.icon, QMessageBox::Warning);
        QCOMPARE(m.title, " " + f.w->windowTitle());
        QCOMPARE(m.text, "Die Vorlagendatei ''" + f.t.catalog() +
                             "'' konnte nicht gespeichert werden. Die Beschreibung wurde nicht "
                             "gespeichert.\nAuf dem Datenträger ist nicht genügend Speicherplatz "
                             "vorhanden.");
        QCOMPARE(f.w->ui.RCaption->text(), QString("Eine Werkzeugleiste"));
    }

    void shortenedPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("shown");
        const QString a48(48, 'a'), a49(49, 'a'), b40(40, 'b');
        // With the 9-character file name: 64 characters shown whole, 65 shortened.
        QTest::newRow("64 whole") << "/home/" + a48 + "/"
                                  << "/home/" + a48 + "/Datei.frm";
        QTest::newRow("65 shortened") << "/home/" + a49 + "/"
                                      << "/ho.../" + a49 + "/Datei.frm";
        QTest::newRow("tail from the first separator") << "/srv/vorlagen/" + b40 + "/formulare/"
                                                       << "/sr.../formulare/Datei.frm";
    }
    void shortenedPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, shown);
        QCOMPARE(Beschreibung::shortenedPath(folder, "Datei.frm"), shown);
    }
};

QTEST_MAIN(tst_navigation)
#include "tst_navigation.moc"
