// The command line, process start included, against its yardsticks:
// `vorlagen --liste` of 101 entries against a Qt Core program that only starts
// and ends, and `vorlagen --neu` of the same 101 components (about 50 MB)
// against `cp` followed by `sync -f` of the same files. Each pair takes turns.
//
//   bench_cli [folder]   (default: the system's temporary folder)

#include "BenchComponents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <unistd.h>

#include <cstdio>

using Bench::timed;

namespace {

constexpr double kAllowedList = 1.3;
constexpr double kAllowedNew = 1.1;
constexpr int kListRounds = 21;
constexpr int kNewRounds = 7;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Bench::Workspace work(QStringLiteral("bench_cli"));
    const QString& root = work.root;
    const QString& data = work.data;
    const QString& sources = work.sources;
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
        Bench::inTurns(round, runList, runBare);
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
        auto runCp = [&] { cp << Bench::copiedAndSynced(allFiles, cpFolder); };
        Bench::inTurns(round, runNew, runCp);
    }
    if (QDir(project).entryList(QDir::Files).size() != allFiles.size() + 3) // .vbp, .vbw, record
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
