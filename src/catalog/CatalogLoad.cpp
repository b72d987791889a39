#include "catalog/CatalogLoad.h"

#include "catalog/Sections.h"
#include "platform/AppContext.h"
#include "platform/FileExistence.h"
#include "platform/IniDocument.h"

#include <QFile>
#include <QSet>

namespace Catalog {

using namespace Section;

namespace {

// An earlier start-up log up to this size is continued; a larger one is replaced.
constexpr qint64 kMaxLogSize = qint64(16) * 1024 * 1024;

} // namespace

void removeLeftovers()
{
    FileIo::removeStaleTemporaries(file());
}

Load inspect(const Snapshot& catalogue)
{
    Load result;
    result.catalogue = catalogue;
    QSet<int> first;
    for (const Listed& listed : catalogue.listedOnce())
        first.insert(listed.key);
    // Every listing of a missing file is logged; a later listing of a present one
    // is dropped.
    for (const Listed& listed : catalogue.enumerate()) {
        const QString folder = catalogue.folderOf(listed.name);
        const QString fileName = catalogue.fileNameOf(listed.name);
        if (!FileExists(folder + fileName))
            result.missingFiles << folder + fileName;
        else if (!first.contains(listed.key))
            result.dropped << listed;
        else
            result.entries.append({listed.key, listed.name, folder, fileName,
                                   catalogue.captionOf(listed.name),
                                   catalogue.isMarked(listed.name)});
    }
    return result;
}

Load load()
{
    Load result = inspect(Snapshot::read());
    if (!result.dropped.isEmpty() && result.catalogue.ok()) {
        // The sorted save that follows needs the duplicates gone; if they stay, the
        // next load drops them again.
        result.droppedSaved = Ini::edit(file(), [&](Ini::Document& document) {
            bool changed = false;
            for (const Listed& listed : std::as_const(result.dropped))
                changed |= document.removeKey(kFilelist, QString::number(listed.key));
            return changed;
        });
    }
    return result;
}

QString startupLog()
{
    return AppContext::logFile();
}

void removeStartupLog()
{
    if (FileExists(startupLog()))
        QFile::remove(startupLog());
}

void writeStartupLog(const QStringList& missingFiles)
{
    if (missingFiles.isEmpty())
        return;
    const QString log = startupLog();
    QByteArray text;
    // A log that could not be removed is continued, as if appended line by line.
    if (FileExists(log) && FileIo::readRegularFile(log, &text, kMaxLogSize).ok() &&
        text.endsWith("\r\n"))
        text.chop(2);
    for (const QString& path : missingFiles)
        text += "\r\nFile is not exists: " + path.toUtf8();
    (void)FileIo::writeFileAtomically(log, text + "\r\n");
}

} // namespace Catalog
