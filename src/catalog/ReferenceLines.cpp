#include "catalog/ReferenceLines.h"

#include "catalog/ComponentKind.h"
#include "platform/Ansi.h"
#include "platform/FileIo.h"
#include "platform/IniGrammar.h"

#include <QSet>

#include <unistd.h>

#include <algorithm>

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

// An Object line of a header as the development environment writes it, without
// its key: "{GUID}#version#lcid"; "file", with blanks allowed around the ';'
// and outside the quotes only. Gives the project file's form of it,
// "{GUID}#version#lcid; file", else empty.
QString projectFormOf(QStringView value)
{
    value = Ini::trimmed(value);
    if (!value.startsWith(u'"'))
        return {};
    const qsizetype close = value.indexOf(u'"', 1);
    if (close < 0)
        return {};
    const QStringView id = value.sliced(1, close - 1);
    if (id.size() <= 39 || !isHexGuid(id.first(38)) || id[38] != u'#' ||
        std::any_of(id.begin(), id.end(), [](QChar c) { return c.isSpace(); }))
        return {};
    QStringView rest = Ini::trimmed(value.sliced(close + 1));
    if (!rest.startsWith(u';'))
        return {};
    rest = Ini::trimmed(rest.sliced(1));
    if (rest.size() < 3 || !rest.startsWith(u'"') || !rest.endsWith(u'"'))
        return {};
    const QStringView file = rest.sliced(1, rest.size() - 2);
    if (file.contains(u'"') || file.trimmed().size() != file.size())
        return {};
    return id.toString() + QStringLiteral("; ") + file.toString();
}

// Another project of a group ("*\A..\Steuer\Steuer.vbp"): a line of its own
// form, which a new project cannot use.
bool isGroupProject(QStringView line)
{
    QStringView value;
    keyOf(line, &value);
    return Ini::trimmed(value).startsWith(QLatin1String("\"*\\A"), Qt::CaseInsensitive);
}

// Calls each(line, converted) for every Object line of a form's or user
// control's header (the lines before the first "Begin"), trimmed, with its
// project file form ("Object={GUID}#2.0#0; X.OCX"), empty when it has another form.
template <typename Each> void forEachHeaderObject(const QByteArray& bytes, Each each)
{
    const QString text = Ansi::decode(bytes);
    Ini::forEachLine(text, [&](QStringView line) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("Begin"), Qt::CaseInsensitive) &&
            (line.size() == 5 || line[5].isSpace()))
            return false;
        QStringView value;
        if (keyOf(line, &value) == Key::Object) {
            const QString converted = projectFormOf(value);
            each(line, converted.isEmpty() ? converted : QStringLiteral("Object=") + converted);
        }
        return true;
    });
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
    forEachHeaderObject(componentBytes, [&](QStringView, const QString& converted) {
        if (!converted.isEmpty())
            lines.append(converted);
    });
    return lines;
}

QStringList unusableObjectLines(const QString& fileName, const QByteArray& componentBytes)
{
    const Catalog::Kind kind = Catalog::kindOf(fileName);
    if (kind != Catalog::Kind::Form && kind != Catalog::Kind::UserControl)
        return {};
    QStringList lines;
    forEachHeaderObject(componentBytes.first(qMin<qint64>(componentBytes.size(), kMaxHeaderBytes)),
                        [&](QStringView line, const QString& converted) {
                            if (converted.isEmpty() && !isGroupProject(line))
                                lines.append(line.toString());
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
