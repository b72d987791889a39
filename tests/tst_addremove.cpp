#include "catalog/AddRemove.h"
#include "editing/ComponentCommands.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/FullDevice.h"
#include "support/ShownWindow.h"
#include "ui/Widgets.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <sys/stat.h>

using Msg = QMessageBox;
using Status = Catalog::Change::Status;
using Msgs = QList<FakeDesktop::Message>;

const QString kAdd = " Formulare/Module hinzufügen";

// Adding files and removing entries: the core's plan, what the component page shows and saves.
class tst_addremove : public QObject
{
    Q_OBJECT

    // Alpha (Alpha.bas) and Root (root.frm, marked, described) in <test>/v/; Haupt.frm unlisted.
    struct Page : ShownWindow
    {
        QString v = t.file("v/"), haupt = put("Haupt.frm", "Attribute VB_Name = \"Haupt\"\r\n");
        Page()
        {
            put("Alpha.bas", "Attribute VB_Name = \"Alpha\"\r\n");
            put("root.frm", "VERSION 5.00\r\nAttribute VB_Name = \"Root\"\r\n");
            t.writeEntries(
                {{"Alpha", "v/Alpha.bas"}, {"Root", "v/root.frm", true, "Startformular"}});
        }
        void openPage() { open(), next(); }
        QString put(const QString& f, const QByteArray& b) const { return t.write("v/" + f, b); }
        // The file chosen in the open dialog, then the answers in order.
        void add(const QString& path, QList<Msg::StandardButton> answers = {})
        {
            desk.fileNames.enqueue(path);
            desk.answers.append(answers);
            QTest::mouseClick(w->ui.bHinzufuegen, Qt::LeftButton);
        }
        void remove(const QString& name, QList<Msg::StandardButton> answers = {Msg::Ok})
        {
            w->ui.LDateien->setCurrentItem(
                w->ui.LDateien->findItems(name, Qt::MatchExactly).value(0));
            desk.answers.append(answers);
            QTest::mouseClick(w->ui.bLoeschen, Qt::LeftButton);
        }
        QStringList lines() const { return ::lines(w->ui.LDateien); }
        QString current() const { return w->ui.LDateien->currentItem()->text(); }
        // Catalogue lines joined by '|', '@' for <test>/v/, as saved.
        QByteArray bytes(QString s) const { return TestFolder::crlf(s.replace('@', v).split('|')); }
    };

private slots:

    // A module still called Module1 is renamed after its file, with a backup.
    void planNamesTheEntry_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<bool>("renamed");      // Module1 in the file, in the code page
        QTest::addColumn<QString>("companion"); // put beside it; empty: none
        QTest::addColumn<QString>("told");      // the missing one
        const auto row = [](const char* tag, const QString& file, const QByteArray& bytes,
                            const QString& listed, bool renamed = false,
                            const QString& companion = {}, const QString& told = {}) {
            QTest::newRow(tag) << file << bytes << listed << renamed << companion << told;
        };
        const auto attr = [](const QByteArray& n) { return "Attribute VB_Name = \"" + n + '"'; };
        row("form", "Haupt-Datei.frm",
            "VERSION 5.00\r\nBegin VB.Form Haupt\r\n" + attr("Hauptform") + "\r\nX\r\n",
            "Hauptform");
        row("resource", "Bilder.v2.res", QByteArray("\0\0\0\x20\xff\xff", 6), "Bilder");
        row("module1 lower case", "Rechner.bas", attr("module1"), "module1");
        row("a form called Module1", "Haupt.frm", attr("Module1"), "Module1");
        row("blanks around = optional", "X.bas", "attribute vb_name=\"Kurz\"\r\n", "Kurz");
        row("no closing quote", "Datei.bas", "Attribute VB_Name = \"Offen\r\nO\"\r\n", "Datei");
        row("empty name", "Leer.bas", attr(""), "Leer");
        row("name with =", "Gleich.bas", attr("a=b"), "Gleich");
        row("name with ]", "Klammer.bas", attr("a]b"), "Klammer");
        row("name beginning with [", "Auf.bas", attr("[ab"), "Auf");
        row("name beginning with ;", "Semi.bas", attr(";ab"), "Semi");
        row("control character", "Steuer.bas", attr("a\x01z"), "Steuer");
        row("name of 255", "Lang.bas", attr(QByteArray(255, 'n')), "Lang");
        row("name of 254", "Lang.bas", attr(QByteArray(254, 'n')), QString(254, 'n'));
        row("binary", "Bin.frm", QByteArray("\x00\x01\x02\xfe\xff\r\n\x80", 8), "Bin");
        row("empty file", "Leer.ctl", "", "Leer");
        row("UTF-8 name", "U.frm", attr("\303\234bersicht"), "Übersicht");
        row("Module1 in a file the list cannot name", "a=b.bas", attr("Module1"), "Module1");
        row("code-page name", "C.frm", attr("\334bersicht"), "Übersicht");
        QStringEncoder utf16(QStringEncoder::Utf16LE);
        row("UTF-16", "W.frm", utf16(u"Attribute VB_Name = \"Breit\"\r\n"), "W");
        row("no dot", "Makefile", "x", "Makefile");
        row("file name of 254", QString(250, 'n') + ".bas", "x", QString(250, 'n'));
        row("Module1 CR LF", "R.bas", attr("Module1") + "\r\nOption Explicit\r\n", "R", true);
        row("Module1 LF, code page kept", "R.bas", attr("Module1") + "\n' Gr\374\337e\n", "R",
            true);
        row("Module1 alone, .BAS", "Rechner.BAS", attr("Module1"), "Rechner", true);
        row("Module1 own spelling", "R.bas", "attribute vb_name=\"Module1\"  \r\nSub A()", "R",
            true);
        row("Module1, umlaut file name", "Größe.bas", attr("Module1"), "Größe", true);
        row("Module1.bas", "Module1.bas", attr("Module1"), "Module1");
        row("Module1 in the second line", "Rechner.bas", "O\r\n" + attr("Module1"), "Module1");
        row("Module1, text behind the quote", "Rechner.bas", attr("Module1") + " ' alt", "Module1");
        const QByteArray form = "VERSION 5.00\r\nBegin VB.Form Haupt\r\n   Picture = "
                                "\"Haupt.frx\":0000\r\nEnd\r\n" +
                                attr("Haupt");
        row("form without its .frx", "Haupt.frm", form, "Haupt", false, {}, "Haupt.frx");
        row("form with its .frx", "Haupt.frm", form, "Haupt", false, "Haupt.frx");
        row("upper-case companion", "Haupt.frm", form, "Haupt", false, "Haupt.FRX");
        row("user control without its .ctx", "Leiste.ctl",
            "VERSION 5.00\r\n   Picture = \"Leiste.ctx\":0A1F\r\n" + attr("Leiste") + "\r\n",
            "Leiste", false, {}, "Leiste.ctx");
    }
    void planNamesTheEntry()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, listed);
        QFETCH(bool, renamed);
        QFETCH(QString, companion);
        QFETCH(QString, told);
        TestFolder t;
        const QString path = t.write("v/" + fileName, bytes);
        if (!companion.isEmpty())
            t.write("v/" + companion, "binary");
        const Catalog::AddPlan plan = Catalog::prepareAddition(path);
        QCOMPARE(plan.name, listed);
        QCOMPARE(plan.renamed, renamed);
        QCOMPARE(TestFolder::read(path + ".bak"), renamed ? bytes : QByteArray());
        QCOMPARE(TestFolder::read(path),
                 renamed ? bytes.replace("\"Module1\"", '"' + listed.toLatin1() + '"') : bytes);
        QCOMPARE(plan.missingCompanion, told);
    }

    void catalogueBytesAfterAddOverwriteRemove()
    {
        Page p;
        p.openPage();
        p.add(QString()); // the open dialog cancelled

        p.w->ui.LDateien->item(0)->setCheckState(Qt::Checked); // the stored marks come back
        p.add(p.haupt);
        const QString filename =
            "|[Filename]|Alpha=Alpha.bas|Root=root.frm|Haupt=Haupt.frm|"
            "[Marked]|Root=1|[Caption]|Root=Startformular|[Filelist]|100=Alpha|101=Haupt|102=";
        QCOMPARE(p.t.catalogBytes(),
                 p.bytes("[Filepath]|Alpha=@|Root=@|Haupt=@" + filename + "Root"));
        QCOMPARE(p.lines(), QStringList({"Alpha", "Haupt", "Root [x]"}));
        QCOMPARE(p.current(), QString("Haupt"));
        QCOMPARE(p.w->focusWidget(), p.w->ui.LDateien);

        // Letter case makes no second entry: Yes replaces the one there.
        p.add(p.t.write("w/Start.frm", "Attribute VB_Name = \"ROOT\"\r\n"), {Msg::Yes});
        QCOMPARE(p.desk.messages,
                 (Msgs{{Msg::Warning, kAdd, Catalog::duplicateQuestion(), Msg::Yes | Msg::No}}));
        QCOMPARE(p.t.catalogBytes(),
                 p.bytes("[Filepath]|Alpha=@|Root=" + p.t.file("w/") + "|Haupt=@" +
                         QString(filename).replace("root.frm", "Start.frm") + "ROOT"));
        QCOMPARE(p.lines(), QStringList({"Alpha", "Haupt", "ROOT [x]"}));
        // No keeps the catalogue and shows the entry; the module renamed on the way is still told.
        const QByteArray before = p.t.catalogBytes();
        p.add(p.t.write("w/Alpha.bas", "Attribute VB_Name = \"Module1\"\r\n"), {Msg::No, Msg::Ok});
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.current(), QString("Alpha"));
        QCOMPARE(p.desk.texts().last(), Catalog::renamedText("Alpha.bas"));
        // Cancelled or without a current line nothing is removed.
        p.remove("ROOT", {Msg::Cancel});
        p.remove({}, {}); // no current line, nothing asked: no answer is queued
        QCOMPARE(p.t.catalogBytes(), before);

        p.remove("ROOT");
        QCOMPARE(p.desk.messages.value(3),
                 (FakeDesktop::Message{Msg::Warning, " Formulare/Module entfernen",
                                       Catalog::removeQuestion("ROOT"), Msg::Ok | Msg::Cancel}));
        QCOMPARE(p.t.catalogBytes(),
                 p.bytes("[Filepath]|Alpha=@|Haupt=@|[Filename]|Alpha=Alpha.bas|"
                         "Haupt=Haupt.frm|[Marked]|[Caption]|[Filelist]|100=Alpha|101=Haupt"));
        QCOMPARE(p.lines(), QStringList({"Alpha", "Haupt"}));
        QCOMPARE(lines(p.w->ui.LSorted), QStringList({"Alpha", "Haupt"}));
        QCOMPARE(p.w->focusWidget(), p.w->ui.LDateien);

        // Added again: no mark, no description.
        p.add(p.v + "root.frm");
        QCOMPARE(p.lines(), QStringList({"Alpha", "Haupt", "Root"}));
        QCOMPARE(p.w->ui.RCaption->text(), QString());

        // Then the window says what the plan found: the renaming, the missing companion.
        p.add(p.put("Rechner.bas", "Attribute VB_Name = \"Module1\"\r\n"), {Msg::Ok});
        const QString form = p.put("Bild.frm", "VERSION 5.00\r\n   Picture = \"Bild.frx\":0000\r\n"
                                               "Attribute VB_Name = \"Bild\"\r\n");
        p.add(form, {Msg::Ok});
        QCOMPARE(p.lines(), QStringList({"Alpha", "Bild", "Haupt", "Rechner", "Root"}));
        QCOMPARE(p.desk.messages.mid(5),
                 (Msgs{{Msg::Information, kAdd, Catalog::renamedText("Rechner.bas")},
                       {Msg::Information, kAdd,
                        Catalog::companionText(Catalog::prepareAddition(form))}}));
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
            p.add(path, {Msg::Ok});
            QCOMPARE(TestFolder::read(path), before);
            QVERIFY(p.desk.messages.size() == 1 && p.desk.messages[0].icon == Msg::Warning &&
                    p.desk.messages[0].text.startsWith("Die Sicherung ''" + path + ".bak''"));
            QCOMPARE(p.current(), QString("Module1"));
        }
        // The rewrite fails after a whole backup, the catalogue's too: nothing is reported as done.
        Page p;
        const QString path = p.put("Rechner.bas", before);
        p.openPage();
        const QByteArray catalogue = p.t.catalogBytes();
        {
            DiskFull full(before.size());
            p.add(path, {Msg::Ok, Msg::Ok});
        }
        QCOMPARE(TestFolder::read(path), before);
        QCOMPARE(TestFolder::read(path + ".bak"), before);
        QCOMPARE(p.t.catalogBytes(), catalogue);
        const QStringList texts = p.desk.texts();
        QVERIFY(texts.size() == 2 && texts[0].startsWith("Die Datei ''" + path + "''") &&
                texts[0].endsWith("bleibt ''Module1''.") &&
                texts[1].startsWith("Die Vorlagendatei") &&
                p.desk.messages[1].icon == Msg::Warning);
        QCOMPARE(p.lines(), QStringList({"Alpha", "Root [x]"}));
    }

    // 101 entries: a new name is refused before Module1 is renamed, a listed one is replaced.
    void fullCatalogueRefusesNewNames()
    {
        QList<Entry> entries;
        for (int k = 100; k <= 200; ++k)
            entries.append({QString("K%1").arg(k), QString("v/K%1.bas").arg(k)});
        Page p;
        const QByteArray module("Attribute VB_Name = \"Module1\"\r\n");
        const QString neu = p.put("Neu.bas", module);
        p.t.writeEntries(entries);
        p.openPage();
        p.add(neu, {Msg::Ok});
        QCOMPARE(p.desk.messages, (Msgs{{Msg::Warning, kAdd, Catalog::fullText()}}));
        QVERIFY(Catalog::fullText().contains(QString(" %1 Komponenten.").arg(entries.size())));
        QCOMPARE(TestFolder::read(neu), module);
        QVERIFY(!QFile::exists(neu + ".bak"));

        p.add(p.t.write("w/k200.bas", "Attribute VB_Name = \"k200\"\r\n"), {Msg::Yes});
        QCOMPARE(ReadIniValue(p.t.catalog(), "Filepath", "K200"), p.t.file("w/"));
        QCOMPARE(ReadIniValue(p.t.catalog(), "Filelist", "200"), QString("k200"));
        QCOMPARE(p.w->ui.LDateien->count(), 101);
        QCOMPARE(Catalog::removeEntry("k200").status, Status::Done); // the last key
        p.t.writeEntries(entries.mid(0, 100));
        QCOMPARE(Catalog::prepareAddition(neu).refusal, QString());
    }

    void whatTheCatalogueCannotHoldIsRefused_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why"); // a part of the reason given
        const auto row = [](const char* tag, const QString& fileName, const char* why) {
            QTest::newRow(tag) << fileName << QString() << QString(why);
        };
        row("nothing before the dot", ".bas", "vor dem ersten Punkt");
        row("= in the file name", "a=b.frm", "''a=b''");
        row("line break in the file name", "a\nb.frm", "Zeilenumbruch");
        row("blank at the end", "Modul.bas ", "Leerzeichen");
        row("255 characters", QString(251, 'n') + ".bas", "255 Zeichen zu lang");
        // A companion goes with its component; names go into the Windows-1252 project file.
        row("a form's companion", "Haupt.FRX", "gehört zum Formular ''Haupt.frm'' daneben");
        row("a user control's companion alone", "Leiste.ctx",
            "gehört zu einem Benutzersteuerelement (.ctl)");
        row("entry name outside the code page", "中文.bas", "Der Name ''中文''");
        row("file name outside the code page", "Σ.res", "Ihr Dateiname enthält Zeichen außerhalb");
        // No file at all: a folder, a pipe, a link loop, nothing.
        for (const char* kind : {"folder", "pipe", "loop", "vanished"})
            QTest::newRow(kind) << "Ding.frm" << QString(kind) << "kann nicht hinzugefügt";
        // A path of up to 80 characters is shown whole, a longer one by its beginning and end.
        for (const char* length : {"80", "81"})
            QTest::newRow(length) << QString() << QString(length) << QString();
    }
    void whatTheCatalogueCannotHoldIsRefused()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, kind);
        QFETCH(QString, why);
        TestFolder t;
        t.write("v/Haupt.frm", "x");     // the form beside its companion
        const int length = kind.toInt(); // '=' in the name the file gives: refused
        if (length)
            fileName = "=" + QString(length - t.path().size() - 8, 'x') + ".bas";
        const QString path = t.file("v/" + fileName);
        if (kind.isEmpty() || length)
            t.write("v/" + fileName, "");
        else if (kind == "folder")
            QDir().mkpath(path);
        else if (kind == "pipe")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (kind == "loop")
            QVERIFY(QFile::link(path, path));
        const QString refusal = Catalog::prepareAddition(path).refusal;
        QVERIFY2(refusal.contains(why), qPrintable(refusal));
        const QString shown = length == 81 ? path.left(37) + "..." + path.right(40) : path;
        QVERIFY2(refusal.contains(kind.isEmpty() ? fileName.right(20) + "''" : "''" + shown + "''"),
                 qPrintable(refusal));
    }

    // A full disk, then a folder in the catalogue's place: what was not saved is said; all stays.
    void unwritableCatalogueIsReported()
    {
        Page p;
        p.openPage();
        const QByteArray before = p.t.catalogBytes();
        const QString why = "Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.";
        {
            DiskFull full;
            p.add(p.haupt, {Msg::Ok});
            p.remove("Alpha", {Msg::Ok, Msg::Ok});
        }
        const QString head =
            "Die Vorlagendatei ''" + p.t.catalog() + "'' konnte nicht gespeichert werden. ";
        QCOMPARE(p.desk.texts(),
                 QStringList({head + "Die Komponente wurde nicht hinzugefügt.\n" + why,
                              Catalog::removeQuestion("Alpha"),
                              head + "Die Komponente ''Alpha'' wurde nicht entfernt.\n" + why}));
        QCOMPARE(p.desk.messages[2].icon, Msg::Warning);
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.lines(), QStringList({"Alpha", "Root [x]"}));

        QFile::remove(p.t.catalog());
        QDir().mkpath(p.t.catalog() + "/inside");
        p.desk.answers.enqueue(Msg::Ok); // said once at start-up
        p.openPage();
        const QStringList shown = p.lines();
        p.add(p.haupt, {Msg::Ok});
        QVERIFY(p.desk.texts().last().contains(" Die Komponente wurde nicht hinzugefügt.\n"));
        QVERIFY(QFileInfo(p.t.catalog()).isDir());
        QCOMPARE(p.lines(), shown);
    }

    // Changed by another program since read: nothing is changed, what is there now is said and
    // shown.
    void entryChangedByAnotherProgram_data()
    {
        QTest::addColumn<QString>("file"); // to add; empty: Root is removed
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found"); // in w/, listed by the other program; empty: gone
        QTest::addColumn<QStringList>("listed");
        const auto row = [](const char* tag, const char* file, const char* name, const char* found,
                            const QStringList& listed) {
            QTest::newRow(tag) << QString(file) << QString(name) << QString(found) << listed;
        };
        row("removing what is gone", "", "Root", "", {"Alpha"});
        row("removing what points elsewhere", "", "Root", "root.frm", {"Alpha", "Root [x]"});
        row("replacing what is gone", "w/Start.frm", "Root", "", {"Alpha"});
        row("adding a name listed meanwhile", "v/Haupt.frm", "Haupt", "Haupt.frm",
            {"Alpha", "Haupt"});
    }
    void entryChangedByAnotherProgram()
    {
        QFETCH(QString, file);
        QFETCH(QString, name);
        QFETCH(QString, found);
        QFETCH(QStringList, listed);
        Page p;
        p.t.write("w/Start.frm", "Attribute VB_Name = \"Root\"\r\n");
        p.openPage();
        QList<Entry> other{{"Alpha", "v/Alpha.bas"}};
        if (!found.isEmpty())
            other.append({name, "w/" + found, name == "Root"});
        p.t.writeEntries(other);
        const QByteArray before = p.t.catalogBytes();
        const bool asked = name == "Root"; // removing or replacing
        if (file.isEmpty())
            p.remove("Root", {Msg::Ok, Msg::Ok});
        else
            p.add(p.t.file(file), asked ? QList{Msg::Yes, Msg::Ok} : QList{Msg::Ok});
        Catalog::Change change;
        change.status = found.isEmpty() ? Status::NotListed : Status::Moved;
        change.found = {p.t.file("w/"), found};
        QCOMPARE(p.desk.messages.size(), asked ? 2 : 1);
        QCOMPARE(p.desk.messages.last().icon, Msg::Warning);
        const QString text = p.desk.messages.last().text;
        QVERIFY2(text.startsWith(Catalog::changedMeanwhileText(name, change) + '\n') &&
                     text.endsWith(ComponentCommands::kReread),
                 qPrintable(text));
        QCOMPARE(p.w->focusWidget(), p.w->ui.LDateien);
        QCOMPARE(p.t.catalogBytes(), before);
        QCOMPARE(p.lines(), listed);
        QVERIFY(!p.w->ui.Map2->isHidden());
    }
};

QTEST_MAIN(tst_addremove)
#include "tst_addremove.moc"