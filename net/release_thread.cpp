#include "net/release_thread.h"

#include <system_error>
#include <utility>

namespace kestrelink {

ReleaseThread::~ReleaseThread() {
    if (!m_thread.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_one();
    m_thread.join();
}

void ReleaseThread::Release(std::shared_ptr<void> doomed) {
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            return;
        }
    }
    {
        const std::lock_guard lock(m_mutex);
        m_doomed.push_back(std::move(doomed));
    }
    m_changed.notify_one();
}

void ReleaseThread::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_doomed.empty(); });
        if (m_doomed.empty()) {
            return;
        }
        std::vector<std::shared_ptr<void>> taken = std::exchange(m_doomed, {});
        // Freed outside the lock, so that a release meanwhile does not wait for it.
        lock.unlock();
        taken.clear();
        lock.lock();
    }
}

}  // namespace kestrelink
