#include "cli/Command.h"

#include "catalog/Catalog.h"

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
    m_err << text << '\n';
    m_err.flush();
}

QCommandLineOption jsonOption()
{
    return {QStringLiteral("json"), QStringLiteral("Ausgabe als JSON, für Skripte.")};
}

FileIo::Result readCatalogue(QByteArray* bytes)
{
    bytes->clear();
    const FileIo::Result read = FileIo::readRegularFile(Catalog::file(), bytes, qint64(256) << 20);
    return read.error() == ENOENT ? FileIo::Result() : read;
}

} // namespace Cli
