#include "app/Root.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/ShownWindow.h"
#include "ui/Widgets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// Adding component files to the catalogue and removing entries, driven through
// the component page; what the list shows and what lands on disk.
class tst_addremove : public QObject
{
    Q_OBJECT

    // Alpha (Alpha.bas) and Root (root.frm, marked, described) on the component page.
    struct Page : ShownWindow
    {
        QString v;
        explicit Page(const QStringList& catalogue = {})
        {
            v = t.path() + "/v/";
            QDir().mkpath(v);
            t.write("v/Alpha.bas", "Attribute VB_Name = \"Alpha\"\r\n");
            t.write("v/root.frm", "VERSION 5.00\r\nAttribute VB_Name = \"Root\"\r\n");
            t.writeCatalog(catalogue.isEmpty() ? standard(v) : catalogue);
        }
        static QStringList standard(const QString& v)
        {
            return {"[Filelist]", "100=Alpha",  "101=Root",          "[Filepath]",    "Alpha=" + v,
                    "Root=" + v,  "[Filename]", "Alpha=Alpha.bas",   "Root=root.frm", "[Marked]",
                    "Root=1",     "[Caption]",  "Root=Startformular"};
        }
        void openPage()
        {
            open();
            next();
        }
        QString put(const QString& name, const QByteArray& bytes) const
        {
            return t.write("v/" + name, bytes);
        }
        void add(const QString& path)
        {
            desk.fileNames.enqueue(path);
            QTest::mouseClick(w->ui.bHinzufuegen, Qt::LeftButton);
        }
        void remove() const { QTest::mouseClick(w->ui.bLoeschen, Qt::LeftButton); }
        void select(const QString& name) const
        {
            const auto found = w->ui.LDateien->findItems(name, Qt::MatchExactly);
            QVERIFY(!found.isEmpty());
            w->ui.LDateien->setCurrentItem(found.first());
        }
        QStringList lines() const
        {
            QStringList result;
            for (int i = 0; i < w->ui.LDateien->count(); ++i) {
                const QListWidgetItem* item = w->ui.LDateien->item(i);
                result << item->text() + (item->checkState() == Qt::Checked ? " [x]" : "");
            }
            return result;
        }
        QString current() const
        {
            const QListWidgetItem* item = w->ui.LDateien->currentItem();
            return item ? item->text() : QString();
        }
        QString read(const char* section, const QString& key) const
        {
            return ReadIniValue(t.catalog(), section, key);
        }
    };

    // Writes fail after `bytes` more bytes until the test ends.
    struct Faults
    {
        explicit Faults(qint64 bytes) { FileIo::failWritesAfter(bytes); }
        ~Faults() { FileIo::clearFaults(); }
    };

    static const inline QString kAddTitle = QStringLiteral(" Formulare/Module hinzufügen");
    static const inline QString kRemoveTitle = QStringLiteral(" Formulare/Module entfernen");
    static const inline QString kFull =
        QStringLiteral("Die Vorlagenliste ist voll: Sie enthält bereits 101 Komponenten. "
                       "Entfernen Sie zuerst eine Komponente.");

    static QString removeQuestion(const QString& name)
    {
        return "Die Einträge werden als Vorlage bei neuen Visual Basic Projekten verwendet. Wenn "
               "Sie Module oder Formulare löschen, können diese Module bei dem nächsten Projekte "
               "nicht mehr ausgewählt werden.\n \nMöchten Sie ''" +
               name + "'' aus der Datenbank entfernen ? ";
    }

private slots:
    void init() { Root::setSleepScale(0.0); }

    void addListsTheFileUnderItsName_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("listed");
        QTest::newRow("form under its internal name")
            << "Haupt-Datei.frm"
            << QByteArray("VERSION 5.00\r\nBegin VB.Form Haupt\r\nEnd\r\n"
                          "Attribute VB_Name = \"Hauptform\"\r\nAttribute VB_Exposed = False\r\n")
            << "Hauptform";
        QTest::newRow("resource: file name to its first dot")
            << "Bilder.v2.res" << QByteArray("\0\0\0\x20\xff\xff", 6) << "Bilder";
        QTest::newRow("module1 in other letter case is kept")
            << "Rechner.bas" << QByteArray("Attribute VB_Name = \"module1\"\r\n") << "module1";
        QTest::newRow("Module2 is kept")
            << "Rechner.bas" << QByteArray("Attribute VB_Name = \"Module2\"\r\n") << "Module2";
        QTest::newRow("a form called Module1 is kept")
            << "Haupt.frm" << QByteArray("VERSION 5.00\r\nAttribute VB_Name = \"Module1\"\r\n")
            << "Module1";
        QTest::newRow("blanks around = optional")
            << "X.bas" << QByteArray("attribute vb_name=\"Kurz\"\r\n") << "Kurz";
        QTest::newRow("no final line break loses nothing")
            << "X.bas" << QByteArray("Attribute VB_Name = \"Ende\"") << "Ende";
        QTest::newRow("no closing quote: file name")
            << "Datei.bas" << QByteArray("Attribute VB_Name = \"Offen\r\nOption Explicit\r\n")
            << "Datei";
        QTest::newRow("empty name: file name")
            << "Leer.bas" << QByteArray("Attribute VB_Name = \"\"\r\n") << "Leer";
        QTest::newRow("name with =")
            << "Gleich.bas" << QByteArray("Attribute VB_Name = \"a=b\"") << "Gleich";
        QTest::newRow("name with ]")
            << "Klammer.bas" << QByteArray("Attribute VB_Name = \"a]b\"") << "Klammer";
        QTest::newRow("name beginning with [")
            << "Auf.bas" << QByteArray("Attribute VB_Name = \"[ab\"") << "Auf";
        QTest::newRow("name beginning with ;")
            << "Semi.bas" << QByteArray("Attribute VB_Name = \";ab\"") << "Semi";
        QTest::newRow("control character in the name")
            << "Steuer.bas" << QByteArray("Attribute VB_Name = \"a\x01z\"") << "Steuer";
        QTest::newRow("name of 255 characters")
            << "Lang.bas"
            << "Attribute VB_Name = \"" + QByteArray(255, 'n') + "\""
            << "Lang";
        QTest::newRow("name of 254 characters")
            << "Lang.bas"
            << "Attribute VB_Name = \"" + QByteArray(254, 'n') + "\"" << QString(254, 'n');
        QTest::newRow("binary") << "Bin.frm" << QByteArray("\x00\x01\x02\xfe\xff\r\n\x80", 8)
                                << "Bin";
        QTest::newRow("empty file") << "Leer.ctl" << QByteArray() << "Leer";
        QTest::newRow("UTF-8 name") << "U.frm"
                                    << QByteArray("Attribute VB_Name = \"\xc3\x9c"
                                                  "bersicht\"\r\n")
                                    << "Übersicht";
        QTest::newRow("code-page name") << "C.frm"
                                        << QByteArray("Attribute VB_Name = \"\xdc"
                                                      "bersicht\"\r\n")
                                        << "Übersicht";
        QStringEncoder utf16(QStringEncoder::Utf16LE);
        QTest::newRow("UTF-16: file name")
            << "W.frm" << QByteArray(utf16(u"Attribute VB_Name = \"Breit\"\r\n")) << "W";
        QTest::newRow("no dot") << "Makefile" << QByteArray("x") << "Makefile";
        QTest::newRow("file name of 254 characters")
            << QString(250, 'n') + ".bas" << QByteArray("x") << QString(250, 'n');
    }
    void addListsTheFileUnderItsName()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, listed);
        Page p;
        const QString path = p.put(fileName, bytes);
        p.openPage();
        p.w->ui.LDateien->item(0)->setCheckState(Qt::Checked); // the stored marks come back
        p.add(path);
        QVERIFY(p.lines().contains(listed));
        QVERIFY(p.lines().contains("Alpha"));
        QVERIFY(p.lines().contains("Root [x]"));
        QCOMPARE(p.current(), listed);
        QCOMPARE(p.w->focusWidget(), p.w->ui.LDateien);
        QVERIFY(!p.w->ui.Map2->isHidden()); // the page stays
        QCOMPARE(p.read("Filename", listed), fileName);
        QCOMPARE(p.read("Filepath", listed), p.v);
        QCOMPARE(TestFolder::read(path), bytes);
        QVERIFY(!QFile::exists(path + ".bak"));
        QVERIFY(p.desk.messages.isEmpty());
    }

    // The whole file after an addition, an overwrite and a removal.
    void catalogueBytesAfterAddOverwriteRemove()
    {
        Page p;
        const QString haupt = p.put("Haupt.frm", "Attribute VB_Name = \"Haupt\"\r\n");
        const QString w = p.t.path() + "/w/";
        const QString other = p.t.write("w/root.frm", "Attribute VB_Name = \"Root\"\r\n");
        const QByteArray rootFile = TestFolder::read(p.v + "root.frm");
        p.openPage();

        p.add(haupt);
        QCOMPARE(
            p.t.catalogBytes(),
            TestFolder::crlf({"[Filepath]", "Alpha=" + p.v, "Root=" + p.v, "Haupt=" + p.v,
                              "[Filename]", "Alpha=Alpha.bas", "Root=root.frm", "Haupt=Haupt.frm",
                              "[Marked]", "Root=1", "[Caption]", "Root=Startformular", "[Filelist]",
                              "100=Alpha", "101=Haupt", "102=Root"}));
        QCOMPARE(p.lines(), QStringList({"Alpha", "Haupt", "Root [x]"}));

        p.desk.answers.enqueue(QMessageBox::Yes);
        p.add(other);
        QCOMPARE(p.desk.messages.size(), 1);
        QCOMPARE(p.desk.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(p.desk.messages[0].title, kAddTitle);
        QCOMPARE(p.desk.messages[0].text,
                 QString("Das Formular oder Module ist bereits in der Liste vorhanden. \n"
                         "Möchten Sie den aktuellen Eintrag überschreiben ?"));
        QCOMPARE(p.desk.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(
            p.t.catalogBytes(),
            TestFolder::crlf({"[Filepath]", "Alpha=" + p.v, "Root=" + w, "Haupt=" + p.v,
                              "[Filename]", "Alpha=Alpha.bas", "Root=root.frm", "Haupt=Haupt.frm",
                              "[Marked]", "Root=1", "[Caption]", "Root=Startformular", "[Filelist]",
                              "100=Alpha", "101=Haupt", "102=Root"}));
        QCOMPARE(p.lines(), QStringList({"Alpha", "Haupt", "Root [x]"}));
        QCOMPARE(p.current(), QString("Root"));

        p.select("Root");
        p.desk.answers.enqueue(QMessageBox::Ok);
        p.remove();
        QCOMPARE(p.desk.messages.size(), 2);
        QCOMPARE(p.desk.messages[1].title, kRemoveTitle);
        QCOMPARE(p.desk.messages[1].text, removeQuestion("Root"));
        QCOMPARE(p.desk.messages[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(p.t.catalogBytes(),
                 TestFolder::crlf({"[Filepath]", "Alpha=" + p.v, "Haupt=" + p.v, "[Filename]",
                                   "Alpha=Alpha.bas", "Haupt=Haupt.frm", "[Marked]", "[Caption]",
                                   "[Filelist]", "100=Alpha", "101=Haupt"}));
        QCOMPARE(p.lines(), QStringList({"Alpha", "Haupt"}));
        QCOMPARE(p.w->focusWidget(), p.w->ui.LDateien);
        QCOMPARE(TestFolder::read(p.v + "root.frm"), rootFile); // the file stays
        QVERIFY(QFile::exists(other));
    }

    void duplicateAnsweredNoChangesNothing()
    {
        Page p;
        const QString other = p.t.write("w/Zweit.frm", "Attribute VB_Name = \"Alpha\"\r\n");
        p.openPage();
        p.select("Root");
        const QByteArray before = p.t.catalogBytes();
        p.desk.answers.enqueue(QMessageBox::No);
        p.add(other);
        QCOMPARE(p.desk.messages.size(), 1);
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.current(), QString("Alpha"));
    }

    // Letter case does not make a second entry: Yes replaces the one there.
    void duplicateInOtherLetterCaseReplacesTheEntry()
    {
        Page p;
        const QString w = p.t.path() + "/w/";
        const QString other = p.t.write("w/Start.frm", "Attribute VB_Name = \"ROOT\"\r\n");
        p.openPage();
        p.desk.answers.enqueue(QMessageBox::Yes);
        p.add(other);
        QCOMPARE(p.lines(), QStringList({"Alpha", "ROOT [x]"}));
        QCOMPARE(p.t.catalogBytes(),
                 TestFolder::crlf({"[Filepath]", "Alpha=" + p.v, "Root=" + w, "[Filename]",
                                   "Alpha=Alpha.bas", "Root=Start.frm", "[Marked]", "Root=1",
                                   "[Caption]", "Root=Startformular", "[Filelist]", "100=Alpha",
                                   "101=ROOT"}));
    }

    void module1IsRenamedAfterTheFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("listed");
        QTest::newRow("CR LF")
            << "Rechner.bas" << QByteArray("Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n")
            << QByteArray("Attribute VB_Name = \"Rechner\"\r\nOption Explicit\r\n") << "Rechner";
        QTest::newRow("LF and code-page bytes kept")
            << "Rechner.bas"
            << QByteArray("Attribute VB_Name = \"Module1\"\n' Gr\xfc\xdf"
                          "e\n")
            << QByteArray("Attribute VB_Name = \"Rechner\"\n' Gr\xfc\xdf"
                          "e\n")
            << "Rechner";
        QTest::newRow("one line without line break")
            << "Rechner.BAS" << QByteArray("Attribute VB_Name = \"Module1\"")
            << QByteArray("Attribute VB_Name = \"Rechner\"") << "Rechner";
        QTest::newRow("own spelling and blanks kept")
            << "Rechner.bas" << QByteArray("attribute vb_name=\"Module1\"  \r\nSub A()\r\n")
            << QByteArray("attribute vb_name=\"Rechner\"  \r\nSub A()\r\n") << "Rechner";
        QTest::newRow("umlaut file name in the code page")
            << "Größe.bas" << QByteArray("Attribute VB_Name = \"Module1\"\r\n")
            << QByteArray("Attribute VB_Name = \"Gr\xf6\xdf"
                          "e\"\r\n")
            << "Größe";
    }
    void module1IsRenamedAfterTheFile()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, listed);
        Page p;
        const QString path = p.put(fileName, before);
        p.openPage();
        p.desk.answers.enqueue(QMessageBox::Ok);
        p.add(path);
        QCOMPARE(TestFolder::read(path), after);
        QCOMPARE(TestFolder::read(path + ".bak"), before);
        QCOMPARE(p.current(), listed);
        QCOMPARE(p.read("Filename", listed), fileName);
        QCOMPARE(p.desk.messages.size(), 1);
        QCOMPARE(p.desk.messages[0].icon, QMessageBox::Information);
        QCOMPARE(p.desk.messages[0].title, kAddTitle);
        QCOMPARE(p.desk.messages[0].text,
                 "Die interne Bezeichnung des Moduls wurde in den Dateinamen geändert.    \n"
                 "Eine Sicherung wurde unter ''" +
                     fileName + ".bak'' angelegt.");
        QCOMPARE(p.desk.messages[0].buttons, QMessageBox::Ok);
    }

    void module1NotInAWellFormedFirstLineStays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("attribute in the second line")
            << QByteArray("Option Explicit\r\nAttribute VB_Name = \"Module1\"\r\n");
        QTest::newRow("text behind the quote")
            << QByteArray("Attribute VB_Name = \"Module1\" ' alt\r\n");
    }
    void module1NotInAWellFormedFirstLineStays()
    {
        QFETCH(QByteArray, bytes);
        Page p;
        const QString path = p.put("Rechner.bas", bytes);
        p.openPage();
        p.add(path);
        QCOMPARE(TestFolder::read(path), bytes);
        QVERIFY(!QFile::exists(path + ".bak"));
        QCOMPARE(p.current(), QString("Module1"));
        QVERIFY(p.desk.messages.isEmpty());
    }

    void failedRepairKeepsTheFileAndSaysSo()
    {
        const QByteArray before("Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n");
        {
            // The backup cannot be written: the module is not touched.
            Page p;
            const QString path = p.put("Rechner.bas", before);
            p.put("Rechner.bas.bak/inside", "x");
            p.openPage();
            p.desk.answers.enqueue(QMessageBox::Ok);
            p.add(path);
            QCOMPARE(TestFolder::read(path), before);
            QCOMPARE(p.desk.messages.size(), 1);
            QCOMPARE(p.desk.messages[0].icon, QMessageBox::Warning);
            QVERIFY(p.desk.messages[0].text.startsWith("Die Sicherung ''" + path + ".bak''"));
            QCOMPARE(p.current(), QString("Module1"));
        }
        {
            // The rewrite fails after a complete backup; the catalogue cannot be
            // written either, and nothing is reported as done.
            Page p;
            const QString path = p.put("Rechner.bas", before);
            p.openPage();
            const QByteArray catalogue = p.t.catalogBytes();
            {
                Faults faults(before.size());
                p.desk.answers.enqueue(QMessageBox::Ok);
                p.desk.answers.enqueue(QMessageBox::Ok);
                p.add(path);
            }
            QCOMPARE(TestFolder::read(path), before);
            QCOMPARE(TestFolder::read(path + ".bak"), before);
            QCOMPARE(p.t.catalogBytes(), catalogue);
            QCOMPARE(p.desk.messages.size(), 2);
            QVERIFY(p.desk.messages[0].text.startsWith("Die Datei ''" + path + "''"));
            QVERIFY(p.desk.messages[0].text.endsWith("bleibt ''Module1''."));
            QVERIFY(p.desk.messages[1].text.startsWith("Die Vorlagenliste"));
            for (const auto& message : p.desk.messages)
                QCOMPARE(message.icon, QMessageBox::Warning);
            QCOMPARE(p.lines(), QStringList({"Alpha", "Root [x]"}));
        }
    }

    void fullCatalogueRefusesNewNames()
    {
        QStringList lines{"[Filelist]"}, paths{"[Filepath]"}, names{"[Filename]"};
        Page p;
        for (int k = 100; k <= 200; ++k) {
            const QString name = "K" + QString::number(k);
            p.put(name + ".bas", "x");
            lines << QString::number(k) + "=" + name;
            paths << name + "=" + p.v;
            names << name + "=" + name + ".bas";
        }
        p.t.writeCatalog(lines + paths + names);
        const QByteArray module("Attribute VB_Name = \"Module1\"\r\n");
        const QString neu = p.put("Neu.bas", module);
        p.openPage();
        const QByteArray before = p.t.catalogBytes();
        p.desk.answers.enqueue(QMessageBox::Ok);
        p.add(neu);
        QCOMPARE(p.desk.messages.size(), 1);
        QCOMPARE(p.desk.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(p.desk.messages[0].title, kAddTitle);
        QCOMPARE(p.desk.messages[0].text, kFull);
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(TestFolder::read(neu), module);
        QVERIFY(!QFile::exists(neu + ".bak"));
        QCOMPARE(p.w->ui.LDateien->count(), 101);

        // A name that is listed already still has its place.
        const QString again = p.t.write("w/k200.bas", "Attribute VB_Name = \"k200\"\r\n");
        p.desk.answers.enqueue(QMessageBox::Yes);
        p.add(again);
        QCOMPARE(p.desk.messages.size(), 2);
        QCOMPARE(p.read("Filepath", "K200"), p.t.path() + "/w/");
        QCOMPARE(p.read("Filelist", "200"), QString("k200"));
        QCOMPARE(p.w->ui.LDateien->count(), 101);
    }

    void fileNamesTheCatalogueCannotHoldAreRefused_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("why"); // a part of the reason given
        QTest::newRow("nothing before the dot") << ".bas"
                                                << "vor dem ersten Punkt";
        QTest::newRow("= in the file name") << "a=b.frm"
                                            << "''a=b''";
        QTest::newRow("line break in the file name") << "a\nb.frm"
                                                     << "Zeilenumbruch";
        QTest::newRow("blank at the end") << "Modul.bas "
                                          << "Leerzeichen";
        QTest::newRow("255 characters, the file system's limit") << QString(251, 'n') + ".bas"
                                                                 << "255 Zeichen zu lang";
    }
    void fileNamesTheCatalogueCannotHoldAreRefused()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, why);
        Page p;
        const QString path = p.put(fileName, "");
        p.openPage();
        const QByteArray before = p.t.catalogBytes();
        p.desk.answers.enqueue(QMessageBox::Ok);
        p.add(path);
        QCOMPARE(p.desk.messages.size(), 1);
        QCOMPARE(p.desk.messages[0].icon, QMessageBox::Warning);
        QVERIFY(p.desk.messages[0].text.contains(fileName.right(20) + "''"));
        QVERIFY2(p.desk.messages[0].text.contains(why), qPrintable(p.desk.messages[0].text));
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.lines(), QStringList({"Alpha", "Root [x]"}));
    }

    void whatIsNoFileIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        QTest::newRow("pipe") << "pipe";
        QTest::newRow("link loop") << "loop";
        QTest::newRow("vanished") << "vanished";
    }
    void whatIsNoFileIsRefused()
    {
        QFETCH(QString, kind);
        Page p;
        const QString path = p.v + "Ding.frm";
        if (kind == "folder")
            QDir().mkpath(path);
        else if (kind == "pipe")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (kind == "loop")
            QVERIFY(QFile::link(path, path));
        p.openPage();
        const QByteArray before = p.t.catalogBytes();
        p.desk.answers.enqueue(QMessageBox::Ok);
        p.add(path);
        QCOMPARE(p.desk.messages.size(), 1);
        QCOMPARE(p.desk.messages[0].icon, QMessageBox::Warning);
        QVERIFY(p.desk.messages[0].text.startsWith("''" + path + "'' kann nicht hinzugefügt"));
        QCOMPARE(p.t.catalogBytes(), before);
    }

    void companionMissingIsToldAfterTheAddition_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("companion"); // put beside it; empty: none
        QTest::addColumn<QString>("told");      // the missing one; empty: no message
        const QByteArray form("VERSION 5.00\r\nBegin VB.Form Haupt\r\n   Picture = "
                              "\"Haupt.frx\":0000\r\nEnd\r\nAttribute VB_Name = \"Haupt\"\r\n");
        QTest::newRow("form without its .frx") << "Haupt.frm" << form << ""
                                               << "Haupt.frx";
        QTest::newRow("form with its .frx") << "Haupt.frm" << form << "Haupt.frx"
                                            << "";
        QTest::newRow("upper-case companion") << "Haupt.frm" << form << "Haupt.FRX"
                                              << "";
        QTest::newRow("form that needs none")
            << "Haupt.frm" << QByteArray("Attribute VB_Name = \"Haupt\"\r\n") << ""
            << "";
        QTest::newRow("user control without its .ctx")
            << "Leiste.ctl"
            << QByteArray("VERSION 5.00\r\n   Picture = \"Leiste.ctx\":0A1F\r\n"
                          "Attribute VB_Name = \"Leiste\"\r\n")
            << ""
            << "Leiste.ctx";
    }
    void companionMissingIsToldAfterTheAddition()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, companion);
        QFETCH(QString, told);
        Page p;
        const QString path = p.put(fileName, bytes);
        if (!companion.isEmpty())
            p.put(companion, "binary");
        p.openPage();
        if (!told.isEmpty())
            p.desk.answers.enqueue(QMessageBox::Ok);
        p.add(path);
        QVERIFY(!p.read("Filelist", "102").isEmpty()); // added all the same
        if (told.isEmpty()) {
            QVERIFY(p.desk.messages.isEmpty());
            return;
        }
        QCOMPARE(p.desk.messages.size(), 1);
        QCOMPARE(p.desk.messages[0].icon, QMessageBox::Information);
        QCOMPARE(p.desk.messages[0].text,
                 "Die Datei ''" + fileName + "'' verweist auf ''" + told +
                     "'', die nicht neben ihr liegt.\nProjekte mit dieser Komponente lassen sich "
                     "so in Visual Basic nicht laden.");
    }

    void unwritableCatalogueIsReported()
    {
        Page p;
        const QString haupt = p.put("Haupt.frm", "Attribute VB_Name = \"Haupt\"\r\n");
        p.openPage();
        const QByteArray before = p.t.catalogBytes();
        const QString why = "Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.";
        {
            Faults faults(0);
            p.desk.answers.enqueue(QMessageBox::Ok);
            p.add(haupt);
            p.select("Alpha");
            p.desk.answers.enqueue(QMessageBox::Ok);
            p.desk.answers.enqueue(QMessageBox::Ok); // the warning
            p.remove();
        }
        QCOMPARE(p.desk.messages.size(), 3);
        QCOMPARE(p.desk.messages[0].title, kAddTitle);
        QCOMPARE(p.desk.messages[0].text, "Die Vorlagenliste ''" + p.t.catalog() +
                                              "'' konnte nicht gespeichert werden:\n" + why +
                                              "\nDie Komponente wurde nicht hinzugefügt.");
        QCOMPARE(p.desk.messages[2].title, kRemoveTitle);
        QCOMPARE(p.desk.messages[2].icon, QMessageBox::Warning);
        QCOMPARE(p.desk.messages[2].text, "Die Vorlagenliste ''" + p.t.catalog() +
                                              "'' konnte nicht gespeichert werden:\n" + why +
                                              "\nDie Komponente wurde nicht entfernt.");
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.lines(), QStringList({"Alpha", "Root [x]"}));
    }

    void catalogueThatCannotBeReplacedIsReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("write-protected file") << "protected";
        QTest::newRow("folder in its place") << "folder";
    }
    void catalogueThatCannotBeReplacedIsReported()
    {
        QFETCH(QString, kind);
        if (kind == "protected" && ::geteuid() == 0)
            QSKIP("the super-user writes every file");
        Page p;
        const QString haupt = p.put("Haupt.frm", "Attribute VB_Name = \"Haupt\"\r\n");
        if (kind == "folder") {
            QFile::remove(p.t.catalog());
            QDir().mkpath(p.t.catalog() + "/inside");
        } else {
            QFile::setPermissions(p.t.catalog(), QFile::ReadOwner);
        }
        p.openPage();
        const QStringList shown = p.lines();
        const QByteArray before = p.t.catalogBytes();
        p.desk.answers.enqueue(QMessageBox::Ok);
        p.add(haupt);
        QCOMPARE(p.desk.messages.size(), 1);
        QVERIFY(p.desk.messages[0].text.endsWith("\nDie Komponente wurde nicht hinzugefügt."));
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.lines(), shown);
        if (kind == "protected")
            QFile::setPermissions(p.t.catalog(), QFile::ReadOwner | QFile::WriteOwner);
    }

    // However early the disk gives up, the catalogue is the old or the new one.
    void oneChangeIsOneReplacement()
    {
        // The bytes with this run's folder taken out, to compare across runs.
        const auto bytes = [](const Page& p) {
            return p.t.catalogBytes().replace(p.t.path().toUtf8(), "@");
        };
        QByteArray added, removed;
        qint64 size = 0;
        {
            Page p;
            const QString haupt = p.put("Haupt.frm", "Attribute VB_Name = \"Haupt\"\r\n");
            p.openPage();
            p.add(haupt);
            added = bytes(p);
            size = p.t.catalogBytes().size();
            p.desk.answers.enqueue(QMessageBox::Ok);
            p.remove(); // Haupt is current
            removed = bytes(p);
        }
        for (const qint64 budget : {qint64(0), qint64(1), size / 2, size - 1, size, size + 1}) {
            Page p;
            const QByteArray before = bytes(p);
            const QString haupt = p.put("Haupt.frm", "Attribute VB_Name = \"Haupt\"\r\n");
            p.openPage();
            {
                Faults faults(budget);
                p.desk.answers.enqueue(QMessageBox::Ok);
                p.add(haupt);
            }
            const QByteArray now = bytes(p);
            QVERIFY2(now == before || now == added, qPrintable(QString::number(budget)));
            QCOMPARE(p.desk.messages.isEmpty(), now == added);
            if (now != added)
                continue;
            p.desk.answers.clear();
            p.select("Haupt");
            p.desk.answers.enqueue(QMessageBox::Ok);
            p.desk.answers.enqueue(QMessageBox::Ok);
            {
                Faults faults(budget);
                p.remove();
            }
            QVERIFY(bytes(p) == added || bytes(p) == removed);
            // The warning's answer is used only when the removal failed.
            QCOMPARE(p.desk.answers.size(), bytes(p) == removed ? 1 : 0);
            p.desk.answers.clear();
        }
    }

    // Another program changed the catalogue after the list was read: nothing is
    // changed, the message says what is there now, and the list shows the file.
    void entryChangedByAnotherProgram_data()
    {
        QTest::addColumn<QString>("file"); // to add; empty: Root is removed
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QStringList>("other"); // the catalogue as the other program left it
        QTest::addColumn<QString>("found");     // where the entry points now; empty: gone
        QTest::addColumn<QStringList>("listed");
        const QStringList alpha{"[Filelist]", "100=Alpha",  "[Filepath]",
                                "Alpha=@/v/", "[Filename]", "Alpha=Alpha.bas"};
        const QStringList moved{"[Filelist]",    "100=Alpha", "101=Root",   "[Filepath]",
                                "Alpha=@/v/",    "Root=@/w/", "[Filename]", "Alpha=Alpha.bas",
                                "Root=root.frm", "[Marked]",  "Root=1"};
        const QStringList added{"[Filelist]", "100=Alpha",       "101=Haupt",
                                "[Filepath]", "Alpha=@/v/",      "Haupt=@/w/",
                                "[Filename]", "Alpha=Alpha.bas", "Haupt=Haupt.frm"};
        QTest::newRow("removing what is gone")
            << ""
            << "Root" << true << alpha << "" << QStringList{"Alpha"};
        QTest::newRow("removing what points elsewhere")
            << ""
            << "Root" << true << moved << "@/w/root.frm" << QStringList{"Alpha", "Root [x]"};
        QTest::newRow("replacing what is gone")
            << "w/Start.frm"
            << "Root" << true << alpha << "" << QStringList{"Alpha"};
        QTest::newRow("adding a name listed meanwhile")
            << "v/Haupt.frm"
            << "Haupt" << false << added << "@/w/Haupt.frm" << QStringList{"Alpha", "Haupt"};
    }
    void entryChangedByAnotherProgram()
    {
        QFETCH(QString, file);
        QFETCH(QString, name);
        QFETCH(bool, asked);
        QFETCH(QStringList, other);
        QFETCH(QString, found);
        QFETCH(QStringList, listed);
        Page p;
        p.put("Haupt.frm", "Attribute VB_Name = \"Haupt\"\r\n");
        p.t.write("w/root.frm", "x");
        p.t.write("w/Haupt.frm", "x");
        p.t.write("w/Start.frm", "Attribute VB_Name = \"Root\"\r\n");
        p.openPage();
        p.t.writeCatalog(other.replaceInStrings("@", p.t.path()));
        const QByteArray before = p.t.catalogBytes();
        if (asked)
            p.desk.answers.enqueue(file.isEmpty() ? QMessageBox::Ok : QMessageBox::Yes);
        p.desk.answers.enqueue(QMessageBox::Ok);
        if (file.isEmpty()) {
            p.select("Root");
            p.remove();
        } else {
            p.add(p.t.file(file));
        }
        Catalog::Change change;
        change.status =
            found.isEmpty() ? Catalog::Change::Status::NotListed : Catalog::Change::Status::Moved;
        found.replace("@", p.t.path());
        change.found = {found.section('/', 0, -2) + '/', found.section('/', -1)};
        QCOMPARE(p.desk.messages.size(), asked ? 2 : 1);
        QCOMPARE(p.desk.messages.last().icon, QMessageBox::Warning);
        QVERIFY2(p.desk.messages.last().text.startsWith(
                     Catalog::changedMeanwhileText(name, change) + '\n'),
                 qPrintable(p.desk.messages.last().text));
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.lines(), listed);
        QVERIFY(!p.w->ui.Map2->isHidden());
    }

    void removeCancelledOrWithoutLineChangesNothing()
    {
        Page p;
        p.openPage();
        const QByteArray before = p.t.catalogBytes();
        p.desk.answers.enqueue(QMessageBox::Cancel);
        p.remove(); // Alpha is current
        QCOMPARE(p.desk.messages.size(), 1);
        QCOMPARE(p.desk.messages[0].text, removeQuestion("Alpha"));
        p.w->ui.LDateien->setCurrentRow(-1);
        p.remove();
        QCOMPARE(p.desk.messages.size(), 1); // nothing asked
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.lines(), QStringList({"Alpha", "Root [x]"}));
    }

    void removeTheEntryUnderKey200()
    {
        Page p;
        p.t.writeCatalog({"[Filelist]", "100=Alpha", "200=Root", "[Filepath]", "Alpha=" + p.v,
                          "Root=" + p.v, "[Filename]", "Alpha=Alpha.bas", "Root=root.frm"});
        p.openPage();
        p.select("Root");
        p.desk.answers.enqueue(QMessageBox::Ok);
        p.remove();
        QCOMPARE(p.lines(), QStringList({"Alpha"}));
        QCOMPARE(p.t.catalogBytes(),
                 TestFolder::crlf({"[Filepath]", "Alpha=" + p.v, "[Filename]", "Alpha=Alpha.bas",
                                   "[Filelist]", "100=Alpha"}));
    }

    void removedAndAddedAgainHasNoMarkNorDescription()
    {
        Page p;
        p.openPage();
        p.select("Root");
        p.desk.answers.enqueue(QMessageBox::Ok);
        p.remove();
        p.add(p.v + "root.frm");
        QCOMPARE(p.lines(), QStringList({"Alpha", "Root"}));
        QCOMPARE(p.read("Caption", "Root"), QString());
        QCOMPARE(p.w->ui.RCaption->text(), QString());
    }
};

QTEST_MAIN(tst_addremove)
#include "tst_addremove.moc"
