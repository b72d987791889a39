#pragma once

#include "app/Root.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"

#include <QPushButton>
#include <QTest>

#include <memory>

// Shortens every wait of the program while it lives; back to the program's own
// scale at the end.
struct SleepScale
{
    explicit SleepScale(double scale) { Root::setSleepScale(scale); }
    ~SleepScale() { Root::setSleepScale(1.0); }
    SleepScale(const SleepScale&) = delete;
    SleepScale& operator=(const SleepScale&) = delete;
};

// A temporary program folder, a desktop that answers for the person and, once
// open() ran over what the test put into the folder, the shown main window,
// whose waits take no time.
struct ShownWindow
{
    SleepScale noWaits{0.0};
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
