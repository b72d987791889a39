#include "platform/IniEncoding.h"

#include "platform/Ansi.h"
#include "platform/IniGrammar.h"

#include <QList>
#include <QStringDecoder>

namespace Ini::detail {

namespace {

bool hasBom(QByteArrayView bytes)
{
    return bytes.startsWith(kBom);
}

} // namespace

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

} // namespace Ini::detail
