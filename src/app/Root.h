#pragma once

#include "ui/RootUi.h"

#include <QWidget>

// The wizard's main window.
class Root : public QWidget
{
    Q_OBJECT
public:
    explicit Root(QWidget* parent = nullptr);

    RootUi ui;
};
