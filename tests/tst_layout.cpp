// The main window and the description dialog as laid out: texts, keys, pointer, pictures.

#include "ui/BeschreibungUi.h"
#include "ui/Pictures.h"
#include "ui/RootUi.h"
#include "ui/Widgets.h"

#include <QDialog>
#include <QImageReader>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

class tst_layout : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_root;
    RootUi m_ui;

    void showPage(int page)
    {
        const QWidgetList pages{m_ui.Map1, m_ui.Map2, m_ui.Map3, m_ui.Map4, m_ui.Map5};
        for (QWidget* p : pages)
            p->setVisible(p == pages.at(page - 1));
        m_root->show();
        QVERIFY(QTest::qWaitForWindowActive(m_root.get()));
    }

private slots:
    void init()
    {
        m_root = std::make_unique<QWidget>();
        m_ui.setupUi(m_root.get());
    }

    void texts_data()
    {
        QTest::addColumn<QString>("text");
        const QString gap(10, u' ');
        QTest::newRow("Label13 trailing blank")
            << "Der Plavento erstellt ein neues VB6-Projekt mit ausgewählten Formularen und "
               "Modulen, welche anschließend in einen angegebenen Projektordner kopiert werden. ";
        QTest::newRow("tStdProject ten and five blanks")
            << "Klicken Sie" + gap +
                   "um das Standardprojekt, welches immer verwendet und durch die markierten "
                   "Komponenten ergänzt wird,     zu bearbeiten oder anzupassen.";
        QTest::newRow("tProjektCopy ten blanks")
            << "Bitte" + gap +
                   "klicken, um die Projektvorgaben in einen externen Ordner zu kopieren.";
        QTest::newRow("bMarkieren trailing blank")
            << "&Markierungen der verwendeten Komponenten speichern ";
        QTest::newRow("bUnterordner trailing blank") << "P&rojektnamen als Unterordner verwenden ";
        QTest::newRow("bMerkeOrdner trailing blank") << "&Ordner für nächste Projekte merken ";
        QTest::newRow("bZeigeProjekt trailing blank") << "A&nschließend Projektdatei anzeigen ";
        QTest::newRow("Label12 inner quotes")
            << "Wenn Sie dem Projekt und den Ordner den gleichen Namen geben möchten, empfiehlt es "
               "sich die Optionsschaltfläche \"Unterordner\" zu aktivieren.";
        QTest::newRow("Label15 trailing blank")
            << "Die Projektdateien inklusive Formulare und Module wurde erfolgreich erstellt. ";
        QTest::newRow("Label18 inner quotes")
            << "Klicken Sie auf \"Beenden\" um den Assistenten zu schließen und das Projekt in "
               "Microsoft Visual Basic zu öffnen.";
        QTest::newRow("bZurück") << "< &Zurück";
    }

    void texts()
    {
        QFETCH(QString, text);
        const QString name =
            QString(QTest::currentDataTag()).section(u' ', 0, 0); // first word of the tag
        QCOMPARE(m_root->findChild<QWidget*>(name)->property("text").toString(), text);
    }

    void windowAsLaidOut()
    {
        QCOMPARE(m_root->minimumSize(), QSize(499, 358));
        QCOMPARE(m_root->maximumSize(), QSize(499, 358));
        for (QWidget* w : {m_ui.Map1, m_ui.Map2, m_ui.Map3, m_ui.Map4, m_ui.Map5})
            QCOMPARE(!w->isHidden(), w != m_ui.Map4 && w != m_ui.Map5);
        for (const char* name : {"RCaption", "LSorted", "FileCheck"})
            QVERIFY2(m_root->findChild<QWidget*>(name)->isHidden(), name);
        for (QPushButton* button : m_root->findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        for (const char* name : {"tProjektKopie", "tStdProjekt", "bMarkieren", "bUnterordner",
                                 "bMerkeOrdner", "bZeigeProjekt", "PHilfe"})
            QVERIFY2(m_root->findChild<QWidget*>(name)->cursor().hotSpot() == QPoint(5, 0), name);
    }

    void linksCoverTheGapsOfTheirSentences()
    {
        using Link = std::pair<QLabel*, QLabel*>;
        const QString gap(10, u' ');
        for (auto [s, l] : {Link{m_ui.tStdProject, m_ui.tStdProjekt},
                            Link{m_ui.tProjektCopy, m_ui.tProjektKopie}}) {
            const QString before = s->text().section(gap, 0, 0);
            const QFontMetrics metrics(s->font());
            QVERIFY(l->x() >= s->x() + metrics.horizontalAdvance(before));
            QVERIFY(l->geometry().right() < s->x() + metrics.horizontalAdvance(before + gap));
            QCOMPARE(l->y(), s->y());
            // Stacked above the sentence, or the sentence would hide the word.
            QVERIFY(s->parent()->children().indexOf(l) > s->parent()->children().indexOf(s));
        }
    }

    void keyboard_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<bool>("cancelEnabled");
        QTest::addColumn<QString>("outcome"); // buttons pressed, else the focus after each key
        auto row = [](const char* tag, int page, const char* focus, const QStringList& keys,
                      const char* outcome, bool cancelEnabled = true) {
            QTest::newRow(tag) << page << QString(focus) << keys << cancelEnabled
                               << QString(outcome);
        };
        row("Esc on page 1", 1, "bWeiter", {"Esc"}, "pressed bAbbrechen");
        row("Esc in the list", 2, "LDateien", {"Esc"}, "pressed bAbbrechen");
        row("Esc in the name box", 3, "tBezeichnung", {"Esc"}, "pressed bAbbrechen");
        row("Esc on page 4", 4, "bAbbrechen", {"Esc"}, "pressed bAbbrechen");
        row("Esc while cancel is disabled", 5, "bWeiter", {"Esc"}, "bWeiter", false);
        // bZeigeProjekt ("A&nschließend") shares N; the label still wins.
        row("Alt+N", 3, "bWeiter", {"Alt+N"}, "tBezeichnung");
        row("Alt+P", 3, "tBezeichnung", {"Alt+P"}, "tProjekte");
        // Enter presses only the focused button.
        row("Enter on a button", 2, "bWeiter", {"Return"}, "pressed bWeiter");
        row("tab order of page 2", 2, "bZurück", QStringList(7, "Tab"),
            "bWeiter bAbbrechen LDateien bHinzufügen bLöschen bMarkieren bZurück");
        row("tab order of page 3", 3, "bZurück", QStringList(9, "Tab"),
            "bWeiter bAbbrechen tBezeichnung bUnterordner tProjekte bOrdner bMerkeOrdner "
            "bZeigeProjekt bZurück");
    }

    void keyboard()
    {
        QFETCH(int, page);
        QFETCH(QString, focus);
        QFETCH(QStringList, keys);
        QFETCH(bool, cancelEnabled);
        QFETCH(QString, outcome);
        m_ui.bZurueck->setEnabled(true);
        m_ui.bAbbrechen->setEnabled(cancelEnabled);
        QStringList pressed, focused;
        for (QPushButton* b : m_root->findChildren<QPushButton*>())
            connect(b, &QPushButton::clicked, this, [&pressed, b] { pressed << b->objectName(); });
        showPage(page);
        m_root->findChild<QWidget*>(focus)->setFocus();
        for (const QString& key : keys) {
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
            focused << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(pressed.isEmpty() ? focused.join(u' ') : "pressed " + pressed.join(u' '), outcome);
    }

    void pictureFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("sizes");
        const QByteArray icon("\0\0\1\0", 4);
        QTest::newRow("window icon") << Pictures::kWindowIcon << icon << "32x32 16x16 48x48";
        QTest::newRow("welcome") << Pictures::kWelcome << QByteArray("GIF89a") << "154x298";
        QTest::newRow("banner") << Pictures::kBanner << QByteArray("GIF89a") << "560x62";
        QTest::newRow("finish") << Pictures::kFinish << QByteArray("GIF87a") << "154x312";
        QTest::newRow("help icon") << Pictures::kHelp << icon << "32x32";
        QTest::newRow("hand pointer") << Pictures::kHand << QByteArray("\0\0\2\0", 4) << "32x32";
    }

    void pictureFiles()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, head);
        QFETCH(QString, sizes);
        QImageReader reader(path);
        QVERIFY2(reader.device()->open(QIODevice::ReadOnly), qPrintable(path));
        QCOMPARE(reader.device()->peek(head.size()), head);
        QStringList read;
        do {
            const QSize size = reader.read().size();
            read << QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        } while (reader.jumpToNextImage());
        QCOMPARE(read.join(u' '), sizes);
    }

    void dialog()
    {
        QDialog dialog;
        BeschreibungUi ui;
        ui.setupUi(&dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral(" Tooltipps für Objekte"));
        QVERIFY(ui.bReady->isDefault());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(!ui.RName->isVisible());
        int cancels = 0;
        connect(ui.bAbbrechen, &QPushButton::clicked, this, [&cancels] { ++cancels; });
        QTest::keyClick(ui.tCaption, Qt::Key_Escape);
        QCOMPARE(cancels, 1);
    }
};

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
