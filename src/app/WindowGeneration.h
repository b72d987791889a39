#pragma once

#include "generate/Generation.h"

#include <QStringList>

class Root;

// The window's side of one generation: the project page's checks with their
// questions, the run on a worker thread while page 4 shows how far the copies
// are, and afterwards what the run has to tell. Root shows the pages around it.
class WindowGeneration
{
public:
    // The checked entries of the list and the project page's fields.
    WindowGeneration(Root& root, const QStringList& checkedEntries);

    // Refuses the project page's entries with a message, or asks about an
    // existing project folder; true when the run may go on.
    bool checksPass();

    // Runs the generation; the window keeps answering meanwhile. Abbrechen (see
    // stop) or closing the window stops it while the components are copied.
    Generate::Outcome run();
    // Takes the run back while the components are copied; later it has no effect.
    void stop();

    // What the run has to tell, one message each, in the run's order; a project
    // not made whole is not called a success on page 5.
    void tell(const Generate::Outcome& outcome);

private:
    Root& m_root;
    QStringList m_entries;
    Generate::Generation* m_running = nullptr;
    bool m_copying = true; // touched on the window's thread only
};
