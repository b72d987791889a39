#include "ui/Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOption>

#include <memory>

// Qt 6.4's QPlainTextEdit (in QWidgetTextControl::insertFromMimeData) takes the
// first of the pasted data's formats without asking whether there is one. Under
// X11 a clipboard that nobody owns hands out data without any format, and
// Ctrl+V, Shift+Insert or the menu's paste crashed the program; the keys and
// the menu reach Qt's own paste without passing the widget's overrides, so
// each is caught here.
void PlainTextBox::keyPressEvent(QKeyEvent* event)
{
    if (!event->matches(QKeySequence::Paste)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    const bool selection = QGuiApplication::clipboard()->supportsSelection() &&
                           event->key() == Qt::Key_Insert &&
                           event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    pasteFrom(selection ? QClipboard::Selection : QClipboard::Clipboard);
}

void PlainTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] { pasteFrom(QClipboard::Clipboard); });
    }
    menu->exec(event->globalPos());
}

void PlainTextBox::pasteFrom(QClipboard::Mode mode)
{
    if (isReadOnly())
        return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(mode);
    if (data && !data->formats().isEmpty())
        QPlainTextEdit::insertFromMimeData(data);
}

bool PlainTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    return source && !source->formats().isEmpty() && QPlainTextEdit::canInsertFromMimeData(source);
}

void PlainTextBox::insertFromMimeData(const QMimeData* source)
{
    if (source && !source->formats().isEmpty())
        QPlainTextEdit::insertFromMimeData(source);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void PictureBox::setBorder(bool on)
{
    m_border = on;
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (autoFillBackground())
        painter.fillRect(rect(), palette().window());
    const int inset = m_border ? 1 : 0;
    if (!m_picture.isNull()) {
        painter.setClipRect(rect().adjusted(inset, inset, -inset, -inset));
        // Device-independent size: a picture is never stretched, only cut.
        painter.drawPixmap(QPointF(inset, inset), m_picture);
        painter.setClipping(false);
    }
    if (m_border) {
        painter.setPen(flatEdgeColour());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

FlatLineEdit::FlatLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(2, 1, 2, 1);
}

void FlatLineEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(flatEdgeColour());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QColor flatEdgeColour()
{
    return QColor(0x7F, 0x9D, 0xB9);
}

void makeFlat(QFrame* frame)
{
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    // A plain box is drawn in the window-text colour; the items use Text.
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, flatEdgeColour());
    frame->setPalette(palette);
}

namespace {

class FlatCheckStyle : public QProxyStyle
{
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element != PE_IndicatorCheckBox) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        const bool pressed = option->state & State_Sunken;
        painter->setBrush(pressed ? option->palette.button() : option->palette.base());
        painter->setPen(flatEdgeColour());
        painter->drawRect(box);
        if (option->state & (State_On | State_NoChange)) {
            painter->setRenderHint(QPainter::Antialiasing, true);
            const QColor ink = option->state & State_Enabled
                                   ? option->palette.color(QPalette::Text)
                                   : option->palette.color(QPalette::Disabled, QPalette::Text);
            painter->setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter->setBrush(Qt::NoBrush);
            const QRectF r = box.adjusted(3, 3, -3, -3);
            QPainterPath tick;
            tick.moveTo(r.left(), r.top() + r.height() * 0.5);
            tick.lineTo(r.left() + r.width() * 0.38, r.bottom());
            tick.lineTo(r.right(), r.top());
            painter->drawPath(tick);
        }
        painter->restore();
    }
};

} // namespace

void makeFlat(QCheckBox* box)
{
    // One style per window, owned by it; every check box of that window shares it.
    QWidget* window = box->window();
    const QString name = QStringLiteral("flatCheckStyle");
    QStyle* style = window->findChild<QProxyStyle*>(name, Qt::FindDirectChildrenOnly);
    if (!style) {
        style = new FlatCheckStyle;
        style->setObjectName(name);
        style->setParent(window);
    }
    box->setStyle(style);
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
