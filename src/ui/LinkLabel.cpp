#include "ui/LinkLabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>

namespace {

class LinkAccessible : public QAccessibleWidget
{
public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return static_cast<LinkLabel*>(widget())->text();
        return own;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction())
            static_cast<LinkLabel*>(widget())->activate();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* linkInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("LinkLabel") && object && object->isWidgetType())
        return new LinkAccessible(static_cast<LinkLabel*>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(QWidget* parent) : ClickLabel(parent)
{
    static const bool installed = (QAccessible::installFactory(linkInterface), true);
    Q_UNUSED(installed);
    // Tab only: a click starts the link, it does not park the focus on it.
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        if (!event->isAutoRepeat())
            activate();
        return;
    }
    ClickLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event)
{
    ClickLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Underlined while it has the focus, as a link under the pointer would be.
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect box = contentsRect();
    const int y = box.top() + metrics.ascent() + metrics.underlinePos();
    painter.setPen(QPen(palette().color(foregroundRole()), qMax(1, metrics.lineWidth())));
    painter.drawLine(box.left(), y, box.left() + metrics.horizontalAdvance(text()) - 1, y);
}
