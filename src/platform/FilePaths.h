#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// The names and modes the writer and the lock share; for this folder only.
namespace FileIo {

QByteArray encoded(const QString& path);
mode_t creationMode();
QString resolved(const QString& path);
QString fitted(const QString& name, qsizetype extra);
QString besidePath(const QString& path, const QString& ending, qsizetype reserved);

} // namespace FileIo
