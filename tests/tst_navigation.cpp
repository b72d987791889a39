#include "app/Root.h"
#include "editing/Beschreibung.h"
#include "editing/ComponentPage.h"
#include "platform/IniFiles.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// The component page and the wizard's navigation, driven through the window.
class tst_navigation : public QObject
{
    Q_OBJECT

    // Haupt (root.frm, marked), Modul (Modul.bas), Steuer (Steuer.ctl, described).
    static void writeCatalogue(const TestFolder& t)
    {
        t.write(QStringLiteral("v/ROOT.frm"), "x");
        t.write(QStringLiteral("v/Modul.bas"), "x");
        t.write(QStringLiteral("v/Steuer.ctl"), "x");
        const QString v = t.path() + QStringLiteral("/v/");
        t.writeCatalog({"[Filelist]", "100=Haupt", "101=Modul", "102=Steuer", "[Filepath]",
                        "Haupt=" + v, "Modul=" + v, "Steuer=" + v, "[Filename]", "Haupt=ROOT.frm",
                        "Modul=Modul.bas", "Steuer=Steuer.ctl", "[Marked]", "Haupt=1", "[Caption]",
                        "Steuer=Eine Werkzeugleiste"});
    }

    // A shown window over that catalogue, with a desktop that answers for the person.
    struct Wizard
    {
        TestFolder t;
        FakeDesktop desk;
        std::unique_ptr<Root> window;
        Wizard()
        {
            writeCatalogue(t);
            window = std::make_unique<Root>();
            window->show();
        }
    };

    static QListWidgetItem* line(Root& w, int row) { return w.ui.LDateien->item(row); }

    // Runs `act` on the modal dialog once it is up.
    static void whenDialogOpens(std::function<void(Beschreibung*)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<Beschreibung*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            act(dialog);
        });
    }

    static void clickNext(Root& w) { QTest::mouseClick(w.ui.bWeiter, Qt::LeftButton); }

private slots:
    void init() { Root::setSleepScale(0.0); }

    void nextAndBackMoveBetweenPages()
    {
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        clickNext(w);
        QVERIFY(!w.ui.Map2->isHidden());
        QVERIFY(w.ui.Map1->isHidden());
        QVERIFY(w.ui.bZurueck->isEnabled());
        QCOMPARE(w.focusWidget(), w.ui.LDateien);
        clickNext(w); // Haupt is checked
        QVERIFY(!w.ui.Map3->isHidden());
        QCOMPARE(w.focusWidget(), w.ui.tBezeichnung);
        QTest::mouseClick(w.ui.bZurueck, Qt::LeftButton);
        QVERIFY(!w.ui.Map2->isHidden());
        QCOMPARE(w.focusWidget(), w.ui.LDateien);
        QTest::mouseClick(w.ui.bZurueck, Qt::LeftButton);
        QVERIFY(!w.ui.Map1->isHidden());
        QVERIFY(!w.ui.bZurueck->isEnabled());
        QCOMPARE(w.focusWidget(), w.ui.bWeiter);
        QVERIFY(desk.messages.isEmpty());
    }

    void nothingCheckedKeepsPageTwo()
    {
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        clickNext(w);
        desk.answers << QMessageBox::Yes; // the root question
        line(w, 0)->setCheckState(Qt::Unchecked);
        desk.answers << QMessageBox::Ok;
        clickNext(w);
        QVERIFY(!w.ui.Map2->isHidden());
        QCOMPARE(desk.messages.size(), 2);
        QCOMPARE(desk.messages[1].text,
                 QStringLiteral("Markieren Sie die Dateien, welche in das neue Projekt eingefügt "
                                "werden sollen. "));
        QCOMPARE(desk.messages[1].title, QStringLiteral(" Velkaro Quorvix-Vorgix"));
        QCOMPARE(desk.messages[1].icon, QMessageBox::Warning);
        QCOMPARE(desk.messages[1].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void backToWelcomeRestoresStoredMarks()
    {
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        clickNext(w);
        desk.answers << QMessageBox::Yes;
        line(w, 0)->setCheckState(Qt::Unchecked);
        line(w, 2)->setCheckState(Qt::Checked);
        w.ui.tProjekte->setText(QStringLiteral("/getippt/"));
        w.ui.tBezeichnung->setText(QStringLiteral("Kunde"));
        QTest::mouseClick(w.ui.bZurueck, Qt::LeftButton);
        clickNext(w);
        QCOMPARE(line(w, 0)->checkState(), Qt::Checked);
        QCOMPARE(line(w, 2)->checkState(), Qt::Unchecked);
        QCOMPARE(w.ui.tProjekte->text(), t.documents() + QLatin1Char('/'));
        QCOMPARE(w.ui.tBezeichnung->text(), QStringLiteral("Kunde"));
    }

    void rootFormQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("staysChecked");
        QTest::newRow("No keeps the start form") << int(QMessageBox::No) << true;
        QTest::newRow("Yes lets go") << int(QMessageBox::Yes) << false;
    }
    void rootFormQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, staysChecked);
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        clickNext(w);
        w.ui.LDateien->setCurrentRow(0);
        desk.answers << QMessageBox::StandardButton(answer);
        line(w, 0)->setCheckState(Qt::Unchecked);
        QCOMPARE(desk.messages.size(), 1); // asked once, also when re-checked
        QCOMPARE(desk.messages[0].text,
                 QStringLiteral("Die Komponente ''Root'' wird als Startformular für das Projekt "
                                "benötigt. \nZudem kann ohne Formulare die Anwendung nicht "
                                "kompeliert werden.\n \nMöchten Sie dieses Formular wirklich aus "
                                "der Auswahl entfernen ?"));
        QCOMPARE(desk.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(line(w, 0)->checkState(), staysChecked ? Qt::Checked : Qt::Unchecked);
        // Checking never asks; other entries go freely.
        line(w, 0)->setCheckState(Qt::Checked);
        w.ui.LDateien->setCurrentRow(1);
        line(w, 1)->setCheckState(Qt::Checked);
        line(w, 1)->setCheckState(Qt::Unchecked);
        QCOMPARE(desk.messages.size(), 1);
    }

    void selectionShowsDescriptionAsTip()
    {
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        clickNext(w);
        QCOMPARE(w.ui.RCaption->text(), QString()); // Haupt has none
        QCOMPARE(w.ui.LDateien->toolTip(), QString());
        w.ui.LDateien->setCurrentRow(2);
        QCOMPARE(w.ui.RCaption->text(), QStringLiteral("Eine Werkzeugleiste"));
        QCOMPARE(w.ui.LDateien->toolTip(), QStringLiteral("Eine Werkzeugleiste"));
        QVERIFY(w.ui.RCaption->isHidden());
    }

    void enterInListFocusesNextOnly()
    {
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        clickNext(w);
        QTest::keyClick(w.ui.LDateien, Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.ui.bWeiter);
        QVERIFY(!w.ui.Map2->isHidden());
    }

    void rightClickEditsCurrentLine()
    {
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        clickNext(w);
        w.ui.LDateien->setCurrentRow(2);
        QString shownName;
        QString shownText;
        whenDialogOpens([&](Beschreibung* d) {
            shownName = d->ui.RName->text();
            shownText = d->ui.tCaption->toPlainText();
            d->ui.tCaption->setPlainText(QStringLiteral("Neue\r\nZeilen\nhier"));
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
        });
        const QRect other = w.ui.LDateien->visualItemRect(line(w, 0));
        QTest::mouseClick(w.ui.LDateien->viewport(), Qt::RightButton, {}, other.center());
        QCOMPARE(shownName, QStringLiteral("Steuer"));
        QCOMPARE(shownText, QStringLiteral("Eine Werkzeugleiste"));
        QCOMPARE(w.ui.LDateien->currentRow(), 2);
        QCOMPARE(ReadIniValue(t.catalog(), "Caption", "Steuer"),
                 QStringLiteral("Neue Zeilen hier"));
        QCOMPARE(w.ui.LDateien->toolTip(), QStringLiteral("Neue Zeilen hier"));
    }

    void descriptionCancelStoresNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << "cancel";
        QTest::newRow("escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void descriptionCancelStoresNothing()
    {
        QFETCH(QString, how);
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        w.ui.LDateien->setCurrentRow(2);
        const QByteArray before = t.catalogBytes();
        whenDialogOpens([how](Beschreibung* d) {
            d->ui.tCaption->setPlainText(QStringLiteral("verworfen"));
            if (how == QLatin1String("cancel"))
                QTest::mouseClick(d->ui.bAbbrechen, Qt::LeftButton);
            else if (how == QLatin1String("escape"))
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
        });
        w.componentPage()->RCaption_DblClick();
        QCOMPARE(t.catalogBytes(), before);
        QCOMPARE(w.ui.RCaption->text(), QStringLiteral("Eine Werkzeugleiste"));
    }

    void descriptionEmptiedAndLong()
    {
        Wizard f;
        auto& [t, desk, window] = f;
        Root& w = *window;
        w.ui.LDateien->setCurrentRow(2);
        whenDialogOpens([](Beschreibung* d) {
            d->ui.tCaption->clear();
            QTest::keyClick(d->ui.tCaption, Qt::Key_Return); // Enter is OK, never a line break
        });
        w.componentPage()->RCaption_DblClick();
        QVERIFY(t.catalogBytes().contains("\r\nSteuer=\r\n"));
        QCOMPARE(w.ui.LDateien->toolTip(), QString());

        const QString longText(300, QLatin1Char('a'));
        whenDialogOpens([&](Beschreibung* d) {
            d->ui.tCaption->setPlainText(longText);
            QTest::mouseClick(d->ui.bReady, Qt::LeftButton);
        });
        w.componentPage()->RCaption_DblClick();
        QVERIFY(t.catalogBytes().contains(longText.toLatin1())); // stored whole
        QCOMPARE(w.ui.RCaption->text(), longText.left(254));     // read back cut
    }

    void shortenedPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("shown");
        const QString name = QStringLiteral("Datei.frm"); // 9 characters
        const QString f64 = QStringLiteral("/home/") + QString(48, QLatin1Char('a')) +
                            QLatin1Char('/'); // 55 + 9 = 64
        QTest::newRow("64 shown whole") << f64 << f64 + name;
        const QString f65 =
            QStringLiteral("/home/") + QString(49, QLatin1Char('a')) + QLatin1Char('/');
        QTest::newRow("65 shortened")
            << f65
            << QStringLiteral("/ho.../") + QString(49, QLatin1Char('a')) + QLatin1Char('/') + name;
        const QString deep = QStringLiteral("/srv/vorlagen/") + QString(40, QLatin1Char('b')) +
                             QStringLiteral("/formulare/");
        QTest::newRow("tail from the first separator")
            << deep << QStringLiteral("/sr.../formulare/") + name;
        const QString flat = QStringLiteral("/") + QString(70, QLatin1Char('c')) + QLatin1Char('/');
        QTest::newRow("tail with separator at its end") << flat << QStringLiteral("/cc.../") + name;
    }
    void shortenedPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, shown);
        QCOMPARE(Beschreibung::shortenedPath(folder, QStringLiteral("Datei.frm")), shown);
    }
};

QTEST_MAIN(tst_navigation)
#include "tst_navigation.moc"
