#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

} // namespace Bench
