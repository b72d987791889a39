#include "BenchComponents.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <unistd.h>

#include <algorithm>

namespace Bench {

// Printable bytes; a text file gets a bare LF about every 60 bytes.
namespace {

void writeFile(const QString& path, qsizetype size, QRandomGenerator& random, bool text = false)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(random.bounded(32, 127));
    if (text) {
        for (qsizetype i = 59; i < size; i += 60)
            bytes[i] = '\n';
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size)
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

// 40 forms with 1 MB .frx each, 40 modules, 21 user controls with .ctx files.
QList<Source> makeComponents(const QString& folder, QStringList& allFiles)
{
    QRandomGenerator random(4711);
    QList<Source> sources;
    auto add = [&](const QString& entry, const QString& ending, qsizetype size,
                   const QString& companion, qsizetype companionSize) {
        const QString fileName = entry + ending;
        writeFile(folder + fileName, size, random, true);
        allFiles << folder + fileName;
        if (!companion.isEmpty()) {
            writeFile(folder + entry + companion, companionSize, random);
            allFiles << folder + entry + companion;
        }
        sources.append({entry, fileName});
    };
    for (int i = 0; i < 40; ++i)
        add(QStringLiteral("Formular%1").arg(i), QStringLiteral(".frm"), 20'000,
            QStringLiteral(".frx"), 1'000'000);
    for (int i = 0; i < 40; ++i)
        add(QStringLiteral("Modul%1").arg(i), QStringLiteral(".bas"), 30'000, QString(), 0);
    for (int i = 0; i < 21; ++i)
        add(QStringLiteral("Steuerelement%1").arg(i), QStringLiteral(".ctl"), 20'000,
            QStringLiteral(".ctx"), 400'000);
    return sources;
}

void writeCatalog(const QList<Source>& sources, const QString& folder, const QString& catalogFile,
                  bool marked)
{
    QByteArray text = "[Filelist]\r\n";
    for (qsizetype i = 0; i < sources.size(); ++i)
        text += QByteArray::number(100 + i) + '=' + sources.at(i).entry.toUtf8() + "\r\n";
    text += "[Filepath]\r\n";
    for (const Source& s : sources)
        text += s.entry.toUtf8() + '=' + folder.toUtf8() + "\r\n";
    text += "[Filename]\r\n";
    for (const Source& s : sources)
        text += s.entry.toUtf8() + '=' + s.fileName.toUtf8() + "\r\n";
    // Every entry remembers a reference and a control library, five of each in
    // all, so the project file gets the merged, deduplicated block.
    text += "[References]\r\n";
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QByteArray entry = sources.at(i).entry.toUtf8();
        const QByteArray n = QByteArray::number(i % 5);
        text += entry + ".0=" + sources.at(i).fileName.toUtf8() + "\r\n";
        text += entry + ".1=Reference=*\\G{00000200-0000-0010-8000-00AA006D2EA" + n +
                "}#2.0#0#C:\\Programme\\Gemeinsame Dateien\\System\\ado\\msado2" + n +
                ".tlb#Bibliothek " + n + "\r\n";
        text += entry + ".2=Object={5E9E78A0-531B-11CF-91F6-C2863C385E3" + n + "}#1.0#0; STEUER" +
                n + ".OCX\r\n";
    }
    if (marked) {
        text += "[Marked]\r\n";
        for (const Source& s : sources)
            text += s.entry.toUtf8() + "=1\r\n";
    }
    QFile file(catalogFile);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the catalogue");
    file.write(text);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values.at(values.size() / 2);
}

namespace {

QString baseFolder()
{
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    return arguments.isEmpty() ? QDir::tempPath() : arguments.first();
}

} // namespace

Workspace::Workspace(const QString& name)
    : dir(baseFolder() + QLatin1Char('/') + name + QStringLiteral("-XXXXXX"))
{
    if (!dir.isValid())
        qFatal("cannot create a folder in %s", qPrintable(baseFolder()));
    root = dir.path() + QLatin1Char('/');
    data = root + QStringLiteral("daten");
    sources = root + QStringLiteral("Vorlagen/");
    QDir().mkpath(data);
    QDir().mkpath(sources);
}

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

double copiedAndSynced(const QStringList& files, const QString& folder)
{
    ::sync();
    QElapsedTimer timer;
    timer.start();
    timed(QStringLiteral("cp"), files + QStringList{folder});
    timed(QStringLiteral("sync"), {QStringLiteral("-f"), folder});
    return timer.nsecsElapsed() / 1e6;
}

void inTurns(int round, const std::function<void()>& a, const std::function<void()>& b)
{
    (round % 2 == 0 ? a : b)();
    (round % 2 == 0 ? b : a)();
}

} // namespace Bench
