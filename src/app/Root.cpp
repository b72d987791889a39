#include "app/Root.h"

#include "catalog/Catalog.h"
#include "desktop/Desktop.h"
#include "desktop/ListFind.h"
#include "desktop/Programs.h"
#include "desktop/ShellOpen.h"
#include "editing/ComponentCommands.h"
#include "editing/ComponentPage.h"
#include "editing/PageCommands.h"
#include "generate/Background.h"
#include "generate/Checks.h"
#include "generate/Finishing.h"
#include "generate/Generation.h"
#include "generate/ProjectFile.h"
#include "generate/Selection.h"
#include "platform/FileExistence.h"
#include "platform/SpecialFolders.h"
#include "platform/WinVersion.h"
#include "ui/RootTooltips.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace {

double g_sleepScale = 1.0;

const QString kNoDescription = QStringLiteral(
    "Hier wird die Beschreibung zu den Elementen angezeigt, soweit eine eingegeben wurde.");

const QString kIncompleteHeading = QStringLiteral("im Ordner unvollständig erstellt ...");
const QString kIncompleteText = QStringLiteral(
    "Nicht alle Projektdateien konnten erstellt werden. Die Meldung zuvor nannte die Dateien "
    "und die Gründe. ");

// Closing the window while the components are copied stops the run, which
// then takes back what it made; the program ends.
class CloseStopsCopy : public QObject
{
public:
    CloseStopsCopy(QWidget* window, std::function<void()> stop) : m_stop(std::move(stop))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            m_stop();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_stop;
};

// The window's side of a generation. The run calls from its own thread; each
// call is carried out on the window's thread while the run waits, so the
// messages come in the run's order.
class WindowFrontend : public Generate::Frontend
{
public:
    explicit WindowFrontend(Root& root) : m_root(root) {}

    // Until the copies are done a stop takes the run back; touched on the window's thread.
    bool copying = true;

    void stepStarted(Generate::Step step) override
    {
        if (step != Generate::Step::Marks)
            return;
        onWindow([this] {
            copying = false;
            m_root.ui.Fortschritt->setValue(RootUi::kProgressSteps);
            m_root.ui.bAbbrechen->setEnabled(false);
        });
    }
    void templateMissing() override
    {
        onWindow([this] {
            desktop().message(&m_root, QMessageBox::Warning, m_root.messageTitle(),
                              Generate::kTemplateMissing, QMessageBox::Ok);
        });
    }
    void notSaved(Catalog::Unsaved what, const FileIo::Result& result) override
    {
        onWindow([&] { m_root.warnNotSaved(what, result); });
    }
    void sortedList(const QStringList& names) override
    {
        onWindow([&] {
            m_root.ui.LSorted->clear();
            m_root.ui.LSorted->addItems(names);
        });
    }

private:
    template <typename Work> void onWindow(Work work)
    {
        QMetaObject::invokeMethod(&m_root, std::move(work), Qt::BlockingQueuedConnection);
    }

    Root& m_root;
};

} // namespace

Root::Root(QWidget* parent, Build build) : QWidget(parent)
{
    ui.setupFirstPaint(this);
    connect(ui.bWeiter, &QPushButton::clicked, this, &Root::bWeiter_Click);
    connect(ui.bZurueck, &QPushButton::clicked, this, &Root::bZurueck_Click);
    connect(ui.bAbbrechen, &QPushButton::clicked, this, &Root::bAbbrechen_Click);
    if (build == Build::AtOnce) {
        completeWindow();
        return;
    }
    // The first paint as the load leaves it.
    showSeparator();
    showWelcomePage();
}

void Root::completeWindow()
{
    // The pages come first, so a paint during the load below finds them built.
    if (ui.pagesDone())
        return;
    ui.setupPages();
    m_componentPage = new ComponentPage(ui, this);
    new PageCommands(ui, this);
    m_commands = new ComponentCommands(ui, this, [this] {
        reloadFlag = QStringLiteral("1");
        Form_Load();
        reloadFlag = QStringLiteral("0");
    });
    connect(ui.bHinzufuegen, &QPushButton::clicked, m_commands,
            &ComponentCommands::bHinzufuegen_Click);
    connect(ui.bUebernehmen, &QPushButton::clicked, m_commands,
            &ComponentCommands::bUebernehmen_Click);
    connect(ui.bLoeschen, &QPushButton::clicked, m_commands, &ComponentCommands::bLoeschen_Click);
    Form_Load();
}

Root::~Root() = default;

QString Root::messageTitle() const
{
    return QLatin1Char(' ') + windowTitle();
}

void Root::warnNotSaved(Catalog::Unsaved what, const FileIo::Result& result)
{
    desktop().message(this, QMessageBox::Warning, messageTitle(),
                      Catalog::notSavedText(what, result), QMessageBox::Ok);
}

void Root::Form_Load()
{
    Catalog::removeStartupLog();
    DoEvents();

    ui.LDateien->clear();
    ui.LDateien->setEnabled(false);
    const Catalog::Load load = Catalog::load();
    for (const Catalog::Entry& entry : load.entries) {
        auto* item = new QListWidgetItem(entry.name);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.marked ? Qt::Checked : Qt::Unchecked);
        ComponentPage::setPlace(item, {entry.folder, entry.fileName});
        ui.LDateien->addItem(item);
    }
    // One word per load about a catalogue that cannot be written: each further
    // attempt would wait out another program's lock and fail the same way.
    const bool writable = load.catalogue.encodingKnown() && load.droppedSaved;
    if (!load.catalogue.encodingKnown())
        desktop().message(this, QMessageBox::Warning, messageTitle(),
                          Catalog::unknownEncodingText(Catalog::file()) +
                              QStringLiteral(" Sie wird nicht verändert; Änderungen an der "
                                             "Liste lassen sich nicht speichern."),
                          QMessageBox::Ok);
    else if (!load.droppedSaved)
        warnNotSaved(Catalog::Unsaved::Duplicate, load.droppedSaved);
    Catalog::writeStartupLog(load.missingFiles);

    ui.LDateien->setEnabled(true);
    if (FileExists(Catalog::startupLog()))
        StartProgram(kTextEditor, {Catalog::startupLog()}, 1);
    DoEvents();
    ui.RCaption->setText(kNoDescription);
    if (!load.dropped.isEmpty() && writable)
        Sortierung();

    const Catalog::Snapshot& options = load.catalogue;
    const QString myDocs = options.option(QStringLiteral("MyDocs"));
    ui.tProjekte->setText(myDocs.isEmpty() ? SpecialFolderPath(CSIDL_PERSONAL) + QLatin1Char('/')
                                           : myDocs);
    if (ui.LDateien->currentRow() == 0)
        m_componentPage->LDateien_Click();
    else if (ui.LDateien->count() > 0)
        ui.LDateien->setCurrentRow(0);
    ui.bUnterordner->setChecked(options.option(QStringLiteral("Folder")) != QStringLiteral("0"));
    ui.bZeigeProjekt->setChecked(options.option(QStringLiteral("Viewer")) != QStringLiteral("0"));

    showSeparator();

    if (reloadFlag.trimmed().toInt() == 1)
        return;
    showWelcomePage();
    DoEvents();
    RootTooltips::setup(this, ui, 0);
}

void Root::showSeparator()
{
    const bool xp = WinVersion() == QStringLiteral("XP");
    ui.Frame1->setVisible(!xp);
    ui.Frame2->setVisible(xp);
}

void Root::showWelcomePage()
{
    ui.bZurueck->setEnabled(false);
    ui.Map4->hide();
    ui.Map3->hide();
    ui.Map2->hide();
    ui.Map1->show();
}

void Root::Sortierung()
{
    ui.LSorted->clear();
    const QStringList names = Catalog::Snapshot::read().sortedNames();
    ui.LSorted->addItems(names);
    DoEvents();
    // One atomic replacement: no moment leaves the list missing on disk.
    if (const FileIo::Result saved = Catalog::saveSortedList(); !saved)
        warnNotSaved(Catalog::Unsaved::List, saved);
    DoEvents();
}

void Root::setSleepScale(double scale)
{
    g_sleepScale = scale;
}

void Root::Sleep(double seconds)
{
    // A monotonic clock: midnight or a clock change does not shorten or stretch the wait.
    const qint64 wanted = qint64(seconds * g_sleepScale * 1000.0);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < wanted) {
        DoEvents();
        const qint64 left = wanted - timer.elapsed();
        if (left > 0)
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 10)));
    }
}

void Root::showPage(QWidget* page)
{
    ui.setupRest();
    page->show();
    for (QWidget* map : QList<QWidget*>{ui.Map1, ui.Map2, ui.Map3, ui.Map4, ui.Map5}) {
        if (map != page)
            map->hide();
    }
}

void Root::bWeiter_Click()
{
    completeWindow();
    // Pages are asked in this order; while page 4 works, Next does nothing.
    if (!ui.Map1->isHidden()) {
        showPage(ui.Map2);
        m_componentPage->LDateien_Click();
        ui.LDateien->setFocus();
        ui.bZurueck->setEnabled(true);
    } else if (!ui.Map2->isHidden()) {
        // Refused here, while the person can still uncheck, not after the copies.
        const QString problem =
            Generate::selectionProblem(Catalog::Snapshot::read(), checkedEntries());
        if (!problem.isEmpty()) {
            desktop().message(this, QMessageBox::Warning, messageTitle(), problem, QMessageBox::Ok);
            return;
        }
        showPage(ui.Map3);
        ui.tBezeichnung->setFocus();
    } else if (!ui.Map3->isHidden()) {
        generateProject();
    } else if (!ui.Map5->isHidden()) {
        finishAndEnd();
    }
}

void Root::bZurueck_Click()
{
    completeWindow();
    if (!ui.Map2->isHidden()) {
        ui.bZurueck->setEnabled(false);
        showPage(ui.Map1);
        DoEvents();
        Form_Load();
        ui.bWeiter->setFocus();
    } else if (!ui.Map3->isHidden()) {
        showPage(ui.Map2);
        ui.LDateien->setFocus();
    }
}

void Root::bAbbrechen_Click()
{
    // During the generation the run stops first and removes what it made; it
    // ends the program itself.
    if (m_stop) {
        m_stop();
        return;
    }
    desktop().endProgram();
}

void Root::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Queued, so it runs once this paint is on screen.
    if (!ui.restDone())
        QTimer::singleShot(0, this, [this] {
            completeWindow();
            ui.setupRest();
        });
}

void Root::closeEvent(QCloseEvent* event)
{
    RootTooltips::teardown();
    QWidget::closeEvent(event);
}

QString Root::projectFolder() const
{
    return Generate::projectFolder(ui.tProjekte->text(), ui.tBezeichnung->text(),
                                   ui.bUnterordner->isChecked());
}

QStringList Root::checkedEntries() const
{
    QStringList checked;
    for (int i = 0; i < ui.LDateien->count(); ++i) {
        if (ui.LDateien->item(i)->checkState() == Qt::Checked)
            checked << ui.LDateien->item(i)->text();
    }
    return checked;
}

bool Root::projectChecksPass()
{
    using namespace Generate;
    const QString name = ui.tBezeichnung->text();
    const ProjectCheck check = checkProject(ui.LDateien->count(), name, ui.tProjekte->text(),
                                            ui.bUnterordner->isChecked());
    if (check.incomplete)
        return false;
    const auto refuseName = [&](const QString& text) {
        desktop().message(this, QMessageBox::Critical, messageTitle(), text, QMessageBox::Ok);
        ui.tBezeichnung->setSelection(0, int(name.size()));
        ui.tBezeichnung->setFocus();
        return false;
    };
    if (!check.nameRefusal.isEmpty())
        return refuseName(check.nameRefusal);
    if (!check.folderQuestion.isEmpty() &&
        desktop().message(this, QMessageBox::Warning, kFolderQuestionTitle, check.folderQuestion,
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    if (!check.characterRefusal.isEmpty())
        return refuseName(check.characterRefusal);
    return true;
}

void Root::runInBackground(std::function<void()> work, const std::function<void()>& tick)
{
    Generate::BackgroundTask task(std::move(work));
    while (!task.waitFor(10)) {
        DoEvents();
        if (tick)
            tick();
    }
    if (tick)
        tick();
}

void Root::showCopyProgress(const Generate::Generation& generation)
{
    const Generate::CopyPlan& plan = generation.plan();
    const Generate::CopyControl& progress = generation.progress();
    const qint64 done = progress.bytesDone;
    ui.Fortschritt->setValue(
        plan.totalBytes > 0 ? int(done * RootUi::kProgressSteps / plan.totalBytes) : 0);
    const int file = progress.file;
    if (file >= 0 && file < plan.files.size()) {
        const Generate::FileCopy& current = plan.files.at(file);
        ui.RFortschritt->setText(current.name + QStringLiteral(" (") +
                                 Generate::sizeProgress(progress.fileDone, current.size) +
                                 QLatin1Char(')'));
    }
}

void Root::generateProject()
{
    using namespace Generate;
    if (!projectChecksPass())
        return;
    ui.bWeiter->setEnabled(false);
    ui.bZurueck->setEnabled(false);
    ui.Fortschritt->setValue(0);
    ui.RFortschritt->clear();
    showPage(ui.Map4);
    DoEvents();

    // The run uses the folder base; the box shows it from now on.
    ui.tProjekte->setText(folderBase(ui.tProjekte->text()));
    Request request;
    request.entries = checkedEntries();
    request.projectName = ui.tBezeichnung->text();
    request.folderText = ui.tProjekte->text();
    request.subfolder = ui.bUnterordner->isChecked();
    request.saveMarks = ui.bMarkieren->isChecked();
    request.rememberFolder = ui.bMerkeOrdner->isChecked();
    request.openProject = ui.bZeigeProjekt->isChecked();
    Generation generation(request);
    WindowFrontend frontend(*this);
    Outcome outcome;
    {
        m_stop = [&] {
            if (frontend.copying)
                generation.stop();
        };
        const CloseStopsCopy closeStops(this, m_stop);
        runInBackground([&] { outcome = generation.run(frontend); },
                        [&] {
                            if (frontend.copying)
                                showCopyProgress(generation);
                        });
        m_stop = {};
    }
    if (outcome.stopped) {
        // Nothing of this run is left and nothing was stored in the catalogue.
        desktop().endProgram();
        return;
    }
    DoEvents();
    Sleep(2);

    // Never report success for files that are not there.
    const QString report = failureReport(outcome.failures);
    if (!report.isEmpty())
        desktop().message(this, QMessageBox::Warning, messageTitle(), report, QMessageBox::Ok);
    if (!outcome.failures.isEmpty() || outcome.templateMissing) {
        ui.Label17->setText(kIncompleteHeading);
        ui.Label17->adjustSize();
        ui.Label15->setText(kIncompleteText);
    }

    showPage(ui.Map5);
    ui.bWeiter->setText(QStringLiteral("&Beenden"));
    ui.bWeiter->setEnabled(true);
    ui.bWeiter->setDefault(true);
    ui.bWeiter->setFocus();
}

void Root::finishAndEnd()
{
    ui.bWeiter->setEnabled(false);
    DoEvents();
    const QString name = ui.tBezeichnung->text();
    const QString folder = projectFolder();
    Generate::finish(
        folder, Generate::projectFilePath(folder, name), ui.bZeigeProjekt->isChecked(),
        [] { Sleep(2); }, [](const QString& file) { return ShellOpen(file, 1); },
        [] { DoEvents(); });
    DoEvents();
    desktop().endProgram();
}
