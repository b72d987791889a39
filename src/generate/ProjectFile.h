#pragma once

#include "generate/Failures.h"
#include "generate/Staging.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The project file (.vbp) made from the standard project template, and the
// workspace file (.vbw). Both are Windows-1252 text with CR LF line ends.
namespace Generate {

// The project file from the template's bytes: the project lines after the first
// line, the Name, Description and Title key lines named after the project, and,
// when there is a start form, the start-up lines (Name among them) in place of
// the Name and Startup key lines. Bytes that are not edited pass unchanged.
// Remembered Reference= and Object= lines that the template lacks go before the
// project lines, merged with the template's own (which then move there, first);
// without such lines the template's stay where they are.
QByteArray projectFileBytes(const QByteArray& templateBytes, const QString& projectName,
                            const QString& projectLines, const QString& startForm,
                            const QStringList& remembered = {});

// "<start form> = 0, 0, 803, 763, Z, 0, 0, 803, 763, Z" and an empty line.
QByteArray workspaceFileBytes(const QString& startForm);

// Both files as a run would write them, from the template; nothing is written.
struct ProjectFileTexts
{
    bool templateMissing = false; // then neither file
    QList<Failure> failures;      // the template could not be read: no project file
    QByteArray project;           // empty when there is none to write
    QByteArray workspace;         // empty when the template is missing
};

ProjectFileTexts composeProjectFiles(const QString& templatePath, const QString& projectName,
                                     const QString& projectLines, const QString& startForm,
                                     const QStringList& remembered = {});

struct ProjectFileResult
{
    bool templateMissing = false; // nothing was written (ProjectTemplate::kMissing)
    QStringList written;
    QList<Failure> failures;
};

// Stages <name>.vbp and <name>.vbw for the project folder, after the template's
// failure if it could not be read; neither when the template is missing.
void stageProjectFiles(const ProjectFileTexts& texts, const QString& projectFolder,
                       const QString& projectName, Staging& staging);

// Writes <name>.vbp and <name>.vbw into the project folder, replacing files of
// those names; writes neither when the template is missing.
ProjectFileResult writeProjectFiles(const QString& templatePath, const QString& projectFolder,
                                    const QString& projectName, const QString& projectLines,
                                    const QString& startForm, const QStringList& remembered = {});

} // namespace Generate
