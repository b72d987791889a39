#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// What both programs' command lines share: the options they both know, the
// parse that never takes an option as the value of another and says every
// problem in German, and the help's list of options.
namespace Cli {

// "--name", or "-n" for a name of one letter.
QString dashed(const QString& name);
// The option's names and its value: "-h, --help", "--von ORDNER".
QString withValue(const QCommandLineOption& option);
// One line per option with what it does; options hidden from the help left out.
QString optionList(const QList<QCommandLineOption>& options);

QCommandLineOption dataFolderOption(); // --von ORDNER
QCommandLineOption helpOption();       // -h, --help
QCommandLineOption versionOption();    // --version

// A relative path counts from the working folder, as the shell means it.
QString fromWorkingFolder(const QString& path);

// "<program> <version>"
QString versionOf(const QString& program);

// Parses `arguments` (the program's path first) into `parser`, which gets
// `options`. An option with a value takes the next argument that is no option.
// The German problem of a bad line, which for an unknown option points at
// `program`'s help; empty when the line parsed.
QString parse(QCommandLineParser& parser, const QStringList& arguments,
              const QList<QCommandLineOption>& options, const QString& program);

// The folder of --von, absolute; empty without --von. `problem` gets why the
// folder given cannot be used: named twice, missing, or no folder.
QString dataFolderOf(const QCommandLineParser& parser, QString* problem);

} // namespace Cli
