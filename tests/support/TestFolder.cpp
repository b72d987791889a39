#include "support/TestFolder.h"

#include "platform/Ansi.h"
#include "platform/AppContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

void writeOrFail(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush())
        QTest::qFail(
            qPrintable(QStringLiteral("fixture cannot write %1: %2").arg(path, f.errorString())),
            __FILE__, __LINE__);
}

} // namespace

TestFolder::TestFolder() : m_workingDirectory(QDir::currentPath())
{
    if (!m_dir.isValid())
        QTest::qFail("fixture cannot create its temporary folder", __FILE__, __LINE__);
    QDir().mkpath(exeFolder());
    QDir().mkpath(documents());
    AppContext::setExeFolder(exeFolder());
    AppContext::setDocumentsFolder(documents());
    AppContext::setRegistryFolder(registry());
}

TestFolder::~TestFolder()
{
    AppContext::reset();
    QDir::setCurrent(m_workingDirectory);
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
    writeOrFail(target, bytes);
    return target;
}

QByteArray TestFolder::read(const QString& absolutePath)
{
    QFile f(absolutePath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QMap<QString, QByteArray> TestFolder::contents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, read(dir.filePath(name)));
    return files;
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
    writeOrFail(catalog(), crlf(lines));
}

void TestFolder::listEntries(const QStringList& entries, const QStringList& more) const
{
    QStringList list{QStringLiteral("[Filelist]")};
    QStringList paths{QStringLiteral("[Filepath]")};
    QStringList names{QStringLiteral("[Filename]")};
    for (const QString& entry : entries) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        const QString relative = entry.section(QLatin1Char('='), 1);
        if (!QFileInfo::exists(file(relative)))
            write(relative, "x");
        list << QString::number(100 + list.size() - 1) + QLatin1Char('=') + name;
        paths << name + QLatin1Char('=') + file(relative.section(QLatin1Char('/'), 0, -2)) +
                     QLatin1Char('/');
        names << name + QLatin1Char('=') + relative.section(QLatin1Char('/'), -1);
    }
    writeCatalog(list + paths + names + more);
}
