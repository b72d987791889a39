#include "cli/SignalsStop.h"

#include <atomic>

namespace Cli {

namespace {

// The run a signal stops. Reading them and asking for the stop are single atomic
// operations, so the signal handler may do both.
std::atomic<SignalsStop::Stop> g_stop{nullptr};
std::atomic<void*> g_run{nullptr};
static_assert(std::atomic<SignalsStop::Stop>::is_always_lock_free);
static_assert(std::atomic<void*>::is_always_lock_free);

void stopRunning(int)
{
    if (const SignalsStop::Stop stop = g_stop.load())
        stop(g_run.load());
}

} // namespace

SignalsStop::SignalsStop(Stop stop, void* run)
{
    g_run = run;
    g_stop = stop;
    struct sigaction action = {};
    action.sa_handler = stopRunning;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &m_before[i]);
}

SignalsStop::~SignalsStop()
{
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &m_before[i], nullptr);
    g_stop = nullptr;
    g_run = nullptr;
}

} // namespace Cli
