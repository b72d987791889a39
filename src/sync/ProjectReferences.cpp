#include "sync/ProjectReferences.h"

#include "catalog/ReferenceLines.h"
#include "platform/Ansi.h"

#include <QMap>

namespace Sync {

QByteArray withReferences(const QByteArray& projectBytes, const QStringList& lines,
                          QStringList* added)
{
    added->clear();
    QString text = Ansi::decode(projectBytes);
    const QString lineEnd = text.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n")
                            : text.contains(QLatin1Char('\n'))    ? QStringLiteral("\n")
                                                                  : QStringLiteral("\r\n");
    // Where each kind of line ends in the main part (before the first section).
    QStringList own;
    qsizetype firstLineEnd = -1;
    qsizetype lastReferenceEnd = -1;
    qsizetype firstObject = -1;
    qsizetype lastObjectEnd = -1;
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype lf = text.indexOf(QLatin1Char('\n'), pos);
        const qsizetype next = lf < 0 ? text.size() : lf + 1;
        QStringView line = QStringView(text).sliced(pos, (lf < 0 ? text.size() : lf) - pos);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().startsWith(u'['))
            break;
        if (firstLineEnd < 0)
            firstLineEnd = next;
        const ReferenceLines::Key key = ReferenceLines::keyOf(line);
        if (key != ReferenceLines::Key::Other)
            own << line.toString();
        if (key == ReferenceLines::Key::Reference)
            lastReferenceEnd = next;
        if (key == ReferenceLines::Key::Object) {
            lastObjectEnd = next;
            if (firstObject < 0)
                firstObject = pos;
        }
        pos = next;
    }

    QString references;
    QString objects;
    for (const QString& line : ReferenceLines::merged(own + lines)) {
        if (own.contains(line))
            continue;
        *added << line;
        (ReferenceLines::keyOf(line) == ReferenceLines::Key::Reference ? references : objects) +=
            line + lineEnd;
    }
    if (added->isEmpty())
        return projectBytes;

    const qsizetype start = qMax<qsizetype>(firstLineEnd, 0);
    const qsizetype referencesAt = lastReferenceEnd >= 0 ? lastReferenceEnd
                                   : firstObject >= 0    ? firstObject
                                                         : start;
    const qsizetype objectsAt = lastObjectEnd >= 0 ? lastObjectEnd : referencesAt;
    // From the back, so that the earlier place stays where it is; at the same place
    // the references come first.
    QMap<qsizetype, QString> inserts;
    inserts[objectsAt] += objects;
    inserts[referencesAt].prepend(references);
    for (auto it = inserts.cend(); it != inserts.cbegin();) {
        --it;
        // A last line without its line end gets one before what follows it.
        const bool unended =
            it.key() == text.size() && !text.isEmpty() && !text.endsWith(QLatin1Char('\n'));
        text.insert(it.key(), (unended ? lineEnd : QString()) + it.value());
    }
    return Ansi::encode(text);
}

} // namespace Sync
