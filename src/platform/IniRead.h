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

Access readFile(const QString& path, QByteArray* bytes);

} // namespace Ini::detail
