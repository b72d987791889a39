#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>

#include <optional>

// Helpers shared by the two window layouts. Positions and sizes are kept in
// twips, as the windows were drawn; 15 twips make one pixel at 96 dpi and Qt
// scales the pixels on high-dpi screens.
namespace twips {

inline int px(int twips)
{
    return qRound(twips / 15.0);
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// The frame of both windows: a title with the system menu and the close box, no
// other buttons, and a size the user cannot change.
inline constexpr Qt::WindowFlags kFixedFrame = Qt::MSWindowsFixedSizeDialogHint |
                                               Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

template <typename T> T* make(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

inline void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

enum class Fit
{
    Wrap,     // fixed box, text wrapped into it
    AutoSize, // one line; the box takes the text's size at its given position
    Line      // one line in the given box, until the caller calls adjustSize()
};

// Static text is always plain (a "<NAME>" must stay text) and anchored at the
// top-left of its box.
template <typename L = QLabel>
L* label(QWidget* parent, const char* name, const QString& text, const QRect& box, Fit fit,
         const std::optional<QFont>& font = std::nullopt, const QColor& colour = QColor())
{
    auto* l = make<L>(parent, name);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(fit == Fit::Wrap);
    l->setText(text);
    if (font)
        l->setFont(*font);
    if (colour.isValid())
        setTextColour(l, colour);
    l->setGeometry(box);
    if (fit == Fit::AutoSize)
        l->adjustSize();
    return l;
}

} // namespace twips
