#include "ui/BeschreibungUi.h"

#include "ui/Fonts.h"
#include "ui/Twips.h"
#include "ui/Widgets.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

using namespace twips;

namespace {
constexpr QSize kDialogSize(355, 217);
} // namespace

void BeschreibungUi::setupUi(QDialog* Beschreibung)
{
    Beschreibung->setObjectName(QStringLiteral("Beschreibung"));
    Beschreibung->setWindowTitle(QStringLiteral(" Tooltipps für Objekte"));
    Beschreibung->setWindowFlags(Qt::Dialog | kFixedFrame);
    Beschreibung->setFixedSize(kDialogSize);
    Beschreibung->setFont(Fonts::windowFont());

    Label1 = label(Beschreibung, "Label1",
                   QStringLiteral("Bitte geben Sie eine definierte Beschreibung für die markierte "
                                  "Komponente ein."),
                   rect(150, 180, 4290, 465), Fit::Wrap, Fonts::condensed(9, true));

    tCaption = make<PlainTextBox>(Beschreibung, "tCaption");
    tCaption->setGeometry(rect(135, 765, 5055, 1545));
    makeFlat(tCaption);
    // Tab walks on to the next control, as in every other box of the wizard.
    tCaption->setTabChangesFocus(true);

    auto* dateiname = make<FlatLineEdit>(Beschreibung, "tDateiname");
    dateiname->setGeometry(rect(135, 2340, 5055, 285));
    dateiname->setFont(Fonts::condensed(8.25));
    {
        QPalette palette = dateiname->palette();
        palette.setColor(QPalette::Text, QColor(0x80, 0x80, 0x80));
        dateiname->setPalette(palette);
    }
    dateiname->setText(QStringLiteral("C:\\Eigene Dateien\\Programme\\..."));
    dateiname->setReadOnly(true);
    tDateiname = dateiname;

    bReady = make<QPushButton>(Beschreibung, "bReady");
    bReady->setText(QStringLiteral("&Ok"));
    bReady->setGeometry(rect(2655, 2745, 1230, 420));
    bReady->setDefault(true);

    bAbbrechen = make<QPushButton>(Beschreibung, "bAbbrechen");
    bAbbrechen->setText(QStringLiteral("&Abbrechen"));
    bAbbrechen->setGeometry(rect(3960, 2745, 1230, 420));
    bAbbrechen->setAutoDefault(false);

    RName = label(Beschreibung, "RName", QStringLiteral("<NAME>"), rect(135, 2790, 1245, 210),
                  Fit::Wrap);
    RName->hide();
    RName->setEnabled(false);

    escape = new QShortcut(QKeySequence(Qt::Key_Escape), Beschreibung);
    escape->setObjectName(QStringLiteral("escape"));
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, bAbbrechen, &QAbstractButton::click);

    QWidget::setTabOrder(tCaption, tDateiname);
    QWidget::setTabOrder(tDateiname, bReady);
    QWidget::setTabOrder(bReady, bAbbrechen);
}
