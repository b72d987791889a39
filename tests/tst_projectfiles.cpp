#include "catalog/ComponentKind.h"
#include "generate/Checks.h"
#include "generate/ProjectFile.h"
#include "support/Rows.h"
#include "support/TestFolder.h"

#include <QTest>

#include <tuple>

using namespace Generate;
using Catalog::Kind;

namespace {

// Tables of one column whose rows are tuples.
using NameRow = std::tuple<QString, QString, QString>;
using KindRow = std::tuple<QString, Kind, QString>;

const QByteArray kVbwTail = " = 0, 0, 803, 763, Z, 0, 0, 803, 763, Z\r\n\r\n";

} // namespace

// What goes into a project: the name and folder checks, the kinds of components
// and the text of the .vbp and .vbw.
class tst_projectfiles : public QObject
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

    // The one name rule of both front ends: what Windows, a Linux file name or the
    // project file cannot hold is refused before the folder is asked about.
    // A row: the name, the folder (empty: the test folder, which exists) and the
    // refusal (empty: accepted).
    void projectNames_data()
    {
        QTest::addColumn<NameRow>("r");
        row("only blanks", NameRow{"   ", {}, kBlankName});
        row("trailing dot", NameRow{"Kunde.", {}, kNameEnding});
        row("dot dot, no question about the parent", NameRow{"..", {}, kNameEnding});
        row("outside Windows-1252", NameRow{"Projekt中", {}, kNameOutsideCodePage});
        row("hyphen", NameRow{"Mein-Projekt", {}, kForbiddenName});
        row("line feed", NameRow{"a\nb", {}, kNameControlCharacter});
        row("tab", NameRow{"\tKunde", {}, kNameControlCharacter});
        row("delete", NameRow{"Kunde\x7f", {}, kNameControlCharacter});
        row("device", NameRow{"CON", {}, kDeviceName});
        row("device, letter case, extension", NameRow{"lpt1.txt", {}, kDeviceName});
        row("device, blanks before the dot", NameRow{"Nul  .vbp", {}, kDeviceName});
        row("device, superscript digit", NameRow{"com³", {}, kDeviceName});
        row("no device", NameRow{"COM10", {}, {}});
        row("251 bytes", NameRow{QString(251, 'a'), {}, {}});
        row("252 bytes", NameRow{QString(252, 'a'), {}, kNameTooLong});
        row("251 bytes, 126 characters", NameRow{QString(125, u'ä') + 'a', {}, {}});
        row("252 bytes, 126 characters", NameRow{QString(126, u'ä'), {}, kNameTooLong});
        // <folder>/K/.K.vbp.tmp-XXXXXX, the longest path of the run: 4095 bytes and one more.
        row("path at the limit", NameRow{"K", "/" + QString(4074, 'p'), {}});
        row("path over the limit", NameRow{"K", "/" + QString(4075, 'p'), kNameTooLong});
    }
    void projectNames()
    {
        QFETCH(NameRow, r);
        const auto& [name, folder, refusal] = r;
        TestFolder t;
        const ProjectCheck check =
            checkProject(1, name, folder.isEmpty() ? t.path() : folder, true);
        QCOMPARE(check.nameRefusal + check.characterRefusal, refusal);
        QVERIFY(check.folderQuestion.isEmpty());
    }

    void projectFiles_data()
    {
        QTest::addColumn<QByteArray>("templateBytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("startForm");
        QTest::addColumn<QByteArray>("vbp");
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
                shippedEdited));
        // Without a form Sub Main starts; the name stays where the template has it.
        row("no form: named after the project, a user control's line", shipped, "Kunde",
            "Module=Hilfsmodul; Hilfsmodul.bas|UserControl=Leiste.ctl|", "",
            bar("Type=Exe|Module=Hilfsmodul; Hilfsmodul.bas|UserControl=Leiste.ctl|") +
                shipped.mid(shipped.indexOf("Reference="))
                    .replace("Name=\"Projekt1\"", "Name=\"Kunde\"")
                    .replace("\"<PROJEKT>\"", "\"Kunde\""));
        row("no project line: one empty line", bar("Type=Exe|Name=\"projekt1\"|X=1"), "Kunde", "",
            "", bar("Type=Exe||Name=\"Kunde\"|X=1|"));
        row("empty second line dropped", bar("Type=Exe||X=1|"), "Kunde",
            "Form=Haupt.frm|Form=root.frm|", "Root",
            bar("Type=Exe|Form=Haupt.frm|Form=root.frm|Startup=\"Root\"|IconForm=\"Root\"|"
                "Name=\"Kunde\"|X=1|"));
        row("key lines in other letter case, Name first, Description last",
            bar("Type=Exe|name=\"projekt1\"|STARTUP=\"sub main\"|title=\"<Projekt>\"|"
                "description=\"<projekt>\"|"),
            "Kunde", "Form=A.frm|", "A",
            bar("Type=Exe|Form=A.frm|" + startA + "Title=\"Kunde\"|Description=\"Kunde\"||"));
        row("template without CR: no first line, the block first", QByteArray("Type=Exe"), "Kunde",
            "Form=A.frm|", "A", bar("Form=A.frm|" + startA + "Type=Exe|"));
        row("template with bare LF line ends", QByteArray("Type=Exe\nX=1\n"), "Kunde",
            "Form=A.frm|", "A", bar("Type=Exe|Form=A.frm|" + startA + "X=1|"));
        // In the code page \334 is U with umlaut, \366 o with umlaut, \337 sharp s.
        row("umlauts as code-page bytes, other bytes pass",
            bar("Type=Exe|Title=\"<PROJEKT>\"|K=\x81\x9d\x80\xff\xe4|"), "Größe",
            "Module=Maße; Maße.bas|", "Übersicht",
            bar("Type=Exe|Module=Ma\337e; Ma\337e.bas|Startup=\"\334bersicht\"|IconForm=\"\334"
                "bersicht\"|Name=\"Gr\366\337e\"|Title=\"Gr\366\337e\"|K=\x81\x9d\x80\xff\xe4|"));
    }
    void projectFiles()
    {
        QFETCH(QByteArray, templateBytes);
        QFETCH(QString, name);
        QFETCH(QString, lines);
        QFETCH(QString, startForm);
        QFETCH(QByteArray, vbp);
        TestFolder t;
        const QString tpl = t.write("bin/QvStandard.bpv", templateBytes);
        const QString vbpPath = t.write("out/" + name + ".vbp", "alt und länger als die neue");
        const QString vbwPath = t.write("out/" + name + ".vbw", "alt");
        writeProjectFiles(tpl, t.file("out"), name, lines.replace('|', "\r\n"), startForm);
        QCOMPARE(TestFolder::read(vbpPath), vbp);
        // The start form in the code page, which Latin-1 matches for these names.
        QCOMPARE(TestFolder::read(vbwPath), startForm.toLatin1() + kVbwTail);
    }

    // One row per kind: the kind and, separated by ';', the companions, text or
    // binary, the project line of the entry E, whether the entry's name goes into
    // the project files, and the start form of E alone, of E with a root.frm after
    // it, and with a form after it.
    void kinds_data()
    {
        QTest::addColumn<KindRow>("r");
        const QString none = ";;;;,Root,W";
        row("form", KindRow{"Haupt.frm", Kind::Form,
                            "Haupt.frx,Haupt.FRX;text;Form=Haupt.frm;"
                            "named;E,Root,E"});
        row("form in capitals", KindRow{"HAUPT.FRM", Kind::Form,
                                        "HAUPT.FRX,HAUPT.frx;text;Form=HAUPT.FRM;named;E,Root,E"});
        row("root form", KindRow{"Root.Frm", Kind::Form,
                                 "Root.frx,Root.FRX;text;Form=Root.Frm;named;Root,Root,Root"});
        row("module", KindRow{"M.bas", Kind::Module, ";text;Module=E; M.bas;named;,Root,W"});
        row("user control",
            KindRow{"K.ctl", Kind::UserControl, "K.ctx,K.CTX;text;UserControl=K.ctl;;,Root,W"});
        row("class", KindRow{"K.CLS", Kind::Class, ";text;Class=E; K.CLS;named;,Root,W"});
        row("resource", KindRow{"D.res", Kind::Resource, ";;ResFile32=\"D.res\";;,Root,W"});
        row("user document", KindRow{"D.dob", Kind::UserDocument, ";text;;;,Root,W"});
        row("the last three letters count",
            KindRow{"x.frmfrm", Kind::Form, "x.frmfrx,x.frmFRX;text;Form=x.frmfrm;named;E,Root,E"});
        row("other", KindRow{"liesmich.txt", Kind::Other, none});
    }
    void kinds()
    {
        QFETCH(KindRow, r);
        const auto& [file, kind, facts] = r;
        QCOMPARE(Catalog::kindOf(file), kind);
        QStringList starts;
        for (const char* after : {"", "root.frm", "Zweit.frm"}) {
            Catalog::StartForm start;
            start.add("E", file);
            if (*after)
                start.add("W", after);
            starts << start.name();
        }
        QCOMPARE(QStringList({Catalog::companionNames(file).join(','),
                              Catalog::isText(file) ? "text" : "", Catalog::projectLine("E", file),
                              Catalog::namesEntry(file) ? "named" : "", starts.join(',')})
                     .join(';'),
                 facts);
        // A first form whose entry is called root, in any case, keeps its name.
        Catalog::StartForm root;
        root.add("rOOT", file);
        root.add("W", "root.frm");
        QCOMPARE(root.name(), kind == Kind::Form ? "rOOT" : "Root");
    }
};

QTEST_GUILESS_MAIN(tst_projectfiles)
#include "tst_projectfiles.moc"
