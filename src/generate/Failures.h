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

// `heading`, then one line "<file>: <reason>" per failure.
QString failureList(const QString& heading, const QList<Failure>& failures);

// The warning shown before the finish page: a heading and one line per failure;
// the empty text when nothing failed.
QString failureReport(const QList<Failure>& failures);

// Reasons of the copy run (Catalog::copyRefusal names the files it refuses); a
// failed read or write gives the system's reason.
namespace Reason {
inline const QString kSourceMissing = QStringLiteral("Quelldatei nicht gefunden");
inline const QString kNoFolder = QStringLiteral("Projektordner konnte nicht angelegt werden");
} // namespace Reason

} // namespace Generate
