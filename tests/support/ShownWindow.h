#pragma once

#include "app/Root.h"
#include "support/FakeDesktop.h"
#include "support/TestFolder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
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

// A list's lines as shown, a checked one with " [x]".
inline QStringList lines(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text() +
                      (list->item(i)->checkState() == Qt::Checked ? " [x]" : "");
    return result;
}

// Haupt (with Haupt.frx) and Hilfsmodul, both marked, LF-only, and a template; the
// window shown on page 3 with the name Kunde and the folder <test>/P.
struct ProjectWindow : ShownWindow
{
    ProjectWindow()
    {
        t.write("v/Haupt.frm", "VERSION 5.00\nBegin\n");
        t.write("v/Haupt.frx", QByteArray("\x01\x00\n\x02", 4));
        t.write("v/Hilfsmodul.bas", "Attribute VB_Name = \"Hilfsmodul\"\n");
        t.writeEntries({{"Haupt", "v/Haupt.frm", true}, {"Hilfsmodul", "v/Hilfsmodul.bas", true}});
        t.write("bin/QvStandard.bpv",
                TestFolder::crlf({"Type=Exe", "Reference=x", "Startup=\"Sub Main\"",
                                  "Name=\"Projekt1\"", "Description=\"<PROJEKT>\"",
                                  "Title=\"<PROJEKT>\"", "Rest=1"}));
        open();
        next();
        next();
        w->ui.tBezeichnung->setText("Kunde");
        w->ui.tProjekte->setText(t.file("P"));
    }
    QString project(const QString& file = {}) const { return t.file("P/Kunde/" + file); }
};
