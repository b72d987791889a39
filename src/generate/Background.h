#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs one piece of work on a thread of its own while the caller keeps its
// window answering and asks now and then whether the work is done.
namespace Generate {

class BackgroundTask
{
public:
    explicit BackgroundTask(std::function<void()> work);
    // Waits for the work: it may still hold files open.
    ~BackgroundTask();
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // Waits up to `milliseconds`; true once the work has finished.
    bool waitFor(int milliseconds);

private:
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
    std::thread m_thread;
};

} // namespace Generate
