#pragma once

#include "platform/FileIo.h"

#include <QString>

#include <functional>

// Copies one regular file through an AtomicWriter: the target appears whole or
// not at all, and the source is only read.
namespace FileIo {

enum class Existing
{
    Keep,   // an existing target is never replaced (EEXIST)
    Replace // an existing target is replaced atomically
};

struct CopyOptions
{
    Existing existing = Existing::Keep;
    // Off for bulk copies of fresh files; see AtomicWriter::setSync.
    bool sync = true;
    // Called after each chunk with the bytes copied so far of this file.
    std::function<void(qint64)> progress;
};

// A source that is no regular file (folder, pipe, device) gives EISDIR or
// kNotRegular without blocking.
Result copyFile(const QString& source, const QString& target, const CopyOptions& options = {});

} // namespace FileIo
