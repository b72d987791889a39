#include "support/TestFolder.h"

#include "platform/Ansi.h"
#include "platform/AppContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestFolder::TestFolder()
{
    QDir().mkpath(exeFolder());
    QDir().mkpath(documents());
    AppContext::setExeFolder(exeFolder());
    AppContext::setDocumentsFolder(documents());
    AppContext::setRegistryFolder(registry());
}

TestFolder::~TestFolder()
{
    AppContext::reset();
}

QString TestFolder::path() const
{
    return m_dir.path();
}

QString TestFolder::file(const QString& relative) const
{
    return path() + QLatin1Char('/') + relative;
}

QString TestFolder::exeFolder() const
{
    return file(QStringLiteral("bin"));
}

QString TestFolder::documents() const
{
    return file(QStringLiteral("docs"));
}

QString TestFolder::registry() const
{
    return file(QStringLiteral("registry"));
}

QString TestFolder::catalog() const
{
    return exeFolder() + QStringLiteral("/vorlagen.dat");
}

QString TestFolder::write(const QString& relative, const QByteArray& bytes) const
{
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).path());
    QFile f(target);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return target;
}

QByteArray TestFolder::read(const QString& absolutePath)
{
    QFile f(absolutePath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray TestFolder::crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += Ansi::encode(line) + "\r\n";
    return bytes;
}

void TestFolder::writeCatalog(const QStringList& lines) const
{
    QFile f(catalog());
    if (f.open(QIODevice::WriteOnly))
        f.write(crlf(lines));
}
