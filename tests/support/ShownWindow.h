#pragma once

#include "app/Root.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"

#include <QPushButton>
#include <QTest>

#include <memory>

// A temporary program folder, a desktop that answers for the person and, once
// open() ran over what the test put into the folder, the shown main window.
struct ShownWindow
{
    TestFolder t;
    FakeDesktop desk;
    std::unique_ptr<Root> w;

    void open()
    {
        w = std::make_unique<Root>();
        w->show();
    }
    void next() const { QTest::mouseClick(w->ui.bWeiter, Qt::LeftButton); }
    void back() const { QTest::mouseClick(w->ui.bZurueck, Qt::LeftButton); }
};
