#include "editing/TakeInDialog.h"

#include "catalog/ComponentKind.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
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

// The file where it was found; one not found as the project names it, with '/'.
QString shownFile(const Candidate& candidate)
{
    if (!candidate.fileName.isEmpty())
        return candidate.folder + candidate.fileName;
    return QString(candidate.component.rawPath).replace(QLatin1Char('\\'), '/');
}

QTableWidgetItem* cell(const QString& text, bool enabled, const QBrush& ink)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(enabled ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
    // A line that cannot be checked is read as well as the others; its check
    // box alone looks disabled.
    item->setForeground(ink);
    return item;
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
    LKomponenten->setAccessibleName(QStringLiteral("Komponenten der Projektdatei"));
    LKomponenten->setHorizontalHeaderLabels({QStringLiteral("Eintrag"), QStringLiteral("Art"),
                                             QStringLiteral("Datei"), QStringLiteral("Zustand")});
    LKomponenten->verticalHeader()->hide();
    LKomponenten->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    LKomponenten->setSelectionBehavior(QAbstractItemView::SelectRows);
    LKomponenten->setSelectionMode(QAbstractItemView::SingleSelection);
    LKomponenten->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One Tab stop: Tab goes on to the buttons, not from cell to cell.
    LKomponenten->setTabKeyNavigation(false);
    LKomponenten->setTextElideMode(Qt::ElideMiddle);
    LKomponenten->setWordWrap(false);
    const QBrush ink = LKomponenten->palette().brush(QPalette::Active, QPalette::Text);
    int first = -1; // the first line that can be checked
    for (int row = 0; row < m_intake.candidates.size(); ++row) {
        const Candidate& candidate = m_intake.candidates.at(row);
        const bool open = checkable(candidate);
        if (open && first < 0)
            first = row;
        QTableWidgetItem* name = cell(shownName(candidate), open, ink);
        if (open)
            name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
        name->setCheckState(open && candidate.checked ? Qt::Checked : Qt::Unchecked);
        LKomponenten->setItem(row, Name, name);
        LKomponenten->setItem(row, Kind, cell(Catalog::label(candidate.component.kind), open, ink));
        QTableWidgetItem* file = cell(shownFile(candidate), open, ink);
        file->setToolTip(file->text());
        LKomponenten->setItem(row, File, file);
        QTableWidgetItem* state = cell(Catalog::stateText(candidate.state), open, ink);
        state->setToolTip(candidate.reason);
        LKomponenten->setItem(row, State, state);
    }
    m_open = first >= 0;
    QHeaderView* header = LKomponenten->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(File, QHeaderView::Stretch);

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

    connect(LKomponenten, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == Name)
            followChecks();
    });
    // Whole lines: the current cell stays in the column of the check box, so
    // Space checks whatever column was clicked or moved to.
    connect(LKomponenten, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column != Name)
            LKomponenten->setCurrentCell(row, Name);
    });
    LKomponenten->viewport()->installEventFilter(this);
    followChecks();
    resize(firstSize());
    LKomponenten->setFocus();
    if (LKomponenten->rowCount() > 0)
        LKomponenten->setCurrentCell(qMax(first, 0), Name);
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

void TakeInDialog::followChecks()
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
    RPlatz->setText(m_open ? roomText(m_intake.free, int(checked.size())) : kNothingToTakeIn);
    bUebernehmen->setEnabled(!checked.isEmpty() && checked.size() <= m_intake.free);
}

// Every column whole but a long path, shortened in its middle, and room for
// kShownLines lines; never larger than the screen.
QSize TakeInDialog::firstSize() const
{
    const QHeaderView* header = LKomponenten->horizontalHeader();
    const int frame = 2 * LKomponenten->frameWidth();
    int width = frame + LKomponenten->verticalScrollBar()->sizeHint().width();
    const QAbstractItemView* view = LKomponenten; // where the hint is public
    for (int column = Name; column <= State; ++column) {
        int wanted = qMax(view->sizeHintForColumn(column), header->sectionSizeHint(column));
        if (column == File)
            wanted = qMin(wanted, fontMetrics().averageCharWidth() * 60);
        width += wanted;
    }
    const QMargins margins = layout()->contentsMargins();
    const int list = header->sizeHint().height() + frame +
                     kShownLines * LKomponenten->verticalHeader()->defaultSectionSize();
    QSize size(qMax(width + margins.left() + margins.right(), 720),
               layout()->sizeHint().height() - LKomponenten->sizeHint().height() + list);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    return size;
}

bool TakeInDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The list gets shorter when the line under it wraps: its current line
    // stays in view, once the list has taken its new size.
    if (watched == LKomponenten->viewport() && event->type() == QEvent::Resize) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (QTableWidgetItem* item = LKomponenten->currentItem())
                    LKomponenten->scrollToItem(item);
            },
            Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}
