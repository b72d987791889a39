#include "catalog/Catalog.h"
#include "cli/Commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Cli {

namespace {

// A field of the plain form stays on its line and in its column.
QString field(QString text)
{
    for (const QChar c : {QChar(u'\t'), QChar(u'\r'), QChar(u'\n')})
        text.replace(c, QLatin1Char(' '));
    return text;
}

} // namespace

QString ListCommand::description() const
{
    return QStringLiteral("Jeder Eintrag der Vorlagenliste, eine Zeile je Eintrag: Name, Art, "
                          "Datei, Beschreibung, Markierung (1/0), getrennt durch Tabulatoren.");
}

int ListCommand::execute(const Arguments& arguments, Output& output)
{
    const Catalog::Snapshot& catalogue = arguments.catalogue;
    const bool json = arguments.isSet(jsonOption().names().first());
    QJsonArray entries;
    QString text;
    // A name listed twice is one entry, as the window lists it.
    for (const Catalog::Listed& entry : catalogue.listedOnce()) {
        const QString& name = entry.name;
        const QString fileName = catalogue.fileNameOf(name);
        const QString file = catalogue.folderOf(name) + fileName;
        const QString kind = Catalog::label(Catalog::kindOf(fileName));
        const QString caption = catalogue.captionOf(name);
        const bool marked = catalogue.isMarked(name);
        if (json) {
            entries.append(QJsonObject{{QStringLiteral("name"), name},
                                       {QStringLiteral("art"), kind},
                                       {QStringLiteral("datei"), file},
                                       {QStringLiteral("beschreibung"), caption},
                                       {QStringLiteral("markiert"), marked}});
        } else {
            text += QStringList{field(name), kind, field(file), field(caption),
                                marked ? QStringLiteral("1") : QStringLiteral("0")}
                        .join(QLatin1Char('\t')) +
                    QLatin1Char('\n');
        }
    }
    output.data(json ? QString::fromUtf8(QJsonDocument(entries).toJson()) : text);
    return kDone;
}

} // namespace Cli
