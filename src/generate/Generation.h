#pragma once

#include "catalog/Catalog.h"
#include "generate/CopyRun.h"
#include "generate/Failures.h"
#include "generate/ProjectFile.h"

#include <QList>
#include <QString>
#include <QStringList>

// One generation of a project, the same for every front end: the copies, the
// marks, the project files, the folder clean-up, the options and the sorted list,
// in this order, with every failure in the outcome. The copies and the project
// files are put in place together, with one sync; the marks, the options and the
// list are one replacement of the catalogue. A stop at any point leaves only what
// was there before.
namespace Generate {

// What to make: the checked entries and the project page's entries and options.
struct Request
{
    QStringList entries; // the checked entry names, in list order
    QString projectName;
    QString folderText;          // as typed; its folder base is used and stored
    bool subfolder = true;       // the project goes into <folder base><name>
    bool saveMarks = false;      // "Marked" becomes exactly the entries
    bool rememberFolder = false; // "MyDocs" becomes the folder base
    bool openProject = false;    // stored as "Viewer"; the finishing opens the project
};

// The steps of a run, in their order.
enum class Step
{
    Copies, // into temporary files beside their targets
    Marks,
    ProjectFiles, // then every file of the project takes its place
    CleanUp,      // a folder the run made and left empty goes
    Options,
    SortedList // the catalogue's one replacement, the marks and options with it
};

// The front end's side of a run (the window, a command line): what must happen
// while it goes on. Each call comes on the thread that runs the generation, and
// the run waits for it to return. What the run has to say is in its Outcome.
class Frontend
{
public:
    virtual ~Frontend() = default;
    // Before each step; a stop asked for here or later takes the run back.
    virtual void stepStarted(Step step) = 0;
    // The list as it is about to be saved, sorted.
    virtual void sortedList(const QStringList& names) = 0;
};

struct NotSaved
{
    Catalog::Unsaved what;
    FileIo::Result result;
};

struct Outcome
{
    QStringList written;     // files of the project that now hold this run's bytes
    QList<Failure> failures; // every file not made, in the order of the steps; after
                             // a stop, every file that could not be put back
    bool templateMissing = false;
    QList<NotSaved> notSaved; // the parts of the catalogue's one write not saved, in order
    bool stopped = false;     // then only what was there before is left

    // What the run has to tell, in the order of its steps: each part of the
    // catalogue not saved (the marks before the missing template,
    // ProjectTemplate::kMissing, the rest after it), then the report of the files
    // not made.
    QStringList messages() const;
};

// What a run would do, with nothing written.
struct Preview
{
    QList<FileCopy> copies; // in order; a refused component carries its reason
    QString projectFile;
    QString workspaceFile;
    ProjectFileTexts texts; // the bytes they would get
};

class Generation
{
public:
    // Plans the copies from the catalogue as it is now.
    explicit Generation(const Request& request);
    Generation(const Request& request, const Catalog::Snapshot& catalogue);

    const Request& request() const { return m_request; }
    const CopyPlan& plan() const { return m_plan; }
    QString projectFolder() const { return m_plan.projectFolder; }
    QString projectFile() const;
    // The copy step's progress; another thread may read it while the run goes on.
    const CopyControl& progress() const { return m_control; }

    Preview preview() const;

    // Runs the steps on the calling thread; any thread will do.
    Outcome run(Frontend& frontend);

    // Safe from any thread and from a signal handler: the run stops at its next
    // chance and puts back everything as it was.
    void stop() { m_control.cancel = true; }

private:
    Request m_request;
    CopyPlan m_plan;
    CopyControl m_control;
};

} // namespace Generate
