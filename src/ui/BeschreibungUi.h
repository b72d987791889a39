#pragma once

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QDialog;

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
};
