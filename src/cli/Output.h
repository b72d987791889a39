#pragma once

#include <QString>
#include <QTextStream>

#include <functional>

class QIODevice;

// What the programs without a window write, and how they end.
namespace Cli {

// What a program ends with.
enum Exit : int
{
    kDone = 0,
    kProblems = 1,   // done with failures, or problems found
    kNothingDone = 2 // bad arguments, refused by a check, catalogue locked
};

// Data go to one stream, German messages to the other. A write that fails is
// not called done: lost() tells, and data lost is said on the other stream.
class Output
{
public:
    Output(QIODevice* out, QIODevice* err, bool errIsTerminal = false);

    void data(const QString& text); // written as given
    void line(const QString& text); // one line of data
    void message(const QString& text);
    // Overwrites the progress line on standard error; the next message replaces it.
    void progress(const QString& text);
    bool errIsTerminal() const { return m_errIsTerminal; }
    bool lost() const { return m_outLost || m_errLost; }
    // What the program ends with after a run that gave `code`: what was to be
    // said did not arrive, so never "done".
    int exitCode(int code) const;

private:
    QTextStream m_out;
    QTextStream m_err;
    bool m_errIsTerminal;
    bool m_progressShown = false;
    bool m_outLost = false;
    bool m_errLost = false;

    void writeErr(const QString& text);
};

// Runs `run` on the process's standard output and standard error, each written
// straight through, and ends with its exit code.
int onStandardStreams(const std::function<int(Output&)>& run);

} // namespace Cli
