#include "editing/PageCommands.h"

#include "catalog/ProjectTemplate.h"
#include "desktop/Desktop.h"
#include "desktop/FolderDialog.h"
#include "desktop/Programs.h"
#include "platform/AppContext.h"
#include "platform/FileExistence.h"
#include "platform/SpecialFolders.h"
#include "ui/LinkLabel.h"
#include "ui/RootUi.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kHelpTitle = QStringLiteral(" Hilfethemen");
const QString kHelpWelcome =
    QStringLiteral("Für diese Einstellungen hat der Assistent leider keine Hilfethemen. ");
const QString kHelpComponents = QStringLiteral(
    "Die Objektbeschreibung von Komponenten in der Liste können Sie ändern, indem Sie den "
    "Eintrag mit der rechten Maustaste klicken oder die Beschreibung doppelt anklicken.");
const QString kHelpProject = QStringLiteral(
    "Soweit die Bezeichnung des Projekts eine andere Bezeichnung verwenden möchten als für den "
    "Projektordner, dann entfernen Sie die Option ''Projektnamen als Unterordner''. Nun geben Sie "
    "zusätzlich den Ordnernamen des Projekts im Feld ''Projektordner festlegen'' ein und den "
    "Namen des Projekts im Textfeld ''Neuer Projektname'' (benutzt Visual Basic auch).");

// Window styles of a program start.
constexpr int kNormal = 1;
constexpr int kMaximised = 3;

} // namespace

PageCommands::PageCommands(RootUi& ui, QWidget* window) : QObject(window), ui(ui), m_window(window)
{
    connect(ui.PHilfe, &ClickLabel::clicked, this, &PageCommands::PHilfe_Click);
    connect(ui.bOrdner, &QPushButton::clicked, this, &PageCommands::bOrdner_Click);
    connect(ui.tStdProjekt, &ClickLabel::clicked, this, &PageCommands::tStdProjekt_Click);
    connect(ui.tStdProject, &ClickLabel::clicked, this, &PageCommands::tStdProjekt_Click);
    connect(ui.tProjektKopie, &ClickLabel::clicked, this, &PageCommands::tProjektKopie_Click);
    for (QWidget* w : {static_cast<QWidget*>(ui.bOrdner), static_cast<QWidget*>(ui.bUnterordner),
                       static_cast<QWidget*>(ui.tBezeichnung), static_cast<QWidget*>(ui.tProjekte)})
        w->installEventFilter(this);
}

void PageCommands::warn(const QString& text)
{
    desktop().message(m_window, QMessageBox::Warning, QLatin1Char(' ') + m_window->windowTitle(),
                      text, QMessageBox::Ok);
}

void PageCommands::PHilfe_Click()
{
    const std::pair<QWidget*, const QString*> pages[] = {
        {ui.Map1, &kHelpWelcome}, {ui.Map2, &kHelpComponents}, {ui.Map3, &kHelpProject}};
    for (const auto& [page, text] : pages) {
        if (!page->isHidden())
            desktop().message(m_window, QMessageBox::Information, kHelpTitle, *text,
                              QMessageBox::Ok);
    }
}

void PageCommands::bOrdner_Click()
{
    const QString folder = BrowseFolder(CSIDL_DRIVES, m_window);
    if (!folder.isEmpty())
        ui.tProjekte->setText(folder);
    ui.tProjekte->setFocus();
}

void PageCommands::tStdProjekt_Click()
{
    if (const ProjectTemplate::Restore restored = ProjectTemplate::restore(); restored.failed()) {
        warn(restored.failureText());
        return;
    }
    DoEvents();
    const QString target = ProjectTemplate::file();
    const ProjectTemplate::Check found = ProjectTemplate::check(target);
    if (found.state == ProjectTemplate::Check::State::Missing)
        return;
    if (found.state == ProjectTemplate::Check::State::Unreadable) {
        warn(QStringLiteral("Die Projektvorlage ''%1'' kann nicht bearbeitet werden.\n%2")
                 .arg(target, found.problem()));
        return;
    }
    if (found.state == ProjectTemplate::Check::State::Empty) {
        // Empty: opening it is how the user mends it, but say what it means.
        desktop().message(m_window, QMessageBox::Information,
                          QLatin1Char(' ') + m_window->windowTitle(),
                          QStringLiteral("Die Projektvorlage ''%1'' ist leer. Neue Projekte "
                                         "erhalten ihre Einstellungen erst, wenn Sie die "
                                         "Vorlage ergänzt haben.")
                              .arg(target),
                          QMessageBox::Ok);
    }
    if (!StartProgram(kTextEditor, {target}, kMaximised))
        warn(QStringLiteral("Der Texteditor konnte nicht gestartet werden, um ''%1'' zu öffnen. "
                            "Installieren Sie einen Texteditor oder öffnen Sie die Datei selbst.")
                 .arg(target));
    DoEvents();
}

void PageCommands::tProjektKopie_Click()
{
    const QString tool = AppContext::copyTool();
    if (!FileExists(tool))
        return;
    if (!StartProgram(tool, {}, kNormal))
        warn(QStringLiteral("Das Kopierprogramm ''%1'' konnte nicht gestartet werden.").arg(tool));
}

bool PageCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter walks on; the button it reaches only gets the focus.
            QWidget* next = (watched == ui.bOrdner || watched == ui.tProjekte)
                                ? static_cast<QWidget*>(ui.bWeiter)
                                : static_cast<QWidget*>(ui.tProjekte);
            next->setFocus();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn &&
               (watched == ui.tBezeichnung || watched == ui.tProjekte)) {
        // After the click that gave the focus has placed its cursor.
        QMetaObject::invokeMethod(static_cast<QLineEdit*>(watched), &QLineEdit::selectAll,
                                  Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
