#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The encodings an INI file comes in: byte-order marks, UTF-8 or the code page,
// UTF-16 and UTF-32, and telling them apart.
namespace Ini::detail {

inline constexpr char kBom[] = "\xEF\xBB\xBF";
inline constexpr qsizetype kBomSize = 3;

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

Mark markOf(QByteArrayView bytes);
qsizetype markSize(Mark mark);
Mark unmarkedUtf16(QByteArrayView bytes);
QString decodeUtf16(QByteArrayView body, bool bigEndian);
bool decodeUtf32(QByteArrayView body, bool bigEndian, QString* text);
void appendUtf16(QByteArray* bytes, QStringView text, bool bigEndian);
void appendUtf32(QByteArray* bytes, QStringView text, bool bigEndian);
bool looksLikeUnmarkedUtf16(QStringView line);
bool isAscii(QByteArrayView bytes);
bool isUtf8(QByteArrayView bytes);
QString decodeUtf8(QByteArrayView bytes, bool* ok);
QString decodeAnsi(QByteArrayView bytes);
QString decode(const QByteArray& bytes, bool bom, bool* utf8);

} // namespace Ini::detail
