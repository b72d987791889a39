#include "editing/TakeInDialog.h"
#include "support/CheckLines.h"
#include "support/ShownWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>

// "Aus Projekt übernehmen …" driven through the window and its dialog.
using namespace CheckLines;

class tst_takeindialog : public QObject
{
    Q_OBJECT

    using State = Catalog::Candidate::State;

    struct Page : ShownWindow
    {
        explicit Page(int listed = 1)
        {
            t.write("v/Alpha.bas", "Attribute VB_Name = \"Alpha\"\r\n");
            QList<Entry> entries{{"Alpha", "v/Alpha.bas", true}};
            for (int i = 1; i < listed; ++i)
                entries.append({QString("E%1").arg(i), "v/Alpha.bas"});
            t.writeEntries(entries);
            open();
            next();
        }
        TakeInDialog* openProject(const QStringList& lines)
        {
            desk.fileNames.enqueue(t.write("p/Projekt.vbp", TestFolder::crlf(lines)));
            QTest::mouseClick(w->ui.bUebernehmen, Qt::LeftButton);
            return w->findChild<TakeInDialog*>();
        }
    };

    static QStringList states(const TakeInDialog* d)
    {
        QStringList texts;
        for (int row = 0; row < d->LKomponenten->rowCount(); ++row)
            texts << text(d, row, TakeInDialog::State);
        return texts;
    }

private slots:
    // Only the new one is offered; OK takes it in beside the person's checks, says why not others.
    void takeIn()
    {
        Page f;
        f.t.write("p/Neu.frm", "VERSION 5.00\r\nAttribute VB_Name = \"Neu\"\r\n");
        // The person unchecked Alpha; taking in does not undo that.
        f.w->ui.LDateien->item(0)->setCheckState(Qt::Unchecked);
        const QByteArray before = f.t.catalogBytes();
        f.t.write("p/Seite.pag", "VERSION 5.00\r\nAttribute VB_Name = \"Seite\"\r\n");
        QPointer<TakeInDialog> d =
            f.openProject({"Type=Exe", "Module=Alpha; ..\\v\\Alpha.bas", "Form=Neu.frm",
                           "Module=Weg; ..\\alt\\Weg.bas", "PropertyPage=Seite.pag"});
        QVERIFY(d && d->isVisible() && d->isModal());
        QCOMPARE(d->LKomponenten->rowCount(), 4);
        const State states[] = {State::Same, State::New, State::Missing, State::UnusableKind};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(text(d, row, TakeInDialog::State), Catalog::stateText(states[row]));
            QCOMPARE(checked(d, row), row == 1);
            toggle(d, row); // only the new line changes: it is unchecked now
            QVERIFY(!checked(d, row));
            toggle(d, row);
        }
        QCOMPARE(d->LKomponenten->currentColumn(), int(TakeInDialog::Name));
        // The lines that cannot be checked are in the text's own colour, not grey.
        QCOMPARE(d->LKomponenten->item(2, TakeInDialog::State)->foreground(),
                 d->LKomponenten->palette().brush(QPalette::Text));
        QCOMPARE(text(d, 1, TakeInDialog::Name), QString("Neu"));
        QCOMPARE(text(d, 1, TakeInDialog::Kind), Catalog::label(Catalog::Kind::Form));
        for (auto [row, file] : {std::pair{1, f.t.file("p/Neu.frm")}, {2, "../alt/Weg.bas"}}) {
            QCOMPARE(text(d, row, TakeInDialog::File), file);
            QCOMPARE(d->LKomponenten->item(row, TakeInDialog::File)->toolTip(), file);
        }
        QVERIFY(tabGoesRound(d, d->bUebernehmen));
        QCOMPARE(f.t.catalogBytes(), before);

        f.desk.answers.enqueue(QMessageBox::Ok);
        QTest::mouseClick(d->bUebernehmen, Qt::LeftButton);
        QTRY_VERIFY(!d);
        QCOMPARE(lines(f.w->ui.LDateien), QStringList({"Alpha", "Neu [x]"}));
        QCOMPARE(f.w->ui.LDateien->currentItem()->text(), QString("Neu"));
        QCOMPARE(f.desk.messages,
                 (QList<FakeDesktop::Message>{
                     {QMessageBox::Information, TakeInDialog::kTitle,
                      "In die Vorlagenliste übernommen (1): Neu\nNicht übernommen (3):\n"
                      "  Alpha: Die Datei steht schon unter ''Alpha'' in der Vorlagenliste.\n"
                      "  ../alt/Weg.bas: Datei fehlt\n"
                      "  Seite: Art wird in neuen Projekten nicht verwendet"}}));
    }

    // One place left, two new: OK waits while both are checked; the line that does not fit is full.
    void roomForOneMore()
    {
        Page f(100);
        const QByteArray before = f.t.catalogBytes();
        f.t.write("p/A.bas", "Attribute VB_Name = \"A\"\r\n");
        f.t.write("p/B.bas", "Attribute VB_Name = \"B\"\r\n");
        TakeInDialog* d = f.openProject({"Module=A; A.bas", "Module=B; B.bas"});
        QVERIFY(checked(d, 0) && !checked(d, 1) && d->bUebernehmen->isEnabled());
        QCOMPARE(d->RPlatz->text(), TakeInDialog::roomText(1, 1));
        QVERIFY(!d->RPlatz->text().contains("voll") &&
                TakeInDialog::roomText(0, 0).contains("voll"));
        const QString neu = Catalog::stateText(State::New), full = Catalog::stateText(State::Full);
        QCOMPARE(states(d), QStringList({neu, full}));
        toggle(d, 1);
        QVERIFY(!d->bUebernehmen->isEnabled());
        QCOMPARE(d->RPlatz->text(), TakeInDialog::roomText(1, 2));
        QCOMPARE(states(d), QStringList({neu, full}));
        toggle(d, 0);
        QVERIFY(d->bUebernehmen->isEnabled());
        QCOMPARE(states(d), QStringList({full, neu}));
        toggle(d, 1);
        QVERIFY(!d->bUebernehmen->isEnabled()); // nothing checked: nothing to take in
        QCOMPARE(states(d), QStringList({neu, neu}));
        toggle(d, 0);
        QTest::mouseClick(d->bAbbrechen, Qt::LeftButton);
        QCOMPARE(f.t.catalogBytes(), before);
        QCOMPARE(f.w->ui.LDateien->count(), 100);
    }

    // A long project: room for its lines, paths shortened in the middle, the current
    // line in view; the size left and the project's folder are used next time.
    void sizePlaceAndProblems()
    {
        Page f(Catalog::kCapacity - 2);
        QStringList project;
        for (int i = 0; i < 30; ++i) {
            project << QString("Module=M%1; %2/M%1.bas").arg(i).arg(QString(60, 'x'));
            f.t.write(QString("p/%1/M%2.bas").arg(QString(60, 'x')).arg(i), "");
        }
        QPointer<TakeInDialog> d = f.openProject(project);
        QVERIFY(d && QTest::qWaitForWindowExposed(d));
        QTableWidget* list = d->LKomponenten;
        QVERIFY(list->viewport()->height() >= TakeInDialog::kShownLines * list->rowHeight(0));
        QVERIFY(list->horizontalHeader()->length() <= list->viewport()->width());
        QVERIFY(list->columnWidth(TakeInDialog::File) > 40 * d->fontMetrics().averageCharWidth());

        d->resize(420, 300);
        QCoreApplication::processEvents();
        int row = list->rowAt(list->viewport()->height() - 1);
        if (list->visualItemRect(list->item(row, 0)).bottom() >= list->viewport()->height())
            --row;
        toggle(d, row); // a third check: the line under the list says why OK waits
        QTRY_VERIFY(d->RPlatz->height() > d->fontMetrics().height() * 3 / 2);
        QTRY_VERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(row, 0))));
        d->reject();
        QTRY_VERIFY(!d);
        d = f.openProject(project);
        QCOMPARE(d->size(), QSize(420, 300));
        d->reject();
        QTRY_VERIFY(!d);
        // A project that gives nothing is said; one already in the catalogue gives nothing new.
        f.desk.answers.enqueue(QMessageBox::Ok);
        QVERIFY(!f.openProject({"Type=Exe", "Name=\"Leer\""}));
        QCOMPARE(f.desk.messages.value(0).icon, QMessageBox::Warning);
        d = f.openProject({"Module=Alpha; ..\\v\\Alpha.bas"});
        QCOMPARE(d->RPlatz->text(), TakeInDialog::kNothingToTakeIn);
        QVERIFY(!d->bUebernehmen->isEnabled());
        QVERIFY(f.desk.openDialogs.value(0).filter.contains("*.vbp"));
        QCOMPARE(f.desk.openDialogs.value(0).folder, f.w->ui.tProjekte->text());
        QCOMPARE(f.desk.openDialogs.value(1).folder, f.t.file("p"));
    }
};

QTEST_MAIN(tst_takeindialog)
#include "tst_takeindialog.moc"
