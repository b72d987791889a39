#pragma once

#include <QByteArray>
#include <QString>

// The bytes of an INI file, read as cheaply as the system allows.
namespace Ini::detail {

enum class Access
{
    Missing,
    Read,
    Unreadable
};

// Unreadable: `error` (when given) gets the reason, an errno value or one of
// FileIo's own (kNotRegular, kTooLarge).
Access readFile(const QString& path, QByteArray* bytes, int* error = nullptr);

} // namespace Ini::detail
