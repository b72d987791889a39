// The command line, process start included, against its yardsticks:
// `vorlagen --liste` of 101 entries against a Qt Core program that only starts
// and ends, and `vorlagen --neu` of the same 101 components (about 50 MB)
// against `cp` followed by `sync -f` of the same files. Each pair takes turns.
//
//   bench_cli [folder]   (default: the system's temporary folder)

#include "BenchComponents.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>

namespace {

constexpr double kAllowedList = 1.3;
constexpr double kAllowedNew = 1.1;
constexpr int kListRounds = 21;
constexpr int kNewRounds = 7;

// Runs a program to its end and gives the milliseconds it took.
double timed(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString base = arguments.isEmpty() ? QDir::tempPath() : arguments.first();
    QTemporaryDir dir(base + QStringLiteral("/bench_cli-XXXXXX"));
    if (!dir.isValid())
        qFatal("cannot create a folder in %s", qPrintable(base));
    const QString root = dir.path() + QLatin1Char('/');
    const QString data = root + QStringLiteral("daten");
    const QString sources = root + QStringLiteral("Vorlagen/");
    QDir().mkpath(data);
    QDir().mkpath(sources);
    QStringList allFiles;
    const QList<Bench::Source> components = Bench::makeComponents(sources, allFiles);
    Bench::writeCatalog(components, sources, data + QStringLiteral("/vorlagen.dat"), true);
    if (!QFile::copy(QStringLiteral(VORLAGEN_TEMPLATE), data + QStringLiteral("/QvStandard.bpv")))
        qFatal("cannot copy the template");

    const QString vorlagen = QStringLiteral(VORLAGEN_PROGRAM);
    QList<double> list, bare;
    for (int round = 0; round < kListRounds; ++round) {
        auto runList = [&] {
            list << timed(vorlagen, {QStringLiteral("--von"), data, QStringLiteral("--liste")});
        };
        auto runBare = [&] { bare << timed(QStringLiteral(BARE_PROGRAM), {}); };
        if (round % 2 == 0) {
            runList();
            runBare();
        } else {
            runBare();
            runList();
        }
    }

    const QString project = root + QStringLiteral("Projekt");
    const QString cpFolder = root + QStringLiteral("cp");
    QList<double> made, cp;
    for (int round = 0; round < kNewRounds; ++round) {
        QDir(project).removeRecursively();
        QDir(cpFolder).removeRecursively();
        QDir().mkpath(cpFolder);
        auto runNew = [&] {
            ::sync();
            made << timed(vorlagen, {QStringLiteral("--von"), data, QStringLiteral("--neu"),
                                     QStringLiteral("Bench"), QStringLiteral("--ordner"), project,
                                     QStringLiteral("--kein-unterordner")});
        };
        auto runCp = [&] {
            ::sync();
            QElapsedTimer timer;
            timer.start();
            timed(QStringLiteral("cp"), allFiles + QStringList{cpFolder});
            timed(QStringLiteral("sync"), {QStringLiteral("-f"), cpFolder});
            cp << timer.nsecsElapsed() / 1e6;
        };
        if (round % 2 == 0) {
            runNew();
            runCp();
        } else {
            runCp();
            runNew();
        }
    }
    if (QDir(project).entryList(QDir::Files).size() != allFiles.size() + 2)
        qFatal("the project is not complete");

    const double listRatio = Bench::median(list) / Bench::median(bare);
    const double newRatio = Bench::median(made) / Bench::median(cp);
    std::printf("--liste, 101 entries:  %6.1f ms; bare Qt Core program %6.1f ms (median of %d)\n",
                Bench::median(list), Bench::median(bare), kListRounds);
    std::printf("  ratio %.2f  (allowed %.1f) %s\n", listRatio, kAllowedList,
                listRatio <= kAllowedList ? "OK" : "TOO SLOW");
    std::printf("--neu, 101 components: %6.1f ms; cp + sync -f %6.1f ms (median of %d)\n",
                Bench::median(made), Bench::median(cp), kNewRounds);
    std::printf("  ratio %.2f  (allowed %.1f) %s\n", newRatio, kAllowedNew,
                newRatio <= kAllowedNew ? "OK" : "TOO SLOW");
    return listRatio <= kAllowedList && newRatio <= kAllowedNew ? 0 : 1;
}
