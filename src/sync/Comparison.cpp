#include "sync/Comparison.h"

#include "catalog/ComponentKind.h"
#include "catalog/ProjectImport.h"
#include "sync/SyncTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>

namespace Sync {

namespace {

// The files of a project folder by name, letter case aside: projects come from
// Windows, where a file keeps its place whatever case a tool gives its name.
class FolderNames
{
public:
    explicit FolderNames(const QString& folder) : m_folder(folder + QLatin1Char('/')) {}

    // The project's file of that name: the exact name when there is one.
    Generate::Fingerprint read(UnitFile& file)
    {
        Generate::Fingerprint print = Generate::fingerprintOf(file.projectPath, file.text);
        if (print.read.error() != ENOENT)
            return print;
        if (!m_names) {
            m_names.emplace();
            for (const QString& name : QDir(m_folder).entryList(QDir::Files | QDir::Hidden))
                m_names->insert(name.toCaseFolded(), name);
        }
        const QString name = m_names->value(QFileInfo(file.projectPath).fileName().toCaseFolded());
        if (name.isEmpty())
            return print;
        file.projectPath = m_folder + name;
        return Generate::fingerprintOf(file.projectPath, file.text);
    }

    QString path(const QString& name) const { return m_folder + name; }

private:
    QString m_folder;
    std::optional<QHash<QString, QString>> m_names;
};

bool missing(const Generate::Fingerprint& print)
{
    return print.read.error() == ENOENT;
}

// A file's fingerprint that is neither there nor missing, as the reason.
QString unreadable(const QString& path, const Generate::Fingerprint& print)
{
    return print.ok() || missing(print) ? QString() : FileIo::aboutFile(path, print.read.reason());
}

// Whether both sides hold a file and the same bytes, or neither holds one.
bool same(const Generate::Fingerprint& a, const Generate::Fingerprint& b)
{
    return a.ok() ? a.sameBytes(b) : !b.ok();
}

// The state of a recorded component from its files' three sides.
State stateOf(const Component& component, const Generate::Record& record)
{
    bool projectChanged = false;
    bool catalogueChanged = false;
    bool asCatalogue = true;
    for (const UnitFile& file : component.files) {
        const bool inCatalogue = !file.cataloguePath.isEmpty();
        if (file.recorded >= 0) {
            const QByteArray& was = record.files.at(file.recorded).sha256;
            projectChanged |= !file.project.ok() || file.project.sha256 != was;
            catalogueChanged |= !inCatalogue || file.catalogue.sha256 != was;
        } else {
            // New in the catalogue: a file of its name in the project is the project's own.
            projectChanged |= file.project.ok() && !file.project.sameBytes(file.catalogue);
            catalogueChanged = true;
        }
        // A companion the catalogue no longer has does not make the project differ.
        if (inCatalogue)
            asCatalogue &= file.project.sameBytes(file.catalogue);
    }
    if (asCatalogue || (!projectChanged && !catalogueChanged))
        return State::Current;
    if (!projectChanged)
        return State::Behind;
    return catalogueChanged ? State::Conflict : State::ChangedInProject;
}

} // namespace

Comparer::Comparer(const Catalog::Snapshot& catalogue) : m_catalogue(catalogue) {}

Generate::Fingerprint Comparer::catalogueFile(const QString& path, bool text)
{
    const auto found = m_catalogueFiles.constFind(path);
    if (found != m_catalogueFiles.constEnd())
        return *found;
    return *m_catalogueFiles.insert(path, Generate::fingerprintOf(path, text));
}

Project Comparer::compare(const QString& projectOrRecord)
{
    Project project;
    const bool isRecord = projectOrRecord.endsWith(QStringLiteral(".vorlagen"));
    project.projectFile = isRecord ? Generate::projectFileOf(projectOrRecord) : projectOrRecord;
    project.recordFile = isRecord ? projectOrRecord : Generate::recordPath(projectOrRecord);
    FileIo::Result read;
    project.record = Generate::readRecord(project.recordFile, &read);
    project.recorded = read.ok();
    if (project.recorded)
        compareRecorded(project);
    else if (read.error() == ENOENT && !isRecord)
        compareUnrecorded(project);
    else
        project.problem = FileIo::aboutFile(project.recordFile, read.reason());
    return project;
}

void Comparer::compareRecorded(Project& project)
{
    FolderNames names(QFileInfo(project.recordFile).path());
    const QList<Generate::RecordedFile>& recorded = project.record.files;
    // The record's files by entry, in the record's order: the component file, then
    // its companion.
    for (int i = 0; i < recorded.size(); ++i) {
        const QString& entry = recorded.at(i).entry;
        const auto isEntry = [&](const Component& c) {
            return c.entry.compare(entry, Qt::CaseInsensitive) == 0;
        };
        auto it = std::find_if(project.components.begin(), project.components.end(), isEntry);
        if (it == project.components.end())
            it = project.components.insert(project.components.end(), Component{entry});
        UnitFile file{
            names.path(recorded.at(i).fileName), {}, Catalog::isText(recorded.at(i).fileName), i};
        if (Catalog::companionOf(recorded.at(i).fileName) == Catalog::Kind::Other)
            it->files.prepend(file);
        else
            it->files.append(file);
    }

    for (Component& component : project.components) {
        UnitFile& main = component.files.first();
        const QString mainName = recorded.at(main.recorded).fileName;
        bool deleted = true;
        for (UnitFile& file : component.files) {
            file.project = names.read(file);
            deleted &= missing(file.project);
        }
        // The entry as the catalogue points to it now, only while it names the same file.
        const QString listed = m_catalogue.listedAs(component.entry);
        if (!listed.isEmpty() &&
            m_catalogue.fileNameOf(listed).compare(mainName, Qt::CaseInsensitive) == 0) {
            component.folder = m_catalogue.folderOf(listed);
            const QString fileName = m_catalogue.fileNameOf(listed);
            main.cataloguePath = component.folder + fileName;
            const QString companion = Catalog::companionIn(component.folder, fileName);
            if (!companion.isEmpty()) {
                if (component.files.size() < 2) {
                    component.files.append({names.path(companion), {}, false, -1});
                    component.files.last().project = names.read(component.files.last());
                }
                component.files[1].cataloguePath = component.folder + companion;
            }
        }
        for (UnitFile& file : component.files) {
            if (!file.cataloguePath.isEmpty())
                file.catalogue = catalogueFile(file.cataloguePath, file.text);
        }
        for (const UnitFile& file : std::as_const(component.files)) {
            if (component.reason.isEmpty())
                component.reason = unreadable(file.projectPath, file.project) +
                                   unreadable(file.cataloguePath, file.catalogue);
        }
        if (deleted)
            component.state = State::Deleted;
        else if (main.cataloguePath.isEmpty() || missing(main.catalogue))
            component.state = State::Gone;
        else if (!component.reason.isEmpty())
            component.state = State::Unreadable;
        else
            component.state = stateOf(component, project.record);
    }
}

void Comparer::compareUnrecorded(Project& project)
{
    const ProjectImport::Project read = ProjectImport::readProject(project.projectFile);
    if (read.problem != ProjectImport::Problem::None) {
        project.problem = ProjectImport::problemText(read);
        return;
    }
    for (const ProjectImport::Component& line : read.components) {
        if (line.state == ProjectImport::State::Duplicate)
            continue;
        const QString path = line.resolvedPath.isEmpty() ? line.rawPath : line.resolvedPath;
        Component component;
        component.entry =
            QFileInfo(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
        const QString name = component.entry;
        if (line.state != ProjectImport::State::Found) {
            // A kind new projects do not get is in no catalogue.
            component.state = line.state == ProjectImport::State::Missing      ? State::Deleted
                              : line.state == ProjectImport::State::NotRegular ? State::Unreadable
                                                                               : State::Unknown;
            if (component.state == State::Unreadable)
                component.reason = ProjectImport::stateText(line.state);
            project.components.append(component);
            continue;
        }
        // The project's file and its companion beside it.
        const QString here = QFileInfo(path).path() + QLatin1Char('/');
        QList<UnitFile> own{{path, {}, Catalog::isText(name), -1}};
        if (const QString companion = Catalog::companionIn(here, name); !companion.isEmpty())
            own.append({here + companion, {}, false, -1});
        for (UnitFile& file : own)
            file.project = Generate::fingerprintOf(file.projectPath, file.text);
        // Every entry of that file name, letter case aside; the first with the same bytes.
        QList<Component> matches;
        for (const Catalog::Listed& listed : m_catalogue.listedOnce()) {
            const QString fileName = m_catalogue.fileNameOf(listed.name);
            if (fileName.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            Component match{listed.name, State::Equal, {}, m_catalogue.folderOf(listed.name), own};
            match.files[0].cataloguePath = match.folder + fileName;
            if (const QString companion = Catalog::companionIn(match.folder, fileName);
                !companion.isEmpty()) {
                if (match.files.size() < 2)
                    match.files.append({here + companion, {}, false, -1});
                match.files[1].cataloguePath = match.folder + companion;
            }
            bool equal = true;
            for (UnitFile& file : match.files) {
                if (!file.cataloguePath.isEmpty())
                    file.catalogue = catalogueFile(file.cataloguePath, file.text);
                equal &= same(file.project, file.catalogue);
            }
            match.state = equal ? State::Equal : State::Differs;
            matches.append(match);
        }
        const auto equal = std::find_if(matches.cbegin(), matches.cend(),
                                        [](const Component& c) { return c.state == State::Equal; });
        if (equal != matches.cend())
            component = *equal;
        else if (!matches.isEmpty())
            component = matches.first();
        else
            component.state = State::Unknown;
        for (const UnitFile& file : std::as_const(component.files))
            component.reason += unreadable(file.projectPath, file.project);
        if (!component.reason.isEmpty())
            component.state = State::Unreadable;
        project.components.append(component);
    }
}

namespace {

void walk(const QString& folder, QStringList* records, QStringList* unreadable)
{
    const QByteArray encoded = QFile::encodeName(folder);
    DIR* dir = ::opendir(encoded.constData());
    if (!dir) {
        *unreadable << unreadableFolderText(folder, FileIo::Result::failure(errno));
        return;
    }
    QStringList folders;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const QString path = folder + QLatin1Char('/') + QFile::decodeName(name);
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR)
            folders << path;
        else if (type == DT_REG && name.endsWith(".vorlagen"))
            *records << path;
    }
    ::closedir(dir);
    for (const QString& inner : std::as_const(folders))
        walk(inner, records, unreadable);
}

} // namespace

QStringList findRecords(const QString& folder, QStringList* unreadable)
{
    QStringList records;
    walk(QDir::cleanPath(folder), &records, unreadable);
    records.sort();
    return records;
}

bool canBeChosen(State state)
{
    return state == State::Behind || state == State::Conflict || state == State::Equal;
}

bool checkedAtFirst(State state)
{
    return state == State::Behind || state == State::Equal;
}

bool wantsUpdate(State state)
{
    return state == State::Behind || state == State::Conflict;
}

} // namespace Sync
