// The static layout of the main window and the description dialog: every
// control where it belongs, with its text, font, colour and start state, and
// the keyboard, pointer and picture details that go with them.

#include "ui/BeschreibungUi.h"
#include "ui/Fonts.h"
#include "ui/Pictures.h"
#include "ui/RootUi.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QFontInfo>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QtEndian>
#include <QTest>

#include <memory>

namespace {

QRect tw(int left, int top, int width, int height)
{
    auto px = [](int twips) { return qRound(twips / 15.0); };
    return QRect(px(left), px(top), px(width), px(height));
}

QString textOf(const QWidget* w)
{
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(w))
        return edit->toPlainText();
    return QString();
}

// A font as the tables name it.
enum FontKind
{
    WindowFont,
    Bold9,
    Small,
    TahomaHeading,
    Tahoma9,
    TahomaSmall
};

void checkFont(const QFont& font, FontKind kind)
{
    const QString condensed = QStringLiteral("DejaVu Sans Condensed");
    struct Expected
    {
        QString family;
        qreal points;
        bool bold;
    };
    const Expected expected[] = {
        {condensed, 9, false},
        {condensed, 9, true},
        {condensed, 8.25, false},
        {Fonts::tahomaFamily(), 11.25, true},
        {Fonts::tahomaFamily(), 9, false},
        {Fonts::tahomaFamily(), 8.25, false},
    };
    const Expected& e = expected[kind];
    QCOMPARE(font.family(), e.family);
    QCOMPARE(font.pointSizeF(), e.points);
    QCOMPARE(font.weight(), e.bold ? QFont::Bold : QFont::Normal);
}

bool hasDarkPixelInRows(const QImage& image, int x, int fromRow, int toRow, const QColor& ground)
{
    for (int y = fromRow; y <= toRow; ++y)
        if (QColor(image.pixel(x, y)).lightness() < ground.lightness() - 20)
            return true;
    return false;
}

} // namespace

class tst_layout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsSitWhereLaidOut_data();
    void controlsSitWhereLaidOut();
    void autosizeLabelsTakeTheirTextSize_data();
    void autosizeLabelsTakeTheirTextSize();
    void fonts_data();
    void fonts();
    void windowFontIsInstalled();
    void colours_data();
    void colours();
    void startState_data();
    void startState();
    void labelsOnPagesLetThePageShowThrough();
    void labelsShowTheirTextLiterally();
    void linksCoverTheGapsOfTheirSentences_data();
    void linksCoverTheGapsOfTheirSentences();

    void windowHasAFixedSize();
    void noButtonIsDefault();
    void tabOrderPerPage_data();
    void tabOrderPerPage();
    void escapePressesCancel_data();
    void escapePressesCancel();
    void escapeDoesNothingWhileCancelIsDisabled();
    void accessKeysOfLabelsReachTheirTextBoxes_data();
    void accessKeysOfLabelsReachTheirTextBoxes();
    void workControlsNeverShow();
    void separatorFormsDrawALine_data();
    void separatorFormsDrawALine();
    void flatControlsHaveAThinEdge_data();
    void flatControlsHaveAThinEdge();

    void pictureFiles_data();
    void pictureFiles();
    void windowIconHasThreeSizes();
    void picturesAreCutNotScaled_data();
    void picturesAreCutNotScaled();
    void handPointer_data();
    void handPointer();

    void dialogControls_data();
    void dialogControls();
    void dialogWindow();
    void dialogButtons();
    void dialogTabOrder();

private:
    QWidget* control(const char* name) const;
    void showOnly(QWidget* page);
    void showAndActivate(QWidget* window);

    std::unique_ptr<QWidget> m_root;
    RootUi m_ui;
    std::unique_ptr<QDialog> m_dialog;
    BeschreibungUi m_dui;
};

void tst_layout::init()
{
    m_root = std::make_unique<QWidget>();
    m_ui = RootUi();
    m_ui.setupUi(m_root.get());
    m_dialog = std::make_unique<QDialog>();
    m_dui = BeschreibungUi();
    m_dui.setupUi(m_dialog.get());
}

void tst_layout::cleanup()
{
    m_dialog.reset();
    m_root.reset();
}

QWidget* tst_layout::control(const char* name) const
{
    auto* w = m_root->findChild<QWidget*>(QString::fromUtf8(name));
    if (!w)
        qWarning("no control %s", name);
    return w;
}

void tst_layout::showOnly(QWidget* page)
{
    for (QWidget* p : {m_ui.Map1, m_ui.Map2, m_ui.Map3, m_ui.Map4, m_ui.Map5})
        p->setVisible(p == page);
}

void tst_layout::showAndActivate(QWidget* window)
{
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// --- where everything is ---------------------------------------------------------------

void tst_layout::controlsSitWhereLaidOut_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("autosize");

    auto row = [](const char* name, const char* container, QRect box, const QString& text,
                  bool autosize = false) {
        QTest::newRow(name) << QString::fromUtf8(container) << box << text << autosize;
    };
    for (const char* map : {"Map1", "Map2", "Map3"})
        row(map, "Root", tw(-45, -45, 7500, 4740), QString());
    for (const char* map : {"Map4", "Map5"})
        row(map, "Root", tw(-45, -45, 7525, 4740), QString());

    row("Picture3", "Map1", tw(135, 135, 2340, 4500), QString());
    row("Label5", "Map1", tw(2745, 450, 3690, 270), QStringLiteral("Velkaro Quorvix-Vorgix for"),
        true);
    row("Label6", "Map1", tw(2745, 720, 3030, 270), QStringLiteral("Microsoft Visual Studio 6.0"),
        true);
    row("Label13 keeps its trailing blank", "Map1", tw(2745, 1350, 3915, 975),
        QStringLiteral("Der Plavento erstellt ein neues VB6-Projekt mit ausgewählten Formularen "
                       "und Modulen, welche anschließend in einen angegebenen Projektordner "
                       "kopiert werden. "));
    row("tStdProject keeps its gaps", "Map1", tw(2745, 2385, 3570, 960),
        QStringLiteral("Klicken Sie          um das Standardprojekt, welches immer verwendet und "
                       "durch die markierten Komponenten ergänzt wird,     zu bearbeiten oder "
                       "anzupassen."));
    row("tStdProjekt", "Map1", tw(3675, 2385, 360, 210), QStringLiteral("hier"), true);
    row("tProjektCopy keeps its gap", "Map1", tw(2745, 3420, 3570, 510),
        QStringLiteral("Bitte          klicken, um die Projektvorgaben in einen externen Ordner zu "
                       "kopieren."));
    row("tProjektKopie", "Map1", tw(3165, 3420, 360, 210), QStringLiteral("hier"), true);

    row("Label4", "Map2", tw(270, 225, 3105, 210), QStringLiteral("Formulare und Module auswählen"),
        true);
    row("Label8", "Map2", tw(450, 495, 4695, 210),
        QStringLiteral("Markieren Sie die im Projekt enthaltenden Komponenten."), true);
    row("LDateien", "Map2", tw(360, 1260, 5460, 2910), QString());
    row("bHinzufügen", "Map2", tw(5940, 1260, 1230, 420), QStringLiteral("&Hinzufügen"));
    row("bLöschen", "Map2", tw(5940, 1755, 1230, 420), QStringLiteral("&Löschen"));
    row("RInfotip", "Map2", tw(5955, 2340, 1440, 2175),
        QStringLiteral("Klicken Sie einen List-Eintrag mit der rechten Taste an, um eine benutzer- "
                       "definierte Hilfe einzugeben."));
    row("RCaption", "Map2", tw(5955, 2340, 1330, 2175), QString());
    row("bMarkieren keeps its trailing blank", "Map2", tw(360, 4230, 5460, 285),
        QStringLiteral("&Markierungen der verwendeten Komponenten speichern "));
    row("LSorted", "Map2", tw(1080, 1755, 4650, 2340), QString());

    row("Label3", "Map3", tw(270, 225, 3210, 210),
        QStringLiteral("Bezeichnung für den Projektordner"), true);
    row("Label7", "Map3", tw(450, 495, 4125, 210),
        QStringLiteral("Geben Sie einen Namen für den Projektordner ein."), true);
    row("Label1", "Map3", tw(435, 1395, 1650, 210), QStringLiteral("&Neuer Projektname:"), true);
    row("tBezeichnung", "Map3", tw(450, 1665, 5865, 315), QString());
    row("bUnterordner keeps its trailing blank", "Map3", tw(450, 2025, 5865, 285),
        QStringLiteral("P&rojektnamen als Unterordner verwenden "));
    row("Label2", "Map3", tw(435, 2520, 1935, 210), QStringLiteral("&Projektordner festlegen"),
        true);
    row("tProjekte", "Map3", tw(450, 2790, 5280, 315), QString());
    row("bOrdner", "Map3", tw(5805, 2775, 510, 330), QStringLiteral("..."));
    row("bMerkeOrdner keeps its trailing blank", "Map3", tw(450, 3150, 5865, 285),
        QStringLiteral("&Ordner für nächste Projekte merken "));
    row("bZeigeProjekt keeps its trailing blank", "Map3", tw(450, 3420, 5865, 285),
        QStringLiteral("A&nschließend Projektdatei anzeigen "));
    row("Label12 keeps its inner quotes", "Map3", tw(450, 4095, 5775, 465),
        QStringLiteral("Wenn Sie dem Projekt und den Ordner den gleichen Namen geben möchten, "
                       "empfiehlt es sich die Optionsschaltfläche \"Unterordner\" zu aktivieren."));

    row("Picture2", "Map4", tw(135, 135, 2340, 4500), QString());
    row("Label10", "Map4", tw(2745, 450, 3000, 270), QStringLiteral("Die Projektdateien werden"),
        true);
    row("Label9", "Map4", tw(2745, 720, 3840, 270),
        QStringLiteral("im angegebenen Ordner erstellt ..."), true);
    row("Label11", "Map4", tw(2745, 1665, 3700, 705),
        QStringLiteral("Bitte haben Sie einen Moment Geduld, während im Projektordner die "
                       "ausgewählten Formulare und Module erstellt werden."));

    row("Picture4", "Map5", tw(135, 135, 2340, 4500), QString());
    row("Label16", "Map5", tw(2745, 450, 3000, 270), QStringLiteral("Die Projektdateien wurden"),
        true);
    row("Label17", "Map5", tw(2745, 720, 3600, 270),
        QStringLiteral("im Ordner erfolgreich erstellt ..."), true);
    row("Label15 keeps its trailing blank", "Map5", tw(2745, 1665, 3700, 570),
        QStringLiteral("Die Projektdateien inklusive Formulare und Module wurde erfolgreich "
                       "erstellt. "));
    row("Label18 keeps its inner quotes", "Map5", tw(2745, 2295, 3700, 930),
        QStringLiteral("Klicken Sie auf \"Beenden\" um den Assistenten zu schließen und das "
                       "Projekt in Microsoft Visual Basic zu öffnen."));

    row("Frame1", "Root", tw(-45, 4590, 7755, 150), QString());
    row("Frame2", "Root", tw(0, 4700, 7530, 80), QStringLiteral("Label1"));
    row("PHilfe", "Root", tw(135, 4815, 480, 480), QString());
    row("bZurück", "Root", tw(3510, 4860, 1230, 420), QStringLiteral("< &Zurück"));
    row("bWeiter", "Root", tw(4770, 4860, 1230, 420), QStringLiteral("&Weiter >"));
    row("bAbbrechen", "Root", tw(6120, 4860, 1230, 420), QStringLiteral("&Abbrechen"));
    row("FileCheck", "Root", tw(90, 135, 2355, 4440), QString());
}

void tst_layout::controlsSitWhereLaidOut()
{
    QFETCH(QString, container);
    QFETCH(QRect, box);
    QFETCH(QString, text);
    QFETCH(bool, autosize);

    // The row name starts with the control's name.
    const QString name = QString::fromUtf8(QTest::currentDataTag()).section(QLatin1Char(' '), 0, 0);
    QWidget* w = control(name.toUtf8().constData());
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), container);
    if (autosize)
        QCOMPARE(w->pos(), box.topLeft());
    else
        QCOMPARE(w->geometry(), box);
    QCOMPARE(textOf(w), text);
}

void tst_layout::autosizeLabelsTakeTheirTextSize_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"Label5", "Label6", "tStdProjekt", "tProjektKopie", "Label14", "Label4", "Label8",
          "Label3", "Label7", "Label1", "Label2", "Label10", "Label9", "Label16", "Label17"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

void tst_layout::autosizeLabelsTakeTheirTextSize()
{
    QFETCH(QString, name);
    auto* label = m_root->findChild<QLabel*>(name);
    QVERIFY(label);
    QVERIFY(!label->wordWrap());
    QCOMPARE(label->size(), label->sizeHint());
    QString shown = label->text();
    shown.remove(QLatin1Char('&'));
    QVERIFY(label->width() >= QFontMetrics(label->font()).horizontalAdvance(shown));
    // A one-line notice that stays clear of the bottom of the page.
    if (name == QLatin1String("Label14")) {
        QVERIFY(!label->text().isEmpty());
        QVERIFY(!label->text().contains(QLatin1Char('\n')));
        QVERIFY(label->geometry().bottom() < m_ui.Map1->height());
    }
}

void tst_layout::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    auto row = [](const char* name, FontKind kind) {
        QTest::newRow(name) << QString::fromUtf8(name) << int(kind);
    };
    for (const char* name : {"Label5", "Label6", "Label10", "Label9", "Label16", "Label17"})
        row(name, TahomaHeading);
    for (const char* name : {"tStdProjekt", "tProjektKopie", "Label4", "Label3"})
        row(name, Bold9);
    for (const char* name : {"Label14", "RInfotip", "Label12"})
        row(name, Small);
    row("RCaption", TahomaSmall);
    for (const char* name : {"bOrdner", "Frame1", "Frame2", "FileCheck"})
        row(name, Tahoma9);
    for (const char* name :
         {"Label13",      "tStdProject", "tProjektCopy", "Label8",       "LDateien",
          "bHinzufügen",  "bLöschen",    "bMarkieren",   "Label1",       "tBezeichnung",
          "bUnterordner", "Label2",      "tProjekte",    "bMerkeOrdner", "bZeigeProjekt",
          "Label11",      "Label15",     "Label18",      "bZurück",      "bWeiter",
          "bAbbrechen"})
        row(name, WindowFont);
}

void tst_layout::fonts()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QWidget* w = control(name.toUtf8().constData());
    QVERIFY(w);
    checkFont(w->font(), FontKind(kind));
}

void tst_layout::windowFontIsInstalled()
{
    checkFont(m_root->font(), WindowFont);
    QCOMPARE(QFontInfo(m_root->font()).family(), QStringLiteral("DejaVu Sans Condensed"));
    QCOMPARE(QFontInfo(Fonts::tahoma(9)).family(), Fonts::tahomaFamily());
}

void tst_layout::colours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("tStdProjekt") << QStringLiteral("tStdProjekt") << QColor(0x52, 0x77, 0xA0);
    QTest::newRow("tProjektKopie") << QStringLiteral("tProjektKopie") << QColor(0x67, 0x9F, 0xEB);
    QTest::newRow("tProjektCopy in button shadow")
        << QStringLiteral("tProjektCopy") << QApplication::palette().color(QPalette::Dark);
    QTest::newRow("Label14") << QStringLiteral("Label14") << QColor(0xC0, 0xC0, 0xC0);
    QTest::newRow("RInfotip") << QStringLiteral("RInfotip") << QColor(0x80, 0x80, 0x80);
    QTest::newRow("RCaption") << QStringLiteral("RCaption") << QColor(0x80, 0x80, 0x80);
    QTest::newRow("Label12") << QStringLiteral("Label12") << QColor(0x95, 0x9E, 0xA2);
}

void tst_layout::colours()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    QWidget* w = control(name.toUtf8().constData());
    QVERIFY(w);
    QCOMPARE(w->palette().color(QPalette::WindowText), colour);
}

void tst_layout::startState_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* name, bool shown, bool enabled) {
        QTest::newRow(name) << QString::fromUtf8(name) << shown << enabled;
    };
    row("Map1", true, true);
    row("Map2", true, true);
    row("Map3", true, true);
    row("Map4", false, true);
    row("Map5", false, true);
    row("Frame1", false, true);
    row("Frame2", true, true);
    row("bZurück", true, false);
    row("bWeiter", true, true);
    row("bAbbrechen", true, true);
    row("PHilfe", true, true);
    row("Picture3", true, false);
    row("Picture2", true, false);
    row("Picture4", true, false);
    row("RCaption", false, true);
    row("LSorted", false, false);
    row("FileCheck", false, false);
    row("LDateien", true, true);
    row("tBezeichnung", true, true);
    row("tProjekte", true, true);
}

void tst_layout::startState()
{
    QFETCH(QString, name);
    QFETCH(bool, shown);
    QFETCH(bool, enabled);
    QWidget* w = control(name.toUtf8().constData());
    QVERIFY(w);
    QCOMPARE(!w->isHidden(), shown);
    QCOMPARE(w->isEnabled(), enabled);
}

void tst_layout::labelsOnPagesLetThePageShowThrough()
{
    for (QWidget* page : {m_ui.Map1, m_ui.Map2, m_ui.Map3, m_ui.Map4, m_ui.Map5}) {
        QCOMPARE(page->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(page->autoFillBackground());
        QCOMPARE(page->focusPolicy(), Qt::NoFocus);
        for (QLabel* label : page->findChildren<QLabel*>())
            QVERIFY2(!label->autoFillBackground(), qPrintable(label->objectName()));
    }
    QVERIFY(m_ui.Frame2->autoFillBackground());
    QCOMPARE(m_ui.bUnterordner->isChecked(), true);
    QCOMPARE(m_ui.bZeigeProjekt->isChecked(), true);
    QCOMPARE(m_ui.bMerkeOrdner->isChecked(), false);
    QCOMPARE(m_ui.bMarkieren->isChecked(), false);
    // The check boxes draw their own white background, out to their right end.
    m_root->show();
    for (QCheckBox* box : m_root->findChildren<QCheckBox*>()) {
        const QImage shot = box->grab().toImage();
        QCOMPARE(QColor(shot.pixel(shot.width() - 2, shot.height() / 2)), QColor(Qt::white));
    }
    QVERIFY(m_ui.LSorted->isSortingEnabled());
    QVERIFY(!m_ui.LDateien->isSortingEnabled());
}

void tst_layout::labelsShowTheirTextLiterally()
{
    for (QLabel* label : m_root->findChildren<QLabel*>())
        if (label != m_ui.PHilfe)
            QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(m_dui.RName->textFormat(), Qt::PlainText);
    QCOMPARE(m_dui.RName->text(), QStringLiteral("<NAME>"));
}

void tst_layout::linksCoverTheGapsOfTheirSentences_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("before");
    QTest::newRow("standard project")
        << QStringLiteral("tStdProject") << QStringLiteral("tStdProjekt")
        << QStringLiteral("Klicken Sie");
    QTest::newRow("copy tool") << QStringLiteral("tProjektCopy") << QStringLiteral("tProjektKopie")
                               << QStringLiteral("Bitte");
}

void tst_layout::linksCoverTheGapsOfTheirSentences()
{
    QFETCH(QString, sentence);
    QFETCH(QString, link);
    QFETCH(QString, before);
    auto* s = m_root->findChild<QLabel*>(sentence);
    auto* l = m_root->findChild<QLabel*>(link);
    QVERIFY(s && l);
    const QString gap(10, QLatin1Char(' '));
    QVERIFY(s->text().startsWith(before + gap + QLatin1Char(' ')) ||
            s->text().startsWith(before + gap));
    const QFontMetrics metrics(s->font());
    const int gapStart = s->x() + metrics.horizontalAdvance(before);
    const int gapEnd = s->x() + metrics.horizontalAdvance(before + gap);
    QVERIFY2(l->x() >= gapStart, qPrintable(QStringLiteral("%1 < %2").arg(l->x()).arg(gapStart)));
    QVERIFY2(l->geometry().right() < gapEnd,
             qPrintable(QStringLiteral("%1 >= %2").arg(l->geometry().right()).arg(gapEnd)));
    QCOMPARE(l->y(), s->y());
    // On top of the sentence, so the word is not hidden by it.
    const QList<QObject*> siblings = s->parent()->children();
    QVERIFY(siblings.indexOf(l) > siblings.indexOf(s));
}

// --- behaviour of the window -------------------------------------------------------------

void tst_layout::windowHasAFixedSize()
{
    QCOMPARE(m_root->minimumSize(), QSize(499, 358));
    QCOMPARE(m_root->maximumSize(), QSize(499, 358));
    QCOMPARE(m_root->windowTitle(), QStringLiteral("Velkaro Quorvix-Vorgix"));
    const Qt::WindowFlags flags = m_root->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    // The pages end at the top of the bottom strip.
    QCOMPARE(m_ui.Map1->geometry().bottom() + 1, tw(0, 4695, 0, 0).top());
    QCOMPARE(m_ui.Map4->geometry().right(), m_root->width() - 1);
}

void tst_layout::noButtonIsDefault()
{
    for (QPushButton* button : m_root->findChildren<QPushButton*>()) {
        QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
    }
    // Enter presses only the focused button.
    QSignalSpy next(m_ui.bWeiter, &QPushButton::clicked);
    QTest::keyClick(m_ui.bWeiter, Qt::Key_Return);
    QCOMPARE(next.count(), 1);
    QSignalSpy back(m_ui.bZurueck, &QPushButton::clicked);
    m_ui.bZurueck->setEnabled(true);
    QTest::keyClick(m_ui.bWeiter, Qt::Key_Return);
    QCOMPARE(back.count(), 0);
    m_ui.bZurueck->setEnabled(false);
}

void tst_layout::tabOrderPerPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("cycle");
    const QStringList strip = {QStringLiteral("bZurück"), QStringLiteral("bWeiter"),
                               QStringLiteral("bAbbrechen")};
    QTest::newRow("page 1 passes over labels and pictures") << 1 << strip;
    QTest::newRow("page 2") << 2
                            << strip + QStringList{QStringLiteral("LDateien"),
                                                   QStringLiteral("bHinzufügen"),
                                                   QStringLiteral("bLöschen"),
                                                   QStringLiteral("bMarkieren")};
    QTest::newRow("page 3") << 3 << strip + QStringList{QStringLiteral("tBezeichnung"),
                                                        QStringLiteral("bUnterordner"),
                                                        QStringLiteral("tProjekte"),
                                                        QStringLiteral("bOrdner"),
                                                        QStringLiteral("bMerkeOrdner"),
                                                        QStringLiteral("bZeigeProjekt")};
    QTest::newRow("page 4") << 4 << strip;
}

void tst_layout::tabOrderPerPage()
{
    QFETCH(int, page);
    QFETCH(QStringList, cycle);
    PictureBox* const pages[] = {m_ui.Map1, m_ui.Map2, m_ui.Map3, m_ui.Map4, m_ui.Map5};
    showOnly(pages[page - 1]);
    m_ui.bZurueck->setEnabled(true);
    showAndActivate(m_root.get());
    m_ui.bZurueck->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_ui.bZurueck);

    QStringList seen{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < cycle.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(seen, cycle + QStringList{cycle.first()});
}

void tst_layout::escapePressesCancel_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("focus");
    QTest::newRow("page 1") << 1 << QStringLiteral("bWeiter");
    QTest::newRow("page 2, in the list") << 2 << QStringLiteral("LDateien");
    QTest::newRow("page 3, in the name box") << 3 << QStringLiteral("tBezeichnung");
    QTest::newRow("page 3, in the folder box") << 3 << QStringLiteral("tProjekte");
    QTest::newRow("page 4") << 4 << QStringLiteral("bAbbrechen");
    QTest::newRow("page 5") << 5 << QStringLiteral("bWeiter");
}

void tst_layout::escapePressesCancel()
{
    QFETCH(int, page);
    QFETCH(QString, focus);
    PictureBox* const pages[] = {m_ui.Map1, m_ui.Map2, m_ui.Map3, m_ui.Map4, m_ui.Map5};
    showOnly(pages[page - 1]);
    showAndActivate(m_root.get());
    QWidget* target = control(focus.toUtf8().constData());
    target->setFocus();
    QSignalSpy cancel(m_ui.bAbbrechen, &QAbstractButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(cancel.count(), 1);
}

void tst_layout::escapeDoesNothingWhileCancelIsDisabled()
{
    showOnly(m_ui.Map5);
    m_ui.bAbbrechen->setEnabled(false);
    showAndActivate(m_root.get());
    m_ui.bWeiter->setFocus();
    QSignalSpy cancel(m_ui.bAbbrechen, &QAbstractButton::clicked);
    QTest::keyClick(m_ui.bWeiter, Qt::Key_Escape);
    QCOMPARE(cancel.count(), 0);
}

void tst_layout::accessKeysOfLabelsReachTheirTextBoxes_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    // Alt+N is also the key of bZeigeProjekt ("A&nschließend"); the first press
    // still belongs to the label.
    QTest::newRow("Alt+N from the buttons")
        << QStringLiteral("bWeiter") << int(Qt::Key_N) << QStringLiteral("tBezeichnung");
    QTest::newRow("Alt+P from the buttons")
        << QStringLiteral("bWeiter") << int(Qt::Key_P) << QStringLiteral("tProjekte");
    QTest::newRow("Alt+P from the name box")
        << QStringLiteral("tBezeichnung") << int(Qt::Key_P) << QStringLiteral("tProjekte");
    QTest::newRow("Alt+N from the folder box")
        << QStringLiteral("tProjekte") << int(Qt::Key_N) << QStringLiteral("tBezeichnung");
}

void tst_layout::accessKeysOfLabelsReachTheirTextBoxes()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    showOnly(m_ui.Map3);
    showAndActivate(m_root.get());
    control(from.toUtf8().constData())->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), to);
}

void tst_layout::workControlsNeverShow()
{
    m_root->show();
    for (QWidget* page : {m_ui.Map1, m_ui.Map2, m_ui.Map3, m_ui.Map4, m_ui.Map5}) {
        showOnly(page);
        m_ui.LSorted->parentWidget()->show();
        for (QWidget* w :
             {static_cast<QWidget*>(m_ui.RCaption), static_cast<QWidget*>(m_ui.LSorted),
              static_cast<QWidget*>(m_ui.FileCheck)})
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        // The bottom strip is the same on every page.
        for (QWidget* w :
             {static_cast<QWidget*>(m_ui.PHilfe), static_cast<QWidget*>(m_ui.Frame2),
              static_cast<QWidget*>(m_ui.bZurueck), static_cast<QWidget*>(m_ui.bWeiter),
              static_cast<QWidget*>(m_ui.bAbbrechen)})
            QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
    }
}

void tst_layout::separatorFormsDrawALine_data()
{
    QTest::addColumn<bool>("frame1");
    QTest::newRow("Frame1") << true;
    QTest::newRow("Frame2") << false;
}

void tst_layout::separatorFormsDrawALine()
{
    QFETCH(bool, frame1);
    showOnly(m_ui.Map1);
    m_ui.Frame1->setVisible(frame1);
    m_ui.Frame2->setVisible(!frame1);
    m_root->show();
    const QImage shot = m_root->grab().toImage();
    const QColor strip = m_root->palette().color(QPalette::Window);
    // Between the page's lower edge and the buttons, all across the window.
    for (int x : {2, 250, 496})
        QVERIFY2(hasDarkPixelInRows(shot, x, 313, 318, strip), qPrintable(QString::number(x)));
    // Nothing of the label's caption shows.
    QVERIFY(!hasDarkPixelInRows(shot, 60, 319, 322, strip));
}

void tst_layout::flatControlsHaveAThinEdge_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"LDateien", "tBezeichnung", "tProjekte", "Picture3"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

void tst_layout::flatControlsHaveAThinEdge()
{
    QFETCH(QString, name);
    QWidget* w = control(name.toUtf8().constData());
    m_root->show();
    const QImage shot = w->grab().toImage();
    const int midY = shot.height() / 2;
    QCOMPARE(QColor(shot.pixel(0, midY)), flatEdgeColour());
    QCOMPARE(QColor(shot.pixel(shot.width() - 1, midY)), flatEdgeColour());
    QVERIFY(QColor(shot.pixel(1, midY)) != flatEdgeColour());
}

// --- pictures ------------------------------------------------------------------------------

void tst_layout::pictureFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<int>("bitsPerPixel");
    const QByteArray icon("\0\0\1\0", 4);
    const QByteArray cursor("\0\0\2\0", 4);
    QTest::newRow("window icon") << QString::fromLatin1(Pictures::kWindowIcon) << icon
                                 << QList<QSize>{{32, 32}, {16, 16}, {48, 48}} << 8;
    QTest::newRow("welcome side picture") << QString::fromLatin1(Pictures::kWelcome)
                                          << QByteArray("GIF89a") << QList<QSize>{{154, 298}} << 8;
    QTest::newRow("banner") << QString::fromLatin1(Pictures::kBanner) << QByteArray("GIF89a")
                            << QList<QSize>{{560, 62}} << 8;
    QTest::newRow("finish side picture") << QString::fromLatin1(Pictures::kFinish)
                                         << QByteArray("GIF87a") << QList<QSize>{{154, 312}} << 8;
    QTest::newRow("help icon") << QString::fromLatin1(Pictures::kHelp) << icon
                               << QList<QSize>{{32, 32}} << 8;
    QTest::newRow("hand pointer") << QString::fromLatin1(Pictures::kHand) << cursor
                                  << QList<QSize>{{32, 32}} << 1;
}

void tst_layout::pictureFiles()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, head);
    QFETCH(QList<QSize>, sizes);
    QFETCH(int, bitsPerPixel);

    Pictures::help(); // registers the resources
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.left(head.size()), head);

    if (head.startsWith("GIF")) {
        // Global colour table of 256 entries.
        QCOMPARE(quint8(bytes.at(10)) & 0x87, 0x87);
    } else {
        // Every image of an icon file: its bitmap header's bit count.
        const int count = qFromLittleEndian<quint16>(bytes.constData() + 4);
        QCOMPARE(count, sizes.size());
        for (int i = 0; i < count; ++i) {
            const int offset = qFromLittleEndian<quint32>(bytes.constData() + 6 + 16 * i + 12);
            QCOMPARE(int(qFromLittleEndian<quint16>(bytes.constData() + offset + 14)),
                     bitsPerPixel);
        }
    }

    QImageReader reader(path);
    QList<QSize> read;
    do {
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        read << image.size();
    } while (reader.jumpToNextImage());
    QCOMPARE(read, sizes);
}

void tst_layout::windowIconHasThreeSizes()
{
    const QList<QSize> sizes = m_root->windowIcon().availableSizes();
    for (QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
        QVERIFY(sizes.contains(size));
    // The dialog has none of its own.
    QVERIFY(!m_dialog->testAttribute(Qt::WA_SetWindowIcon));
}

void tst_layout::picturesAreCutNotScaled_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("inset");
    QTest::newRow("banner of page 2 cut at the right")
        << QStringLiteral("Map2") << QString::fromLatin1(Pictures::kBanner) << 0;
    QTest::newRow("banner of page 3 cut at the right")
        << QStringLiteral("Map3") << QString::fromLatin1(Pictures::kBanner) << 0;
    QTest::newRow("side picture of page 1 fits")
        << QStringLiteral("Picture3") << QString::fromLatin1(Pictures::kWelcome) << 1;
    QTest::newRow("side picture of page 4 cut at the bottom")
        << QStringLiteral("Picture2") << QString::fromLatin1(Pictures::kFinish) << 1;
    QTest::newRow("side picture of page 5 cut at the bottom")
        << QStringLiteral("Picture4") << QString::fromLatin1(Pictures::kFinish) << 1;
}

void tst_layout::picturesAreCutNotScaled()
{
    QFETCH(QString, box);
    QFETCH(QString, path);
    QFETCH(int, inset);
    auto* w = m_root->findChild<PictureBox*>(box);
    QVERIFY(w);
    const QImage picture = QImage(path).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(w->picture().size(), picture.size());
    m_root->show();
    QWidget* page = w;
    while (page->parentWidget() != m_root.get())
        page = page->parentWidget();
    showOnly(page);
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The last pixel the box shows is the picture's own pixel at that place.
    const int right = w->width() - 1 - inset;
    const int bottom = w->height() - 1 - inset;
    for (QPoint p : {QPoint(inset, inset), QPoint(right, inset), QPoint(inset, bottom),
                     QPoint(right, bottom), QPoint(right / 2, bottom / 2)}) {
        const QPoint source = p - QPoint(inset, inset);
        if (!picture.rect().contains(source))
            continue;
        QCOMPARE(QColor(shot.pixel(p)), QColor(picture.pixel(source)));
    }
}

void tst_layout::handPointer_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"tProjektKopie", "tStdProjekt", "bMarkieren", "bUnterordner",
                             "bMerkeOrdner", "bZeigeProjekt", "PHilfe"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

void tst_layout::handPointer()
{
    QFETCH(QString, name);
    QWidget* w = control(name.toUtf8().constData());
    QVERIFY(w->testAttribute(Qt::WA_SetCursor));
    const QCursor cursor = w->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(5, 0));
    const QImage image = cursor.pixmap().toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    // Two colours and clear: black edge, white hand; the hot spot is the finger tip.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() == 0)
                continue;
            QCOMPARE(c.alpha(), 255);
            QVERIFY(c == Qt::black || c == Qt::white);
        }
    QVERIFY(image.pixelColor(5, 0).alpha() == 255);
    QVERIFY(image.pixelColor(5, 0) == Qt::black);
}

// --- description dialog ------------------------------------------------------------------

void tst_layout::dialogControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("font");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* name, QRect box, const QString& text, FontKind font, bool shown,
                  bool enabled) {
        QTest::newRow(name) << QString::fromUtf8(name) << box << text << int(font) << shown
                            << enabled;
    };
    row("Label1", tw(150, 180, 4290, 465),
        QStringLiteral(
            "Bitte geben Sie eine definierte Beschreibung für die markierte Komponente ein."),
        Bold9, true, true);
    row("tCaption", tw(135, 765, 5055, 1545), QString(), WindowFont, true, true);
    row("tDateiname", tw(135, 2340, 5055, 285),
        QStringLiteral("C:\\Eigene Dateien\\Programme\\..."), Small, true, true);
    row("bReady", tw(2655, 2745, 1230, 420), QStringLiteral("&Ok"), WindowFont, true, true);
    row("bAbbrechen", tw(3960, 2745, 1230, 420), QStringLiteral("&Abbrechen"), WindowFont, true,
        true);
    row("RName", tw(135, 2790, 1245, 210), QStringLiteral("<NAME>"), WindowFont, false, false);
}

void tst_layout::dialogControls()
{
    QFETCH(QString, name);
    QFETCH(QRect, box);
    QFETCH(QString, text);
    QFETCH(int, font);
    QFETCH(bool, shown);
    QFETCH(bool, enabled);
    auto* w = m_dialog->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), m_dialog.get());
    QCOMPARE(w->geometry(), box);
    QCOMPARE(textOf(w), text);
    checkFont(w->font(), FontKind(font));
    QCOMPARE(!w->isHidden(), shown);
    QCOMPARE(w->isEnabled(), enabled);
}

void tst_layout::dialogWindow()
{
    QCOMPARE(m_dialog->objectName(), QStringLiteral("Beschreibung"));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral(" Tooltipps für Objekte"));
    QCOMPARE(m_dialog->minimumSize(), QSize(355, 217));
    QCOMPARE(m_dialog->maximumSize(), QSize(355, 217));
    checkFont(m_dialog->font(), WindowFont);
    const Qt::WindowFlags flags = m_dialog->windowFlags();
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!m_dui.Label1->autoFillBackground());
    QVERIFY(m_dui.Label1->wordWrap());
    QVERIFY(m_dui.tDateiname->isReadOnly());
    QCOMPARE(m_dui.tDateiname->palette().color(QPalette::Text), QColor(0x80, 0x80, 0x80));
    const QImage shot = m_dialog->grab().toImage();
    QCOMPARE(QColor(shot.pixel(m_dui.tCaption->x(), m_dui.tCaption->y() + 20)), flatEdgeColour());
    QCOMPARE(QColor(shot.pixel(m_dui.tDateiname->x(), m_dui.tDateiname->y() + 5)),
             flatEdgeColour());
}

void tst_layout::dialogButtons()
{
    QVERIFY(m_dui.bReady->isDefault());
    QVERIFY(!m_dui.bAbbrechen->isDefault());
    showAndActivate(m_dialog.get());
    m_dui.tCaption->setFocus();
    QSignalSpy cancel(m_dui.bAbbrechen, &QAbstractButton::clicked);
    QSignalSpy rejected(m_dialog.get(), &QDialog::rejected);
    QTest::keyClick(m_dui.tCaption, Qt::Key_Escape);
    QCOMPARE(cancel.count(), 1);
    // Closing is the handler's business, not a side effect of the key.
    QCOMPARE(rejected.count(), 0);
}

void tst_layout::dialogTabOrder()
{
    showAndActivate(m_dialog.get());
    m_dui.tCaption->setFocus();
    QStringList seen{QApplication::focusWidget()->objectName()};
    // Tab leaves the description box rather than typing a tab into it.
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(seen, (QStringList{QStringLiteral("tCaption"), QStringLiteral("tDateiname"),
                                QStringLiteral("bReady"), QStringLiteral("bAbbrechen"),
                                QStringLiteral("tCaption")}));
}

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
