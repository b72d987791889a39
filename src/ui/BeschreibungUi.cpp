#include "ui/BeschreibungUi.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

// Provisional: controls with their names; the exact layout follows.
void BeschreibungUi::setupUi(QDialog* Beschreibung)
{
    Beschreibung->setObjectName(QStringLiteral("Beschreibung"));
    Beschreibung->setWindowTitle(QStringLiteral(" Tooltipps für Objekte"));
    Beschreibung->setFixedSize(355, 217);
    Label1 = new QLabel(Beschreibung);
    Label1->setObjectName(QStringLiteral("Label1"));
    tCaption = new QPlainTextEdit(Beschreibung);
    tCaption->setObjectName(QStringLiteral("tCaption"));
    tDateiname = new QLineEdit(Beschreibung);
    tDateiname->setObjectName(QStringLiteral("tDateiname"));
    tDateiname->setReadOnly(true);
    bReady = new QPushButton(QStringLiteral("&Ok"), Beschreibung);
    bReady->setObjectName(QStringLiteral("bReady"));
    bReady->setDefault(true);
    bAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), Beschreibung);
    bAbbrechen->setObjectName(QStringLiteral("bAbbrechen"));
    RName = new QLabel(QStringLiteral("<NAME>"), Beschreibung);
    RName->setObjectName(QStringLiteral("RName"));
    RName->hide();
    RName->setEnabled(false);
}
