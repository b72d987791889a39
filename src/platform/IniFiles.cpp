#include "platform/IniFiles.h"

#include "platform/IniDocument.h"
#include "platform/IniEncoding.h"
#include "platform/IniRead.h"

namespace Ini {

using namespace detail;

bool findValue(const QString& path, QStringView section, QStringView key, QString* value)
{
    if (trimmed(section).isEmpty() || trimmed(key).isEmpty())
        return false;
    QByteArray bytes;
    if (readFile(path, &bytes) != Access::Read)
        return false;
    return findValueIn(bytes, section, key, value);
}

bool findValueIn(const QByteArray& bytes, QStringView section, QStringView key, QString* value)
{
    section = trimmed(section);
    key = trimmed(key);
    if (section.isEmpty() || key.isEmpty())
        return false;
    const Mark mark = markOf(bytes);
    if ((mark != Mark::None && mark != Mark::Utf8) || unmarkedUtf16(bytes) != Mark::None)
        return Document::fromBytes(bytes).value(section, key, value);
    // Works on the bytes and decodes only what it compares or returns, as the
    // whole file would decode.
    const bool bom = mark == Mark::Utf8;
    const QByteArrayView body = QByteArrayView(bytes).sliced(bom ? kBomSize : 0);
    const char* data = body.data();
    const qsizetype size = body.size();
    int fileIsUtf8 = -1; // not looked at yet
    const auto decodePart = [&](QByteArrayView part, QByteArrayView line) {
        if (isAscii(part))
            return QString::fromLatin1(part);
        if (!bom && fileIsUtf8 < 0)
            fileIsUtf8 = isUtf8(body) ? 1 : 0;
        bool ok = false;
        if (bom ? isUtf8(line) : fileIsUtf8 == 1)
            return decodeUtf8(part, &ok);
        return decodeAnsi(part);
    };
    const auto matches = [&](QByteArrayView name, QByteArrayView line, QStringView wanted) {
        if (isAscii(name))
            return wanted.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0;
        return sameName(decodePart(name, line), wanted);
    };

    // Only a line that begins with '[' can be a section header.
    qsizetype pos = 0;
    for (;;) {
        const qsizetype bracket = body.indexOf('[', pos);
        if (bracket < 0)
            return false;
        qsizetype start = bracket;
        while (start > 0 && isBlank(data[start - 1]))
            --start;
        if (start > 0 && data[start - 1] != '\r' && data[start - 1] != '\n') {
            pos = bracket + 1;
            continue;
        }
        pos = lineEnd(data, size, bracket);
        const QByteArrayView line = body.sliced(start, pos - start);
        const Parts<QByteArrayView> parts = parse(line);
        if (parts.kind == LineKind::Section && matches(parts.name, line, section))
            break;
    }
    // The first such section's keys, up to the next header.
    for (;;) {
        pos += lineEndLength(data, size, pos);
        if (pos >= size)
            return false;
        const qsizetype end = lineEnd(data, size, pos);
        const QByteArrayView line = body.sliced(pos, end - pos);
        const Parts<QByteArrayView> parts = parse(line);
        if (parts.kind == LineKind::Section)
            return false;
        if (parts.kind == LineKind::Key && matches(parts.name, line, key)) {
            *value = decodePart(parts.value, line);
            return true;
        }
        pos = end;
    }
}

} // namespace Ini

QString ReadIniValue(const QString& file, const QString& section, const QString& key)
{
    QString value;
    if (!Ini::findValue(file, section, key, &value))
        return {};
    const QStringView text = Ini::asRead(value);
    return text.size() == value.size() ? value : text.toString();
}

int WriteIniValue(const QString& file, const QString& section, const QString& key,
                  const QString& value)
{
    return Ini::writeValue(file, section, key, value).ok() ? 1 : 0;
}

int DeleteIniKey(const QString& file, const QString& section, const QString& key)
{
    return Ini::removeKey(file, section, key).ok() ? 1 : 0;
}

int DeleteIniSection(const QString& file, const QString& section)
{
    return Ini::removeSection(file, section).ok() ? 1 : 0;
}

int ReplaceIniSection(const QString& file, const QString& section,
                      const QList<QPair<QString, QString>>& keysAndValues)
{
    return Ini::replaceSection(file, section, keysAndValues).ok() ? 1 : 0;
}
