#include "editing/TakeInDialog.h"

#include "catalog/ComponentKind.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

using Candidate = Catalog::Candidate;

QString components(int count)
{
    return count == 1 ? QStringLiteral("1 Komponente")
                      : QStringLiteral("%1 Komponenten").arg(count);
}

// New ones, and new ones that only lack room: unchecking others makes room.
bool checkable(const Candidate& candidate)
{
    return candidate.state == Candidate::State::New || candidate.state == Candidate::State::Full;
}

// A missing file has no entry name yet: the line's own name or file stands in.
QString shownName(const Candidate& candidate)
{
    if (!candidate.name.isEmpty())
        return candidate.name;
    if (!candidate.component.declaredName.isEmpty())
        return candidate.component.declaredName;
    const QString raw = QString(candidate.component.rawPath).replace(QLatin1Char('\\'), '/');
    return raw.section(QLatin1Char('/'), -1);
}

// The file where it was found; one not found as the project names it, with '/'.
QString shownFile(const Candidate& candidate)
{
    if (!candidate.fileName.isEmpty())
        return candidate.folder + candidate.fileName;
    return QString(candidate.component.rawPath).replace(QLatin1Char('\\'), '/');
}

} // namespace

const QString TakeInDialog::kTitle = QStringLiteral("Aus Projekt übernehmen");
const QString TakeInDialog::kNothingToTakeIn =
    QStringLiteral("Aus dieser Projektdatei kann keine Komponente übernommen werden; die Spalte "
                   "''Zustand'' sagt bei jeder, warum.");

QString TakeInDialog::roomText(int free, int checked)
{
    if (free <= 0)
        return QStringLiteral("Die Vorlagenliste ist voll: Es passt keine Komponente mehr hinein.");
    if (checked > free)
        return QStringLiteral("Markiert: %1, aber Platz nur für noch %2. Entfernen Sie "
                              "Markierungen, um zu übernehmen.")
            .arg(components(checked), components(free));
    if (checked == 0)
        return QStringLiteral("Platz für noch %1. Markieren Sie, was übernommen werden soll.")
            .arg(components(free));
    return QStringLiteral("Platz für noch %1, markiert: %2.")
        .arg(components(free), QString::number(checked));
}

TakeInDialog::TakeInDialog(const Catalog::Intake& intake, QWidget* parent)
    : CheckListDialog({"TakeInDialog",
                       kTitle,
                       intake.project.path,
                       {QStringLiteral("Eintrag"), QStringLiteral("Art"), QStringLiteral("Datei"),
                        QStringLiteral("Zustand")},
                       QStringLiteral("Komponenten der Projektdatei"),
                       "RPlatz",
                       QStringLiteral("&Übernehmen"),
                       "bÜbernehmen"},
                      int(intake.candidates.size()), parent),
      m_intake(intake)
{
    for (int row = 0; row < m_intake.candidates.size(); ++row) {
        const Candidate& candidate = m_intake.candidates.at(row);
        setLine(row,
                {shownName(candidate), Catalog::label(candidate.component.kind),
                 shownFile(candidate), Catalog::stateText(candidate.state)},
                checkable(candidate), candidate.checked);
        LKomponenten->item(row, File)->setToolTip(LKomponenten->item(row, File)->text());
        LKomponenten->item(row, State)->setToolTip(candidate.reason);
    }
    finish(File);
}

QList<int> TakeInDialog::chosen() const
{
    return checkedRows();
}

void TakeInDialog::checksChanged()
{
    const QList<int> checked = chosen();
    const QList<Candidate> lines = Catalog::linesWith(m_intake, checked);
    for (int row = 0; row < lines.size(); ++row) {
        if (!checkable(m_intake.candidates.at(row)))
            continue;
        QTableWidgetItem* state = LKomponenten->item(row, State);
        state->setText(Catalog::stateText(lines.at(row).state));
        state->setToolTip(lines.at(row).reason);
    }
    RPlatz->setText(firstOpen() >= 0 ? roomText(m_intake.free, int(checked.size()))
                                     : kNothingToTakeIn);
    bUebernehmen->setEnabled(!checked.isEmpty() && checked.size() <= m_intake.free);
}
