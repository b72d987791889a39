#pragma once

#include "cli/Command.h"

#include <QString>
#include <QStringList>

namespace Cli {

// Every option and task with what it does, and the exit codes.
QString helpText();

// Runs one command line (the program's name first): parses it, points the
// program at the data folder of --von and hands the rest to the chosen task.
// Bad arguments give a German message and kNothingDone before anything is read.
int run(const QStringList& arguments, Output& output);

// The program with arguments: a QCoreApplication, standard output and standard
// error, and run().
int runWithoutWindow(int argc, char* argv[]);

} // namespace Cli
