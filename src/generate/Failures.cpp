#include "generate/Failures.h"

namespace Generate {

QString failureList(const QString& heading, const QList<Failure>& failures)
{
    QString text = heading;
    for (const Failure& failure : failures)
        text += QLatin1Char('\n') + failure.file + QStringLiteral(": ") + failure.reason;
    return text;
}

QString failureReport(const QList<Failure>& failures)
{
    if (failures.isEmpty())
        return {};
    return failureList(QStringLiteral("Folgende Dateien konnten nicht erstellt werden:"), failures);
}

} // namespace Generate
