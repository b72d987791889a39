#include "editing/ComponentCommands.h"

#include "catalog/AddRemove.h"
#include "desktop/Desktop.h"
#include "desktop/ListFind.h"
#include "editing/ComponentPage.h"
#include "editing/SyncDialog.h"
#include "editing/TakeInDialog.h"
#include "sync/SyncTexts.h"
#include "sync/Update.h"
#include "ui/RootUi.h"

#include <QFileInfo>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include <utility>

namespace {

const QString kOpenTitle = QStringLiteral("Öffnen ...");
const QString kOpenFilter = QStringLiteral(
    "Alle Visual Basic Dateitypen|*.frm;*.bas;*.ctl;*.res|Formulare (*.frm)|*.frm|Module "
    "(*.bas)|*.bas|Benutzersteuerelemente (*.ctl)|*.ctl|Verbundene Dokumente "
    "(*.res)|*.res|Alle Dateitypen (*.*)|*.*");
const QString kProjectFilter =
    QStringLiteral("Visual Basic Projekte (*.vbp)|*.vbp|Alle Dateitypen (*.*)|*.*");
const QString kAddTitle = QStringLiteral(" Formulare/Module hinzufügen");
const QString kRemoveTitle = QStringLiteral(" Formulare/Module entfernen");

bool changedMeanwhile(const Catalog::Change& change)
{
    return change.status == Catalog::Change::Status::NotListed ||
           change.status == Catalog::Change::Status::Moved;
}

} // namespace

ComponentCommands::ComponentCommands(RootUi& rootUi, QWidget* window, std::function<void()> reload)
    : QObject(window), ui(rootUi), m_window(window), m_reload(std::move(reload))
{
}

void ComponentCommands::tell(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    desktop().message(m_window, icon, title, text, QMessageBox::Ok);
}

void ComponentCommands::bHinzufuegen_Click()
{
    const QString path = desktop().openFileName(m_window, kOpenTitle, kOpenFilter, {});
    if (path.isEmpty())
        return;
    addFile(path);
}

Catalog::Seen ComponentCommands::shownEntry(const QString& name) const
{
    const int row = ListFind(ui.LDateien, name, -1, false);
    if (row < 0)
        return {};
    return {true, ComponentPage::placeOf(ui.LDateien->item(row)).value_or(Catalog::Place{})};
}

void ComponentCommands::addFile(const QString& path)
{
    const auto done = [this] {
        ui.LDateien->setFocus();
        DoEvents();
    };
    const Catalog::AddPlan plan =
        Catalog::prepareAddition(path, [this](const QString& name) { return shownEntry(name); });
    if (!plan.refusal.isEmpty()) {
        tell(QMessageBox::Warning, kAddTitle, plan.refusal);
        return done();
    }
    if (!plan.repairProblem.isEmpty())
        tell(QMessageBox::Warning, kAddTitle, plan.repairProblem);
    const auto finish = [&] {
        if (plan.renamed)
            tell(QMessageBox::Information, kAddTitle, Catalog::renamedText(plan.fileName));
        done();
    };

    bool overwrite = false;
    if (plan.existing.listed) {
        if (desktop().message(m_window, QMessageBox::Warning, kAddTitle,
                              Catalog::duplicateQuestion(),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            ListFind(ui.LDateien, plan.name, -1, true);
            return finish();
        }
        // Letter case does not tell entries apart: the existing one is replaced.
        for (int i = 0; i < ui.LDateien->count() && !overwrite; ++i) {
            ui.LDateien->setCurrentRow(i);
            overwrite = ui.LDateien->item(i)->text().compare(plan.name, Qt::CaseInsensitive) == 0;
        }
    }

    const Catalog::Change change = Catalog::add(plan, plan.existing.listed);
    if (change.status != Catalog::Change::Status::Done) {
        const QString text = Catalog::additionFailedText(plan, change);
        tell(QMessageBox::Warning, kAddTitle, changedMeanwhile(change) ? text + kReread : text);
        if (changedMeanwhile(change))
            m_reload();
        return finish();
    }
    if (!overwrite) {
        auto* item = new QListWidgetItem(plan.name);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        ui.LDateien->addItem(item);
    }

    DoEvents();
    ui.LSorted->clear();
    ui.LSorted->addItems(change.sorted);
    m_reload();
    ListFind(ui.LDateien, plan.name, -1, true);
    DoEvents();

    if (plan.renamed)
        tell(QMessageBox::Information, kAddTitle, Catalog::renamedText(plan.fileName));
    if (!plan.missingCompanion.isEmpty())
        tell(QMessageBox::Information, kAddTitle, Catalog::companionText(plan));
    if (!change.leftLines.isEmpty())
        tell(QMessageBox::Information, kAddTitle,
             Catalog::unrememberedText(plan.name, change.leftLines));
    done();
}

QString ComponentCommands::askForProject(QString& folder)
{
    // The first time where new projects go, as existing ones are often there.
    const QString path = desktop().openFileName(m_window, kOpenTitle, kProjectFilter,
                                                folder.isEmpty() ? ui.tProjekte->text() : folder);
    if (!path.isEmpty())
        folder = QFileInfo(path).absolutePath();
    return path;
}

void ComponentCommands::openDialog(CheckListDialog* dialog, QSize& size,
                                   const std::function<void(CheckListDialog*)>& accepted)
{
    if (size.isValid())
        dialog->resize(size);
    connect(dialog, &QDialog::finished, this, [dialog, &size, accepted](int result) {
        size = dialog->size();
        if (result == QDialog::Accepted)
            accepted(dialog);
        // Only now: the events the change lets run would delete it too early.
        dialog->deleteLater();
    });
    dialog->open();
}

void ComponentCommands::bUebernehmen_Click()
{
    if (const QString path = askForProject(m_projectFolder); !path.isEmpty())
        takeInProject(path);
}

void ComponentCommands::takeInProject(const QString& path)
{
    const Catalog::Intake intake = Catalog::planIntake(path);
    if (!intake.problem.isEmpty()) {
        tell(QMessageBox::Warning, TakeInDialog::kTitle, intake.problem);
        ui.LDateien->setFocus();
        return;
    }
    openDialog(new TakeInDialog(intake, m_window), m_takeInSize, [this](CheckListDialog* dialog) {
        const auto* takeIn = static_cast<TakeInDialog*>(dialog);
        takeInChosen(takeIn->intake(), takeIn->chosen());
    });
}

void ComponentCommands::takeInChosen(const Catalog::Intake& intake, const QList<int>& chosen)
{
    // The person saw every line: the summary names each one not taken in.
    const Catalog::IntakeOutcome outcome =
        Catalog::takeIn(intake, chosen, Catalog::Unchosen::Named);

    // The list is read anew (the core read the catalogue under its lock), and
    // keeps the checks the person made; the entries taken in come checked.
    QHash<QString, Qt::CheckState> shown;
    for (int i = 0; i < ui.LDateien->count(); ++i)
        shown.insert(ui.LDateien->item(i)->text().toCaseFolded(),
                     ui.LDateien->item(i)->checkState());
    m_reload();
    {
        // Not asked again about a start form the person unchecked before.
        const QSignalBlocker quiet(ui.LDateien);
        for (int i = 0; i < ui.LDateien->count(); ++i) {
            QListWidgetItem* item = ui.LDateien->item(i);
            if (outcome.taken.contains(item->text(), Qt::CaseInsensitive))
                item->setCheckState(Qt::Checked);
            else
                item->setCheckState(shown.value(item->text().toCaseFolded(), item->checkState()));
        }
    }
    if (!outcome.sorted.isEmpty()) {
        ui.LSorted->clear();
        ui.LSorted->addItems(outcome.sorted);
    }
    if (!outcome.taken.isEmpty())
        ListFind(ui.LDateien, outcome.taken.constFirst(), -1, true);
    DoEvents();

    // A warning only when something checked did not go in as asked.
    const bool all = std::none_of(outcome.left.cbegin(), outcome.left.cend(),
                                  [&](const auto& left) { return chosen.contains(left.index); }) &&
                     outcome.unremembered.isEmpty() && !outcome.taken.isEmpty();
    tell(all ? QMessageBox::Information : QMessageBox::Warning, TakeInDialog::kTitle,
         Catalog::summaryText(outcome));
    ui.LDateien->setFocus();
}

void ComponentCommands::bLoeschen_Click()
{
    const int row = ui.LDateien->currentRow();
    if (row < 0 || !ui.LDateien->item(row))
        return;
    const QString name = ui.LDateien->item(row)->text();
    if (desktop().message(m_window, QMessageBox::Warning, kRemoveTitle,
                          Catalog::removeQuestion(name),
                          QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Cancel)
        return;

    const std::optional<Catalog::Place> seen = ComponentPage::placeOf(ui.LDateien->item(row));
    const Catalog::Change change = Catalog::removeEntry(name, seen);
    if (change.status != Catalog::Change::Status::Done) {
        const QString text = Catalog::removalFailedText(name, change, seen);
        tell(QMessageBox::Warning, kRemoveTitle, changedMeanwhile(change) ? text + kReread : text);
        if (changedMeanwhile(change)) {
            m_reload();
            ui.LDateien->setFocus();
        }
        return;
    }
    if (row < ui.LDateien->count() && ui.LDateien->item(row)->text() == name)
        delete ui.LDateien->takeItem(row);
    DoEvents();
    ui.LSorted->clear();
    ui.LSorted->addItems(change.sorted);
    ui.LDateien->setFocus();
}

void ComponentCommands::bAbgleichen_Click()
{
    if (const QString path = askForProject(m_syncFolder); !path.isEmpty())
        compareProject(path);
}

bool ComponentCommands::compared(const QString& path, Catalog::Snapshot* catalogue,
                                 Sync::Project* project)
{
    *catalogue = Catalog::Snapshot::read();
    if (catalogue->ok())
        *project = Sync::Comparer(*catalogue).compare(path);
    const QString problem =
        catalogue->ok() ? Sync::nothingComparedText(*project) : catalogue->problem();
    if (problem.isEmpty())
        return true;
    tell(QMessageBox::Warning, SyncDialog::kTitle, problem);
    ui.LDateien->setFocus();
    return false;
}

void ComponentCommands::compareProject(const QString& path)
{
    Catalog::Snapshot catalogue;
    Sync::Project project;
    if (!compared(path, &catalogue, &project))
        return;
    openDialog(new SyncDialog(project, m_window), m_syncSize,
               [this, path](CheckListDialog* dialog) {
                   const auto* sync = static_cast<SyncDialog*>(dialog);
                   updateChosen(path, sync->checkedKeys(), sync->uncheckedKeys());
               });
}

void ComponentCommands::updateChosen(const QString& path,
                                     const QHash<QString, Sync::State>& checked,
                                     const QStringList& unchecked)
{
    // Compared anew: a file changed while the dialog was open is not overwritten.
    Catalog::Snapshot catalogue;
    Sync::Project project;
    if (!compared(path, &catalogue, &project))
        return;
    // As the command line: a project without a record is looked at whole, so the
    // summary names each component not recorded.
    QList<int> chosen;
    for (int i = 0; i < project.components.size(); ++i) {
        const QString key = SyncDialog::keyOf(project.components.at(i));
        if (checked.contains(key) || (!project.recorded && !unchecked.contains(key)))
            chosen << i;
    }
    const Sync::Outcome outcome = Sync::Update(project, catalogue, chosen).run();
    // A warning only when something checked did not go in as asked: a line shown
    // behind that changed in the project meanwhile is put beside, not in.
    const bool all =
        !outcome.stopped && outcome.failures.isEmpty() &&
        std::all_of(outcome.results.cbegin(), outcome.results.cend(), [&](const auto& result) {
            const auto shown =
                checked.constFind(SyncDialog::keyOf(project.components.at(result.component)));
            return shown == checked.cend() || result.wentIn() ||
                   (result.kind == Sync::Result::Kind::Beside && *shown == Sync::State::Conflict);
        });
    tell(all ? QMessageBox::Information : QMessageBox::Warning, SyncDialog::kTitle,
         Sync::summaryText(outcome));
    ui.LDateien->setFocus();
}
