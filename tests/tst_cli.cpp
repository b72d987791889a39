#include "catalog/AddRemove.h"
#include "catalog/Catalog.h"
#include "catalog/Health.h"
#include "catalog/Selection.h"
#include "catalog/TakeIn.h"
#include "cli/Texts.h"
#include "desktop/Session.h"
#include "generate/Checks.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "support/CliRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QStringEncoder>

#include <grp.h>
#include <unistd.h>

using namespace CliRun;

class tst_cli : public QObject
{
    Q_OBJECT

private slots:
    void helpListsEveryOptionAndTheExitCodes()
    {
        TestFolder t;
        for (const char* help : {"--help", "-h"})
            QCOMPARE(run(t, {"--liste", help}), (Ran{Cli::kDone, Cli::helpText()}));
        for (const char* option :
             {"--entfernen NAME...", "--neu NAME --ordner ORDNER [--komponente NAME]..."})
            QVERIFY2(Cli::helpText().contains(QLatin1String(option)), option);
        QVERIFY(Cli::helpText().contains(Cli::kExitCodes));
        QCOMPARE(run(t, {"--version"}), (Ran{Cli::kDone, "vorlagen " VORLAGEN_VERSION "\n"}));
    }

    // Every bad input: one line on standard error, nothing else, exit 2, the catalogue untouched.
    void badArguments()
    {
        using namespace Cli;
        Folder t;
        t.write("p.vbp", "Form=bin\\v\\Haupt.frm\r\n");
        const QByteArray before = t.catalogBytes();
        const QString p = t.file("P"), file = t.catalog(), fehlt = t.file("fehlt.vbp");
        const QStringList neu{"--neu", "Kunde", "--ordner"};
        const std::pair<QStringList, QString> rows[] = {
            {{"-liste"}, kUnknownOption.arg("-liste", "vorlagen")},
            {{"--neu", "--ordner", p}, kMissingValue.arg("--neu", "NAME")}, // an option, no value
            {{"--json"}, kNoTask},
            {{"--pruefen", "--liste"}, kOneTaskOnly.arg("--liste, --pruefen")},
            {{"--entfernen", "Haupt", "--json"}, kForeignOption.arg("--json", "--entfernen")},
            {{"--liste", "Haupt"}, kUnexpectedArgument.arg("Haupt")},
            {{"--von", t.path(), "--von", t.path(), "--liste"}, kRepeated.arg("--von")},
            {{"--von", file, "--liste"}, kNoDataFolder.arg(file)},
            {{"--entfernen", "hilfe", "Fehlt"}, Catalog::notListedText("Fehlt")},
            {{"--uebernehmen", fehlt}, Catalog::planIntake(fehlt).problem},
            {{"--uebernehmen", t.file("p.vbp"), "--komponente", "haupt", "--komponente", "Fehlt"},
             kNotInProject.arg("Fehlt")},
            {{"--neu", "Kunde"}, kRequired.arg("--neu", "--ordner ORDNER")},
            {neu + QStringList{p, "--unterordner", "--kein-unterordner"},
             kExclusive.arg("--unterordner", "--kein-unterordner")},
            {neu + QStringList{p, "--komponente", "HILFE", "--komponente", "Fehlt"},
             Catalog::notListedText("Fehlt")},
            {neu + QStringList{t.exeFolder(), "--kein-unterordner"},
             Generate::kFolderHasFiles + '\n' + kFolderNotUsed},
            {{"--neu", "Kun-de", "--ordner", p}, Generate::kForbiddenName},
            {{"--neu", "con.txt", "--ordner", p}, Generate::kDeviceName},
            {neu + QStringList{file + "/P"},
             kFolderUnusable.arg(file + "/P/", FileIo::reasonFor(ENOTDIR))},
            {neu + QStringList{file, "--kein-unterordner"}, kNotAFolder.arg(file)},
        };
        for (const auto& [arguments, message] : rows)
            QCOMPARE(run(t, arguments), said(kNothingDone, {message}));
        QCOMPARE(t.catalogBytes(), before);
    }

    void list()
    {
        Folder t;
        // A name listed twice is one entry; an entry whose file is missing is listed.
        t.writeCatalog(QString("[Filelist]|103=Weg|102=haupt|100=Haupt|101=Hilfe|[Filepath]|"
                               "Weg=/anderswo/|Haupt=v/|Hilfe=v/|[Filename]|Weg=Weg.ctl|"
                               "Haupt=Haupt.frm|Hilfe=Hilfe.bas|[Marked]|Haupt=1|[Caption]|"
                               "Hilfe=Rechnen\tund Runden|[Option]|Folder=0")
                           .split('|'));
        const QString v = t.exeFolder() + "/v/";
        using namespace Catalog;
        const QString listed =
            QString("Haupt\t%1\t%4Haupt.frm\t\t1\nHilfe\t%2\t%4Hilfe.bas\tRechnen und "
                    "Runden\t0\nWeg\t%3\t/anderswo/Weg.ctl\t\t0\n")
                .arg(label(Kind::Form), label(Kind::Module), label(Kind::UserControl), v);
        QCOMPARE(run(t, {"--liste"}), (Ran{Cli::kDone, listed}));
        const QJsonArray entries = run(t, {"--liste", "--json"}).json();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(1).toObject(), (QJsonObject{{"name", "Hilfe"},
                                                        {"art", label(Kind::Module)},
                                                        {"datei", v + "Hilfe.bas"},
                                                        {"beschreibung", "Rechnen\tund Runden"},
                                                        {"markiert", false}}));
        QCOMPARE(entries.at(0).toObject().value("markiert"), QJsonValue(true));
    }

    // Every problem at once, each in one line and, for scripts, under its kind.
    void check()
    {
        using namespace Catalog;
        Folder t;
        QCOMPARE(run(t, {"--pruefen"}), said(Cli::kDone, {Cli::kNothingWrong}));
        const auto found = [&] {
            QStringList told;
            for (const QJsonValue& value : run(t, {"--pruefen", "--json"}).json())
                told << value["befund"].toString() + '|' + value["text"].toString();
            return told;
        };
        const QString v = t.exeFolder() + "/v/", bpv = t.exeFolder() + "/QvStandard.bpv";
        // Leer: Object line as in a project file; Bild uses its .frx; binary Bin: LFs not counted.
        const QString odd = "Object = {5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0; LEER.OCX";
        t.write("bin/v/Leer.frm", (odd + "\r\nBegin VB.Form Leer\r\nEnd\r\n").toLatin1());
        t.write("bin/v/Bild.frm", "Begin VB.Form Bild\r\n   Icon = \"Bild.frx\":0000\r\n");
        t.write("bin/v/Lf.bas", "Attribute VB_Name = \"Lf\"\r\nDim a\n");
        t.write("bin/v/Bin.bas", QByteArray("\n\0", 2));
        // A control character is shown, not passed on; UTF-8, as saved for a non-code-page name.
        const QString catalogue =
            QString("[Filelist]|99=Vorab|201=Extra|109=Ohne|150=HILFE|108=Σumme|107=Zweit|106=Leer|"
                    "105=Bild|104=Bin|103=Lf|102=Weg|100=Haupt|101=Hilfe|[Filepath]|Σumme=v/|"
                    "Zweit=/w/|Leer=v/|Bild=v/|Bin=v/|Lf=v/|Weg=v/|Haupt=v/|Hilfe=v/|[Filename]|"
                    "Ohne=Ohne.bas|Σumme=Hilfe.bas|Zweit=HAUPT.frm|Leer=Leer.frm|Bild=Bild.frm|"
                    "Bin=Bin.bas|Lf=Lf.bas|Weg=Weg.ctl|Haupt=Haupt.frm|Hilfe=Hilfe.bas|[Marked]|"
                    "Haupt=1|[Caption]|Hilfe=Rechnen\tund Runden|[Option]|100%1 Verloren|Folder=0|")
                .arg(QChar(0));
        t.write("bin/vorlagen.dat", catalogue.split('|').join("\r\n").toUtf8());
        QVERIFY(QFile::remove(bpv));
        const QByteArray before = t.catalogBytes();
        const QStringList findings{
            "katalog|" + kStrayLine.arg("41", "100\\x00 Verloren"),
            "datei|" + kFileMissing.arg("Weg", v + "Weg.ctl"),
            "zeilenenden|" + kBareLineFeeds.arg("Lf", v + "Lf.bas"),
            "begleitdatei|" + companionMissingText(v + "Bild.frm", "Bild.frx"),
            "objektzeile|" + kUnusableObjectLines.arg("Leer", v + "Leer.frm", odd),
            "datei|" + kFileMissing.arg("Zweit", "/w/HAUPT.frm"),
            "gleiche-datei|" + kSameFile.arg("Haupt", "Zweit", "Haupt.frm"),
            "name|" + kEntryNameOutsideCodePage.arg("Σumme"),
            "ordner|" + kNoFolder.arg("Ohne"),
            "datei|" + kFileMissing.arg("Ohne", "Ohne.bas"),
            "doppelt|" + kListedTwice.arg("HILFE", "101", "150"),
            "jenseits|" + kBeyondList.arg("Vorab", "99"),
            "jenseits|" + kBeyondList.arg("Extra", "201"),
            "vorlage|" + kNoTemplate.arg(bpv)};
        QString texts;
        for (const QString& finding : findings)
            texts += finding.section('|', 1).replace('\n', ' ') + '\n';
        QCOMPARE(run(t, {"--pruefen"}), (Ran{Cli::kProblems, texts}));
        QCOMPARE(found(), findings);
        QCOMPARE(t.catalogBytes(), before);
        t.writeCatalog(kCatalogue);
        const QString prj = t.write("bin/QvStandard.prj", "Type=Exe\r\n");
        QCOMPARE(found(), QStringList{"vorlage|" + kTemplateRestorable.arg(bpv, prj)});
        QVERIFY(QFile::remove(prj) && QDir().mkdir(bpv));
        QCOMPARE(found(),
                 QStringList{"vorlage|" + kTemplateUnreadable.arg(bpv, FileIo::reasonFor(EISDIR))});
    }

    // A catalogue that cannot be read or decoded: every task says so once and does nothing.
    void unusableCatalogueIsSaid()
    {
        Folder t;
        const QString tasks = "--liste|--pruefen|--entfernen Haupt|--hinzufuegen %1/v/Hilfe.bas|"
                              "--neu Kunde --ordner %2/P|--uebernehmen %2/p.vbp";
        QVERIFY(QFile::remove(t.catalog()) && QDir().mkdir(t.catalog()));
        QString text = Catalog::unreadableText(t.catalog(), FileIo::Result::failure(EISDIR));
        for (const bool folder : {true, false}) {
            for (const QString& task : tasks.arg(t.exeFolder(), t.path()).split('|'))
                QCOMPARE(run(t, task.split(' ')), said(Cli::kNothingDone, {text}));
            QVERIFY(!folder || QDir().rmdir(t.catalog()));
            t.write("bin/vorlagen.dat", QStringEncoder(QStringEncoder::Utf32LE)(u"[Filelist]\r\n"));
            text = Catalog::unknownEncodingText(t.catalog());
        }
        QVERIFY(!QFileInfo::exists(t.file("P")));
    }

    // Names compare without regard to case; each removal is the window's.
    void remove()
    {
        using namespace Catalog;
        Folder t;
        QCOMPARE(run(t, {"--entfernen", "haupt", "HILFE"}),
                 said(Cli::kDone, {Cli::kRemoved.arg("Haupt"), Cli::kRemoved.arg("Hilfe")}));
        QCOMPARE(t.catalogBytes(), TestFolder::crlf({"[Filepath]", "[Filename]", "[Marked]",
                                                     "[Caption]", "[Option]", "Folder=0"}));

        // Named twice: the second finds nothing left, after the first was done.
        t.writeCatalog(kCatalogue);
        QCOMPARE(run(t, {"--entfernen", "Hilfe", "hilfe"}),
                 said(Cli::kProblems, {Cli::kRemoved.arg("Hilfe"), notListedText("Hilfe")}));

        // A standard error that takes nothing: the removal is made, but not called done.
        t.writeCatalog(kCatalogue);
        QCOMPARE(run(t, {"--entfernen", "Hilfe"}, "err"), (Ran{Cli::kProblems}));
        QCOMPARE(ReadIniValue(t.catalog(), "Filelist", "101"), QString());

        // Past the list's 101 keys: not one of its entries, and the message says which are there.
        t.writeCatalog(QStringList{"[Filelist]", "201=Extra"} + kCatalogue.mid(1));
        const Ran beyond = run(t, {"--entfernen", "Extra"});
        QVERIFY2(beyond.code == Cli::kNothingDone &&
                     beyond.err.startsWith(notListedText("Extra") + ' ') &&
                     beyond.err.contains("''Extra'' (Schlüssel 201)"),
                 qPrintable(beyond.err));

        // Locked by another program: said with the reason, exit 2, after the wait set (not 5 s).
        FileIo::FileLock other;
        QVERIFY(other.acquire(t.catalog()).ok());
        const int timeout = FileIo::lockTimeout();
        FileIo::setLockTimeout(60);
        QElapsedTimer waited;
        waited.start();
        const Ran locked = run(t, {"--entfernen", "Haupt"});
        const qint64 elapsed = waited.elapsed();
        FileIo::setLockTimeout(timeout);
        QVERIFY2(elapsed >= 60 && elapsed < 2000, qPrintable(QString::number(elapsed)));
        Change change;
        change.result = FileIo::Result::failure(EWOULDBLOCK);
        QCOMPARE(locked, said(Cli::kNothingDone, {removalFailedText("Haupt", change, {})}));
    }

    // Each file its own addition, each message prefixed with its path as given; Module1 renamed.
    void add()
    {
        using namespace Catalog;
        Folder t;
        t.write("bin/w/Neu.frm", "VERSION 5.00\r\nObject = \"{5E9E78A0-531B-11CF-91F6-C2863C385E30}"
                                 "#1.0#0\"; \"MSFLXGRD.OCX\"\r\nBegin VB.Form Neu\r\n   Icon = "
                                 "\"Neu.frx\":0000\r\nEnd\r\nAttribute VB_Name = \"Neu\"\r\n");
        t.write("bin/w/Werk.bas", "Attribute VB_Name = \"Module1\"\r\n");
        t.write("bin/x/Hilfe.bas", "Attribute VB_Name = \"Hilfe\"\r\n");
        const QString w = t.exeFolder() + "/w/";
        QDir::setCurrent(t.exeFolder());
        QCOMPARE(run(t, {"--hinzufuegen", "--ueberschreiben", "w/Neu.frm", "w/Werk.bas"}),
                 said(Cli::kDone, {"w/Neu.frm: " + Cli::kAdded.arg("Neu"),
                                   "w/Neu.frm: " + companionText(prepareAddition(w + "Neu.frm")),
                                   "w/Werk.bas: " + Cli::kAdded.arg("Werk"),
                                   "w/Werk.bas: " + renamedText("Werk.bas")}));
        // The list is written anew at the end; a new entry's folder is stored whole.
        const QByteArray added = TestFolder::crlf(
            QString("[Filepath]|Haupt=v/|Hilfe=v/|Neu=%1|Werk=%1|[Filename]|Haupt=Haupt.frm|"
                    "Hilfe=Hilfe.bas|Neu=Neu.frm|Werk=Werk.bas|[Marked]|Haupt=1|[Caption]|"
                    "Hilfe=Rechnen\tund Runden|[Option]|Folder=0|[References]|Neu.0=Neu.frm|"
                    "Neu.1=%2|[Filelist]|100=Haupt|101=Hilfe|102=Neu|103=Werk")
                .arg(w, "Object={5E9E78A0-531B-11CF-91F6-C2863C385E30}#1.0#0; MSFLXGRD.OCX")
                .split('|'));
        QCOMPARE(t.catalogBytes(), added);

        const QString x = t.exeFolder() + "/x/Hilfe.bas", fehlt = t.file("fehlt.bas");
        const QStringList again{"--hinzufuegen", x, fehlt};
        const QString refused = fehlt + ": " + prepareAddition(fehlt).refusal;
        Change known;
        known.status = Change::Status::Exists;
        const QString kept = x + ": " + additionFailedText({}, known) + '\n' + Cli::kNotOverwritten;
        QCOMPARE(run(t, again), said(Cli::kNothingDone, {kept, refused}));

        QCOMPARE(run(t, again + QStringList{"--ueberschreiben"}),
                 said(Cli::kProblems, {x + ": " + Cli::kAdded.arg("Hilfe"), refused}));
        QCOMPARE(ReadIniValue(t.catalog(), "Filepath", "Hilfe"), t.exeFolder() + "/x/");
    }

    // A project's new components in one write, the summary naming each other line's reason.
    void takeIn()
    {
        Folder t;
        t.write("p/Neu.bas", "Attribute VB_Name = \"Neu\"\r\n");
        const QString vbp =
            t.write("p/P.vbp", TestFolder::crlf({"Form=..\\bin\\v\\haupt.frm",
                                                 "Module=Neu; Neu.bas", "Class=Weg; Weg.cls"}));
        const Catalog::Intake plan = Catalog::planIntake(vbp);
        QDir::setCurrent(t.file("p")); // named from the working folder
        const Ran ran = run(t, {"--uebernehmen", "P.vbp"});
        Catalog::IntakeOutcome done;
        done.taken = QStringList{"Neu"};
        QVERIFY2(ran.err.startsWith(Catalog::summaryText(done)), qPrintable(ran.err));
        for (const int other : {0, 2})
            QVERIFY2(ran.err.contains(plan.candidates.at(other).reason), qPrintable(ran.err));
        QCOMPARE(ran.code, int(Cli::kProblems));
        QCOMPARE(ReadIniValue(t.catalog(), "Filepath", "Neu"), t.file("p/"));

        const Ran json = run(t, {"--uebernehmen", vbp, "--komponente", "neu", "--json"});
        QCOMPARE(json.code, int(Cli::kProblems));
        const QJsonArray lines = json.json();
        QCOMPARE(lines.size(), 3);
        using State = Catalog::Candidate::State;
        QCOMPARE(lines.at(0).toObject().value("zustand"), Catalog::stateText(State::Same));
        QCOMPARE(lines.at(1).toObject(),
                 (QJsonObject{{"name", "Neu"},
                              {"art", Catalog::label(Catalog::Kind::Module)},
                              {"datei", t.file("p/Neu.bas")},
                              {"zustand", Catalog::stateText(State::Same)},
                              {"uebernommen", false},
                              {"grund", Catalog::planIntake(vbp).candidates.at(1).reason}}));
        QCOMPARE(lines.at(2).toObject().value("datei"), "Weg.cls");
        QCOMPARE(lines.at(2).toObject().value("zustand"), Catalog::stateText(State::Missing));
    }

    // The programs, output to a full device, run as another user if this one may write anywhere.
    void programs()
    {
        Folder t;
        const QString bin = t.exeFolder(), b = t.write("b.bas", "Attribute VB_Name = \"Beta\"\r\n");
        using namespace Session;
        const QString lost = Cli::kOutputLost.arg(FileIo::reasonFor(ENOSPC));
        Catalog::Change change;
        change.result = FileIo::Result::failure(EACCES);
        const QString denied = b + ": " + Catalog::additionFailedText({}, change);
        const QStringList x11{"DISPLAY=:4711", "QT_QPA_PLATFORM=xcb"};
        const std::tuple<QString, QStringList, QStringList, int, QString> rows[] = {
            {VORLAGEN_PROGRAM, {}, {}, 2, kNoSession.arg("vorlagen", kNoDisplay, "--help")},
            {QVTRCOPY, x11, {}, 2, kNoSession.arg("QvtrCopy", kUnreachable, "--help")},
            {VORLAGEN_PROGRAM, {}, {"--von", bin, "--liste"}, 1, lost},
            {VORLAGEN_PROGRAM, {}, {"--von", bin, "--hinzufuegen", b}, 2, denied}, // cannot save
        };
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(t.path(), open) &&
                QFile::setPermissions(bin, open & ~QFile::WriteOwner));
        const auto restore = qScopeGuard([&] { QFile::setPermissions(bin, open); });
        const auto unset = QString("-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM").split(' ');
        for (const auto& [program, environment, arguments, code, message] : rows) {
            QProcess process;
            process.setStandardOutputFile("/dev/full");
            if (::geteuid() == 0)
                process.setChildProcessModifier([] {
                    if (::setgroups(0, nullptr) || ::setgid(65534) || ::setuid(65534))
                        ::_exit(99);
                });
            process.start("env", unset + environment + QStringList{program} + arguments);
            QVERIFY(process.waitForFinished());
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(QString::fromUtf8(process.readAllStandardError()), message + '\n');
            QCOMPARE(process.exitCode(), code);
        }
    }
};

QTEST_GUILESS_MAIN(tst_cli)
#include "tst_cli.moc"
