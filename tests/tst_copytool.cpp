#include "catalog/Catalog.h"
#include "cli/Texts.h"
#include "copytool/CopyCommandLine.h"
#include "copytool/CopyWindow.h"
#include "copytool/PresetCopy.h"
#include "generate/CopyRun.h"
#include "platform/AppContext.h"
#include "platform/FileIo.h"
#include "support/FakeDesktop.h"
#include "support/FullDevice.h"
#include "support/Recorder.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <unistd.h>

// The copy tool: what it copies, the catalogue it writes, what it refuses, its
// window and its command line.
class tst_copytool : public QObject
{
    Q_OBJECT

    // Presets in <tmp>/bin: a form with its .frx, a module, a user control with
    // an upper-case .CTX, two forms of one name from different folders, one entry
    // whose file is missing, the template and its spare.
    struct Presets
    {
        TestFolder t;
        Presets()
        {
            t.write("a/Haupt.frm", "VERSION 5.00\r\nBegin VB.Form Haupt\r\n");
            t.write("a/Haupt.frx", QByteArray("\x01\x00\x02", 3));
            t.write("a/Hilfsmodul.bas", "Attribute VB_Name = \"Hilfsmodul\"\r\n");
            t.write("b/Knopf.ctl", "VERSION 5.00\r\n");
            t.write("b/Knopf.CTX", QByteArray("\x03\x04", 2));
            t.write("b/Haupt.frm", "VERSION 5.00\r\nBegin VB.Form Zweit\r\n");
            t.listEntries({"Haupt=a/Haupt.frm", "Hilfsmodul=a/Hilfsmodul.bas", "Knopf=b/Knopf.ctl",
                           "Zweit=b/Haupt.frm", "Weg=a/Weg.bas"},
                          {"[Caption]", "Haupt=Das Hauptfenster", "[Option]", "Folder=1"});
            QFile::remove(t.file("a/Weg.bas"));
            t.write("bin/QvStandard.bpv",
                    TestFolder::crlf({"Type=Exe", "Startup=\"Sub Main\"", "Name=\"Projekt1\"",
                                      "Description=\"<PROJEKT>\"", "Title=\"<PROJEKT>\""}));
            t.write("bin/QvStandard.prj", "Type=Exe\r\n");
        }
        QString source() const { return t.exeFolder(); }
        QString target() const { return t.file("ziel"); }
    };

private slots:
    void cleanup()
    {
        FileIo::clearFaults();
        Generate::setAfterChunk({});
        Generate::setChunkBytes(0);
    }

    void copiesEverythingAndPointsTheCatalogueAtIt()
    {
        Presets p;
        const auto sourceBefore = TestFolder::contents(p.t.path(), true);
        const PresetCopy::Plan plan = PresetCopy::plan(p.source(), p.target());
        const PresetCopy::Outcome outcome = PresetCopy::run(plan, false);
        QVERIFY2(outcome.failed.isEmpty(), qPrintable(outcome.failed.join('\n')));
        QCOMPARE(outcome.missing,
                 QStringList{"Komponente ''Weg'': ''" + p.t.file("a/Weg.bas") + "'' fehlt."});

        // Every file with its bytes; the second Haupt.frm in a folder of its own.
        QMap<QString, QByteArray> expected;
        for (const QString file :
             {"a/Haupt.frm", "a/Haupt.frx", "a/Hilfsmodul.bas", "b/Knopf.ctl", "b/Knopf.CTX"})
            expected.insert("Komponenten/" + file.mid(2), TestFolder::read(p.t.file(file)));
        for (const QString file : {"QvStandard.bpv", "QvStandard.prj"})
            expected.insert(file, TestFolder::read(p.source() + '/' + file));
        expected.insert("Komponenten/2/Haupt.frm", TestFolder::read(p.t.file("b/Haupt.frm")));
        // The catalogue as it was, its folders pointing into the copy.
        const QByteArray a = '=' + QFile::encodeName(p.t.file("a/"));
        const QByteArray b = '=' + QFile::encodeName(p.t.file("b/"));
        QByteArray catalogue = p.t.catalogBytes();
        catalogue.replace("Haupt" + a, "Haupt=Komponenten/")
            .replace("Hilfsmodul" + a, "Hilfsmodul=Komponenten/")
            .replace("Knopf" + b, "Knopf=Komponenten/")
            .replace("Zweit" + b, "Zweit=Komponenten/2/");
        expected.insert("vorlagen.dat", catalogue);
        QCOMPARE(TestFolder::contents(p.target(), true), expected);
        auto all = sourceBefore; // the source is only read
        for (const auto& [name, bytes] : expected.asKeyValueRange())
            all.insert("ziel/" + name, bytes);
        QCOMPARE(TestFolder::contents(p.t.path(), true), all);
        QVERIFY(PresetCopy::summary(plan, outcome).contains("In den Vorlagen fehlen:\n"));
    }

    // A form and its companion named as long as the catalogue allows (254
    // characters) reach the copy and a new project.
    void longestNamesAreCopied()
    {
        TestFolder t;
        const QString form = QString(250, 'L') + ".frm";
        const QString companion = QString(250, 'L') + ".frx";
        t.write("a/" + form, "VERSION 5.00\r\nAttribute VB_Name = \"Lang\"\r\n");
        t.write("a/" + companion, "bin");
        t.listEntries({"Lang=a/" + form});
        const PresetCopy::Outcome outcome =
            PresetCopy::run(PresetCopy::plan(t.exeFolder(), t.file("ziel")), false);
        QCOMPARE(outcome.failed, QStringList());
        QCOMPARE(TestFolder::read(t.file("ziel/Komponenten/" + companion)), QByteArray("bin"));
        QCOMPARE(Recorder().run(request({"Lang"}, t.file("P/"))).failures.size(), 0);
        QCOMPARE(TestFolder::read(t.file("P/" + form)), TestFolder::read(t.file("a/" + form)));
        QCOMPARE(TestFolder::read(t.file("P/" + companion)), QByteArray("bin"));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("target"); // relative to the test folder
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* tag, const char* target, const char* refusal) {
            QTest::newRow(tag) << QString(target) << QString(refusal);
        };
        // The presets' folder itself, a folder inside it, a link into it.
        for (const char* inside : {"bin", "bin/neu/x", "link/neu"})
            row(inside, inside, "liegt im Ordner der Vorlagen");
        // A folder whose template is the presets' own (a hard link): the copy
        // would land on itself.
        row("holding them", "selbst", "enthält die Vorlagen selbst");
        row("a file", "a/Haupt.frm", "ist eine Datei und kein Ordner");
        row("empty", "", "Bitte geben Sie einen Zielordner an.");
    }

    void refusals()
    {
        QFETCH(QString, target);
        QFETCH(QString, refusal);
        Presets p;
        QFile::link(p.source(), p.t.file("link"));
        QDir().mkpath(p.t.file("selbst"));
        QCOMPARE(::link(QFile::encodeName(p.source() + "/QvStandard.bpv").constData(),
                        QFile::encodeName(p.t.file("selbst/QvStandard.bpv")).constData()),
                 0);
        const auto before = TestFolder::contents(p.t.path(), true);
        const PresetCopy::Plan plan =
            PresetCopy::plan(p.source(), target.isEmpty() ? QString() : p.t.file(target));
        QVERIFY2(plan.refusal.contains(refusal), qPrintable(plan.refusal));
        PresetCopy::run(plan, true);
        QCOMPARE(TestFolder::contents(p.t.path(), true), before);
    }

    void existingFilesAreKeptUnlessReplaced()
    {
        Presets p;
        p.t.write("ziel/QvStandard.bpv", "eigene Vorlage\r\n");
        // A link to nowhere where a copy goes counts as there, too.
        const QString link = p.target() + "/QvStandard.prj";
        QVERIFY(QFile::link(p.t.file("nirgends"), link));
        const PresetCopy::Plan plan = PresetCopy::plan(p.source(), p.target());
        QCOMPARE(PresetCopy::existingTargets(plan),
                 QStringList({p.target() + "/QvStandard.bpv", link}));
        PresetCopy::Outcome kept = PresetCopy::run(plan, false);
        QCOMPARE(kept.failed,
                 QStringList({"''" + p.target() + "/QvStandard.bpv'': " + FileIo::reasonFor(EEXIST),
                              "''" + link + "'': " + FileIo::reasonFor(EEXIST)}));
        QCOMPARE(TestFolder::read(p.target() + "/QvStandard.bpv"),
                 QByteArray("eigene Vorlage\r\n"));
        QVERIFY(QFileInfo(link).isSymLink());
        // Everything else was copied.
        QCOMPARE(kept.copied, 7);
        const PresetCopy::Outcome replaced = PresetCopy::run(plan, true);
        QVERIFY(replaced.failed.isEmpty());
        QCOMPARE(TestFolder::read(p.target() + "/QvStandard.bpv"),
                 TestFolder::read(p.source() + "/QvStandard.bpv"));
        QVERIFY(!QFileInfo(link).isSymLink() && !QFileInfo::exists(p.t.file("nirgends")));
        QCOMPARE(TestFolder::read(link), QByteArray("Type=Exe\r\n"));
    }

    // A stop in the middle of a large file: the run has ended within 100 ms of
    // the click, nothing it copied is left, the older files in the target and
    // the presets are as they were. The window's events ran all along.
    void cancelTakesBackTheCopy()
    {
        for (const bool byClose : {false, true}) { // Abbrechen, closing the window
            Presets p;
            p.t.write("a/Haupt.frx", QByteArray(8 << 20, 'x'));
            p.t.write("ziel/QvStandard.prj", "alt\r\n");
            p.t.write("ziel/eigen.txt", "eigen");
            const auto before = TestFolder::contents(p.t.path(), true);
            // 128 chunks of at least 5 ms each.
            Generate::setChunkBytes(64 << 10);
            Generate::setAfterChunk([](const Generate::CopyControl&) { QThread::msleep(5); });
            FakeDesktop desk;
            CopyWindow window(p.source());
            window.show();
            window.tZiel->setText(p.target());
            desk.answers << QMessageBox::Yes << QMessageBox::Ok;
            QElapsedTimer sinceClick;
            QTimer timer;
            connect(&timer, &QTimer::timeout, [&] {
                if (sinceClick.isValid() || window.pFortschritt->value() < 100)
                    return;
                QVERIFY(window.bAbbrechen->isVisible() && !window.bSchliessen->isVisible());
                sinceClick.start();
                if (byClose)
                    window.close();
                else
                    QTest::mouseClick(window.bAbbrechen, Qt::LeftButton);
            });
            timer.start(5);
            QTest::mouseClick(window.bKopieren, Qt::LeftButton);
            const qint64 ms = sinceClick.elapsed();
            QVERIFY(sinceClick.isValid());
            QVERIFY2(ms < 100, qPrintable(QString::number(ms)));
            QCOMPARE(desk.messages.size(), 2);
            QCOMPARE(desk.messages.at(1).text, PresetCopy::kCancelled);
            QCOMPARE(TestFolder::contents(p.t.path(), true), before);
            QVERIFY(!QFileInfo::exists(p.target() + "/Komponenten"));
            // A close only stops the copy; the window stays to say so.
            QVERIFY(window.isVisible() && window.bSchliessen->isVisible() &&
                    !window.bAbbrechen->isVisible());
        }
    }

    // The command line in-process: exit code, standard output and standard error
    // as written, and how many files the target holds. "%T" is the test folder,
    // also the working and the home folder; code -1: the window opens on %T/bin.
    void commandLine_data()
    {
        using namespace Cli;
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<int>("files"); // in %T/ziel
        const auto row = [](const char* tag, const QStringList& arguments, const char* setup,
                            int code, const QString& out, const QString& err, int files) {
            QTest::newRow(tag) << arguments << QString(setup) << code << out << err << files;
        };
        const QStringList line{"--von", "%T/bin", "--nach", "%T/ziel"};
        const QString copied = "%1 Dateien (0,0 MB) wurden nach ''%T/%2'' kopiert.\n";
        const QString whole = "Alle Vorlagen sind vollständig kopiert.\n";
        const QString all = copied.arg("10", "ziel") + whole;
        row("all copied", line, "", kDone, all, "", 10);
        row("spare template missing is no failure", line, "no spare", kDone,
            copied.arg("9", "ziel") + whole, "", 9);
        row("a relative target counts from the working folder", {"--von", "bin", "--nach", "ziel"},
            "", kDone, all, "", 10);
        row("~/ is the home folder", {"--von", "bin", "--nach", "~/ziel"}, "", kDone, all, "", 10);
        row("a missing file", line, "missing", kProblems, "",
            copied.arg("9", "ziel") +
                "\nIn den Vorlagen fehlen:\nKomponente ''Weg'': ''%T/a/Weg.bas'' fehlt.\n",
            9);
        row("existing files kept", line, "existing", kNothingDone, "",
            "Im Zielordner sind bereits Dateien gleichen Namens vorhanden; ersetzt werden sie nur "
            "mit --ueberschreiben:\n%T/ziel/vorlagen.dat\n",
            1);
        row("existing files replaced", line + QStringList{"--ueberschreiben"}, "existing", kDone,
            all, "", 10);
        // Each file named once, with its reason.
        QString notCopied = copied.arg("0", "a/Haupt.frm/ziel") + "\nNicht kopiert:\n";
        for (const char* file :
             {"QvStandard.bpv", "QvStandard.prj", "Komponenten/Haupt.frm", "Komponenten/Haupt.frx",
              "Komponenten/Hilfsmodul.bas", "Komponenten/Knopf.ctl", "Komponenten/Knopf.CTX",
              "Komponenten/2/Haupt.frm", "Komponenten/Weg.bas", "vorlagen.dat"})
            notCopied += QString("''%T/a/Haupt.frm/ziel/%1'': ").arg(file) +
                         FileIo::reasonFor(ENOTDIR) + '\n';
        row("nothing copied: the target's parent is a file",
            {"--von", "bin", "--nach", "a/Haupt.frm/ziel"}, "", kNothingDone, "", notCopied, 0);
        row("standard output full", line, "out full", kProblems, "",
            kOutputLost.arg(FileIo::reasonFor(ENOSPC)) + '\n', 10);
        for (const char* help : {"--help", "-h", "--hilfe"})
            row(help, {"--von", "%T/fehlt", help}, "", kDone, CopyCommandLine::helpText(), "", 0);
        QVERIFY(CopyCommandLine::helpText().contains("\n  -h, --help "));
        QVERIFY(!CopyCommandLine::helpText().contains("hilfe"));
        row("version", {"--version"}, "", kDone, "QvtrCopy " VORLAGEN_VERSION "\n", "", 0);
        row("the window with --von", {"--von", "bin"}, "", -1, "", "", 0);
        // Bad arguments: one line, nothing copied. The shared parser's own rules are
        // tabled in tst_cli::badArguments.
        const auto bad = [&](const char* tag, const QStringList& arguments, const QString& said) {
            row(tag, arguments, "", kNothingDone, "", said + '\n', 0);
        };
        bad("unknown option", line + QStringList{"--falsch"},
            kUnknownOption.arg("--falsch", "QvtrCopy"));
        bad("replace without a target", {"--ueberschreiben"},
            kRequired.arg("--ueberschreiben", "--nach ORDNER"));
        bad("target twice", line + QStringList{"--nach", "%T/z"}, kRepeated.arg("--nach"));
        bad("an argument of no option", line + QStringList{"x"}, kUnexpectedArgument.arg("x"));
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, setup);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(int, files);
        Presets p;
        if (setup != "missing") // without the missing entry everything can be copied
            QVERIFY(Catalog::setFolders(p.t.catalog(), {{"Weg", p.t.file("b/")}}).ok() &&
                    !p.t.write("b/Weg.bas", "x").isEmpty());
        if (setup == "existing")
            p.t.write("ziel/vorlagen.dat", "alt\r\n");
        if (setup == "no spare")
            QVERIFY(QFile::remove(p.source() + "/QvStandard.prj"));
        QDir::setCurrent(p.t.path());             // the fixture restores it
        AppContext::setDataFolder(p.t.file("a")); // so that only --von finds the presets
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(p.t.path()));
        const CopyCommandLine::Request request = CopyCommandLine::parse(
            QStringList{"QvtrCopy"} + arguments.replaceInStrings("%T", p.t.path()));
        QBuffer written[2];
        written[0].open(QIODevice::WriteOnly);
        written[1].open(QIODevice::WriteOnly);
        FullDevice full;
        int ran = -1;
        if (!request.opensWindow()) {
            Cli::Output output(setup == "out full" ? &full : static_cast<QIODevice*>(&written[0]),
                               &written[1]);
            ran = CopyCommandLine::run(request, output);
        }
        qputenv("HOME", home);
        QCOMPARE(QString::fromUtf8(written[1].data()), err.replace("%T", p.t.path()));
        QCOMPARE(QString::fromUtf8(written[0].data()), out.replace("%T", p.t.path()));
        QCOMPARE(ran, code);
        QCOMPARE(TestFolder::contents(p.target(), true).size(), files);
        if (ran < 0)
            QCOMPARE(request.presets(), p.source());
    }

    // Return in the folder box copies; "~/" is the home folder, and a folder
    // relative to wherever the tool was started is refused. Files of the same
    // names in the folder chosen are replaced only after a Yes.
    void window()
    {
        Presets p;
        FakeDesktop desk;
        p.t.write("ziel/QvStandard.prj", "alt\r\n");
        QVERIFY(QDir().mkpath(p.t.file("home")));
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(p.t.file("home")));
        QDir::setCurrent(p.t.path()); // the fixture restores it
        CopyWindow window(p.source());
        window.show();
        desk.answers << QMessageBox::Ok << QMessageBox::Ok << QMessageBox::No << QMessageBox::Yes
                     << QMessageBox::Ok;
        for (const char* typed : {"vorgaben", "~/vorgaben"}) {
            window.tZiel->setText(typed);
            QTest::keyClick(window.tZiel, Qt::Key_Return);
        }
        qputenv("HOME", home);
        QVERIFY(desk.messages[0].text.contains("''vorgaben''"));
        QVERIFY(QFileInfo::exists(p.t.file("home/vorgaben/vorlagen.dat")));
        QVERIFY(!QFileInfo::exists(p.t.file("vorgaben")) && !QFileInfo::exists(p.t.file("~")));
        desk.folders.enqueue(p.target());
        QTest::mouseClick(window.bZiel, Qt::LeftButton);
        QTest::mouseClick(window.bKopieren, Qt::LeftButton); // No
        QCOMPARE(TestFolder::contents(p.target(), true).size(), 1);
        QTest::mouseClick(window.bKopieren, Qt::LeftButton); // Yes
        QCOMPARE(desk.messages.size(), 5);
        for (const int asked : {2, 3})
            QVERIFY(desk.messages.at(asked).text.startsWith(
                "Im Zielordner sind bereits 1 Dateien gleichen Namens vorhanden:\n" + p.target() +
                "/QvStandard.prj"));
        QCOMPARE(desk.messages.at(4).icon, QMessageBox::Warning); // one entry is missing
        QVERIFY(desk.messages.at(4).text.startsWith("9 Dateien"));
        QCOMPARE(TestFolder::read(p.target() + "/QvStandard.prj"), QByteArray("Type=Exe\r\n"));
        QCOMPARE(window.pFortschritt->value(), 1000);
    }

    // A catalogue in an encoding not recognised, or a folder in its place: one
    // refusal naming it, no copy.
    void unusableCatalogueIsRefused()
    {
        Presets p;
        QStringEncoder utf32(QStringEncoder::Utf32LE); // without its mark
        p.t.write("bin/vorlagen.dat", utf32(u"[Filelist]\r\n100=Haupt\r\n"));
        for (const bool folder : {false, true}) {
            QVERIFY(!folder || (QFile::remove(p.t.catalog()) && QDir().mkdir(p.t.catalog())));
            const PresetCopy::Plan plan = PresetCopy::plan(p.source(), p.target());
            QVERIFY(plan.refusal.startsWith(
                folder ? Catalog::unreadableText(p.t.catalog(), FileIo::Result::failure(EISDIR))
                       : Catalog::unknownEncodingText(p.t.catalog())));
            QCOMPARE(PresetCopy::run(plan, false).copied, 0);
            QVERIFY(!QFileInfo::exists(p.target()));
        }
    }
};

QTEST_MAIN(tst_copytool)
#include "tst_copytool.moc"
