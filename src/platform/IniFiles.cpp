#include "platform/IniFiles.h"

#include "platform/IniDocument.h"

QString ReadIniValue(const QString& file, const QString& section, const QString& key)
{
    QString value;
    if (!Ini::findValue(file, section, key, &value))
        return {};
    QStringView text = Ini::unquoted(value);
    if (text.size() > Ini::kMaxValueLength) {
        text = text.first(Ini::kMaxValueLength);
        // Never hand out half of a character.
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text.size() == value.size() ? value : text.toString();
}

int WriteIniValue(const QString& file, const QString& section, const QString& key,
                  const QString& value)
{
    Ini::Document document(file);
    return document.setValue(section, key, value) && document.save().ok() ? 1 : 0;
}

void DeleteIniKey(const QString& file, const QString& section, const QString& key)
{
    Ini::Document document(file);
    if (document.removeKey(section, key))
        (void)document.save();
}

void DeleteIniSection(const QString& file, const QString& section)
{
    Ini::Document document(file);
    if (document.removeSection(section))
        (void)document.save();
}

int ReplaceIniSection(const QString& file, const QString& section,
                      const QList<QPair<QString, QString>>& keysAndValues)
{
    // Refuse before anything changes, so a bad pair leaves the file as it was.
    if (!Ini::isWritableSection(section))
        return 0;
    for (const auto& [key, value] : keysAndValues) {
        if (!Ini::isWritableKey(key) || !Ini::isWritableValue(value))
            return 0;
    }
    Ini::Document document(file);
    if (document.state() == Ini::Document::State::Unreadable)
        return 0;
    document.removeSection(section);
    for (const auto& [key, value] : keysAndValues)
        document.setValue(section, key, value);
    return document.save().ok() ? 1 : 0;
}
