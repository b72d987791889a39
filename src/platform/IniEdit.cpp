#include "platform/IniEdit.h"

#include "platform/IniDocument.h"

namespace Ini {

FileIo::Result edit(const QString& path, const std::function<bool(Document&)>& change)
{
    // Read inside the lock, so a change made meanwhile by another program is
    // the one this change builds on.
    FileIo::FileLock lock;
    const FileIo::Result locked = lock.acquire(path);
    Document document(path);
    if (!change(document))
        return {};
    if (!locked)
        return locked;
    return document.save();
}

namespace {
FileIo::Result refused()
{
    return FileIo::Result::failure(FileIo::kRefused);
}
} // namespace

FileIo::Result writeValue(const QString& path, QStringView section, QStringView key,
                          QStringView value)
{
    if (!isWritableSection(section) || !isWritableKey(key) || !isWritableValue(value))
        return refused();
    bool accepted = false;
    const FileIo::Result result = edit(path, [&](Document& document) {
        accepted = document.setValue(section, key, value);
        // Refused only by a document that cannot be written; its save says why.
        return accepted || !document.writable();
    });
    if (!result || accepted)
        return result;
    return FileIo::Result::failure(FileIo::kRefused);
}

FileIo::Result removeKey(const QString& path, QStringView section, QStringView key)
{
    return edit(path, [&](Document& document) { return document.removeKey(section, key); });
}

FileIo::Result removeSection(const QString& path, QStringView section)
{
    return edit(path, [&](Document& document) { return document.removeSection(section); });
}

FileIo::Result replaceSection(const QString& path, QStringView section,
                              const QList<QPair<QString, QString>>& keysAndValues)
{
    // Refuse before anything changes, so a bad pair leaves the file as it was.
    if (!isWritableSection(section))
        return refused();
    for (const auto& [key, value] : keysAndValues) {
        if (!isWritableKey(key) || !isWritableValue(value))
            return refused();
    }
    return edit(path, [&](Document& document) {
        // An unwritable document still goes to save(), which says why.
        document.removeSection(section);
        for (const auto& [key, value] : keysAndValues)
            document.setValue(section, key, value);
        return true;
    });
}

} // namespace Ini
