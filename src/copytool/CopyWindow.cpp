#include "copytool/CopyWindow.h"

#include "copytool/PresetCopy.h"
#include "desktop/Desktop.h"
#include "generate/Background.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("Projektvorgaben kopieren");
// The progress bar's full range; the bytes are scaled to it.
constexpr int kProgressSteps = 1000;
// The width the window opens with; its height follows the layout.
constexpr int kWidth = 520;
// How often the window looks at the copy's progress, in milliseconds.
constexpr int kPollMs = 10;

template <typename T> T* make(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

} // namespace

CopyWindow::CopyWindow(const QString& sourceFolder, QWidget* parent)
    : QWidget(parent), m_source(sourceFolder)
{
    setWindowTitle(kTitle);
    auto* intro = make<QLabel>(this, "Label1");
    intro->setWordWrap(true);
    intro->setText(QStringLiteral(
        "Kopiert die Projektvorgaben – den Katalog, die Projektvorlage und alle Komponenten – in "
        "einen Ordner Ihrer Wahl. Der Katalog dort verweist auf die kopierten Dateien, so dass "
        "der Ordner auf einem anderen Rechner oder bei Kollegen unverändert verwendet werden "
        "kann. Die Vorgaben selbst bleiben unverändert."));
    auto* source = make<QLabel>(this, "RQuelle");
    source->setText(QStringLiteral("Vorgaben aus: ") + m_source);
    source->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* targetLabel = make<QLabel>(this, "Label2");
    targetLabel->setText(QStringLiteral("&Zielordner:"));
    tZiel = make<QLineEdit>(this, "tZiel");
    targetLabel->setBuddy(tZiel);
    bZiel = make<QPushButton>(this, "bZiel");
    bZiel->setText(QStringLiteral("..."));
    pFortschritt = make<QProgressBar>(this, "pFortschritt");
    pFortschritt->setRange(0, kProgressSteps);
    pFortschritt->setValue(0);
    bKopieren = make<QPushButton>(this, "bKopieren");
    bKopieren->setText(QStringLiteral("&Kopieren"));
    bKopieren->setDefault(true);
    bSchliessen = make<QPushButton>(this, "bSchließen");
    bSchliessen->setText(QStringLiteral("&Schließen"));
    bAbbrechen = make<QPushButton>(this, "bAbbrechen");
    bAbbrechen->setText(QStringLiteral("&Abbrechen"));
    bAbbrechen->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(intro, 0, 0, 1, 3);
    grid->addWidget(source, 1, 0, 1, 3);
    grid->addWidget(targetLabel, 2, 0);
    grid->addWidget(tZiel, 2, 1);
    grid->addWidget(bZiel, 2, 2);
    grid->addWidget(pFortschritt, 3, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bKopieren);
    buttons->addWidget(bSchliessen);
    buttons->addWidget(bAbbrechen);
    grid->addLayout(buttons, 4, 0, 1, 3);
    resize(kWidth, sizeHint().height());

    connect(bZiel, &QPushButton::clicked, this, &CopyWindow::bZiel_Click);
    connect(bKopieren, &QPushButton::clicked, this, &CopyWindow::bKopieren_Click);
    // The window is no dialog, so its default button needs Return passed on.
    connect(tZiel, &QLineEdit::returnPressed, bKopieren, &QPushButton::click);
    connect(bSchliessen, &QPushButton::clicked, this, &QWidget::close);
    connect(bAbbrechen, &QPushButton::clicked, this, [this] {
        if (m_copy)
            m_copy->cancel = true;
    });
}

void CopyWindow::closeEvent(QCloseEvent* event)
{
    // Closing stops the copy, which takes back what it made; the window stays
    // to say so.
    if (m_copy) {
        m_copy->cancel = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void CopyWindow::bZiel_Click()
{
    const QString folder =
        desktop().chooseFolder(this, QStringLiteral("Zielordner für die Projektvorgaben"));
    if (!folder.isEmpty())
        tZiel->setText(folder);
    tZiel->setFocus();
}

void CopyWindow::bKopieren_Click()
{
    const QString title = QLatin1Char(' ') + kTitle;
    const PresetCopy::Plan plan = PresetCopy::plan(m_source, tZiel->text());
    if (!plan.refusal.isEmpty()) {
        desktop().message(this, QMessageBox::Warning, title, plan.refusal, QMessageBox::Ok);
        tZiel->setFocus();
        return;
    }
    const QStringList existing = PresetCopy::existingTargets(plan);
    if (!existing.isEmpty()) {
        QStringList shown = existing.mid(0, 10);
        if (existing.size() > shown.size())
            shown << QStringLiteral("... und %1 weitere").arg(existing.size() - shown.size());
        const QString question =
            QStringLiteral(
                "Im Zielordner sind bereits %1 Dateien gleichen Namens vorhanden:\n%2\n\n"
                "Sollen sie ersetzt werden?")
                .arg(existing.size())
                .arg(shown.join(QLatin1Char('\n')));
        if (desktop().message(this, QMessageBox::Question, title, question,
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
    }

    const auto copying = [&](bool on) {
        bKopieren->setEnabled(!on);
        bZiel->setEnabled(!on);
        bSchliessen->setVisible(!on);
        bAbbrechen->setVisible(on);
    };
    copying(true);
    bAbbrechen->setFocus();
    pFortschritt->setValue(0);
    Generate::CopyControl control;
    PresetCopy::Outcome outcome;
    {
        m_copy = &control;
        Generate::BackgroundTask task(
            [&] { outcome = PresetCopy::run(plan, !existing.isEmpty(), &control); });
        while (!task.waitFor(kPollMs)) {
            DoEvents();
            if (plan.totalBytes > 0)
                pFortschritt->setValue(int(control.bytesDone * kProgressSteps / plan.totalBytes));
        }
        m_copy = nullptr;
    }
    pFortschritt->setValue(outcome.cancelled ? 0 : kProgressSteps);
    copying(false);
    // A stop asked for is no fault.
    const bool fine = outcome.ok() || outcome.cancelled;
    desktop().message(this, fine ? QMessageBox::Information : QMessageBox::Warning, title,
                      PresetCopy::summary(plan, outcome), QMessageBox::Ok);
}
