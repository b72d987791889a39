#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The copy tool's window: pick a folder, copy the presets into it, see what happened.
class CopyWindow : public QWidget
{
    Q_OBJECT
public:
    explicit CopyWindow(const QString& sourceFolder, QWidget* parent = nullptr);

    QLineEdit* tZiel = nullptr;
    QPushButton* bZiel = nullptr;
    QProgressBar* pFortschritt = nullptr;
    QPushButton* bKopieren = nullptr;
    QPushButton* bSchliessen = nullptr;

    void bZiel_Click();
    void bKopieren_Click();

private:
    QString m_source;
};
