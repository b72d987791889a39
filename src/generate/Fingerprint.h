#pragma once

#include "platform/FileResult.h"

#include <QByteArray>
#include <QString>

// Size and SHA-256 of a component file's bytes as a project holds them: a text
// component after the CR LF mend of the copy, so that a difference in line ends
// alone is no difference; a binary file (or a text-named one holding a NUL)
// byte for byte.
namespace Generate {

struct Fingerprint
{
    // Why the file could not be read; not read yet counts as missing.
    FileIo::Result read = FileIo::Result::failure(ENOENT);
    qint64 size = -1;  // of the bytes as a project holds them
    QByteArray sha256; // lower-case hex

    bool ok() const { return read.ok(); }
    bool sameBytes(const Fingerprint& other) const
    {
        return ok() && other.ok() && sha256 == other.sha256;
    }
};

// `text`: the file is a text component (Catalog::isText of its name).
Fingerprint fingerprintOf(const QString& path, bool text);

} // namespace Generate
