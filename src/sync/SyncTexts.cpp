#include "sync/SyncTexts.h"

#include "sync/Update.h"

#include <QFileInfo>

namespace Sync {

QString stateText(State state)
{
    switch (state) {
    case State::Current:
        return QStringLiteral("aktuell");
    case State::Behind:
        return QStringLiteral("veraltet");
    case State::ChangedInProject:
        return QStringLiteral("im Projekt geändert");
    case State::Conflict:
        return QStringLiteral("beidseitig geändert");
    case State::Deleted:
        return QStringLiteral("im Projekt gelöscht");
    case State::Gone:
        return QStringLiteral("nicht mehr in der Vorlagenliste");
    case State::Unreadable:
        return QStringLiteral("nicht lesbar");
    case State::Equal:
        return QStringLiteral("gleich");
    case State::Differs:
        return QStringLiteral("abweichend, Herkunft unbekannt");
    case State::Unknown:
        return QStringLiteral("nicht in der Vorlagenliste");
    }
    return {};
}

QString unreadableFolderText(const QString& folder, const FileIo::Result& result)
{
    return QStringLiteral("Der Ordner ''%1'' konnte nicht gelesen werden: %2")
        .arg(folder, result.reason());
}

QString nothingComparedText(const Project& project)
{
    if (!project.problem.isEmpty() || !project.components.isEmpty())
        return project.problem;
    return QStringLiteral("Das Projekt ''%1'' enthält keine Komponente, die mit der "
                          "Vorlagenliste verglichen werden könnte.")
        .arg(project.projectFile);
}

QString noRecordsText(const QString& folder)
{
    return QStringLiteral("Unter ''%1'' liegt kein Projekt mit einer Aufzeichnung (.vorlagen), "
                          "die es mit der Vorlagenliste vergleichbar macht.")
        .arg(folder);
}

namespace {

QString names(const QString& heading, const Outcome& outcome, Result::Kind kind)
{
    QStringList entries;
    for (const Result& result : outcome.results) {
        if (result.kind == kind)
            entries << result.entry;
    }
    return entries.isEmpty() ? QString()
                             : heading + entries.join(QStringLiteral(", ")) + QLatin1Char('.');
}

} // namespace

QString summaryText(const Outcome& outcome)
{
    if (outcome.stopped) {
        QString text = outcome.failures.isEmpty()
                           ? QStringLiteral("Abgebrochen. Das Projekt ist wie zuvor.")
                           : Generate::failureList(
                                 QStringLiteral("Nichts wurde aktualisiert, das Projekt ist "
                                                "wie zuvor. Nicht geschrieben werden konnte:"),
                                 outcome.failures);
        if (!outcome.notPutBack.isEmpty())
            text += QLatin1Char('\n') +
                    Generate::failureList(
                        QStringLiteral("Diese Dateien konnten nicht zurückgesetzt werden:"),
                        outcome.notPutBack);
        return text;
    }
    QStringList parts;
    parts << names(QStringLiteral("Aktualisiert: "), outcome, Result::Kind::Updated)
          << names(QStringLiteral("Schon aktuell: "), outcome, Result::Kind::Current)
          << names(QStringLiteral("In die Aufzeichnung aufgenommen: "), outcome,
                   Result::Kind::Recorded);
    QString left;
    for (const Result& result : outcome.results) {
        if (result.kind == Result::Kind::Beside) {
            QStringList files;
            for (const QString& file : result.besides)
                files << QStringLiteral("''") + file + QStringLiteral("''");
            left +=
                QStringLiteral("\n%1: %2; die Fassung der Vorlagenliste steht daneben in %3.")
                    .arg(result.entry, stateText(result.state), files.join(QStringLiteral(", ")));
        } else if (!result.wentIn()) {
            left += QStringLiteral("\n%1: %2").arg(result.entry, result.reason);
        }
    }
    if (!left.isEmpty())
        parts << (outcome.recorded ? QStringLiteral("Nicht aktualisiert:")
                                   : QStringLiteral("Nicht aufgenommen:")) +
                     left;
    if (!outcome.addedLines.isEmpty())
        parts << QStringLiteral("In die Projektdatei aufgenommen:\n") +
                     outcome.addedLines.join(QLatin1Char('\n'));
    if (!outcome.failures.isEmpty())
        parts << Generate::failureList(QStringLiteral("Nicht geschrieben werden konnte:"),
                                       outcome.failures);
    parts.removeAll(QString());
    if (parts.isEmpty())
        return QStringLiteral("Nichts zu aktualisieren.");
    return parts.join(QLatin1Char('\n'));
}

} // namespace Sync
