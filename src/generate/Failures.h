#pragma once

#include <QList>
#include <QString>

namespace Generate {

// One file the generation could not create, and why (German, for the user).
struct Failure
{
    QString file;
    QString reason;

    bool operator==(const Failure&) const = default;
};

// The warning shown before the finish page: a heading and one line per failure;
// the empty text when nothing failed.
QString failureReport(const QList<Failure>& failures);

// Reasons, shared by the copy run and the project file writer.
namespace Reason {
inline const QString kSourceMissing = QStringLiteral("Quelldatei nicht gefunden");
inline const QString kBadFileName = QStringLiteral("ungültiger Dateiname im Katalog");
inline const QString kNoFileName = QStringLiteral("kein Dateiname im Katalog");
inline const QString kNoFolder = QStringLiteral("Projektordner konnte nicht angelegt werden");
inline const QString kCopyFailed = QStringLiteral("Kopieren fehlgeschlagen");
inline const QString kTemplateUnreadable = QStringLiteral("Projektvorlage nicht lesbar");
inline const QString kWriteFailed = QStringLiteral("Schreiben fehlgeschlagen");
} // namespace Reason

} // namespace Generate
