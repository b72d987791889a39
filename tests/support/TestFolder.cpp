#include "support/TestFolder.h"

#include "platform/Ansi.h"
#include "platform/AppContext.h"

#include <QDir>
#include <QDirIterator>
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

QMap<QString, QByteArray> TestFolder::contents(const QString& folder, bool below)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    below ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), read(path));
    }
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

void TestFolder::writeEntries(const QList<Entry>& entries, const QStringList& more) const
{
    QStringList list{QStringLiteral("[Filelist]")}, paths{QStringLiteral("[Filepath]")},
        names{QStringLiteral("[Filename]")}, marks{QStringLiteral("[Marked]")},
        captions{QStringLiteral("[Caption]")};
    for (const Entry& e : entries) {
        const bool below = e.folder.isEmpty() && !e.file.startsWith(QLatin1Char('/'));
        const QString path = below ? file(e.file) : e.file;
        if (below && !QFileInfo::exists(path))
            write(e.file, "x");
        list << QString::number(99 + list.size()) + QLatin1Char('=') + e.name;
        paths << e.name + QLatin1Char('=') +
                     (e.folder.isEmpty() ? path.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/')
                                         : e.folder);
        names << e.name + QLatin1Char('=') +
                     (e.folder.isEmpty() ? path.section(QLatin1Char('/'), -1) : e.file);
        if (e.marked)
            marks << e.name + QStringLiteral("=1");
        if (!e.caption.isEmpty())
            captions << e.name + QLatin1Char('=') + e.caption;
    }
    QStringList lines = list + paths + names;
    for (const QStringList& section : {marks, captions})
        if (section.size() > 1)
            lines += section;
    lines += more;
    if (Ansi::fits(lines.join(QString())))
        writeCatalog(lines);
    else
        writeOrFail(catalog(),
                    (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

void TestFolder::listEntries(const QStringList& entries, const QStringList& more) const
{
    QList<Entry> list;
    for (const QString& entry : entries)
        list.append({entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1)});
    writeEntries(list, more);
}
