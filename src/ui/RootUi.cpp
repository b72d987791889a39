#include "ui/RootUi.h"

#include "ui/Fonts.h"
#include "ui/LinkLabel.h"
#include "ui/Pictures.h"
#include "ui/Twips.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>

using namespace twips;

namespace {

const QColor kWhite(0xFF, 0xFF, 0xFF);
constexpr QSize kWindowSize(499, 358);

// The pages' three text styles besides the window's font.
QFont headingFont()
{
    return Fonts::tahoma(11.25, true);
}
QFont titleFont()
{
    return Fonts::condensed(9, true);
}
QFont smallFont()
{
    return Fonts::condensed(8.25);
}

PictureBox* page(QWidget* root, const char* name, int width, const QPixmap& picture = {})
{
    auto* p = make<PictureBox>(root, name);
    p->setGeometry(rect(-45, -45, width, 4740));
    QPalette palette = p->palette();
    palette.setColor(QPalette::Window, kWhite);
    p->setPalette(palette);
    p->setAutoFillBackground(true);
    p->setPicture(picture);
    return p;
}

PictureBox* sidePicture(QWidget* parent, const char* name, const QPixmap& picture = {})
{
    auto* p = make<PictureBox>(parent, name);
    p->setGeometry(rect(135, 135, 2340, 4500));
    QPalette palette = p->palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
    p->setPalette(palette);
    p->setAutoFillBackground(true);
    p->setBorder(true);
    p->setPicture(picture);
    p->setEnabled(false);
    return p;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QRect& box)
{
    auto* b = make<QPushButton>(parent, name);
    b->setText(text);
    b->setGeometry(box);
    // None is the default button (the finish page makes bWeiter one); Enter
    // presses the button that has the focus, as users of these tools expect.
    b->setAutoDefault(true);
    b->setDefault(false);
    return b;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, const QRect& box)
{
    auto* c = make<QCheckBox>(parent, name);
    c->setText(text);
    c->setGeometry(box);
    // The flat style first: a widget's own style resets its palette.
    makeFlat(c);
    QPalette palette = c->palette();
    palette.setColor(QPalette::Window, kWhite);
    palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    c->setPalette(palette);
    c->setBackgroundRole(QPalette::Window); // buttons fill with Button otherwise
    c->setAutoFillBackground(true);
    return c;
}

FlatLineEdit* textBox(QWidget* parent, const char* name, const QRect& box)
{
    auto* t = make<FlatLineEdit>(parent, name);
    t->setGeometry(box);
    return t;
}

QListWidget* list(QWidget* parent, const char* name, const QRect& box)
{
    auto* l = make<QListWidget>(parent, name);
    l->setGeometry(box);
    makeFlat(l);
    return l;
}

} // namespace

void RootUi::setupUi(QWidget* Root)
{
    setupFirstPaint(Root);
    setupPages();
    setupRest();
}

void RootUi::setupRest()
{
    if (m_restDone)
        return;
    m_restDone = true;
    const QPixmap banner = Pictures::banner();
    Map2->setPicture(banner);
    Map3->setPicture(banner);
    const QPixmap finish = Pictures::finish();
    Picture2->setPicture(finish);
    Picture4->setPicture(finish);
    for (QLabel* label : std::as_const(m_sizedLater))
        label->adjustSize();
    const QCursor hand = Pictures::hand();
    for (QWidget* pointing :
         std::initializer_list<QWidget*>{tStdProjekt, tProjektKopie, PHilfe, bMarkieren,
                                         bUnterordner, bMerkeOrdner, bZeigeProjekt})
        pointing->setCursor(hand);
}

void RootUi::setupFirstPaint(QWidget* Root)
{
    m_restDone = false;
    Root->setObjectName(QStringLiteral("Root"));
    Root->setWindowTitle(QStringLiteral("Velkaro Quorvix-Vorgix"));
    Root->setWindowFlags(Qt::Window | kFixedFrame);
    Root->setFixedSize(kWindowSize);
    Root->setFont(Fonts::windowFont());
    Root->setWindowIcon(Pictures::windowIcon());
    {
        // The window's own background shows only in the bottom strip.
        QPalette palette = Root->palette();
        palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
        Root->setPalette(palette);
    }

    const QFont heading = headingFont(), title = titleFont(), small = smallFont();

    m_pagesDone = false;
    Map1 = page(Root, "Map1", 7500);
    Map2 = page(Root, "Map2", 7500);
    Map3 = page(Root, "Map3", 7500);
    Map4 = page(Root, "Map4", 7525);
    Map5 = page(Root, "Map5", 7525);
    Map4->hide();
    Map5->hide();

    // Page 1, welcome.
    Picture3 = sidePicture(Map1, "Picture3", Pictures::welcome());
    Label5 = label(Map1, "Label5", QStringLiteral("Velkaro Quorvix-Vorgix for"),
                   rect(2745, 450, 3690, 270), Fit::AutoSize, heading);
    Label6 = label(Map1, "Label6", QStringLiteral("Microsoft Visual Studio 6.0"),
                   rect(2745, 720, 3030, 270), Fit::AutoSize, heading);
    Label13 = label(Map1, "Label13",
                    QStringLiteral("Der Plavento erstellt ein neues VB6-Projekt mit ausgewählten "
                                   "Formularen und Modulen, welche anschließend in einen "
                                   "angegebenen Projektordner kopiert werden. "),
                    rect(2745, 1350, 3915, 975), Fit::Wrap);
    // Each sentence leaves ten blanks in its first line for the bold link on top of it.
    tStdProject = label<ClickLabel>(
        Map1, "tStdProject",
        QStringLiteral("Klicken Sie          um das Standardprojekt, welches immer verwendet und "
                       "durch die markierten Komponenten ergänzt wird,     zu bearbeiten oder "
                       "anzupassen."),
        rect(2745, 2385, 3570, 960), Fit::Wrap);
    tStdProjekt =
        label<LinkLabel>(Map1, "tStdProjekt", QStringLiteral("hier"), rect(3675, 2385, 360, 210),
                         Fit::AutoSize, title, QColor(0x52, 0x77, 0xA0));
    // Read aloud, "hier" would not say where it leads.
    tStdProjekt->setAccessibleName(QStringLiteral("Standardprojekt bearbeiten"));
    tProjektCopy = label(Map1, "tProjektCopy",
                         QStringLiteral("Bitte          klicken, um die Projektvorgaben in einen "
                                        "externen Ordner zu kopieren."),
                         rect(2745, 3420, 3570, 510), Fit::Wrap, std::nullopt,
                         QApplication::palette().color(QPalette::Dark));
    tProjektKopie =
        label<LinkLabel>(Map1, "tProjektKopie", QStringLiteral("hier"), rect(3165, 3420, 360, 210),
                         Fit::AutoSize, title, QColor(0x67, 0x9F, 0xEB));
    tProjektKopie->setAccessibleName(QStringLiteral("Projektvorgaben kopieren"));
    Label14 = label(Map1, "Label14", QStringLiteral("© 2026 Velkaro · Vorlagen-Assistent"),
                    rect(2745, 4275, 3000, 195), Fit::AutoSize, small, QColor(0xC0, 0xC0, 0xC0));

    // Bottom strip. Two forms of the separator; start-up shows one of them.
    Frame1 = make<QFrame>(Root, "Frame1");
    Frame1->setGeometry(rect(-45, 4590, 7755, 150));
    Frame1->setFont(Fonts::tahoma(9));
    Frame1->setFrameShape(QFrame::HLine);
    Frame1->setFrameShadow(QFrame::Sunken);
    // Where an empty-captioned frame draws its top edge: right under the pages.
    Frame1->setFrameRect(QRect(0, 7, Frame1->width(), 2));
    Frame1->hide();
    Frame2 = label(Root, "Frame2", QStringLiteral("Label1"), rect(0, 4700, 7530, 80), Fit::Wrap,
                   Fonts::tahoma(9), Qt::transparent);
    Frame2->setFrameShape(QFrame::HLine);
    Frame2->setFrameShadow(QFrame::Sunken);
    Frame2->setAutoFillBackground(true);
    PHilfe = make<ClickLabel>(Root, "PHilfe");
    PHilfe->setGeometry(rect(135, 4815, 480, 480));
    PHilfe->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PHilfe->setPixmap(Pictures::help());
    bZurueck = button(Root, "bZurück", QStringLiteral("< &Zurück"), rect(3510, 4860, 1230, 420));
    bZurueck->setEnabled(false);
    bWeiter = button(Root, "bWeiter", QStringLiteral("&Weiter >"), rect(4770, 4860, 1230, 420));
    bAbbrechen =
        button(Root, "bAbbrechen", QStringLiteral("&Abbrechen"), rect(6120, 4860, 1230, 420));

    escape = new QShortcut(QKeySequence(Qt::Key_Escape), Root);
    escape->setObjectName(QStringLiteral("escape"));
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, bAbbrechen, &QAbstractButton::click);
    // The links after the buttons, in reading order.
    QWidget::setTabOrder(bAbbrechen, tStdProjekt);
    QWidget::setTabOrder(tStdProjekt, tProjektKopie);
    m_root = Root;
}

void RootUi::setupPages()
{
    if (m_pagesDone)
        return;
    m_pagesDone = true;
    const QFont heading = headingFont(), title = titleFont(), small = smallFont();

    // Page 2, components.
    Label4 = label(Map2, "Label4", QStringLiteral("Formulare und Module auswählen"),
                   rect(270, 225, 3105, 210), Fit::Line, title);
    Label8 = label(Map2, "Label8",
                   QStringLiteral("Markieren Sie die im Projekt enthaltenden Komponenten."),
                   rect(450, 495, 4695, 210), Fit::Line);
    // Narrower than laid out, so that the column beside it has room for four
    // commands and the hint under them.
    LDateien = list(Map2, "LDateien", rect(360, 1260, 5040, 2910));
    LDateien->setAccessibleName(QStringLiteral("Komponenten"));
    bHinzufuegen =
        button(Map2, "bHinzufügen", QStringLiteral("&Hinzufügen"), rect(5520, 1260, 1860, 420));
    // Two lines: the command's name is wider than the column; the column's
    // buttons are as wide as the text under them.
    bUebernehmen = button(Map2, "bÜbernehmen", QStringLiteral("Aus &Projekt\nübernehmen …"),
                          rect(5520, 1755, 1860, 570));
    bLoeschen = button(Map2, "bLöschen", QStringLiteral("&Löschen"), rect(5520, 2400, 1860, 420));
    // The one command that changes a project, not the catalogue: last.
    bAbgleichen = button(Map2, "bAbgleichen", QStringLiteral("Projekt ab&gleichen …"),
                         rect(5520, 2895, 1860, 420));
    bAbgleichen->setAccessibleName(QStringLiteral("Projekt abgleichen"));
    RInfotip = label(Map2, "RInfotip",
                     QStringLiteral("Klicken Sie einen List-Eintrag mit der rechten Taste an, um "
                                    "eine benutzer- definierte Hilfe einzugeben."),
                     rect(5535, 3480, 1860, 1035), Fit::Wrap, small, QColor(0x80, 0x80, 0x80));
    RCaption = label<ClickLabel>(Map2, "RCaption", QString(), rect(5535, 3480, 1750, 1035),
                                 Fit::Wrap, Fonts::tahoma(8.25), QColor(0x80, 0x80, 0x80));
    RCaption->hide();
    bMarkieren = checkBox(Map2, "bMarkieren",
                          QStringLiteral("&Markierungen der verwendeten Komponenten speichern "),
                          rect(360, 4230, 5040, 285));
    LSorted = list(Map2, "LSorted", rect(1080, 1755, 4650, 2340));
    LSorted->setSortingEnabled(true);
    LSorted->hide();
    LSorted->setEnabled(false);

    // Page 3, project.
    Label3 = label(Map3, "Label3", QStringLiteral("Bezeichnung für den Projektordner"),
                   rect(270, 225, 3210, 210), Fit::Line, title);
    Label7 =
        label(Map3, "Label7", QStringLiteral("Geben Sie einen Namen für den Projektordner ein."),
              rect(450, 495, 4125, 210), Fit::Line);
    Label1 = label(Map3, "Label1", QStringLiteral("&Neuer Projektname:"),
                   rect(435, 1395, 1650, 210), Fit::Line);
    tBezeichnung = textBox(Map3, "tBezeichnung", rect(450, 1665, 5865, 315));
    // Before bZeigeProjekt ("A&nschließend") exists: of two Alt+N, the first
    // registered wins the first press, and that must be the name box.
    Label1->setBuddy(tBezeichnung);
    bUnterordner =
        checkBox(Map3, "bUnterordner", QStringLiteral("P&rojektnamen als Unterordner verwenden "),
                 rect(450, 2025, 5865, 285));
    bUnterordner->setChecked(true);
    Label2 = label(Map3, "Label2", QStringLiteral("&Projektordner festlegen"),
                   rect(435, 2520, 1935, 210), Fit::Line);
    tProjekte = textBox(Map3, "tProjekte", rect(450, 2790, 5280, 315));
    Label2->setBuddy(tProjekte);
    bOrdner = button(Map3, "bOrdner", QStringLiteral("..."), rect(5805, 2775, 510, 330));
    bOrdner->setFont(Fonts::tahoma(9));
    bOrdner->setAccessibleName(QStringLiteral("Projektordner wählen"));
    bMerkeOrdner =
        checkBox(Map3, "bMerkeOrdner", QStringLiteral("&Ordner für nächste Projekte merken "),
                 rect(450, 3150, 5865, 285));
    bZeigeProjekt =
        checkBox(Map3, "bZeigeProjekt", QStringLiteral("A&nschließend Projektdatei anzeigen "),
                 rect(450, 3420, 5865, 285));
    bZeigeProjekt->setChecked(true);
    Label12 = label(Map3, "Label12",
                    QStringLiteral("Wenn Sie dem Projekt und den Ordner den gleichen Namen geben "
                                   "möchten, empfiehlt es sich die Optionsschaltfläche "
                                   "\"Unterordner\" zu aktivieren."),
                    rect(450, 4095, 5775, 465), Fit::Wrap, small, QColor(0x95, 0x9E, 0xA2));

    // Page 4, progress.
    Picture2 = sidePicture(Map4, "Picture2");
    Label10 = label(Map4, "Label10", QStringLiteral("Die Projektdateien werden"),
                    rect(2745, 450, 3000, 270), Fit::Line, heading);
    Label9 = label(Map4, "Label9", QStringLiteral("im angegebenen Ordner erstellt ..."),
                   rect(2745, 720, 3840, 270), Fit::Line, heading);
    Label11 = label(Map4, "Label11",
                    QStringLiteral("Bitte haben Sie einen Moment Geduld, während im "
                                   "Projektordner die ausgewählten Formulare und Module "
                                   "erstellt werden."),
                    rect(2745, 1665, 3700, 705), Fit::Wrap);
    Fortschritt = make<QProgressBar>(Map4, "Fortschritt");
    Fortschritt->setGeometry(rect(2745, 2520, 3700, 240));
    Fortschritt->setRange(0, kProgressSteps);
    Fortschritt->setValue(0);
    Fortschritt->setTextVisible(false);
    RFortschritt = label(Map4, "RFortschritt", QString(), rect(2745, 2835, 3700, 420), Fit::Wrap);

    // Page 5, finished.
    Picture4 = sidePicture(Map5, "Picture4");
    Label16 = label(Map5, "Label16", QStringLiteral("Die Projektdateien wurden"),
                    rect(2745, 450, 3000, 270), Fit::Line, heading);
    Label17 = label(Map5, "Label17", QStringLiteral("im Ordner erfolgreich erstellt ..."),
                    rect(2745, 720, 3600, 270), Fit::Line, heading);
    Label15 = label(Map5, "Label15",
                    QStringLiteral("Die Projektdateien inklusive Formulare und Module wurde "
                                   "erfolgreich erstellt. "),
                    rect(2745, 1665, 3700, 570), Fit::Wrap);
    Label18 = label(Map5, "Label18",
                    QStringLiteral("Klicken Sie auf \"Beenden\" um den Assistenten zu schließen "
                                   "und das Projekt in Microsoft Visual Basic zu öffnen."),
                    rect(2745, 2295, 3700, 930), Fit::Wrap);

    // Last of the window's own controls, as before the pages were built apart.
    FileCheck = list(m_root, "FileCheck", rect(90, 135, 2355, 4440));
    FileCheck->setFont(Fonts::tahoma(9));
    FileCheck->hide();
    FileCheck->setEnabled(false);

    // Sized once their buddies are set: with a buddy the "&" takes no room.
    m_sizedLater = {Label4, Label8,  Label3, Label7,  Label1,
                    Label2, Label10, Label9, Label16, Label17};

    // Tab order over the controls that can take the focus; the pages, labels
    // and picture boxes take none, the two links come last.
    QWidget* const order[] = {bZurueck,     bWeiter,   bAbbrechen,  LDateien,     bHinzufuegen,
                              bUebernehmen, bLoeschen, bAbgleichen, bMarkieren,   tBezeichnung,
                              bUnterordner, tProjekte, bOrdner,     bMerkeOrdner, bZeigeProjekt,
                              LSorted,      FileCheck, tStdProjekt, tProjektKopie};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
