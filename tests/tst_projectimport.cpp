#include "catalog/Catalog.h"
#include "catalog/ProjectImport.h"
#include "catalog/ReferenceLines.h"
#include "catalog/References.h"
#include "platform/IniDocument.h"
#include "support/TestFolder.h"

#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace ProjectImport;
using namespace ReferenceLines;

// A messy folder "proj": shared files beside it, other letter case, a name twice, non-files.
const auto buildProjectTree = [](const TestFolder& t) {
    for (const QString& file :
         u"proj/Haupt.frm proj/Common/VisualStyles.bas Gemeinsam/Hilfe.bas "
         u"proj/Hilfe.bas proj/Formulare/Kunde.FRM proj/a/Info.frm proj/b/Info.frm "
         u"proj/Zwei.bas proj/ZWEI.bas proj/Seite.pag proj/Bilder.RES"_s.split(u' '))
        t.write(file, "Attribute VB_Name = \"X\"\r\n");
    QDir().mkpath(t.file(u"proj/Ordner.frm"_s));
    const auto at = [&](const char* file) { return QFile::encodeName(t.file(file)); };
    QVERIFY(::mkfifo(at("proj/Rohr.bas").constData(), 0600) == 0);
    QVERIFY(::symlink("Schleife.frm", at("proj/Schleife.frm").constData()) == 0);
    QVERIFY(::symlink("Weg.frm", at("proj/Verweis.frm").constData()) == 0);
};

const auto readLines = [](const TestFolder& t, const QStringList& lines) {
    return readProject(t.write(u"proj/Projekt.vbp"_s, TestFolder::crlf(lines)));
};

class tst_projectimport : public QObject
{
    Q_OBJECT
private slots:
    // One component line resolved in the tree; climbing above the root stays there.
    void resolution()
    {
        const QString up = u"..\\"_s.repeated(40); // far more parts than any folder has
        using enum State;
        const std::tuple<const char*, QString, QString, State> rows[] = {
            {"backslashes", "Module=VisualStyles; Common\\VisualStyles.bas",
             "proj/Common/VisualStyles.bas", Found},
            {"..\\ part", "Module=Hilfe; ..\\Gemeinsam\\Hilfe.bas", "Gemeinsam/Hilfe.bas", Found},
            {"letter case of folder and file", "Form=formulare\\KUNDE.frm",
             "proj/Formulare/Kunde.FRM", Found},
            {"exact case before another", "Module=Zwei; C:\\Alt\\Zwei.bas", "proj/Zwei.bas", Found},
            {"no exact case: first sorted", "Module=Zwei; zwei.bas", "proj/ZWEI.bas", Found},
            {"one name, the folder given", "Form=b\\Info.frm", "proj/b/Info.frm", Found},
            {"drive letter: longest existing end", "Module=Hilfe; C:\\Daten\\Gemeinsam\\Hilfe.bas",
             "Gemeinsam/Hilfe.bas", Found},
            {"drive letter: file name only", "Form=d:\\Alt\\Weg\\haupt.frm", "proj/Haupt.frm",
             Found},
            {"UNC path", "Form=\\\\server\\proj\\Haupt.frm", "proj/Haupt.frm", Found},
            {"quoted resource file", "ResFile32=\"bilder.res\"", "proj/Bilder.RES", Found},
            {"missing", "Form=Fehlt.frm", "", Missing},
            {"leaving every folder, missing", "Form=" + up + "Fehlt.frm", "", Missing},
            {"leaving every folder, resolves", "Form=" + up + "<test>\\proj\\Haupt.frm",
             "proj/Haupt.frm", Found},
            {"folder", "Form=Ordner.frm", "proj/Ordner.frm", NotRegular},
            {"pipe", "Module=Rohr; rohr.bas", "proj/Rohr.bas", NotRegular},
            {"symlink loop", "Form=Schleife.frm", "proj/Schleife.frm", NotRegular},
            {"link to nothing", "Form=Verweis.frm", "proj/Verweis.frm", Missing},
            {"kind the generator does not use", "PropertyPage=Seite.pag", "proj/Seite.pag",
             UnusableKind},
            {"form line naming a module", "Form=Common\\VisualStyles.bas",
             "proj/Common/VisualStyles.bas", UnusableKind},
        };
        TestFolder t;
        buildProjectTree(t);
        for (auto [tag, line, found, state] : rows) {
            line.replace(u"<test>"_s, QString(t.path()).replace(u'/', u'\\'));
            const Project project = readLines(t, {u"Type=Exe"_s, line});
            QVERIFY2(project.components.size() == 1, tag);
            const Component& c = project.components.first();
            QVERIFY2(c.resolvedPath == (found.isEmpty() ? QString() : t.file(found)), tag);
            QVERIFY2(c.state == state, tag);
        }
    }

    // Mixed line ends, keys in any case, later sections, one file under two spellings
    // (a line of the wrong kind does not take the file from a later right one).
    void wholeProject()
    {
        TestFolder t;
        buildProjectTree(t);
        const QString ole = u"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#x#OLE"_s;
        const QString tree = u"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX"_s;
        // Line 3 and the object line end in LF alone.
        const QString vbp =
            u"Type=Exe\r\n%1\r\nform=Haupt.frm\nOhne Gleichheitszeichen\r\nForm=Hilfe.bas\r\n"
            u"%2\nMODULE = Hilfe ; Hilfe.bas\r\nClass=Konto; Fehlt.cls\r\nForm=.\\HAUPT.FRM\r\n"
            u"Startup=\"Haupt\"\r\n\r\n[MS Transaction Server]\r\nForm=Zwei.bas\r\n"_s;
        const auto project = readProject(t.write(u"proj/P.vbp"_s, vbp.arg(ole, tree).toLatin1()));
        QStringList seen;
        for (const auto& c : project.components)
            seen << u"%1|%2|%3|%4|%5"_s.arg(c.key, c.declaredName, c.rawPath,
                                            QString::number(int(c.state)), QString::number(c.line));
        QCOMPARE(seen, (QStringList{u"form||Haupt.frm|%1|3"_s.arg(int(State::Found)),
                                    u"Form||Hilfe.bas|%1|5"_s.arg(int(State::UnusableKind)),
                                    u"MODULE|Hilfe|Hilfe.bas|%1|7"_s.arg(int(State::Found)),
                                    u"Class|Konto|Fehlt.cls|%1|8"_s.arg(int(State::Missing)),
                                    u"Form||.\\HAUPT.FRM|%1|9"_s.arg(int(State::Duplicate))}));
        QCOMPARE(project.references + project.objects, (QStringList{ole, tree}));
    }

    void badProjectFiles()
    {
        const QByteArray form = "Form=Haupt.frm\r\n";
        const QByteArray full = form + QByteArray((1 << 20) - form.size(), '\n');
        const std::tuple<const char*, QByteArray, Problem, int> rows[] = {
            {"empty", {}, Problem::NoComponents, 0},
            {"no component lines", "Type=Exe\r\nName=\"P\"\r\nkein Gleichheitszeichen\r\n",
             Problem::NoComponents, 0},
            {"binary", QByteArray("Form=\0\x01\xff", 8), Problem::NotText, 0},
            {"UTF-16", "\xff\xfe" + QByteArray("F\0o\0r\0m\0=\0x\0", 12), Problem::NotText, 0},
            {"at the size limit of 1 MiB", full, Problem::None, 0},
            {"one byte beyond", full + '\n', Problem::Unreadable, FileIo::kTooLarge},
        };
        for (const auto& [tag, bytes, problem, error] : rows) {
            TestFolder t;
            t.write(u"proj/Haupt.frm"_s, "x");
            const auto project = readProject(t.write(u"proj/P.vbp"_s, bytes));
            QVERIFY2(project.problem == problem && project.read.error() == error, tag);
            QCOMPARE(problemText(project).isEmpty(), problem == Problem::None);
            QVERIFY(problem == Problem::None || project.components.isEmpty());
        }
    }

    // Header lines in the environment's form count; others are named, a group's project not.
    void objectLinesOfHeader()
    {
        const QStringList odd{
            u"Object =\" {00000001-0000-0000-0000-000000000000}#1.0#0\"; \"NACH.OCX\""_s,
            u"Object = \"{00000002-0000-0000-0000-000000000000}#1.0#0\""_s,
            u"Object = {00000003-0000-0000-0000-000000000000}#1.0#0; DREI.OCX"_s,
            u"Object = \"{00000004-0000-0000-0000-000000000000}#1.0#0\"; \" VIER.OCX\""_s};
        const QByteArray form =
            "VERSION 5.00\n"
            "Object = \"{5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0\"; \"MSFLXGRD.OCX\"\r\n"
            "Object = \"*\\A..\\Steuer\\Steuer.vbp\"\r\n"
            "object=\"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\";\"mscomctl.ocx\"\r\n"
            "\tObject\t=  \"{F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0\" ;  "
            "\"COMDLG32.OCX\"\r\n" +
            odd.join(u"\r\n"_s).toLatin1() +
            "\r\nBegin VB.Form Haupt\r\n"
            "Object = \"{00000000-0000-0000-0000-000000000000}#1.0#0\"; \"NACH.OCX\"\r\n";
        QCOMPARE(
            objectLinesIn(form),
            (QStringList{u"Object={5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0; MSFLXGRD.OCX"_s,
                         u"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; mscomctl.ocx"_s,
                         u"Object={F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0; COMDLG32.OCX"_s}));
        QCOMPARE(unusableObjectLines(u"Haupt.CTL"_s, form), odd);
        QVERIFY(unusableObjectLines(u"Hilfe.bas"_s, form).isEmpty());

        // An entry remembers the project's references, and a form its header's objects.
        TestFolder t;
        t.write(u"proj/Haupt.frm"_s, form);
        t.write(u"proj/Hilfe.bas"_s, form);
        const auto project =
            readLines(t, {u"Reference=*\\G{00000200-0000-0010-8000-00AA006D2EA4}#2.0#0#a#ADO"_s,
                          u"Form=Haupt.frm"_s, u"Module=Hilfe; Hilfe.bas"_s});
        QCOMPARE(ProjectImport::rememberedLines(project, project.components[0]),
                 project.references + objectLinesIn(form));
        QCOMPARE(ProjectImport::rememberedLines(project, project.components[1]),
                 project.references);
        // Only the first 64 KiB of a form are read for its header.
        const QByteArray grid =
            "Object = \"{5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0\"; \"MSFLXGRD.OCX\"";
        for (const qint64 size : {64 << 10, (64 << 10) + 1}) {
            t.write(u"proj/Haupt.frm"_s, QByteArray(size - grid.size(), '\n') + grid);
            QCOMPARE(ProjectImport::rememberedLines(project, project.components[0]).size(),
                     project.references.size() + (size == 64 << 10));
        }
    }

    // The first of one GUID wins, in any case or version; references before objects,
    // each in the given order; without a GUID the same text ignoring case; other lines out.
    void mergeReferences()
    {
        const QString ole = u"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#a#OLE"_s;
        const QString oleOther =
            u"Reference=*\\G{00020430-0000-0000-c000-000000000046}#2.1#0#b#OLE neu"_s;
        const QString ado = u"Reference=*\\G{00000200-0000-0010-8000-00AA006D2EA4}#2.0#0#c#ADO"_s;
        const QString grid = u"Object={5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0; MSFLXGRD.OCX"_s;
        const QString gridOther =
            u"Object={5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.1#0; msflxgrd.ocx"_s;
        const QString group = u"Reference=*\\A..\\Teil\\Teil.vbp"_s;
        const QString other = u"Reference=*\\A..\\Anders.vbp"_s;
        QCOMPARE(merged({ole, grid, oleOther, gridOther, ado}), (QStringList{ole, ado, grid}));
        QCOMPARE(merged({grid, ado, ole}), (QStringList{ado, ole, grid}));
        QCOMPARE(merged({group, group.toUpper(), other}), (QStringList{group, other}));
        QCOMPARE(merged({u"Form=Haupt.frm"_s, u"Type=Exe"_s, ado}), QStringList{ado});
    }

    // Lines longer than a read gives go on in further keys and read back whole; lines
    // the file cannot hold are given back. Removing the entries leaves no trace.
    void rememberedLines()
    {
        const auto line = [](QChar digit, qsizetype length) {
            const QString start =
                u"Reference=*\\G{0000000%1-0000-0000-0000-000000000000}#1.0#0#"_s.arg(digit);
            return start + QString(length - start.size(), u'x');
        };
        QString cut = line(u'3', 300);
        cut[Ini::kMaxValueLength] = u' ';
        QString pair = line(u'4', 300); // a character of two halves where a piece ends
        pair.replace(Ini::kMaxValueLength - 1, 2, u"\U0001F600"_s);
        const QString grid = u"Object={5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0; MSFLXGRD.OCX"_s;
        const QString nul = grid + QChar(0);
        const QString atLimit = line(u'1', Ini::kMaxValueLength);
        const QString beyond = line(u'2', Ini::kMaxValueLength + 1);
        TestFolder t;
        const auto list = [&] { t.listEntries({u"A=src/a.frm"_s, u"A.1=src/b.frm"_s}); };
        list();
        const auto names = [] {
            QStringList listed;
            for (const Catalog::Entry& entry : Catalog::load().entries)
                listed << u"%1=%2"_s.arg(entry.key).arg(entry.name);
            return listed;
        };
        const QStringList plainNames = names();
        Catalog::removeEntry(u"A"_s);
        Catalog::removeEntry(u"A.1"_s);
        const QByteArray neverHadLines = t.catalogBytes();

        list();
        QStringList left;
        QVERIFY(Ini::edit(Catalog::file(), [&](Ini::Document& document) {
                    left = References::setLines(document, u"A"_s, u"a.frm"_s,
                                                {atLimit, nul, beyond, u"Form=a.frm"_s, cut, pair});
                    References::setLines(document, u"A.1"_s, u"b.frm"_s, {grid});
                    return true;
                }).ok());
        QCOMPARE(left, (QStringList{nul, u"Form=a.frm"_s}));
        QCOMPARE(names(), plainNames);
        const Catalog::Snapshot read = Catalog::Snapshot::read();
        QCOMPARE(References::linesOf(read, u"a"_s), (QStringList{atLimit, beyond, cut, pair}));
        QCOMPARE(References::linesOf(read, u"A.1"_s), QStringList{grid});
        QCOMPARE(read.value(u"References"_s, u"A.1"_s), atLimit);
        QVERIFY(read.value(u"References"_s, u"A.1-2"_s).isEmpty());
        QCOMPARE(read.value(u"References"_s, u"A.2-2"_s), u"x"_s);

        QCOMPARE(Catalog::removeEntry(u"A"_s).status, Catalog::Change::Status::Done);
        QCOMPARE(t.catalogBytes(),
                 TestFolder::crlf({u"[Filepath]"_s, u"A.1="_s + t.file(u"src/"_s), u"[Filename]"_s,
                                   u"A.1=b.frm"_s, u"[References]"_s, u"A.1.0=b.frm"_s,
                                   u"A.1.1="_s + grid, u"[Filelist]"_s, u"100=A.1"_s}));
        QCOMPARE(Catalog::removeEntry(u"A.1"_s).status, Catalog::Change::Status::Done);
        QCOMPARE(t.catalogBytes(), neverHadLines);
    }
};

QTEST_GUILESS_MAIN(tst_projectimport)
#include "tst_projectimport.moc"
