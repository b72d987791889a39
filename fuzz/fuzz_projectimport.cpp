// Feeds arbitrary bytes to the project file reader as a .vbp, resolves its
// component lines in a small project tree that holds the awkward cases (other
// letter case, a file two ways, a folder, a pipe and a link loop named like
// components) and checks that every answer is sound. The same bytes also go
// through the form header reader and the reference merge.

#include "catalog/ProjectImport.h"
#include "catalog/ReferenceLines.h"
#include "FuzzSupport.h"
#include "platform/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "tree file opens");
    check(file.write(bytes) == bytes.size(), "tree file written");
}

// root/proj is the project's folder; the seeds name these entries.
QString buildTree(const QString& root)
{
    const QByteArray form = "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"
                            "#2.0#0\"; \"MSCOMCTL.OCX\"\r\nBegin VB.Form Haupt\r\n";
    for (const char* name : {"proj/Haupt.frm", "proj/haupt.FRM", "proj/Common/VisualStyles.bas",
                             "Gemeinsam/Hilfe.bas", "proj/a/Info.frm", "proj/b/Info.frm",
                             "proj/Bilder.RES", "proj/Seite.pag", "proj/Steuer.ctl"}) {
        put(root + u'/' + QLatin1String(name), form);
    }
    QDir().mkpath(root + QStringLiteral("/proj/Ordner.frm"));
    check(::mkfifo(QFile::encodeName(root + QStringLiteral("/proj/Rohr.bas")).constData(), 0600) ==
              0,
          "pipe made");
    check(::symlink("Schleife.frm",
                    QFile::encodeName(root + QStringLiteral("/proj/Schleife.frm")).constData()) ==
              0,
          "loop made");
    return root + QStringLiteral("/proj");
}

QString identity(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

void checkProject(const ProjectImport::Project& project, const QByteArray& bytes)
{
    using ProjectImport::State;
    if (bytes.contains('\0')) {
        check(project.problem == ProjectImport::Problem::NotText, "NUL bytes are no project");
        check(project.components.isEmpty(), "no components from a binary file");
        return;
    }
    check((project.problem == ProjectImport::Problem::NoComponents) == project.components.isEmpty(),
          "no components exactly when none was found");
    // CR LF, CR and LF each end a line.
    const int lines = int(bytes.count('\n') + bytes.count('\r') - bytes.count("\r\n")) + 1;
    QSet<QString> found;
    for (qsizetype i = 0; i < project.components.size(); ++i) {
        const ProjectImport::Component& c = project.components[i];
        check(c.line >= 1 && c.line <= lines, "line number within the file");
        check(i == 0 || c.line > project.components[i - 1].line, "components in line order");
        check(!c.key.isEmpty() && !Catalog::label(c.kind).isEmpty(), "a kind");
        check(c.rawPath == c.rawPath.trimmed(), "raw path trimmed");
        check((c.state == State::Found) == ProjectImport::stateText(c.state).isEmpty(),
              "only a found file has no reason");
        switch (c.state) {
        case State::Found:
            check(FileIo::isRegularFile(c.resolvedPath), "a found file is a regular file");
            check(!found.contains(identity(c.resolvedPath)), "a file is found once");
            found.insert(identity(c.resolvedPath));
            break;
        case State::Duplicate:
            check(FileIo::isRegularFile(c.resolvedPath), "a duplicate is a regular file");
            check(found.contains(identity(c.resolvedPath)), "a duplicate was found before");
            break;
        case State::NotRegular:
            check(!c.resolvedPath.isEmpty() && !FileIo::isRegularFile(c.resolvedPath),
                  "not regular means there is something that is no file");
            break;
        case State::Missing:
            check(c.resolvedPath.isEmpty() || !QFileInfo::exists(c.resolvedPath),
                  "missing means nothing is there");
            break;
        case State::UnusableKind:
            break;
        }
    }
    for (const QString& line : project.references)
        check(line.section(u'=', 0, 0)
                      .trimmed()
                      .compare(QLatin1String("Reference"), Qt::CaseInsensitive) == 0,
              "reference lines are references");
    for (const QString& line : project.objects)
        check(line.section(u'=', 0, 0)
                      .trimmed()
                      .compare(QLatin1String("Object"), Qt::CaseInsensitive) == 0,
              "object lines are objects");
}

void checkMerge(const QStringList& lines)
{
    const QStringList merged = ReferenceLines::merged(lines);
    check(ReferenceLines::merged(merged) == merged, "a merge is idempotent");
    check(ReferenceLines::merged(merged + lines) == merged, "lines given again add nothing");
    bool objects = false;
    for (const QString& line : merged) {
        check(lines.contains(line), "merged lines are given lines");
        const bool object = line.section(u'=', 0, 0)
                                .trimmed()
                                .compare(QLatin1String("Object"), Qt::CaseInsensitive) == 0;
        check(object || !objects, "references before objects");
        objects = objects || object;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder(scratchPattern("fuzz_projectimport"));
    static const QString project = buildTree(folder.path());
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // Now and then the whole way from the file; else from the bytes.
    ProjectImport::Project read;
    if (size % 16 == 0) {
        const QString path = project + QStringLiteral("/P.vbp");
        put(path, bytes);
        read = ProjectImport::readProject(path);
        check(read.read.ok() && read.folder == project, "a written project file reads");
    } else {
        read = ProjectImport::parseProject(bytes);
        ProjectImport::resolveComponents(&read, project);
    }
    checkProject(read, bytes);

    ProjectImport::Project again = ProjectImport::parseProject(bytes);
    ProjectImport::resolveComponents(&again, project);
    for (qsizetype i = 0; i < read.components.size(); ++i) {
        check(again.components[i].resolvedPath == read.components[i].resolvedPath &&
                  again.components[i].state == read.components[i].state,
              "resolution is deterministic");
    }

    const QStringList header = ReferenceLines::objectLinesIn(bytes);
    // "Object={GUID}#…; file", as a project file has it.
    for (const QString& line : header)
        check(line.startsWith(QLatin1String("Object={")) && line.indexOf(u'#') == 45 &&
                  line.contains(QLatin1String("; ")) && !line.contains(u'"'),
              "header objects are in the project file's form");
    check(ReferenceLines::unusableObjectLines(QStringLiteral("X.frm"), bytes).size() <=
              bytes.toLower().count("object"),
          "only Object lines are named as unusable");
    checkMerge(read.references + read.objects + header);
    return 0;
}
