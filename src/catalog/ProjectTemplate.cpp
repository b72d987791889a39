#include "catalog/ProjectTemplate.h"

#include "platform/AppContext.h"
#include "platform/FileCopy.h"
#include "platform/FileExistence.h"

#include <QFileInfo>

#include <unistd.h>

namespace ProjectTemplate {

QString file()
{
    return AppContext::templateFile();
}

QString spare()
{
    return AppContext::spareTemplateFile();
}

FileIo::Result provide()
{
    const QString shipped = AppContext::installedTemplate();
    if (AppContext::isPortable() || !FileIo::isRegularFile(shipped))
        return {};
    for (const QString& target : {file(), spare()}) {
        if (QFileInfo::exists(target))
            continue;
        const FileIo::Result copied = FileIo::copyFile(shipped, target);
        // Another start may have put it there a moment ago; that is as good.
        if (!copied && copied.error() != EEXIST)
            return copied;
    }
    return {};
}

QString Check::problem() const
{
    return state == State::Unreadable ? result.reason() : QString();
}

Check check(const QString& path)
{
    Check found;
    if (!FileExists(path))
        return found;
    // Opened, not read: a pipe or device in its place must not block.
    int fd = -1;
    qint64 size = 0;
    found.result = FileIo::openRegularFile(path, &fd, &size);
    if (fd >= 0)
        ::close(fd);
    found.state = !found.result ? Check::State::Unreadable
                  : size == 0   ? Check::State::Empty
                                : Check::State::Usable;
    return found;
}

QString Restore::failureText() const
{
    return QStringLiteral("Die Projektvorlage ''%1'' fehlt und konnte nicht aus ''%2'' "
                          "wiederhergestellt werden.\n%3")
        .arg(file(), spare(), problem);
}

Restore restore()
{
    Restore done;
    if (FileExists(file()) || !FileExists(spare()))
        return done;
    // Only a usable spare is copied; a bad one would only hide the loss.
    if (const Check spared = check(spare()); spared.state != Check::State::Usable) {
        done.state = Restore::State::SpareUnusable;
        done.problem = spared.state == Check::State::Empty
                           ? QStringLiteral("Die Ersatzvorlage ist leer.")
                           : spared.problem();
        return done;
    }
    done.result = FileIo::copyFile(spare(), file());
    done.state = done.result ? Restore::State::Restored : Restore::State::NotCopied;
    done.problem = done.result.reason();
    return done;
}

QString source()
{
    if (!FileExists(file()) && check(spare()).state == Check::State::Usable)
        return spare();
    return file();
}

} // namespace ProjectTemplate
