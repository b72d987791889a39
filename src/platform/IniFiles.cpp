#include "platform/IniFiles.h"

#include "platform/IniDocument.h"

QString ReadIniValue(const QString& file, const QString& section, const QString& key)
{
    QString value;
    if (!Ini::findValue(file, section, key, &value))
        return {};
    const QStringView text = Ini::asRead(value);
    return text.size() == value.size() ? value : text.toString();
}

int WriteIniValue(const QString& file, const QString& section, const QString& key,
                  const QString& value)
{
    return Ini::writeValue(file, section, key, value).ok() ? 1 : 0;
}

int DeleteIniKey(const QString& file, const QString& section, const QString& key)
{
    return Ini::removeKey(file, section, key).ok() ? 1 : 0;
}

int DeleteIniSection(const QString& file, const QString& section)
{
    return Ini::removeSection(file, section).ok() ? 1 : 0;
}

int ReplaceIniSection(const QString& file, const QString& section,
                      const QList<QPair<QString, QString>>& keysAndValues)
{
    return Ini::replaceSection(file, section, keysAndValues).ok() ? 1 : 0;
}
