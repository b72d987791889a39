#include "catalog/ComponentKind.h"

#include "platform/Ansi.h"
#include "platform/FileExistence.h"

namespace Catalog {

namespace {

struct KindRow
{
    const char* ending;
    Kind kind;
    const char* companion; // "" when none
    bool text;
    const char* lineKey; // the project file's key for the kind
    bool generated;      // new projects get the kind and its line
    bool lineNamesEntry; // "Key=<entry>; <file>"
    bool lineQuotesFile; // "Key="<file>""
    const char* label;   // German, for lists and messages
};

constexpr KindRow kKinds[] = {
    {"frm", Kind::Form, "frx", true, "Form", true, false, false, "Formular"},
    {"bas", Kind::Module, "", true, "Module", true, true, false, "Modul"},
    {"ctl", Kind::UserControl, "ctx", true, "UserControl", true, false, false,
     "Benutzersteuerelement"},
    {"cls", Kind::Class, "", true, "Class", true, true, false, "Klasse"},
    {"res", Kind::Resource, "", false, "ResFile32", true, false, true, "Ressourcendatei"},
    {"dob", Kind::UserDocument, "", true, "UserDocument", false, false, false, "Benutzerdokument"},
    {"pag", Kind::PropertyPage, "", true, "PropertyPage", false, false, false,
     "Eigenschaftenseite"},
    {"dsr", Kind::Designer, "", true, "Designer", false, false, false, "Designer"},
};

const KindRow* rowOf(const QString& fileName)
{
    const QString ending = fileName.right(3).toLower();
    for (const KindRow& row : kKinds) {
        if (ending == QLatin1String(row.ending))
            return &row;
    }
    return nullptr;
}

const KindRow* rowOf(Kind kind)
{
    for (const KindRow& row : kKinds) {
        if (row.kind == kind)
            return &row;
    }
    return nullptr;
}

} // namespace

Kind kindOf(const QString& fileName)
{
    const KindRow* row = rowOf(fileName);
    return row ? row->kind : Kind::Other;
}

QString label(Kind kind)
{
    const KindRow* row = rowOf(kind);
    return row ? QString::fromUtf8(row->label) : QStringLiteral("Datei");
}

namespace {

// The file name with its last three characters replaced by `ending`: in the
// letter case of its own ending first, then the other.
QStringList withEnding(const QString& fileName, const char* ending)
{
    const QString lower = QLatin1String(ending);
    const QString stem = fileName.left(fileName.size() - 3);
    const bool upper = fileName.right(3) == fileName.right(3).toUpper();
    return {stem + (upper ? lower.toUpper() : lower), stem + (upper ? lower : lower.toUpper())};
}

// The row of the kind whose companion the file is; none for other files.
const KindRow* ownerRowOf(const QString& fileName)
{
    const QString ending = fileName.right(3).toLower();
    for (const KindRow& row : kKinds) {
        if (*row.companion && ending == QLatin1String(row.companion))
            return &row;
    }
    return nullptr;
}

} // namespace

QStringList companionNames(const QString& fileName)
{
    const KindRow* row = rowOf(fileName);
    if (!row || !*row->companion)
        return {};
    return withEnding(fileName, row->companion);
}

Kind companionOf(const QString& fileName)
{
    const KindRow* row = ownerRowOf(fileName);
    return row ? row->kind : Kind::Other;
}

QStringList ownerNames(const QString& companionName)
{
    const KindRow* row = ownerRowOf(companionName);
    return row ? withEnding(companionName, row->ending) : QStringList();
}

QString companionIn(const QString& folder, const QString& fileName)
{
    for (const QString& name : companionNames(fileName)) {
        if (FileExists(folder + name))
            return name;
    }
    return {};
}

QString missingCompanion(const QString& folder, const QString& fileName)
{
    const QStringList names = companionNames(fileName);
    return names.isEmpty() || !companionIn(folder, fileName).isEmpty() ? QString() : names.first();
}

QString companionMissingText(const QString& file, const QString& companion)
{
    return QStringLiteral("Die Datei ''%1'' verweist auf ''%2'', die nicht neben ihr liegt.\n"
                          "Projekte mit dieser Komponente lassen sich so in Visual Basic nicht "
                          "laden.")
        .arg(file, companion);
}

bool isText(const QString& fileName)
{
    const KindRow* row = rowOf(fileName);
    return row && row->text;
}

QString projectLine(const QString& entryName, const QString& fileName)
{
    const KindRow* row = rowOf(fileName);
    if (!row || !row->generated)
        return {};
    QString line = QLatin1String(row->lineKey) + QLatin1Char('=');
    if (row->lineNamesEntry)
        line += entryName + QStringLiteral("; ");
    return line + (row->lineQuotesFile ? QLatin1Char('"') + fileName + QLatin1Char('"') : fileName);
}

Kind kindOfProjectKey(QStringView key)
{
    for (const KindRow& row : kKinds) {
        if (key.compare(QLatin1String(row.lineKey), Qt::CaseInsensitive) == 0)
            return row.kind;
    }
    return Kind::Other;
}

bool hasProjectLine(Kind kind)
{
    const KindRow* row = rowOf(kind);
    return row && row->generated;
}

bool lineNamesComponent(Kind kind)
{
    const KindRow* row = rowOf(kind);
    return row && row->lineNamesEntry;
}

bool namesEntry(const QString& fileName)
{
    const KindRow* row = rowOf(fileName);
    return row && (row->kind == Kind::Form || row->lineNamesEntry);
}

Unwritable unwritableInProject(const QString& entryName, const QString& fileName)
{
    if (namesEntry(fileName) && !Ansi::fits(entryName))
        return Unwritable::EntryName;
    return Ansi::fits(fileName) ? Unwritable::None : Unwritable::FileName;
}

bool isRootForm(const QString& fileName)
{
    return fileName.compare(QLatin1String("root.frm"), Qt::CaseInsensitive) == 0;
}

void StartForm::add(const QString& entryName, const QString& fileName)
{
    if (kindOf(fileName) != Kind::Form)
        return;
    if (m_first.isEmpty())
        m_first = entryName;
    m_root = m_root || isRootForm(fileName);
}

QString StartForm::name() const
{
    if (m_root && m_first.compare(QLatin1String("root"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("Root");
    return m_first;
}

} // namespace Catalog
