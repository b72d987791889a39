#pragma once

#include "platform/FileResult.h"

#include <QByteArray>
#include <QString>

namespace FileIo {

// Whether `path` is a regular file or a link to one.
bool isRegularFile(const QString& path);

// Opens a regular file (or a link to one) for reading without blocking on a pipe or
// device (kNotRegular) and gives its descriptor, which the caller closes, and size.
Result openRegularFile(const QString& path, int* fd, qint64* size);

// Reads a whole regular file. A pipe, device or folder is refused without blocking
// (kNotRegular); a file over `maxBytes` (when >= 0) gives kTooLarge.
Result readRegularFile(const QString& path, QByteArray* bytes, qint64 maxBytes = -1);

} // namespace FileIo
