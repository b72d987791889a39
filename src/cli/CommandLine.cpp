#include "cli/CommandLine.h"

#include "catalog/Catalog.h"
#include "catalog/ProjectTemplate.h"
#include "cli/Commands.h"
#include "cli/Texts.h"
#include "platform/AppContext.h"

#include <QCoreApplication>
#include <QSet>

#include <memory>
#include <vector>

namespace Cli {

namespace {

const QString kProgram = QStringLiteral("vorlagen");

// The tasks in the order the help lists them.
std::vector<std::unique_ptr<Command>> commands()
{
    std::vector<std::unique_ptr<Command>> tasks;
    tasks.push_back(std::make_unique<ListCommand>());
    tasks.push_back(std::make_unique<CheckCommand>());
    tasks.push_back(std::make_unique<AddCommand>());
    tasks.push_back(std::make_unique<RemoveCommand>());
    tasks.push_back(std::make_unique<NewCommand>());
    tasks.push_back(std::make_unique<TakeInCommand>());
    tasks.push_back(std::make_unique<CompareCommand>());
    tasks.push_back(std::make_unique<UpdateCommand>());
    return tasks;
}

QList<QCommandLineOption> generalOptions()
{
    return {dataFolderOption(), helpOption(), versionOption()};
}

QCommandLineOption taskOption(const Command& task)
{
    return {task.name(), task.description(), task.valueName()};
}

// The options of the help's list: the general ones, then each task's once.
QList<QCommandLineOption> listedOptions(const std::vector<std::unique_ptr<Command>>& tasks)
{
    QList<QCommandLineOption> options = generalOptions();
    QSet<QString> seen;
    for (const QCommandLineOption& option : options)
        seen.insert(option.names().first());
    for (const auto& task : tasks) {
        for (const QCommandLineOption& option : task->options()) {
            if (!seen.contains(option.names().first())) {
                seen.insert(option.names().first());
                options << option;
            }
        }
    }
    return options;
}

// Why the parsed line cannot run `task`; empty when it can.
QString misuse(const QCommandLineParser& parser, const Command& task)
{
    QSet<QString> allowed{task.name()};
    for (const QList<QCommandLineOption>& group : {generalOptions(), task.options()}) {
        for (const QCommandLineOption& option : group) {
            for (const QString& name : option.names())
                allowed.insert(name);
        }
    }
    for (const QString& name : parser.optionNames()) {
        if (!allowed.contains(name))
            return kForeignOption.arg(dashed(name), dashed(task.name()));
    }
    for (const QCommandLineOption& option : task.options()) {
        const QString name = option.names().first();
        if (!option.valueName().isEmpty() && parser.values(option).size() > 1 &&
            !task.repeatable().contains(name))
            return kRepeated.arg(dashed(name));
        if (task.required().contains(name) && !parser.isSet(option))
            return kRequired.arg(dashed(task.name()), withValue(option));
    }
    if (!task.takesMany()) {
        if (!parser.positionalArguments().isEmpty())
            return kUnexpectedArgument.arg(parser.positionalArguments().first());
        if (parser.values(task.name()).size() > 1)
            return kRepeated.arg(dashed(task.name()));
    }
    return {};
}

} // namespace

QString helpText()
{
    const auto tasks = commands();
    QString text = QStringLiteral(
        "Aufruf: vorlagen [--von ORDNER] AUFGABE [OPTIONEN]\n"
        "Ohne Argumente öffnet sich der Assistent. Mit Argumenten arbeitet vorlagen ohne "
        "Fenster:\nDaten auf die Standardausgabe, Meldungen auf die Standardfehlerausgabe.\n"
        "\nAufgaben:\n");
    for (const auto& task : tasks) {
        QString usage = withValue(taskOption(*task));
        if (task->takesMany())
            usage += QStringLiteral("...");
        for (const QCommandLineOption& option : task->options()) {
            const QString name = option.names().first();
            if (task->required().contains(name))
                usage += QLatin1Char(' ') + withValue(option);
            else
                usage += QStringLiteral(" [") + withValue(option) + QLatin1Char(']') +
                         (task->repeatable().contains(name) ? QStringLiteral("...") : QString());
        }
        text += QStringLiteral("  ") + usage + QStringLiteral("\n      ") + task->description() +
                QLatin1Char('\n');
    }
    text += QStringLiteral("\nOptionen:\n") + optionList(listedOptions(tasks));
    text += QStringLiteral("\n") + kExitCodes + QLatin1Char('\n');
    return text;
}

namespace {

int runTask(const QStringList& given, Output& output)
{
    const auto tasks = commands();
    QList<QCommandLineOption> options = listedOptions(tasks);
    for (const auto& task : tasks)
        options << taskOption(*task);
    QCommandLineParser parser;
    if (const QString problem = parse(parser, given, options, kProgram); !problem.isEmpty()) {
        output.message(problem);
        return kNothingDone;
    }
    if (parser.isSet(helpOption())) {
        output.data(helpText());
        return kDone;
    }
    if (parser.isSet(versionOption())) {
        output.line(versionOf(kProgram));
        return kDone;
    }

    QStringList chosen;
    Command* task = nullptr;
    for (const auto& candidate : tasks) {
        if (parser.isSet(candidate->name())) {
            chosen << dashed(candidate->name());
            task = candidate.get();
        }
    }
    if (chosen.size() != 1) {
        output.message(chosen.isEmpty() ? kNoTask
                                        : kOneTaskOnly.arg(chosen.join(QStringLiteral(", "))));
        return kNothingDone;
    }
    QString problem = misuse(parser, *task);
    const QString dataFolder = problem.isEmpty() ? dataFolderOf(parser, &problem) : QString();
    if (!problem.isEmpty()) {
        output.message(problem);
        return kNothingDone;
    }

    if (!dataFolder.isEmpty()) {
        AppContext::setDataFolder(dataFolder);
    } else {
        // An installed program's first use: the shipped template into the data folder.
        (void)ProjectTemplate::provide();
    }
    Catalog::removeLeftovers();
    // Every task works on the catalogue: one that cannot be read or understood is
    // said once, and nothing is done.
    const Catalog::Snapshot catalogue = Catalog::Snapshot::read();
    if (!catalogue.ok()) {
        output.message(catalogue.problem());
        return kNothingDone;
    }

    QStringList values = parser.values(task->name());
    if (task->takesMany())
        values += parser.positionalArguments();
    return task->execute({values, parser, catalogue}, output);
}

} // namespace

int run(const QStringList& arguments, Output& output)
{
    return output.exitCode(runTask(arguments, output));
}

int runWithoutWindow(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kProgram);
    return onStandardStreams(
        [](Output& output) { return run(QCoreApplication::arguments(), output); });
}

} // namespace Cli
