#include "generate/CopyRun.h"
#include "platform/IniFiles.h"
#include "support/ShownWindow.h"
#include "ui/Widgets.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QTimer>

#include <thread>

// Every copy goes in chunks of 4 bytes, each taking `pause`.
static void slowCopies(std::chrono::milliseconds pause)
{
    Generate::setChunkBytes(4);
    Generate::setAfterChunk([pause](auto&) { std::this_thread::sleep_for(pause); });
}

class tst_pagefour : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        Generate::setChunkBytes(0);
        Generate::setAfterChunk({});
        FileIo::clearFaults();
    }

    // The event loop runs on during a slowed copy; each file is named, the bar ends full.
    void windowAnswers()
    {
        ProjectWindow f;
        const QString success = f.w->ui.Label17->text();
        // About 20 chunks of 40 ms: a loop blocked by the copy would wait most of
        // that, far past the limit, while a busy machine's scheduling stays under it.
        slowCopies(std::chrono::milliseconds(40));
        QElapsedTimer sinceTick;
        qint64 longestWait = 0;
        QSet<QString> fileLines;
        QTimer watchdog;
        connect(&watchdog, &QTimer::timeout, [&] {
            if (f.w->ui.Map4->isVisible()) {
                if (sinceTick.isValid())
                    longestWait = qMax(longestWait, sinceTick.elapsed());
                fileLines << f.w->ui.RFortschritt->text().section(' ', 0, 0);
            }
            sinceTick.restart();
        });
        watchdog.start(5);
        f.next();
        QVERIFY2(longestWait < 250, qPrintable(QString::number(longestWait)));
        QVERIFY(fileLines.contains({"Haupt.frm", "Haupt.frx", "Hilfsmodul.bas"}));
        QCOMPARE(f.w->ui.Fortschritt->value(), f.w->ui.Fortschritt->maximum());
        QCOMPARE(f.w->ui.Label17->text(), success);
    }

    void stopTakesEverythingBack()
    {
        for (const QString how : {"Abbrechen", "Esc", "close"}) {
            ProjectWindow f;
            f.w->ui.bMerkeOrdner->setChecked(true);
            f.w->ui.bMarkieren->setChecked(true);
            const QByteArray catalogue = f.t.catalogBytes();
            f.w->activateWindow(); // Esc acts in the active window
            QVERIFY(QTest::qWaitForWindowActive(f.w.get()));
            slowCopies(std::chrono::milliseconds(10));
            QElapsedTimer sinceStop;
            QTimer stopper;
            connect(&stopper, &QTimer::timeout, [&] {
                // Once the last file is under way: the form and its .frx wait as temporaries.
                if (sinceStop.isValid() ||
                    !f.w->ui.RFortschritt->text().startsWith("Hilfsmodul.bas"))
                    return;
                sinceStop.start();
                if (how == "Abbrechen")
                    QTest::mouseClick(f.w->ui.bAbbrechen, Qt::LeftButton);
                else if (how == "Esc")
                    QTest::keyClick(f.w.get(), Qt::Key_Escape);
                else
                    f.w->close();
            });
            stopper.start(2);
            f.next();
            QVERIFY(sinceStop.isValid());
            QVERIFY2(sinceStop.elapsed() < 100, qPrintable(QString::number(sinceStop.elapsed())));
            QCOMPARE(f.desk.ends, 1);
            QVERIFY(f.w->ui.Map5->isHidden());
            QVERIFY(!QFileInfo::exists(f.t.file("P")));
            QCOMPARE(f.t.catalogBytes(), catalogue); // no marks, no options
        }
    }

    // Every write fails: each file is named with the reason, the folder made is removed.
    // Page 4 stays up two seconds (here a sixth), so a quick run is not a flash.
    void fullDiskIsTold()
    {
        ProjectWindow f;
        f.w->ui.bMerkeOrdner->setChecked(true);
        const QStringList success{f.w->ui.Label17->text(), f.w->ui.Label15->text()};
        WriteIniValue(f.t.catalog(), "Marked", "Alt", "1"); // a mark the run would drop
        FileIo::failWritesAfter(0);
        // Marks, options and the sorted list share the full disk, each said once.
        f.w->ui.bMarkieren->setChecked(true);
        f.desk.answers.fill(QMessageBox::Ok, 4);
        const SleepScale sixth(1.0 / 6);
        QElapsedTimer timer;
        timer.start();
        f.next();
        QVERIFY2(timer.elapsed() >= 333, qPrintable(QString::number(timer.elapsed())));
        FileIo::clearFaults();
        QStringList said = f.desk.texts();
        const FileIo::Result full = FileIo::Result::failure(ENOSPC);
        for (const auto what :
             {Catalog::Unsaved::Marks, Catalog::Unsaved::Options, Catalog::Unsaved::List})
            QVERIFY(said.removeOne(Catalog::notSavedText(what, full)));
        for (const char* file :
             {"Haupt.frm", "Haupt.frx", "Hilfsmodul.bas", "Kunde.vbp", "Kunde.vbw"})
            QVERIFY2(said.value(0).contains('\n' + QString(file) + ": " + full.reason()), file);
        QVERIFY(!f.w->ui.Map5->isHidden());
        QVERIFY(f.w->ui.Label17->text() != success[0] && f.w->ui.Label15->text() != success[1]);
        QVERIFY(!QFileInfo::exists(f.t.file("P")));
    }
};

QTEST_MAIN(tst_pagefour)
#include "tst_pagefour.moc"
