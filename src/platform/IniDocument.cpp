#include "platform/IniDocument.h"

#include "platform/Ansi.h"
#include "platform/FileIo.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Ini {

namespace {

// Anything larger is no catalogue; it is left alone rather than read into memory.
constexpr qint64 kMaxFileSize = qint64(256) * 1024 * 1024;

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr qsizetype kBomSize = 3;

enum class Access
{
    Missing,
    Read,
    Unreadable
};

// Plain system calls: the catalogue load reads the file some 400 times, and each
// read should cost little more than opening it.
Access readFile(const QString& path, QByteArray* bytes)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        struct stat link = {};
        // A dangling link is no missing file: writing would replace the link.
        if ((errno == ENOENT || errno == ENOTDIR) && ::lstat(native.constData(), &link) != 0)
            return Access::Missing;
        return Access::Unreadable;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize) {
        ::close(fd);
        return Access::Unreadable;
    }
    bytes->resize(qsizetype(info.st_size) + 1);
    qsizetype total = 0;
    for (;;) {
        if (total == bytes->size()) {
            if (total > kMaxFileSize) {
                ::close(fd);
                return Access::Unreadable;
            }
            bytes->resize(total * 2);
        }
        const qsizetype wanted = bytes->size() - total;
        const ssize_t got = ::read(fd, bytes->data() + total, size_t(wanted));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return Access::Unreadable;
        }
        total += got;
        if (got < wanted) // a short read of a plain file is its end
            break;
    }
    ::close(fd);
    bytes->resize(total);
    return Access::Read;
}

// Blanks around names and values: space, tab and Ctrl-Z, the old end-of-file mark.
template <typename Char> bool isBlank(Char c)
{
    return c == u' ' || c == u'\t' || c == u'\x1A';
}

bool hasBom(QByteArrayView bytes)
{
    return bytes.startsWith(kBom);
}

// What the first bytes say about the file's encoding.
enum class Mark
{
    None,
    Utf8,
    Utf16LE,
    Utf16BE,
    Utf32LE,
    Utf32BE
};

Mark markOf(QByteArrayView bytes)
{
    using namespace Qt::StringLiterals;
    if (bytes.startsWith("\xFF\xFE\0\0"_ba))
        return Mark::Utf32LE;
    if (bytes.startsWith("\0\0\xFE\xFF"_ba))
        return Mark::Utf32BE;
    if (hasBom(bytes))
        return Mark::Utf8;
    if (bytes.startsWith("\xFF\xFE"))
        return Mark::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return Mark::Utf16BE;
    return Mark::None;
}

qsizetype markSize(Mark mark)
{
    switch (mark) {
    case Mark::None:
        return 0;
    case Mark::Utf16LE:
    case Mark::Utf16BE:
        return 2;
    case Mark::Utf8:
        return 3;
    case Mark::Utf32LE:
    case Mark::Utf32BE:
        return 4;
    }
    return 0;
}

// UTF-16 without a mark, where its bytes say so plainly: NUL bytes stand only
// in every other position, and in at least half of those (the Latin text a
// catalogue's sections, keys and line ends are made of). Utf16LE, Utf16BE or None.
Mark unmarkedUtf16(QByteArrayView bytes)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || !bytes.contains('\0'))
        return Mark::None;
    qsizetype nuls[2] = {0, 0};
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0')
            ++nuls[i % 2];
    }
    const qsizetype units = bytes.size() / 2;
    if (nuls[0] == 0 && nuls[1] * 2 >= units)
        return Mark::Utf16LE;
    if (nuls[1] == 0 && nuls[0] * 2 >= units)
        return Mark::Utf16BE;
    return Mark::None;
}

QString decodeUtf16(QByteArrayView body, bool bigEndian)
{
    // Code unit by code unit, lone surrogates included, so writing back gives the
    // same bytes.
    QString text(body.size() / 2, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const unsigned first = p[2 * i];
        const unsigned second = p[2 * i + 1];
        out[i] = char16_t(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

// False, with U+FFFD in its place, for a value that is no character.
bool decodeUtf32(QByteArrayView body, bool bigEndian, QString* text)
{
    bool valid = body.size() % 4 == 0;
    text->clear();
    text->reserve(body.size() / 4);
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    for (qsizetype i = 0; i + 4 <= body.size(); i += 4) {
        const char32_t code = bigEndian ? char32_t(p[i]) << 24 | char32_t(p[i + 1]) << 16 |
                                              char32_t(p[i + 2]) << 8 | p[i + 3]
                                        : char32_t(p[i + 3]) << 24 | char32_t(p[i + 2]) << 16 |
                                              char32_t(p[i + 1]) << 8 | p[i];
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            valid = false;
            text->append(QChar::ReplacementCharacter);
            continue;
        }
        text->append(QStringView(QChar::fromUcs4(code)));
    }
    return valid;
}

void appendUtf16(QByteArray* bytes, QStringView text, bool bigEndian)
{
    const qsizetype start = bytes->size();
    bytes->resize(start + 2 * text.size());
    char* out = bytes->data() + start;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const char low = char(unit & 0xFF);
        const char high = char(unit >> 8);
        out[2 * i] = bigEndian ? high : low;
        out[2 * i + 1] = bigEndian ? low : high;
    }
}

void appendUtf32(QByteArray* bytes, QStringView text, bool bigEndian)
{
    for (const char32_t code : text.toUcs4()) {
        const char b[4] = {char(code >> 24), char(code >> 16 & 0xFF), char(code >> 8 & 0xFF),
                           char(code & 0xFF)};
        if (bigEndian)
            bytes->append(b, 4);
        else
            bytes->append(b[3]).append(b[2]).append(b[1]).append(b[0]);
    }
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
// a last line needs no line end.
template <typename Char, typename Fn> void forEachLine(const Char* data, qsizetype size, Fn line)
{
    qsizetype pos = 0;
    while (pos < size) {
        const qsizetype end = lineEnd(data, size, pos);
        line(pos, end - pos);
        pos = end + lineEndLength(data, size, end);
    }
}

// UTF-16 without a mark, read as single bytes: the first line that is not
// blank has a NUL in every second character (its ASCII characters' other
// halves). Only that line's text decides, and writes keep the text of lines they
// do not touch, so no write of ours changes the verdict on a file.
bool looksLikeUnmarkedUtf16(QStringView line)
{
    qsizetype nuls[2] = {0, 0};
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i].isNull())
            ++nuls[i % 2];
    }
    const qsizetype most = qMax(nuls[0], nuls[1]);
    return most >= 2 && most * 4 >= line.size();
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The same verdict as the UTF-8 decoder's, but it stops at the first fault.
bool isUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        qsizetype length = 0;
        char32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (size - i < length)
            return false;
        for (qsizetype k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)))
            return false;
        if (length == 4 && (code < 0x10000 || code > 0x10FFFF))
            return false;
        i += length;
    }
    return true;
}

QString decodeUtf8(QByteArrayView bytes, bool* ok)
{
    // A U+FEFF inside the file is a character like any other.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    return text;
}

QString decodeAnsi(QByteArrayView bytes)
{
    return Ansi::decode(bytes.toByteArray());
}

// The text after any byte-order mark. Valid UTF-8 is UTF-8, anything else the
// code page; behind a byte-order mark each line decides for itself, so a line
// that is not UTF-8 still reads back as it did. Line ends stay where they are.
QString decode(const QByteArray& bytes, bool bom, bool* utf8)
{
    const QByteArrayView body = QByteArrayView(bytes).sliced(bom ? kBomSize : 0);
    QString text = decodeUtf8(body, utf8);
    if (*utf8)
        return text;
    if (!bom)
        return Ansi::decode(bytes);
    text.clear();
    text.reserve(body.size());
    forEachLine(body.data(), body.size(), [&](qsizetype pos, qsizetype length) {
        const QByteArrayView line = body.sliced(pos, length);
        bool ok = false;
        const QString decoded = decodeUtf8(line, &ok);
        text += ok ? decoded : decodeAnsi(line);
        const qsizetype end = pos + length;
        text += QLatin1StringView(body.sliced(end, lineEndLength(body.data(), body.size(), end)));
    });
    return text;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool breaksLines(QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return true;
    }
    // A lone surrogate cannot be stored and read back.
    return !text.isValidUtf16();
}

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

Document::Document(const QString& path) : m_path(path)
{
    switch (readFile(path, &m_bytes)) {
    case Access::Missing:
        m_state = State::Missing;
        return;
    case Access::Unreadable:
        m_state = State::Unreadable;
        m_bytes.clear();
        return;
    case Access::Read:
        break;
    }
    load();
}

Document Document::fromBytes(const QByteArray& bytes)
{
    Document document;
    document.m_bytes = bytes;
    document.load();
    return document;
}

void Document::load()
{
    m_state = State::Loaded;
    const Mark mark = markOf(m_bytes);
    const QByteArrayView body = QByteArrayView(m_bytes).sliced(markSize(mark));
    switch (mark) {
    case Mark::Utf16LE:
    case Mark::Utf16BE:
        // A last odd byte has no place in the text.
        m_unknown = body.size() % 2 != 0;
        return loadWide(decodeUtf16(body, mark == Mark::Utf16BE),
                        mark == Mark::Utf16BE ? Encoding::Utf16BE : Encoding::Utf16LE, true);
    case Mark::Utf32LE:
    case Mark::Utf32BE: {
        QString text;
        m_unknown = !decodeUtf32(body, mark == Mark::Utf32BE, &text);
        return loadWide(text, mark == Mark::Utf32BE ? Encoding::Utf32BE : Encoding::Utf32LE, true);
    }
    case Mark::None:
        if (const Mark utf16 = unmarkedUtf16(m_bytes); utf16 != Mark::None)
            return loadWide(decodeUtf16(m_bytes, utf16 == Mark::Utf16BE),
                            utf16 == Mark::Utf16BE ? Encoding::Utf16BE : Encoding::Utf16LE, false);
        break;
    case Mark::Utf8:
        break;
    }
    m_bom = mark == Mark::Utf8;
    bool utf8 = false;
    m_text = decode(m_bytes, m_bom, &utf8);
    m_encoding = utf8 ? Encoding::Utf8 : Encoding::Ansi;

    const qsizetype start = m_bom ? kBomSize : 0;
    forEachLine(m_bytes.constData() + start, m_bytes.size() - start,
                [&](qsizetype pos, qsizetype length) {
                    m_lines.append(Line{start + pos, length, 0, 0});
                });
    qsizetype index = 0;
    forEachLine(m_text.utf16(), m_text.size(), [&](qsizetype pos, qsizetype length) {
        if (index < m_lines.size()) {
            m_lines[index].textPos = pos;
            m_lines[index].textLen = length;
        }
        ++index;
    });
    if (index != m_lines.size()) {
        // Cannot happen with the decoders above; never write what was not understood.
        m_state = State::Unreadable;
        m_lines.clear();
        return;
    }
    if (mark == Mark::None) {
        // Wide text whose bytes do not show it plainly: read as it comes, never written.
        for (const Line& line : std::as_const(m_lines)) {
            if (!trimmedView(text(line)).isEmpty()) {
                m_unknown = looksLikeUnmarkedUtf16(text(line));
                break;
            }
        }
    }
}

void Document::loadWide(const QString& text, Encoding encoding, bool marked)
{
    m_encoding = encoding;
    m_marked = marked;
    m_text = text;
    forEachLine(m_text.utf16(), m_text.size(), [&](qsizetype pos, qsizetype length) {
        m_lines.append(Line{0, 0, pos, length});
    });
}

bool Document::writable() const
{
    return m_state != State::Unreadable && !m_unknown;
}

QStringView Document::text(const Line& line) const
{
    if (line.rawPos >= 0)
        return QStringView(m_text).sliced(line.textPos, line.textLen);
    return m_written.at(line.textPos);
}

Document::Line Document::written(const QString& text)
{
    m_written.append(text);
    return Line{-1, 0, m_written.size() - 1, text.size()};
}

Document::Range Document::find(QStringView section) const
{
    Range range;
    const QStringView name = trimmed(section);
    if (name.isEmpty())
        return range;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        // Most lines are no header; a look at their first character says so.
        const QStringView line = trimmedView(text(m_lines.at(i)));
        if (line.isEmpty() || line.front() != u'[')
            continue;
        const LineParts parts = parseLine(line);
        if (parts.kind != LineKind::Section)
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(parts.name, name))
            range.header = i;
    }
    if (range.header >= 0)
        range.end = m_lines.size();
    return range;
}

qsizetype Document::findKey(const Range& range, QStringView key) const
{
    const QStringView name = trimmed(key);
    if (range.header < 0 || name.isEmpty())
        return -1;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const LineParts parts = parseLine(text(m_lines.at(i)));
        if (parts.kind == LineKind::Key && sameName(parts.name, name))
            return i;
    }
    return -1;
}

bool Document::hasSection(QStringView section) const
{
    return find(section).header >= 0;
}

bool Document::value(QStringView section, QStringView key, QString* value) const
{
    const qsizetype at = findKey(find(section), key);
    if (at < 0)
        return false;
    *value = parseLine(text(m_lines.at(at))).value.toString();
    return true;
}

bool Document::setValue(QStringView section, QStringView key, QStringView value)
{
    if (!writable() || !isWritableSection(section) || !isWritableKey(key) ||
        !isWritableValue(value)) {
        return false;
    }
    const QStringView sectionName = trimmed(section);
    const QStringView keyName = trimmed(key);
    const Range range = find(sectionName);
    if (range.header < 0) {
        m_lines.append(written(u'[' + sectionName.toString() + u']'));
        m_lines.append(written(keyName.toString() + u'=' + value.toString()));
        m_changed = true;
        return true;
    }
    if (const qsizetype at = findKey(range, keyName); at >= 0) {
        const QStringView old = text(m_lines.at(at));
        // The key keeps the spelling it has in the file.
        const QString line = parseLine(old).name.toString() + u'=' + value.toString();
        if (line != old) {
            m_lines[at] = written(line);
            m_changed = true;
        }
        return true;
    }
    // After the section's last key, so blank lines and comments that lead to the
    // next section stay with it.
    qsizetype last = range.header;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        if (parseLine(text(m_lines.at(i))).kind == LineKind::Key)
            last = i;
    }
    m_lines.insert(last + 1, written(keyName.toString() + u'=' + value.toString()));
    m_changed = true;
    return true;
}

bool Document::removeKey(QStringView section, QStringView key)
{
    const qsizetype at = findKey(find(section), key);
    if (at < 0)
        return false;
    m_lines.remove(at);
    m_changed = true;
    return true;
}

bool Document::removeSection(QStringView section)
{
    const Range range = find(section);
    if (range.header < 0)
        return false;
    m_lines.remove(range.header, range.end - range.header);
    m_changed = true;
    return true;
}

bool Document::addSection(QStringView section)
{
    if (!writable() || !isWritableSection(section) || hasSection(section))
        return false;
    m_lines.append(written(u'[' + trimmed(section).toString() + u']'));
    m_changed = true;
    return true;
}

QByteArray Document::compose() const
{
    static const QByteArray crLf("\r\n");
    if (m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE) {
        const bool bigEndian = m_encoding == Encoding::Utf16BE;
        QByteArray bytes;
        if (m_marked)
            bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
        bytes.reserve(m_bytes.size() + 128);
        for (const Line& line : m_lines) {
            appendUtf16(&bytes, text(line), bigEndian);
            appendUtf16(&bytes, u"\r\n", bigEndian);
        }
        return bytes;
    }
    if (m_encoding == Encoding::Utf32LE || m_encoding == Encoding::Utf32BE) {
        const bool bigEndian = m_encoding == Encoding::Utf32BE;
        QByteArray bytes;
        appendUtf32(&bytes, QStringView(u"\uFEFF"), bigEndian);
        for (const Line& line : m_lines) {
            appendUtf32(&bytes, text(line), bigEndian);
            appendUtf32(&bytes, u"\r\n", bigEndian);
        }
        return bytes;
    }
    const auto build = [&](Encoding encoding) {
        QByteArray bytes;
        bytes.reserve(m_bytes.size() + 64);
        if (encoding == Encoding::Utf8 && m_bom)
            bytes += kBom;
        // Untouched lines keep their bytes while the file keeps its encoding.
        const bool keepRaw = m_bom || encoding == m_encoding;
        for (const Line& line : m_lines) {
            if (line.rawPos >= 0 && keepRaw)
                bytes += QByteArrayView(m_bytes).sliced(line.rawPos, line.rawLen);
            else if (encoding == Encoding::Ansi)
                bytes += Ansi::encode(text(line));
            else
                bytes += text(line).toUtf8();
            bytes += crLf;
        }
        return bytes;
    };
    if (m_bom)
        return build(Encoding::Utf8);
    bool fits = true;
    for (const Line& line : m_lines) {
        if ((line.rawPos < 0 || m_encoding == Encoding::Utf8) && !Ansi::fits(text(line))) {
            fits = false;
            break;
        }
    }
    if (fits) {
        // Code-page bytes that happen to be valid UTF-8 would read back as other
        // characters; such a file is written as UTF-8 instead.
        QByteArray bytes = build(Encoding::Ansi);
        if (isAscii(bytes) || !isUtf8(bytes))
            return bytes;
    }
    return build(Encoding::Utf8);
}

FileIo::Result Document::save()
{
    if (m_state == State::Unreadable)
        return FileIo::Result::failure(FileIo::kUnreadable);
    if (m_unknown)
        return FileIo::Result::failure(FileIo::kUnknownEncoding);
    if (!m_changed)
        return {};
    const QByteArray bytes = compose();
    if (m_state == State::Loaded && m_fileHoldsBytes && bytes == m_bytes) {
        m_changed = false;
        return {};
    }
    // What is written must read back in the encoding it was written in: text
    // whose bytes would look like UTF-16, or unmarked UTF-16 that would no
    // longer look like it, is not written.
    if (!keepsEncoding(bytes))
        return FileIo::Result::failure(FileIo::kForeignEncoding);
    if (FileIo::Result result = FileIo::writeFileAtomically(m_path, bytes); !result)
        return result;
    m_fileHoldsBytes = false;
    m_changed = false;
    return {};
}

FileIo::Result edit(const QString& path, const std::function<bool(Document&)>& change)
{
    // Read inside the lock, so a change made meanwhile by another program is
    // the one this change builds on.
    FileIo::FileLock lock;
    const FileIo::Result locked = lock.acquire(path);
    Document document(path);
    if (!change(document))
        return {};
    if (!locked)
        return locked;
    return document.save();
}

QByteArray Document::composed() const
{
    return compose();
}

bool Document::keepsEncoding(const QByteArray& bytes) const
{
    return fromBytes(bytes).readsLike(*this);
}

bool Document::readsLike(const Document& written) const
{
    const auto wide = [](Encoding encoding) {
        return encoding != Encoding::Ansi && encoding != Encoding::Utf8;
    };
    if (m_unknown || m_bom != written.m_bom || wide(m_encoding) != wide(written.m_encoding))
        return false;
    return !wide(m_encoding) || (m_encoding == written.m_encoding && m_marked == written.m_marked);
}

namespace {
FileIo::Result refused()
{
    return FileIo::Result::failure(FileIo::kRefused);
}
} // namespace

FileIo::Result writeValue(const QString& path, QStringView section, QStringView key,
                          QStringView value)
{
    if (!isWritableSection(section) || !isWritableKey(key) || !isWritableValue(value))
        return refused();
    bool accepted = false;
    const FileIo::Result result = edit(path, [&](Document& document) {
        accepted = document.setValue(section, key, value);
        // Refused only by a document that cannot be written; its save says why.
        return accepted || !document.writable();
    });
    if (!result || accepted)
        return result;
    return FileIo::Result::failure(FileIo::kRefused);
}

FileIo::Result removeKey(const QString& path, QStringView section, QStringView key)
{
    return edit(path, [&](Document& document) { return document.removeKey(section, key); });
}

FileIo::Result removeSection(const QString& path, QStringView section)
{
    return edit(path, [&](Document& document) { return document.removeSection(section); });
}

FileIo::Result replaceSection(const QString& path, QStringView section,
                              const QList<QPair<QString, QString>>& keysAndValues)
{
    // Refuse before anything changes, so a bad pair leaves the file as it was.
    if (!isWritableSection(section))
        return refused();
    for (const auto& [key, value] : keysAndValues) {
        if (!isWritableKey(key) || !isWritableValue(value))
            return refused();
    }
    return edit(path, [&](Document& document) {
        // An unwritable document still goes to save(), which says why.
        document.removeSection(section);
        for (const auto& [key, value] : keysAndValues)
            document.setValue(section, key, value);
        return true;
    });
}

QList<QStringView> Document::lines() const
{
    QList<QStringView> texts;
    texts.reserve(m_lines.size());
    for (const Line& line : m_lines)
        texts.append(text(line));
    return texts;
}

} // namespace Ini
