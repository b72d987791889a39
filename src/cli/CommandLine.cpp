#include "cli/CommandLine.h"

#include "catalog/Catalog.h"
#include "catalog/ProjectTemplate.h"
#include "cli/Commands.h"
#include "cli/Texts.h"
#include "platform/AppContext.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <memory>
#include <vector>

#include <cerrno>

#include <unistd.h>

namespace Cli {

namespace {

const QString kVon = QStringLiteral("von");
const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");

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
    return {
        {kVon,
         QStringLiteral("Der Datenordner (Vorlagenliste vorlagen.dat, Vorlage QvStandard.bpv) "
                        "statt des eigenen."),
         QStringLiteral("ORDNER")},
        {{QStringLiteral("h"), kHelp}, QStringLiteral("Diese Hilfe.")},
        {kVersion, QStringLiteral("Die Version.")},
    };
}

QCommandLineOption taskOption(const Command& task)
{
    return {task.name(), task.description(), task.valueName()};
}

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
                     const QList<QCommandLineOption>& options)
{
    if (!parser.unknownOptionNames().isEmpty())
        return kUnknownOption.arg(asGiven(arguments, parser.unknownOptionNames().first()));
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
    if (parser.values(kVon).size() > 1)
        return kRepeated.arg(dashed(kVon));
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
    text += QStringLiteral("\nOptionen:\n");
    for (const QCommandLineOption& option : listedOptions(tasks)) {
        text += QStringLiteral("  ") + withValue(option).leftJustified(20) + QLatin1Char(' ') +
                option.description() + QLatin1Char('\n');
    }
    text += QStringLiteral("\n") + kExitCodes + QLatin1Char('\n');
    return text;
}

QString versionText()
{
    return QStringLiteral("vorlagen " VORLAGEN_VERSION);
}

namespace {

int runTask(const QStringList& given, Output& output)
{
    const auto tasks = commands();
    QList<QCommandLineOption> options = listedOptions(tasks);
    for (const auto& task : tasks)
        options << taskOption(*task);
    QString missing;
    const QStringList arguments = valuesAttached(given, options, &missing);
    if (!missing.isEmpty()) {
        output.message(missing);
        return kNothingDone;
    }
    QCommandLineParser parser;
    parser.addOptions(options);
    if (!parser.parse(arguments)) {
        output.message(parseProblem(parser, arguments, options));
        return kNothingDone;
    }
    if (parser.isSet(kHelp)) {
        output.data(helpText());
        return kDone;
    }
    if (parser.isSet(kVersion)) {
        output.line(versionText());
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
    if (const QString problem = misuse(parser, *task); !problem.isEmpty()) {
        output.message(problem);
        return kNothingDone;
    }

    if (parser.isSet(kVon)) {
        const QFileInfo folder(parser.value(kVon));
        if (parser.value(kVon).isEmpty() || !folder.isDir()) {
            output.message(kNoDataFolder.arg(parser.value(kVon)));
            return kNothingDone;
        }
        AppContext::setDataFolder(folder.absoluteFilePath());
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

// Standard output or error, written straight through; a write that fails keeps
// its reason in German.
class Descriptor : public QIODevice
{
public:
    explicit Descriptor(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                setErrorString(FileIo::reasonFor(n < 0 ? errno : EIO));
                return -1;
            }
            done += n;
        }
        return done;
    }

private:
    int m_fd;
};

} // namespace

int run(const QStringList& arguments, Output& output)
{
    const int code = runTask(arguments, output);
    // What was to be said did not arrive: never "done".
    return output.lost() ? std::max(code, int(kProblems)) : code;
}

int runWithoutWindow(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorlagen"));
    Descriptor out(STDOUT_FILENO);
    Descriptor err(STDERR_FILENO);
    Output output(&out, &err, ::isatty(STDERR_FILENO) == 1);
    return run(QCoreApplication::arguments(), output);
}

} // namespace Cli
