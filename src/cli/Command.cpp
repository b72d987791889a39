#include "cli/Command.h"

#include "cli/Texts.h"

#include <QProcess>
#include <QStandardPaths>

namespace Cli {

QCommandLineOption jsonOption()
{
    return {QStringLiteral("json"), QStringLiteral("Ausgabe als JSON, für Skripte.")};
}

QCommandLineOption overwriteOption()
{
    return {QStringLiteral("ueberschreiben"),
            QStringLiteral("Mit --neu: verwendet einen schon vorhandenen Projektordner. Mit "
                           "--hinzufuegen: ersetzt einen Eintrag gleichen Namens.")};
}

QCommandLineOption componentOption()
{
    return {QStringLiteral("komponente"),
            QStringLiteral("Mit --neu: dieser Eintrag statt der markierten. Mit --uebernehmen: "
                           "nur diese Komponente des Projekts. Darf mehrmals stehen."),
            QStringLiteral("NAME")};
}

namespace {
std::function<QString(const QString&)>& fileOpener()
{
    static std::function<QString(const QString&)> opener;
    return opener;
}
} // namespace

QString openFile(const QString& path)
{
    if (fileOpener())
        return fileOpener()(path);
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty())
        return kNoOpener;
    return QProcess::startDetached(program, {path}) ? QString() : kOpenerNotStarted;
}

void setFileOpener(std::function<QString(const QString&)> opener)
{
    fileOpener() = std::move(opener);
}

} // namespace Cli
