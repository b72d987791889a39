// The main window and the description dialog as laid out: sizes, keys, pointer.

#include "ui/BeschreibungUi.h"
#include "ui/LinkLabel.h"
#include "ui/RootUi.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

class tst_layout : public QObject
{
    Q_OBJECT

private slots:
    void windowAsLaidOut()
    {
        QWidget root;
        RootUi ui;
        ui.setupUi(&root);
        QVERIFY(root.minimumSize() == QSize(499, 358) && root.maximumSize() == QSize(499, 358));
        for (QWidget* w : {ui.Map1, ui.Map2, ui.Map3, ui.Map4, ui.Map5})
            QCOMPARE(!w->isHidden(), w != ui.Map4 && w != ui.Map5);
        for (const char* name : {"RCaption", "LSorted", "FileCheck"})
            QVERIFY2(root.findChild<QWidget*>(name)->isHidden(), name);
        for (QPushButton* button : root.findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        for (const char* name : {"tProjektKopie", "tStdProjekt", "bMarkieren", "bUnterordner",
                                 "bMerkeOrdner", "bZeigeProjekt", "PHilfe"})
            QVERIFY2(root.findChild<QWidget*>(name)->cursor().hotSpot() == QPoint(5, 0), name);
        // The column beside the list: no overlap, each caption within its box.
        const QWidget* column[] = {ui.bHinzufuegen, ui.bUebernehmen, ui.bLoeschen, ui.bAbgleichen,
                                   ui.RInfotip};
        for (std::size_t i = 1; i < std::size(column); ++i)
            QVERIFY(column[i]->y() > column[i - 1]->geometry().bottom());
        QVERIFY(ui.RInfotip->geometry().bottom() <= ui.bMarkieren->geometry().bottom());
        QVERIFY(ui.RInfotip->heightForWidth(ui.RInfotip->width()) <= ui.RInfotip->height());
        // Beside the list and the check box under it, whose text fits.
        for (const QWidget* w : column)
            QVERIFY(w->x() >
                    qMax(ui.LDateien->geometry().right(), ui.bMarkieren->geometry().right()));
        QVERIFY(ui.bMarkieren->sizeHint().width() <= ui.bMarkieren->width());
        for (QPushButton* b : {ui.bHinzufuegen, ui.bUebernehmen, ui.bLoeschen, ui.bAbgleichen}) {
            const QStringList lines = b->text().remove(u'&').split(u'\n');
            const QFontMetrics metrics(b->font());
            for (const QString& line : lines)
                QVERIFY2(metrics.horizontalAdvance(line) < b->width() - 6, qPrintable(line));
            QVERIFY(metrics.height() * lines.size() < b->height() - 4);
        }
        // The links cover the gaps of their sentences.
        using Link = std::pair<QLabel*, QLabel*>;
        const QString gap(10, u' ');
        for (auto [s, l] :
             {Link{ui.tStdProject, ui.tStdProjekt}, Link{ui.tProjektCopy, ui.tProjektKopie}}) {
            const QString before = s->text().section(gap, 0, 0);
            const QFontMetrics metrics(s->font());
            QVERIFY(l->x() >= s->x() + metrics.horizontalAdvance(before));
            QVERIFY(l->geometry().right() < s->x() + metrics.horizontalAdvance(before + gap));
            QCOMPARE(l->y(), s->y());
            // Stacked above the sentence, or the sentence would hide the word.
            QVERIFY(s->parent()->children().indexOf(l) > s->parent()->children().indexOf(s));
        }
        // Each control Tab reaches says what it is; the links come last, as links.
        QWidgetList chain; // once round, from bZurueck back to the first one taken
        for (QWidget* w = ui.bZurueck; w != chain.value(0); w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden())
                chain << w;
        QCOMPARE(chain, (QWidgetList{ui.bZurueck, ui.bWeiter, ui.bAbbrechen, ui.LDateien,
                                     ui.bHinzufuegen, ui.bUebernehmen, ui.bLoeschen, ui.bAbgleichen,
                                     ui.bMarkieren, ui.tBezeichnung, ui.bUnterordner, ui.tProjekte,
                                     ui.bOrdner, ui.bMerkeOrdner, ui.bZeigeProjekt, ui.tStdProjekt,
                                     ui.tProjektKopie}));
        QCOMPARE(QAccessible::queryAccessibleInterface(ui.bAbgleichen)->text(QAccessible::Name),
                 QStringLiteral("Projekt abgleichen"));
        for (QWidget* reached : chain) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(reached);
            QVERIFY2(a->text(QAccessible::Name).contains(QRegularExpression("\\p{L}")),
                     qPrintable(reached->objectName()));
            if (reached == ui.tStdProjekt || reached == ui.tProjektKopie) {
                QCOMPARE(a->role(), QAccessible::Link);
                QVERIFY(a->actionInterface()->actionNames().contains(
                    QAccessibleActionInterface::pressAction()));
            }
        }
    }

    void dialog()
    {
        QDialog dialog;
        BeschreibungUi ui;
        ui.setupUi(&dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral(" Tooltipps für Objekte"));
        QVERIFY(ui.bReady->isDefault());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(!ui.RName->isVisible());
        int cancels = 0;
        connect(ui.bAbbrechen, &QPushButton::clicked, this, [&cancels] { ++cancels; });
        QTest::keyClick(ui.tCaption, Qt::Key_Escape);
        QCOMPARE(cancels, 1);
    }
};

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
