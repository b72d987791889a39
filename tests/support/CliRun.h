#pragma once

#include "cli/CommandLine.h"
#include "support/FullDevice.h"
#include "support/TestFolder.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// The command line run in-process: exit code, standard output and standard error as written.
namespace CliRun {

struct Ran
{
    int code = 0;
    QString out{}, err{};
    bool operator==(const Ran&) const = default;
    friend char* toString(const Ran& r)
    {
        return QTest::toString(QString::number(r.code) + "\nout: " + r.out + "\nerr: " + r.err);
    }
    QJsonArray json() const { return QJsonDocument::fromJson(out.toUtf8()).array(); }
};

// Data folder: the test folder's bin unless one is given. `refused`: "out" or "err" takes nothing.
inline Ran run(const TestFolder& t, QStringList arguments, const QString& refused = {})
{
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    FullDevice refusing;
    if (!arguments.contains("--von"))
        arguments = QStringList{"--von", t.exeFolder()} + arguments;
    Cli::Output output(refused == "out" ? &refusing : static_cast<QIODevice*>(&out),
                       refused == "err" ? &refusing : static_cast<QIODevice*>(&err));
    const int code = Cli::run(QStringList{"vorlagen"} + arguments, output);
    return {code, QString::fromUtf8(out.data()), QString::fromUtf8(err.data())};
}

// A run that writes only messages.
inline Ran said(int code, const QStringList& messages)
{
    return {code, {}, messages.isEmpty() ? "" : messages.join('\n') + '\n'};
}

inline const QStringList kCatalogue =
    QString("[Filelist]|100=Haupt|101=Hilfe|[Filepath]|Haupt=v/|Hilfe=v/|[Filename]|"
            "Haupt=Haupt.frm|Hilfe=Hilfe.bas|[Marked]|Haupt=1|[Caption]|"
            "Hilfe=Rechnen\tund Runden|[Option]|Folder=0")
        .split('|');

struct Folder : TestFolder
{
    Folder()
    {
        write("bin/v/Haupt.frm", "Attribute VB_Name = \"Haupt\"\r\n");
        write("bin/v/Haupt.frx", "\x01\x02");
        write("bin/v/Hilfe.bas", "Attribute VB_Name = \"Hilfe\"\r\n");
        write("bin/QvStandard.bpv", "Type=Exe\r\n");
        writeCatalog(kCatalogue);
    }
};

} // namespace CliRun
