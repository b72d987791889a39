#include "catalog/ProjectImport.h"

#include "catalog/ComponentKind.h"
#include "platform/Ansi.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ProjectImport {

namespace {

// Calls `each` with every line of `text`, without its CR LF or LF.
template <typename Each> void forEachLine(QStringView text, Each each)
{
    int number = 0;
    while (!text.isEmpty()) {
        qsizetype end = text.indexOf(u'\n');
        QStringView line = end < 0 ? text : text.first(end);
        text = end < 0 ? QStringView() : text.sliced(end + 1);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!each(line, ++number))
            return;
    }
}

QStringView unquoted(QStringView value)
{
    value = value.trimmed();
    if (value.startsWith(u'"')) {
        value = value.sliced(1);
        const qsizetype close = value.indexOf(u'"');
        if (close >= 0)
            value = value.first(close);
    }
    return value.trimmed();
}

// ---- resolution ----

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

// Finds entries on disk whose names may differ in letter case from the ones a
// project file gives. Folder listings are read once per resolution.
class DiskLookup
{
public:
    // The entry of `folder` named `name`: the exact one when it exists, else the
    // first case-insensitive match in sorted order; empty when none.
    QString entry(const QString& folder, const QString& name)
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
    QString find(const QString& folder, const QStringList& parts)
    {
        QString path = folder;
        for (const QString& part : parts) {
            path = entry(path, part);
            if (path.isEmpty())
                return {};
        }
        return path;
    }

private:
    const QStringList& listing(const QString& folder)
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

    QHash<QString, QStringList> m_listings;
};

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

// The file a raw path names, found on disk; empty when none.
QString locate(DiskLookup& disk, const QStringList& folderParts, QString raw)
{
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
        const QStringList parts = normalized(folderParts, partsOf(raw));
        if (parts.isEmpty())
            return {};
        const QString exact = absolute(parts);
        if (entryExists(exact))
            return exact;
        return disk.find(QStringLiteral("/"), parts);
    }
    // Not on this machine as written: the longest trailing parts that exist below
    // the project's folder or one of its parents, the nearest first.
    for (qsizetype first = 0; first < rest.size(); ++first) {
        const QStringList suffix = rest.sliced(first);
        for (qsizetype depth = folderParts.size(); depth >= 0; --depth) {
            const QString found = disk.find(absolute(folderParts.first(depth)), suffix);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

// ---- references ----

bool isHexGuid(QStringView text)
{
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text.front() != u'{' || text.back() != u'}')
        return false;
    for (qsizetype i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        const char16_t c = text[i].unicode();
        const bool hex =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (dash ? c != u'-' : !hex)
            return false;
    }
    return true;
}

// The GUID a reference's value begins with ("*\G{…}#…" or "{…}#…"), else empty.
QStringView guidOf(QStringView value)
{
    value = value.trimmed();
    if (value.startsWith(QLatin1String("*\\G"), Qt::CaseInsensitive))
        value = value.sliced(3);
    if (value.size() >= 38 && isHexGuid(value.first(38)))
        return value.first(38);
    return {};
}

enum class LineKind
{
    Other,
    Reference,
    Object
};

LineKind referenceKind(QStringView line, QStringView* value)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return LineKind::Other;
    const QStringView key = line.first(equals).trimmed();
    *value = line.sliced(equals + 1);
    if (key.compare(QLatin1String("Reference"), Qt::CaseInsensitive) == 0)
        return LineKind::Reference;
    if (key.compare(QLatin1String("Object"), Qt::CaseInsensitive) == 0)
        return LineKind::Object;
    return LineKind::Other;
}

} // namespace

Project parseProject(const QByteArray& bytes)
{
    Project project;
    if (bytes.contains('\0')) {
        project.problem = Problem::NotText;
        return project;
    }
    const QString text = Ansi::decode(bytes);
    forEachLine(text, [&](QStringView line, int number) {
        const QStringView trimmedLine = line.trimmed();
        if (trimmedLine.startsWith(u'['))
            return false; // the sections after the main part hold no components
        QStringView value;
        switch (referenceKind(line, &value)) {
        case LineKind::Reference:
            project.references.append(line.toString());
            return true;
        case LineKind::Object:
            project.objects.append(line.toString());
            return true;
        case LineKind::Other:
            break;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            return true;
        const QStringView key = line.first(equals).trimmed();
        const Catalog::Kind kind = Catalog::kindOfProjectKey(key);
        if (kind == Catalog::Kind::Other)
            return true;
        Component component;
        component.key = key.toString();
        component.kind = kind;
        component.line = number;
        QStringView path = value;
        if (Catalog::lineNamesComponent(kind)) {
            const qsizetype semicolon = value.indexOf(u';');
            if (semicolon >= 0) {
                component.declaredName = value.first(semicolon).trimmed().toString();
                path = value.sliced(semicolon + 1);
            }
        }
        component.rawPath = unquoted(path).toString();
        project.components.append(component);
        return true;
    });
    if (project.components.isEmpty())
        project.problem = Problem::NoComponents;
    return project;
}

void resolveComponents(Project* project, const QString& folder)
{
    DiskLookup disk;
    const QStringList folderParts = normalized({}, partsOf(folder));
    struct Identity
    {
        dev_t device;
        ino_t inode;
        bool operator==(const Identity&) const = default;
    };
    QList<Identity> seen;
    for (Component& component : project->components) {
        component.resolvedPath = locate(disk, folderParts, component.rawPath);
        const QString& named =
            component.resolvedPath.isEmpty() ? component.rawPath : component.resolvedPath;
        struct stat st;
        const bool stated = !component.resolvedPath.isEmpty() &&
                            ::stat(encoded(component.resolvedPath).constData(), &st) == 0;
        const int error = stated ? 0 : errno;
        // The file's ending decides the project line the generator writes for it.
        if (!Catalog::hasProjectLine(component.kind) || Catalog::kindOf(named) != component.kind)
            component.state = State::UnusableKind;
        else if (component.resolvedPath.isEmpty() || error == ENOENT)
            component.state = State::Missing; // also a link to nothing
        else if (!stated || !S_ISREG(st.st_mode))
            component.state = State::NotRegular;
        else if (seen.contains(Identity{st.st_dev, st.st_ino}))
            component.state = State::Duplicate;
        else
            component.state = State::Found;
        if (component.state == State::Found)
            seen.append(Identity{st.st_dev, st.st_ino});
    }
}

Project readProject(const QString& path)
{
    QByteArray bytes;
    const FileIo::Result read = FileIo::readRegularFile(path, &bytes, kMaxProjectBytes);
    Project project;
    if (read.ok()) {
        project = parseProject(bytes);
        project.folder = QFileInfo(path).absolutePath();
        resolveComponents(&project, project.folder);
    } else {
        project.problem = Problem::Unreadable;
        project.folder = QFileInfo(path).absolutePath();
    }
    project.path = path;
    project.read = read;
    return project;
}

QStringList objectLinesIn(const QByteArray& componentBytes)
{
    QStringList lines;
    const QString text = Ansi::decode(componentBytes);
    forEachLine(text, [&](QStringView line, int) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("Begin"), Qt::CaseInsensitive) &&
            (line.size() == 5 || line[5].isSpace())) {
            return false;
        }
        QStringView value;
        if (referenceKind(line, &value) != LineKind::Object)
            return true;
        // "{GUID}#2.0#0"; "X.OCX"
        value = value.trimmed();
        if (!value.startsWith(u'"'))
            return true;
        const qsizetype close = value.indexOf(u'"', 1);
        if (close < 0)
            return true;
        const QStringView id = value.sliced(1, close - 1);
        if (guidOf(id).isEmpty())
            return true;
        QString converted = QStringLiteral("Object=") + id.toString();
        QStringView rest = value.sliced(close + 1).trimmed();
        if (rest.startsWith(u';')) {
            const QStringView file = unquoted(rest.sliced(1));
            if (!file.isEmpty())
                converted += QStringLiteral("; ") + file.toString();
        }
        lines.append(converted);
        return true;
    });
    return lines;
}

QStringList objectLinesOf(const QString& componentPath)
{
    int fd = -1;
    qint64 size = 0;
    if (!FileIo::openRegularFile(componentPath, &fd, &size).ok())
        return {};
    QByteArray bytes(qMin(size, kMaxHeaderBytes), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        filled += n;
    }
    ::close(fd);
    bytes.truncate(filled);
    return objectLinesIn(bytes);
}

QStringList rememberedLines(const Project& project, const Component& component)
{
    QStringList lines = project.references;
    if ((component.kind == Catalog::Kind::Form || component.kind == Catalog::Kind::UserControl) &&
        component.state == State::Found) {
        lines += objectLinesOf(component.resolvedPath);
    }
    return lines;
}

QStringList mergeReferenceLines(const QStringList& lines)
{
    QStringList references;
    QStringList objects;
    QSet<QString> seen;
    for (const QString& line : lines) {
        QStringView value;
        const LineKind kind = referenceKind(line, &value);
        if (kind == LineKind::Other)
            continue;
        const QStringView guid = guidOf(value);
        const QString identity = guid.isEmpty()
                                     ? QString(kind == LineKind::Reference ? u'R' : u'O') +
                                           value.trimmed().toString().toCaseFolded()
                                     : guid.toString().toUpper();
        if (seen.contains(identity))
            continue;
        seen.insert(identity);
        (kind == LineKind::Reference ? references : objects).append(line);
    }
    return references + objects;
}

bool isReferenceLine(QStringView line)
{
    QStringView value;
    return referenceKind(line, &value) != LineKind::Other;
}

QString stateText(State state)
{
    switch (state) {
    case State::Found:
        return {};
    case State::Missing:
        return QStringLiteral("Datei fehlt");
    case State::NotRegular:
        return QStringLiteral("keine gewöhnliche Datei");
    case State::Duplicate:
        return QStringLiteral("doppelt aufgeführt");
    case State::UnusableKind:
        return QStringLiteral("Art wird in neuen Projekten nicht verwendet");
    }
    return {};
}

QString problemText(const Project& project)
{
    const QString name = QFileInfo(project.path).fileName();
    switch (project.problem) {
    case Problem::None:
        return {};
    case Problem::Unreadable:
        return QStringLiteral("Die Projektdatei ''%1'' konnte nicht gelesen werden. %2")
            .arg(name, project.read.reason());
    case Problem::NotText:
        return QStringLiteral("Die Datei ''%1'' ist keine Visual Basic Projektdatei.").arg(name);
    case Problem::NoComponents:
        return QStringLiteral("Die Projektdatei ''%1'' nennt keine Komponenten.").arg(name);
    }
    return {};
}

} // namespace ProjectImport
