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
#include "generate/CopyRun.h"
#include "generate/Finishing.h"
#include "generate/ProjectFile.h"
#include "generate/Selection.h"
#include "platform/AppContext.h"
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

const QString kNothingChecked = QStringLiteral(
    "Markieren Sie die Dateien, welche in das neue Projekt eingefügt werden sollen. ");
const QString kNoDescription = QStringLiteral(
    "Hier wird die Beschreibung zu den Elementen angezeigt, soweit eine eingegeben wurde.");

const QString kIncompleteHeading = QStringLiteral("im Ordner unvollständig erstellt ...");
const QString kIncompleteText = QStringLiteral(
    "Nicht alle Projektdateien konnten erstellt werden. Die Meldung zuvor nannte die Dateien "
    "und die Gründe. ");

// Closing the window while the components are copied stops the copy; the
// generation then takes back what it made and ends the program.
class CloseStopsCopy : public QObject
{
public:
    CloseStopsCopy(QWidget* window, std::atomic<bool>& cancel) : m_cancel(cancel)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            m_cancel = true;
        return QObject::eventFilter(watched, event);
    }

private:
    std::atomic<bool>& m_cancel;
};

} // namespace

Root::Root(QWidget* parent) : QWidget(parent)
{
    ui.setupFirstPaint(this);
    m_componentPage = new ComponentPage(ui, this);
    new PageCommands(ui, this);
    m_commands = new ComponentCommands(ui, this, [this] {
        reloadFlag = QStringLiteral("1");
        Form_Load();
        reloadFlag = QStringLiteral("0");
    });
    connect(ui.bHinzufuegen, &QPushButton::clicked, m_commands,
            &ComponentCommands::bHinzufuegen_Click);
    connect(ui.bLoeschen, &QPushButton::clicked, m_commands, &ComponentCommands::bLoeschen_Click);
    connect(ui.bWeiter, &QPushButton::clicked, this, &Root::bWeiter_Click);
    connect(ui.bZurueck, &QPushButton::clicked, this, &Root::bZurueck_Click);
    connect(ui.bAbbrechen, &QPushButton::clicked, this, &Root::bAbbrechen_Click);
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
        ui.LDateien->addItem(item);
    }
    if (!load.droppedSaved)
        warnNotSaved(Catalog::Unsaved::Duplicate, load.droppedSaved);
    Catalog::writeStartupLog(load.missingFiles);

    ui.LDateien->setEnabled(true);
    if (FileExists(Catalog::startupLog()))
        StartProgram(kTextEditor, {Catalog::startupLog()}, 1);
    DoEvents();
    ui.RCaption->setText(kNoDescription);
    if (!load.dropped.isEmpty())
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

    const bool xp = WinVersion() == QStringLiteral("XP");
    ui.Frame1->setVisible(!xp);
    ui.Frame2->setVisible(xp);

    if (reloadFlag.trimmed().toInt() == 1)
        return;
    ui.bZurueck->setEnabled(false);
    ui.Map4->hide();
    ui.Map3->hide();
    ui.Map2->hide();
    ui.Map1->show();
    DoEvents();
    RootTooltips::setup(this, ui, 0);
}

void Root::Sortierung()
{
    ui.LSorted->clear();
    const QStringList names = Catalog::sortedNames();
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
    // Pages are asked in this order; while page 4 works, Next does nothing.
    if (!ui.Map1->isHidden()) {
        showPage(ui.Map2);
        m_componentPage->LDateien_Click();
        ui.LDateien->setFocus();
        ui.bZurueck->setEnabled(true);
    } else if (!ui.Map2->isHidden()) {
        QStringList checked;
        for (int i = 0; i < ui.LDateien->count(); ++i) {
            if (ui.LDateien->item(i)->checkState() == Qt::Checked)
                checked << ui.LDateien->item(i)->text();
        }
        // Refused here, while the person can still uncheck, not after the copies.
        const QString problem =
            checked.isEmpty() ? kNothingChecked : Generate::selectionProblem(checked);
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
    // During the copy the run stops first and removes what it made; it ends the
    // program itself.
    if (m_copy) {
        m_copy->cancel = true;
        return;
    }
    desktop().endProgram();
}

void Root::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Queued, so it runs once this paint is on screen.
    if (!ui.restDone())
        QTimer::singleShot(0, this, [this] { ui.setupRest(); });
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

bool Root::projectChecksPass()
{
    using namespace Generate;
    const QString name = ui.tBezeichnung->text();
    const QString folderText = ui.tProjekte->text();
    if (ui.LDateien->count() == 0 || name.isEmpty() || folderText.isEmpty())
        return false;
    const auto refuseName = [&](const QString& text) {
        desktop().message(this, QMessageBox::Critical, messageTitle(), text, QMessageBox::Ok);
        ui.tBezeichnung->setSelection(0, int(name.size()));
        ui.tBezeichnung->setFocus();
        return false;
    };
    // Before the folder question: with ".." it would ask about the parent folder.
    if (const QString problem = projectNameProblem(name); !problem.isEmpty())
        return refuseName(problem);
    const FolderState state = folderState(projectFolder());
    if (state != FolderState::Missing &&
        desktop().message(this, QMessageBox::Warning, kFolderQuestionTitle, folderQuestion(state),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    if (hasForbiddenCharacter(name))
        return refuseName(kForbiddenName);
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

    // The copy run gives the folder text its trailing separator first.
    const QString name = ui.tBezeichnung->text();
    ui.tProjekte->setText(folderBase(ui.tProjekte->text()));
    const QString folder = projectFolder();
    QList<ListLine> lines;
    for (int i = 0; i < ui.LDateien->count(); ++i) {
        const QListWidgetItem* item = ui.LDateien->item(i);
        lines.append({item->text(), item->checkState() == Qt::Checked});
    }
    const CopyPlan plan = planCopies(lines, folder);
    CopyControl control;
    CopyResult copied;
    {
        const CloseStopsCopy closeStops(this, control.cancel);
        m_copy = &control;
        runInBackground(
            [&] { copied = runCopies(plan, control); },
            [&] {
                const qint64 done = control.bytesDone;
                ui.Fortschritt->setValue(
                    plan.totalBytes > 0 ? int(done * RootUi::kProgressSteps / plan.totalBytes) : 0);
                const int file = control.file;
                if (file >= 0 && file < plan.files.size()) {
                    const FileCopy& current = plan.files.at(file);
                    ui.RFortschritt->setText(current.name + QStringLiteral(" (") +
                                             sizeProgress(control.fileDone, current.size) +
                                             QLatin1Char(')'));
                }
            });
        m_copy = nullptr;
    }
    if (copied.cancelled) {
        // Nothing of this run is left and nothing was stored in the catalogue.
        desktop().endProgram();
        return;
    }
    ui.Fortschritt->setValue(RootUi::kProgressSteps);
    // One replacement after the copies, and never for a run that was stopped.
    if (ui.bMarkieren->isChecked())
        copied.marksSaved = Catalog::saveMarks(copied.marks);
    ui.bAbbrechen->setEnabled(false);
    if (!copied.marksSaved)
        warnNotSaved(Catalog::Unsaved::Marks, copied.marksSaved);

    const QString templatePath = AppContext::templateFile();
    ProjectFileResult project;
    runInBackground(
        [&] {
            project = writeProjectFiles(templatePath, folder, name, copied.projectLines,
                                        copied.startForm);
        },
        {});
    // A folder made for a project of which nothing could be written does not stay.
    removeEmptyFolders(copied.createdFolders);
    if (project.templateMissing)
        desktop().message(this, QMessageBox::Warning, messageTitle(), kTemplateMissing,
                          QMessageBox::Ok);

    if (const FileIo::Result saved =
            rememberOptions(ui.bMerkeOrdner->isChecked(), name, ui.tProjekte->text(),
                            ui.bUnterordner->isChecked(), ui.bZeigeProjekt->isChecked());
        !saved) {
        warnNotSaved(Catalog::Unsaved::Options, saved);
    }
    Sortierung();
    DoEvents();
    Sleep(2);

    // Never report success for files that are not there.
    const QList<Failure> failures = copied.failures + project.failures;
    const QString report = failureReport(failures);
    if (!report.isEmpty())
        desktop().message(this, QMessageBox::Warning, messageTitle(), report, QMessageBox::Ok);
    if (!failures.isEmpty() || project.templateMissing) {
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
