#pragma once

#include "catalog/Snapshot.h"
#include "cli/ArgumentParsing.h"
#include "cli/Output.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The command line of vorlagen: one small class per task, chosen by its option
// (`--liste`, `--pruefen` …). A task parses, calls the core, reports; the core
// does the reading, changing and saving, as it does for the window.
namespace Cli {

// What the command line gave the chosen task.
struct Arguments
{
    // The values of the task's option and, for a task of many, the arguments after it.
    QStringList values;
    const QCommandLineParser& parser;
    // The catalogue as read before the task runs; always readable and understood.
    const Catalog::Snapshot& catalogue;

    bool isSet(const QString& option) const { return parser.isSet(option); }
};

class Command
{
public:
    virtual ~Command() = default;

    virtual QString name() const = 0; // the option that chooses the task, without "--"
    virtual QString description() const = 0;
    // "DATEI" for a task that takes values; empty for a plain switch.
    virtual QString valueName() const { return {}; }
    // Whether further arguments after the value belong to the task too.
    virtual bool takesMany() const { return false; }
    // The options that go with the task; of these, the ones it cannot run
    // without, and the ones that may stand more than once.
    virtual QList<QCommandLineOption> options() const { return {}; }
    virtual QStringList required() const { return {}; }
    virtual QStringList repeatable() const { return {}; }

    virtual int execute(const Arguments& arguments, Output& output) = 0;
};

// Options that more than one task knows.
QCommandLineOption jsonOption();
QCommandLineOption overwriteOption();
QCommandLineOption componentOption();
QCommandLineOption previewOption();

// Opens a file with the desktop's handler (xdg-open, not waited for); the
// German reason when it could not be started, else empty. Tests put a recorder
// in its place; an empty one restores it.
QString openFile(const QString& path);
void setFileOpener(std::function<QString(const QString&)> opener);

// The indexes into `names` of those the task's --komponente values name, letter
// case aside, in the order given; a value that names none is said
// (kNotInProject), and then the answer is false.
bool namedIndexes(const Arguments& arguments, const QStringList& names, Output& output,
                  QList<int>* chosen);

} // namespace Cli
