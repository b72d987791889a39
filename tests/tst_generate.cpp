#include "catalog/Catalog.h"
#include "generate/Checks.h"
#include "generate/CopyRun.h"
#include "generate/Finishing.h"
#include "generate/ProjectFile.h"
#include "platform/Ansi.h"
#include "platform/Registry.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Generate;

namespace {

// Raw lines joined and ended with CR LF, bytes as written (no code-page step).
QByteArray crlf(std::initializer_list<QByteArray> lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

const QByteArray kTemplate =
    crlf({"Type=Exe",
          "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
          "stdole2.tlb#OLE Automation",
          "Startup=\"Sub Main\"", "Name=\"Projekt1\"", "Description=\"<PROJEKT>\"",
          "Title=\"<PROJEKT>\"", "ExeName32=\"Projekt.exe\"", "MajorVer=1"});

const QByteArray kReference =
    "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation";

// A catalogue whose entries all live in <test>/src/; an earlier mark on "Alt".
void writeCatalog(const TestFolder& t, const QList<QPair<QString, QString>>& entries)
{
    QStringList lines{QStringLiteral("[Filelist]")};
    for (qsizetype i = 0; i < entries.size(); ++i)
        lines << QString::number(100 + i) + QLatin1Char('=') + entries.at(i).first;
    lines << QStringLiteral("[Filepath]");
    for (const auto& entry : entries)
        lines << entry.first + QLatin1Char('=') + t.file(QStringLiteral("src/"));
    lines << QStringLiteral("[Filename]");
    for (const auto& entry : entries)
        lines << entry.first + QLatin1Char('=') + entry.second;
    lines << QStringLiteral("[Marked]") << QStringLiteral("Alt=1");
    t.writeCatalog(lines);
}

QByteArray component(const QString& fileName)
{
    return "Inhalt von " + fileName.toUtf8();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList failureLines(const QList<Failure>& failures)
{
    QStringList lines;
    for (const Failure& failure : failures)
        lines << failure.file + QStringLiteral(": ") + failure.reason;
    return lines;
}

} // namespace

class tst_generate : public QObject
{
    Q_OBJECT
private slots:
    // --- project name and folder -------------------------------------------

    void projectFolders_data()
    {
        QTest::addColumn<QString>("folderText");
        QTest::addColumn<bool>("subfolder");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("projectFile");
        QTest::newRow("subfolder, text without separator")
            << "/p/Projekte" << true << "/p/Projekte/Kunde"
            << "/p/Projekte/Kunde/Kunde.vbp";
        QTest::newRow("subfolder, text with separator")
            << "/p/Projekte/" << true << "/p/Projekte/Kunde"
            << "/p/Projekte/Kunde/Kunde.vbp";
        QTest::newRow("no subfolder, text without separator")
            << "/p/Projekte" << false << "/p/Projekte"
            << "/p/Projekte/Kunde.vbp";
        QTest::newRow("no subfolder, text with separator")
            << "/p/Projekte/" << false << "/p/Projekte/"
            << "/p/Projekte/Kunde.vbp";
    }
    void projectFolders()
    {
        QFETCH(QString, folderText);
        QFETCH(bool, subfolder);
        QFETCH(QString, folder);
        QFETCH(QString, projectFile);
        const QString name = QStringLiteral("Kunde");
        QCOMPARE(projectFolder(folderText, name, subfolder), folder);
        QCOMPARE(projectFilePath(projectFolder(folderText, name, subfolder), name), projectFile);
        QCOMPARE(folderBase(folderText), QStringLiteral("/p/Projekte/"));
    }

    void forbiddenNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("question mark") << "Test?1" << true;
        QTest::newRow("hyphen") << "Mein-Projekt" << true;
        QTest::newRow("blank passes") << "Mein Projekt" << false;
        QTest::newRow("umlauts pass") << "Größe" << false;
        QTest::newRow("slash") << "a/b" << true;
        QTest::newRow("backslash") << "a\\b" << true;
        QTest::newRow("colon") << "a:b" << true;
        QTest::newRow("star") << "a*b" << true;
        QTest::newRow("double quote") << "a\"b" << true;
        QTest::newRow("less") << "a<b" << true;
        QTest::newRow("greater") << "a>b" << true;
        QTest::newRow("bar") << "a|b" << true;
    }
    void forbiddenNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        QCOMPARE(hasForbiddenCharacter(name), refused);
    }

    void messageTexts()
    {
        QCOMPARE(
            kForbiddenName,
            QStringLiteral(
                "Der Projektname darf folgende Sonderzeichen /\\:*?''<>|- nicht enthalten.  "));
        QCOMPARE(folderQuestion(FolderState::Missing), QString());
        QVERIFY(folderQuestion(FolderState::Empty)
                    .startsWith(QStringLiteral(
                        "Der Projektordner ist ohne Dateiinhalte vorhanden. \nMöchten")));
        QVERIFY(folderQuestion(FolderState::HasFiles)
                    .endsWith(QStringLiteral("enthält Dateien. \nMöchten Sie den Ordner "
                                             "trotzdem verwenden ?")));
        QVERIFY(kTemplateMissing.contains(QStringLiteral("''QvStandard.bpv''")));
        QVERIFY(kTemplateMissing.contains(QStringLiteral("werden.    \nDamit")));
    }

    void folderStates_data()
    {
        QTest::addColumn<QStringList>("files"); // relative to the project folder
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<int>("state");
        QTest::newRow("ordinary file")
            << QStringList{"a.bas"} << QStringList{} << int(FolderState::HasFiles);
        QTest::newRow("only a sub-folder")
            << QStringList{} << QStringList{"sub"} << int(FolderState::Empty);
        QTest::newRow("only a hidden file")
            << QStringList{".versteckt"} << QStringList{} << int(FolderState::Empty);
        QTest::newRow("file inside a sub-folder")
            << QStringList{"sub/a.bas"} << QStringList{} << int(FolderState::Empty);
        QTest::newRow("nothing at all")
            << QStringList{} << QStringList{} << int(FolderState::Empty);
    }
    void folderStates()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(int, state);
        TestFolder t;
        QDir().mkpath(t.file(QStringLiteral("p")));
        for (const QString& file : files)
            t.write(QStringLiteral("p/") + file, "x");
        for (const QString& folder : folders)
            QDir().mkpath(t.file(QStringLiteral("p/") + folder));
        QCOMPARE(int(folderState(t.file(QStringLiteral("p")))), state);
    }

    void folderStateOfOddPaths()
    {
        TestFolder t;
        QCOMPARE(folderState(t.file(QStringLiteral("fehlt"))), FolderState::Missing);
        // A file where the folder should be: asked about as a folder with files.
        QCOMPARE(folderState(t.write(QStringLiteral("datei"), "x")), FolderState::HasFiles);
    }

    void ensureFolder()
    {
        TestFolder t;
        const QString deep = t.file(QStringLiteral("Neu/A/B"));
        QVERIFY(ensureProjectFolder(deep));
        QVERIFY(QFileInfo(deep).isDir());
        QVERIFY(ensureProjectFolder(deep)); // already there
        // Below a regular file nothing can be created, not even as root.
        t.write(QStringLiteral("afile"), "x");
        QVERIFY(!ensureProjectFolder(t.file(QStringLiteral("afile/sub"))));
    }

    // --- project file ------------------------------------------------------

    void codePageIsLossless()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        bool fit = false;
        QCOMPARE(Ansi::encode(Ansi::decode(all), &fit), all);
        QVERIFY(fit);
    }

    void rootRule_data()
    {
        QTest::addColumn<QString>("startForm");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("result");
        QTest::newRow("root.frm below another form") << "Haupt"
                                                     << "Form=Haupt.frm\r\nForm=root.frm\r\n"
                                                     << "Root";
        QTest::newRow("root itself keeps its case") << "root"
                                                    << "Form=root.frm\r\n"
                                                    << "root";
        QTest::newRow("upper-case file name") << "Haupt"
                                              << "Form=ROOT.FRM\r\n"
                                              << "Root";
        QTest::newRow("no root form") << "Haupt"
                                      << "Form=Haupt.frm\r\n"
                                      << "Haupt";
        QTest::newRow("module named root") << ""
                                           << "Module=root; root.bas\r\n"
                                           << "";
    }
    void rootRule()
    {
        QFETCH(QString, startForm);
        QFETCH(QString, lines);
        QFETCH(QString, result);
        QCOMPARE(applyRootRule(startForm, lines), result);
    }

    void projectFile_data()
    {
        QTest::addColumn<QByteArray>("templateBytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("startForm");
        QTest::addColumn<QByteArray>("expected");

        const QString formAndModule =
            QStringLiteral("Form=Haupt.frm\r\nModule=Hilfsmodul; Hilfsmodul.bas\r\n");
        QTest::newRow("worked example")
            << kTemplate << "Kunde" << formAndModule << "Haupt"
            << crlf({"Type=Exe", "Form=Haupt.frm", "Module=Hilfsmodul; Hilfsmodul.bas",
                     "Startup=\"Haupt\"", "IconForm=\"Haupt\"", "Name=\"Kunde\"", kReference,
                     "Description=\"Kunde\"", "Title=\"Kunde\"", "ExeName32=\"Projekt.exe\"",
                     "MajorVer=1"});
        QTest::newRow("no form leaves the key lines alone")
            << kTemplate << "Kunde"
            << "Module=Hilfsmodul; Hilfsmodul.bas\r\n"
            << ""
            << crlf({"Type=Exe", "Module=Hilfsmodul; Hilfsmodul.bas", kReference,
                     "Startup=\"Sub Main\"", "Name=\"Projekt1\"", "Description=\"<PROJEKT>\"",
                     "Title=\"<PROJEKT>\"", "ExeName32=\"Projekt.exe\"", "MajorVer=1"});
        QTest::newRow("no project lines give one empty line")
            << kTemplate << "Kunde"
            << ""
            << ""
            << crlf({"Type=Exe", "", kReference, "Startup=\"Sub Main\"", "Name=\"Projekt1\"",
                     "Description=\"<PROJEKT>\"", "Title=\"<PROJEKT>\"",
                     "ExeName32=\"Projekt.exe\"", "MajorVer=1"});
        QTest::newRow("only user controls")
            << kTemplate << "Kunde"
            << "UserControl=Leiste.ctl\r\n"
            << ""
            << crlf({"Type=Exe", "UserControl=Leiste.ctl", kReference, "Startup=\"Sub Main\"",
                     "Name=\"Projekt1\"", "Description=\"<PROJEKT>\"", "Title=\"<PROJEKT>\"",
                     "ExeName32=\"Projekt.exe\"", "MajorVer=1"});
        QTest::newRow("Name right after the first line")
            << crlf({"Type=Exe", "Name=\"Projekt1\"", "Reference=x"}) << "Kunde"
            << "Form=Haupt.frm\r\n"
            << "Haupt"
            << crlf({"Type=Exe", "Form=Haupt.frm", "Startup=\"Haupt\"", "IconForm=\"Haupt\"",
                     "Name=\"Kunde\"", "Reference=x"});
        QTest::newRow("Description as the last line ends with an empty line")
            << crlf({"Type=Exe", "Name=\"Projekt1\"", "Description=\"<PROJEKT>\""}) << "Kunde"
            << "Form=Haupt.frm\r\n"
            << "Haupt"
            << crlf({"Type=Exe", "Form=Haupt.frm", "Startup=\"Haupt\"", "IconForm=\"Haupt\"",
                     "Name=\"Kunde\"", "Description=\"Kunde\"", ""});
        QTest::newRow("key lines in other letter case")
            << crlf({"Type=Exe", "STARTUP=\"sub main\"", "name=\"projekt1\"",
                     "description=\"<projekt>\"", "title=\"<Projekt>\"", "X=1"})
            << "Kunde"
            << "Form=Haupt.frm\r\n"
            << "Haupt"
            << crlf({"Type=Exe", "Form=Haupt.frm", "Startup=\"Haupt\"", "IconForm=\"Haupt\"",
                     "Name=\"Kunde\"", "Description=\"Kunde\"", "Title=\"Kunde\"", "X=1"});
        QTest::newRow("Description without Title")
            << crlf({"Type=Exe", "Description=\"<PROJEKT>\"", "X=1"}) << "Kunde"
            << "Form=Haupt.frm\r\n"
            << "Haupt"
            << crlf({"Type=Exe", "Form=Haupt.frm", "Startup=\"Haupt\"", "IconForm=\"Haupt\"",
                     "Name=\"Kunde\"", "Description=\"Kunde\"", "X=1"});
        QTest::newRow("only the first occurrence is edited")
            << crlf({"Type=Exe", "Title=\"<PROJEKT>\"", "Title=\"<PROJEKT>\""}) << "Kunde"
            << "Form=A.frm\r\n"
            << "A"
            << crlf({"Type=Exe", "Form=A.frm", "Startup=\"A\"", "IconForm=\"A\"", "Name=\"Kunde\"",
                     "Title=\"Kunde\"", "Title=\"<PROJEKT>\""});
        QTest::newRow("empty line after the first line is dropped")
            << crlf({"Type=Exe", "", "X=1"}) << "Kunde"
            << ""
            << "" << crlf({"Type=Exe", "", "X=1"});
        QTest::newRow("code-page bytes pass, umlaut name in the code page")
            << crlf({"Type=Exe", "Title=\"<PROJEKT>\"", "Kommentar=\x81\x9d\x80\xff\xe4"})
            << "Größe"
            << "Module=Maße; Maße.bas\r\n"
            << "Übersicht"
            << crlf({"Type=Exe",
                     "Module=Ma\xdf"
                     "e; Ma\xdf"
                     "e.bas",
                     "Startup=\"\xdc"
                     "bersicht\"",
                     "IconForm=\"\xdc"
                     "bersicht\"",
                     "Name=\"Gr\xf6\xdf"
                     "e\"",
                     "Title=\"Gr\xf6\xdf"
                     "e\"",
                     "Kommentar=\x81\x9d\x80\xff\xe4"});
        QTest::newRow("template with bare LF line ends")
            << QByteArray("Type=Exe\nName=\"Projekt1\"\nX=1\n") << "Kunde"
            << "Form=A.frm\r\n"
            << "A"
            << crlf({"Type=Exe", "Form=A.frm", "Startup=\"A\"", "IconForm=\"A\"", "Name=\"Kunde\"",
                     "X=1"});
        QTest::newRow("template of one line without line end")
            << QByteArray("Type=Exe") << "Kunde"
            << "Form=A.frm\r\n"
            << "A"
            << crlf(
                   {"Form=A.frm", "Startup=\"A\"", "IconForm=\"A\"", "Name=\"Kunde\"", "Type=Exe"});
    }
    void projectFile()
    {
        QFETCH(QByteArray, templateBytes);
        QFETCH(QString, name);
        QFETCH(QString, lines);
        QFETCH(QString, startForm);
        QFETCH(QByteArray, expected);
        QCOMPARE(projectFileBytes(templateBytes, name, lines, startForm), expected);
    }

    void workspaceFile()
    {
        QCOMPARE(workspaceFileBytes(QStringLiteral("Haupt")),
                 QByteArray("Haupt = 0, 0, 803, 763, Z, 0, 0, 803, 763, Z\r\n\r\n"));
        QCOMPARE(workspaceFileBytes(QString()),
                 QByteArray(" = 0, 0, 803, 763, Z, 0, 0, 803, 763, Z\r\n\r\n"));
    }

    void writerReplacesFilesAndAppliesRoot()
    {
        TestFolder t;
        const QString tpl = t.write(QStringLiteral("bin/QvStandard.bpv"), kTemplate);
        const QString folder = t.file(QStringLiteral("out/Kunde"));
        t.write(QStringLiteral("out/Kunde/Kunde.vbp"), "alt");
        t.write(QStringLiteral("out/Kunde/Kunde.vbw"), "alt");
        const QString lines = QStringLiteral("Form=Haupt.frm\r\nForm=root.frm\r\n");

        const ProjectFileResult result =
            writeProjectFiles(tpl, folder, QStringLiteral("Kunde"), lines, QStringLiteral("Haupt"));
        QVERIFY(!result.templateMissing);
        QVERIFY(result.failures.isEmpty());
        QCOMPARE(result.startForm, QStringLiteral("Root"));
        QCOMPARE(result.written, QStringList({folder + QStringLiteral("/Kunde.vbp"),
                                              folder + QStringLiteral("/Kunde.vbw")}));
        const QByteArray vbp = TestFolder::read(folder + QStringLiteral("/Kunde.vbp"));
        QCOMPARE(vbp, projectFileBytes(kTemplate, QStringLiteral("Kunde"), lines,
                                       QStringLiteral("Root")));
        QVERIFY(vbp.contains("\r\nStartup=\"Root\"\r\nIconForm=\"Root\"\r\n"));
        QCOMPARE(TestFolder::read(folder + QStringLiteral("/Kunde.vbw")),
                 workspaceFileBytes(QStringLiteral("Root")));
        QCOMPARE(TestFolder::read(tpl), kTemplate); // the template itself is untouched
    }

    void writerWithoutTemplate()
    {
        TestFolder t;
        const QString folder = t.file(QStringLiteral("out"));
        QDir().mkpath(folder);
        const ProjectFileResult result =
            writeProjectFiles(t.file(QStringLiteral("bin/QvStandard.bpv")), folder,
                              QStringLiteral("Kunde"), QString(), QString());
        QVERIFY(result.templateMissing);
        QVERIFY(result.failures.isEmpty());
        QVERIFY(filesIn(folder).isEmpty());
    }

    void shippedTemplate()
    {
        const QByteArray bytes = TestFolder::read(QStringLiteral(VORLAGEN_TEMPLATE));
        QVERIFY(bytes.startsWith("Type=Exe\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        for (const char* key : {"\r\nName=\"Projekt1\"\r\n", "\r\nDescription=\"<PROJEKT>\"\r\n",
                                "\r\nTitle=\"<PROJEKT>\"\r\n", "\r\nStartup=\"Sub Main\"\r\n"})
            QCOMPARE(bytes.count(key), 1);

        const QByteArray vbp =
            projectFileBytes(bytes, QStringLiteral("Kunde"), QStringLiteral("Form=Haupt.frm\r\n"),
                             QStringLiteral("Haupt"));
        QVERIFY(vbp.startsWith("Type=Exe\r\nForm=Haupt.frm\r\nStartup=\"Haupt\"\r\n"
                               "IconForm=\"Haupt\"\r\nName=\"Kunde\"\r\n"));
        QVERIFY(vbp.contains("\r\nDescription=\"Kunde\"\r\nTitle=\"Kunde\"\r\n"));
        QVERIFY(!vbp.contains("Projekt1"));
        QVERIFY(!vbp.contains("<PROJEKT>"));
        QVERIFY(!vbp.contains("Sub Main"));
    }

    // --- copy run ----------------------------------------------------------

    void copyWorkedExample()
    {
        TestFolder t;
        writeCatalog(
            t, {{"Hilfsmodul", "Hilfsmodul.bas"}, {"Haupt", "Haupt.frm"}, {"Daten", "Daten.res"}});
        for (const char* file : {"Hilfsmodul.bas", "Haupt.frm", "Haupt.frx", "Daten.res"})
            t.write(QStringLiteral("src/") + QLatin1String(file), component(QLatin1String(file)));
        const QString folder = t.file(QStringLiteral("out/Kunde"));

        const CopyResult result =
            copyComponents({{"Hilfsmodul", true}, {"Haupt", true}, {"Daten", true}}, folder, false);
        QCOMPARE(result.projectLines, QStringLiteral("Module=Hilfsmodul; Hilfsmodul.bas\r\n"
                                                     "Form=Haupt.frm\r\n"
                                                     "ResFile32=\"Daten.res\"\r\n"));
        QCOMPARE(result.startForm, QStringLiteral("Haupt"));
        QVERIFY(result.failures.isEmpty());
        QCOMPARE(result.written.size(), 4);
        QCOMPARE(filesIn(folder),
                 QStringList({"Daten.res", "Haupt.frm", "Haupt.frx", "Hilfsmodul.bas"}));
        for (const QString& file : filesIn(folder))
            QCOMPARE(TestFolder::read(folder + QLatin1Char('/') + file), component(file));
    }

    void copyCases_data()
    {
        QTest::addColumn<QStringList>("entries"); // "entry|file name", all checked unless "!entry"
        QTest::addColumn<QStringList>("present"); // files in the source folder
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("startForm");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<QStringList>("failures");

        QTest::newRow("HAUPT.FRM counts as a form")
            << QStringList{"HAUPT|HAUPT.FRM"} << QStringList{"HAUPT.FRM", "HAUPT.FRX"}
            << "Form=HAUPT.FRM\r\n"
            << "HAUPT" << QStringList{"HAUPT.FRM", "HAUPT.FRX"} << QStringList{};
        QTest::newRow("user control with its ctx")
            << QStringList{"Leiste|Werkzeugleiste.ctl"}
            << QStringList{"Werkzeugleiste.ctl", "Werkzeugleiste.ctx"}
            << "UserControl=Werkzeugleiste.ctl\r\n"
            << "" << QStringList{"Werkzeugleiste.ctl", "Werkzeugleiste.ctx"} << QStringList{};
        QTest::newRow("class module")
            << QStringList{"KundeKlasse|Kunde.cls"} << QStringList{"Kunde.cls"}
            << "Class=KundeKlasse; Kunde.cls\r\n"
            << "" << QStringList{"Kunde.cls"} << QStringList{};
        QTest::newRow("other kinds are copied without a line")
            << QStringList{"Liesmich|Liesmich.txt"} << QStringList{"Liesmich.txt"} << ""
            << "" << QStringList{"Liesmich.txt"} << QStringList{};
        QTest::newRow("two forms: the upper one starts")
            << QStringList{"Zweit|Zweit.frm", "Haupt|Haupt.frm"}
            << QStringList{"Zweit.frm", "Haupt.frm"} << "Form=Zweit.frm\r\nForm=Haupt.frm\r\n"
            << "Zweit" << QStringList{"Haupt.frm", "Zweit.frm"} << QStringList{};
        QTest::newRow("unchecked lines are left out")
            << QStringList{"!Neben|Neben.frm", "Modul|Modul.bas"}
            << QStringList{"Neben.frm", "Modul.bas"} << "Module=Modul; Modul.bas\r\n"
            << "" << QStringList{"Modul.bas"} << QStringList{};
        QTest::newRow("missing file keeps its line and is reported")
            << QStringList{"Haupt|Haupt.frm"} << QStringList{} << "Form=Haupt.frm\r\n"
            << "Haupt" << QStringList{} << QStringList{"Haupt.frm: Quelldatei nicht gefunden"};
        QTest::newRow("missing companion is no failure")
            << QStringList{"Haupt|Haupt.frm"} << QStringList{"Haupt.frm"} << "Form=Haupt.frm\r\n"
            << "Haupt" << QStringList{"Haupt.frm"} << QStringList{};
        QTest::newRow("empty file name: no copy, no line")
            << QStringList{"Leer|"} << QStringList{} << ""
            << "" << QStringList{} << QStringList{"Leer: kein Dateiname im Katalog"};
        QTest::newRow("parent folder in the file name")
            << QStringList{"Boese|../Boese.frm"} << QStringList{"../Boese.frm"} << ""
            << "" << QStringList{} << QStringList{"../Boese.frm: ungültiger Dateiname im Katalog"};
        QTest::newRow("sub-folder in the file name")
            << QStringList{"Tief|sub/Tief.bas"} << QStringList{"sub/Tief.bas"} << ""
            << "" << QStringList{} << QStringList{"sub/Tief.bas: ungültiger Dateiname im Katalog"};
        QTest::newRow("backslash in the file name")
            << QStringList{"Win|..\\Win.bas"} << QStringList{} << ""
            << "" << QStringList{} << QStringList{"..\\Win.bas: ungültiger Dateiname im Katalog"};
        QTest::newRow("dot and dot-dot as file names")
            << QStringList{"Punkt|.", "Punkte|.."} << QStringList{} << ""
            << "" << QStringList{}
            << QStringList{".: ungültiger Dateiname im Katalog",
                           "..: ungültiger Dateiname im Katalog"};
    }
    void copyCases()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, present);
        QFETCH(QString, lines);
        QFETCH(QString, startForm);
        QFETCH(QStringList, copied);
        QFETCH(QStringList, failures);

        TestFolder t;
        QList<QPair<QString, QString>> catalog;
        QList<ListLine> list;
        for (const QString& entry : entries) {
            const QStringList parts = entry.split(QLatin1Char('|'));
            QString name = parts.at(0);
            const bool checked = !name.startsWith(QLatin1Char('!'));
            if (!checked)
                name.remove(0, 1);
            catalog.append({name, parts.at(1)});
            list.append({name, checked});
        }
        writeCatalog(t, catalog);
        for (const QString& file : present)
            t.write(QStringLiteral("src/") + file, component(file));
        const QString folder = t.file(QStringLiteral("out/Kunde"));
        QDir().mkpath(folder);

        const CopyResult result = copyComponents(list, folder, false);
        QCOMPARE(result.projectLines, lines);
        QCOMPARE(result.startForm, startForm);
        QCOMPARE(filesIn(folder), copied);
        QCOMPARE(result.written.size(), copied.size());
        QCOMPARE(failureLines(result.failures), failures);
        // Nothing lands beside or above the project folder.
        QCOMPARE(
            QDir(t.file(QStringLiteral("out"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{"Kunde"});
    }

    void copyReplacesAndKeepsItsOwnSource()
    {
        TestFolder t;
        writeCatalog(t, {{"Haupt", "Haupt.frm"}});
        t.write(QStringLiteral("src/Haupt.frm"), "neu");
        t.write(QStringLiteral("out/Haupt.frm"), "alt und länger");
        CopyResult result = copyComponents({{"Haupt", true}}, t.file(QStringLiteral("out")), false);
        QVERIFY(result.failures.isEmpty());
        QCOMPARE(TestFolder::read(t.file(QStringLiteral("out/Haupt.frm"))), QByteArray("neu"));

        // The project folder is the component folder itself: the file stays whole.
        result = copyComponents({{"Haupt", true}}, t.file(QStringLiteral("src")), false);
        QVERIFY(result.failures.isEmpty());
        QCOMPARE(TestFolder::read(t.file(QStringLiteral("src/Haupt.frm"))), QByteArray("neu"));
    }

    void copyCreatesWholePath()
    {
        TestFolder t;
        writeCatalog(t, {{"Modul", "Modul.bas"}});
        t.write(QStringLiteral("src/Modul.bas"), "x");
        const QString folder = t.file(QStringLiteral("Neu/A/B"));
        const CopyResult result = copyComponents({{"Modul", true}}, folder, false);
        QVERIFY(result.failures.isEmpty());
        QVERIFY(QFile::exists(folder + QStringLiteral("/Modul.bas")));
    }

    void marks_data()
    {
        QTest::addColumn<bool>("saveMarks");
        QTest::newRow("saved") << true;
        QTest::newRow("left as they were") << false;
    }
    void marks()
    {
        QFETCH(bool, saveMarks);
        TestFolder t;
        writeCatalog(t, {{"Haupt", "Haupt.frm"}, {"Modul", "Modul.bas"}, {"Neben", "Neben.bas"}});
        copyComponents({{"Haupt", true}, {"Modul", false}, {"Neben", true}},
                       t.file(QStringLiteral("out")), saveMarks);
        const QString marked = QStringLiteral("Marked");
        const QString one = QStringLiteral("1");
        QCOMPARE(Catalog::read(marked, QStringLiteral("Haupt")), saveMarks ? one : QString());
        QCOMPARE(Catalog::read(marked, QStringLiteral("Neben")), saveMarks ? one : QString());
        QCOMPARE(Catalog::read(marked, QStringLiteral("Modul")), QString());
        QCOMPARE(Catalog::read(marked, QStringLiteral("Alt")), saveMarks ? QString() : one);
    }

    // --- a failed run is reported ------------------------------------------

    void unwritableFolderIsReported()
    {
        TestFolder t;
        writeCatalog(t, {{"Haupt", "Haupt.frm"}});
        t.write(QStringLiteral("src/Haupt.frm"), "x");
        t.write(QStringLiteral("src/Haupt.frx"), "x");
        const QString tpl = t.write(QStringLiteral("bin/QvStandard.bpv"), kTemplate);
        t.write(QStringLiteral("afile"), "ich bin eine Datei");
        const QString folder = t.file(QStringLiteral("afile/sub"));

        const CopyResult copy = copyComponents({{"Haupt", true}}, folder, false);
        const ProjectFileResult files = writeProjectFiles(tpl, folder, QStringLiteral("Kunde"),
                                                          copy.projectLines, copy.startForm);
        QVERIFY(copy.written.isEmpty());
        QVERIFY(files.written.isEmpty());
        QCOMPARE(failureReport(copy.failures + files.failures),
                 QStringLiteral("Folgende Dateien konnten nicht erstellt werden:\n"
                                "Haupt.frm: Projektordner konnte nicht angelegt werden\n"
                                "Haupt.frx: Projektordner konnte nicht angelegt werden\n"
                                "Kunde.vbp: Schreiben fehlgeschlagen\n"
                                "Kunde.vbw: Schreiben fehlgeschlagen"));
        QCOMPARE(failureReport({}), QString());
    }

    void wholeGeneration()
    {
        TestFolder t;
        writeCatalog(t, {{"Haupt", "Haupt.frm"}, {"Hilfsmodul", "Hilfsmodul.bas"}});
        for (const char* file : {"Haupt.frm", "Haupt.frx", "Hilfsmodul.bas"})
            t.write(QStringLiteral("src/") + QLatin1String(file), "x");
        const QString tpl = t.write(QStringLiteral("bin/QvStandard.bpv"), kTemplate);
        const QString folder =
            projectFolder(t.file(QStringLiteral("Projekte")), QStringLiteral("Kunde"), true);

        const CopyResult copy =
            copyComponents({{"Haupt", true}, {"Hilfsmodul", true}}, folder, false);
        const ProjectFileResult files = writeProjectFiles(tpl, folder, QStringLiteral("Kunde"),
                                                          copy.projectLines, copy.startForm);
        QVERIFY(copy.failures.isEmpty());
        QVERIFY(files.failures.isEmpty());
        QCOMPARE(filesIn(folder), QStringList({"Haupt.frm", "Haupt.frx", "Hilfsmodul.bas",
                                               "Kunde.vbp", "Kunde.vbw"}));
        QCOMPARE(TestFolder::read(folder + QStringLiteral("/Kunde.vbp")),
                 crlf({"Type=Exe", "Form=Haupt.frm", "Module=Hilfsmodul; Hilfsmodul.bas",
                       "Startup=\"Haupt\"", "IconForm=\"Haupt\"", "Name=\"Kunde\"", kReference,
                       "Description=\"Kunde\"", "Title=\"Kunde\"", "ExeName32=\"Projekt.exe\"",
                       "MajorVer=1"}));
        QCOMPARE(TestFolder::read(folder + QStringLiteral("/Kunde.vbw")),
                 QByteArray("Haupt = 0, 0, 803, 763, Z, 0, 0, 803, 763, Z\r\n\r\n"));
    }

    // --- options and finishing ---------------------------------------------

    void options_data()
    {
        QTest::addColumn<bool>("merkeOrdner");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("subfolder");
        QTest::addColumn<bool>("viewer");
        QTest::addColumn<QString>("myDocs");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("viewerValue");
        QTest::newRow("folder remembered with its separator")
            << true << "Kunde" << true << true << "/p/Projekte/"
            << "1"
            << "1";
        QTest::newRow("folder not remembered") << false << "Kunde" << false << false << "/alt/"
                                               << "0"
                                               << "0";
        QTest::newRow("no name, no folder") << true << "" << true << false << "/alt/"
                                            << "1"
                                            << "0";
    }
    void options()
    {
        QFETCH(bool, merkeOrdner);
        QFETCH(QString, name);
        QFETCH(bool, subfolder);
        QFETCH(bool, viewer);
        QFETCH(QString, myDocs);
        QFETCH(QString, folder);
        QFETCH(QString, viewerValue);
        TestFolder t;
        t.writeCatalog({QStringLiteral("[Option]"), QStringLiteral("MyDocs=/alt/"),
                        QStringLiteral("Folder=1"), QStringLiteral("Viewer=1")});
        rememberOptions(merkeOrdner, name, QStringLiteral("/p/Projekte"), subfolder, viewer);
        const QString option = QStringLiteral("Option");
        QCOMPARE(Catalog::read(option, QStringLiteral("MyDocs")), myDocs);
        QCOMPARE(Catalog::read(option, QStringLiteral("Folder")), folder);
        QCOMPARE(Catalog::read(option, QStringLiteral("Viewer")), viewerValue);
    }

    void finishRegistry_data()
    {
        QTest::addColumn<bool>("vb6Registered");
        QTest::addColumn<bool>("managerKey");
        QTest::newRow("nothing registered") << false << false;
        QTest::newRow("development environment registered") << true << false;
        QTest::newRow("manager key present") << false << true;
        QTest::newRow("both") << true << true;
    }
    void finishRegistry()
    {
        QFETCH(bool, vb6Registered);
        QFETCH(bool, managerKey);
        TestFolder t;
        FakeDesktop fake;
        const QString command = QStringLiteral("\"/opt/vb98/VB6.EXE\" \"%1\"");
        if (vb6Registered) {
            QVERIFY(RegistryCreateKey(HKEY_LOCAL_MACHINE, kVb6CommandKey, QString()));
            QVERIFY(RegistrySetValue(HKEY_LOCAL_MACHINE, kVb6CommandKey, QString(), command));
        }
        if (managerKey)
            QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kManagerKey, QString()));
        const QString folder = t.file(QStringLiteral("out"));
        QDir().mkpath(folder);
        const QString vbp = folder + QStringLiteral("/Kunde.vbp");
        const QString before = QDir::currentPath();

        int sleeps = 0;
        finish(folder, vbp, false, [&] { ++sleeps; });

        QCOMPARE(sleeps, vb6Registered ? 1 : 0);
        QCOMPARE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kVb6AppPathKey), vb6Registered);
        if (vb6Registered) {
            QVariant value;
            QVERIFY(RegistryGetValue(HKEY_LOCAL_MACHINE, kVb6AppPathKey, QString(), value));
            QVERIFY(value.toString().startsWith(command));
        }
        QCOMPARE(RegistryKeyExists(HKEY_CURRENT_USER, kManagerKey), managerKey);
        QVariant lastNew;
        QCOMPARE(RegistryGetValue(HKEY_CURRENT_USER, kManagerKey, kLastNewValue, lastNew),
                 managerKey);
        if (managerKey)
            QVERIFY(lastNew.toString().startsWith(vbp));
        QCOMPARE(QDir::currentPath(), QFileInfo(folder).canonicalFilePath());
        QVERIFY(fake.openedFiles.isEmpty());
        QDir::setCurrent(before);
    }

    void finishOpensOnlyWithViewer()
    {
        TestFolder t;
        FakeDesktop fake;
        const QString folder = t.file(QStringLiteral("out"));
        QDir().mkpath(folder);
        const QString vbp = folder + QStringLiteral("/Kunde.vbp");
        const QString before = QDir::currentPath();
        finish(folder, vbp, false, {});
        QVERIFY(fake.openedFiles.isEmpty());
        finish(folder, vbp, true, {});
        QCOMPARE(fake.openedFiles, QStringList{vbp});
        QCOMPARE(fake.ends, 0); // ending is the window's business
        QDir::setCurrent(before);
    }
};

QTEST_GUILESS_MAIN(tst_generate)
#include "tst_generate.moc"
