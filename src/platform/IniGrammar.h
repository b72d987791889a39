#pragma once

#include <QStringView>

#include <type_traits>

// The line grammar of INI files: what a line is, and the names and values in it.
namespace Ini {

// Longest value ReadIniValue hands out.
inline constexpr qsizetype kMaxValueLength = 254;

QStringView trimmed(QStringView text);

// Whether a name or value can be written without changing the file's lines.
bool isWritableSection(QStringView section);
bool isWritableKey(QStringView key);
bool isWritableValue(QStringView value);

enum class LineKind
{
    Blank,
    Comment,
    Section,
    Key,
    Other
};

struct LineParts
{
    LineKind kind = LineKind::Other;
    QStringView name;  // section or key name, trimmed
    QStringView value; // a key's value, trimmed, quotes kept
};

LineParts parseLine(QStringView line);

// A value as the reader hands it out: one pair of matching outer quotes removed.
QStringView unquoted(QStringView value);

// A stored value as a read hands it out: unquoted, at most kMaxValueLength
// characters, never half of a character.
QStringView asRead(QStringView value);

// Shared by the document, the encodings and the quick reader; not for callers.
namespace detail {

// Blanks around names and values: space, tab and Ctrl-Z, the old end-of-file mark.
template <typename Char> bool isBlank(Char c)
{
    return c == u' ' || c == u'\t' || c == u'\x1A';
}

template <typename Char> qsizetype lineEndLength(const Char* data, qsizetype size, qsizetype end)
{
    qsizetype pos = end;
    if (pos < size && data[pos] == '\r')
        ++pos;
    if (pos < size && data[pos] == '\n')
        ++pos;
    return pos - end;
}

template <typename Char> qsizetype lineEnd(const Char* data, qsizetype size, qsizetype pos)
{
    while (pos < size && data[pos] != '\r' && data[pos] != '\n')
        ++pos;
    return pos;
}

// Calls line(start, length) for each line; CR LF, CR and LF each end a line, and
// a last line needs no line end. A `line` that returns bool stops the walk with false.
template <typename Char, typename Fn> void forEachLine(const Char* data, qsizetype size, Fn line)
{
    qsizetype pos = 0;
    while (pos < size) {
        const qsizetype end = lineEnd(data, size, pos);
        if constexpr (std::is_same_v<std::invoke_result_t<Fn&, qsizetype, qsizetype>, bool>) {
            if (!line(pos, end - pos))
                return;
        } else {
            line(pos, end - pos);
        }
        pos = end + lineEndLength(data, size, end);
    }
}

bool sameName(QStringView a, QStringView b);

template <typename View> View trimmedView(View text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

template <typename View> qsizetype indexOf(View text, char16_t c)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == c)
            return i;
    }
    return -1;
}

template <typename View> qsizetype lastIndexOf(View text, char16_t c)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i] == c)
            return i;
    }
    return -1;
}

template <typename View> struct Parts
{
    LineKind kind = LineKind::Other;
    View name;
    View value;
};

// One parser for decoded lines and for the raw bytes the quick reader looks at;
// both see the same structure, since the structural characters are ASCII.
template <typename View> Parts<View> parse(View line)
{
    Parts<View> parts;
    // A NUL means the line is no text we understand; it is only kept.
    if (indexOf(line, u'\0') >= 0)
        return parts;
    const View body = trimmedView(line);
    if (body.isEmpty()) {
        parts.kind = LineKind::Blank;
    } else if (body[0] == u';') {
        parts.kind = LineKind::Comment;
    } else if (body[0] == u'[') {
        // The name runs to the last bracket: "[T]x]" is section "T]x".
        const qsizetype close = lastIndexOf(body, u']');
        if (close > 0) {
            parts.kind = LineKind::Section;
            parts.name = trimmedView(body.sliced(1, close - 1));
        }
    } else if (const qsizetype equals = indexOf(body, u'='); equals >= 0) {
        parts.kind = LineKind::Key;
        parts.name = trimmedView(body.first(equals));
        parts.value = trimmedView(body.sliced(equals + 1));
    }
    return parts;
}

} // namespace detail

// Calls each(line) with every line of `text`, without its line end, as the INI
// grammar splits lines (CR LF, CR and LF); stops when `each` returns false.
template <typename Each> void forEachLine(QStringView text, Each each)
{
    detail::forEachLine(text.utf16(), text.size(), [&](qsizetype pos, qsizetype length) {
        return bool(each(text.sliced(pos, length)));
    });
}

} // namespace Ini
