#include "ui/RootUi.h"

#include "ui/Widgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {
template <typename T>
T* make(QWidget* parent, const char* name, const QString& text = {})
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromUtf8(name));
    if constexpr (requires { w->setText(text); })
        w->setText(text);
    return w;
}
} // namespace

// Provisional: controls with their names and parents; the exact layout follows.
void RootUi::setupUi(QWidget* Root)
{
    Root->setObjectName(QStringLiteral("Root"));
    Root->setWindowTitle(QStringLiteral("Velkaro Quorvix-Vorgix"));
    Root->setFixedSize(499, 358);

    Map1 = make<PictureBox>(Root, "Map1");
    Map2 = make<PictureBox>(Root, "Map2");
    Map3 = make<PictureBox>(Root, "Map3");
    Map4 = make<PictureBox>(Root, "Map4");
    Map5 = make<PictureBox>(Root, "Map5");
    for (PictureBox* page : {Map1, Map2, Map3, Map4, Map5})
        page->setGeometry(-3, -3, 500, 316);
    Map4->hide();
    Map5->hide();

    Picture3 = make<PictureBox>(Map1, "Picture3");
    Label5 = make<QLabel>(Map1, "Label5", QStringLiteral("Velkaro Quorvix-Vorgix for"));
    Label6 = make<QLabel>(Map1, "Label6", QStringLiteral("Microsoft Visual Studio 6.0"));
    Label13 = make<QLabel>(Map1, "Label13");
    tStdProject = make<ClickLabel>(Map1, "tStdProject");
    tStdProjekt = make<ClickLabel>(Map1, "tStdProjekt", QStringLiteral("hier"));
    tProjektCopy = make<QLabel>(Map1, "tProjektCopy");
    tProjektKopie = make<ClickLabel>(Map1, "tProjektKopie", QStringLiteral("hier"));
    Label14 = make<QLabel>(Map1, "Label14");

    Label4 = make<QLabel>(Map2, "Label4");
    Label8 = make<QLabel>(Map2, "Label8");
    LDateien = make<QListWidget>(Map2, "LDateien");
    LDateien->setGeometry(24, 84, 364, 194);
    bHinzufuegen = make<QPushButton>(Map2, "bHinzufügen", QStringLiteral("&Hinzufügen"));
    bLoeschen = make<QPushButton>(Map2, "bLöschen", QStringLiteral("&Löschen"));
    RInfotip = make<QLabel>(Map2, "RInfotip");
    RCaption = make<ClickLabel>(Map2, "RCaption");
    RCaption->hide();
    bMarkieren = make<QCheckBox>(Map2, "bMarkieren",
                                 QStringLiteral("&Markierungen der verwendeten Komponenten speichern "));
    LSorted = make<QListWidget>(Map2, "LSorted");
    LSorted->hide();
    LSorted->setEnabled(false);

    Label3 = make<QLabel>(Map3, "Label3");
    Label7 = make<QLabel>(Map3, "Label7");
    Label1 = make<QLabel>(Map3, "Label1", QStringLiteral("&Neuer Projektname:"));
    tBezeichnung = make<QLineEdit>(Map3, "tBezeichnung");
    bUnterordner = make<QCheckBox>(Map3, "bUnterordner",
                                   QStringLiteral("P&rojektnamen als Unterordner verwenden "));
    bUnterordner->setChecked(true);
    Label2 = make<QLabel>(Map3, "Label2", QStringLiteral("&Projektordner festlegen"));
    tProjekte = make<QLineEdit>(Map3, "tProjekte");
    bOrdner = make<QPushButton>(Map3, "bOrdner", QStringLiteral("..."));
    bMerkeOrdner = make<QCheckBox>(Map3, "bMerkeOrdner",
                                   QStringLiteral("&Ordner für nächste Projekte merken "));
    bZeigeProjekt = make<QCheckBox>(Map3, "bZeigeProjekt",
                                    QStringLiteral("A&nschließend Projektdatei anzeigen "));
    bZeigeProjekt->setChecked(true);
    Label12 = make<QLabel>(Map3, "Label12");
    Label1->setBuddy(tBezeichnung);
    Label2->setBuddy(tProjekte);

    Picture2 = make<PictureBox>(Map4, "Picture2");
    Label10 = make<QLabel>(Map4, "Label10", QStringLiteral("Die Projektdateien werden"));
    Label9 = make<QLabel>(Map4, "Label9", QStringLiteral("im angegebenen Ordner erstellt ..."));
    Label11 = make<QLabel>(Map4, "Label11");

    Picture4 = make<PictureBox>(Map5, "Picture4");
    Label16 = make<QLabel>(Map5, "Label16", QStringLiteral("Die Projektdateien wurden"));
    Label17 = make<QLabel>(Map5, "Label17", QStringLiteral("im Ordner erfolgreich erstellt ..."));
    Label15 = make<QLabel>(Map5, "Label15");
    Label18 = make<QLabel>(Map5, "Label18");

    Frame1 = make<QFrame>(Root, "Frame1");
    Frame1->hide();
    Frame2 = make<QLabel>(Root, "Frame2", QStringLiteral("Label1"));
    PHilfe = make<ClickLabel>(Root, "PHilfe");
    bZurueck = make<QPushButton>(Root, "bZurück", QStringLiteral("< &Zurück"));
    bZurueck->setGeometry(234, 324, 82, 28);
    bZurueck->setEnabled(false);
    bWeiter = make<QPushButton>(Root, "bWeiter", QStringLiteral("&Weiter >"));
    bWeiter->setGeometry(318, 324, 82, 28);
    bAbbrechen = make<QPushButton>(Root, "bAbbrechen", QStringLiteral("&Abbrechen"));
    bAbbrechen->setGeometry(408, 324, 82, 28);
    for (QPushButton* b : {bZurueck, bWeiter, bAbbrechen})
        b->setAutoDefault(false);
    FileCheck = make<QListWidget>(Root, "FileCheck");
    FileCheck->hide();
    FileCheck->setEnabled(false);
}
