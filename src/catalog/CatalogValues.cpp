#include "catalog/CatalogValues.h"

#include "catalog/Sections.h"
#include "catalog/Snapshot.h"
#include "platform/IniDocument.h"

#include <algorithm>

namespace Catalog {

using namespace Section;

FileIo::Result setCaption(const QString& name, const QString& caption)
{
    return Ini::writeValue(file(), kCaption, name, caption);
}

QString storedCaption(const QString& caption)
{
    if (Ini::trimmed(caption).size() == caption.size() && Ini::unquoted(caption) == caption)
        return caption;
    return QLatin1Char('"') + caption + QLatin1Char('"');
}

bool setMarks(Ini::Document& document, const QStringList& names)
{
    // Refused before anything changes, so a bad name leaves the marks as they were.
    if (!std::all_of(names.begin(), names.end(),
                     [](const QString& name) { return Ini::isWritableKey(name); }))
        return false;
    // An unwritable document still goes to its save, which says why.
    document.removeSection(kMarked);
    for (const QString& name : names)
        document.setValue(kMarked, name, QStringLiteral("1"));
    return true;
}

FileIo::Result setFolders(const QString& catalogFile,
                          const QList<QPair<QString, QString>>& namesAndFolders)
{
    return Ini::edit(catalogFile, [&](Ini::Document& doc) {
        bool changed = false;
        for (const auto& [name, folder] : namesAndFolders)
            changed |= doc.setValue(kFilepath, name, folder);
        return changed;
    });
}

bool canHoldValue(QStringView value)
{
    return Ini::isWritableValue(value) && value.size() <= Ini::kMaxValueLength &&
           Ini::trimmed(value).size() == value.size() &&
           Ini::unquoted(value).size() == value.size();
}

bool canHoldName(QStringView name)
{
    if (name.isEmpty() || !canHoldValue(name) || !Ini::isWritableKey(name) || name.contains(u']'))
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

QString entryProblem(const QString& name, const QString& folder, const QString& fileName)
{
    const auto tooLong = [](const QString& what, QStringView value) {
        return QStringLiteral("%1 ist mit %2 Zeichen zu lang: Die Vorlagenliste speichert "
                              "höchstens %3 Zeichen.")
            .arg(what)
            .arg(value.size())
            .arg(Ini::kMaxValueLength);
    };
    const auto unfit = [](const QString& what) {
        return QStringLiteral("%1 enthält einen Zeilenumbruch oder beginnt oder endet mit einem "
                              "Leerzeichen oder Anführungszeichen; so liest die Vorlagenliste "
                              "ihn nicht unverändert zurück.")
            .arg(what);
    };
    const QString fileWhat = QStringLiteral("Ihr Dateiname");
    const QString folderWhat = QStringLiteral("Ihr Ordner");
    if (fileName.size() > Ini::kMaxValueLength)
        return tooLong(fileWhat, fileName);
    if (folder.size() > Ini::kMaxValueLength)
        return tooLong(folderWhat, folder);
    if (!canHoldValue(fileName))
        return unfit(fileWhat);
    if (!canHoldValue(folder))
        return unfit(folderWhat);
    if (name.isEmpty())
        return QStringLiteral("Ihr Dateiname hat vor dem ersten Punkt keinen Namen, unter dem "
                              "sie aufgeführt werden könnte.");
    if (!canHoldName(name))
        return QStringLiteral("Der Name ''%1'', unter dem sie aufgeführt würde, enthält Zeichen, "
                              "die die Vorlagenliste nicht als Namen speichern kann (= oder ], "
                              "ein Steuerzeichen, [ oder ; am Anfang, Leerzeichen oder "
                              "Anführungszeichen am Rand).")
            .arg(name);
    return {};
}

} // namespace Catalog
