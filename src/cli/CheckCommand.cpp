#include "catalog/Health.h"
#include "cli/Commands.h"
#include "cli/Texts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Cli {

QString CheckCommand::description() const
{
    return QStringLiteral("Was an der Vorlagenliste, ihren Dateien und der Projektvorlage nicht "
                          "stimmt, eine Zeile je Befund.");
}

int CheckCommand::execute(const Arguments& arguments, Output& output)
{
    const QList<Catalog::Finding> findings = Catalog::health(arguments.catalogue);
    if (arguments.isSet(jsonOption().names().first())) {
        QJsonArray array;
        for (const Catalog::Finding& finding : findings) {
            array.append(QJsonObject{{QStringLiteral("eintrag"), finding.entry},
                                     {QStringLiteral("befund"), finding.kind},
                                     {QStringLiteral("text"), finding.text}});
        }
        output.data(QString::fromUtf8(QJsonDocument(array).toJson()));
    } else {
        QString text;
        for (const Catalog::Finding& finding : findings)
            text += QString(finding.text).replace(QLatin1Char('\n'), QLatin1Char(' ')) +
                    QLatin1Char('\n');
        output.data(text);
    }
    if (findings.isEmpty())
        output.message(kNothingWrong);
    return findings.isEmpty() ? kDone : kProblems;
}

} // namespace Cli
