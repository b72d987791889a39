#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace Generate {
struct CopyControl;
}

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
    // In place of bSchließen while a copy runs.
    QPushButton* bAbbrechen = nullptr;

    void bZiel_Click();
    void bKopieren_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString m_source;
    Generate::CopyControl* m_copy = nullptr; // while a copy runs
};
