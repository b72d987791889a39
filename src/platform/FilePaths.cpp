#include "platform/FilePaths.h"

#include <QFile>
#include <QFileInfo>

#include <limits.h>
#include <sys/stat.h>

namespace FileIo {

namespace {
constexpr qsizetype kNameMax = NAME_MAX; // bytes in one name of a folder entry
} // namespace

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

mode_t creationMode()
{
    // umask can only be read by setting it; done once, before any threads write.
    static const mode_t mask = [] {
        const mode_t old = ::umask(022);
        ::umask(old);
        return old;
    }();
    return 0666 & ~mask;
}

// A link is replaced at its target, so the link itself survives the rename.
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

// `name` cut at the end of a character so that `extra` more bytes still make a
// legal file name: the temporary file or lock of a target whose own name is
// near the limit would otherwise be too long to create.
QString fitted(const QString& name, qsizetype extra)
{
    QString cut = name;
    while (!cut.isEmpty() && encoded(cut).size() + extra > kNameMax) {
        cut.chop(1);
        if (!cut.isEmpty() && cut.back().isHighSurrogate())
            cut.chop(1);
    }
    return cut;
}

// "/.<name><ending>" beside the file, within the limit of one name.
QString besidePath(const QString& path, const QString& ending, qsizetype reserved)
{
    const QFileInfo info(path);
    const QString dot = QStringLiteral(".");
    return info.absolutePath() + QLatin1Char('/') + dot +
           fitted(info.fileName(), dot.size() + encoded(ending).size() + reserved) + ending;
}

} // namespace FileIo
