#include "desktop/Session.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace Session {

namespace {

QString g_unreachable; // the line said when the platform plugin gives up
QStringList g_held;    // Qt's messages while the application is made

void say(const QString& line)
{
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

// Qt ends the program (abort) when no platform plugin connects; that is said
// in German, and the program ends as for a wrong call. Its English details
// are said only when the start succeeds after all.
void whileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        say(g_unreachable);
        std::_Exit(2);
    }
    g_held << qFormatLogMessage(type, context, text);
}

// What keeps Qt from a display, known before it tries; empty when it may try.
QString missingDisplay()
{
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const QStringList platforms =
        qEnvironmentVariable("QT_QPA_PLATFORM").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (platforms.isEmpty())
        return x11 || wayland ? QString() : kNoDisplay;
    for (const QString& platform : platforms) {
        if (!platform.startsWith(QLatin1String("xcb")) || x11)
            return {};
    }
    return kNoX11Display;
}

void installGermanTranslation()
{
    auto* qtbase = new QTranslator(QCoreApplication::instance());
    if (qtbase->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtbase);
}

} // namespace

std::unique_ptr<QApplication> start(int& argc, char** argv, const QString& program,
                                    const QString& helpOption)
{
    if (const QString missing = missingDisplay(); !missing.isEmpty()) {
        say(kNoSession.arg(program, missing, helpOption));
        return nullptr;
    }
    g_unreachable = kNoSession.arg(program, kUnreachable, helpOption);
    const QtMessageHandler before = qInstallMessageHandler(whileStarting);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(before);
    for (const QString& held : std::as_const(g_held))
        say(held);
    g_held.clear();
    QApplication::setApplicationName(program);
    installGermanTranslation();
    return app;
}

} // namespace Session
