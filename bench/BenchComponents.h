#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// The component folder the benchmarks share: 101 components, about 50 MB.
namespace Bench {

struct Source
{
    QString entry;
    QString fileName;
};

// 40 forms with 1 MB .frx each, 40 modules, 21 user controls with .ctx files;
// the text files have bare LF line ends, so the CR LF conversion runs. Every
// file written is added to `allFiles`.
QList<Source> makeComponents(const QString& folder, QStringList& allFiles);

// A catalogue at `catalogFile` listing them all in `folder`; every entry
// remembers a reference and a control library (five of each in all). With
// `marked`, every entry is checked.
void writeCatalog(const QList<Source>& sources, const QString& folder, const QString& catalogFile,
                  bool marked = false);

// The middle value; -1 for none.
double median(QList<double> values);

// The folders a benchmark of the program works in, below the folder its first
// argument names (default: the system's temporary folder): `data` for the
// catalogue and the template, `sources` (ending with '/') for the components.
struct Workspace
{
    explicit Workspace(const QString& name);
    QTemporaryDir dir;
    QString root; // ends with '/'
    QString data;
    QString sources;
};

// Runs a program to its end and gives the milliseconds it took; an exit code
// other than 0 ends the benchmark.
double timed(const QString& program, const QStringList& arguments);

// Milliseconds of `cp` of the files into the folder followed by `sync -f`, after
// a sync of everything written before.
double copiedAndSynced(const QStringList& files, const QString& folder);

// Both runs, `a` first in even rounds and `b` first in odd ones, so that neither
// always follows the other.
void inTurns(int round, const std::function<void()>& a, const std::function<void()>& b);

} // namespace Bench
