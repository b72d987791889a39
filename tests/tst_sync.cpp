#include "cli/Texts.h"
#include "platform/IniFiles.h"
#include "platform/Sha256.h"
#include "support/CliRun.h"
#include "support/Recorder.h"
#include "sync/ProjectReferences.h"
#include "sync/SyncTexts.h"
#include "sync/Update.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/fsuid.h>

#include <csignal>

using namespace Sync;

const QString kOle = "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE";
const QString kGrid = "Object={5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0; MSFLXGRD.OCX";
const QString kDao = "Reference=*\\G{00025E01-0000-0000-C000-000000000046}#5.0#0#dao#DAO";
const QString kTree = "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX";
const QString kHilfe = "Attribute VB_Name = \"Hilfe\"\r\n";

// Project P/Kunde from src: Haupt (LF-only, .frx), Hilfe (a remembered reference), Bin (a NUL).
struct Made
{
    TestFolder t;
    Made()
    {
        change({"S Haupt.frm=VERSION 5.00\nBegin\n", "S Haupt.frx=\x01~\x02",
                "S Hilfe.bas=" + kHilfe, "S Bin.bas=a\nb~",
                "T bin/QvStandard.bpv=Type=Exe\r\n" + kOle + "\r\n"});
        writeEntries(t, {"Haupt=Haupt.frm", "Hilfe=Hilfe.bas", "Bin=Bin.bas"},
                     {"[References]", "Hilfe.0=Hilfe.bas", "Hilfe.1=" + kOle});
        Recorder().run(request({"Haupt", "Hilfe", "Bin"}, t.file("P")));
    }
    QString vbp() const { return t.file("P/Kunde.vbp"); }
    Project compare() const { return Comparer(Catalog::Snapshot::read()).compare(vbp()); }
    State state(const QString& entry) const
    {
        for (const Component& c : compare().components)
            if (c.entry == entry)
                return c.state;
        return State::Unknown;
    }

    // "P|S|T file=bytes": in the project, beside the catalogue's files, in the test folder; no
    // "=bytes": the file goes, "/": a folder in its place. "L section/key=value"; '~' is NUL.
    void change(const QStringList& changes) const
    {
        for (const QString& change : changes) {
            const QString place = change.mid(2).section('=', 0, 0);
            const QByteArray bytes = change.section('=', 1).toLatin1().replace('~', '\0');
            const QString path = t.file(change.startsWith("P ")   ? "P/" + place
                                        : change.startsWith("S ") ? "src/" + place
                                                                  : place);
            if (change.startsWith("L "))
                QVERIFY(WriteIniValue(t.catalog(), place.section('/', 0, 0), place.section('/', 1),
                                      QString(bytes).replace("%T", t.path())));
            else if (!change.contains('='))
                QVERIFY(QFile::remove(QDir::cleanPath(path)) &&
                        (!place.endsWith('/') || QDir().mkpath(path)));
            else
                t.write(path.mid(t.path().size() + 1), bytes);
        }
    }
};

class tst_sync : public QObject
{
    Q_OBJECT

private slots:
    // Each copied file recorded with the hash of the bytes the project got.
    void recordOfARun()
    {
        const auto sha = [](const QByteArray& b) {
            return QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex();
        };
        Made m;
        const auto file = [&](const char* entry, const char* name, const QByteArray& bytes) {
            return Generate::RecordedFile{entry, m.t.file("src/"), name, bytes.size(), sha(bytes)};
        };
        Generate::Record record{m.compare().record.made, {}, {}};
        record.files = {file("Haupt", "Haupt.frm", "VERSION 5.00\r\nBegin\r\n"),
                        file("Haupt", "Haupt.frx", QByteArray("\x01\x00\x02", 3)),
                        file("Hilfe", "Hilfe.bas", kHilfe.toLatin1()),
                        file("Bin", "Bin.bas", QByteArray("a\nb\0", 4))};
        QCOMPARE(TestFolder::read(m.t.file("P/Kunde.vorlagen")), Generate::recordBytes(record));
        QVERIFY(record.made.contains(
            QRegularExpression(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d$)")));
        // Read back as written; UTF-8 once a name does not fit the code page.
        record.files[0].entry = "Σumme";
        record.updated = "2025-01-01T00:00:00+01:00";
        const QString path = m.t.write("x.vorlagen", Generate::recordBytes(record));
        QVERIFY(TestFolder::read(path).contains("Eintrag=\xce\xa3umme\r\n"));
        FileIo::Result read;
        QCOMPARE(Generate::readRecord(path, &read).files, record.files);
        QCOMPARE(Generate::readRecord(path, &read).updated, record.updated);
        // Hashed in pieces as in one go, with the processor's instructions or without.
        QByteArray big(1 << 20, Qt::Uninitialized);
        for (int i = 0; i < big.size(); ++i)
            big[i] = char(i * 7 + i / 256);
        for (const bool instructions : {true, false}) {
            Sha256::setInstructionsAllowed(instructions);
            for (const int size : {0, 3, 55, 56, 64, 119, 1 << 20}) {
                Sha256 hash;
                hash.add(QByteArrayView(big).first(size / 3));
                hash.add(QByteArrayView(big).sliced(size / 3, size - size / 3));
                QCOMPARE(hash.hex(), sha(big.left(size)));
            }
        }
        Sha256::setInstructionsAllowed(true);
    }

    void states()
    {
        // The changes to the project made, '|' between two.
        const std::tuple<const char*, QString, QString, State> rows[] = {
            {"line ends alone", "P Hilfe.bas=Attribute VB_Name = \"Hilfe\"\n", "Hilfe",
             State::Current},
            {"the project's file in other letters", "P Hilfe.bas|P HILFE.BAS=" + kHilfe, "Hilfe",
             State::Current},
            {"only the catalogue's .frx changed", "S Haupt.frx=~3", "Haupt", State::Behind},
            {"the project's .frx changed", "P Haupt.frx=x", "Haupt", State::ChangedInProject},
            {"a NUL: line ends count", "P Bin.bas=a\r\nb~", "Bin", State::ChangedInProject},
            {"both changed alike", "P Hilfe.bas=neu\r\n|S Hilfe.bas=neu\n", "Hilfe",
             State::Current},
            {"no longer listed (the run sorted the list)", "L Filelist/102=", "Hilfe", State::Gone},
            {"its file missing", "S Hilfe.bas", "Hilfe", State::Gone},
            {"another file under its name", "L Filename/Hilfe=Neu.bas|S Neu.bas=x", "Hilfe",
             State::Gone},
            {"moved, the same bytes", "T w/Hilfe.bas=" + kHilfe + "|L Filepath/Hilfe=%T/w/",
             "Hilfe", State::Current},
            {"moved, new bytes", "T w/Hilfe.bas=neu|L Filepath/Hilfe=%T/w/", "Hilfe",
             State::Behind},
            {"a folder in the project's place", "P Hilfe.bas/", "Hilfe", State::Unreadable},
        };
        for (const auto& [tag, changes, entry, state] : rows) {
            Made m;
            m.change(changes.split('|'));
            QVERIFY2(m.state(entry) == state, tag);
        }
    }

    // Behind: updated; both changed: the catalogue's files set beside; changed or deleted: kept.
    void update()
    {
        Made m;
        m.change({"S Hilfe.bas=neu\n", "S Haupt.frx=~3", "P Haupt.frm=eigen", "P Bin.bas",
                  "L References/Hilfe.2=" + kGrid});
        const QByteArray vbp = TestFolder::read(m.vbp());
        auto before = TestFolder::contents(m.t.file("P"));
        QCOMPARE(summaryText(Update(m.compare(), Catalog::Snapshot::read(), {0, 1, 2}).run()),
                 QString("Aktualisiert: Hilfe.\nNicht aktualisiert:\nHaupt: beidseitig geändert; "
                         "die Fassung der Vorlagenliste steht daneben in ''%1Haupt.frm.neu'', "
                         "''%1Haupt.frx.neu''.\nBin: im Projekt gelöscht\nIn die Projektdatei "
                         "aufgenommen:\n%2")
                     .arg(m.t.file("P/"), kGrid));
        auto after = TestFolder::contents(m.t.file("P"));
        QCOMPARE(after.take("Hilfe.bas"), QByteArray("neu\r\n"));
        QCOMPARE(after.take("Haupt.frm.neu"), QByteArray("VERSION 5.00\r\nBegin\r\n"));
        QCOMPARE(after.take("Haupt.frx.neu"), QByteArray("\0003", 2));
        QCOMPARE(after.take("Kunde.vbp"),
                 QByteArray(vbp).replace((kOle + "\r\n").toLatin1(),
                                         (kOle + "\r\n" + kGrid + "\r\n").toLatin1()));
        QVERIFY(after.take("Kunde.vorlagen") != before.value("Kunde.vorlagen"));
        for (const char* same : {"Hilfe.bas", "Kunde.vbp", "Kunde.vorlagen"})
            before.remove(same);
        QCOMPARE(after, before);
        QCOMPARE(m.state("Hilfe"), State::Current);
        QCOMPARE(m.state("Haupt"), State::Conflict);
    }

    // A stop at any of the six steps, or a full disk, leaves the project as it was.
    void stopLeavesTheProject()
    {
        for (int stopAt = 0;; ++stopAt) {
            Made m;
            m.change({"S Hilfe.bas=neu", "S Haupt.frx=~3", "P Haupt.frm=eigen",
                      "L References/Hilfe.2=" + kGrid});
            const auto before = TestFolder::contents(m.t.file("P"));
            int steps = 0;
            setStepHook([&](Update& running, Update::Step) {
                if (steps++ == stopAt)
                    running.stop();
            });
            if (stopAt == 6)
                FileIo::failWritesAfter(0);
            const Outcome outcome = Update(m.compare(), Catalog::Snapshot::read(), {0, 1}).run();
            setStepHook({});
            FileIo::clearFaults();
            QVERIFY2(outcome.stopped, qPrintable(QString::number(stopAt)));
            QCOMPARE(TestFolder::contents(m.t.file("P")), before);
            if (stopAt == 6) {
                QCOMPARE(summaryText(outcome),
                         "Nichts wurde aktualisiert, das Projekt ist wie zuvor. Nicht geschrieben "
                         "werden konnte:\nHaupt.frm.neu: " +
                             FileIo::reasonFor(ENOSPC));
                return;
            }
            QCOMPARE(summaryText(outcome), "Abgebrochen. Das Projekt ist wie zuvor.");
            QCOMPARE(steps, stopAt + 1);
        }
    }

    // Missing lines go where the environment keeps them, in the file's line ends. '|' is CR LF.
    void references()
    {
        const QString ole = kOle + '|';
        // Expected empty: unchanged.
        const std::tuple<const char*, QString, QStringList, QString> rows[] = {
            {"after its own", "Type=Exe|" + ole + kGrid + "|Form=A.frm|", QStringList{kTree, kDao},
             "Type=Exe|" + ole + kDao + '|' + kGrid + '|' + kTree + "|Form=A.frm|"},
            {"none of its own: after the first line", "Type=Exe|Form=A.frm|[Sektion]|" + ole,
             QStringList{kTree, kOle}, "Type=Exe|" + ole + kTree + "|Form=A.frm|[Sektion]|" + ole},
            {"objects only: references before them", "Type=Exe|" + kGrid + '|', QStringList{kOle},
             "Type=Exe|" + ole + kGrid + '|'},
            {"line feeds alone, no end after the last", "Type=Exe\n" + kOle, QStringList{kGrid},
             "Type=Exe\n" + kOle + '\n' + kGrid + '\n'},
            {"the same GUID is there", "Type=Exe|" + ole,
             QStringList{QString(kOle).replace("stdole2.tlb#OLE", "x#Y")}, ""},
        };
        for (auto [tag, vbp, lines, expected] : rows) {
            const QByteArray bytes = vbp.replace('|', "\r\n").toLatin1();
            QStringList added;
            const QByteArray now = withReferences(bytes, lines, &added);
            QVERIFY2(now == (expected.isEmpty() ? bytes : expected.replace('|', "\r\n").toLatin1()),
                     tag);
            QVERIFY2(added.isEmpty() == expected.isEmpty(), tag);
        }
    }

    // Made before records: matched by file name; an update records the equal ones in its folder.
    void unrecorded()
    {
        Made m;
        m.change({"T L/haupt.frm=VERSION 5.00\r\nBegin\r\n", "T L/haupt.frx=\x01~\x02",
                  "T L/Hilfe.bas=anders", "T L/x.bas=x", "T L/sub/Bin.bas=a\nb~"});
        const QString vbp =
            m.t.write("L/L.vbp", TestFolder::crlf({"Type=Exe", "Form=Haupt.frm",
                                                   "Module=Hilfe; Hilfe.bas", "Class=Weg; Weg.cls",
                                                   "Module=X; x.bas", "Module=Bin; sub\\Bin.bas"}));
        Comparer comparer(Catalog::Snapshot::read());
        Project project = comparer.compare(vbp);
        QStringList states;
        for (const Component& c : project.components)
            states << c.entry + ": " + stateText(c.state);
        QCOMPARE(states, QStringList({"Haupt: gleich", "Hilfe: abweichend, Herkunft unbekannt",
                                      "Weg.cls: im Projekt gelöscht",
                                      "x.bas: nicht in der Vorlagenliste", "Bin: gleich"}));
        const auto before = TestFolder::contents(m.t.file("L"));
        QCOMPARE(summaryText(Update(project, comparer.catalogue(), {0, 1, 2, 3, 4}).run()),
                 "In die Aufzeichnung aufgenommen: Haupt.\nNicht aufgenommen:\nHilfe: abweichend, "
                 "Herkunft unbekannt\nWeg.cls: im Projekt gelöscht\nx.bas: nicht in der "
                 "Vorlagenliste\nBin: " +
                     kOutsideProjectFolder);
        auto after = TestFolder::contents(m.t.file("L"));
        after.remove("L.vorlagen");
        QCOMPARE(after, before);
        project = comparer.compare(vbp);
        QCOMPARE(project.components.size(), 1);
        QCOMPARE(project.components.at(0).state, State::Current);
        QCOMPARE(project.record.files.size(), 2);
    }

    // Exit codes, what is said, nothing written where nothing was to be done. "%T": test folder.
    void commandLine()
    {
        QVERIFY(Cli::helpText().contains("--abgleichen PROJEKT.vbp|ORDNER [--json]\n") &&
                Cli::helpText().contains("--aktualisieren PROJEKT.vbp [--komponente NAME]... "
                                         "[--vorschau]\n"));
        const QString vbp = "%T/P/Kunde.vbp", neu = "S Hilfe.bas=neu";
        const QString update = "--aktualisieren " + vbp;
        // Changes ('|' between two, "signal": SIGTERM at once), arguments, exit code, what is said.
        const std::tuple<const char*, QString, QString, int, QString> rows[] = {
            {"all current", "", "--abgleichen %T", 0, ""},
            {"changed in the project only", "P Hilfe.bas=x", "--abgleichen %T/P", 0, ""},
            {"behind, as JSON", neu, "--abgleichen " + vbp + " --json", 1, ""},
            {"a folder that cannot be read", "T P/zu/x=x", "--abgleichen %T", 0,
             unreadableFolderText("%T/P/zu", FileIo::Result::failure(EACCES))},
            {"no record below", "", "--abgleichen %T/src", 2, noRecordsText("%T/src")},
            {"a record of no file", "P Kunde.vorlagen=[Projekt]", update, 2,
             "Das Projekt ''" + vbp +
                 "'' enthält keine Komponente, die mit der "
                 "Vorlagenliste verglichen werden könnte."},
            {"updated", neu, update, 0, "Aktualisiert: Hilfe."},
            {"both changed", "S Hilfe.bas=neu|P Hilfe.bas=x", update, 1,
             "Nicht aktualisiert:\nHilfe: beidseitig geändert; die Fassung der Vorlagenliste "
             "steht daneben in ''%T/P/Hilfe.bas.neu''."},
            {"named, changed in the project", "P Hilfe.bas=x", update + " --komponente hilfe", 1,
             "Nicht aktualisiert:\nHilfe: im Projekt geändert"},
            {"named, not in the project", neu, update + " --komponente Fehlt", 2,
             Cli::kNotInProject.arg("Fehlt")},
            {"preview", neu, update + " --vorschau", 0,
             Cli::kPreviewOutcome + "\nAktualisiert: Hilfe."},
            {"SIGTERM", neu + "|signal", update, 2, "Abgebrochen. Das Projekt ist wie zuvor."},
        };
        for (auto [tag, changed, args, code, err] : rows) {
            Made m;
            QStringList changes = changed.split('|', Qt::SkipEmptyParts);
            const bool signal = changes.removeOne("signal");
            const bool locked = changes.contains("T P/zu/x=x");
            m.change(changes);
            const auto before = TestFolder::contents(m.t.file("P"));
            if (signal)
                setStepHook([](Update&, Update::Step) { std::raise(SIGTERM); });
            // Without the file system's privileges, also for root (whose group it keeps).
            const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                              QFile::ReadGroup | QFile::ExeGroup;
            QVERIFY(!locked || (QFile::setPermissions(m.t.file("P/zu"), {}) &&
                                QFile::setPermissions(m.t.path(), open)));
            const int fsuid = locked ? setfsuid(65534) : 0;
            const auto ran = CliRun::run(m.t, args.split(' ').replaceInStrings("%T", m.t.path()));
            if (locked)
                setfsuid(uid_t(fsuid));
            QVERIFY(!locked || QFile::setPermissions(m.t.file("P/zu"), open));
            setStepHook({});
            QCOMPARE(ran.err, err.isEmpty() ? err : err.replace("%T", m.t.path()) + '\n');
            QCOMPARE(ran.code, code);
            if (code == 2 || args.contains("--vorschau"))
                QCOMPARE(TestFolder::contents(m.t.file("P")), before);
            const QString p = m.t.file("P/");
            if (args.contains("--vorschau"))
                QCOMPARE(ran.out, m.t.file("src/Hilfe.bas") + " -> " + p + "Hilfe.bas\n");
            if (!qstrcmp(tag, "all current"))
                QVERIFY(ran.out.startsWith(p + "Kunde.vbp\tHaupt\taktuell\n"));
            if (args.contains("--json"))
                QCOMPARE(QJsonDocument::fromJson(ran.out.toUtf8()).array().at(1).toObject(),
                         (QJsonObject{{"projekt", p + "Kunde.vbp"},
                                      {"eintrag", "Hilfe"},
                                      {"zustand", stateText(State::Behind)},
                                      {"dateien", QJsonArray{p + "Hilfe.bas"}}}));
        }
    }
};

QTEST_GUILESS_MAIN(tst_sync)
#include "tst_sync.moc"
