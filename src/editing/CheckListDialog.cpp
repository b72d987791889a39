#include "editing/CheckListDialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A line that cannot be checked is drawn as disabled, its text in the ink of
// the others; it can still be the current line, so that the arrow keys and a
// screen reader reach it.
class LineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(index.siblingAtColumn(0).flags() & Qt::ItemIsUserCheckable)) {
            option->state &= ~QStyle::State_Enabled;
            option->palette.setCurrentColorGroup(QPalette::Disabled);
        }
    }
};

} // namespace

CheckListDialog::CheckListDialog(const Frame& frame, int rows, QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::fromUtf8(frame.name));
    setWindowTitle(frame.title);
    setWindowModality(Qt::WindowModal);

    RProjekt = new QLabel(QStringLiteral("Projektdatei: ") + frame.projectFile, this);
    RProjekt->setObjectName(QStringLiteral("RProjekt"));
    RProjekt->setTextInteractionFlags(Qt::TextSelectableByMouse);

    LKomponenten = new QTableWidget(rows, int(frame.columns.size()), this);
    LKomponenten->setObjectName(QStringLiteral("LKomponenten"));
    LKomponenten->setAccessibleName(frame.listName);
    LKomponenten->setHorizontalHeaderLabels(frame.columns);
    LKomponenten->verticalHeader()->hide();
    LKomponenten->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    LKomponenten->setSelectionBehavior(QAbstractItemView::SelectRows);
    LKomponenten->setSelectionMode(QAbstractItemView::SingleSelection);
    LKomponenten->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One Tab stop: Tab goes on to the buttons, not from cell to cell.
    LKomponenten->setTabKeyNavigation(false);
    LKomponenten->setTextElideMode(Qt::ElideMiddle);
    LKomponenten->setWordWrap(false);
    LKomponenten->setItemDelegate(new LineDelegate(LKomponenten));

    m_note = new QLabel(this);
    m_note->setObjectName(QString::fromUtf8(frame.noteName));
    m_note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(frame.okText, QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QString::fromUtf8(frame.okName));
    m_ok->setDefault(true);
    bAbbrechen = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    bAbbrechen->setObjectName(QStringLiteral("bAbbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RProjekt);
    layout->addWidget(LKomponenten, 1);
    layout->addWidget(m_note);
    layout->addWidget(buttons);
}

void CheckListDialog::setLine(int row, const QStringList& texts, bool open, bool checked)
{
    // A line that cannot be checked is read as well as the others; its check
    // box alone looks disabled.
    const QBrush ink = LKomponenten->palette().brush(QPalette::Active, QPalette::Text);
    for (int column = 0; column < texts.size(); ++column) {
        auto* item = new QTableWidgetItem(texts.at(column));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setForeground(ink);
        if (column == 0) {
            if (open)
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(open && checked ? Qt::Checked : Qt::Unchecked);
        }
        LKomponenten->setItem(row, column, item);
    }
}

int CheckListDialog::firstOpen() const
{
    for (int row = 0; row < LKomponenten->rowCount(); ++row) {
        if (LKomponenten->item(row, 0)->flags() & Qt::ItemIsUserCheckable)
            return row;
    }
    return -1;
}

void CheckListDialog::finish(int shortened)
{
    QHeaderView* header = LKomponenten->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(shortened, QHeaderView::Stretch);
    connect(LKomponenten, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 0)
            checksChanged();
    });
    // Whole lines: the current cell stays in the column of the check box, so
    // Space checks whatever column was clicked or moved to.
    connect(LKomponenten, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column != 0)
            LKomponenten->setCurrentCell(row, 0);
    });
    LKomponenten->viewport()->installEventFilter(this);
    checksChanged();
    resize(firstSize(shortened));
    LKomponenten->setFocus();
    if (LKomponenten->rowCount() > 0)
        LKomponenten->setCurrentCell(qMax(firstOpen(), 0), 0);
}

QList<int> CheckListDialog::checkedRows() const
{
    QList<int> rows;
    for (int row = 0; row < LKomponenten->rowCount(); ++row) {
        if (LKomponenten->item(row, 0)->checkState() == Qt::Checked)
            rows << row;
    }
    return rows;
}

// Every column whole but the long one, cut to 60 characters, and room for
// kShownLines lines; never larger than the screen.
QSize CheckListDialog::firstSize(int shortened) const
{
    const QHeaderView* header = LKomponenten->horizontalHeader();
    const int frame = 2 * LKomponenten->frameWidth();
    int width = frame + LKomponenten->verticalScrollBar()->sizeHint().width();
    const QAbstractItemView* view = LKomponenten; // where the hint is public
    for (int column = 0; column < LKomponenten->columnCount(); ++column) {
        int wanted = qMax(view->sizeHintForColumn(column), header->sectionSizeHint(column));
        if (column == shortened)
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

bool CheckListDialog::eventFilter(QObject* watched, QEvent* event)
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
