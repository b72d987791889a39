#include "catalog/Catalog.h"
#include "generate/Checks.h"
#include "generate/CopyRun.h"
#include "generate/Finishing.h"
#include "generate/ProjectFile.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "platform/Registry.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QTest>

using namespace Generate;

namespace {

// Table rows write CR LF as '|' so that they stay short.
QByteArray bar(QByteArray text)
{
    return text.replace('|', "\r\n");
}

template <typename... Values> void row(const char* tag, const Values&... values)
{
    (QTest::newRow(tag) << ... << values);
}

const QByteArray kVbwTail = " = 0, 0, 803, 763, Z, 0, 0, 803, 763, Z\r\n\r\n";

// Entries "name=file", all in <test>/src/; an earlier mark on "Alt".
void writeCatalog(const TestFolder& t, const QStringList& entries)
{
    QStringList paths;
    for (const QString& entry : entries)
        paths << entry.section('=', 0, 0) + '=' + t.file("src/");
    t.writeCatalog(QStringList{"[Filepath]"} + paths + QStringList{"[Filename]"} + entries +
                   QStringList{"[Marked]", "Alt=1"});
}

} // namespace

class tst_generate : public QObject
{
    Q_OBJECT
private slots:
    void folderStates()
    {
        TestFolder t;
        for (const char* file : {"files/a.bas", "subOnly/sub/a.bas", "hiddenOnly/.versteckt"})
            t.write(file, "x");
        QCOMPARE(folderState(t.file("files")), FolderState::HasFiles);
        QCOMPARE(folderState(t.file("subOnly")), FolderState::Empty);
        QCOMPARE(folderState(t.file("hiddenOnly")), FolderState::Empty);
        QCOMPARE(folderState(t.file("missing")), FolderState::Missing);
    }

    void projectFiles_data()
    {
        QTest::addColumn<QByteArray>("templateBytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("startForm"); // as the copy run found it
        QTest::addColumn<QByteArray>("vbp");
        QTest::addColumn<QByteArray>("vbwStart");
        const QByteArray shipped = TestFolder::read(QStringLiteral(VORLAGEN_TEMPLATE));
        const QByteArray shippedEdited =
            "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\..\\WINDOWS\\"
            "system32\\stdole2.tlb#OLE Automation|HelpFile=\"\"|Description=\"Kunde\"|"
            "Title=\"Kunde\"|" +
            shipped.mid(shipped.indexOf("Command32="));
        const QByteArray startA = "Startup=\"A\"|IconForm=\"A\"|Name=\"Kunde\"|";

        row("worked example, shipped template", shipped, "Kunde",
            "Form=Haupt.frm|Module=Hilfsmodul; Hilfsmodul.bas|", "Haupt",
            bar("Type=Exe|Form=Haupt.frm|Module=Hilfsmodul; Hilfsmodul.bas|Startup=\"Haupt\"|"
                "IconForm=\"Haupt\"|Name=\"Kunde\"|" +
                shippedEdited),
            QByteArray("Haupt"));
        row("no form: key lines untouched, one empty line", shipped, "Kunde", "", "",
            bar("Type=Exe||") + shipped.mid(shipped.indexOf("Reference=")), QByteArray());
        row("root.frm below another form starts Root, empty second line dropped",
            bar("Type=Exe||X=1|"), "Kunde", "Form=Haupt.frm|Form=root.frm|", "Haupt",
            bar("Type=Exe|Form=Haupt.frm|Form=root.frm|Startup=\"Root\"|IconForm=\"Root\"|"
                "Name=\"Kunde\"|X=1|"),
            QByteArray("Root"));
        row("key lines in other letter case, Name first, Description last",
            bar("Type=Exe|name=\"projekt1\"|STARTUP=\"sub main\"|title=\"<Projekt>\"|"
                "description=\"<projekt>\"|"),
            "Kunde", "Form=A.frm|", "A",
            bar("Type=Exe|Form=A.frm|" + startA + "Title=\"Kunde\"|Description=\"Kunde\"||"),
            QByteArray("A"));
        row("template without CR: no first line, the block first", QByteArray("Type=Exe"), "Kunde",
            "Form=A.frm|", "A", bar("Form=A.frm|" + startA + "Type=Exe|"), QByteArray("A"));
        row("template with bare LF line ends", QByteArray("Type=Exe\nX=1\n"), "Kunde",
            "Form=A.frm|", "A", bar("Type=Exe|Form=A.frm|" + startA + "X=1|"), QByteArray("A"));
        // In the code page \334 is U with umlaut, \366 o with umlaut, \337 sharp s.
        row("umlauts as code-page bytes, other bytes pass",
            bar("Type=Exe|Title=\"<PROJEKT>\"|K=\x81\x9d\x80\xff\xe4|"), "Größe",
            "Module=Maße; Maße.bas|", "Übersicht",
            bar("Type=Exe|Module=Ma\337e; Ma\337e.bas|Startup=\"\334bersicht\"|IconForm=\"\334"
                "bersicht\"|Name=\"Gr\366\337e\"|Title=\"Gr\366\337e\"|K=\x81\x9d\x80\xff\xe4|"),
            QByteArray("\334bersicht"));
    }
    void projectFiles()
    {
        QFETCH(QByteArray, templateBytes);
        QFETCH(QString, name);
        QFETCH(QString, lines);
        QFETCH(QString, startForm);
        QFETCH(QByteArray, vbp);
        QFETCH(QByteArray, vbwStart);
        TestFolder t;
        const QString tpl = t.write("bin/QvStandard.bpv", templateBytes);
        const QString vbpPath = t.write("out/" + name + ".vbp", "alt und länger als die neue");
        const QString vbwPath = t.write("out/" + name + ".vbw", "alt");
        writeProjectFiles(tpl, t.file("out"), name, lines.replace('|', "\r\n"), startForm);
        QCOMPARE(TestFolder::read(vbpPath), vbp);
        QCOMPARE(TestFolder::read(vbwPath), vbwStart + kVbwTail);
    }

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
            bad << QString::fromUtf8(name) + ": ungültiger Dateiname im Katalog";
        bad << "F: kein Dateiname im Katalog";

        row("worked example", "Hilfsmodul=Hilfsmodul.bas,Haupt=Haupt.frm,Daten=Daten.res",
            "Hilfsmodul.bas,Haupt.frm,Haupt.frx,Daten.res",
            "Module=Hilfsmodul; Hilfsmodul.bas|Form=Haupt.frm|ResFile32=\"Daten.res\"|", "Haupt",
            "Daten.res,Haupt.frm,Haupt.frx,Hilfsmodul.bas", QStringList());
        row("HAUPT.FRM counts as a form", "HAUPT=HAUPT.FRM", "HAUPT.FRM,HAUPT.FRX",
            "Form=HAUPT.FRM|", "HAUPT", "HAUPT.FRM,HAUPT.FRX", QStringList());
        row("user control with its ctx", "Leiste=Leiste.ctl", "Leiste.ctl,Leiste.ctx",
            "UserControl=Leiste.ctl|", "", "Leiste.ctl,Leiste.ctx", QStringList());
        row("class module", "Kl=Kunde.cls", "Kunde.cls", "Class=Kl; Kunde.cls|", "", "Kunde.cls",
            QStringList());
        row("upper checked form starts, unchecked left out",
            "!Neben=Neben.frm,Zweit=Zweit.frm,Haupt=Haupt.frm", "Neben.frm,Zweit.frm,Haupt.frm",
            "Form=Zweit.frm|Form=Haupt.frm|", "Zweit", "Haupt.frm,Zweit.frm", QStringList());
        row("missing file keeps its line and is reported", "Haupt=Haupt.frm", "", "Form=Haupt.frm|",
            "Haupt", "", QStringList{"Haupt.frm: Quelldatei nicht gefunden"});
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
        QList<ListLine> list;
        for (const QString& entry : entries.split(','))
            list.append({entry.section('=', 0, 0).remove('!'), !entry.startsWith('!')});
        writeCatalog(t, entries.remove('!').split(','));
        for (const QString& file : present.split(',', Qt::SkipEmptyParts))
            t.write("src/" + file, file.toUtf8());
        const QString folder = t.file("out/Kunde");
        QDir().mkpath(folder);

        const CopyResult result = copyComponents(list, folder, true);
        QCOMPARE(result.projectLines, lines.replace('|', "\r\n"));
        QCOMPARE(result.startForm, startForm);
        const QStringList files = copied.split(',', Qt::SkipEmptyParts);
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), files);
        for (const QString& file : files)
            QCOMPARE(TestFolder::read(folder + '/' + file), file.toUtf8());
        QCOMPARE(failureReport(result.failures).section('\n', 1), failures.join('\n'));
        // Marks rebuilt: every checked line, copied or not; the earlier mark is gone.
        for (const ListLine& line : list)
            QCOMPARE(ReadIniValue(Catalog::file(), "Marked", line.entryName),
                     line.checked ? "1" : QString());
        QCOMPARE(ReadIniValue(Catalog::file(), "Marked", "Alt"), QString());
    }

    // An older copy is replaced, the component folder as project folder keeps its
    // file whole, missing parents are created, a folder below a file is reported.
    void copyTargets()
    {
        TestFolder t;
        writeCatalog(t, {"Haupt=Haupt.frm"});
        t.write("src/Haupt.frm", "neu");
        t.write("out/Haupt.frm", "alt und länger");
        for (const char* folder : {"out", "src", "Neu/A/B"}) {
            QVERIFY(copyComponents({{"Haupt", true}}, t.file(folder), false).failures.isEmpty());
            QCOMPARE(TestFolder::read(t.file(folder) + "/Haupt.frm"), QByteArray("neu"));
        }
        QCOMPARE(ReadIniValue(Catalog::file(), "Marked", "Alt"), QString("1")); // no saveMarks
        QCOMPARE(ReadIniValue(Catalog::file(), "Marked", "Haupt"), QString());

        t.write("src/Haupt.frx", "x");
        const QString folder = t.write("afile", "Datei") + "/sub";
        const CopyResult copy = copyComponents({{"Haupt", true}}, folder, false);
        const ProjectFileResult files = writeProjectFiles(
            t.write("bin/QvStandard.bpv", "Type=Exe\r\n"), folder, "Kunde", {}, "Haupt");
        QCOMPARE(failureReport(copy.failures + files.failures),
                 QStringLiteral("Folgende Dateien konnten nicht erstellt werden:\n"
                                "Haupt.frm: Projektordner konnte nicht angelegt werden\n"
                                "Haupt.frx: Projektordner konnte nicht angelegt werden\n"
                                "Kunde.vbp: Ein Teil des Pfades ist kein Ordner.\n"
                                "Kunde.vbw: Ein Teil des Pfades ist kein Ordner."));
    }

    // MyDocs only with merkeOrdner and a name; Folder and Viewer every time.
    void options()
    {
        TestFolder t;
        t.writeCatalog({"[Option]", "MyDocs=/alt/"});
        QVERIFY(rememberOptions(false, "Kunde", "/p/P", false, true).ok());
        QCOMPARE(ReadIniValue(Catalog::file(), "Option", "MyDocs"), QString("/alt/"));
        QCOMPARE(ReadIniValue(Catalog::file(), "Option", "Folder") +
                     ReadIniValue(Catalog::file(), "Option", "Viewer"),
                 "01");
        QVERIFY(rememberOptions(true, "", "/p/P", true, false).ok());
        QCOMPARE(ReadIniValue(Catalog::file(), "Option", "MyDocs"), QString("/alt/"));
        QVERIFY(rememberOptions(true, "Kunde", "/p/P", true, false).ok());
        QCOMPARE(ReadIniValue(Catalog::file(), "Option", "MyDocs"), QString("/p/P/"));
    }

    // A catalogue that cannot be written (a full disk here) keeps its bytes, and
    // the marks' and the options' results say so; the copies are made anyway.
    void catalogueWritesFailAloud()
    {
        TestFolder t;
        writeCatalog(t, {"Haupt=Haupt.frm"});
        t.write("src/Haupt.frm", "x");
        const QByteArray before = t.catalogBytes();
        FileIo::failWritesAfter(1); // the one byte of the copy, nothing of the catalogue
        const CopyResult copy = copyComponents({{"Haupt", true}}, t.file("out"), true);
        const FileIo::Result options = rememberOptions(true, "Kunde", "/p/P", true, true);
        FileIo::clearFaults();
        QCOMPARE(copy.marksSaved.error(), ENOSPC);
        QCOMPARE(options.error(), ENOSPC);
        QCOMPARE(t.catalogBytes(), before);
        QVERIFY(QFile::exists(t.file("out/Haupt.frm")));
        QVERIFY(copyComponents({{"Haupt", true}}, t.file("out"), false).marksSaved.ok());
    }

    // Both keys present and the viewer off are driven through the window in tst_wizard.
    void finishing()
    {
        TestFolder t;
        QStringList opened;
        const auto open = [&](const QString& file) {
            opened << file;
            return true;
        };
        const QString vbp = t.write("out/Kunde.vbp", "x");
        int sleeps = 0;
        finish(
            t.file("out"), vbp, true, [&] { ++sleeps; }, open);
        QCOMPARE(QDir::currentPath(), QFileInfo(t.file("out")).canonicalFilePath());
        QCOMPARE(opened, QStringList{vbp});
        QCOMPARE(sleeps, 0);
        QVERIFY(!RegistryKeyExists(HKEY_LOCAL_MACHINE, kVb6AppPathKey));
        QVERIFY(!RegistryKeyExists(HKEY_CURRENT_USER, kManagerKey)); // never created

        RegistryCreateKey(HKEY_LOCAL_MACHINE, kVb6CommandKey, QString());
        finish(
            t.file("out"), vbp, false, [&] { ++sleeps; }, open);
        QCOMPARE(sleeps, 1);
        QVERIFY(RegistryKeyExists(HKEY_LOCAL_MACHINE, kVb6AppPathKey));
    }
};

QTEST_GUILESS_MAIN(tst_generate)
#include "tst_generate.moc"
