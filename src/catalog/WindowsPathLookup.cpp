#include "catalog/WindowsPathLookup.h"

#include <QFile>

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>

namespace {

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

bool entryExists(const QString& path)
{
    struct stat st;
    return ::lstat(encoded(path).constData(), &st) == 0;
}

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// Adds `parts` to `base` lexically, as Windows does: "." is dropped and ".." takes
// away the last part, but never goes above the root.
QStringList normalized(QStringList base, const QStringList& parts)
{
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!base.isEmpty())
                base.removeLast();
        } else {
            base.append(part);
        }
    }
    return base;
}

QStringList partsOf(QStringView path)
{
    return path.toString().split(u'/', Qt::SkipEmptyParts);
}

QString absolute(const QStringList& parts)
{
    return u'/' + parts.join(u'/');
}

bool isDriveLetter(QStringView path)
{
    return path.size() >= 2 && path[1] == u':' && path[0].unicode() < 0x80 && path[0].isLetter();
}

} // namespace

WindowsPathLookup::WindowsPathLookup(const QString& folder)
    : m_folderParts(normalized({}, partsOf(folder)))
{
}

QString WindowsPathLookup::find(const QString& rawPath)
{
    QString raw = rawPath;
    raw.replace(u'\\', u'/');
    if (raw.isEmpty())
        return {};
    QStringList rest;
    if (isDriveLetter(raw)) {
        rest = normalized({}, partsOf(QStringView(raw).sliced(2)));
    } else if (raw.startsWith(QLatin1String("//"))) {
        rest = normalized({}, partsOf(raw));
        if (!rest.isEmpty())
            rest.removeFirst(); // the server; its share may be a folder of a copy
    } else if (raw.startsWith(u'/')) {
        rest = normalized({}, partsOf(raw));
    } else {
        const QStringList parts = normalized(m_folderParts, partsOf(raw));
        if (parts.isEmpty())
            return {};
        const QString exact = absolute(parts);
        if (entryExists(exact))
            return exact;
        return follow(QStringLiteral("/"), parts);
    }
    // Not on this machine as written: the longest trailing parts that exist below
    // the project's folder or one of its parents, the nearest first.
    for (qsizetype first = 0; first < rest.size(); ++first) {
        const QStringList suffix = rest.sliced(first);
        for (qsizetype depth = m_folderParts.size(); depth >= 0; --depth) {
            const QString found = follow(absolute(m_folderParts.first(depth)), suffix);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

// The entry of `folder` named `name`: the exact one when it exists, else the
// first case-insensitive match in sorted order; empty when none.
QString WindowsPathLookup::entry(const QString& folder, const QString& name)
{
    const QString exact = joined(folder, name);
    if (entryExists(exact))
        return exact;
    const QStringList& names = listing(folder);
    for (const QString& candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return joined(folder, candidate);
    }
    return {};
}

// Follows `parts` from `folder`; the path found, or empty.
QString WindowsPathLookup::follow(const QString& folder, const QStringList& parts)
{
    QString path = folder;
    for (const QString& part : parts) {
        path = entry(path, part);
        if (path.isEmpty())
            return {};
    }
    return path;
}

const QStringList& WindowsPathLookup::listing(const QString& folder)
{
    auto it = m_listings.find(folder);
    if (it != m_listings.end())
        return *it;
    QStringList names;
    if (DIR* dir = ::opendir(encoded(folder).constData())) {
        while (const dirent* e = ::readdir(dir)) {
            const QString name = QFile::decodeName(e->d_name);
            if (name != QLatin1String(".") && name != QLatin1String(".."))
                names.append(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return *m_listings.insert(folder, names);
}
