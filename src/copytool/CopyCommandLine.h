#pragma once

#include "cli/Output.h"

#include <QString>
#include <QStringList>

// QvtrCopy's command line: with --nach it copies the presets without a window,
// for scripts; without it the window opens. Qt Core only.
namespace CopyCommandLine {

inline const QString kProgram = QStringLiteral("QvtrCopy");

// What a command line asks for.
struct Request
{
    QString problem; // a bad line, in German
    bool help = false;
    bool version = false;
    bool copy = false;    // --nach given
    QString source;       // --von, absolute; empty: the wizard's data folder
    QString target;       // --nach, a relative one taken from the working folder
    bool replace = false; // --ueberschreiben

    bool opensWindow() const { return problem.isEmpty() && !help && !version && !copy; }
    // The folder the presets come from; needs the application.
    QString presets() const;
};

// `arguments`: the program's path first.
Request parse(const QStringList& arguments);
Request parse(int argc, char* argv[]);

// Every option with what it does, and the exit codes.
QString helpText();

// Says the problem, the help or the version, or copies: the exit code.
int run(const Request& request, Cli::Output& output);

// The program without a window: a QCoreApplication, standard output and
// standard error, and run().
int runWithoutWindow(int argc, char* argv[], const Request& request);

} // namespace CopyCommandLine
