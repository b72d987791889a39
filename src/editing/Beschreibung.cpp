#include "editing/Beschreibung.h"

#include "catalog/Catalog.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

Beschreibung::Beschreibung(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    connect(ui.bReady, &QPushButton::clicked, this, &Beschreibung::bReady_Click);
    connect(ui.bAbbrechen, &QPushButton::clicked, this, &Beschreibung::bAbbrechen_Click);
    ui.tCaption->installEventFilter(this);
    ui.tDateiname->installEventFilter(this);
}

QString Beschreibung::shortenedPath(const QString& folder, const QString& fileName)
{
    const QString full = folder + fileName;
    QString shown = full;
    if (full.size() >= 65)
        shown = QStringLiteral("...") + full.right(60);
    const qsizetype slash = shown.indexOf(QLatin1Char('/'));
    if (slash >= 0 && shown.startsWith(QStringLiteral("...")))
        shown = folder.left(3) + QStringLiteral("...") + shown.mid(slash);
    return shown;
}

QString Beschreibung::oneLine(const QString& text)
{
    // A value is one line in the catalogue; a pasted break must not end it.
    static const QRegularExpression breaks(QStringLiteral("\r\n|[\r\n\u2028\u2029\v\f]"));
    QString line = text;
    line.replace(breaks, QStringLiteral(" "));
    line.remove(QChar(0));
    return line;
}

void Beschreibung::bReady_Click()
{
    Catalog::setCaption(ui.RName->text(), oneLine(ui.tCaption->toPlainText()));
    accept();
}

void Beschreibung::bAbbrechen_Click()
{
    reject();
}

bool Beschreibung::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui.tCaption && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // No line break in a one-line value; Enter belongs to the default button.
            ui.bReady->click();
            return true;
        }
    }
    if (watched == ui.tDateiname && event->type() == QEvent::FocusIn)
        ui.tCaption->setFocus();
    return QDialog::eventFilter(watched, event);
}
