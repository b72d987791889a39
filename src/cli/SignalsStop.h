#pragma once

#include <csignal>
#include <iterator>

namespace Cli {

// While it lives, Ctrl-C, SIGTERM and SIGHUP call `stop(run)` instead of ending
// the program, so that the run can take back what it made. `stop` may do only
// what a signal handler may, such as setting an atomic flag.
class SignalsStop
{
public:
    using Stop = void (*)(void* run);

    SignalsStop(Stop stop, void* run);
    ~SignalsStop();
    SignalsStop(const SignalsStop&) = delete;
    SignalsStop& operator=(const SignalsStop&) = delete;

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction m_before[std::size(kSignals)] = {};
};

} // namespace Cli
