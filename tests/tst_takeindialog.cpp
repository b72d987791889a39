#include "editing/TakeInDialog.h"
#include "support/ShownWindow.h"

#include <QLabel>
#include <QPointer>
#include <QTableWidget>

// "Aus Projekt übernehmen …" on the component page, driven through the window
// and its dialog; what the catalogue and the list show afterwards.
class tst_takeindialog : public QObject
{
    Q_OBJECT

    using State = Catalog::Candidate::State;

    struct Page : ShownWindow
    {
        // `listed` entries, all pointing at v/Alpha.bas; the first is Alpha, marked.
        explicit Page(int listed = 1)
        {
            t.write("v/Alpha.bas", "Attribute VB_Name = \"Alpha\"\r\n");
            QStringList entries{"Alpha=v/Alpha.bas"};
            for (int i = 1; i < listed; ++i)
                entries << QString("E%1=v/Alpha.bas").arg(i);
            t.listEntries(entries, {"[Marked]", "Alpha=1"});
            open();
            next();
        }
        // A project file of `lines` in p/; opens the dialog over it.
        TakeInDialog* openProject(const QStringList& lines)
        {
            desk.fileNames.enqueue(t.write("p/Projekt.vbp", TestFolder::crlf(lines)));
            QTest::mouseClick(w->ui.bUebernehmen, Qt::LeftButton);
            return w->findChild<TakeInDialog*>();
        }
    };

    static void toggle(TakeInDialog* d, int row)
    {
        d->LKomponenten->setCurrentCell(row, TakeInDialog::Name);
        QTest::keyClick(d->LKomponenten, Qt::Key_Space);
    }
    static QString text(const TakeInDialog* d, int row, int column)
    {
        return d->LKomponenten->item(row, column)->text();
    }
    static bool checked(const TakeInDialog* d, int row)
    {
        return d->LKomponenten->item(row, TakeInDialog::Name)->checkState() == Qt::Checked;
    }

private slots:
    // The same file, a new one and a missing one: only the new one is offered and
    // checked. OK takes it in, checked in the list beside the person's own checks;
    // Cancel leaves the catalogue's bytes. Nothing is written while the dialog is open.
    void takeIn_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Übernehmen") << true;
        QTest::newRow("Abbrechen") << false;
    }
    void takeIn()
    {
        QFETCH(bool, ok);
        Page f;
        f.t.write("p/Neu.frm", "VERSION 5.00\r\nAttribute VB_Name = \"Neu\"\r\n");
        // The person unchecked Alpha; taking in does not undo that.
        f.w->ui.LDateien->item(0)->setCheckState(Qt::Unchecked);
        const QByteArray before = f.t.catalogBytes();
        QPointer<TakeInDialog> d = f.openProject(
            {"Type=Exe", "Module=Alpha; ..\\v\\Alpha.bas", "Form=Neu.frm", "Module=Weg; Weg.bas"});
        QVERIFY(d && d->isVisible() && d->isModal());
        QCOMPARE(d->LKomponenten->rowCount(), 3);
        const State states[] = {State::Same, State::New, State::Missing};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(text(d, row, TakeInDialog::State), Catalog::stateText(states[row]));
            QCOMPARE(checked(d, row), row == 1);
            toggle(d, row); // only the new line changes: it is unchecked now
            QVERIFY(!checked(d, row));
            toggle(d, row);
        }
        QCOMPARE(text(d, 1, TakeInDialog::Name), QString("Neu"));
        QCOMPARE(text(d, 1, TakeInDialog::Kind), Catalog::label(Catalog::Kind::Form));
        QCOMPARE(f.t.catalogBytes(), before);

        if (ok)
            f.desk.answers.enqueue(QMessageBox::Ok);
        QTest::mouseClick(ok ? d->bUebernehmen : d->bAbbrechen, Qt::LeftButton);
        QTRY_VERIFY(!d);
        if (!ok) {
            QCOMPARE(f.t.catalogBytes(), before);
            QCOMPARE(lines(f.w->ui.LDateien), QStringList({"Alpha"}));
            return;
        }
        QCOMPARE(lines(f.w->ui.LDateien), QStringList({"Alpha", "Neu [x]"}));
        QCOMPARE(f.w->ui.LDateien->currentItem()->text(), QString("Neu"));
        QCOMPARE(f.desk.messages.value(0).icon, QMessageBox::Information);
        QCOMPARE(f.desk.messages.value(0).title, TakeInDialog::kTitle);
        QVERIFY(f.desk.messages.value(0).text.contains("Neu"));
    }

    // One place left and two new: the first is checked; checking the second
    // too disables OK with the reason, unchecking the first enables it again.
    void roomForOneMore()
    {
        Page f(100);
        f.t.write("p/A.bas", "Attribute VB_Name = \"A\"\r\n");
        f.t.write("p/B.bas", "Attribute VB_Name = \"B\"\r\n");
        TakeInDialog* d = f.openProject({"Module=A; A.bas", "Module=B; B.bas"});
        QVERIFY(d);
        QVERIFY(checked(d, 0) && !checked(d, 1));
        QVERIFY(d->bUebernehmen->isEnabled());
        QCOMPARE(d->RPlatz->text(), TakeInDialog::roomText(1, 1));
        // The list is called full only when no place is left.
        QVERIFY(!d->RPlatz->text().contains("voll") &&
                TakeInDialog::roomText(0, 0).contains("voll"));
        toggle(d, 1);
        QVERIFY(!d->bUebernehmen->isEnabled());
        QCOMPARE(d->RPlatz->text(), TakeInDialog::roomText(1, 2));
        toggle(d, 0);
        QVERIFY(d->bUebernehmen->isEnabled());
        toggle(d, 1);
        QVERIFY(!d->bUebernehmen->isEnabled()); // nothing checked: nothing to take in
        d->reject();
    }

    // A project file that gives nothing is said, and no dialog opens.
    void problemIsSaid()
    {
        Page f;
        f.desk.answers.enqueue(QMessageBox::Ok);
        QVERIFY(!f.openProject({"Type=Exe", "Name=\"Leer\""}));
        QCOMPARE(f.desk.messages.value(0).icon, QMessageBox::Warning);
        QCOMPARE(f.desk.openDialogs.size(), 1);
        QVERIFY(f.desk.openDialogs[0].second.contains("*.vbp"));
    }
};

QTEST_MAIN(tst_takeindialog)
#include "tst_takeindialog.moc"
