#include "generate/Failures.h"

namespace Generate {

QString failureReport(const QList<Failure>& failures)
{
    if (failures.isEmpty())
        return {};
    QString text = QStringLiteral("Folgende Dateien konnten nicht erstellt werden:");
    for (const Failure& failure : failures)
        text += QLatin1Char('\n') + failure.file + QStringLiteral(": ") + failure.reason;
    return text;
}

} // namespace Generate
