#include "cli/ArgumentParsing.h"

#include "cli/Texts.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <algorithm>

namespace Cli {

namespace {

const QString kVon = QStringLiteral("von");

// The argument that brought an unknown option name: "--name", "-n" or a run of
// letters such as "-liste".
QString asGiven(const QStringList& arguments, const QString& name)
{
    const qsizetype end = arguments.indexOf(QStringLiteral("--"));
    const QStringList given = arguments.mid(1, end < 0 ? -1 : end - 1);
    for (const QString& argument : given) {
        const QString bare = argument.section(QLatin1Char('='), 0, 0);
        if (bare == QStringLiteral("--") + name || bare == QStringLiteral("-") + name)
            return bare;
    }
    for (const QString& argument : given) {
        if (argument.startsWith(QLatin1Char('-')) && !argument.startsWith(QStringLiteral("--")) &&
            argument.contains(name))
            return argument;
    }
    return dashed(name);
}

// QCommandLineParser takes whatever follows an option with a value as that value,
// another option too. Here the value is the next argument that is no option (the
// nearest option still without one gets it first), handed on as "--option=value";
// after "--" every argument is one. A value that begins with '-' is given so, or
// as "--option=-value". `missing` gets the first option left without a value.
QStringList valuesAttached(const QStringList& arguments, const QList<QCommandLineOption>& options,
                           QString* missing)
{
    QMap<QString, QString> valueNames;
    for (const QCommandLineOption& option : options) {
        for (const QString& name : option.names()) {
            if (!option.valueName().isEmpty())
                valueNames.insert(dashed(name), option.valueName());
        }
    }
    QStringList attached = arguments.mid(0, 1);
    QList<qsizetype> waiting; // options in `attached` still without their value
    bool optionsOver = false;
    for (const QString& argument : arguments.mid(1)) {
        if (optionsOver || argument.size() < 2 || !argument.startsWith(QLatin1Char('-'))) {
            if (waiting.isEmpty())
                attached << argument;
            else
                attached[waiting.takeLast()] += QLatin1Char('=') + argument;
            continue;
        }
        optionsOver = argument == QStringLiteral("--");
        if (valueNames.contains(argument))
            waiting << attached.size();
        attached << argument;
    }
    if (!waiting.isEmpty()) {
        const QString option = attached.at(waiting.first());
        *missing = kMissingValue.arg(option, valueNames.value(option));
    }
    return attached;
}

// QCommandLineParser says what is wrong in English; the cases it knows, in German.
QString parseProblem(const QCommandLineParser& parser, const QStringList& arguments,
                     const QList<QCommandLineOption>& options, const QString& program)
{
    if (!parser.unknownOptionNames().isEmpty())
        return kUnknownOption.arg(asGiven(arguments, parser.unknownOptionNames().first()), program);
    for (const QCommandLineOption& option : options) {
        for (const QString& name : option.names()) {
            const QString given = dashed(name);
            const auto givesValue = [&](const QString& argument) {
                return argument.startsWith(given + QLatin1Char('='));
            };
            if (option.valueName().isEmpty() &&
                std::any_of(arguments.begin() + 1, arguments.end(), givesValue))
                return kNoValueWanted.arg(given);
        }
    }
    return kBadArguments.arg(parser.errorText());
}

} // namespace

QString dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString withValue(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names << dashed(name);
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += QLatin1Char(' ') + option.valueName();
    return text;
}

QString optionList(const QList<QCommandLineOption>& options)
{
    QString text;
    for (const QCommandLineOption& option : options) {
        if (!(option.flags() & QCommandLineOption::HiddenFromHelp))
            text += QStringLiteral("  ") + withValue(option).leftJustified(20) + QLatin1Char(' ') +
                    option.description() + QLatin1Char('\n');
    }
    return text;
}

QCommandLineOption dataFolderOption()
{
    return {kVon,
            QStringLiteral("Der Datenordner (Vorlagenliste vorlagen.dat, Vorlage QvStandard.bpv) "
                           "statt des eigenen."),
            QStringLiteral("ORDNER")};
}

QCommandLineOption helpOption()
{
    return {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Diese Hilfe.")};
}

QCommandLineOption versionOption()
{
    return {QStringLiteral("version"), QStringLiteral("Die Version.")};
}

QString fromWorkingFolder(const QString& path)
{
    if (path.isEmpty() || !QDir::isRelativePath(path))
        return path;
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString versionOf(const QString& program)
{
    return program + QStringLiteral(" " VORLAGEN_VERSION);
}

QString parse(QCommandLineParser& parser, const QStringList& arguments,
              const QList<QCommandLineOption>& options, const QString& program)
{
    QString missing;
    const QStringList attached = valuesAttached(arguments, options, &missing);
    if (!missing.isEmpty())
        return missing;
    parser.addOptions(options);
    return parser.parse(attached) ? QString() : parseProblem(parser, attached, options, program);
}

QString dataFolderOf(const QCommandLineParser& parser, QString* problem)
{
    const QStringList given = parser.values(kVon);
    if (given.size() > 1) {
        *problem = kRepeated.arg(dashed(kVon));
        return {};
    }
    if (given.isEmpty())
        return {};
    const QFileInfo folder(given.first());
    if (given.first().isEmpty() || !folder.isDir()) {
        *problem = kNoDataFolder.arg(given.first());
        return {};
    }
    return folder.absoluteFilePath();
}

} // namespace Cli
