#include "cli/Commands.h"
#include "sync/Comparison.h"
#include "sync/SyncTexts.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Cli {

QString CompareCommand::description() const
{
    return QStringLiteral(
        "Vergleicht das Projekt (oder jedes Projekt unter ORDNER) mit der Vorlagenliste, eine "
        "Zeile je Komponente: Projekt, Eintrag, Zustand. Rückgabewert 1, wenn etwas veraltet "
        "oder beidseitig geändert ist.");
}

int CompareCommand::execute(const Arguments& arguments, Output& output)
{
    const QString given = fromWorkingFolder(arguments.values.first());
    QStringList projects{given};
    if (QFileInfo(given).isDir()) {
        QStringList unreadable;
        projects = Sync::findRecords(given, &unreadable);
        for (const QString& text : std::as_const(unreadable))
            output.message(text);
        if (projects.isEmpty()) {
            output.message(Sync::noRecordsText(given));
            return kNothingDone;
        }
    }
    Sync::Comparer comparer(arguments.catalogue);
    int code = kDone;
    bool compared = false;
    QJsonArray json;
    QString lines;
    for (const QString& path : std::as_const(projects)) {
        const Sync::Project project = comparer.compare(path);
        if (const QString problem = Sync::nothingComparedText(project); !problem.isEmpty()) {
            output.message(problem);
            code = kProblems;
            continue;
        }
        compared = true;
        for (const Sync::Component& component : project.components) {
            const QString state = Sync::stateText(component.state);
            if (Sync::wantsUpdate(component.state) || !component.reason.isEmpty())
                code = kProblems;
            if (!component.reason.isEmpty())
                output.message(component.entry + QStringLiteral(": ") + component.reason);
            QJsonArray files;
            for (const Sync::UnitFile& file : component.files)
                files.append(file.projectPath);
            json.append(QJsonObject{{QStringLiteral("projekt"), project.projectFile},
                                    {QStringLiteral("eintrag"), component.entry},
                                    {QStringLiteral("zustand"), state},
                                    {QStringLiteral("dateien"), files}});
            lines += project.projectFile + QLatin1Char('\t') + component.entry + QLatin1Char('\t') +
                     state + QLatin1Char('\n');
        }
    }
    output.data(arguments.isSet(jsonOption().names().first())
                    ? QString::fromUtf8(QJsonDocument(json).toJson())
                    : lines);
    return compared ? code : int(kNothingDone);
}

} // namespace Cli
