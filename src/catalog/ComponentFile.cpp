#include "catalog/ComponentFile.h"

#include "platform/Ansi.h"
#include "platform/FileIo.h"

#include <QByteArrayView>
#include <QRegularExpression>

#include <cstring>

namespace ComponentFile {

namespace {

constexpr QByteArrayView kAttribute("attribute vb_name");
constexpr QByteArrayView kBom("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

struct Span
{
    qsizetype begin = -1; // the name's first byte
    qsizetype end = -1;   // its closing quote
    bool ok() const { return begin >= 0; }
};

// The quoted name after the attribute found at `at`; the closing quote must be
// on the same line.
Span nameAfter(QByteArrayView bytes, qsizetype at)
{
    qsizetype pos = at + kAttribute.size();
    const qsizetype size = bytes.size();
    while (pos < size && isBlank(bytes[pos]))
        ++pos;
    if (pos >= size || bytes[pos] != '=')
        return {};
    ++pos;
    while (pos < size && isBlank(bytes[pos]))
        ++pos;
    if (pos >= size || bytes[pos] != '"')
        return {};
    const qsizetype begin = ++pos;
    while (pos < size && bytes[pos] != '"' && bytes[pos] != '\r' && bytes[pos] != '\n')
        ++pos;
    if (pos >= size || bytes[pos] != '"' || pos == begin)
        return {};
    return {begin, pos};
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

QString internalName(const QByteArray& bytes)
{
    const qsizetype at = bytes.toLower().indexOf(kAttribute);
    if (at < 0)
        return {};
    const Span span = nameAfter(bytes, at);
    if (!span.ok())
        return {};
    const QByteArray name = bytes.sliced(span.begin, span.end - span.begin);
    if (isAscii(name))
        return QString::fromLatin1(name);
    return Ansi::isValidUtf8(bytes) ? QString::fromUtf8(name) : Ansi::decode(name);
}

QByteArray renamedModule(const QByteArray& bytes, const QString& name)
{
    const qsizetype start = bytes.startsWith(kBom) ? kBom.size() : 0;
    if (!bytes.sliced(start)
             .first(std::min(kAttribute.size(), bytes.size() - start))
             .toLower()
             .startsWith(kAttribute))
        return {};
    const Span span = nameAfter(bytes, start);
    if (!span.ok() || QByteArrayView(bytes).sliced(span.begin, span.end - span.begin) != "Module1")
        return {};
    qsizetype pos = span.end + 1;
    while (pos < bytes.size() && isBlank(bytes[pos]))
        ++pos;
    if (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n')
        return {};

    // The new name in the file's own code page; a code-page file keeps its code page.
    QByteArray encoded;
    if (!isAscii(bytes) && Ansi::isValidUtf8(bytes))
        encoded = name.toUtf8();
    else if (Ansi::fits(name))
        encoded = Ansi::encode(name);
    else if (isAscii(bytes))
        encoded = name.toUtf8();
    else
        return {};
    QByteArray result = bytes;
    result.replace(span.begin, span.end - span.begin, encoded);
    return result;
}

bool isBinary(QByteArrayView bytes)
{
    return bytes.contains('\0');
}

qsizetype withCrLf(QByteArrayView in, char* out, bool& lastWasCr)
{
    const char* p = in.data();
    const char* const end = p + in.size();
    char* o = out;
    char previous = lastWasCr ? '\r' : '\0';
    while (p < end) {
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* const runEnd = lf ? lf : end;
        if (runEnd > p) {
            std::memcpy(o, p, size_t(runEnd - p));
            o += runEnd - p;
            previous = runEnd[-1];
        }
        if (!lf)
            break;
        if (previous != '\r')
            *o++ = '\r';
        *o++ = '\n';
        previous = '\n';
        p = lf + 1;
    }
    lastWasCr = previous == '\r';
    return o - out;
}

void appendWithCrLf(QByteArray& out, QByteArrayView in, bool& lastWasCr)
{
    const qsizetype before = out.size();
    out.resize(before + 2 * in.size());
    out.resize(before + withCrLf(in, out.data() + before, lastWasCr));
}

bool refersToCompanion(const QByteArray& bytes)
{
    static const QRegularExpression reference(
        QStringLiteral(R"re("[^"\r\n]*\.(frx|ctx)"[ \t]*:[ \t]*[0-9a-f]+)re"),
        QRegularExpression::CaseInsensitiveOption);
    return reference.match(QString::fromLatin1(bytes)).hasMatch();
}

QString repairModule(const QString& path, const QByteArray& bytes, const QString& name)
{
    const QByteArray renamed = renamedModule(bytes, name);
    if (renamed.isEmpty())
        return QStringLiteral("Die Datei ''%1'' konnte nicht geändert werden.\n"
                              "Die interne Bezeichnung des Moduls bleibt ''Module1''.")
            .arg(path);
    // The module's file is the user's: the backup must be complete before the
    // file is replaced, and a failure keeps the old name.
    const QString backup = path + QStringLiteral(".bak");
    if (const FileIo::Result saved = FileIo::writeFileAtomically(backup, bytes); !saved)
        return QStringLiteral("Die Sicherung ''%1'' konnte nicht angelegt werden:\n%2\n"
                              "Die interne Bezeichnung des Moduls wurde nicht geändert.")
            .arg(backup, saved.reason());
    if (const FileIo::Result rewritten = FileIo::writeFileAtomically(path, renamed); !rewritten)
        return QStringLiteral("Die Datei ''%1'' konnte nicht geändert werden:\n%2\n"
                              "Die interne Bezeichnung des Moduls bleibt ''Module1''.")
            .arg(path, rewritten.reason());
    return {};
}

} // namespace ComponentFile
