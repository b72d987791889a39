#pragma once

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QDialog;
class QShortcut;

// The description dialog's controls, laid out on a given dialog.
class BeschreibungUi
{
public:
    void setupUi(QDialog* Beschreibung);

    QLabel* Label1 = nullptr;
    QPlainTextEdit* tCaption = nullptr;
    QLineEdit* tDateiname = nullptr;
    QPushButton* bReady = nullptr;
    QPushButton* bAbbrechen = nullptr;
    QLabel* RName = nullptr;

    // Esc presses bAbbrechen instead of rejecting the dialog behind its back.
    QShortcut* escape = nullptr;
};
