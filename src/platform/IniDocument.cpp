#include "platform/IniDocument.h"

#include "platform/Ansi.h"
#include "platform/FileIo.h"
#include "platform/IniEncoding.h"
#include "platform/IniRead.h"

namespace Ini {

using namespace detail;

Document::Document(const QString& path) : m_path(path)
{
    switch (readFile(path, &m_bytes, &m_readError)) {
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
        m_readError = FileIo::kUnreadable;
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

QList<QStringView> Document::lines() const
{
    QList<QStringView> texts;
    texts.reserve(m_lines.size());
    for (const Line& line : m_lines)
        texts.append(text(line));
    return texts;
}

} // namespace Ini
