#include "copytool/CopyCommandLine.h"

#include "cli/ArgumentParsing.h"
#include "cli/Texts.h"
#include "copytool/PresetCopy.h"
#include "platform/AppContext.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace CopyCommandLine {

namespace {

const QString kTarget = QStringLiteral("nach");
const QString kReplace = QStringLiteral("ueberschreiben");
// The help's old name, still taken from scripts.
const QString kOldHelp = QStringLiteral("hilfe");

const QString kExisting =
    QStringLiteral("Im Zielordner sind bereits Dateien gleichen Namens vorhanden; ersetzt werden "
                   "sie nur mit --ueberschreiben:\n");
const QString kExitCodes =
    QStringLiteral("Rückgabewert: 0 alles kopiert; 1 Dateien fehlten oder scheiterten; 2 nichts "
                   "kopiert\n(falsche Argumente, ungültiger Zielordner, Dateien gleichen Namens "
                   "ohne --ueberschreiben).");

QList<QCommandLineOption> options()
{
    QCommandLineOption oldHelp(kOldHelp);
    oldHelp.setFlags(QCommandLineOption::HiddenFromHelp);
    return {{kTarget,
             QStringLiteral("Kopiert die Vorgaben ohne Fenster in diesen Ordner; ein relativer "
                            "zählt ab dem aktuellen Ordner, ~/ ab dem persönlichen."),
             QStringLiteral("ORDNER")},
            {kReplace, QStringLiteral("Mit --nach: ersetzt Dateien gleichen Namens im Zielordner; "
                                      "ohne die Option wird dann nichts kopiert.")},
            Cli::dataFolderOption(),
            Cli::helpOption(),
            Cli::versionOption(),
            oldHelp};
}

// Why the parsed line cannot run; empty when it can.
QString misuse(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return Cli::kUnexpectedArgument.arg(parser.positionalArguments().first());
    if (parser.values(kTarget).size() > 1)
        return Cli::kRepeated.arg(Cli::dashed(kTarget));
    if (parser.isSet(kReplace) && !parser.isSet(kTarget))
        return Cli::kRequired.arg(Cli::dashed(kReplace), Cli::withValue(options().first()));
    return {};
}

int copy(const Request& request, Cli::Output& output)
{
    const PresetCopy::Plan plan = PresetCopy::plan(request.presets(), request.target);
    if (!plan.refusal.isEmpty()) {
        output.message(plan.refusal);
        return Cli::kNothingDone;
    }
    const QStringList existing = PresetCopy::existingTargets(plan);
    if (!existing.isEmpty() && !request.replace) {
        output.message(kExisting + existing.join(QLatin1Char('\n')));
        return Cli::kNothingDone;
    }
    const PresetCopy::Outcome outcome = PresetCopy::run(plan, request.replace);
    const QString summary = PresetCopy::summary(plan, outcome);
    if (outcome.ok())
        output.line(summary);
    else
        output.message(summary);
    if (outcome.copied == 0)
        return Cli::kNothingDone;
    return outcome.ok() ? Cli::kDone : Cli::kProblems;
}

} // namespace

QString Request::presets() const
{
    return source.isEmpty() ? AppContext::dataFolder() : source;
}

Request parse(const QStringList& arguments)
{
    Request request;
    QCommandLineParser parser;
    request.problem = Cli::parse(parser, arguments, options(), kProgram);
    if (!request.problem.isEmpty())
        return request;
    request.help = parser.isSet(Cli::helpOption()) || parser.isSet(kOldHelp);
    request.version = parser.isSet(Cli::versionOption());
    if (request.help || request.version)
        return request;
    request.problem = misuse(parser);
    if (!request.problem.isEmpty())
        return request;
    request.source = Cli::dataFolderOf(parser, &request.problem);
    request.copy = parser.isSet(kTarget);
    request.replace = parser.isSet(kReplace);
    // "~/" is left to the plan, which takes it as the home folder, and a blank
    // one to its refusal.
    const QString target = parser.value(kTarget);
    request.target = target.trimmed().isEmpty() || target.startsWith(QLatin1Char('~'))
                         ? target
                         : Cli::fromWorkingFolder(target);
    return request;
}

Request parse(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

QString helpText()
{
    return QStringLiteral(
               "Aufruf: QvtrCopy [--von ORDNER] [--nach ORDNER [--ueberschreiben]]\n"
               "Ohne --nach öffnet sich das Fenster. Mit --nach kopiert QvtrCopy die "
               "Projektvorgaben ohne\nFenster: die Zusammenfassung auf die Standardausgabe, "
               "Fehler auf die Standardfehlerausgabe.\n\nOptionen:\n") +
           Cli::optionList(options()) + QLatin1Char('\n') + kExitCodes + QLatin1Char('\n');
}

int run(const Request& request, Cli::Output& output)
{
    int code = Cli::kDone;
    if (!request.problem.isEmpty()) {
        output.message(request.problem);
        code = Cli::kNothingDone;
    } else if (request.help) {
        output.data(helpText());
    } else if (request.version) {
        output.line(Cli::versionOf(kProgram));
    } else {
        code = copy(request, output);
    }
    return output.exitCode(code);
}

int runWithoutWindow(int argc, char* argv[], const Request& request)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kProgram);
    return Cli::onStandardStreams([&](Cli::Output& output) { return run(request, output); });
}

} // namespace CopyCommandLine
