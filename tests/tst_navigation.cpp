#include "catalog/Selection.h"
#include "editing/Beschreibung.h"
#include "editing/ComponentPage.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/ShownWindow.h"
#include "ui/RootTooltips.h"
#include "ui/Tooltips.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

// The component page and the wizard's navigation, driven through the window.
class tst_navigation : public QObject
{
    Q_OBJECT
    using Said = QList<FakeDesktop::Message>;

    struct Wizard : ShownWindow
    {
        Wizard()
        {
            t.writeEntries({{"Haupt", "v/ROOT.frm", true},
                            {"Modul", "v/Modul.bas"},
                            {"Steuer", "v/Steuer.ctl", false, "Eine Werkzeugleiste"}});
            open();
        }
        QListWidgetItem* line(int row) const { return w->ui.LDateien->item(row); }
        QString listTip() const { return RootTooltips::manager().toolText(w->ui.LDateien); }
        // Opens Steuer's description and runs `act` on the dialog; whether it came.
        bool describe(std::function<void(Beschreibung*)> act) const
        {
            w->ui.LDateien->setCurrentRow(2);
            const auto opened = whenDialogOpens(std::move(act));
            w->componentPage()->RCaption_DblClick();
            return *opened;
        }
    };

    // Runs `act` once the description dialog is up; any other modal window is closed.
    static std::shared_ptr<bool> whenDialogOpens(std::function<void(Beschreibung*)> act)
    {
        auto opened = std::make_shared<bool>(false);
        QTimer::singleShot(0, [act, opened] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<Beschreibung*>(modal)) {
                *opened = true;
                act(dialog);
                // A failed check inside `act` must not leave the test waiting.
                if (dialog->isVisible())
                    dialog->reject();
            } else if (modal) {
                modal->close();
            }
        });
        return opened;
    }

private slots:
    void nextAndBackMoveBetweenPages()
    {
        Wizard f;
        RootUi& ui = f.w->ui;
        f.next();
        QVERIFY(!ui.Map2->isHidden() && ui.Map1->isHidden() && ui.bZurueck->isEnabled());
        QCOMPARE(f.w->focusWidget(), ui.LDateien);
        QTest::keyClick(ui.LDateien, Qt::Key_Return); // Enter only moves the focus
        QCOMPARE(f.w->focusWidget(), ui.bWeiter);
        f.next(); // Haupt is checked
        QVERIFY(!ui.Map3->isHidden());
        QCOMPARE(f.w->focusWidget(), ui.tBezeichnung);
        f.back();
        // Unchecking the start form asks once (No keeps it, Yes lets it go); others go freely.
        f.desk.answers << QMessageBox::No << QMessageBox::Yes;
        f.line(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(f.line(0)->checkState(), Qt::Checked);
        f.line(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(f.line(0)->checkState(), Qt::Unchecked);
        QCOMPARE(f.desk.texts(), QStringList(2, ComponentPage::kRootQuestion));
        ui.LDateien->setCurrentRow(2);
        for (const Qt::CheckState state : {Qt::Checked, Qt::Unchecked, Qt::Checked})
            f.line(2)->setCheckState(state);
        // The welcome page brings back the stored marks and the documents folder.
        ui.tProjekte->setText("/getippt/");
        ui.tBezeichnung->setText("Kunde");
        f.back();
        QVERIFY(!ui.Map1->isHidden() && !ui.bZurueck->isEnabled());
        QCOMPARE(f.w->focusWidget(), ui.bWeiter);
        f.next();
        QCOMPARE(lines(ui.LDateien), QStringList({"Haupt [x]", "Modul", "Steuer"}));
        QCOMPARE(ui.tProjekte->text(), f.t.documents() + '/');
        QCOMPARE(ui.tBezeichnung->text(), QString("Kunde"));
    }

    // The checks before page 3 ('|' between entries, "!": not marked); `window`: in the window too.
    void checkedSelection()
    {
        using namespace Catalog;
        const std::tuple<bool, QString, QString> rows[] = {
            {false, "!Eins=a/Eins.bas", kNothingChecked},
            {true, "Eins=a/Module1.bas|Zwei=b/MODULE1.bas",
             kSameFile.arg("Eins", "Zwei", "Module1.bas")},
            {true, "Eins=a/Module1.bas|!Zwei=b/Module1.bas", QString()},
            // A form's companion against a file.
            {false, "Haupt=a/Haupt.frm|Bild=b/haupt.FRX",
             kSameFile.arg("Haupt", "Bild", "Haupt.frx")},
            {false, "Modul中=a/Modul.bas", kEntryNameOutsideCodePage.arg("Modul中")},
            {false, "Modul=a/Modul中.bas", kFileNameOutsideCodePage.arg("Modul", "Modul中.bas")},
            // Distinct copies, names the files can hold.
            {false, "Betrag€=a/Betrag€.bas|Zwei=b/Zwei.frm|Zwei.frx=b/Zwei.bas|Daten中=b/Daten.res",
             QString()}};
        for (const auto& [window, entries, refusal] : rows) {
            ShownWindow f;
            QList<::Entry> list;
            QStringList checked;
            for (const QString& entry : entries.split('|')) {
                list.append({entry.section('=', 0, 0).remove('!'), "v/" + entry.section('=', 1),
                             !entry.startsWith('!')});
                if (list.last().marked)
                    checked << list.last().name;
            }
            f.t.writeEntries(list); // UTF-8 where a name does not fit the code page
            QCOMPARE(Catalog::selectionProblem(Catalog::Snapshot::read(), checked), refusal);
            if (!window)
                continue;
            f.open();
            f.next();
            if (!refusal.isEmpty())
                f.desk.answers << QMessageBox::Ok;
            f.next();
            QCOMPARE(f.w->ui.Map2->isHidden(), refusal.isEmpty());
            const Said warned{{QMessageBox::Warning, " " + f.w->windowTitle(), refusal}};
            QCOMPARE(f.desk.messages, refusal.isEmpty() ? Said() : warned);
        }
    }

    // Right click on any line, Return as OK; pasted line breaks become blanks, outer ones stay.
    void descriptionThroughTheWindow()
    {
        Wizard f;
        f.next();
        f.w->ui.LDateien->setCurrentRow(2);
        QCOMPARE(f.listTip(), QString("Eine Werkzeugleiste"));
        const auto opened = whenDialogOpens([&](Beschreibung* d) {
            QCOMPARE(d->ui.RName->text() + ": " + d->ui.tCaption->toPlainText(),
                     QString("Steuer: Eine Werkzeugleiste"));
            d->ui.tCaption->setPlainText("  Neue\r\nZeilen\nhier  "); // as pasted
            QTest::keyClick(d->ui.tCaption, Qt::Key_Return);
        });
        const QRect other = f.w->ui.LDateien->visualItemRect(f.line(0));
        QTest::mouseClick(f.w->ui.LDateien->viewport(), Qt::RightButton, {}, other.center());
        QVERIFY(*opened);
        QCOMPARE(f.w->ui.LDateien->currentRow(), 2);
        const QString typed = "  Neue Zeilen hier  ";
        QVERIFY(f.t.catalogBytes().contains("\r\nSteuer=\"" + typed.toUtf8() + "\"\r\n"));
        QCOMPARE(f.w->ui.RCaption->text(), typed);
        QCOMPARE(f.listTip(), typed);
        QVERIFY(f.describe([&](Beschreibung* d) {
            QCOMPARE(d->ui.tCaption->toPlainText(), typed);
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
        }));
        QCOMPARE(ReadIniValue(f.t.catalog(), "Caption", "Steuer"), typed);
    }

    // X11 hands out format-less data when nobody owns the clipboard: pasting it changes nothing.
    void pasteWithNothingOnTheClipboard()
    {
        Beschreibung d;
        d.show();
        QPlainTextEdit* text = d.ui.tCaption;
        text->setPlainText("Text");
        text->moveCursor(QTextCursor::End);
        QApplication::clipboard()->setMimeData(new QMimeData);
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_Insert, Qt::ShiftModifier);
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            auto* paste = menu->findChild<QAction*>("edit-paste");
            paste->setEnabled(true); // as if the clipboard had emptied while the menu was up
            paste->trigger();
            menu->close();
        });
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                    text->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(text, &menuEvent);
        QCOMPARE(text->toPlainText(), QString("Text"));

        // A real paste stops at what the catalogue can hand back; so does typing.
        QApplication::clipboard()->setText(QString(300, 'a'));
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
        QApplication::clipboard()->clear();
        const QString full = "Text" + QString(250, 'a');
        QCOMPARE(text->toPlainText(), full);
        text->moveCursor(QTextCursor::Start);
        QTest::keyClicks(text, "bc");
        QCOMPARE(text->toPlainText(), full);

        // A character outside the basic plane that no longer fits goes whole.
        text->setPlainText(QString(253, 'a'));
        text->moveCursor(QTextCursor::End);
        text->insertPlainText(QString::fromUcs4(U"\U0001F600"));
        QCOMPARE(text->toPlainText(), QString(253, 'a'));
    }

    void descriptionReadsBackAsTyped()
    {
        TestFolder t;
        const std::pair<QString, QByteArray> rows[] = {
            {"", ""},
            {"\"Zitat\"", "\"\"Zitat\"\""},
            {"'x'", "\"'x'\""},
            {"\"halb", "\"halb"},
            {"a \"b\" c", "a \"b\" c"},
            {" " + QString(252, 'r') + " ", "\" " + QByteArray(252, 'r') + " \""}};
        for (const auto& [typed, stored] : rows) {
            QVERIFY(Catalog::setCaption("Steuer", Catalog::storedCaption(typed)));
            QVERIFY(t.catalogBytes().contains("\r\nSteuer=" + stored + "\r\n"));
            QCOMPARE(Catalog::Snapshot::read().captionOf("Steuer"), typed);
        }
    }

    // Full disk: told, the text stays, the catalogue keeps its bytes; Abbrechen stores nothing.
    void descriptionNotSavedIsSaid()
    {
        Wizard f;
        const QByteArray before = f.t.catalogBytes();
        f.desk.answers.enqueue(QMessageBox::Ok);
        QVERIFY(f.describe([&](Beschreibung* d) {
            d->ui.tCaption->setPlainText("Neu");
            FileIo::failWritesAfter(0); // a full disk
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
            FileIo::clearFaults();
            QVERIFY(d->isVisible());
            QCOMPARE(d->ui.tCaption->toPlainText(), QString("Neu"));
            QTest::mouseClick(d->ui.bAbbrechen, Qt::LeftButton);
            QVERIFY(!d->isVisible());
        }));
        QCOMPARE(f.t.catalogBytes(), before);
        QCOMPARE(f.desk.messages, (Said{{QMessageBox::Warning, " " + f.w->windowTitle(),
                                         Catalog::notSavedText(Catalog::Unsaved::Caption,
                                                               FileIo::Result::failure(ENOSPC))}}));
        QCOMPARE(f.w->ui.RCaption->text(), QString("Eine Werkzeugleiste"));
    }

    void shortenedPath()
    {
        const auto shown = [](QString p) { return Beschreibung::shortenedPath(p, "Datei.frm"); };
        // With the 9-character file name: 64 characters shown whole, 65 shortened.
        const QString a48(48, 'a'), a49(49, 'a');
        QCOMPARE(shown("/home/" + a48 + "/"), "/home/" + a48 + "/Datei.frm");
        QCOMPARE(shown("/home/" + a49 + "/"), "/ho.../" + a49 + "/Datei.frm");
        // The tail from its first separator.
        QCOMPARE(shown("/srv/vorlagen/" + QString(40, 'b') + "/formulare/"),
                 QString("/sr.../formulare/Datei.frm"));
    }
};

QTEST_MAIN(tst_navigation)
#include "tst_navigation.moc"
