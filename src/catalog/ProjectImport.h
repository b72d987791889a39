#pragma once

#include "catalog/ComponentKind.h"
#include "platform/FileIo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Reading an existing project file (.vbp) to take its components into the catalogue.
//
// How a caller uses it (the dialog, a command line, the catalogue store alike):
//
//     const ProjectImport::Project project = ProjectImport::readProject(path);
//     if (project.problem != ProjectImport::Problem::None)
//         report(ProjectImport::problemText(project));       // nothing to take in
//     for (const ProjectImport::Component& c : project.components) {
//         if (c.state == ProjectImport::State::Found)
//             ...  // c.resolvedPath is a regular file of a kind the generator uses
//         else
//             ...  // ProjectImport::stateText(c.state) says why not
//     }
//     // What an entry taken in from it remembers for new projects:
//     const QStringList lines = ProjectImport::rememberedLines(project, component);
//     // and what a new project's file gets, the template's own lines first:
//     ReferenceLines::merged(templateLines + linesOfEntry1 + ...);
//
// Whether a found file is new to the catalogue, already there, or would go
// under a name already taken is the catalogue's question, not this reader's.
namespace ProjectImport {

// A project file larger than this is refused; real ones stay far below it.
inline constexpr qint64 kMaxProjectBytes = 1024 * 1024;

enum class State
{
    Found,        // a regular file the generator can use
    Missing,      // no file at the path, nor under any letter case or part of it
    NotRegular,   // a folder, pipe, device or a link that loops
    Duplicate,    // the same file as an earlier line
    UnusableKind, // a kind (or file ending) the generator does not copy into projects
};

enum class Problem
{
    None,
    Unreadable,  // see Project::read
    NotText,     // binary, UTF-16 or another encoding with NUL bytes
    NoComponents // read, but no component line in it
};

struct Component
{
    QString key; // the project file's key as written ("Form", "module")
    Catalog::Kind kind = Catalog::Kind::Form;
    QString declaredName; // "Name" of "Module=Name; path" and "Class=…"; else empty
    QString rawPath;      // the path as written, outer quotes removed
    QString resolvedPath; // the file on disk ('/'-separated, absolute); empty when missing
    State state = State::Missing;
    int line = 0; // 1-based line of the project file
};

struct Project
{
    QString path;   // the project file as given
    QString folder; // its absolute folder, without trailing '/'
    Problem problem = Problem::None;
    FileIo::Result read;         // the file read's outcome
    QList<Component> components; // in the order of their lines
    QStringList references;      // "Reference=…" lines as written, in order
    QStringList objects;         // "Object=…" lines as written, in order
};

// Reads, parses and resolves a project file (Windows-1252; CR LF, LF or CR end a line).
Project readProject(const QString& path);

// The lines of project file bytes, without looking at the disk: components keep
// state Missing and no resolved path. Only the main part before the first
// "[section]" counts; keys compare without regard to case; lines without '=' are
// skipped.
Project parseProject(const QByteArray& bytes);

// Resolves each component's path as the development environment would on the
// project's machine, relative to `folder` (the project file's folder; see
// WindowsPathLookup), and sets its state. The same file (device and inode) named
// twice counts once.
void resolveComponents(Project* project, const QString& folder);

// What an entry taken in from `project` remembers: the project's Reference= lines
// and, for a form or user control, the Object= lines of its own header.
QStringList rememberedLines(const Project& project, const Component& component);

// For messages and the dialog, in German (a kind's text is Catalog::label).
QString stateText(State state); // empty for Found
QString problemText(const Project& project);

} // namespace ProjectImport
