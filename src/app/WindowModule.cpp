#include "app/Application.h"

#include <QtGlobal>

// The one symbol the window module shows: `vorlagen` calls it when it starts
// without arguments.
extern "C" Q_DECL_EXPORT int vorlagen_run_window(int argc, char* argv[])
{
    return runApplication(argc, argv);
}
