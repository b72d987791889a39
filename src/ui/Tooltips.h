#pragma once

#include <QPointer>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class QFontMetrics;
class QWidget;
class TipWindow;

// The waits of the tips: before a tip shows and while it stays. Tests put in a
// clock that fires the waits on request instead of sleeping through them.
class TipClock
{
public:
    enum Wait
    {
        Show,
        Hide
    };

    virtual ~TipClock() = default;

    // Calls `due` once after `ms`; starting a wait again replaces the waiting one.
    virtual void start(Wait wait, int ms, std::function<void()> due) = 0;
    virtual void stop(Wait wait) = 0;
};

// Tooltips for the controls of one window. The manager owns one tip window,
// created for a form by Create; controls of that form are registered as tools,
// each with a text that shows when the pointer rests on it. The tools live in
// the tip window: a new Create drops them with the old window, and they go with
// the form that owns it. Without a tip window every member does nothing and
// answers 0, false or the empty text (only the write of Enabled still stores).
//
// A tool is a widget. The pointer is over a tool when the tool is the nearest
// registered widget among the widget under the pointer and its parents, so a
// page registered with an empty text silences its free area and its labels.
class Tooltips_Class
{
public:
    // Tool flags.
    static constexpr qint32 TTF_IDISHWND = 0x01;
    static constexpr qint32 TTF_SUBCLASS = 0x10; // the tip watches the pointer itself
    static constexpr qint32 TTF_TRACK = 0x20;    // shown only by SetTracking
    // Creation flag: '&' in the texts is shown as it is, not taken as a key marker.
    static constexpr qint32 TTS_NOPREFIX = 0x02;
    // Delay modes.
    static constexpr qint32 TTDT_AUTOMATIC = 0;
    static constexpr qint32 TTDT_RESHOW = 1;
    static constexpr qint32 TTDT_AUTOPOP = 2;
    static constexpr qint32 TTDT_INITIAL = 3;

    Tooltips_Class();
    ~Tooltips_Class();
    Tooltips_Class(const Tooltips_Class&) = delete;
    Tooltips_Class& operator=(const Tooltips_Class&) = delete;

    // Replaces the tip window (and drops its tools) by a new one owned by Frm.
    void Create(QWidget* Frm, qint32 Flags);

    // Registers Ctl; a second call registers it once more. TTF_SUBCLASS is
    // added unless Flags asks for a tracking tool. An empty text shows no tip.
    void AddTool(QWidget* Ctl, qint32 Flags, const QString& Text = QString());
    void DeleteTool(QWidget* Ctl);
    // An empty text leaves the tool without a tip; an unknown control changes nothing.
    void SetTipText(QWidget* Ctl, const QString& NewText);
    // The area HitTest answers for, in Ctl's coordinates (right and bottom exclusive).
    void SetToolRect(QWidget* Ctl, qint32 Left, qint32 Top, qint32 Right, qint32 Bottom);
    qint32 ToolCount() const;

    bool Enabled() const;
    void setEnabled(bool NewState);

    // Mode 0 sets all three from one time (initial, ten times that shown, a
    // fifth of it between tools); a negative time restores the default.
    void SetDelayTime(qint32 TimeMode, qint32 Time);
    qint32 GetDelayTime(qint32 TimeMode) const;

    // Longer texts wrap at blanks onto further lines; -1 is no limit.
    qint32 MaxTipWidth() const;
    void setMaxTipWidth(qint32 NewWidth);

    qint32 MarginLeft() const;
    qint32 MarginTop() const;
    qint32 MarginRight() const;
    qint32 MarginBottom() const;
    void setMarginLeft(qint32 NewMargin);
    void setMarginTop(qint32 NewMargin);
    void setMarginRight(qint32 NewMargin);
    void setMarginBottom(qint32 NewMargin);

    // Colours as 0x00BBGGRR, or 0x800000nn for the desktop's colour number nn.
    quint32 BackColor() const;
    void setBackColor(quint32 NewColor);
    quint32 ForeColor() const;
    void setForeColor(quint32 NewColor);

    // A bold title line above the text, with icon 1 information, 2 warning,
    // 3 error (4 to 6 the same) before it; no title, no line.
    QString Title() const;
    void setTitle(const QString& NewTitle);
    qint32 Icon() const;
    void setIcon(qint32 NewIcon);

    // Shows Ctl's tip at the track position until tracking ends.
    void SetTracking(QWidget* Ctl, bool Tracking);
    // The track position, in screen coordinates.
    void SetTrackPosition(QWidget* Ctl, qint16 X, qint16 Y);

    void HideTips();

    // True when (X, Y), in Ctl's coordinates, lies on a tool: Ctl's own or one inside it.
    bool HitTest(QWidget* Ctl, qint32 X, qint32 Y) const;

    // The size of Ctl's tip window.
    qint32 GetTooltipWidth(QWidget* Ctl) const;
    qint32 GetTooltipHeight(QWidget* Ctl) const;

    // One line of text in the given font, and the tip window around it; and back.
    qint32 ToolTipWidthFromText(const QFontMetrics& hDC, const QString& Text) const;
    qint32 ToolTipHeightFromText(const QFontMetrics& hDC, const QString& Text) const;
    qint32 TextWidthFromToolTipWidth(const QFontMetrics& hDC, qint32 TextWidth) const;
    qint32 TextHeightFromToolTipHeight(const QFontMetrics& hDC, qint32 TextHeight) const;

    static qint32 MakeLong(qint16 Int1, qint16 Int2);
    qint32 GetShellVersion() const { return 0; }

    // The halves of a packed value, each read as a signed 16-bit number.
    static qint32 LoWord(quint32 value);
    static qint32 HiWord(quint32 value);
    // A colour code as 0x00BBGGRR: desktop colours looked up, others as they are.
    static quint32 TranslateColor(quint32 color);

    // The clock of the waits; nullptr puts back the real one.
    void setClock(std::shared_ptr<TipClock> clock);

    // The tip window while there is one, the text it shows (empty while hidden)
    // and the text of Ctl's tool.
    QWidget* tipWindow() const;
    QString shownText() const;
    QString toolText(QWidget* Ctl) const;

private:
    QPointer<TipWindow> m_window;
    bool m_enabled = false;
    qint32 m_icon = 0;
    QString m_title;
    std::shared_ptr<TipClock> m_clock;
};
