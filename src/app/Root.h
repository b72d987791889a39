#pragma once

#include "catalog/Catalog.h"
#include "ui/RootUi.h"

#include <QWidget>

#include <functional>

class ComponentCommands;
class ComponentPage;

// The wizard's main window: the catalogue load at start-up and on reload, the
// page navigation and the ways the program ends.
class Root : public QWidget
{
    Q_OBJECT
public:
    // At once: every control and the catalogue before the constructor returns.
    // After the first paint: the welcome page and the bottom strip first, so the
    // window is on screen sooner; the other pages, the commands and the
    // catalogue (with its warnings) right after that paint.
    enum class Build
    {
        AtOnce,
        AfterFirstPaint
    };

    explicit Root(QWidget* parent = nullptr, Build build = Build::AtOnce);
    ~Root() override;

    RootUi ui;

    // Empty at creation; "1" while an added component reloads the list, which
    // then keeps the current page.
    QString reloadFlag;

    // One blank and the window's caption: the title of the wizard's messages.
    QString messageTitle() const;

    // Reads the catalogue into the component list and the remembered options
    // into the project page; resets the pages unless the reload flag is 1.
    void Form_Load();

    // Saves the catalogue's list sorted by name, renumbered from 100.
    void Sortierung();

    // Waits while window events run. Tests may shorten every wait.
    static void Sleep(double seconds);
    static void setSleepScale(double scale);

    // The one warning for a failed write of the catalogue.
    void warnNotSaved(Catalog::Unsaved what, const FileIo::Result& result);

    ComponentPage* componentPage() const { return m_componentPage; }
    ComponentCommands* componentCommands() const { return m_commands; }

public slots:
    void bWeiter_Click();
    void bZurueck_Click();
    void bAbbrechen_Click();

protected:
    // The close box; the program's other ends leave the window as it is.
    void closeEvent(QCloseEvent* event) override;
    // After the first paint the window builds what its other pages need.
    void paintEvent(QPaintEvent* event) override;

private:
    // The other pages, the commands and the catalogue load; once. Weiter or
    // Zurück pressed before the first paint's end does it first.
    void completeWindow();
    void showPage(QWidget* page);
    // Frame1 or Frame2, by the system's version.
    void showSeparator();
    // Page 1 alone, with nothing to go back to.
    void showWelcomePage();
    // A catalogue that cannot be read or understood, entries past the list, a
    // duplicate that could not be dropped.
    void tellAboutCatalogue(const Catalog::Load& load);
    // The folder the project goes into, as the project page's fields give it.
    QString projectFolder() const;
    // From page 3 through page 4 to page 5 (WindowGeneration does the work).
    void generateProject();
    void finishAndEnd();
    // The checked entry names in list order.
    QStringList checkedEntries() const;

    ComponentPage* m_componentPage = nullptr;
    ComponentCommands* m_commands = nullptr;
    // Set while a generation runs: Cancel then stops it first.
    std::function<void()> m_stop;
    // What tellAboutCatalogue last said that lasts; empty when nothing.
    QString m_toldAboutCatalogue;
};
