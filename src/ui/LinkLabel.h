#pragma once

#include "ui/Widgets.h"

// A link in running text (the two "hier" of the welcome page): it looks and
// clicks like a ClickLabel, is reached with Tab, starts with Enter or Space,
// and tells assistive technology that it is a link, with its action.
class LinkLabel : public ClickLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

    // What a click does, for the keyboard and for assistive technology.
    void activate() { emit clicked(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
