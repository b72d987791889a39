// Times the start-up with a full catalogue against a plain Qt window (a label, a
// button and a GIF picture), each in its own process, side by side; then the
// catalogue load, the sorted save, one addition and one removal in this process.
//
//   bench_startup            the whole comparison
//   bench_startup --plain    one plain window (used by the comparison)
//   bench_startup --window <folder>   one main window over <folder>/bin

#include "app/Root.h"
#include "BenchComponents.h"
#include "desktop/Desktop.h"
#include "editing/ComponentCommands.h"
#include "platform/AppContext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QVBoxLayout>

#include <algorithm>
#include <ctime>
#include <random>
#include <unistd.h>

namespace {

using Bench::median;

constexpr int kRounds = 21;
constexpr int kRuns = 21;

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

// `count` entries stored in reverse order, so the save has real sorting to do.
void writeCatalogue(const QString& folder, int count)
{
    QDir().mkpath(folder + QStringLiteral("/bin"));
    QDir().mkpath(folder + QStringLiteral("/v"));
    QByteArray list = "[Filelist]\r\n", paths = "[Filepath]\r\n", names = "[Filename]\r\n",
               marked = "[Marked]\r\n", captions = "[Caption]\r\n";
    for (int i = 0; i < count; ++i) {
        const QByteArray name = "Komponente" + QByteArray::number(1000 - i);
        const QByteArray file = name + ".frm";
        QFile f(folder + QStringLiteral("/v/") + QString::fromLatin1(file));
        if (f.open(QIODevice::WriteOnly))
            f.write("VERSION 5.00\r\nAttribute VB_Name = \"" + name + "\"\r\n");
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

// Answers every question with its first choice; nothing is shown or started.
class Answering final : public Desktop
{
public:
    Answering() { setDesktop(this); }
    ~Answering() override { setDesktop(nullptr); }
    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                                        QMessageBox::StandardButtons) override
    {
        return QMessageBox::Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }
    bool startProgram(const QString&, const QStringList&, int) override { return true; }
    bool openFile(const QString&) override { return true; }
    void endProgram() override {}
};

int plainWindow()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Willkommen")));
    auto* picture = new QLabel;
    picture->setPixmap(QPixmap(QStringLiteral(VORLAGEN_GIF)));
    layout->addWidget(picture);
    layout->addWidget(new QPushButton(QStringLiteral("&Weiter >")));
    window.show();
    const bool exposed = QTest::qWaitForWindowExposed(&window);
    QTextStream(stdout) << (exposed ? msSinceProcessStart() : -1) << "\n";
    return 0;
}

int mainWindow(const QString& folder)
{
    AppContext::setExeFolder(folder + QStringLiteral("/bin"));
    AppContext::setDocumentsFolder(folder);
    // Built as the program builds it.
    Root window(nullptr, Root::Build::AfterFirstPaint);
    window.show();
    const bool exposed = QTest::qWaitForWindowExposed(&window);
    const double ms = msSinceProcessStart();
    // Counted only once the list holds every entry, right after the first paint.
    const bool filled = QTest::qWaitFor([&] { return window.ui.pagesDone(); }) &&
                        window.ui.LDateien->count() == 101;
    QTextStream(stdout) << (exposed && filled ? ms : -1) << "\n";
    return 0;
}

double child(const QStringList& arguments)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), arguments);
    process.waitForFinished(60000);
    bool ok = false;
    const double ms = process.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? ms : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == QLatin1String("--plain"))
        return plainWindow();
    if (arguments.value(1) == QLatin1String("--window"))
        return mainWindow(arguments.value(2));

    QTextStream out(stdout);
    QTemporaryDir full;
    writeCatalogue(full.path(), 101);

    // Side by side, in a shuffled order: strict turns let whatever else runs on
    // the machine in step with them favour one kind.
    QList<bool> order(2 * kRounds);
    for (int i = 0; i < kRounds; ++i)
        order[i] = true;
    std::shuffle(order.begin(), order.end(), std::mt19937(std::random_device{}()));
    QList<double> plain, root;
    for (const bool isPlain : std::as_const(order)) {
        if (isPlain)
            plain << child({QStringLiteral("--plain")});
        else
            root << child({QStringLiteral("--window"), full.path()});
    }
    const double plainMs = median(plain), rootMs = median(root);
    out << "plain window on screen: median " << plainMs << " ms of " << kRounds << " processes\n";
    out << "main window with 101 entries on screen: median " << rootMs << " ms ("
        << rootMs / plainMs << " x the plain window)\n";

    // In this process: the load and the save with 101 entries.
    AppContext::setExeFolder(full.path() + QStringLiteral("/bin"));
    AppContext::setDocumentsFolder(full.path());
    Answering desk;
    QList<double> loads, sorts;
    {
        Root window;
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            window.Form_Load();
            loads << timer.nsecsElapsed() / 1e6;
            timer.restart();
            window.Sortierung();
            sorts << timer.nsecsElapsed() / 1e6;
        }
    }
    out << "catalogue load: median " << median(loads) << " ms of " << kRuns << " runs\n";
    out << "sorted save:    median " << median(sorts) << " ms of " << kRuns << " runs\n";

    // The 101st entry added (without the dialog) and removed again.
    QTemporaryDir hundred;
    writeCatalogue(hundred.path(), 100);
    const QString added = hundred.path() + QStringLiteral("/v/Neu.frm");
    QFile file(added);
    if (file.open(QIODevice::WriteOnly))
        file.write("VERSION 5.00\r\nAttribute VB_Name = \"Neu\"\r\n");
    file.close();
    AppContext::setExeFolder(hundred.path() + QStringLiteral("/bin"));
    QList<double> adds, removes;
    bool counted = true;
    {
        Root window;
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            window.componentCommands()->addFile(added);
            adds << timer.nsecsElapsed() / 1e6;
            counted = counted && window.ui.LDateien->count() == 101;
            timer.restart();
            window.componentCommands()->bLoeschen_Click();
            removes << timer.nsecsElapsed() / 1e6;
            counted = counted && window.ui.LDateien->count() == 100;
        }
    }
    out << "addition (101st entry): median " << median(adds) << " ms of " << kRuns << " runs\n";
    out << "removal (of 101):       median " << median(removes) << " ms of " << kRuns << " runs"
        << (counted ? "" : " (entry counts wrong)") << "\n";
    return 0;
}
