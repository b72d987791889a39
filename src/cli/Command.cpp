#include "cli/Command.h"

#include "cli/Texts.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace Cli {

Output::Output(QIODevice* out, QIODevice* err, bool errIsTerminal)
    : m_out(out), m_err(err), m_errIsTerminal(errIsTerminal)
{
}

void Output::data(const QString& text)
{
    if (m_outLost)
        return;
    m_out << text;
    m_out.flush();
    if (m_out.status() != QTextStream::Ok) {
        m_outLost = true;
        message(kOutputLost.arg(m_out.device()->errorString()));
    }
}

void Output::line(const QString& text)
{
    data(text + QLatin1Char('\n'));
}

void Output::message(const QString& text)
{
    if (m_progressShown) {
        writeErr(QStringLiteral("\r\x1b[K"));
        m_progressShown = false;
    }
    writeErr(text + QLatin1Char('\n'));
}

void Output::progress(const QString& text)
{
    writeErr(QLatin1Char('\r') + text + QStringLiteral("\x1b[K"));
    m_progressShown = true;
}

void Output::writeErr(const QString& text)
{
    if (m_errLost)
        return;
    m_err << text;
    m_err.flush();
    m_errLost = m_err.status() != QTextStream::Ok;
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
            QStringLiteral("Mit --neu: dieser Eintrag statt der markierten. Mit --uebernehmen "
                           "und --aktualisieren: nur diese Komponente des Projekts. Darf "
                           "mehrmals stehen."),
            QStringLiteral("NAME")};
}

QCommandLineOption previewOption()
{
    return {QStringLiteral("vorschau"),
            QStringLiteral("Mit --neu: die Kopien und den Text von .vbp und .vbw ausgeben. Mit "
                           "--aktualisieren: die Kopien und den neuen Text der .vbp ausgeben. "
                           "Nichts schreiben.")};
}

namespace {
std::function<QString(const QString&)>& fileOpener()
{
    static std::function<QString(const QString&)> opener;
    return opener;
}
} // namespace

QString openFile(const QString& path)
{
    if (fileOpener())
        return fileOpener()(path);
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty())
        return kNoOpener;
    return QProcess::startDetached(program, {path}) ? QString() : kOpenerNotStarted;
}

void setFileOpener(std::function<QString(const QString&)> opener)
{
    fileOpener() = std::move(opener);
}

bool namedIndexes(const Arguments& arguments, const QStringList& names, Output& output,
                  QList<int>* chosen)
{
    bool known = true;
    for (const QString& given : arguments.parser.values(componentOption())) {
        const qsizetype before = chosen->size();
        for (int i = 0; i < names.size(); ++i) {
            if (names.at(i).compare(given, Qt::CaseInsensitive) == 0)
                *chosen << i;
        }
        if (chosen->size() == before) {
            output.message(kNotInProject.arg(given));
            known = false;
        }
    }
    return known;
}

QString fromWorkingFolder(const QString& path)
{
    if (path.isEmpty() || !QDir::isRelativePath(path))
        return path;
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

} // namespace Cli
