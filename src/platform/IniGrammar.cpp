#include "platform/IniGrammar.h"

namespace Ini {

namespace detail {

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace detail

using namespace detail;

namespace {

bool breaksLines(QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return true;
    }
    // A lone surrogate cannot be stored and read back.
    return !text.isValidUtf16();
}

} // namespace

QStringView trimmed(QStringView text)
{
    return trimmedView(text);
}

bool isWritableSection(QStringView section)
{
    return !trimmed(section).isEmpty() && !breaksLines(section) && !section.contains(u']');
}

bool isWritableKey(QStringView key)
{
    const QStringView name = trimmed(key);
    return !name.isEmpty() && !breaksLines(key) && !key.contains(u'=') && name.front() != u'[' &&
           name.front() != u';';
}

bool isWritableValue(QStringView value)
{
    return !breaksLines(value);
}

LineParts parseLine(QStringView line)
{
    const Parts<QStringView> parts = parse(line);
    return LineParts{parts.kind, parts.name, parts.value};
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return value.sliced(1, value.size() - 2);
    }
    return value;
}

QStringView asRead(QStringView value)
{
    QStringView text = unquoted(value);
    if (text.size() > kMaxValueLength) {
        text = text.first(kMaxValueLength);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

} // namespace Ini
