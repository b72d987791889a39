#include "editing/ComponentPage.h"

#include "catalog/Catalog.h"
#include "desktop/Desktop.h"
#include "editing/Beschreibung.h"
#include "ui/RootTooltips.h"
#include "ui/RootUi.h"
#include "ui/Widgets.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

ComponentPage::ComponentPage(RootUi& rootUi, QWidget* window)
    : QObject(window), ui(rootUi), m_window(window)
{
    connect(ui.LDateien, &QListWidget::itemChanged, this, &ComponentPage::LDateien_ItemCheck);
    connect(ui.LDateien, &QListWidget::currentRowChanged, this, [this] { LDateien_Click(); });
    connect(ui.RCaption, &ClickLabel::doubleClicked, this, &ComponentPage::RCaption_DblClick);
    m_list = ui.LDateien;
    m_viewport = ui.LDateien->viewport();
    m_list->installEventFilter(this);
    m_viewport->installEventFilter(this);
}

void ComponentPage::setPlace(QListWidgetItem* item, const Catalog::Place& place)
{
    item->setData(Qt::UserRole, QStringList{place.folder, place.fileName});
}

std::optional<Catalog::Place> ComponentPage::placeOf(const QListWidgetItem* item)
{
    const QStringList parts = item ? item->data(Qt::UserRole).toStringList() : QStringList();
    if (parts.size() != 2)
        return std::nullopt;
    return Catalog::Place{parts.at(0), parts.at(1)};
}

QString ComponentPage::currentEntry() const
{
    const QListWidgetItem* item = ui.LDateien->currentItem();
    return item ? item->text() : QString();
}

void ComponentPage::LDateien_ItemCheck(QListWidgetItem* item)
{
    // While the list is filled before the window shows, nothing is asked.
    if (!m_window->isVisible() || !item || item->checkState() != Qt::Unchecked)
        return;
    if (!Catalog::isRootForm(Catalog::Snapshot::read().fileNameOf(currentEntry())))
        return;
    const auto answer = desktop().message(m_window, QMessageBox::Warning,
                                          QLatin1Char(' ') + m_window->windowTitle(), kRootQuestion,
                                          QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        // The re-check arrives here again as a checked line and asks nothing.
        if (QListWidgetItem* current = ui.LDateien->currentItem())
            current->setCheckState(Qt::Checked);
    }
}

void ComponentPage::LDateien_Click()
{
    ui.RCaption->setText(Catalog::Snapshot::read().captionOf(currentEntry()));
    tooltipRefresh();
}

void ComponentPage::tooltipRefresh()
{
    RootTooltips::refresh(ui);
}

void ComponentPage::RCaption_DblClick()
{
    const QString name = currentEntry();
    const Catalog::Snapshot catalogue = Catalog::Snapshot::read();
    const QString fileName = catalogue.fileNameOf(name);
    const QString folder = catalogue.folderOf(name);
    const QString caption = catalogue.captionOf(name);

    Beschreibung dialog(m_window);
    dialog.ui.tCaption->setPlainText(caption);
    dialog.ui.RName->setText(name);
    dialog.ui.tDateiname->setText(Beschreibung::shortenedPath(folder, fileName));
    dialog.ui.tCaption->moveCursor(QTextCursor::End);
    dialog.ui.tCaption->setFocus();
    dialog.exec();

    // Shows what was stored, read back as every later selection reads it.
    LDateien_Click();
    DoEvents();
}

bool ComponentPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ui.bWeiter->setFocus();
            return true;
        }
    }
    if (watched == m_viewport && (event->type() == QEvent::MouseButtonPress ||
                                  event->type() == QEvent::MouseButtonDblClick)) {
        // The right button edits the current line, never the one under the pointer.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            if (event->type() == QEvent::MouseButtonPress)
                RCaption_DblClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
