#pragma once

#include <QString>
#include <QStringList>

// The system text editor's name as the old tool knew it; the desktop maps it
// onto an installed graphical plain-text editor.
inline const QString kTextEditor = QStringLiteral("Notepad.exe");

// Starts `program` with `arguments` (each one argument, no shell). The caller
// does not wait. Style 1: normal window, 3: maximised. Returns whether it started.
bool StartProgram(const QString& program, const QStringList& arguments, int windowStyle);

// The first installed graphical plain-text editor, or the empty text.
QString FindTextEditor();
