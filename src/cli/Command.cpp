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
            QStringLiteral("Mit --neu: dieser Eintrag statt der markierten. Mit --uebernehmen "
                           "und --aktualisieren: nur diese Komponente des Projekts. Darf "
                           "mehrmals stehen."),
            QStringLiteral("NAME")};
}

QCommandLineOption previewOption()
{
    return {QStringLiteral("vorschau"),
            QStringLiteral("Mit --neu: die Kopien und den Text von .vbp und .vbw ausgeben. Mit "
                           "--aktualisieren: die Kopien und den neuen Text der .vbp ausgeben. "
                           "Nichts schreiben.")};
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

bool namedIndexes(const Arguments& arguments, const QStringList& names, Output& output,
                  QList<int>* chosen)
{
    bool known = true;
    for (const QString& given : arguments.parser.values(componentOption())) {
        const qsizetype before = chosen->size();
        for (int i = 0; i < names.size(); ++i) {
            if (names.at(i).compare(given, Qt::CaseInsensitive) == 0)
                *chosen << i;
        }
        if (chosen->size() == before) {
            output.message(kNotInProject.arg(given));
            known = false;
        }
    }
    return known;
}

} // namespace Cli
