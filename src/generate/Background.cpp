#include "generate/Background.h"

#include <chrono>

namespace Generate {

BackgroundTask::BackgroundTask(std::function<void()> work)
    : m_thread([this, work = std::move(work)] {
          work();
          const std::lock_guard lock(m_mutex);
          m_done = true;
          m_finished.notify_all();
      })
{
}

BackgroundTask::~BackgroundTask()
{
    m_thread.join();
}

bool BackgroundTask::waitFor(int milliseconds)
{
    std::unique_lock lock(m_mutex);
    return m_finished.wait_for(lock, std::chrono::milliseconds(milliseconds),
                               [this] { return m_done; });
}

} // namespace Generate
