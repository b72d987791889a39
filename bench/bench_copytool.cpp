// Times the copy tool against cp -r on the same files: 101 components of about
// 50 MB in all, each run into a fresh folder, the median of several rounds.
#include "copytool/PresetCopy.h"
#include "platform/FileIo.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double timed(const std::function<void()>& run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 7;
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-copy-XXXXXX"));
    const QString source = dir.filePath(QStringLiteral("presets"));
    const QString components = source + QStringLiteral("/v/");
    QDir().mkpath(components);

    QByteArray catalog = "[Filelist]\r\n";
    QByteArray paths = "[Filepath]\r\n";
    QByteArray names = "[Filename]\r\n";
    QRandomGenerator random(42);
    qint64 total = 0;
    for (int i = 0; i < 101; ++i) {
        const QString name = QStringLiteral("Komponente%1").arg(i);
        QByteArray bytes(qsizetype(300000 + random.bounded(400000)), Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        total += bytes.size();
        if (!FileIo::writeFileAtomically(components + name + QStringLiteral(".bas"), bytes))
            return 1;
        catalog += QStringLiteral("%1=%2\r\n").arg(100 + i).arg(name).toUtf8();
        paths += (name + QLatin1Char('=') + components + QStringLiteral("\r\n")).toUtf8();
        names += (name + QLatin1Char('=') + name + QStringLiteral(".bas\r\n")).toUtf8();
    }
    for (const char* name : {"/QvStandard.bpv", "/QvStandard.prj"}) {
        if (!FileIo::writeFileAtomically(source + QLatin1String(name), "Type=Exe\r\n"))
            return 1;
    }
    if (!FileIo::writeFileAtomically(source + QStringLiteral("/vorlagen.dat"),
                                     catalog + paths + names))
        return 1;

    QList<double> cp, cpSync, tool;
    for (int round = 0; round < rounds; ++round) {
        const QString a = dir.filePath(QStringLiteral("cp%1").arg(round));
        const QString b = dir.filePath(QStringLiteral("tool%1").arg(round));
        const QString c = dir.filePath(QStringLiteral("cpsync%1").arg(round));
        QProcess::execute(QStringLiteral("sync"), {});
        cp << timed([&] {
            QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), source, a});
        });
        QProcess::execute(QStringLiteral("sync"), {});
        cpSync << timed([&] {
            QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), source, c});
            QProcess::execute(QStringLiteral("sync"), {});
        });
        QProcess::execute(QStringLiteral("sync"), {});
        tool << timed([&] {
            const PresetCopy::Outcome outcome = PresetCopy::run(PresetCopy::plan(source, b), false);
            if (!outcome.ok())
                std::fprintf(stderr, "copy failed\n");
        });
    }
    const double mCp = median(cp), mCpSync = median(cpSync), mTool = median(tool);
    std::printf("101 components, %.1f MB, median of %d rounds\n", double(total) / 1e6, rounds);
    std::printf("cp -r:           %7.1f ms\n", mCp);
    std::printf("cp -r && sync:   %7.1f ms\n", mCpSync);
    std::printf("copy tool:       %7.1f ms  (%.2f x cp -r, %.2f x cp -r && sync)\n", mTool,
                mTool / mCp, mTool / mCpSync);
    return 0;
}
