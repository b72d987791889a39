// Generates a project of 101 components (about 50 MB, the text components with
// bare LF line ends, so the CR LF conversion runs) and copies the same files with
// cp, side by side on the same disk, and compares the two times. With --big it
// also copies one file of 2 GB both ways (made at run time, removed afterwards).
//
//   bench_generate [--big] [folder]   (default: the system's temporary folder)

#include "BenchComponents.h"
#include "catalog/Catalog.h"
#include "generate/Generation.h"
#include "platform/AppContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

using Bench::median;
using Bench::Source;

constexpr double kAllowed = 1.1;           // the project's files in place
constexpr double kAllowedGeneration = 1.1; // the whole generation, remembered references included
constexpr int kRounds = 11;
constexpr qint64 kBigBytes = qint64(2) << 30;
constexpr int kBigRounds = 3;

void run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
}

// cp alone leaves the copies in the page cache; the generation makes them
// durable (each copy is synced before it is put in place). So cp is timed
// twice: alone, and followed by `sync -f` on the copies' file system, the
// same work the generation does.
struct CpTimes
{
    QList<double> cp;
    QList<double> cpSync;
};

void runCp(const QStringList& files, const QString& target, CpTimes& times)
{
    ::sync();
    QElapsedTimer timer;
    timer.start();
    run(QStringLiteral("cp"), files + QStringList{target});
    times.cp << timer.nsecsElapsed() / 1e6;
    run(QStringLiteral("sync"), {QStringLiteral("-f"), target});
    times.cpSync << timer.nsecsElapsed() / 1e6;
}

// Notes when the project's files are in place and says nothing: the copies are
// synced and renamed together with the .vbp and .vbw.
struct Timing : Generate::Frontend
{
    QElapsedTimer timer;
    double copiesMs = 0;
    void stepStarted(Generate::Step step) override
    {
        if (step == Generate::Step::CleanUp)
            copiesMs = timer.nsecsElapsed() / 1e6;
    }
    void sortedList(const QStringList&) override {}
};

qint64 folderBytes(const QString& folder)
{
    qint64 sum = 0;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files))
        sum += info.size();
    return sum;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool big = arguments.removeAll(QStringLiteral("--big")) > 0;
    const QString base = arguments.isEmpty() ? QDir::tempPath() : arguments.first();
    QTemporaryDir dir(base + QStringLiteral("/bench_generate-XXXXXX"));
    if (!dir.isValid())
        qFatal("cannot create a folder in %s", qPrintable(base));
    const QString root = dir.path() + QLatin1Char('/');
    const QString sourceFolder = root + QStringLiteral("Vorlagen/");
    QDir().mkpath(sourceFolder);
    QDir().mkpath(root + QStringLiteral("bin"));
    AppContext::setExeFolder(root + QStringLiteral("bin"));
    AppContext::setRegistryFolder(root + QStringLiteral("registry"));

    QStringList allFiles;
    const QList<Source> sources = Bench::makeComponents(sourceFolder, allFiles);
    Bench::writeCatalog(sources, sourceFolder, AppContext::catalogFile());
    const QString templatePath = root + QStringLiteral("bin/QvStandard.bpv");
    {
        QFile tpl(templatePath);
        if (!tpl.open(QIODevice::WriteOnly))
            qFatal("cannot write the template");
        tpl.write("Type=Exe\r\nStartup=\"Sub Main\"\r\nName=\"Projekt1\"\r\n"
                  "Description=\"<PROJEKT>\"\r\nTitle=\"<PROJEKT>\"\r\n");
    }
    Generate::Request request;
    for (const Source& s : sources)
        request.entries << s.entry;
    request.projectName = QStringLiteral("Bench");

    const QString cpFolder = root + QStringLiteral("cp");
    const QString projectFolder = root + QStringLiteral("Projekt");
    request.folderText = projectFolder;
    request.subfolder = false;
    CpTimes cpTimes;
    QList<double> generateTimes;
    QList<double> copyTimes;
    qint64 copiedBytes = 0;

    for (int round = 0; round < kRounds; ++round) {
        QDir(cpFolder).removeRecursively();
        QDir(projectFolder).removeRecursively();
        QDir().mkpath(cpFolder);

        auto runCp = [&] { ::runCp(allFiles, cpFolder, cpTimes); };
        auto runGenerate = [&] {
            ::sync();
            Timing timing;
            timing.timer.start();
            Generate::Generation generation(request);
            const Generate::Outcome outcome = generation.run(timing);
            generateTimes << timing.timer.nsecsElapsed() / 1e6;
            copyTimes << timing.copiesMs;
            if (!outcome.failures.isEmpty() || !outcome.notSaved.isEmpty() ||
                outcome.written.size() != allFiles.size() + 3) // .vbp, .vbw, record
                qFatal("generation failed:\n%s",
                       qPrintable(Generate::failureReport(outcome.failures)));
        };
        // Alternate the order so neither side always meets a warmer cache.
        if (round % 2 == 0) {
            runCp();
            runGenerate();
        } else {
            runGenerate();
            runCp();
        }
        copiedBytes = folderBytes(cpFolder);
    }

    // The remembered lines reached the project file, merged.
    {
        QFile vbp(projectFolder + QStringLiteral("/Bench.vbp"));
        if (!vbp.open(QIODevice::ReadOnly))
            qFatal("no project file");
        const QByteArray text = vbp.readAll();
        if (text.count("Reference=*") != 5 || text.count("Object={5E9E78A0") != 5)
            qFatal("the remembered lines are not merged into the project file");
    }

    // The catalogue reads alone: the part of the generation cp does not do.
    QElapsedTimer readTimer;
    readTimer.start();
    const Catalog::Snapshot catalogue = Catalog::Snapshot::read();
    for (const Source& s : sources) {
        catalogue.folderOf(s.entry);
        catalogue.fileNameOf(s.entry);
    }
    const double readMs = readTimer.nsecsElapsed() / 1e6;

    // With the marks saved too: they go into the same one catalogue write.
    QDir(projectFolder).removeRecursively();
    ::sync();
    Timing marks;
    marks.timer.start();
    request.saveMarks = true;
    Generate::Generation(request).run(marks);
    const double withMarksMs = marks.timer.nsecsElapsed() / 1e6;

    const double cpMs = median(cpTimes.cp);
    const double cpSyncMs = median(cpTimes.cpSync);
    const double generateMs = median(generateTimes);
    const double copyMs = median(copyTimes);
    const double ratio = copyMs / cpSyncMs;
    const double generateRatio = generateMs / cpSyncMs;
    std::printf("components: %lld, files: %lld, bytes: %.1f MB, rounds: %d (median)\n",
                static_cast<long long>(sources.size()), static_cast<long long>(allFiles.size()),
                copiedBytes / 1e6, kRounds);
    std::printf("cp:         %8.1f ms  (copies left in the page cache)\n", cpMs);
    std::printf("cp + sync:  %8.1f ms\n", cpSyncMs);
    std::printf("generation: %8.1f ms  (the whole run: copies, project files with the remembered "
                "references, options, list; "
                "synced, no wait)\n",
                generateMs);
    std::printf("  of which the files in place (copies, .vbp, .vbw, synced): %.1f ms\n", copyMs);
    std::printf("files in place against cp + sync: %.2f  (allowed %.1f) %s\n", ratio, kAllowed,
                ratio <= kAllowed ? "OK" : "TOO SLOW");
    std::printf("generation against cp + sync: %.2f  (allowed %.1f) %s\n", generateRatio,
                kAllowedGeneration, generateRatio <= kAllowedGeneration ? "OK" : "TOO SLOW");
    std::printf("generation against cp alone: %.2f\n", generateMs / cpMs);
    std::printf("  of which catalogue reads: %.1f ms\n", readMs);
    std::printf("generation with the marks saved (once): %.1f ms\n", withMarksMs);
    bool fast = ratio <= kAllowed && generateRatio <= kAllowedGeneration;

    if (big) {
        QDir(cpFolder).removeRecursively();
        QDir(projectFolder).removeRecursively();
        const QString bigFile = sourceFolder + QStringLiteral("Gross.res");
        {
            QRandomGenerator random(815);
            QByteArray block(64 << 20, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
            QFile file(bigFile);
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(bigFile));
            for (qint64 written = 0; written < kBigBytes; written += block.size()) {
                if (file.write(block) != block.size())
                    qFatal("cannot write %s", qPrintable(bigFile));
            }
        }
        Generate::CopyPlan plan;
        plan.projectFolder = projectFolder;
        plan.files.append({QStringLiteral("Gross.res"), bigFile,
                           projectFolder + QStringLiteral("/Gross.res"), QString(), false,
                           kBigBytes});
        plan.totalBytes = kBigBytes;
        CpTimes bigCp;
        QList<double> bigCopy;
        for (int round = 0; round < kBigRounds; ++round) {
            QDir(cpFolder).removeRecursively();
            QDir(projectFolder).removeRecursively();
            QDir().mkpath(cpFolder);
            auto copyRun = [&] {
                ::sync();
                QElapsedTimer timer;
                timer.start();
                Generate::CopyControl control;
                const Generate::CopyResult result = Generate::runCopies(plan, control);
                bigCopy << timer.nsecsElapsed() / 1e6;
                if (!result.failures.isEmpty())
                    qFatal("copy failed: %s", qPrintable(Generate::failureReport(result.failures)));
            };
            if (round % 2 == 0) {
                runCp({bigFile}, cpFolder, bigCp);
                copyRun();
            } else {
                copyRun();
                runCp({bigFile}, cpFolder, bigCp);
            }
        }
        QDir(cpFolder).removeRecursively();
        QDir(projectFolder).removeRecursively();
        QFile::remove(bigFile);
        const double bigRatio = median(bigCopy) / median(bigCp.cpSync);
        std::printf("one file of %.1f GB, rounds: %d (median)\n", kBigBytes / 1e9, kBigRounds);
        std::printf("cp:         %8.1f ms\n", median(bigCp.cp));
        std::printf("cp + sync:  %8.1f ms\n", median(bigCp.cpSync));
        std::printf("copy run:   %8.1f ms\n", median(bigCopy));
        std::printf("against cp alone: %.2f\n", median(bigCopy) / median(bigCp.cp));
        std::printf("ratio against cp + sync: %.2f  (allowed %.1f) %s\n", bigRatio, kAllowed,
                    bigRatio <= kAllowed ? "OK" : "TOO SLOW");
        fast = fast && bigRatio <= kAllowed;
    }
    return fast ? 0 : 1;
}
