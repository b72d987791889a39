#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// One entry of a catalogue a test writes.
struct Entry
{
    QString name;
    QString file; // "folder/file" below the test folder, or absolute
    bool marked = false;
    QString caption = {};
    QString folder = {}; // set: the entry's folder, and `file` its file name as it is
};

// A temporary program folder: the executable's folder, the documents folder and
// the registry stand-in all point into it while the object lives. The working
// directory the test found is restored at the end. A file the fixture cannot
// write fails the test at once.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();

    QString path() const { return m_dir.path(); } // without trailing '/'
    QString file(const QString& relative) const { return path() + '/' + relative; }
    QString exeFolder() const { return file("bin"); }
    QString documents() const { return file("docs"); }
    QString registry() const { return file("registry"); }
    QString catalog() const { return file("bin/vorlagen.dat"); }

    // Writes bytes to a file below path(), creating its folders.
    QString write(const QString& relative, const QByteArray& bytes) const;
    static QByteArray read(const QString& absolutePath);
    // Every file in the folder (and below it), hidden ones included, with its bytes.
    static QMap<QString, QByteArray> contents(const QString& folder, bool below = false);

    // Lines joined with CR LF and ended with CR LF, in the code page.
    static QByteArray crlf(const QStringList& lines);
    // Writes the catalogue file beside the executable, line by line.
    void writeCatalog(const QStringList& lines) const;
    // The catalogue listing `entries` from key 100 in this order, then `more` raw
    // lines; in the code page, or UTF-8 when a line does not fit it, as the program
    // saves. A listed file below path() not there yet is written as "x".
    void writeEntries(const QList<Entry>& entries, const QStringList& more = {}) const;
    // The same for entries "name=folder/file".
    void listEntries(const QStringList& entries, const QStringList& more = {}) const;
    QByteArray catalogBytes() const { return read(catalog()); }

private:
    QTemporaryDir m_dir;
    QString m_workingDirectory;
};
