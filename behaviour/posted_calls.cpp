#include "behaviour/posted_calls.h"

#include <utility>

namespace kestrelink {

PostedCalls::PostedCalls(std::function<bool()> wake) : m_wake(std::move(wake)) {}

void PostedCalls::Post(std::function<void()> call) {
    // Declared first, so that a dropped call is destroyed after the lock is released.
    std::function<void()> dropped = std::move(call);
    const std::lock_guard lock(m_mutex);
    if (m_closed) {
        return;
    }
    m_calls.push_back(std::move(dropped));
    if (!m_wake()) {
        dropped = std::move(m_calls.back());
        m_calls.pop_back();
    }
}

bool PostedCalls::RunOldest() {
    std::function<void()> call;
    {
        const std::lock_guard lock(m_mutex);
        if (m_calls.empty()) {
            return false;
        }
        call = std::move(m_calls.front());
        m_calls.pop_front();
    }
    call();
    return true;
}

bool PostedCalls::Empty() const {
    const std::lock_guard lock(m_mutex);
    return m_calls.empty();
}

void PostedCalls::Close() {
    // Declared first, so destroyed after the lock is released.
    std::deque<std::function<void()>> dropped;
    const std::lock_guard lock(m_mutex);
    m_closed = true;
    dropped.swap(m_calls);
}

}  // namespace kestrelink
