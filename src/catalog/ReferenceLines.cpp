#include "catalog/ReferenceLines.h"

#include "platform/Ansi.h"
#include "platform/FileIo.h"
#include "platform/IniGrammar.h"

#include <QSet>

#include <unistd.h>

namespace ReferenceLines {

namespace {

bool isHexGuid(QStringView text)
{
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text.front() != u'{' || text.back() != u'}')
        return false;
    for (qsizetype i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        const char16_t c = text[i].unicode();
        const bool hex =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (dash ? c != u'-' : !hex)
            return false;
    }
    return true;
}

// The GUID a reference's value begins with ("*\G{…}#…" or "{…}#…"), else empty.
QStringView guidOf(QStringView value)
{
    value = value.trimmed();
    if (value.startsWith(QLatin1String("*\\G"), Qt::CaseInsensitive))
        value = value.sliced(3);
    if (value.size() >= 38 && isHexGuid(value.first(38)))
        return value.first(38);
    return {};
}

} // namespace

Key keyOf(QStringView line, QStringView* value)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return Key::Other;
    const QStringView key = line.first(equals).trimmed();
    if (value)
        *value = line.sliced(equals + 1);
    if (key.compare(QLatin1String("Reference"), Qt::CaseInsensitive) == 0)
        return Key::Reference;
    if (key.compare(QLatin1String("Object"), Qt::CaseInsensitive) == 0)
        return Key::Object;
    return Key::Other;
}

bool isReferenceLine(QStringView line)
{
    return keyOf(line) != Key::Other;
}

QStringList objectLinesIn(const QByteArray& componentBytes)
{
    QStringList lines;
    const QString text = Ansi::decode(componentBytes);
    Ini::forEachLine(text, [&](QStringView line) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("Begin"), Qt::CaseInsensitive) &&
            (line.size() == 5 || line[5].isSpace())) {
            return false;
        }
        QStringView value;
        if (keyOf(line, &value) != Key::Object)
            return true;
        // "{GUID}#2.0#0"; "X.OCX"
        value = value.trimmed();
        if (!value.startsWith(u'"'))
            return true;
        const qsizetype close = value.indexOf(u'"', 1);
        if (close < 0)
            return true;
        const QStringView id = value.sliced(1, close - 1);
        if (guidOf(id).isEmpty())
            return true;
        QString converted = QStringLiteral("Object=") + id.toString();
        QStringView rest = value.sliced(close + 1).trimmed();
        if (rest.startsWith(u';')) {
            const QStringView file = Ini::unquoted(rest.sliced(1).trimmed()).trimmed();
            if (!file.isEmpty())
                converted += QStringLiteral("; ") + file.toString();
        }
        lines.append(converted);
        return true;
    });
    return lines;
}

QStringList objectLinesOf(const QString& componentPath)
{
    int fd = -1;
    qint64 size = 0;
    if (!FileIo::openRegularFile(componentPath, &fd, &size).ok())
        return {};
    QByteArray bytes(qMin(size, kMaxHeaderBytes), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        filled += n;
    }
    ::close(fd);
    bytes.truncate(filled);
    return objectLinesIn(bytes);
}

QStringList merged(const QStringList& lines)
{
    QStringList references;
    QStringList objects;
    QSet<QString> seen;
    for (const QString& line : lines) {
        QStringView value;
        const Key key = keyOf(line, &value);
        if (key == Key::Other)
            continue;
        const QStringView guid = guidOf(value);
        const QString identity = guid.isEmpty() ? QString(key == Key::Reference ? u'R' : u'O') +
                                                      value.trimmed().toString().toCaseFolded()
                                                : guid.toString().toUpper();
        if (seen.contains(identity))
            continue;
        seen.insert(identity);
        (key == Key::Reference ? references : objects).append(line);
    }
    return references + objects;
}

} // namespace ReferenceLines
