#include "ui/Tooltips.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QList>
#include <QMargins>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOption>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <array>
#include <climits>

namespace {

// The one-pixel edge of the tip window, inside which the margins start.
constexpr int kEdge = 1;
// Where a tip goes below the pointer, clear of the arrow.
const QPoint kBelowPointer(2, 20);
constexpr int kIconSize = 16;
constexpr int kIconGap = 4;
constexpr int kTitleGap = 3;

quint32 colorRef(const QColor& c)
{
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

QColor fromColorRef(quint32 c)
{
    return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
}

// The desktop's colours by their numbers, taken from the palette.
QColor systemColour(int index)
{
    const QPalette p = QApplication::palette();
    const QPalette tip = QToolTip::palette();
    switch (index) {
    case 0:
        return p.color(QPalette::Button); // scroll bar
    case 1:
        return p.color(QPalette::Dark); // desktop
    case 2:                             // active caption
    case 27:
    case 13: // selection
    case 29:
        return p.color(QPalette::Active, QPalette::Highlight);
    case 3: // inactive caption
    case 28:
        return p.color(QPalette::Inactive, QPalette::Highlight);
    case 4:  // menu
    case 10: // borders
    case 11:
    case 30:
        return p.color(QPalette::Window);
    case 5:
        return p.color(QPalette::Base); // window
    case 6:
        return p.color(QPalette::Shadow); // window frame
    case 7:
        return p.color(QPalette::WindowText); // menu text
    case 8:
        return p.color(QPalette::Text); // window text
    case 9:                             // caption text
    case 14:
        return p.color(QPalette::Active, QPalette::HighlightedText);
    case 12:
        return p.color(QPalette::Mid); // work space
    case 15:
        return p.color(QPalette::Button); // button face
    case 16:
        return p.color(QPalette::Dark); // button shadow
    case 17:
        return p.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18:
        return p.color(QPalette::ButtonText);
    case 19:
        return p.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20:
        return p.color(QPalette::Light); // button highlight
    case 21:
        return p.color(QPalette::Shadow); // dark shadow
    case 22:
        return p.color(QPalette::Midlight); // light
    case 23:
        return tip.color(QPalette::ToolTipText); // tip text
    case 24:
        return tip.color(QPalette::ToolTipBase); // tip background
    case 26:
        return p.color(QPalette::Link); // hot track
    default:
        return QColor(0, 0, 0); // no such colour
    }
}

// The clock of a running program.
class TimerClock : public TipClock
{
public:
    TimerClock()
    {
        for (QTimer& timer : m_timers)
            timer.setSingleShot(true);
    }
    void start(Wait wait, int ms, std::function<void()> due) override
    {
        QTimer& timer = m_timers[wait];
        timer.stop();
        QObject::disconnect(&timer, &QTimer::timeout, nullptr, nullptr);
        QObject::connect(&timer, &QTimer::timeout, std::move(due));
        timer.start(std::max(ms, 0));
    }
    void stop(Wait wait) override { m_timers[wait].stop(); }

private:
    std::array<QTimer, 2> m_timers;
};

struct Tool
{
    QPointer<QWidget> widget;
    qint32 flags = 0;
    QString text;
    QRect rect;
};

} // namespace

// The tip window: the tools, the settings and what the pointer does over the form.
class TipWindow : public QWidget
{
public:
    TipWindow(QWidget* owner, qint32 flags, std::shared_ptr<TipClock> clock)
        : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                             Qt::WindowTransparentForInput),
          creationFlags(flags), m_owner(owner), m_clock(std::move(clock))
    {
        setObjectName(QStringLiteral("Tooltips"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setFont(QToolTip::font());
        setPalette(QToolTip::palette());
        back = colorRef(QToolTip::palette().color(QPalette::ToolTipBase));
        fore = colorRef(QToolTip::palette().color(QPalette::ToolTipText));
        setDelay(Tooltips_Class::TTDT_AUTOMATIC, -1);
        qApp->installEventFilter(this);
    }

    ~TipWindow() override
    {
        qApp->removeEventFilter(this);
        m_clock->stop(TipClock::Show);
        m_clock->stop(TipClock::Hide);
    }

    QList<Tool> tools;
    qint32 creationFlags;
    bool active = true;
    int initial = 0;
    int autopop = 0;
    int reshow = 0;
    int maxWidth = -1;
    QMargins margins;
    quint32 back;
    quint32 fore;
    QString title;
    int icon = 0;
    QPoint trackPosition;

    void setClock(std::shared_ptr<TipClock> clock)
    {
        m_clock->stop(TipClock::Show);
        m_clock->stop(TipClock::Hide);
        m_clock = std::move(clock);
    }

    int find(const QWidget* widget) const
    {
        if (!widget)
            return -1;
        for (int i = 0; i < tools.size(); ++i) {
            if (tools[i].widget == widget)
                return i;
        }
        return -1;
    }

    void setDelay(qint32 mode, qint32 time)
    {
        const int base = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        switch (mode) {
        case Tooltips_Class::TTDT_AUTOMATIC: {
            const int t = time < 0 ? base : time;
            initial = t;
            autopop = t * 10;
            reshow = t / 5;
            break;
        }
        case Tooltips_Class::TTDT_RESHOW:
            reshow = time < 0 ? base / 5 : time;
            break;
        case Tooltips_Class::TTDT_AUTOPOP:
            autopop = time < 0 ? base * 10 : time;
            break;
        case Tooltips_Class::TTDT_INITIAL:
            initial = time < 0 ? base : time;
            break;
        default:
            break;
        }
    }

    QString shownText() const { return isVisible() ? m_text : QString(); }

    // The whole tip window for a text, as it would show now.
    QSize bubbleSize(const QString& text) const
    {
        const Layout l = layout(text);
        return l.size;
    }

    QRect grown(QRect r) const
    {
        return r.marginsAdded(margins + QMargins(kEdge, kEdge, kEdge, kEdge));
    }
    QRect shrunk(QRect r) const
    {
        return r.marginsRemoved(margins + QMargins(kEdge, kEdge, kEdge, kEdge));
    }

    void toolTextChanged(int index)
    {
        if (m_shownTool != tools[index].widget || !isVisible())
            return;
        if (tools[index].text.isEmpty())
            hide();
        else
            showText(tools[index].text, Place::Here);
    }

    void toolRemoved(const QWidget* widget)
    {
        if (find(widget) >= 0)
            return; // a second registration of the same control remains
        if (m_hot == widget)
            setHot(nullptr);
        if (m_tracking == widget)
            track(widget, false);
    }

    void setActive(bool on)
    {
        active = on;
        if (!on)
            hideTip();
    }

    void track(const QWidget* widget, bool on)
    {
        if (on) {
            const int index = find(widget);
            m_clock->stop(TipClock::Show);
            m_clock->stop(TipClock::Hide);
            m_tracking = tools[index].widget;
            m_shownTool = m_tracking;
            if (active && !tools[index].text.isEmpty())
                showText(tools[index].text, Place::AtTrack);
            else
                hide();
        } else if (m_tracking == widget) {
            m_tracking = nullptr;
            hideTip();
        }
    }

    void moveTrackedTip()
    {
        if (m_tracking && isVisible())
            move(onScreen(trackPosition));
    }

    void hideTip()
    {
        m_clock->stop(TipClock::Show);
        m_clock->stop(TipClock::Hide);
        m_reshowing = false;
        m_tracking = nullptr;
        hide();
    }

    void settingsChanged()
    {
        if (isVisible())
            showText(m_text, Place::Here);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ToolTip:
        case QEvent::Hide:
            break;
        default:
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !m_owner || widget->window() != m_owner)
            return false;
        switch (event->type()) {
        case QEvent::Enter:
            m_pointer = static_cast<QEnterEvent*>(event)->globalPosition().toPoint();
            // A repeated Enter of a control the pointer is already inside changes nothing.
            if (m_under && (widget == m_under || widget->isAncestorOf(m_under)))
                break;
            m_under = widget;
            setHot(toolAt(widget));
            break;
        case QEvent::Leave:
            // Leaving a control puts the pointer back on its parent; new controls report Enter.
            m_under = widget->isWindow() ? nullptr : widget->parentWidget();
            setHot(toolAt(m_under));
            break;
        case QEvent::MouseMove:
            m_pointer = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            // A click ends the tip; it shows again on the next control.
            if (!m_tracking)
                hideTip();
            break;
        case QEvent::ToolTip:
            // Only our own tips over our tools, never the toolkit's in addition.
            return toolAt(widget) != nullptr;
        case QEvent::Hide:
            if (widget == m_owner) {
                hideTip();
                m_hot = nullptr;
                m_under = nullptr;
            } else if (m_hot && (widget == m_hot || widget->isAncestorOf(m_hot))) {
                setHot(nullptr);
            }
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.palette = tipPalette();
        style()->drawPrimitive(QStyle::PE_PanelTipLabel, &frame, &painter, this);
        const Layout l = layout(m_text);
        painter.setPen(fromColorRef(fore));
        if (!l.titleRect.isEmpty()) {
            if (!l.icon.isNull())
                painter.drawPixmap(l.iconRect.topLeft(), l.icon);
            painter.setFont(titleFont());
            painter.drawText(l.titleRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             title);
            painter.setFont(font());
        }
        painter.drawText(l.textRect, textFlags(), m_text);
    }

private:
    struct Layout
    {
        QSize size;
        QRect textRect;
        QRect titleRect;
        QRect iconRect;
        QPixmap icon;
    };

    QPalette tipPalette() const
    {
        QPalette p = palette();
        for (auto role : {QPalette::ToolTipBase, QPalette::Window, QPalette::Base})
            p.setColor(role, fromColorRef(back));
        for (auto role : {QPalette::ToolTipText, QPalette::WindowText, QPalette::Text})
            p.setColor(role, fromColorRef(fore));
        return p;
    }

    QFont titleFont() const
    {
        QFont f = font();
        f.setBold(true);
        return f;
    }

    int textFlags() const
    {
        int flags = Qt::AlignLeft | Qt::AlignTop;
        if (maxWidth >= 0)
            flags |= Qt::TextWordWrap;
        if (!(creationFlags & Tooltips_Class::TTS_NOPREFIX))
            flags |= Qt::TextHideMnemonic;
        return flags;
    }

    QPixmap iconPixmap() const
    {
        QStyle::StandardPixmap which;
        switch (icon) {
        case 1:
        case 4:
            which = QStyle::SP_MessageBoxInformation;
            break;
        case 2:
        case 5:
            which = QStyle::SP_MessageBoxWarning;
            break;
        case 3:
        case 6:
            which = QStyle::SP_MessageBoxCritical;
            break;
        default:
            return QPixmap();
        }
        return style()->standardIcon(which, nullptr, this).pixmap(kIconSize, kIconSize);
    }

    Layout layout(const QString& text) const
    {
        Layout l;
        const QFontMetrics fm(font());
        const int wrap = maxWidth >= 0 ? maxWidth : INT_MAX / 4;
        const QRect textArea = fm.boundingRect(QRect(0, 0, wrap, INT_MAX / 4), textFlags(), text);
        int width = textArea.width();
        int top = 0;
        if (!title.isEmpty()) {
            l.icon = iconPixmap();
            const QFontMetrics tfm(titleFont());
            const int iconWidth = l.icon.isNull() ? 0 : kIconSize + kIconGap;
            const int lineHeight = std::max(tfm.height(), l.icon.isNull() ? 0 : kIconSize);
            l.iconRect = QRect(0, (lineHeight - kIconSize) / 2, kIconSize, kIconSize);
            l.titleRect = QRect(iconWidth, 0, tfm.horizontalAdvance(title), lineHeight);
            width = std::max(width, l.titleRect.right() + 1);
            top = lineHeight + kTitleGap;
        }
        l.textRect = QRect(0, top, width, textArea.height());
        const QRect content(0, 0, width, top + textArea.height());
        const QRect whole = grown(content);
        const QPoint shift = -whole.topLeft();
        l.textRect.translate(shift);
        l.titleRect.translate(shift);
        l.iconRect.translate(shift);
        l.size = whole.size();
        return l;
    }

    // The nearest registered widget from `widget` up; a tracking tool answers no pointer.
    QWidget* toolAt(QWidget* widget) const
    {
        for (QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
            const int index = find(w);
            if (index >= 0)
                return (tools[index].flags & Tooltips_Class::TTF_SUBCLASS) ? w : nullptr;
        }
        return nullptr;
    }

    void setHot(QWidget* tool)
    {
        if (tool == m_hot)
            return;
        m_hot = tool;
        if (m_tracking)
            return;
        const bool wasShown = isVisible();
        if (wasShown)
            hide();
        m_clock->stop(TipClock::Show);
        m_clock->stop(TipClock::Hide);
        m_reshowing = m_reshowing || wasShown;
        if (!tool) {
            // Off the tools for longer than the reshow time, the next tip waits in full.
            if (m_reshowing)
                m_clock->start(TipClock::Show, reshow, [this] { m_reshowing = false; });
            return;
        }
        m_clock->start(TipClock::Show, m_reshowing ? reshow : initial, [this] { showHot(); });
    }

    void showHot()
    {
        const int index = m_hot ? find(m_hot) : -1;
        if (!active || m_tracking || index < 0 || tools[index].text.isEmpty())
            return;
        m_shownTool = m_hot;
        m_reshowing = true;
        showText(tools[index].text, Place::AtPointer);
        m_clock->start(TipClock::Hide, autopop, [this] {
            hide();
            m_reshowing = false;
        });
    }

    enum class Place
    {
        AtPointer,
        AtTrack,
        Here
    };

    void showText(const QString& text, Place place)
    {
        m_text = text;
        resize(layout(text).size);
        if (place == Place::AtPointer) {
            const QPoint pointer = m_pointer.isNull() ? QCursor::pos() : m_pointer;
            move(onScreen(pointer + kBelowPointer, pointer));
        } else {
            move(onScreen(place == Place::AtTrack ? trackPosition : pos()));
        }
        update();
        show();
    }

    // The tip's place for a wanted corner, moved so that it stays on the screen;
    // when it does not fit below the pointer it goes above it.
    QPoint onScreen(QPoint wanted, QPoint pointer = QPoint(INT_MIN, INT_MIN)) const
    {
        const QScreen* screen = QGuiApplication::screenAt(wanted);
        if (!screen)
            screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return wanted;
        const QRect area = screen->availableGeometry();
        const QSize size = this->size();
        QPoint at = wanted;
        if (at.x() + size.width() > area.right() + 1)
            at.setX(area.right() + 1 - size.width());
        if (at.y() + size.height() > area.bottom() + 1)
            at.setY(pointer.y() != INT_MIN ? pointer.y() - size.height() - 2
                                           : area.bottom() + 1 - size.height());
        at.setX(std::max(at.x(), area.left()));
        at.setY(std::max(at.y(), area.top()));
        return at;
    }

    QPointer<QWidget> m_owner;
    std::shared_ptr<TipClock> m_clock;
    QPointer<QWidget> m_under; // the innermost control the pointer entered
    QPointer<QWidget> m_hot;
    QPointer<QWidget> m_shownTool;
    QPointer<QWidget> m_tracking;
    bool m_reshowing = false;
    QPoint m_pointer;
    QString m_text;
};

Tooltips_Class::Tooltips_Class() : m_clock(std::make_shared<TimerClock>()) {}

Tooltips_Class::~Tooltips_Class()
{
    delete m_window.data();
}

void Tooltips_Class::Create(QWidget* Frm, qint32 Flags)
{
    delete m_window.data();
    m_enabled = true;
    m_icon = 0;
    m_title.clear();
    if (Frm)
        m_window = new TipWindow(Frm->window(), Flags, m_clock);
}

void Tooltips_Class::AddTool(QWidget* Ctl, qint32 Flags, const QString& Text)
{
    if (!m_window)
        return;
    qint32 flags = Flags | TTF_IDISHWND;
    if (!(Flags & TTF_TRACK))
        flags |= TTF_SUBCLASS;
    m_window->tools.append(Tool{Ctl, flags, Text, QRect()});
}

void Tooltips_Class::DeleteTool(QWidget* Ctl)
{
    const int index = m_window ? m_window->find(Ctl) : -1;
    if (index < 0)
        return;
    m_window->tools.removeAt(index);
    m_window->toolRemoved(Ctl);
}

void Tooltips_Class::SetTipText(QWidget* Ctl, const QString& NewText)
{
    const int index = m_window ? m_window->find(Ctl) : -1;
    if (index < 0)
        return;
    m_window->tools[index].text = NewText;
    m_window->toolTextChanged(index);
}

void Tooltips_Class::SetToolRect(QWidget* Ctl, qint32 Left, qint32 Top, qint32 Right, qint32 Bottom)
{
    const int index = m_window ? m_window->find(Ctl) : -1;
    if (index >= 0)
        m_window->tools[index].rect = QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1));
}

qint32 Tooltips_Class::ToolCount() const
{
    return m_window ? qint32(m_window->tools.size()) : 0;
}

bool Tooltips_Class::Enabled() const
{
    return m_enabled;
}

void Tooltips_Class::setEnabled(bool NewState)
{
    m_enabled = NewState;
    if (m_window)
        m_window->setActive(NewState);
}

void Tooltips_Class::SetDelayTime(qint32 TimeMode, qint32 Time)
{
    if (m_window)
        m_window->setDelay(TimeMode, Time);
}

qint32 Tooltips_Class::GetDelayTime(qint32 TimeMode) const
{
    if (!m_window)
        return 0;
    switch (TimeMode) {
    case TTDT_RESHOW:
        return m_window->reshow;
    case TTDT_AUTOPOP:
        return m_window->autopop;
    case TTDT_INITIAL:
        return m_window->initial;
    default:
        return 0;
    }
}

qint32 Tooltips_Class::MaxTipWidth() const
{
    return m_window ? m_window->maxWidth : 0;
}

void Tooltips_Class::setMaxTipWidth(qint32 NewWidth)
{
    if (!m_window)
        return;
    m_window->maxWidth = NewWidth;
    m_window->settingsChanged();
}

qint32 Tooltips_Class::MarginLeft() const
{
    return m_window ? m_window->margins.left() : 0;
}

qint32 Tooltips_Class::MarginTop() const
{
    return m_window ? m_window->margins.top() : 0;
}

qint32 Tooltips_Class::MarginRight() const
{
    return m_window ? m_window->margins.right() : 0;
}

qint32 Tooltips_Class::MarginBottom() const
{
    return m_window ? m_window->margins.bottom() : 0;
}

// Each side is written with the other three as they are.
void Tooltips_Class::setMarginLeft(qint32 NewMargin)
{
    if (!m_window)
        return;
    m_window->margins.setLeft(NewMargin);
    m_window->settingsChanged();
}

void Tooltips_Class::setMarginTop(qint32 NewMargin)
{
    if (!m_window)
        return;
    m_window->margins.setTop(NewMargin);
    m_window->settingsChanged();
}

void Tooltips_Class::setMarginRight(qint32 NewMargin)
{
    if (!m_window)
        return;
    m_window->margins.setRight(NewMargin);
    m_window->settingsChanged();
}

void Tooltips_Class::setMarginBottom(qint32 NewMargin)
{
    if (!m_window)
        return;
    m_window->margins.setBottom(NewMargin);
    m_window->settingsChanged();
}

quint32 Tooltips_Class::BackColor() const
{
    return m_window ? m_window->back : 0;
}

void Tooltips_Class::setBackColor(quint32 NewColor)
{
    if (!m_window)
        return;
    m_window->back = TranslateColor(NewColor);
    m_window->update();
}

quint32 Tooltips_Class::ForeColor() const
{
    return m_window ? m_window->fore : 0;
}

void Tooltips_Class::setForeColor(quint32 NewColor)
{
    if (!m_window)
        return;
    m_window->fore = TranslateColor(NewColor);
    m_window->update();
}

QString Tooltips_Class::Title() const
{
    return m_title;
}

void Tooltips_Class::setTitle(const QString& NewTitle)
{
    if (!m_window)
        return;
    m_title = NewTitle;
    m_window->title = m_title;
    m_window->icon = m_icon;
    m_window->settingsChanged();
}

qint32 Tooltips_Class::Icon() const
{
    return m_icon;
}

void Tooltips_Class::setIcon(qint32 NewIcon)
{
    if (!m_window)
        return;
    m_icon = NewIcon;
    m_window->title = m_title;
    m_window->icon = m_icon;
    m_window->settingsChanged();
}

void Tooltips_Class::SetTracking(QWidget* Ctl, bool Tracking)
{
    if (m_window && m_window->find(Ctl) >= 0)
        m_window->track(Ctl, Tracking);
}

void Tooltips_Class::SetTrackPosition(QWidget* Ctl, qint16 X, qint16 Y)
{
    if (!m_window || m_window->find(Ctl) < 0)
        return;
    const quint32 packed = quint32(MakeLong(X, Y));
    m_window->trackPosition = QPoint(LoWord(packed), HiWord(packed));
    m_window->moveTrackedTip();
}

void Tooltips_Class::HideTips()
{
    if (m_window)
        m_window->hideTip();
}

bool Tooltips_Class::HitTest(QWidget* Ctl, qint32 X, qint32 Y) const
{
    if (!m_window || !Ctl)
        return false;
    const QPoint point(X, Y);
    QWidget* under = Ctl->childAt(point);
    for (QWidget* w = under ? under : Ctl; w; w = w == Ctl ? nullptr : w->parentWidget()) {
        const int index = m_window->find(w);
        if (index < 0)
            continue;
        const QRect area =
            m_window->tools[index].rect.isValid() ? m_window->tools[index].rect : w->rect();
        return area.contains(w->mapFrom(Ctl, point));
    }
    return false;
}

qint32 Tooltips_Class::GetTooltipWidth(QWidget* Ctl) const
{
    const int index = m_window ? m_window->find(Ctl) : -1;
    if (index < 0)
        return 0;
    const QSize size = m_window->bubbleSize(m_window->tools[index].text);
    return LoWord(quint32(MakeLong(qint16(size.width()), qint16(size.height()))));
}

qint32 Tooltips_Class::GetTooltipHeight(QWidget* Ctl) const
{
    const int index = m_window ? m_window->find(Ctl) : -1;
    if (index < 0)
        return 0;
    const QSize size = m_window->bubbleSize(m_window->tools[index].text);
    return HiWord(quint32(MakeLong(qint16(size.width()), qint16(size.height()))));
}

qint32 Tooltips_Class::ToolTipWidthFromText(const QFontMetrics& hDC, const QString& Text) const
{
    if (!m_window)
        return 0;
    return m_window->grown(QRect(0, 0, hDC.horizontalAdvance(Text), hDC.height())).width();
}

qint32 Tooltips_Class::ToolTipHeightFromText(const QFontMetrics& hDC, const QString& Text) const
{
    if (!m_window)
        return 0;
    return m_window->grown(QRect(0, 0, hDC.horizontalAdvance(Text), hDC.height())).height();
}

qint32 Tooltips_Class::TextWidthFromToolTipWidth(const QFontMetrics&, qint32 TextWidth) const
{
    return m_window ? m_window->shrunk(QRect(0, 0, TextWidth, 0)).width() : 0;
}

qint32 Tooltips_Class::TextHeightFromToolTipHeight(const QFontMetrics&, qint32 TextHeight) const
{
    return m_window ? m_window->shrunk(QRect(0, 0, 0, TextHeight)).height() : 0;
}

qint32 Tooltips_Class::MakeLong(qint16 Int1, qint16 Int2)
{
    return qint32(quint32(quint16(Int1)) | quint32(quint16(Int2)) << 16);
}

qint32 Tooltips_Class::LoWord(quint32 value)
{
    return qint16(quint16(value & 0xFFFF));
}

qint32 Tooltips_Class::HiWord(quint32 value)
{
    return qint16(quint16(value >> 16));
}

quint32 Tooltips_Class::TranslateColor(quint32 color)
{
    if ((color >> 24) != 0x80)
        return color;
    return colorRef(systemColour(int(color & 0xFF)));
}

void Tooltips_Class::setClock(std::shared_ptr<TipClock> clock)
{
    m_clock = clock ? std::move(clock) : std::make_shared<TimerClock>();
    if (m_window)
        m_window->setClock(m_clock);
}

QWidget* Tooltips_Class::tipWindow() const
{
    return m_window.data();
}

QString Tooltips_Class::shownText() const
{
    return m_window ? m_window->shownText() : QString();
}

QString Tooltips_Class::toolText(QWidget* Ctl) const
{
    const int index = m_window ? m_window->find(Ctl) : -1;
    return index < 0 ? QString() : m_window->tools[index].text;
}
