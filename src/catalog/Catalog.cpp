#include "catalog/Catalog.h"

#include "platform/AppContext.h"
#include "platform/IniFiles.h"

#include <QCollator>

namespace Catalog {

QString file()
{
    return AppContext::catalogFile();
}

QString read(const QString& section, const QString& key)
{
    return ReadIniValue(file(), section, key);
}

int write(const QString& section, const QString& key, const QString& value)
{
    return WriteIniValue(file(), section, key, value);
}

QList<Listed> enumerate()
{
    QList<Listed> listed;
    for (int n = kFirstKey; n <= kLastKey; ++n) {
        const QString name = read(QStringLiteral("Filelist"), QString::number(n));
        if (!name.isEmpty())
            listed.append({n, name});
    }
    return listed;
}

QStringList sortedNames()
{
    QStringList names;
    for (const Listed& entry : enumerate()) {
        if (!read(QStringLiteral("Filepath"), entry.name).isEmpty())
            names << entry.name;
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}

void saveList(const QStringList& names)
{
    QList<QPair<QString, QString>> keys;
    for (qsizetype i = 0; i < names.size() && i <= kLastKey - kFirstKey; ++i)
        keys.append({QString::number(kFirstKey + i), names.at(i)});
    ReplaceIniSection(file(), QStringLiteral("Filelist"), keys);
}

} // namespace Catalog
