#include "catalog/Catalog.h"
#include "catalog/Selection.h"
#include "generate/Checks.h"
#include "generate/Finishing.h"
#include "generate/Generation.h"
#include "platform/FileIo.h"
#include "platform/IniDocument.h"
#include "platform/Registry.h"
#include "support/Recorder.h"
#include "support/Rows.h"

#include <QDir>
#include <QTest>

using namespace Generate;

namespace {

const QString kOle =
    "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation";
const QString kComctl = "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX";

QStringList listed(const QList<Failure>& failures)
{
    QStringList lines;
    for (const Failure& failure : failures)
        lines << failure.file + ": " + failure.reason;
    return lines;
}

// Haupt (with Haupt.frx) and Modul, listed unsorted, an earlier mark on Alt and a
// template; the project Kunde goes into <test>/P/Kunde, marks and folder kept.
struct Project
{
    TestFolder t;
    Request request;
    Project()
    {
        t.write("src/Haupt.frm", "VERSION 5.00\r\n");
        t.write("src/Haupt.frx", "x");
        t.write("src/Modul.bas", "Attribute VB_Name = \"Modul\"\r\n");
        writeEntries(t, {"Modul=Modul.bas", "Haupt=Haupt.frm"}, {"[Marked]", "Alt=1"});
        t.write("bin/QvStandard.bpv", "Type=Exe\r\n");
        request = ::request({"Haupt", "Modul"}, t.file("P"));
        request.subfolder = true;
        request.saveMarks = true;
        request.rememberFolder = true;
    }
    QString project(const QString& file = {}) const { return t.file("P/Kunde/" + file); }
};

} // namespace

class tst_generate : public QObject
{
    Q_OBJECT
private slots:
    void copyCases_data()
    {
        // Comma-separated lists; entries "name=file", unchecked when "!name=file".
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("present"); // in the source folder
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("startForm");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QStringList>("failures");
        QStringList bad;
        for (const char* name : {"../x.frm", "sub/x.frm", "a\\b.frm", ".", ".."})
            bad << QString::fromUtf8(name) + ": " + Catalog::kBadFileName;
        bad << "F: " + Catalog::kNoFileName;

        row("worked example", "Hilfsmodul=Hilfsmodul.bas,Haupt=Haupt.frm,Daten=Daten.res",
            "Hilfsmodul.bas,Haupt.frm,Haupt.frx,Daten.res",
            "Module=Hilfsmodul; Hilfsmodul.bas|Form=Haupt.frm|ResFile32=\"Daten.res\"|", "Haupt",
            "Daten.res,Haupt.frm,Haupt.frx,Hilfsmodul.bas", QStringList());
        row("upper checked form starts, unchecked left out, root.frm starts as Root",
            "!Neben=Neben.frm,Zweit=Zweit.frm,W=root.frm", "Neben.frm,Zweit.frm,root.frm",
            "Form=Zweit.frm|Form=root.frm|", "Root", "Zweit.frm,root.frm", QStringList());
        row("missing file keeps its line and is reported", "Haupt=Haupt.frm", "", "Form=Haupt.frm|",
            "Haupt", "", QStringList{"Haupt.frm: " + Reason::kSourceMissing});
        row("file names that leave the project folder, or none",
            "A=../x.frm,B=sub/x.frm,C=a\\b.frm,D=.,E=..,F=", "../x.frm,sub/x.frm,a\\b.frm", "", "",
            "", bad);
    }
    void copyCases()
    {
        QFETCH(QString, entries);
        QFETCH(QString, present);
        QFETCH(QString, lines);
        QFETCH(QString, startForm);
        QFETCH(QString, copied);
        QFETCH(QStringList, failures);
        TestFolder t;
        QStringList names, checked;
        for (const QString& entry : entries.split(',')) {
            names << entry.section('=', 0, 0).remove('!');
            if (!entry.startsWith('!'))
                checked << names.last();
        }
        writeEntries(t, entries.remove('!').split(','), {"[Marked]", "Alt=1"});
        for (const QString& file : present.split(',', Qt::SkipEmptyParts))
            t.write("src/" + file, file.toUtf8());
        const QString folder = t.file("out/Kunde");
        QDir().mkpath(folder);
        Request request = ::request(checked, folder);
        request.saveMarks = true;
        Generation generation(request);
        QCOMPARE(generation.plan().projectLines, lines.replace('|', "\r\n"));
        QCOMPARE(generation.plan().startForm, startForm);
        const Outcome outcome = Recorder().run(generation);
        QMap<QString, QByteArray> expected;
        for (const QString& file : copied.split(',', Qt::SkipEmptyParts))
            expected.insert(file, file.toUtf8());
        auto inFolder = contents(folder);
        QVERIFY(inFolder.remove("Kunde.vorlagen"));
        QCOMPARE(inFolder, expected);
        QCOMPARE(listed(outcome.failures), failures);
        // Marks rebuilt: every checked line, copied or not; the earlier mark is gone.
        const Catalog::Snapshot after = Catalog::Snapshot::read();
        QStringList marked;
        for (const QString& name : names + QStringList{"Alt"})
            if (after.isMarked(name))
                marked << name;
        QCOMPARE(marked, checked);
    }

    // An older copy is replaced and nothing of the run is left beside it, the
    // component folder as project folder keeps its file whole, missing parents are
    // created, a folder below a file is reported; no marks without the option.
    void copyTargets()
    {
        TestFolder t;
        writeEntries(t, {"Haupt=Haupt.frm"}, {"[Marked]", "Alt=1"});
        t.write("src/Haupt.frm", "neu");
        t.write("out/Haupt.frm", "alt und länger");
        t.write("bin/QvStandard.bpv", "Type=Exe\r\n");
        for (const char* folder : {"out", "src", "Neu/A/B"}) {
            QVERIFY(Recorder().run(request({"Haupt"}, t.file(folder))).failures.isEmpty());
            QCOMPARE(contents(t.file(folder)).keys(),
                     QStringList({"Haupt.frm", "Kunde.vbp", "Kunde.vbw", "Kunde.vorlagen"}));
            QCOMPARE(TestFolder::read(t.file(folder) + "/Haupt.frm"), QByteArray("neu"));
        }
        QVERIFY(Catalog::Snapshot::read().isMarked("Alt"));
        QVERIFY(!Catalog::Snapshot::read().isMarked("Haupt"));

        t.write("src/Haupt.frx", "x");
        const Outcome outcome = Recorder().run(request({"Haupt"}, t.write("afile", "D") + "/sub"));
        const QString noFolder = FileIo::reasonFor(ENOTDIR);
        QCOMPARE(listed(outcome.failures),
                 QStringList({"Haupt.frm: " + Reason::kNoFolder, "Haupt.frx: " + Reason::kNoFolder,
                              "Kunde.vbp: " + noFolder, "Kunde.vbw: " + noFolder,
                              "Kunde.vorlagen: " + noFolder}));
    }

    // MyDocs only with merkeOrdner and a name (stored then: see sequence); Folder
    // and Viewer every time.
    void options()
    {
        Ini::Document d = Ini::Document::fromBytes("[Option]\r\nMyDocs=/alt/\r\n");
        const auto stored = [&](const char* key) { return Catalog::Snapshot(d).option(key); };
        QVERIFY(rememberOptions(d, false, "Kunde", "/p/P", false, true));
        QCOMPARE(stored("MyDocs"), QString("/alt/"));
        QCOMPARE(stored("Folder") + stored("Viewer"), "01");
        QVERIFY(rememberOptions(d, true, "", "/p/P", true, false));
        QCOMPARE(stored("MyDocs"), QString("/alt/"));
    }

    // The steps in their order, and what the run has to tell, when all goes well,
    // and when every write fails. The outcome lists every failure.
    // Each file, the catalogue too, is written once: the bytes of a first run's
    // files are enough for a second.
    void sequence_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::newRow("all well") << QString();
        QTest::newRow("written once") << QString("once");
        QTest::newRow("full disk") << QString("full");
    }
    void sequence()
    {
        QFETCH(QString, condition);
        Project p;
        const QByteArray catalogue = p.t.catalogBytes();
        if (condition.isEmpty()) { // a killed run's copy goes; a fresh one may still be filled
            QFile old(p.t.write("P/Kunde/.Haupt.frm.tmp-Ab12Cd", "x"));
            QVERIFY(old.open(QIODevice::ReadWrite));
            QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-61),
                                    QFileDevice::FileModificationTime));
            p.t.write("P/Kunde/.Modul.bas.tmp-Xy34Zw", "y");
        }
        if (condition == "full")
            FileIo::failWritesAfter(0);
        if (condition == "once") {
            Recorder().run(p.request);
            qint64 bytes = p.t.catalogBytes().size();
            for (const QByteArray& file : contents(p.project()))
                bytes += file.size();
            QVERIFY(QDir(p.t.file("P")).removeRecursively());
            QVERIFY(FileIo::writeFileAtomically(p.t.catalog(), catalogue).ok());
            FileIo::failWritesAfter(bytes);
        }
        Recorder recorder;
        const Outcome outcome = recorder.run(p.request);
        FileIo::clearFaults();
        QCOMPARE(recorder.said, QStringList({"Copies", "Marks", "ProjectFiles", "CleanUp",
                                             "Options", "SortedList", "sorted Haupt,Modul"}));
        QVERIFY(!outcome.templateMissing);
        if (condition == "full") {
            // Each save of the catalogue failed, said in the run's order; every file named.
            QStringList told, failed;
            for (const auto what :
                 {Catalog::Unsaved::Marks, Catalog::Unsaved::Options, Catalog::Unsaved::List})
                told << Catalog::notSavedText(what, FileIo::Result::failure(ENOSPC));
            for (const char* file : {"Haupt.frm", "Haupt.frx", "Modul.bas", "Kunde.vbp",
                                     "Kunde.vbw", "Kunde.vorlagen"})
                failed << QString(file) + ": " + FileIo::reasonFor(ENOSPC);
            QCOMPARE(outcome.messages(), told << failureReport(outcome.failures));
            QCOMPARE(listed(outcome.failures), failed);
            QVERIFY(!QFileInfo::exists(p.t.file("P"))); // made by the run, left empty
            QCOMPARE(p.t.catalogBytes(), catalogue);
            return;
        }
        QVERIFY(outcome.messages().isEmpty());
        QStringList made{"Haupt.frm", "Haupt.frx",      "Kunde.vbp",
                         "Kunde.vbw", "Kunde.vorlagen", "Modul.bas"};
        for (const QString& file : made)
            QVERIFY(outcome.written.contains(p.project(file)));
        if (condition.isEmpty())
            made.prepend(".Modul.bas.tmp-Xy34Zw");
        QCOMPARE(contents(p.project()).keys(), made);
        const Catalog::Snapshot after = Catalog::Snapshot::read();
        QCOMPARE(after.listedName(100), QString("Haupt")); // sorted
        QCOMPARE(after.option("MyDocs"), p.t.file("P/"));
        QCOMPARE(after.option("Folder") + after.option("Viewer"), "10");
    }

    // The entries' remembered lines reach the project file, run and preview alike:
    // the template's own first, references before objects, none twice, a line
    // stored in two pieces whole. Lines the template has already, or lines kept
    // for another file than the entry's now, leave the bytes as they were.
    void rememberedReferences_data()
    {
        QTest::addColumn<QStringList>("section");
        QTest::addColumn<QString>("added"); // before the component lines
        const QString ado = "Reference=*\\G{00000200-0000-0010-8000-00AA006D2EA4}#2.0#0#C:\\" +
                            QString("Programme\\").repeated(30) + "msado20.tlb#ADO";
        const QString dao = "Reference=*\\G{00025E01-0000-0000-C000-000000000046}#5.0#0#dao#DAO";
        const QString grid = "Object={5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0; MSFLXGRD.OCX";
        const QString oleAgain = "reference=*\\G{00020430-0000-0000-c000-000000000046}#2.0#0#b#X";
        row("merged",
            QStringList{"Haupt.0=Haupt.frm", "Haupt.1=" + oleAgain, "Haupt.2=" + ado.left(254),
                        "Haupt.2-2=" + ado.mid(254), "Haupt.3=" + grid, "Modul.0=Modul.bas",
                        "Modul.1=" + ado.left(60), "Modul.2=" + dao},
            QString(kOle + "|" + ado + "|" + dao + "|" + kComctl + "|" + grid + "|"));
        row("only the template's lines", QStringList{"Haupt.0=Haupt.frm", "Haupt.1=" + oleAgain},
            QString());
        row("kept for another file", QStringList{"Haupt.0=Alt.frm", "Haupt.1=" + dao}, QString());
    }
    void rememberedReferences()
    {
        QFETCH(QStringList, section);
        QFETCH(QString, added);
        TestFolder t;
        t.write("src/Haupt.frm", "VERSION 5.00\r\n");
        t.write("src/Modul.bas", "x");
        const QString tail = "|[MS Transaction Server]|" + kOle + "|"; // not the main part
        const QString own = kOle + "|HelpFile=\"\"|" + kComctl + "|";
        t.write("bin/QvStandard.bpv", bar(("Type=Exe|" + own + tail).toLatin1()));
        writeEntries(t, {"Haupt=Haupt.frm", "Modul=Modul.bas"},
                     QStringList{"[References]"} + section);
        Generation generation(request({"Haupt", "Modul"}, t.file("P")));
        const Preview preview = generation.preview();
        Recorder().run(generation);
        const QString components = "Form=Haupt.frm|Module=Modul; Modul.bas|Startup=\"Haupt\"|"
                                   "IconForm=\"Haupt\"|Name=\"Kunde\"|";
        const QByteArray vbp =
            bar((added.isEmpty() ? "Type=Exe|" + components + own + tail
                                 : "Type=Exe|" + added + components + "HelpFile=\"\"|" + tail)
                    .toLatin1());
        QCOMPARE(TestFolder::read(t.file("P/Kunde.vbp")), vbp);
        QCOMPARE(preview.texts.project, vbp);
    }

    // A stop when any step starts, or while the list is saved, takes the run back:
    // the older files, the catalogue and the folders are as they were.
    void stopLeavesWhatWasThere_data()
    {
        QTest::addColumn<int>("step"); // past the last: while the sorted list is saved
        QTest::addColumn<bool>("folderExisted");
        for (int step = 0; step <= int(Step::SortedList) + 1; ++step) {
            const QString at = step <= int(Step::SortedList) ? Recorder::name(Step(step))
                                                             : QString("the list's save");
            for (const bool existed : {false, true})
                QTest::addRow("%s, %s", qPrintable(at), existed ? "older project" : "new folder")
                    << step << existed;
        }
    }
    void stopLeavesWhatWasThere()
    {
        QFETCH(int, step);
        QFETCH(bool, folderExisted);
        Project p;
        if (folderExisted) {
            p.t.write("P/Kunde/Haupt.frm", "alt");
            p.t.write("P/Kunde/Kunde.vbp", "alt vbp");
            p.t.write("P/Kunde/fremd.txt", "bleibt");
        }
        const auto before = contents(p.project());
        const QByteArray catalogue = p.t.catalogBytes();
        Recorder recorder;
        if (step <= int(Step::SortedList))
            recorder.stopAt = Step(step);
        else
            recorder.stopAtSortedList = true;
        const Outcome outcome = recorder.run(p.request);
        QVERIFY(outcome.stopped && outcome.failures.isEmpty() && outcome.written.isEmpty());
        QCOMPARE(contents(p.project()), before);
        QCOMPARE(QFileInfo::exists(p.t.file("P")), folderExisted);
        QCOMPARE(p.t.catalogBytes(), catalogue);
        // Nothing after the stop: the step it came at is the last one told.
        QCOMPARE(recorder.said.last().section(' ', 0, 0),
                 step <= int(Step::SortedList) ? Recorder::name(Step(step)) : "sorted");
    }

    // Both keys present and the viewer off are driven through the window in tst_wizard.
    void finishing()
    {
        TestFolder t;
        QStringList opened;
        const auto open = [&](const QString& file) { return opened << file, true; };
        const QString vbp = t.write("out/Kunde.vbp", "x");
        int sleeps = 0;
        const auto sleep = [&] { ++sleeps; };
        finish(t.file("out"), vbp, true, sleep, open);
        QCOMPARE(QDir::currentPath(), QFileInfo(t.file("out")).canonicalFilePath());
        QCOMPARE(opened, QStringList{vbp});
        QCOMPARE(sleeps, 0);
        QVERIFY(!RegistryKeyExists(HKEY_LOCAL_MACHINE, kVb6AppPathKey));
        QVERIFY(!RegistryKeyExists(HKEY_CURRENT_USER, kManagerKey)); // never created

        RegistryCreateKey(HKEY_LOCAL_MACHINE, kVb6CommandKey, QString());
        finish(t.file("out"), vbp, false, sleep, open);
        QCOMPARE(sleeps, 1);
        QVERIFY(RegistryKeyExists(HKEY_LOCAL_MACHINE, kVb6AppPathKey));
    }
};

QTEST_GUILESS_MAIN(tst_generate)
#include "tst_generate.moc"
