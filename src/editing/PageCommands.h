#pragma once

#include <QObject>

class QWidget;
class RootUi;

// The small commands around the pages: the help icon, the folder button, the
// Enter chain and select-on-focus of the project page, and the two links of
// the welcome page (edit the project template, start the copy tool).
class PageCommands : public QObject
{
    Q_OBJECT
public:
    PageCommands(RootUi& ui, QWidget* window);

    void PHilfe_Click();
    void bOrdner_Click();
    void tStdProjekt_Click();
    void tProjektKopie_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void warn(const QString& text);

    RootUi& ui;
    QWidget* m_window;
};
