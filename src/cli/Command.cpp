#include "cli/Command.h"

#include <QProcess>

namespace Cli {

Output::Output(QIODevice* out, QIODevice* err, bool errIsTerminal)
    : m_out(out), m_err(err), m_errIsTerminal(errIsTerminal)
{
}

void Output::data(const QString& text)
{
    m_out << text;
    m_out.flush();
}

void Output::line(const QString& text)
{
    data(text + QLatin1Char('\n'));
}

void Output::message(const QString& text)
{
    if (m_progressShown) {
        m_err << "\r\x1b[K";
        m_progressShown = false;
    }
    m_err << text << '\n';
    m_err.flush();
}

void Output::progress(const QString& text)
{
    m_err << '\r' << text << "\x1b[K";
    m_err.flush();
    m_progressShown = true;
}

QCommandLineOption jsonOption()
{
    return {QStringLiteral("json"), QStringLiteral("Ausgabe als JSON, für Skripte.")};
}

QCommandLineOption overwriteOption()
{
    return {QStringLiteral("ueberschreiben"),
            QStringLiteral("Mit --neu: verwendet einen schon vorhandenen Projektordner. Mit "
                           "--hinzufuegen: ersetzt einen Eintrag gleichen Namens.")};
}

QCommandLineOption componentOption()
{
    return {QStringLiteral("komponente"),
            QStringLiteral("Mit --neu: dieser Eintrag statt der markierten. Mit --uebernehmen: "
                           "nur diese Komponente des Projekts. Darf mehrmals stehen."),
            QStringLiteral("NAME")};
}

namespace {
std::function<bool(const QString&)>& fileOpener()
{
    static std::function<bool(const QString&)> opener;
    return opener;
}
} // namespace

bool openFile(const QString& path)
{
    if (fileOpener())
        return fileOpener()(path);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

void setFileOpener(std::function<bool(const QString&)> opener)
{
    fileOpener() = std::move(opener);
}

} // namespace Cli
