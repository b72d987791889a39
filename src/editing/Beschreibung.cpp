#include "editing/Beschreibung.h"

#include "catalog/Catalog.h"
#include "desktop/Desktop.h"
#include "platform/IniDocument.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

Beschreibung::Beschreibung(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    connect(ui.bReady, &QPushButton::clicked, this, &Beschreibung::bReady_Click);
    connect(ui.bAbbrechen, &QPushButton::clicked, this, &Beschreibung::bAbbrechen_Click);
    ui.tCaption->installEventFilter(this);
    ui.tDateiname->installEventFilter(this);
    // The catalogue hands out at most 254 characters; more would be cut when
    // read back, and the next OK would store the cut text for good.
    connect(ui.tCaption->document(), &QTextDocument::contentsChange, this,
            &Beschreibung::limitLength);
}

void Beschreibung::limitLength(int position, int /*removed*/, int added)
{
    const qsizetype excess = ui.tCaption->toPlainText().size() - Ini::kMaxValueLength;
    if (excess <= 0 || added <= 0)
        return;
    // What was just typed or pasted is cut from its end, never text already there.
    QTextDocument* document = ui.tCaption->document();
    const int end = qMin(position + added, document->characterCount() - 1);
    int start = qMax(0, end - int(qMin<qsizetype>(excess, added)));
    QTextCursor cursor(document);
    // Never half of a character outside the basic plane.
    if (start > 0 && document->characterAt(start).isLowSurrogate())
        --start;
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
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
    // Without an entry there is no key to store under.
    const QString name = ui.RName->text();
    if (Ini::trimmed(name).isEmpty()) {
        accept();
        return;
    }
    const FileIo::Result saved =
        Catalog::setCaption(name, Catalog::storedCaption(oneLine(ui.tCaption->toPlainText())));
    if (!saved) {
        // The dialog stays open with the text, so nothing typed is lost.
        QWidget* main = parentWidget() ? parentWidget()->window() : this;
        desktop().message(this, QMessageBox::Warning, QLatin1Char(' ') + main->windowTitle(),
                          Catalog::notSavedText(Catalog::Unsaved::Caption, saved), QMessageBox::Ok);
        return;
    }
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
