#include "support/Recorder.h"

#include <QTest>

#include <sys/mount.h>
#include <sys/stat.h>

using namespace Generate;

const QString kFull = FileIo::reasonFor(ENOSPC);
const QString kNotRegular = FileIo::reasonFor(FileIo::kNotRegular);

const auto copyRun = [](const QStringList& entries, const QString& folder) {
    CopyControl control;
    return runCopies(planCopies(Catalog::Snapshot::read(), entries, folder), control);
};
const auto failures = [](const QList<Failure>& l) { return failureReport(l).section('\n', 1); };

class tst_copyrun : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        FileIo::clearFaults();
        setChunkBytes(0);
        setAfterChunk({});
    }

    // Chunks of 3 bytes put line ends across chunk borders.
    void lineEnds()
    {
        const QByteArray crlf = "Attribute\r\nx\r\n\r\n", nul("\0a\nb\n", 5),
                         late("ab\ncd\nef\n\0", 10);
        QList<std::tuple<QString, QByteArray, QByteArray>> rows = {
            {"A.bas", crlf, crlf},                               // CR LF stays as it is
            {"A.bas", "ab\r\ncd\nef\r\n", "ab\r\ncd\r\nef\r\n"}, // CR LF across a chunk border
            {"A.frm", "\n\n", "\r\n\r\n"},                       // LF first
            {"A.frx", QByteArray("\x01\n\x00\n", 4), QByteArray("\x01\n\x00\n", 4)}, // binary
            {"A.res", "a\nb\n", "a\nb\n"},                                           // binary
            {"A.bas", nul, nul},    // a NUL makes any file binary
            {"A.frm", late, late}}; // also a NUL past the first chunk
        for (const char* kind : {"frm", "bas", "ctl", "cls", "dob", "pag", "dsr", "FRM"})
            rows.append({QString("A.") + kind, "ab\ncd\n\nx", "ab\r\ncd\r\n\r\nx"});
        for (const auto& [fileName, source, copy] : rows) {
            TestFolder t;
            writeEntries(t, {"A=" + fileName});
            const QString original = t.write("src/" + fileName, source);
            setChunkBytes(3);
            QVERIFY(copyRun({"A"}, t.file("out")).failures.isEmpty());
            QCOMPARE(TestFolder::read(t.file("out/") + fileName), copy);
            QCOMPARE(TestFolder::read(original), source); // the catalogue's file is never changed
        }
    }

    // A write failing after N bytes: older bytes stay, no temporary left, the reason said.
    void fullDisk()
    {
        for (const QString name : {"Haupt.frm", "Daten.res"})
            for (const qint64 after : {0, 5})
                for (const bool older : {false, true}) {
                    TestFolder t;
                    writeEntries(t, {"Haupt=" + name});
                    t.write("src/" + name, QByteArray(100, 'x'));
                    QDir().mkpath(t.file("out"));
                    if (older)
                        t.write("out/" + name, "alt");
                    const auto before = contents(t.file("out"));
                    setChunkBytes(4);
                    FileIo::failWritesAfter(after);
                    const CopyResult result = copyRun({"Haupt"}, t.file("out"));
                    FileIo::clearFaults();
                    QCOMPARE(failures(result.failures), name + ": " + kFull);
                    QCOMPARE(contents(t.file("out")), before);
                }
    }

    // Pipes as component, companion and template: refused at once, named, the rest goes on.
    void pipesDoNotBlock()
    {
        TestFolder t;
        writeEntries(t, {"Rohr=Rohr.bas", "Haupt=Haupt.frm"});
        t.write("src/Haupt.frm", "VERSION 5.00\r\n");
        for (const char* pipe : {"src/Rohr.bas", "src/Haupt.frx", "bin/QvStandard.bpv"})
            QVERIFY(::mkfifo(QFile::encodeName(t.file(pipe)).constData(), 0600) == 0);
        QElapsedTimer timer;
        timer.start();
        const Outcome outcome = Recorder().run(request({"Rohr", "Haupt"}, t.file("out")));
        QVERIFY(timer.elapsed() < 1000);
        QCOMPARE(failures(outcome.failures), "Rohr.bas: " + kNotRegular + "\nHaupt.frx: " +
                                                 kNotRegular + "\nQvStandard.bpv: " + kNotRegular);
        QCOMPARE(contents(t.file("out")).keys(),
                 QStringList({"Haupt.frm", "Kunde.vbw", "Kunde.vorlagen"}));
    }

    // Stopped amid a text or binary file: older files stay, nothing new is left.
    void stopInTheMiddle()
    {
        // Chunks of 8 bytes, 5 to a file: in Haupt.frm, in Haupt.frx.
        for (const auto& [projectFolderExisted, stopAt] : {std::pair{false, 3}, {true, 8}}) {
            TestFolder t;
            writeEntries(t, {"Haupt=Haupt.frm", "Modul=Modul.bas", "Daten=Daten.res"});
            for (const char* file : {"Haupt.frm", "Haupt.frx", "Modul.bas", "Daten.res"})
                t.write(QString("src/") + file, QByteArray(40, file[0]));
            const QString folder = t.file("neu/A/B");
            if (projectFolderExisted) {
                t.write("neu/A/B/Haupt.frx", "alt");
                t.write("neu/A/B/fremd.txt", "bleibt");
            }
            const auto before = contents(folder);
            const QByteArray catalogue = t.catalogBytes();
            setChunkBytes(8);
            int chunks = 0;
            Generation generation(request({"Haupt", "Modul", "Daten"}, folder));
            setAfterChunk([&](const CopyControl&) {
                if (++chunks == stopAt)
                    generation.stop();
            });
            Recorder recorder;
            QVERIFY(recorder.run(generation).stopped);
            QCOMPARE(recorder.said, QStringList{"Copies"});
            QCOMPARE(chunks, stopAt);
            QCOMPARE(t.catalogBytes(), catalogue);
            QCOMPARE(contents(folder), before);
            QCOMPARE(QFileInfo::exists(t.file("neu")), projectFolderExisted);
        }
    }

    // The total is reached once, at the end; the file index names every file in order.
    void progress()
    {
        TestFolder t;
        writeEntries(t, {"Haupt=Haupt.frm", "Fehlt=Fehlt.bas", "Daten=Daten.res"});
        t.write("src/Haupt.frm", QByteArray(10, 'f'));
        t.write("src/Haupt.frx", QByteArray(25, 'x'));
        t.write("src/Daten.res", QByteArray(7, 'r'));
        const CopyPlan plan =
            planCopies(Catalog::Snapshot::read(), {"Haupt", "Fehlt", "Daten"}, t.file("out"));
        QCOMPARE(plan.totalBytes, qint64(42));
        setChunkBytes(4);
        QList<qint64> done;
        QList<int> files;
        setAfterChunk([&](const CopyControl& c) {
            done << c.bytesDone;
            if (files.isEmpty() || files.last() != c.file)
                files << c.file;
        });
        CopyControl control;
        const CopyResult result = runCopies(plan, control);
        QCOMPARE(files, QList<int>({0, 1, 3})); // 2 is the missing Fehlt.bas
        QVERIFY(std::is_sorted(done.begin(), done.end()));
        QCOMPARE(done.count(42), 1);
        QCOMPARE(control.bytesDone.load(), qint64(42));
        QCOMPARE(failures(result.failures), "Fehlt.bas: " + Reason::kSourceMissing);
    }

    // A real full disk: a small tmpfs filled to the brim (needs root).
    void realFullDisk()
    {
        TestFolder t;
        const QString disk = t.file("disk");
        QDir().mkpath(disk);
        if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP("mounting a tmpfs is not allowed here (needs root); the write seam covers it");
        const auto unmount = qScopeGuard([&] { ::umount(QFile::encodeName(disk).constData()); });
        t.write("disk/Kunde/Kunde.vbp", "alt");
        QFile filler(disk + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
        }
        filler.close();
        writeEntries(t, {"Haupt=Haupt.frm", "Daten=Daten.res"});
        t.write("src/Haupt.frm", QByteArray(20000, 'f'));
        t.write("src/Daten.res", QByteArray(20000, 'r'));
        t.write("bin/QvStandard.bpv", QByteArray(20000, 'T'));
        const QString report =
            failureReport(Recorder().run(request({"Haupt", "Daten"}, disk + "/Kunde")).failures);
        for (const char* name : {"Haupt.frm", "Daten.res", "Kunde.vbp"})
            QVERIFY2(report.contains(QString(name) + ": " + kFull), qPrintable(report));
        // Only whole files: the older .vbp, and a .vbw and the record if they fit.
        auto left = contents(disk + "/Kunde");
        left.remove("Kunde.vorlagen");
        QCOMPARE(left.take("Kunde.vbp"), QByteArray("alt"));
        if (left.contains("Kunde.vbw"))
            QCOMPARE(left.take("Kunde.vbw"), workspaceFileBytes("Haupt"));
        QVERIFY2(left.isEmpty(), qPrintable(left.keys().join(' ')));
    }

    void sizes()
    {
        QCOMPARE(sizeProgress(512, 900), "512 von 900 Bytes");
        QCOMPARE(sizeProgress(1536, 20480), "1,5 von 20,0 KB");
        QCOMPARE(sizeProgress(1572864, 10485760), "1,5 von 10,0 MB");
        QCOMPARE(sizeProgress(1288490189, 3221225472), "1,2 von 3,0 GB");
    }
};

QTEST_GUILESS_MAIN(tst_copyrun)
#include "tst_copyrun.moc"
