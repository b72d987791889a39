#include "app/WindowGeneration.h"

#include "app/Root.h"
#include "desktop/Desktop.h"
#include "generate/Background.h"
#include "generate/Checks.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

namespace {

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

// What the window does while the run goes on. The run calls from its own
// thread; each call is carried out on the window's thread while the run waits.
class WindowFrontend : public Generate::Frontend
{
public:
    WindowFrontend(Root& root, bool& copying) : m_root(root), m_copying(copying) {}

    void stepStarted(Generate::Step step) override
    {
        if (step != Generate::Step::Marks)
            return;
        // The copies are done: from now on a stop could not take the run back.
        onWindow([this] {
            m_copying = false;
            m_root.ui.Fortschritt->setValue(RootUi::kProgressSteps);
            m_root.ui.bAbbrechen->setEnabled(false);
        });
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
    bool& m_copying;
};

// The bar and the file line while the components are copied.
void showCopyProgress(RootUi& ui, const Generate::Generation& generation)
{
    const Generate::CopyProgress progress =
        Generate::copyProgress(generation.plan(), generation.progress());
    ui.Fortschritt->setValue(progress.perMille * RootUi::kProgressSteps / 1000);
    if (!progress.file.isEmpty())
        ui.RFortschritt->setText(progress.file);
}

} // namespace

WindowGeneration::WindowGeneration(Root& root, const QStringList& checkedEntries)
    : m_root(root), m_entries(checkedEntries)
{
}

bool WindowGeneration::checksPass()
{
    using namespace Generate;
    RootUi& ui = m_root.ui;
    const QString name = ui.tBezeichnung->text();
    const ProjectCheck check = checkProject(ui.LDateien->count(), name, ui.tProjekte->text(),
                                            ui.bUnterordner->isChecked());
    if (check.incomplete)
        return false;
    const auto refuseName = [&](const QString& text) {
        desktop().message(&m_root, QMessageBox::Critical, m_root.messageTitle(), text,
                          QMessageBox::Ok);
        ui.tBezeichnung->setSelection(0, int(name.size()));
        ui.tBezeichnung->setFocus();
        return false;
    };
    if (!check.nameRefusal.isEmpty())
        return refuseName(check.nameRefusal);
    if (!check.folderQuestion.isEmpty() &&
        desktop().message(&m_root, QMessageBox::Warning, kFolderQuestionTitle, check.folderQuestion,
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    if (!check.characterRefusal.isEmpty())
        return refuseName(check.characterRefusal);
    return true;
}

Generate::Outcome WindowGeneration::run()
{
    using namespace Generate;
    RootUi& ui = m_root.ui;
    // The run uses the folder base; the box shows it from now on.
    ui.tProjekte->setText(folderBase(ui.tProjekte->text()));
    Request request;
    request.entries = m_entries;
    request.projectName = ui.tBezeichnung->text();
    request.folderText = ui.tProjekte->text();
    request.subfolder = ui.bUnterordner->isChecked();
    request.saveMarks = ui.bMarkieren->isChecked();
    request.rememberFolder = ui.bMerkeOrdner->isChecked();
    request.openProject = ui.bZeigeProjekt->isChecked();

    Generation generation(request);
    m_running = &generation;
    WindowFrontend frontend(m_root, m_copying);
    Outcome outcome;
    {
        const CloseStopsCopy closeStops(&m_root, [this] { stop(); });
        // The window keeps answering while the run works on a thread of its own.
        BackgroundTask task([&] { outcome = generation.run(frontend); });
        while (!task.waitFor(10)) {
            DoEvents();
            if (m_copying)
                showCopyProgress(ui, generation);
        }
        if (m_copying)
            showCopyProgress(ui, generation);
    }
    m_running = nullptr;
    return outcome;
}

void WindowGeneration::stop()
{
    if (m_running && m_copying)
        m_running->stop();
}

void WindowGeneration::tell(const Generate::Outcome& outcome)
{
    for (const QString& text : outcome.messages())
        desktop().message(&m_root, QMessageBox::Warning, m_root.messageTitle(), text,
                          QMessageBox::Ok);
    // Never report success for files that are not there.
    if (!outcome.failures.isEmpty() || outcome.templateMissing) {
        m_root.ui.Label17->setText(kIncompleteHeading);
        m_root.ui.Label17->adjustSize();
        m_root.ui.Label15->setText(kIncompleteText);
    }
}
