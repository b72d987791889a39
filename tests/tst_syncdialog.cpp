#include "editing/SyncDialog.h"
#include "generate/ProjectRecord.h"
#include "support/CheckLines.h"
#include "support/ShownWindow.h"
#include "sync/SyncTexts.h"

#include <QCryptographicHash>
#include <QPointer>

using namespace CheckLines;
using Sync::State;

// "Projekt abgleichen …" driven through the window and its dialog.
class tst_syncdialog : public QObject
{
    Q_OBJECT

    // P/Kunde.vbp, whose record names Alt (behind), Beide (changed on both sides),
    // Gleich (current) and Weg (deleted in the project). The window on page 2.
    struct Page : ShownWindow
    {
        Page()
        {
            Generate::Record record{"2025-03-01T10:15:00+01:00", {}, {}};
            for (const auto& [entry, was, catalogue, project] :
                 {std::tuple{"Alt", "a\r\n", "a2\r\n", "a\r\n"},
                  {"Beide", "b\r\n", "b2\r\n", "b3\r\n"},
                  {"Gleich", "g\r\n", "g\r\n", "g\r\n"},
                  {"Weg", "w\r\n", "w\r\n", ""}}) {
                const QString file = entry + QString(".bas");
                t.write("v/" + file, catalogue);
                if (*project)
                    t.write("P/" + file, project);
                record.files.append(
                    {entry, t.file("v/"), file, qint64(qstrlen(was)),
                     QCryptographicHash::hash(was, QCryptographicHash::Sha256).toHex()});
            }
            t.listEntries(
                {"Alt=v/Alt.bas", "Beide=v/Beide.bas", "Gleich=v/Gleich.bas", "Weg=v/Weg.bas"});
            t.write("P/Kunde.vbp", TestFolder::crlf({"Type=Exe", "Module=Alt; Alt.bas"}));
            t.write("P/Kunde.vorlagen", Generate::recordBytes(record));
            open();
            next();
        }
        SyncDialog* openProject(const QString& path)
        {
            desk.fileNames.enqueue(path);
            QTest::mouseClick(w->ui.bAbgleichen, Qt::LeftButton);
            return w->findChild<SyncDialog*>();
        }
    };

private slots:
    // OK updates the behind file and puts the catalogue's version of the checked
    // conflict beside it; a file changed while the dialog was open keeps its bytes.
    void update()
    {
        // "Aktualisieren", then "geändert, während der Dialog offen war".
        for (const bool meanwhile : {false, true}) {
            Page f;
            QPointer<SyncDialog> d = f.openProject(f.t.file("P/Kunde.vbp"));
            QVERIFY(d && d->isVisible() && d->isModal());
            QCOMPARE(d->LKomponenten->rowCount(), 4);
            const State states[] = {State::Behind, State::Conflict, State::Current, State::Deleted};
            for (int row = 0; row < 4; ++row) {
                QCOMPARE(text(d, row, SyncDialog::State), Sync::stateText(states[row]));
                QCOMPARE(checked(d, row), row == 0);
                toggle(d, row); // Alt unchecked, Beide checked, the others as they were
                QCOMPARE(checked(d, row), row == 1);
            }
            QCOMPARE(d->LKomponenten->currentRow(), 3); // a line that cannot be checked too
            toggle(d, 0);
            QCOMPARE(text(d, 0, SyncDialog::File), f.t.file("P/Alt.bas"));
            QCOMPARE(d->LKomponenten->item(0, SyncDialog::File)->toolTip(), f.t.file("P/Alt.bas"));
            if (meanwhile)
                f.t.write("P/Alt.bas", "eigen\r\n");

            f.desk.answers.enqueue(QMessageBox::Ok);
            QTest::mouseClick(d->bAktualisieren, Qt::LeftButton);
            QTRY_VERIFY(!d);
            QCOMPARE(TestFolder::read(f.t.file("P/Alt.bas")), meanwhile ? "eigen\r\n" : "a2\r\n");
            QCOMPARE(TestFolder::read(f.t.file("P/Beide.bas")), "b3\r\n");
            QCOMPARE(TestFolder::read(f.t.file("P/Beide.bas.neu")), "b2\r\n");
            const QString said =
                "Aktualisiert: Alt.\nNicht aktualisiert:\nBeide: beidseitig geändert; "
                "die Fassung der Vorlagenliste steht daneben in ''" +
                f.t.file("P/Beide.bas.neu") + "''.";
            QCOMPARE(f.desk.messages,
                     (QList<FakeDesktop::Message>{
                         {meanwhile ? QMessageBox::Warning : QMessageBox::Information,
                          SyncDialog::kTitle, meanwhile ? f.desk.messages.value(0).text : said}}));
            if (meanwhile)
                continue;

            // An unreadable project is said and opens no dialog (the other cases: tst_sync).
            f.desk.answers.enqueue(QMessageBox::Ok);
            QVERIFY(!f.openProject(f.t.file("Q/Fehlt.vbp")));
            QVERIFY(f.desk.messages.value(1).text.startsWith(
                "Die Projektdatei ''Fehlt.vbp'' konnte nicht gelesen werden."));

            // Without a record OK records what equals the catalogue. The file dialog starts in
            // page 3's folder, then in the last project's; the dialog keeps the size left.
            f.t.write("R/Gleich.bas", "g\r\n");
            f.t.write("R/Alt.bas", "a\r\n");
            f.t.write("R/Alt.vbp",
                      TestFolder::crlf({"Module=Gleich; Gleich.bas", "Module=Alt; Alt.bas"}));
            d = f.openProject(f.t.file("R/Alt.vbp"));
            QCOMPARE(text(d, 0, SyncDialog::State), Sync::stateText(State::Equal));
            QCOMPARE(text(d, 1, SyncDialog::State), Sync::stateText(State::Differs));
            QVERIFY(checked(d, 0) && !checked(d, 1));
            d->resize(500, 300);
            f.desk.answers.enqueue(QMessageBox::Ok);
            d->accept();
            QTRY_VERIFY(!d);
            QCOMPARE(f.desk.messages.value(2),
                     (FakeDesktop::Message{QMessageBox::Information, SyncDialog::kTitle,
                                           "In die Aufzeichnung aufgenommen: Gleich.\nNicht "
                                           "aufgenommen:\nAlt: abweichend, Herkunft unbekannt"}));
            QVERIFY(TestFolder::read(f.t.file("R/Alt.vorlagen")).contains("Eintrag=Gleich\r\n"));

            d = f.openProject(f.t.file("P/Kunde.vbp"));
            QCOMPARE(d->size(), QSize(500, 300));
            d->reject();
            QCOMPARE(f.desk.openDialogs.size(), 4);
            QVERIFY(f.desk.openDialogs[0].filter.contains("*.vbp"));
            QCOMPARE(f.desk.openDialogs[0].folder, f.w->ui.tProjekte->text());
            QCOMPARE(f.desk.openDialogs[2].folder, f.t.file("Q"));
            QCOMPARE(f.desk.openDialogs[3].folder, f.t.file("R"));
        }
    }
};

QTEST_MAIN(tst_syncdialog)
#include "tst_syncdialog.moc"
