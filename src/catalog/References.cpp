#include "catalog/References.h"

#include "catalog/Catalog.h"
#include "catalog/ReferenceLines.h"
#include "platform/IniDocument.h"

#include <algorithm>

namespace References {

namespace {

const QString kSection = QStringLiteral("References");

QString lineKey(const QString& name, int line)
{
    return name + QLatin1Char('.') + QString::number(line);
}

QString pieceKey(const QString& name, int line, int piece)
{
    return lineKey(name, line) + QLatin1Char('-') + QString::number(piece);
}

bool isNumber(QStringView text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The entry a key belongs to: what comes before its last dot, when a line number
// (with or without a piece number) follows it; else none.
QStringView ownerOf(QStringView key)
{
    const qsizetype dot = key.lastIndexOf(u'.');
    if (dot <= 0)
        return {};
    const QStringView number = key.sliced(dot + 1);
    const qsizetype dash = number.indexOf(u'-');
    const bool numbered = dash < 0
                              ? isNumber(number)
                              : isNumber(number.first(dash)) && isNumber(number.sliced(dash + 1));
    return numbered ? key.first(dot) : QStringView();
}

// Pieces a read gives back whole: at most the read's length, never half of a
// character.
QStringList piecesOf(const QString& line)
{
    QStringList pieces;
    for (qsizetype at = 0; at < line.size();) {
        qsizetype length = qMin(Ini::kMaxValueLength, line.size() - at);
        if (line.at(at + length - 1).isHighSurrogate() && at + length < line.size())
            --length;
        pieces << line.mid(at, length);
        at += length;
    }
    return pieces;
}

bool canRemember(const QString& line)
{
    return ReferenceLines::isReferenceLine(line) && Ini::isWritableValue(line);
}

} // namespace

QStringList linesOf(const Catalog::Snapshot& catalogue, const QString& name)
{
    const QString fileName = catalogue.fileNameOf(name);
    if (fileName.isEmpty() || catalogue.value(kSection, lineKey(name, 0)) != fileName)
        return {};
    QStringList lines;
    for (int n = 1;; ++n) {
        QString line = catalogue.value(kSection, lineKey(name, n));
        if (line.isEmpty())
            return lines;
        for (int piece = 2;; ++piece) {
            const QString more = catalogue.value(kSection, pieceKey(name, n, piece));
            if (more.isEmpty())
                break;
            line += more;
        }
        lines << line;
    }
}

QStringList linesOfFile(const QString& componentPath)
{
    const Catalog::Kind kind = Catalog::kindOf(componentPath);
    if (kind != Catalog::Kind::Form && kind != Catalog::Kind::UserControl)
        return {};
    return ReferenceLines::objectLinesOf(componentPath);
}

QStringList setLines(Ini::Document& document, const QString& name, const QString& fileName,
                     const QStringList& lines)
{
    removeLines(document, name);
    QStringList kept;
    QStringList left;
    for (const QString& line : lines)
        (canRemember(line) ? kept : left) << line;
    kept = ReferenceLines::merged(kept);
    if (kept.isEmpty())
        return left;
    if (!document.writable() || !Catalog::canHoldName(name) || !Catalog::canHoldValue(fileName))
        return lines;
    document.setValue(kSection, lineKey(name, 0), fileName);
    for (int n = 1; n <= kept.size(); ++n) {
        const QStringList pieces = piecesOf(kept.at(n - 1));
        for (int piece = 1; piece <= pieces.size(); ++piece) {
            document.setValue(kSection, piece == 1 ? lineKey(name, n) : pieceKey(name, n, piece),
                              Catalog::storedCaption(pieces.at(piece - 1)));
        }
    }
    return left;
}

bool removeLines(Ini::Document& document, const QString& name)
{
    if (Ini::trimmed(name).isEmpty())
        return false;
    QStringList ours;
    bool others = false;
    bool inSection = false;
    bool seen = false;
    for (const QStringView line : document.lines()) {
        const Ini::LineParts parts = Ini::parseLine(line);
        if (parts.kind == Ini::LineKind::Section) {
            // Only the first section of the name counts, as for every read.
            inSection = !seen && parts.name.compare(kSection, Qt::CaseInsensitive) == 0;
            seen = seen || inSection;
        } else if (parts.kind == Ini::LineKind::Key && inSection) {
            if (ownerOf(parts.name).compare(Ini::trimmed(name), Qt::CaseInsensitive) == 0)
                ours << parts.name.toString();
            else
                others = true;
        }
    }
    for (const QString& key : std::as_const(ours))
        document.removeKey(kSection, key);
    if (!ours.isEmpty() && !others)
        document.removeSection(kSection);
    return !ours.isEmpty();
}

} // namespace References
