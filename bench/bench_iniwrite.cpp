// One catalogue write under the file's lock (WriteIniValue) against the same
// write without it (the document read, changed and saved), side by side on the
// same disk, in alternating rounds so both see the same load.
//
//   bench_iniwrite [folder]   (default: the system's temporary folder)

#include "BenchComponents.h"
#include "platform/IniDocument.h"
#include "platform/IniFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

using Bench::median;

constexpr double kAllowed = 1.2;
constexpr int kRounds = 15;
constexpr int kWritesPerRound = 40;

// A full catalogue: 101 entries in the five sections, and the options.
QByteArray catalogue()
{
    QByteArray bytes = "[Filelist]\r\n";
    for (int i = 0; i <= 100; ++i)
        bytes += QByteArray::number(100 + i) + "=Eintrag" + QByteArray::number(i) + "\r\n";
    for (const char* section : {"Filepath", "Filename", "Marked", "Caption"}) {
        bytes += QByteArray("[") + section + "]\r\n";
        for (int i = 0; i <= 100; ++i)
            bytes += "Eintrag" + QByteArray::number(i) + "=" + section + " des Eintrags " +
                     QByteArray::number(i) + "\r\n";
    }
    return bytes + "[Option]\r\nMyDocs=/home/p/\r\nFolder=1\r\nViewer=0\r\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_iniwrite-XXXXXX"));
    const QString file = dir.path() + QStringLiteral("/vorlagen.dat");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(catalogue()) < 0)
        qFatal("cannot write %s", qPrintable(file));
    out.close();

    QList<double> unlocked;
    QList<double> locked;
    int value = 0;
    const auto timed = [&](bool withLock) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kWritesPerRound; ++i) {
            const QString text = QString::number(++value);
            bool ok = false;
            if (withLock) {
                ok = WriteIniValue(file, QStringLiteral("Caption"), QStringLiteral("Eintrag50"),
                                   text) != 0;
            } else {
                Ini::Document document(file);
                ok = document.setValue(QStringLiteral("Caption"), QStringLiteral("Eintrag50"),
                                       text) &&
                     document.save().ok();
            }
            if (!ok)
                qFatal("a write failed");
        }
        return double(timer.nsecsElapsed()) / kWritesPerRound / 1000.0;
    };
    timed(true); // warm up: the lock file is made once
    for (int round = 0; round < kRounds; ++round) {
        unlocked << timed(false);
        locked << timed(true);
    }
    const double a = median(unlocked);
    const double b = median(locked);
    std::printf("catalogue of %lld bytes in %s\n", qlonglong(catalogue().size()), qPrintable(base));
    std::printf("write without lock: %8.1f us (median of %d rounds of %d)\n", a, kRounds,
                kWritesPerRound);
    std::printf("write under lock:   %8.1f us\n", b);
    std::printf("ratio:              %8.2f (allowed %.1f)\n", b / a, kAllowed);
    return b / a <= kAllowed ? 0 : 1;
}
