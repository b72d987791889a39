#include "ui/RootTooltips.h"

#include "ui/RootUi.h"
#include "ui/Tooltips.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace RootTooltips {

namespace {
// Kept as texts, like every other setting of the window.
const QString kAutoPop = QStringLiteral("10000");
const QString kInitial = QStringLiteral("400");
const QString kReshow = QStringLiteral("300");
constexpr qint32 kTipWidth = 188;
constexpr qint32 kMargin = 2;
} // namespace

Tooltips_Class& manager()
{
    static Tooltips_Class tips;
    return tips;
}

void setup(QWidget* root, const RootUi& ui, qint32 flags)
{
    Tooltips_Class& tips = manager();
    tips.Create(root, flags);
    const std::pair<QWidget*, const char*> tools[] = {
        {ui.LDateien, "Anzeigen von benutzerdefinierten Hilfethemen der Formulare und Module."},
        {ui.bHinzufuegen, "Hinzufügen von Formularen, Modulen, Steuerelementen oder Resourcen."},
        {ui.bUebernehmen, "Übernimmt die Formulare, Module, Steuerelemente und Ressourcen eines "
                          "vorhandenen Visual-Basic-Projekts."},
        {ui.bLoeschen, "Entfernen der markierten Komponente aus der Datenbank."},
        {ui.bAbgleichen, "Vergleicht die Komponenten eines vorhandenen Visual-Basic-Projekts mit "
                         "der Datenbank und aktualisiert die veralteten."},
        {ui.bMarkieren, "Speichert die markierten Komponenten der Liste für den nächsten Start."},
        {ui.bUnterordner, "Erstellung eines Unterordners (im Projektordner) mit dem Projektnamen."},
        {ui.bMerkeOrdner, "Den Projektordner für die nächste Verwendung speichern."},
        {ui.bZeigeProjekt, "Das Projekt nach der Erstellung in Microsoft Visual Basic anzeigen."},
        {ui.bOrdner, "Auswahl des Projektordners aus der Dateistruktur von Windows."},
        {ui.PHilfe, "Hilfethemen zu Velkaro Visual Code-Vorgix anzeigen."},
        // The page itself, silent: no tip over its free area.
        {ui.Map2, ""}};
    for (const auto& [control, text] : tools)
        tips.AddTool(control, 0, QString::fromUtf8(text));
    tips.SetDelayTime(Tooltips_Class::TTDT_AUTOPOP, kAutoPop.toInt());
    tips.SetDelayTime(Tooltips_Class::TTDT_INITIAL, kInitial.toInt());
    tips.SetDelayTime(Tooltips_Class::TTDT_RESHOW, kReshow.toInt());
    tips.setMaxTipWidth(kTipWidth);
    tips.setTitle(QString());
    tips.setMarginBottom(kMargin);
    tips.setMarginRight(kMargin);
    tips.setMarginLeft(kMargin);
    tips.setMarginTop(kMargin);
}

void refresh(const RootUi& ui)
{
    manager().SetTipText(ui.LDateien, ui.RCaption->text());
}

void teardown()
{
    manager().HideTips();
}

} // namespace RootTooltips
