#include "catalog/ProjectImport.h"

#include "catalog/ComponentKind.h"
#include "catalog/ReferenceLines.h"
#include "catalog/WindowsPathLookup.h"
#include "platform/Ansi.h"
#include "platform/IniGrammar.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>

namespace ProjectImport {

Project parseProject(const QByteArray& bytes)
{
    Project project;
    if (bytes.contains('\0')) {
        project.problem = Problem::NotText;
        return project;
    }
    const QString text = Ansi::decode(bytes);
    int number = 0;
    Ini::forEachLine(text, [&](QStringView line) {
        ++number;
        const QStringView trimmedLine = line.trimmed();
        if (trimmedLine.startsWith(u'['))
            return false; // the sections after the main part hold no components
        QStringView value;
        switch (ReferenceLines::keyOf(line, &value)) {
        case ReferenceLines::Key::Reference:
            project.references.append(line.toString());
            return true;
        case ReferenceLines::Key::Object:
            project.objects.append(line.toString());
            return true;
        case ReferenceLines::Key::Other:
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
        component.rawPath = Ini::unquoted(path.trimmed()).trimmed().toString();
        project.components.append(component);
        return true;
    });
    if (project.components.isEmpty())
        project.problem = Problem::NoComponents;
    return project;
}

void resolveComponents(Project* project, const QString& folder)
{
    WindowsPathLookup disk(folder);
    struct Identity
    {
        dev_t device;
        ino_t inode;
        bool operator==(const Identity&) const = default;
    };
    QList<Identity> seen;
    for (Component& component : project->components) {
        component.resolvedPath = disk.find(component.rawPath);
        const QString& named =
            component.resolvedPath.isEmpty() ? component.rawPath : component.resolvedPath;
        struct stat st;
        const bool stated = !component.resolvedPath.isEmpty() &&
                            ::stat(QFile::encodeName(component.resolvedPath).constData(), &st) == 0;
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

QStringList rememberedLines(const Project& project, const Component& component)
{
    QStringList lines = project.references;
    if ((component.kind == Catalog::Kind::Form || component.kind == Catalog::Kind::UserControl) &&
        component.state == State::Found) {
        lines += ReferenceLines::objectLinesOf(component.resolvedPath);
    }
    return lines;
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
