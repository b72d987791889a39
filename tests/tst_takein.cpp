#include "catalog/AddRemove.h"
#include "catalog/TakeIn.h"
#include "platform/FileIo.h"
#include "support/TestFolder.h"

#include <QTest>

using namespace Qt::StringLiterals;
using State = Catalog::Candidate::State;

namespace {

const QString kOle =
    u"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE"_s;
const QString kComctl = u"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX"_s;
const QByteArray kModule1 = "Attribute VB_Name = \"Module1\"\r\n";

QByteArray named(const char* name)
{
    return "Attribute VB_Name = \"" + QByteArray(name) + "\"\r\n";
}

// As real projects are: backslashes, a shared folder above, letter case, a missing file, a name in
// two folders, Module1, a form naming its control library; a catalogue with a file and a name.
QString buildProject(const TestFolder& t)
{
    t.write(u"proj/Formulare/Haupt.frx"_s, "\x01");
    t.write(u"proj/Formulare/Haupt.frm"_s,
            "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; "
            "\"MSCOMCTL.OCX\"\r\nBegin VB.Form Haupt\r\nEnd\r\nAttribute VB_Name = \"Haupt\"\r\n");
    t.write(u"Gemeinsam/Hilfe.bas"_s, named("Hilfe"));
    t.write(u"proj/Hilfe.bas"_s, named("Hilfe"));
    t.write(u"proj/Werk.bas"_s, kModule1);
    t.write(u"proj/Alt.frm"_s, named("Alt"));
    t.write(u"proj/Liste.bas"_s, named("Liste"));
    t.write(u"proj/Summe.bas"_s, named("Σumme")); // UTF-8, outside the code page
    t.writeCatalog(u"[Filelist]|100=Alt|101=Liste|[Filepath]|Alt=%1|Liste=/anderswo/|"
                   u"[Filename]|Alt=Alt.frm|Liste=Liste.bas"_s.arg(t.file(u"proj/"_s))
                       .split(u'|'));
    const QString vbp =
        u"Type=Exe|%1|Form=Formulare\\Haupt.frm|Module=Hilfe; ..\\Gemeinsam\\Hilfe.bas|"
        u"Module=Hilfe; Hilfe.bas|Module=Werk; werk.BAS|Class=Konto; Fehlt.cls|"
        u"Form=Alt.frm|Module=Liste; Liste.bas|Module=Summe; Summe.bas|"
        u"Form=Formulare\\Haupt.frx"_s;
    return t.write(u"proj/Projekt.vbp"_s, TestFolder::crlf(vbp.arg(kOle).split(u'|')));
}

QStringList leftNames(const Catalog::IntakeOutcome& outcome, bool reasons = false)
{
    QStringList names;
    for (const auto& l : outcome.left)
        names << u"%1@%2"_s.arg(l.name).arg(l.index) + (reasons ? u": "_s + l.reason : QString());
    return names;
}

} // namespace

class tst_takein : public QObject
{
    Q_OBJECT
private slots:
    // Each line's state and name; all chosen, the new ones go in with one write, their lines, list
    // sorted, the module renamed after its backup; the others are left with their reasons.
    void wholeProject()
    {
        TestFolder t;
        const Catalog::Intake intake = Catalog::planIntake(buildProject(t));
        QVERIFY(intake.problem.isEmpty());
        QCOMPARE(intake.free, Catalog::kCapacity - 2);
        const auto n = [](State state) { return QString::number(int(state)); };
        QStringList states;
        for (const Catalog::Candidate& c : intake.candidates)
            states << u"%1|%2|%3|%4|%5"_s.arg(c.name, c.folder + c.fileName, n(c.state),
                                              QString::number(c.checked),
                                              QString::number(c.repair));
        const QString p = t.path();
        // %1 the test folder, then the states New, NameTaken, Missing, Same, Refused, UnusableKind.
        QCOMPARE(states,
                 u"Haupt|%1/proj/Formulare/Haupt.frm|%2|1|0;Hilfe|%1/Gemeinsam/Hilfe.bas|%2|1|0;"
                 u"Hilfe|%1/proj/Hilfe.bas|%3|0|0;Werk|%1/proj/Werk.bas|%2|1|1;||%4|0|0;"
                 u"Alt|%1/proj/Alt.frm|%5|0|0;Liste|%1/proj/Liste.bas|%3|0|0;"
                 u"Σumme|%1/proj/Summe.bas|%6|0|0;Haupt|%1/proj/Formulare/Haupt.frx|%7|0|0"_s
                     .arg(p, n(State::New), n(State::NameTaken), n(State::Missing), n(State::Same),
                          n(State::Refused), n(State::UnusableKind))
                     .split(u';'));

        const Catalog::IntakeOutcome outcome = Catalog::takeIn(intake, {0, 1, 2, 3, 4, 5, 6, 7, 8});
        QCOMPARE(outcome.taken, (QStringList{u"Haupt"_s, u"Hilfe"_s, u"Werk"_s}));
        QCOMPARE(outcome.takenIndexes, (QList<int>{0, 1, 3}));
        QCOMPARE(leftNames(outcome), (QStringList{u"Hilfe@2"_s, u"Fehlt.cls@4"_s, u"Alt@5"_s,
                                                  u"Liste@6"_s, u"Σumme@7"_s, u"Haupt@8"_s}));
        QCOMPARE(outcome.left.at(1).reason, Catalog::stateText(State::Missing));
        QVERIFY(outcome.left.at(4).reason.contains(u"(Windows-1252)"_s));
        QVERIFY(outcome.left.at(5).reason.contains(u"zum Formular ''Haupt.frm''"_s));
        QCOMPARE(outcome.backups, QStringList{p + u"/proj/Werk.bas.bak"_s});
        QCOMPARE(TestFolder::read(p + u"/proj/Werk.bas.bak"_s), kModule1);
        QCOMPARE(TestFolder::read(p + u"/proj/Werk.bas"_s), named("Werk"));
        QCOMPARE(outcome.sorted,
                 (QStringList{u"Alt"_s, u"Haupt"_s, u"Hilfe"_s, u"Liste"_s, u"Werk"_s}));
        QCOMPARE(t.catalogBytes(),
                 TestFolder::crlf(
                     u"[Filepath]|Alt=%1/proj/|Liste=/anderswo/|Haupt=%1/proj/Formulare/|"
                     u"Hilfe=%1/Gemeinsam/|Werk=%1/proj/|[Filename]|Alt=Alt.frm|Liste=Liste.bas|"
                     u"Haupt=Haupt.frm|Hilfe=Hilfe.bas|Werk=Werk.bas|[References]|"
                     u"Haupt.0=Haupt.frm|Haupt.1=%2|Haupt.2=%3|Hilfe.0=Hilfe.bas|Hilfe.1=%2|"
                     u"Werk.0=Werk.bas|Werk.1=%2|[Filelist]|100=Alt|101=Haupt|102=Hilfe|103=Liste|"
                     u"104=Werk"_s.arg(p, kOle, kComctl)
                         .split(u'|')));

        // Planned again, what went in is Same; the old plan again takes nothing in, writes nothing.
        QCOMPARE(Catalog::planIntake(intake.project.path).candidates.at(3).state, State::Same);
        const QByteArray taken = t.catalogBytes();
        const Catalog::IntakeOutcome again = Catalog::takeIn(intake, {0, 1, 3});
        QCOMPARE(leftNames(again), (QStringList{u"Haupt@0"_s, u"Hilfe@1"_s, u"Werk@3"_s}));
        QCOMPARE(t.catalogBytes(), taken);
    }

    // Any failed write: catalogue unchanged, nothing taken in, a renamed module named by backup.
    void failedWriteTakesNothingIn()
    {
        // Writes fail after the backup, amid the renamed module, or at the catalogue's first byte.
        const int module = int(kModule1.size()), repair = module + int(named("Werk").size());
        for (const auto& [after, renamed] :
             {std::pair{0, false}, {module + 5, false}, {repair, true}}) {
            TestFolder t;
            const Catalog::Intake intake = Catalog::planIntake(buildProject(t));
            const QByteArray before = t.catalogBytes();
            FileIo::failWritesAfter(after);
            const Catalog::IntakeOutcome outcome = Catalog::takeIn(intake, {0, 1, 3});
            FileIo::clearFaults();
            QCOMPARE(t.catalogBytes(), before);
            QVERIFY(outcome.taken.isEmpty() && outcome.takenIndexes.isEmpty() &&
                    outcome.sorted.isEmpty());
            QCOMPARE(leftNames(outcome), (QStringList{u"Haupt@0"_s, u"Hilfe@1"_s, u"Werk@3"_s}));
            QCOMPARE(outcome.left.at(0).reason, outcome.result.reason());
            QCOMPARE(outcome.left.at(2).reason == outcome.result.reason(), renamed);
            const QString werk = t.file(u"proj/Werk.bas"_s);
            QCOMPARE(outcome.backups, renamed ? QStringList{werk + u".bak"_s} : QStringList());
            QCOMPARE(TestFolder::read(werk), renamed ? named("Werk") : kModule1);
            const QString said = Catalog::notSavedText(QString(), outcome.result);
            QVERIFY(Catalog::summaryText(outcome).startsWith(said.section(". ", 0, 0)) &&
                    Catalog::summaryText(outcome).contains(outcome.result.reason()));
        }
    }

    // Two new files (the second Module1), room for `free`: an entry added after the plan takes one.
    void capacityAtTheEdge()
    {
        for (const auto& [free, filledMeanwhile] :
             {std::pair{1, false}, {2, false}, {0, false}, {2, true}})
            capacityAtTheEdge(free, filledMeanwhile);
    }
    void capacityAtTheEdge(int free, bool filledMeanwhile)
    {
        TestFolder t;
        QStringList entries;
        for (int i = 0; i < Catalog::kCapacity - free; ++i)
            entries << u"E%1=e/E.bas"_s.arg(i);
        t.listEntries(entries);
        t.write(u"proj/A.bas"_s, named("A"));
        t.write(u"proj/B.bas"_s, kModule1);
        const Catalog::Intake intake = Catalog::planIntake(t.write(
            u"proj/P.vbp"_s, TestFolder::crlf({u"Module=A; A.bas"_s, u"Module=B; B.bas"_s})));
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(intake.candidates.at(i).checked, i < free);
            QCOMPARE(intake.candidates.at(i).state, i < free ? State::New : State::Full);
        }
        if (filledMeanwhile) {
            t.write(u"proj/C.bas"_s, named("C"));
            QCOMPARE(Catalog::add(Catalog::prepareAddition(t.file(u"proj/C.bas"_s)), false).status,
                     Catalog::Change::Status::Done);
        }
        const Catalog::IntakeOutcome outcome = Catalog::takeIn(intake, {0, 1});
        const int room = filledMeanwhile ? free - 1 : free;
        QCOMPARE(outcome.taken, (QStringList{u"A"_s, u"B"_s}.first(room)));
        // The module is renamed only when it goes in.
        QCOMPARE(QFile::exists(t.file(u"proj/B.bas.bak"_s)), room == 2);
        QCOMPARE(int(outcome.left.size()), 2 - room);
        const Catalog::Snapshot after = Catalog::Snapshot::read();
        QCOMPARE(int(after.enumerate().size()),
                 Catalog::kCapacity - free + room + int(filledMeanwhile));
        QVERIFY(after.listedName(Catalog::kLastKey + 1).isEmpty());
    }

    // A property page never goes in, named once its control did; all named if all were shown.
    void whatStaysOutIsNamed()
    {
        const QString page =
            u"Seite@1: "_s + ProjectImport::stateText(ProjectImport::State::UnusableKind);
        for (const auto& [chosen, everyLine, left] :
             {std::tuple<QList<int>, bool, QStringList>{{0}, false, {page}}, // the control
              {{2}, false, {}},                                              // a module
              {{2}, true, {u"Ctl@0: nicht markiert"_s, page}}}) {
            TestFolder t;
            t.write(u"proj/Ctl.ctl"_s, named("Ctl"));
            t.write(u"proj/Seite.pag"_s, named("Seite"));
            t.write(u"proj/M.bas"_s, named("M"));
            const Catalog::Intake intake = Catalog::planIntake(
                t.write(u"proj/P.vbp"_s,
                        TestFolder::crlf({u"UserControl=Ctl.ctl"_s, u"PropertyPage=Seite.pag"_s,
                                          u"Module=M; M.bas"_s})));
            const Catalog::IntakeOutcome outcome = Catalog::takeIn(
                intake, chosen, everyLine ? Catalog::Unchosen::Named : Catalog::Unchosen::Unnamed);
            QCOMPARE(outcome.takenIndexes, chosen);
            QCOMPARE(leftNames(outcome, true), left);
        }
    }
};

QTEST_GUILESS_MAIN(tst_takein)
#include "tst_takein.moc"
