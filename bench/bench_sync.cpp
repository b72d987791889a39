// Keeping projects in step with the catalogue, process start included, against
// its yardsticks: `vorlagen --abgleichen` over a tree of 500 projects of 20
// components each against `sha256sum` of the same files (both from a warm page
// cache), and `vorlagen --aktualisieren` of 20 components behind the catalogue
// against `cp` of the same files over the project's older ones followed by
// `sync -f`. Each pair takes turns.
//
//   bench_sync [folder]   (default: the system's temporary folder)

#include "BenchComponents.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>

#include <unistd.h>

#include <cstdio>

using Bench::timed;

namespace {

constexpr double kAllowedCompare = 1.5;
constexpr double kAllowedUpdate = 1.2;
constexpr int kProjects = 500;
constexpr int kCompareRounds = 7;
constexpr int kUpdateRounds = 9;

// Printable text with CR LF about every 60 bytes, or binary bytes.
void writeFile(const QString& path, qsizetype size, QRandomGenerator& random, bool text)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(text ? random.bounded(32, 127) : random.bounded(256));
    for (qsizetype i = 58; text && i + 1 < size; i += 60) {
        bytes[i] = '\r';
        bytes[i + 1] = '\n';
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size)
        qFatal("cannot write %s", qPrintable(path));
}

// 12 modules, 2 classes, 4 forms with their .frx and 2 user controls with their
// .ctx, 2 to 50 KB of text each; gives the catalogue's lines.
QByteArray makeComponents(const QString& folder, QStringList* files)
{
    QRandomGenerator random(4711);
    QByteArray list = "[Filelist]\r\n", paths = "[Filepath]\r\n", names = "[Filename]\r\n";
    const auto add = [&](const QString& entry, const QString& ending, const QString& companion) {
        writeFile(folder + entry + ending, random.bounded(2'000, 50'000), random, true);
        *files << folder + entry + ending;
        if (!companion.isEmpty()) {
            writeFile(folder + entry + companion, random.bounded(5'000, 60'000), random, false);
            *files << folder + entry + companion;
        }
        list += QByteArray::number(100 + files->size()) + '=' + entry.toUtf8() + "\r\n";
        paths += entry.toUtf8() + '=' + folder.toUtf8() + "\r\n";
        names += entry.toUtf8() + '=' + (entry + ending).toUtf8() + "\r\n";
    };
    for (int i = 0; i < 12; ++i)
        add(QStringLiteral("Modul%1").arg(i), QStringLiteral(".bas"), {});
    for (int i = 0; i < 2; ++i)
        add(QStringLiteral("Klasse%1").arg(i), QStringLiteral(".cls"), {});
    for (int i = 0; i < 4; ++i)
        add(QStringLiteral("Formular%1").arg(i), QStringLiteral(".frm"), QStringLiteral(".frx"));
    for (int i = 0; i < 2; ++i)
        add(QStringLiteral("Steuerelement%1").arg(i), QStringLiteral(".ctl"),
            QStringLiteral(".ctx"));
    return list + paths + names;
}

void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
        QFile::remove(to + QLatin1Char('/') + name);
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            qFatal("cannot copy %s", qPrintable(name));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Bench::Workspace work(QStringLiteral("bench_sync"));
    const QString& root = work.root;
    const QString& data = work.data;
    QStringList catalogueFiles;
    const QByteArray catalogue = makeComponents(work.sources, &catalogueFiles);
    QFile file(data + QStringLiteral("/vorlagen.dat"));
    if (!file.open(QIODevice::WriteOnly) || file.write(catalogue) != catalogue.size())
        qFatal("cannot write the catalogue");
    file.close();
    if (!QFile::copy(QStringLiteral(VORLAGEN_TEMPLATE), data + QStringLiteral("/QvStandard.bpv")))
        qFatal("cannot copy the template");
    const QString vorlagen = QStringLiteral(VORLAGEN_PROGRAM);
    const QStringList von{QStringLiteral("--von"), data};

    // One project made by the program, its folder copied into a tree of 500.
    const QString first = root + QStringLiteral("Erstes");
    QStringList components;
    for (const QString& path : std::as_const(catalogueFiles)) {
        const QString entry = QFileInfo(path).completeBaseName();
        if (!components.contains(entry))
            components << QStringLiteral("--komponente") << entry;
    }
    timed(vorlagen,
          von +
              QStringList{QStringLiteral("--neu"), QStringLiteral("Projekt"),
                          QStringLiteral("--ordner"), first, QStringLiteral("--kein-unterordner")} +
              components);
    const QString tree = root + QStringLiteral("Projekte");
    for (int i = 0; i < kProjects; ++i)
        copyFolder(first, tree + QStringLiteral("/Gruppe%1/Projekt%2").arg(i % 20).arg(i));
    QStringList hashed = catalogueFiles;
    QDirIterator it(tree, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.endsWith(QStringLiteral(".vbp")) && !path.endsWith(QStringLiteral(".vbw")) &&
            !path.endsWith(QStringLiteral(".vorlagen")))
            hashed << path;
    }
    const QString list = root + QStringLiteral("liste");
    QFile listFile(list);
    if (!listFile.open(QIODevice::WriteOnly) || listFile.write(hashed.join('\n').toUtf8()) < 0)
        qFatal("cannot write the list");
    listFile.close();

    QList<double> compared, summed;
    const QStringList compare = von + QStringList{QStringLiteral("--abgleichen"), tree};
    const QStringList sum{QStringLiteral("-a"), list, QStringLiteral("-d"), QStringLiteral("\n"),
                          QStringLiteral("sha256sum")};
    timed(vorlagen, compare); // warm the page cache
    timed(QStringLiteral("xargs"), sum);
    for (int round = 0; round < kCompareRounds; ++round) {
        const auto runCompare = [&] { compared << timed(vorlagen, compare); };
        const auto runSum = [&] { summed << timed(QStringLiteral("xargs"), sum); };
        Bench::inTurns(round, runCompare, runSum);
    }

    // Every component behind: the catalogue's files get one more line.
    for (const QString& path : std::as_const(catalogueFiles)) {
        QFile changed(path);
        if (!changed.open(QIODevice::Append) || changed.write("' neu\r\n") != 7)
            qFatal("cannot change %s", qPrintable(path));
    }
    const QString saved = root + QStringLiteral("Gesichert");
    copyFolder(first, saved);
    const QString cpFolder = root + QStringLiteral("cp");
    const QStringList update = von + QStringList{QStringLiteral("--aktualisieren"),
                                                 first + QStringLiteral("/Projekt.vbp")};
    QList<double> updated, copied;
    for (int round = 0; round < kUpdateRounds; ++round) {
        // Both replace the project's older files of the same names.
        copyFolder(saved, first);
        copyFolder(saved, cpFolder);
        const auto runUpdate = [&] {
            ::sync();
            updated << timed(vorlagen, update);
        };
        const auto runCp = [&] { copied << Bench::copiedAndSynced(catalogueFiles, cpFolder); };
        Bench::inTurns(round, runUpdate, runCp);
    }
    // Exits with 0 only when every component is current.
    timed(vorlagen, von + QStringList{QStringLiteral("--abgleichen"), first});

    const double compareRatio = Bench::median(compared) / Bench::median(summed);
    const double updateRatio = Bench::median(updated) / Bench::median(copied);
    std::printf("--abgleichen, %d projects (%lld files): %7.1f ms; sha256sum %7.1f ms (median of "
                "%d)\n",
                kProjects, qlonglong(hashed.size()), Bench::median(compared), Bench::median(summed),
                kCompareRounds);
    std::printf("  ratio %.2f  (allowed %.1f) %s\n", compareRatio, kAllowedCompare,
                compareRatio <= kAllowedCompare ? "OK" : "TOO SLOW");
    std::printf("--aktualisieren, 20 components (%lld files): %6.1f ms; cp + sync -f %6.1f ms "
                "(median of %d)\n",
                qlonglong(catalogueFiles.size()), Bench::median(updated), Bench::median(copied),
                kUpdateRounds);
    std::printf("  ratio %.2f  (allowed %.1f) %s\n", updateRatio, kAllowedUpdate,
                updateRatio <= kAllowedUpdate ? "OK" : "TOO SLOW");
    return compareRatio <= kAllowedCompare && updateRatio <= kAllowedUpdate ? 0 : 1;
}
