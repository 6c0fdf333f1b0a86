#include "behaviour/discover_round.h"

#include "behaviour/ui_thread.h"

namespace kestrelink {

DiscoverRound::DiscoverRound(UiThread& uiThread, std::chrono::milliseconds length,
                             std::function<void()> ended)
    : m_uiThread(uiThread), m_length(length), m_ended(std::move(ended)) {
    m_waiter = std::thread([this] { Wait(); });
}

DiscoverRound::~DiscoverRound() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_one();
    m_waiter.join();
}

void DiscoverRound::Begin() {
    {
        const std::lock_guard lock(m_mutex);
        m_deadline = std::chrono::steady_clock::now() + m_length;
        m_waitedFor = ++m_current;
    }
    m_changed.notify_one();
}

void DiscoverRound::Wait() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (!m_deadline) {
            m_changed.wait(lock);
            continue;
        }
        if (m_changed.wait_until(lock, *m_deadline) != std::cv_status::timeout) {
            continue;
        }
        m_deadline.reset();
        const unsigned round = m_waitedFor;
        // Only this round's end, and only while this object lives: both read on the user-interface
        // thread, where Begin and the destructor run.
        m_uiThread.Post([this, round, alive = std::weak_ptr<bool>(m_alive)] {
            if (alive.lock() && round == m_current) {
                m_ended();
            }
        });
    }
}

}  // namespace kestrelink
