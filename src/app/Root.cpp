#include "app/Root.h"

#include "app/WindowGeneration.h"
#include "catalog/Catalog.h"
#include "catalog/Selection.h"
#include "desktop/Desktop.h"
#include "desktop/ListFind.h"
#include "desktop/Programs.h"
#include "desktop/ShellOpen.h"
#include "editing/ComponentCommands.h"
#include "editing/ComponentPage.h"
#include "editing/PageCommands.h"
#include "generate/Checks.h"
#include "generate/Finishing.h"
#include "platform/FileExistence.h"
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
    connect(ui.bAbgleichen, &QPushButton::clicked, m_commands,
            &ComponentCommands::bAbgleichen_Click);
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

void Root::tellAboutCatalogue(const Catalog::Load& load)
{
    // Said once while it stays so, not at every reload of the list.
    const QString lasting = load.catalogue.ok()
                                ? Catalog::beyondText(load.catalogue)
                                : load.catalogue.problem() +
                                      QStringLiteral(" Sie wird nicht verändert; Änderungen "
                                                     "an der Liste lassen sich nicht speichern.");
    if (!lasting.isEmpty() && lasting != m_toldAboutCatalogue)
        desktop().message(this, QMessageBox::Warning, messageTitle(), lasting, QMessageBox::Ok);
    m_toldAboutCatalogue = lasting;
    // Once per load: each further attempt would wait out another program's lock
    // and fail the same way.
    if (!load.droppedSaved)
        warnNotSaved(Catalog::Unsaved::Duplicate, load.droppedSaved);
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
    tellAboutCatalogue(load);
    Catalog::writeStartupLog(load.missingFiles);

    ui.LDateien->setEnabled(true);
    if (FileExists(Catalog::startupLog()))
        StartProgram(kTextEditor, {Catalog::startupLog()}, 1);
    DoEvents();
    ui.RCaption->setText(kNoDescription);
    if (!load.dropped.isEmpty() && load.catalogue.ok() && load.droppedSaved)
        Sortierung();

    const Catalog::Options options = Catalog::rememberedOptions(load.catalogue);
    ui.tProjekte->setText(options.projectFolder);
    if (ui.LDateien->currentRow() == 0)
        m_componentPage->LDateien_Click();
    else if (ui.LDateien->count() > 0)
        ui.LDateien->setCurrentRow(0);
    ui.bUnterordner->setChecked(options.subfolder);
    ui.bZeigeProjekt->setChecked(options.showProject);

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
            Catalog::selectionProblem(Catalog::Snapshot::read(), checkedEntries());
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

void Root::generateProject()
{
    WindowGeneration generation(*this, checkedEntries());
    if (!generation.checksPass())
        return;
    ui.bWeiter->setEnabled(false);
    ui.bZurueck->setEnabled(false);
    ui.Fortschritt->setValue(0);
    ui.RFortschritt->clear();
    showPage(ui.Map4);
    DoEvents();

    m_stop = [&generation] { generation.stop(); };
    const Generate::Outcome outcome = generation.run();
    m_stop = {};
    if (outcome.stopped) {
        // Nothing of this run is left and nothing was stored in the catalogue.
        desktop().endProgram();
        return;
    }
    DoEvents();
    Sleep(2);
    generation.tell(outcome);

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
