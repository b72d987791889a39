#pragma once

#include "platform/FileIo.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

class QIODevice;

// The command line of vorlagen: one small class per task, chosen by its option
// (`--liste`, `--pruefen` …). A task parses, calls the core, reports; the core
// does the reading, changing and saving, as it does for the window.
namespace Cli {

// What the program ends with.
enum Exit : int
{
    kDone = 0,
    kProblems = 1,   // done with failures, or problems found
    kNothingDone = 2 // bad arguments, refused by a check, catalogue locked
};

// Data go to one stream, German messages to the other.
class Output
{
public:
    Output(QIODevice* out, QIODevice* err, bool errIsTerminal = false);

    void data(const QString& text); // written as given
    void line(const QString& text); // one line of data
    void message(const QString& text);
    bool errIsTerminal() const { return m_errIsTerminal; }

private:
    QTextStream m_out;
    QTextStream m_err;
    bool m_errIsTerminal;
};

// What the command line gave the chosen task.
struct Arguments
{
    // The values of the task's option and, for a task of many, the arguments after it.
    QStringList values;
    const QCommandLineParser& parser;

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
    // The options that go with the task.
    virtual QList<QCommandLineOption> options() const { return {}; }

    virtual int execute(const Arguments& arguments, Output& output) = 0;
};

// Options that more than one task knows.
QCommandLineOption jsonOption();

// The catalogue file's bytes, read once; a missing file is an empty catalogue.
FileIo::Result readCatalogue(QByteArray* bytes);

} // namespace Cli
