// The tooltip manager on its own, and the main window's tips as a user meets them.

#include "support/ShownWindow.h"
#include "ui/RootTooltips.h"
#include "ui/Tooltips.h"
#include "ui/Widgets.h"

#include <QHelpEvent>
#include <QLabel>
#include <QScreen>
#include <QStyleHints>
#include <QToolTip>

#include <array>

static void hover(QWidget* widget, QPoint at = QPoint())
{
    QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
    // On a real display the pointer's events come later.
    QTRY_VERIFY_WITH_TIMEOUT(widget->underMouse(), 2000);
}

// Fires the tips' waits when the test says so and tells how long each would be.
struct FakeClock : TipClock
{
    void start(Wait wait, int ms, std::function<void()> due) override { armed[wait] = {ms, due}; }
    void stop(Wait wait) override { armed[wait] = {}; }
    int waiting(Wait wait) const { return armed[wait].second ? armed[wait].first : -1; }
    void fire(Wait wait)
    {
        const auto due = std::exchange(armed[wait], {}).second;
        QVERIFY2(due, "no wait is running");
        due();
    }
    void hoverAndShow(QWidget* widget)
    {
        hover(widget);
        fire(Show);
    }
    std::array<std::pair<int, std::function<void()>>, 2> armed;
};

// Long enough to wrap at the window's width of 188 pixels.
const QString kLong = QStringLiteral("Ein Tipp, der für eine einzige Zeile viel zu lang ist.");

// A small form: two buttons, a label and a plain area, with its own manager.
struct Form
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QPushButton* a = new QPushButton(QStringLiteral("A"), window.get());
    QPushButton* b = new QPushButton(QStringLiteral("B"), window.get());
    QLabel* label = new QLabel(QStringLiteral("Etikett"), window.get());
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    Tooltips_Class tips;

    Form()
    {
        window->resize(300, 200);
        a->setGeometry(10, 10, 80, 30);
        b->setGeometry(100, 10, 80, 30);
        label->setGeometry(10, 60, 80, 20);
        window->show();
        tips.setClock(clock);
        tips.Create(window.get(), 0);
    }
};

class tst_tooltips : public QObject
{
    Q_OBJECT

private slots:
    // Desktop delays unlike any the program sets, so a setting left out shows.
    void initTestCase() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(250); }
    void cleanup() { RootTooltips::manager().setClock(nullptr); }

    void hoverShowsWaitsAndMovesOn()
    {
        Form f;
        f.tips.AddTool(f.a, 0, QStringLiteral("Knopf A"));
        f.tips.AddTool(f.b, 0, QStringLiteral("Knopf B"));
        f.tips.SetDelayTime(Tooltips_Class::TTDT_INITIAL, 700);
        f.tips.SetDelayTime(Tooltips_Class::TTDT_AUTOPOP, 9000);
        f.tips.SetDelayTime(Tooltips_Class::TTDT_RESHOW, 300);
        hover(f.label);
        QCOMPARE(f.clock->waiting(TipClock::Show), -1); // no tool there
        hover(f.a);
        QCOMPARE(f.clock->waiting(TipClock::Show), 700);
        QCOMPARE(f.tips.shownText(), QString());
        f.clock->fire(TipClock::Show);
        QCOMPARE(f.tips.shownText(), QStringLiteral("Knopf A"));
        QCOMPARE(f.clock->waiting(TipClock::Hide), 9000);
        QVERIFY(f.tips.tipWindow()->y() > f.a->mapToGlobal(f.a->rect().center()).y());
        QVERIFY(!f.tips.tipWindow()->hasFocus());
        QVERIFY(f.tips.tipWindow()->windowFlags() & Qt::WindowDoesNotAcceptFocus);

        hover(f.b);
        QCOMPARE(f.tips.shownText(), QString());
        QCOMPARE(f.clock->waiting(TipClock::Show), 300);
        f.clock->fire(TipClock::Show);
        QCOMPARE(f.tips.shownText(), QStringLiteral("Knopf B"));
        f.clock->fire(TipClock::Hide);
        QCOMPARE(f.tips.shownText(), QString());
        QCOMPARE(f.clock->waiting(TipClock::Show), -1); // not again while resting

        // After the tip went by itself, the next control waits the full time.
        hover(f.a);
        QCOMPARE(f.clock->waiting(TipClock::Show), 700);
        f.clock->fire(TipClock::Show);
        QTest::mouseClick(f.a, Qt::LeftButton);
        QCOMPARE(f.tips.shownText(), QString());
        QTest::mouseMove(f.window.get(), QPoint(f.window->width() - 2, f.window->height() - 2));
        QCOMPARE(f.clock->waiting(TipClock::Show), -1);

        // No text, no tip; emptying the text or switching tips off takes a shown tip along.
        f.tips.AddTool(f.label, 0);
        f.clock->hoverAndShow(f.label);
        QVERIFY(!f.tips.tipWindow()->isVisible());
        f.clock->hoverAndShow(f.b);
        QCOMPARE(f.tips.shownText(), QStringLiteral("Knopf B"));
        f.tips.SetTipText(f.b, QString());
        QVERIFY(!f.tips.tipWindow()->isVisible());
        f.tips.SetTipText(f.b, QStringLiteral("wieder"));
        hover(f.label);
        f.clock->hoverAndShow(f.b);
        f.tips.setEnabled(false);
        QCOMPARE(f.tips.shownText(), QString());
        hover(f.label);
        f.clock->hoverAndShow(f.b);
        QCOMPARE(f.tips.shownText(), QString());
        QCOMPARE(f.tips.Enabled(), false);
    }

    void toolsTextsAndSizes()
    {
        Form f;
        QPushButton stranger;
        f.tips.AddTool(f.a, 0, QStringLiteral("erste"));
        f.tips.AddTool(f.a, 0, QStringLiteral("zweite")); // no check for duplicates
        f.tips.SetTipText(&stranger, QStringLiteral("fremd"));
        f.tips.DeleteTool(&stranger);
        QCOMPARE(f.tips.ToolCount(), 2);
        QCOMPARE(f.tips.toolText(&stranger), QString());
        f.tips.SetTipText(f.a, QStringLiteral("neu")); // the first registration
        QCOMPARE(f.tips.toolText(f.a), QStringLiteral("neu"));
        f.tips.DeleteTool(f.a);
        QCOMPARE(f.tips.ToolCount(), 1);
        QCOMPARE(f.tips.toolText(f.a), QStringLiteral("zweite"));

        // The toolkit's own tip never shows on a tool.
        f.a->setToolTip(QStringLiteral("vom Toolkit"));
        const QPoint at = f.a->rect().center();
        QHelpEvent help(QEvent::ToolTip, at, f.a->mapToGlobal(at));
        QApplication::sendEvent(f.a, &help);
        QVERIFY(!QToolTip::isVisible());

        // Sizes are signed 16-bit halves.
        f.tips.SetTipText(f.a, QString(4000, QLatin1Char('W'))); // far wider than 32767 px
        f.tips.AddTool(f.b, 0, QStringLiteral("kurz"));
        QVERIFY(f.tips.GetTooltipWidth(f.a) < 0);
        const QFontMetrics fm(QToolTip::font());
        // The tip rounds the text's width up; the one-line measurement rounds it.
        QVERIFY(qAbs(f.tips.GetTooltipWidth(f.b) - f.tips.ToolTipWidthFromText(fm, "kurz")) <= 1);
        QCOMPARE(f.tips.GetTooltipHeight(f.b), f.tips.ToolTipHeightFromText(fm, "kurz"));
        QCOMPARE(f.tips.GetTooltipWidth(f.label), 0); // no tool

        f.tips.setMaxTipWidth(188);
        f.tips.SetTipText(f.a, kLong);
        const int oneLine = f.tips.ToolTipHeightFromText(fm, kLong);
        const int height = f.tips.GetTooltipHeight(f.a);
        QVERIFY2(height >= oneLine + fm.lineSpacing(), "wraps onto a second line");
        QVERIFY(f.tips.GetTooltipWidth(f.a) <= 188 + 2);
        f.tips.setTitle(QStringLiteral("Hinweis"));
        QCOMPARE(f.tips.Title(), QStringLiteral("Hinweis"));
        QVERIFY(f.tips.GetTooltipHeight(f.a) > height);
        f.tips.setIcon(1);
        QCOMPARE(f.tips.Icon(), 1);
        f.tips.setTitle(QString());
        QCOMPARE(f.tips.GetTooltipHeight(f.a), height); // no title, no line, no icon

        // Near the screen's corner the wrapped tip still lies on the screen.
        const QRect screen = f.window->screen()->availableGeometry();
        f.window->move(screen.bottomRight() - QPoint(60, 30)); // A ends near the corner
        f.a->setGeometry(0, 0, 30, 20);
        f.clock->hoverAndShow(f.a);
        QVERIFY(f.tips.tipWindow()->isVisible());
        QVERIFY(screen.contains(f.tips.tipWindow()->frameGeometry()));
    }

    // Set up at the start and anew on page 1, kept by a reload. Abbrechen ends at once;
    // closing takes a tip along.
    void inTheWindow()
    {
        const auto clock = std::make_shared<FakeClock>();
        RootTooltips::manager().setClock(clock);
        ShownWindow f;
        f.t.writeEntries(
            {{"Haupt", "v/Haupt.frm"}, {"Steuer", "v/Steuer.ctl", false, "Eine Werkzeugleiste"}});
        f.open();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        Tooltips_Class& tips = RootTooltips::manager();
        const RootUi& ui = f.w->ui;
        QCOMPARE(QList<int>({tips.GetDelayTime(Tooltips_Class::TTDT_AUTOPOP),
                             tips.GetDelayTime(Tooltips_Class::TTDT_RESHOW), tips.MaxTipWidth(),
                             tips.MarginLeft(), tips.MarginTop(), tips.MarginRight(),
                             tips.MarginBottom()}),
                 QList<int>({10000, 300, 188, 2, 2, 2, 2}));
        const QString listHint = tips.toolText(ui.LDateien);
        QVERIFY(!listHint.isEmpty() && !tips.toolText(ui.PHilfe).isEmpty());
        for (const QWidget* w : f.w->findChildren<QWidget*>())
            QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));

        f.next();
        tips.SetTipText(ui.bLoeschen, QStringLiteral("geändert"));
        const QWidget* window = tips.tipWindow();
        f.w->reloadFlag = QStringLiteral("1");
        f.w->Form_Load();
        QCOMPARE(tips.tipWindow(), window);
        QCOMPARE(tips.toolText(ui.bLoeschen), QStringLiteral("geändert"));
        f.w->reloadFlag.clear();
        f.back();
        QCOMPARE(tips.ToolCount(), 12); // anew, not twice
        QCOMPARE(tips.toolText(ui.LDateien), listHint);
        f.next();

        hover(ui.bHinzufuegen);
        QCOMPARE(clock->waiting(TipClock::Show), 400);
        clock->fire(TipClock::Show);
        QCOMPARE(tips.shownText(), tips.toolText(ui.bHinzufuegen));
        clock->fire(TipClock::Hide);

        // The list: Haupt has no description, Steuer has one.
        QCOMPARE(tips.toolText(ui.LDateien), QString());
        clock->hoverAndShow(ui.LDateien);
        QCOMPARE(tips.shownText(), QString());
        ui.LDateien->setCurrentRow(1);
        hover(ui.bHinzufuegen);
        clock->hoverAndShow(ui.LDateien);
        QCOMPARE(tips.shownText(), QStringLiteral("Eine Werkzeugleiste"));

        // The page's free area and its labels are silent.
        QVERIFY(!ui.Map2->childAt(5, 5));
        hover(ui.Map2, QPoint(5, 5));
        QCOMPARE(tips.shownText(), QString());
        clock->fire(TipClock::Show);
        QCOMPARE(tips.shownText(), QString());
        hover(ui.Label4);
        QCOMPARE(clock->waiting(TipClock::Show), -1); // still the page's silent tool

        hover(ui.bAbbrechen);
        QTest::mouseClick(ui.bAbbrechen, Qt::LeftButton);
        QCOMPARE(f.desk.ends, 1);
        QVERIFY(f.w->isVisible()); // ended at once, no close events
        clock->hoverAndShow(ui.bHinzufuegen);
        f.w->close(); // the close box
        QCOMPARE(tips.shownText(), QString());
        QCOMPARE(tips.ToolCount(), 12);
        f.w.reset(); // the tip window goes with its window
        QVERIFY(!RootTooltips::manager().tipWindow());
    }
};

QTEST_MAIN(tst_tooltips)
#include "tst_tooltips.moc"
