#pragma once

#include <QList>

class ClickLabel;
class LinkLabel;
class PictureBox;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QShortcut;
class QWidget;

// The main window's controls, laid out on a given window. Every control's
// objectName is its name as written here, with the umlauts of the real names
// (bHinzufügen, bLöschen, bZurück).
class RootUi
{
public:
    // The progress bar's full range; the bytes are scaled to it.
    static constexpr int kProgressSteps = 1000;

    // The whole window at once.
    void setupUi(QWidget* Root);

    // The same in three steps, so the window is on screen sooner: the first
    // makes the five pages and all that the welcome page and the bottom strip
    // show; the second the controls of the other pages; the third what only
    // the other pages and the pointer need (their pictures, the sizes of their
    // one-line texts, the hand cursor). Each runs once per first, in this
    // order; later calls do nothing.
    void setupFirstPaint(QWidget* Root);
    void setupPages();
    void setupRest();
    bool pagesDone() const { return m_pagesDone; }
    bool restDone() const { return m_restDone; }

    // The five pages on one spot; exactly one is shown at a time.
    PictureBox* Map1 = nullptr;
    PictureBox* Map2 = nullptr;
    PictureBox* Map3 = nullptr;
    PictureBox* Map4 = nullptr;
    PictureBox* Map5 = nullptr;

    // Page 1, welcome.
    PictureBox* Picture3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label13 = nullptr;
    ClickLabel* tStdProject = nullptr;
    LinkLabel* tStdProjekt = nullptr;
    QLabel* tProjektCopy = nullptr;
    LinkLabel* tProjektKopie = nullptr;
    QLabel* Label14 = nullptr;

    // Pages 2 to 5 and FileCheck exist once setupPages() ran.

    // Page 2, components.
    QLabel* Label4 = nullptr;
    QLabel* Label8 = nullptr;
    QListWidget* LDateien = nullptr;
    QPushButton* bHinzufuegen = nullptr;
    QPushButton* bUebernehmen = nullptr; // a whole project's components at once
    QPushButton* bLoeschen = nullptr;
    QPushButton* bAbgleichen = nullptr; // a project compared with the catalogue, and updated
    QLabel* RInfotip = nullptr;
    ClickLabel* RCaption = nullptr;
    QCheckBox* bMarkieren = nullptr;
    QListWidget* LSorted = nullptr;

    // Page 3, project.
    QLabel* Label3 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* tBezeichnung = nullptr;
    QCheckBox* bUnterordner = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* tProjekte = nullptr;
    QPushButton* bOrdner = nullptr;
    QCheckBox* bMerkeOrdner = nullptr;
    QCheckBox* bZeigeProjekt = nullptr;
    QLabel* Label12 = nullptr;

    // Page 4, progress.
    PictureBox* Picture2 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label11 = nullptr;
    // Below the texts: the bytes copied of all checked files, and the file in progress.
    QProgressBar* Fortschritt = nullptr;
    QLabel* RFortschritt = nullptr;

    // Page 5, finished.
    PictureBox* Picture4 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label18 = nullptr;

    // Bottom strip.
    QFrame* Frame1 = nullptr;
    QLabel* Frame2 = nullptr;
    ClickLabel* PHilfe = nullptr;
    QPushButton* bZurueck = nullptr;
    QPushButton* bWeiter = nullptr;
    QPushButton* bAbbrechen = nullptr;
    QListWidget* FileCheck = nullptr;

    // Esc anywhere in the window presses bAbbrechen (when it is enabled).
    QShortcut* escape = nullptr;

private:
    // One-line texts on the pages not shown at first, sized by setupRest().
    QList<QLabel*> m_sizedLater;
    QWidget* m_root = nullptr;
    bool m_pagesDone = false;
    bool m_restDone = false;
};
