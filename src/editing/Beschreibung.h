#pragma once

#include "ui/BeschreibungUi.h"

#include <QDialog>

// The description dialog: edits one entry's description; OK stores it.
class Beschreibung : public QDialog
{
    Q_OBJECT
public:
    explicit Beschreibung(QWidget* parent = nullptr);

    BeschreibungUi ui;

    // The path as the dialog shows it: whole up to 64 characters, else the
    // folder's first three characters, "..." and the tail from a separator.
    static QString shortenedPath(const QString& folder, const QString& fileName);

    // The description as one catalogue line: line breaks become blanks.
    static QString oneLine(const QString& text);

public slots:
    void bReady_Click();
    void bAbbrechen_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
