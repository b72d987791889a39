#include "editing/TakeInDialog.h"

#include "catalog/ComponentKind.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

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

QTableWidgetItem* cell(const QString& text, bool enabled)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(enabled ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
    return item;
}

} // namespace

const QString TakeInDialog::kTitle = QStringLiteral("Aus Projekt übernehmen");

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
    : QDialog(parent), m_intake(intake)
{
    setObjectName(QStringLiteral("TakeInDialog"));
    setWindowTitle(kTitle);
    setWindowModality(Qt::WindowModal);

    RProjekt = new QLabel(QStringLiteral("Projektdatei: ") + m_intake.project.path, this);
    RProjekt->setObjectName(QStringLiteral("RProjekt"));
    RProjekt->setTextInteractionFlags(Qt::TextSelectableByMouse);

    LKomponenten = new QTableWidget(int(m_intake.candidates.size()), 4, this);
    LKomponenten->setObjectName(QStringLiteral("LKomponenten"));
    LKomponenten->setHorizontalHeaderLabels({QStringLiteral("Eintrag"), QStringLiteral("Art"),
                                             QStringLiteral("Ordner"), QStringLiteral("Zustand")});
    LKomponenten->verticalHeader()->hide();
    LKomponenten->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    LKomponenten->setSelectionBehavior(QAbstractItemView::SelectRows);
    LKomponenten->setSelectionMode(QAbstractItemView::SingleSelection);
    LKomponenten->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LKomponenten->setTextElideMode(Qt::ElideMiddle);
    LKomponenten->setWordWrap(false);
    for (int row = 0; row < m_intake.candidates.size(); ++row) {
        const Candidate& candidate = m_intake.candidates.at(row);
        const bool open = checkable(candidate);
        QTableWidgetItem* name = cell(shownName(candidate), open);
        if (open)
            name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
        name->setCheckState(open && candidate.checked ? Qt::Checked : Qt::Unchecked);
        LKomponenten->setItem(row, Name, name);
        LKomponenten->setItem(row, Kind, cell(Catalog::label(candidate.component.kind), open));
        const QString folder =
            candidate.folder.isEmpty() ? candidate.component.rawPath : candidate.folder;
        QTableWidgetItem* where = cell(folder, open);
        where->setToolTip(folder);
        LKomponenten->setItem(row, Folder, where);
        QTableWidgetItem* state = cell(Catalog::stateText(candidate.state), open);
        state->setToolTip(candidate.reason);
        LKomponenten->setItem(row, State, state);
    }
    QHeaderView* header = LKomponenten->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(Folder, QHeaderView::Stretch);

    RPlatz = new QLabel(this);
    RPlatz->setObjectName(QStringLiteral("RPlatz"));
    RPlatz->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    bUebernehmen = buttons->addButton(QStringLiteral("&Übernehmen"), QDialogButtonBox::AcceptRole);
    bUebernehmen->setObjectName(QStringLiteral("bÜbernehmen"));
    bUebernehmen->setDefault(true);
    bAbbrechen = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    bAbbrechen->setObjectName(QStringLiteral("bAbbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RProjekt);
    layout->addWidget(LKomponenten, 1);
    layout->addWidget(RPlatz);
    layout->addWidget(buttons);
    resize(720, 360);

    connect(LKomponenten, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == Name)
            showRoom();
    });
    showRoom();
    LKomponenten->setFocus();
    if (LKomponenten->rowCount() > 0)
        LKomponenten->setCurrentCell(0, Name);
}

QList<int> TakeInDialog::chosen() const
{
    QList<int> rows;
    for (int row = 0; row < LKomponenten->rowCount(); ++row) {
        if (LKomponenten->item(row, Name)->checkState() == Qt::Checked)
            rows << row;
    }
    return rows;
}

void TakeInDialog::showRoom()
{
    const qsizetype checked = chosen().size();
    RPlatz->setText(roomText(m_intake.free, int(checked)));
    bUebernehmen->setEnabled(checked > 0 && checked <= m_intake.free);
}
