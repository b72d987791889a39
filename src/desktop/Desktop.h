#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Everything that asks the person a modal question, starts an outside program
// or ends the process goes through here, so tests can answer and record instead.
class Desktop
{
public:
    virtual ~Desktop() = default;

    // A message box; the buttons carry German texts. Returns the button pressed.
    virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons) = 0;

    // The open-file dialog, showing `folder` first (the desktop's choice when
    // empty); the empty text when cancelled. `filter` is in the
    // "Label|pattern;pattern|Label|pattern" form.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& folder) = 0;

    // The folder dialog; the empty text when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& title) = 0;

    // Starts a program without a shell and without waiting. Style 1 is a normal
    // window, 3 a maximised one. "Notepad.exe" stands for the desktop's text editor.
    virtual bool startProgram(const QString& program, const QStringList& arguments,
                              int windowStyle) = 0;

    // Opens a local file with the desktop's handler for its type.
    virtual bool openFile(const QString& path) = 0;

    // Ends the program at once: the window's close events do not run.
    virtual void endProgram() = 0;
};

Desktop& desktop();

// The open-file dialog for one existing file, with a filter in the
// "Label|pattern;pattern|Label|pattern" form: its labels read as given, its
// patterns hold in both letter cases, and "*.*" lists every file.
void prepareOpenFileDialog(QFileDialog* dialog, const QString& filter);

// Installs a replacement (tests); nullptr restores the real desktop.
void setDesktop(Desktop* replacement);

// Lets pending window events run. When the program was ended meanwhile, the
// process stops here: every file write is atomic, so nothing is left half-done.
void DoEvents();
