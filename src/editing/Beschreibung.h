#pragma once

#include "ui/BeschreibungUi.h"

#include <QDialog>

// The description dialog: edits one entry's description, at most 254
// characters; OK stores it so that it reads back as typed, and says so when the
// catalogue could not be written.
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

private slots:
    void limitLength(int position, int removed, int added);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
