// Times the start-up with a full catalogue: the catalogue load, the sorted save
// and the moment the window is on screen, counted from the process start.
#include "app/Root.h"
#include "platform/AppContext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <unistd.h>

namespace {

// Milliseconds since this process started, from the kernel's own record.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

void writeCatalogue(const QString& folder)
{
    QDir().mkpath(folder + QStringLiteral("/bin"));
    QDir().mkpath(folder + QStringLiteral("/v"));
    QByteArray list = "[Filelist]\r\n", paths = "[Filepath]\r\n", names = "[Filename]\r\n",
               marked = "[Marked]\r\n", captions = "[Caption]\r\n";
    for (int i = 0; i <= 100; ++i) {
        // Stored in reverse order, so the save has real sorting to do.
        const QByteArray name = "Komponente" + QByteArray::number(1000 - i);
        const QByteArray file = name + ".frm";
        QFile f(folder + QStringLiteral("/v/") + QString::fromLatin1(file));
        if (f.open(QIODevice::WriteOnly))
            f.write("VERSION 5.00\r\n");
        list += QByteArray::number(100 + i) + "=" + name + "\r\n";
        paths += name + "=" + folder.toUtf8() + "/v/\r\n";
        names += name + "=" + file + "\r\n";
        if (i % 3 == 0)
            marked += name + "=1\r\n";
        captions += name + "=Beschreibung der Komponente " + name + "\r\n";
    }
    QFile cat(folder + QStringLiteral("/bin/vorlagen.dat"));
    if (cat.open(QIODevice::WriteOnly))
        cat.write(list + paths + names + marked + captions +
                  "[Option]\r\nMyDocs=/tmp/\r\nFolder=1\r\nViewer=0\r\n");
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    writeCatalogue(dir.path());
    AppContext::setExeFolder(dir.path() + QStringLiteral("/bin"));
    AppContext::setDocumentsFolder(dir.path());

    Root window;
    window.show();
    const bool exposed = QTest::qWaitForWindowExposed(&window);
    const double onScreen = msSinceProcessStart();

    QList<double> loads, sorts;
    for (int run = 0; run < 21; ++run) {
        QElapsedTimer timer;
        timer.start();
        window.Form_Load();
        loads << timer.nsecsElapsed() / 1e6;
        timer.restart();
        window.Sortierung();
        sorts << timer.nsecsElapsed() / 1e6;
    }

    QTextStream out(stdout);
    out << "catalogue of " << window.ui.LDateien->count() << " entries\n";
    out << "window on screen after " << onScreen << " ms from process start"
        << (exposed ? "" : " (not exposed)") << "\n";
    out << "catalogue load: median " << median(loads) << " ms of 21 runs\n";
    out << "sorted save:    median " << median(sorts) << " ms of 21 runs\n";
    return 0;
}
