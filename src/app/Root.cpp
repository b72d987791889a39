#include "app/Root.h"

#include "catalog/Catalog.h"
#include "desktop/Desktop.h"
#include "desktop/ListFind.h"
#include "desktop/Programs.h"
#include "desktop/ShellOpen.h"
#include "editing/ComponentPage.h"
#include "generate/Checks.h"
#include "generate/CopyRun.h"
#include "generate/Finishing.h"
#include "generate/ProjectFile.h"
#include "platform/AppContext.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"
#include "platform/IniFiles.h"
#include "platform/SpecialFolders.h"
#include "platform/WinVersion.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QThread>

namespace {

double g_sleepScale = 1.0;

const QString kNothingChecked = QStringLiteral(
    "Markieren Sie die Dateien, welche in das neue Projekt eingefügt werden sollen. ");
const QString kNoDescription = QStringLiteral(
    "Hier wird die Beschreibung zu den Elementen angezeigt, soweit eine eingegeben wurde.");

QByteArray readAll(const QString& path)
{
    QByteArray bytes;
    (void)FileIo::readRegularFile(path, &bytes);
    return bytes;
}

} // namespace

Root::Root(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    m_componentPage = new ComponentPage(ui, this);
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
    const QString log = AppContext::logFile();
    if (FileExists(log))
        QFile::remove(log);
    DoEvents();

    ui.LDateien->clear();
    ui.LDateien->setEnabled(false);

    bool changed = false;
    QByteArray logText;
    bool logStarted = false;
    for (int n = Catalog::kFirstKey; n <= Catalog::kLastKey; ++n) {
        const QString name = Catalog::listedName(n);
        if (name.isEmpty())
            continue;
        const QString folder = Catalog::folderOf(name);
        const QString fileName = Catalog::fileNameOf(name);
        bool appended = false;
        if (FileExists(folder + fileName)) {
            if (ListFind(ui.LDateien, name, -1, false) >= 0) {
                if (const FileIo::Result removed = Catalog::unlist(n); !removed)
                    warnNotSaved(Catalog::Unsaved::Duplicate, removed);
                changed = true;
            } else {
                auto* item = new QListWidgetItem(name);
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(Qt::Unchecked);
                ui.LDateien->addItem(item);
                appended = true;
            }
        } else {
            // A log that could not be deleted is continued, as if appended line by line.
            if (!logStarted && FileExists(log)) {
                logText = readAll(log);
                logText.chop(2);
            }
            logStarted = true;
            logText += "\r\nFile is not exists: " + (folder + fileName).toUtf8();
        }
        if (appended && Catalog::isMarked(name))
            ui.LDateien->item(ui.LDateien->count() - 1)->setCheckState(Qt::Checked);
    }
    if (logStarted) {
        // A log that cannot be written is not worth a message; the list shows anyway.
        (void)FileIo::writeFileAtomically(log, logText + "\r\n");
    }

    ui.LDateien->setEnabled(true);
    if (FileExists(log))
        StartProgram(kTextEditor, {log}, 1);
    DoEvents();
    ui.RCaption->setText(kNoDescription);
    if (changed)
        Sortierung();

    const QString myDocs = Catalog::option(QStringLiteral("MyDocs"));
    ui.tProjekte->setText(myDocs.isEmpty() ? SpecialFolderPath(CSIDL_PERSONAL) + QLatin1Char('/')
                                           : myDocs);
    if (ui.LDateien->currentRow() == 0)
        m_componentPage->LDateien_Click();
    else if (ui.LDateien->count() > 0)
        ui.LDateien->setCurrentRow(0);
    ui.bUnterordner->setChecked(Catalog::option(QStringLiteral("Folder")) != QStringLiteral("0"));
    ui.bZeigeProjekt->setChecked(Catalog::option(QStringLiteral("Viewer")) != QStringLiteral("0"));

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
    tooltipSetup();
}

void Root::Sortierung()
{
    ui.LSorted->clear();
    const QStringList names = Catalog::sortedNames();
    ui.LSorted->addItems(names);
    DoEvents();
    // One atomic replacement: no moment leaves the list missing on disk.
    if (const FileIo::Result saved = Catalog::saveList(names); !saved)
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
        bool anyChecked = false;
        for (int i = 0; i < ui.LDateien->count() && !anyChecked; ++i)
            anyChecked = ui.LDateien->item(i)->checkState() == Qt::Checked;
        if (!anyChecked) {
            desktop().message(this, QMessageBox::Warning, messageTitle(), kNothingChecked,
                              QMessageBox::Ok);
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
    desktop().endProgram();
}

void Root::tooltipSetup()
{
    const std::pair<QWidget*, const char*> tips[] = {
        {ui.LDateien, "Anzeigen von benutzerdefinierten Hilfethemen der Formulare und Module."},
        {ui.bHinzufuegen, "Hinzufügen von Formularen, Modulen, Steuerelementen oder Resourcen."},
        {ui.bLoeschen, "Entfernen der markierten Komponente aus der Datenbank."},
        {ui.bMarkieren, "Speichert die markierten Komponenten der Liste für den nächsten Start."},
        {ui.bUnterordner, "Erstellung eines Unterordners (im Projektordner) mit dem Projektnamen."},
        {ui.bMerkeOrdner, "Den Projektordner für die nächste Verwendung speichern."},
        {ui.bZeigeProjekt, "Das Projekt nach der Erstellung in Microsoft Visual Basic anzeigen."},
        {ui.bOrdner, "Auswahl des Projektordners aus der Dateistruktur von Windows."},
        {ui.PHilfe, "Hilfethemen zu Velkaro Visual Code-Vorgix anzeigen."},
        {ui.Map2, ""}};
    for (const auto& [widget, text] : tips)
        widget->setToolTip(QString::fromUtf8(text));
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
    const FolderState state = folderState(projectFolder());
    if (state != FolderState::Missing &&
        desktop().message(this, QMessageBox::Warning, kFolderQuestionTitle, folderQuestion(state),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    if (hasForbiddenCharacter(name)) {
        desktop().message(this, QMessageBox::Critical, messageTitle(), kForbiddenName,
                          QMessageBox::Ok);
        ui.tBezeichnung->setSelection(0, int(name.size()));
        ui.tBezeichnung->setFocus();
        return false;
    }
    return true;
}

void Root::generateProject()
{
    using namespace Generate;
    if (!projectChecksPass())
        return;
    ui.bWeiter->setEnabled(false);
    ui.bZurueck->setEnabled(false);
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
    const CopyResult copied =
        copyComponents(lines, folder, ui.bMarkieren->isChecked(), [] { DoEvents(); });
    ui.bAbbrechen->setEnabled(false);
    if (!copied.marksSaved)
        warnNotSaved(Catalog::Unsaved::Marks, copied.marksSaved);

    const ProjectFileResult project =
        writeProjectFiles(AppContext::exeFolder() + QStringLiteral("/QvStandard.bpv"), folder, name,
                          copied.projectLines, copied.startForm, [] { DoEvents(); });
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
    const QString report = failureReport(copied.failures + project.failures);
    if (!report.isEmpty())
        desktop().message(this, QMessageBox::Warning, messageTitle(), report, QMessageBox::Ok);

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
