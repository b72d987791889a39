#include "copytool/CopyWindow.h"
#include "copytool/PresetCopy.h"
#include "desktop/Session.h"
#include "platform/AppContext.h"
#include "ui/Pictures.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Aufruf: QvtrCopy [--von ORDNER] [--nach ORDNER [--ueberschreiben]]\n"
    "Ohne --nach öffnet sich das Fenster. Mit --nach werden die Projektvorgaben ohne Fenster\n"
    "in ORDNER kopiert; vorhandene Dateien werden nur mit --ueberschreiben ersetzt.\n"
    "--von nennt den Ordner der Vorgaben (sonst der des Assistenten).\n"
    "Rückgabewert: 0 alles kopiert, 1 Dateien fehlten oder scheiterten, 2 nichts kopiert.\n";

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int copyWithoutWindow(const QString& source, const QString& target, bool replace)
{
    const PresetCopy::Plan plan = PresetCopy::plan(source, target);
    if (!plan.refusal.isEmpty()) {
        print(stderr, plan.refusal);
        return 2;
    }
    const QStringList existing = PresetCopy::existingTargets(plan);
    if (!existing.isEmpty() && !replace) {
        print(stderr, QStringLiteral("Im Zielordner sind bereits Dateien gleichen Namens "
                                     "vorhanden; ersetzt werden sie nur mit --ueberschreiben:\n") +
                          existing.join(QLatin1Char('\n')));
        return 2;
    }
    const PresetCopy::Outcome outcome = PresetCopy::run(plan, replace);
    print(outcome.ok() ? stdout : stderr, PresetCopy::summary(plan, outcome));
    if (outcome.copied == 0)
        return 2;
    return outcome.ok() ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QString source;
    QString target;
    bool windowless = false;
    bool replace = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--nach") == 0 && hasValue) {
            target = QString::fromLocal8Bit(argv[++i]);
            windowless = true;
            // On a command line a relative folder means the shell's current one.
            if (!target.trimmed().isEmpty() && QDir::isRelativePath(target) &&
                !target.startsWith(QLatin1Char('~')))
                target = QDir::current().absoluteFilePath(target);
        } else if (std::strcmp(argv[i], "--von") == 0 && hasValue) {
            source = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--ueberschreiben") == 0) {
            replace = true;
        } else {
            std::fputs(kUsage, std::strcmp(argv[i], "--hilfe") == 0 ? stdout : stderr);
            return std::strcmp(argv[i], "--hilfe") == 0 ? 0 : 2;
        }
    }

    if (windowless) {
        QCoreApplication app(argc, argv);
        return copyWithoutWindow(source.isEmpty() ? AppContext::dataFolder() : source, target,
                                 replace);
    }
    const auto app =
        Session::start(argc, argv, QStringLiteral("QvtrCopy"), QStringLiteral("--hilfe"));
    if (!app)
        return 2;
    CopyWindow window(source.isEmpty() ? AppContext::dataFolder() : source);
    window.setWindowIcon(Pictures::windowIcon());
    centreOnScreen(&window);
    window.show();
    return QApplication::exec();
}
