#include "catalog/ProjectTemplate.h"
#include "cli/Texts.h"
#include "generate/CopyRun.h"
#include "platform/IniFiles.h"
#include "support/CliRun.h"

#include <QDir>

#include <csignal>

using namespace CliRun;

class tst_clinew : public QObject
{
    Q_OBJECT

private slots:
    // Named entries in list order; --vorschau writes nothing; a signal amid copies changes nothing.
    void newProject()
    {
        using namespace Cli;
        Folder t;
        // No template: the window's words; a usable spare is restored. No --komponente: the marked.
        QVERIFY(QFile::remove(t.exeFolder() + "/QvStandard.bpv"));
        QCOMPARE(run(t, {"--neu", "Kunde", "--ordner", t.file("R")}),
                 said(kProblems, {ProjectTemplate::kMissing, kMadeIncompletely.arg(t.file("R/"))}));
        QVERIFY(!QFile::exists(t.file("R/Kunde.vbp")));
        t.write("bin/QvStandard.prj", "Type=Exe\r\n");
        QCOMPARE(run(t, {"--neu", "Kunde", "--ordner", t.file("Q")}),
                 said(kDone, {kMade.arg(t.file("Q/"))}));
        QCOMPARE(QDir(t.file("Q")).entryList(QDir::Files),
                 QString("Haupt.frm|Haupt.frx|Kunde.vbp|Kunde.vbw|Kunde.vorlagen").split('|'));
        const QByteArray before = t.catalogBytes();
        const QString p = t.file("P/");
        t.write("P/Haupt.frm", "alt");
        const QStringList line{"--neu",        "Kunde",           "--ordner",     t.file("P"),
                               "--komponente", "hilfe",           "--komponente", "Haupt",
                               "--markieren",  "--ueberschreiben"};
        const Ran preview = run(t, line + QStringList{"--vorschau"});

        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            Generate::setChunkBytes(1);
            Generate::setAfterChunk([&](const Generate::CopyControl&) { std::raise(signal); });
            const Ran stopped = run(t, line);
            Generate::setAfterChunk({});
            Generate::setChunkBytes(0);
            QCOMPARE(stopped, said(kNothingDone, {kStopped}));
            QCOMPARE(TestFolder::contents(p), (QMap<QString, QByteArray>{{"Haupt.frm", "alt"}}));
            QCOMPARE(t.catalogBytes(), before);
        }

        // The remembered option: no subfolder. No xdg-open on the search path.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", t.path().toUtf8());
        const Ran made = run(t, line + QStringList{"--oeffnen"});
        qputenv("PATH", path);
        QCOMPARE(made, said(kProblems, {kMade.arg(p), kNotOpened.arg(p + "Kunde.vbp", kNoOpener)}));
        QString shown;
        for (const char* file : {"Haupt.frm", "Haupt.frx", "Hilfe.bas"})
            shown += kPreviewCopy.arg(t.exeFolder() + "/v/" + file, p + file) + '\n';
        for (const char* file : {"Kunde.vbp", "Kunde.vbw"})
            shown += kPreviewFile.arg(p + file) +
                     QString::fromLatin1(TestFolder::read(p + file)).replace("\r\n", "\n");
        QCOMPARE(preview, (Ran{kDone, shown}));
        QCOMPARE(ReadIniValue(t.catalog(), "Marked", "Hilfe"), QString("1"));
    }
};

QTEST_GUILESS_MAIN(tst_clinew)
#include "tst_clinew.moc"
