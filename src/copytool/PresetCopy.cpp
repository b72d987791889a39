#include "copytool/PresetCopy.h"

#include "catalog/Catalog.h"
#include "platform/AppContext.h"
#include "platform/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>

#include <sys/stat.h>
#include <unistd.h>

namespace PresetCopy {

namespace {

const QString& kCatalog = AppContext::kCatalogName;
const QString& kTemplate = AppContext::kTemplateName;
// The spare of the template: copied when there, but a data folder needs none.
const QString& kSpareTemplate = AppContext::kSpareTemplateName;

QString quoted(const QString& text)
{
    return QStringLiteral("''") + text + QStringLiteral("''");
}

// The path with every existing part resolved, so that links cannot hide that
// one folder lies inside another; the parts that do not exist yet stay as given.
QString realPath(const QString& path)
{
    QString existing = QDir::cleanPath(path);
    QString rest;
    while (!existing.isEmpty() && !QFileInfo::exists(existing)) {
        const QFileInfo info(existing);
        rest = QLatin1Char('/') + info.fileName() + rest;
        existing = info.path();
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return QDir::cleanPath((canonical.isEmpty() ? existing : canonical) + rest);
}

bool isInside(const QString& path, const QString& folder)
{
    return path == folder ||
           path.startsWith(folder == QLatin1String("/") ? folder : folder + QLatin1Char('/'));
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

qint64 sizeOf(const QString& path)
{
    return QFileInfo(path).size();
}

// Components of the same name from different folders go to numbered subfolders.
class Placement
{
public:
    // The folder value (relative to the target) for the component file `source`
    // and its companion, `names`.
    QString place(const QString& source, const QStringList& names)
    {
        if (const auto it = m_bySource.constFind(source); it != m_bySource.constEnd())
            return it.value();
        for (int slot = 0;; ++slot) {
            QSet<QString>& taken = m_taken[slot];
            bool free = true;
            for (const QString& name : names)
                free &= !taken.contains(name.toLower());
            if (!free)
                continue;
            for (const QString& name : names)
                taken.insert(name.toLower());
            const QString folder =
                slot == 0 ? kComponentFolder
                          : kComponentFolder + QString::number(slot + 1) + QLatin1Char('/');
            m_bySource.insert(source, folder);
            return folder;
        }
    }

private:
    QHash<int, QSet<QString>> m_taken;
    QHash<QString, QString> m_bySource;
};

} // namespace

Plan plan(const QString& sourceFolder, const QString& targetFolder)
{
    Plan p;
    p.sourceFolder = QDir::cleanPath(QFileInfo(sourceFolder).absoluteFilePath());
    if (targetFolder.trimmed().isEmpty()) {
        p.refusal = QStringLiteral("Bitte geben Sie einen Zielordner an.");
        return p;
    }
    // "~/" is the home folder, as in a shell; a path relative to whatever
    // folder the program was started in would put the copy somewhere unseen.
    QString typed = targetFolder.trimmed();
    if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
        typed = QDir::homePath() + typed.mid(1);
    if (QDir::isRelativePath(typed)) {
        p.refusal = QStringLiteral("Der Zielordner %1 ist kein vollständiger Pfad. Bitte geben Sie "
                                   "ihn ab dem obersten Ordner / an, oder mit ~/ ab Ihrem "
                                   "persönlichen Ordner.")
                        .arg(quoted(targetFolder));
        return p;
    }
    p.targetFolder = QDir::cleanPath(typed);
    const QFileInfo target(p.targetFolder);
    if (target.exists() && !target.isDir()) {
        p.refusal = QStringLiteral("Der Zielordner %1 ist eine Datei und kein Ordner.")
                        .arg(quoted(p.targetFolder));
        return p;
    }
    if (isInside(realPath(p.targetFolder), realPath(p.sourceFolder))) {
        p.refusal = QStringLiteral("Der Zielordner %1 liegt im Ordner der Vorlagen %2. Bitte "
                                   "wählen Sie einen Ordner außerhalb davon.")
                        .arg(quoted(p.targetFolder), quoted(p.sourceFolder));
        return p;
    }

    auto add = [&](const QString& source, const QString& relative) {
        p.files.append({source, p.targetFolder + QLatin1Char('/') + relative, sizeOf(source)});
        p.totalBytes += p.files.constLast().size;
    };
    for (const QString& name : {kTemplate, kSpareTemplate}) {
        const QString source = p.sourceFolder + QLatin1Char('/') + name;
        if (FileIo::isRegularFile(source))
            add(source, name);
        else if (name == kTemplate)
            p.missing << QStringLiteral("Projektvorlage %1 fehlt.").arg(quoted(source));
    }

    const QString catalog = p.sourceFolder + QLatin1Char('/') + kCatalog;
    const Catalog::Snapshot catalogue = Catalog::Snapshot::read(catalog);
    // Its entries are not known, so a copy of it would be no copy of the presets.
    if (!catalogue.ok()) {
        p.refusal = catalogue.problem() + QStringLiteral(" Es wurde nichts kopiert.");
        p.files.clear();
        p.totalBytes = 0;
        return p;
    }
    Placement placement;
    for (const Catalog::Listed& listed : catalogue.listedOnce()) {
        const QString& name = listed.name;
        const QString folder = catalogue.folderOf(name);
        const QString fileName = catalogue.fileNameOf(name);
        const QString source = folder + fileName;
        const bool named =
            !folder.isEmpty() && !fileName.isEmpty() && !fileName.contains(QLatin1Char('/'));
        if (!named || !FileIo::isRegularFile(source)) {
            p.missing << (named ? QStringLiteral("Komponente %1: %2 fehlt.")
                                      .arg(quoted(name), quoted(source))
                                : QStringLiteral("Komponente %1: Ordner oder Dateiname fehlt im "
                                                 "Katalog.")
                                      .arg(quoted(name)));
            // Kept as it was, so the copy loses no entry; an absolute folder
            // still finds the file once it is back.
            if (!folder.isEmpty())
                p.folders.append({name, folder});
            continue;
        }
        const QString companion = Catalog::companionIn(folder, fileName);
        QStringList names{fileName};
        if (!companion.isEmpty())
            names << companion;
        const QString placed = placement.place(realPath(source), names);
        p.folders.append({name, placed});
        const bool already = std::any_of(p.files.cbegin(), p.files.cend(), [&](const File& f) {
            return f.target == p.targetFolder + QLatin1Char('/') + placed + fileName;
        });
        if (already)
            continue;
        add(source, placed + fileName);
        if (!companion.isEmpty())
            add(folder + companion, placed + companion);
    }
    if (FileIo::isRegularFile(catalog))
        add(catalog, kCatalog);
    else
        p.missing << QStringLiteral("Katalog %1 fehlt.").arg(quoted(catalog));

    for (const File& f : std::as_const(p.files)) {
        if (sameFile(f.source, f.target)) {
            p.refusal = QStringLiteral("Der Zielordner %1 enthält die Vorlagen selbst (%2). Bitte "
                                       "wählen Sie einen anderen Ordner.")
                            .arg(quoted(p.targetFolder), quoted(f.source));
            return p;
        }
    }
    return p;
}

QStringList existingTargets(const Plan& plan)
{
    QStringList existing;
    for (const File& f : plan.files) {
        if (QFileInfo::exists(f.target) || QFileInfo(f.target).isSymLink())
            existing << f.target;
    }
    return existing;
}

Outcome run(const Plan& plan, bool replace, Generate::CopyControl* control)
{
    Outcome outcome;
    outcome.missing = plan.missing;
    if (!plan.refusal.isEmpty()) {
        outcome.failed << plan.refusal;
        return outcome;
    }
    Generate::CopyPlan copies;
    copies.projectFolder = plan.targetFolder;
    copies.totalBytes = plan.totalBytes;
    copies.replace = replace;
    QStringList createdFolders;
    QHash<QString, FileIo::Result> made; // each folder once: whether it is there
    QString draft;
    for (const File& f : plan.files) {
        // Named by the target, so the list says what is missing.
        Generate::FileCopy copy{f.target, f.source, f.target, {}, false, f.size};
        const QString folder = QFileInfo(f.target).path();
        if (!made.contains(folder))
            made.insert(folder, Generate::makeFolders(folder, &createdFolders));
        FileIo::Result ready = made.value(folder);
        if (ready && f.target.endsWith(QLatin1Char('/') + kCatalog)) {
            // The catalogue appears only with its folders already pointing here.
            draft = folder + QStringLiteral("/.") + kCatalog + QStringLiteral(".neu");
            QFile::remove(draft);
            FileIo::CopyOptions plain;
            plain.sync = false;
            ready = FileIo::copyFile(f.source, draft, plain);
            if (ready)
                ready = Catalog::setFolders(draft, plan.folders);
            copy.source = draft;
        }
        if (!ready)
            copy.refused = ready.reason();
        copies.files.append(copy);
    }

    Generate::CopyControl own;
    const Generate::CopyResult result = Generate::runCopies(copies, control ? *control : own);
    if (!draft.isEmpty()) {
        QFile::remove(draft);
        // The draft was this run's alone; its lock file goes with it.
        QFile::remove(FileIo::lockPath(draft));
    }
    if (result.cancelled) {
        // Nothing was put in place; the folders made for it go too.
        Generate::removeEmptyFolders(createdFolders);
        outcome.cancelled = true;
        return outcome;
    }
    const QSet<QString> written(result.written.cbegin(), result.written.cend());
    for (const File& f : plan.files) {
        if (written.contains(f.target)) {
            ++outcome.copied;
            outcome.bytes += f.size;
        }
    }
    for (const Generate::Failure& failed : result.failures) {
        const bool gone = failed.reason == Generate::Reason::kSourceMissing;
        outcome.failed << FileIo::aboutFile(failed.file,
                                            gone ? FileIo::reasonFor(ENOENT) : failed.reason);
    }
    // The renames in the subfolders, too, have reached the disk (a stick may be
    // pulled after the summary), and a late write error is not missed.
    if (const FileIo::Result synced = FileIo::syncFileSystem(plan.targetFolder);
        !synced && QFileInfo(plan.targetFolder).isDir())
        outcome.failed << FileIo::aboutFile(plan.targetFolder, synced.reason());
    return outcome;
}

QString summary(const Plan& plan, const Outcome& outcome)
{
    QString text;
    if (!plan.refusal.isEmpty())
        return plan.refusal;
    if (outcome.cancelled)
        return kCancelled;
    text = QStringLiteral("%1 Dateien (%2 MB) wurden nach %3 kopiert.")
               .arg(outcome.copied)
               .arg(QLocale(QLocale::German).toString(double(outcome.bytes) / 1e6, 'f', 1),
                    quoted(plan.targetFolder));
    if (outcome.ok())
        text += QStringLiteral("\nAlle Vorlagen sind vollständig kopiert.");
    if (!outcome.missing.isEmpty())
        text += QStringLiteral("\n\nIn den Vorlagen fehlen:\n") +
                outcome.missing.join(QLatin1Char('\n'));
    if (!outcome.failed.isEmpty())
        text += QStringLiteral("\n\nNicht kopiert:\n") + outcome.failed.join(QLatin1Char('\n'));
    return text;
}

} // namespace PresetCopy
