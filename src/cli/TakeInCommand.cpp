#include "catalog/TakeIn.h"
#include "cli/Commands.h"
#include "cli/Texts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Cli {

QString TakeInCommand::description() const
{
    return QStringLiteral("Übernimmt die neuen Komponenten der Projektdatei in die Vorlagenliste, "
                          "so viele hineinpassen, oder nur die mit --komponente genannten; alle "
                          "mit einer Speicherung. Die Zusammenfassung steht auf der "
                          "Standardfehlerausgabe.");
}

QList<QCommandLineOption> TakeInCommand::options() const
{
    return {componentOption(), jsonOption()};
}

int TakeInCommand::execute(const Arguments& arguments, Output& output)
{
    const Catalog::Intake intake = Catalog::planIntake(arguments.values.first());
    if (!intake.problem.isEmpty()) {
        output.message(intake.problem);
        return kNothingDone;
    }
    const QString component = componentOption().names().first();
    QList<int> chosen;
    if (arguments.isSet(component)) {
        QStringList names;
        for (const Catalog::Candidate& candidate : intake.candidates)
            names << candidate.name;
        if (!namedIndexes(arguments, names, output, &chosen))
            return kNothingDone;
    } else {
        // Every line: only new ones go in, and the summary names each other one
        // with its reason.
        for (int i = 0; i < intake.candidates.size(); ++i)
            chosen << i;
    }

    const Catalog::IntakeOutcome outcome = Catalog::takeIn(intake, chosen);
    output.message(Catalog::summaryText(outcome));
    if (arguments.isSet(jsonOption().names().first())) {
        QJsonArray lines;
        for (int i = 0; i < intake.candidates.size(); ++i) {
            const Catalog::Candidate& c = intake.candidates.at(i);
            const bool taken = outcome.takenIndexes.contains(i);
            QString reason = taken ? QString() : c.reason;
            for (const Catalog::IntakeOutcome::Left& left : outcome.left) {
                if (left.index == i)
                    reason = left.reason;
            }
            lines.append(
                QJsonObject{{QStringLiteral("name"), c.name},
                            {QStringLiteral("art"), Catalog::label(c.component.kind)},
                            {QStringLiteral("datei"),
                             c.fileName.isEmpty() ? c.component.rawPath : c.folder + c.fileName},
                            {QStringLiteral("zustand"), Catalog::stateText(c.state)},
                            {QStringLiteral("uebernommen"), taken},
                            {QStringLiteral("grund"), reason}});
        }
        output.data(QString::fromUtf8(QJsonDocument(lines).toJson()));
    }
    if (!outcome.result.ok())
        return kNothingDone;
    return !chosen.isEmpty() && outcome.left.isEmpty() ? kDone : kProblems;
}

} // namespace Cli
