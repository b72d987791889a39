#pragma once

#include <functional>

namespace Generate {

// Called at the points where a long generation step lets the window catch up;
// the window passes its event pump, a command-line use passes nothing.
using Progress = std::function<void()>;

inline void report(const Progress& progress)
{
    if (progress)
        progress();
}

} // namespace Generate
