#include "platform/FileResult.h"

namespace FileIo {

QString Result::reason() const
{
    return reasonFor(m_error);
}

QString aboutFile(const QString& path, const QString& reason)
{
    return QStringLiteral("''%1'': %2").arg(path, reason);
}

QString reasonFor(int error)
{
    switch (error) {
    case 0:
        return {};
    case kNotRegular:
        return QStringLiteral("Die Datei ist keine gewöhnliche Datei.");
    case kTooLarge:
        return QStringLiteral("Die Datei ist zu groß.");
    case kUnreadable:
        return QStringLiteral("Die Datei konnte nicht gelesen werden.");
    case kForeignEncoding:
        return QStringLiteral("Die Datei ist in einer Zeichenkodierung gespeichert, in der sie "
                              "nicht unverändert zurückgeschrieben werden kann.");
    case kUnknownEncoding:
        return QStringLiteral("Die Datei ist in einer Zeichenkodierung gespeichert, die das "
                              "Programm nicht erkennt.");
    case kRefused:
        return QStringLiteral("Der Text enthält Zeichen, die in der Datei nicht gespeichert "
                              "werden können.");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Der Zugriff wurde verweigert.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENOENT:
        return QStringLiteral("Die Datei oder der Ordner wurde nicht gefunden.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case EISDIR:
        return QStringLiteral("Der Pfad bezeichnet einen Ordner.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Pfad ist zu lang.");
    case ELOOP:
        return QStringLiteral("Der Pfad enthält zu viele symbolische Verknüpfungen.");
    case EIO:
        return QStringLiteral("Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler "
                              "aufgetreten.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird gerade verwendet.");
    case EWOULDBLOCK:
        return QStringLiteral("Die Datei ist durch ein anderes Programm gesperrt.");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß für den Datenträger.");
    case EEXIST:
        return QStringLiteral("Die Datei ist bereits vorhanden.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    default:
        return QStringLiteral("Systemfehler %1.").arg(error);
    }
}

} // namespace FileIo
