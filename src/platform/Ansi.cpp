#include "platform/Ansi.h"

#include <QStringDecoder>

namespace {
// 0x80..0x9F; the five unassigned bytes map to the C1 controls, as Windows does.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int toByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c)
            return 0x80 + i;
    }
    return -1;
}
} // namespace

namespace Ansi {

QString decode(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return text;
}

QByteArray encode(const QString& text, bool* allFit)
{
    return encode(QStringView(text), allFit);
}

QByteArray encode(QStringView text, bool* allFit)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bool fit = true;
    char* out = bytes.data();
    for (const QChar c : text) {
        const int b = toByte(c.unicode());
        if (b < 0)
            fit = false;
        *out++ = static_cast<char>(b < 0 ? '?' : b);
    }
    if (allFit)
        *allFit = fit;
    return bytes;
}

bool fits(const QString& text)
{
    return fits(QStringView(text));
}

bool fits(QStringView text)
{
    for (const QChar c : text) {
        if (toByte(c.unicode()) < 0)
            return false;
    }
    return true;
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

QString decodeCatalog(const QByteArray& bytes)
{
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return decode(bytes);
}

} // namespace Ansi
