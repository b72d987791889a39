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

#include <memory>

class tst_layout : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_root;
    RootUi m_ui;

private slots:
    void init()
    {
        m_root = std::make_unique<QWidget>();
        m_ui.setupUi(m_root.get());
    }

    void windowAsLaidOut()
    {
        QCOMPARE(m_root->minimumSize(), QSize(499, 358));
        QCOMPARE(m_root->maximumSize(), QSize(499, 358));
        for (QWidget* w : {m_ui.Map1, m_ui.Map2, m_ui.Map3, m_ui.Map4, m_ui.Map5})
            QCOMPARE(!w->isHidden(), w != m_ui.Map4 && w != m_ui.Map5);
        for (const char* name : {"RCaption", "LSorted", "FileCheck"})
            QVERIFY2(m_root->findChild<QWidget*>(name)->isHidden(), name);
        for (QPushButton* button : m_root->findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        for (const char* name : {"tProjektKopie", "tStdProjekt", "bMarkieren", "bUnterordner",
                                 "bMerkeOrdner", "bZeigeProjekt", "PHilfe"})
            QVERIFY2(m_root->findChild<QWidget*>(name)->cursor().hotSpot() == QPoint(5, 0), name);
    }

    // The column beside the component list: stacked without overlap above the
    // check box's line, each button's caption and the hint within its box.
    void columnBesideTheList()
    {
        const QWidget* column[] = {m_ui.bHinzufuegen, m_ui.bUebernehmen, m_ui.bLoeschen,
                                   m_ui.bAbgleichen, m_ui.RInfotip};
        for (std::size_t i = 1; i < std::size(column); ++i)
            QVERIFY(column[i]->y() > column[i - 1]->geometry().bottom());
        QVERIFY(m_ui.RInfotip->geometry().bottom() <= m_ui.bMarkieren->geometry().bottom());
        QVERIFY(m_ui.RInfotip->heightForWidth(m_ui.RInfotip->width()) <= m_ui.RInfotip->height());
        // Beside the list and the check box under it, whose text fits.
        for (const QWidget* w : column)
            QVERIFY(w->x() >
                    qMax(m_ui.LDateien->geometry().right(), m_ui.bMarkieren->geometry().right()));
        QVERIFY(m_ui.bMarkieren->sizeHint().width() <= m_ui.bMarkieren->width());
        for (const QPushButton* b :
             {m_ui.bHinzufuegen, m_ui.bUebernehmen, m_ui.bLoeschen, m_ui.bAbgleichen}) {
            const QStringList lines = b->text().remove(u'&').split(u'\n');
            const QFontMetrics metrics(b->font());
            for (const QString& line : lines)
                QVERIFY2(metrics.horizontalAdvance(line) < b->width() - 6, qPrintable(line));
            QVERIFY(metrics.height() * lines.size() < b->height() - 4);
        }
    }

    void linksCoverTheGapsOfTheirSentences()
    {
        using Link = std::pair<QLabel*, QLabel*>;
        const QString gap(10, u' ');
        for (auto [s, l] : {Link{m_ui.tStdProject, m_ui.tStdProjekt},
                            Link{m_ui.tProjektCopy, m_ui.tProjektKopie}}) {
            const QString before = s->text().section(gap, 0, 0);
            const QFontMetrics metrics(s->font());
            QVERIFY(l->x() >= s->x() + metrics.horizontalAdvance(before));
            QVERIFY(l->geometry().right() < s->x() + metrics.horizontalAdvance(before + gap));
            QCOMPARE(l->y(), s->y());
            // Stacked above the sentence, or the sentence would hide the word.
            QVERIFY(s->parent()->children().indexOf(l) > s->parent()->children().indexOf(s));
        }
    }

    // Each control the focus can reach says what it is; the links come after
    // the others, in reading order, as links that can be started.
    void reachableAndNamed()
    {
        QWidgetList chain;
        QWidget* w = m_ui.bZurueck;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden())
                chain << w;
            w = w->nextInFocusChain();
        } while (w != m_ui.bZurueck);
        const QWidgetList order{m_ui.bZurueck,     m_ui.bWeiter,      m_ui.bAbbrechen,
                                m_ui.LDateien,     m_ui.bHinzufuegen, m_ui.bUebernehmen,
                                m_ui.bLoeschen,    m_ui.bAbgleichen,  m_ui.bMarkieren,
                                m_ui.tBezeichnung, m_ui.bUnterordner, m_ui.tProjekte,
                                m_ui.bOrdner,      m_ui.bMerkeOrdner, m_ui.bZeigeProjekt,
                                m_ui.tStdProjekt,  m_ui.tProjektKopie};
        QCOMPARE(chain, order);
        QCOMPARE(QAccessible::queryAccessibleInterface(m_ui.bAbgleichen)->text(QAccessible::Name),
                 QStringLiteral("Projekt abgleichen"));
        for (QWidget* reached : chain) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(reached);
            QVERIFY2(a->text(QAccessible::Name).contains(QRegularExpression("\\p{L}")),
                     qPrintable(reached->objectName()));
            if (reached == m_ui.tStdProjekt || reached == m_ui.tProjektKopie) {
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
