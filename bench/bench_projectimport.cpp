// Reading and resolving a project file of 100 components, as taking a whole
// project into the catalogue does before its dialog shows. The paths are mixed
// as in real projects: plain, backslashes into subfolders, another letter case,
// "..\" into a shared folder, and drive letters of another machine. Then the
// same project planned and taken in whole into an empty catalogue (dialog
// excluded): one write with 100 entries, their lines and the sorted list.
//
//   bench_projectimport [folder]   (default: the system's temporary folder)

#include "catalog/ProjectImport.h"
#include "catalog/TakeIn.h"
#include "platform/AppContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kComponents = 100;
constexpr int kRounds = 25;
constexpr double kAllowedMs = 50.0;

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf(u'/')));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The project file's lines; the files they name are made below `root`.
QByteArray project(const QString& root)
{
    const QByteArray form = "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"
                            "#2.0#0\"; \"MSCOMCTL.OCX\"\r\nBegin VB.Form X\r\nEnd\r\n";
    QByteArray vbp = "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
                     "stdole2.tlb#OLE Automation\r\n";
    for (int i = 0; i < kComponents; ++i) {
        const QByteArray n = QByteArray::number(i);
        switch (i % 5) {
        case 0:
            put(root + QStringLiteral("/Projekt/Form%1.frm").arg(i), form);
            vbp += "Form=Form" + n + ".frm\r\n";
            break;
        case 1:
            put(root + QStringLiteral("/Projekt/Module/Modul%1.bas").arg(i), "x");
            vbp += "Module=Modul" + n + "; Module\\Modul" + n + ".bas\r\n";
            break;
        case 2:
            put(root + QStringLiteral("/Projekt/Klassen/Konto%1.cls").arg(i), "x");
            vbp += "Class=Konto" + n + "; KLASSEN\\konto" + n + ".CLS\r\n";
            break;
        case 3:
            put(root + QStringLiteral("/Gemeinsam/Hilfe%1.bas").arg(i), "x");
            vbp += "Module=Hilfe" + n + "; ..\\Gemeinsam\\Hilfe" + n + ".bas\r\n";
            break;
        default:
            put(root + QStringLiteral("/Gemeinsam/Steuer%1.ctl").arg(i), form);
            vbp += "UserControl=D:\\Entwicklung\\Gemeinsam\\Steuer" + n + ".ctl\r\n";
            break;
        }
    }
    return vbp;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_projectimport-XXXXXX"));
    const QString file = dir.path() + QStringLiteral("/Projekt/Projekt.vbp");
    put(file, project(dir.path()));

    QList<double> times;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const ProjectImport::Project read = ProjectImport::readProject(file);
        int remembered = 0;
        for (const ProjectImport::Component& component : read.components)
            remembered += int(ProjectImport::rememberedLines(read, component).size());
        times << double(timer.nsecsElapsed()) / 1e6;
        const auto found = std::count_if(read.components.cbegin(), read.components.cend(),
                                         [](const ProjectImport::Component& c) {
                                             return c.state == ProjectImport::State::Found;
                                         });
        if (found != kComponents || remembered == 0)
            qFatal("only %d of %d components found", int(found), kComponents);
    }
    const double ms = median(times);
    std::printf("%d components read, resolved and their header lines read in %s\n", kComponents,
                qPrintable(base));
    std::printf("median of %d rounds: %6.2f ms (allowed %.0f ms)\n", kRounds, ms, kAllowedMs);

    const QString data = dir.path() + QStringLiteral("/daten");
    QDir().mkpath(data);
    AppContext::setDataFolder(data);
    QList<double> takeInTimes;
    for (int round = 0; round < kRounds; ++round) {
        QFile::remove(AppContext::catalogFile());
        QElapsedTimer timer;
        timer.start();
        const Catalog::Intake intake = Catalog::planIntake(file);
        QList<int> chosen;
        for (int i = 0; i < intake.candidates.size(); ++i) {
            if (intake.candidates.at(i).checked)
                chosen << i;
        }
        const Catalog::IntakeOutcome outcome = Catalog::takeIn(intake, chosen);
        takeInTimes << double(timer.nsecsElapsed()) / 1e6;
        if (outcome.taken.size() != kComponents)
            qFatal("only %d of %d components taken in", int(outcome.taken.size()), kComponents);
    }
    const double takeInMs = median(takeInTimes);
    std::printf("%d components planned and taken into an empty catalogue\n", kComponents);
    std::printf("median of %d rounds: %6.2f ms (allowed %.0f ms)\n", kRounds, takeInMs, kAllowedMs);
    return ms <= kAllowedMs && takeInMs <= kAllowedMs ? 0 : 1;
}
