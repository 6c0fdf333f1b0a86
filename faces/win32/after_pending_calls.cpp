#include "faces/win32/after_pending_calls.h"

#include <algorithm>
#include <utility>

#include "behaviour/posted_calls.h"

namespace kestrelink::win32 {

AfterPendingCalls::AfterPendingCalls(const HWND& window, UINT_PTR timerId, PostedCalls& fallback)
    : m_window(window), m_timerId(timerId), m_fallback(fallback) {}

void AfterPendingCalls::Add(std::chrono::milliseconds wait, std::function<void()> call) {
    if (m_stopped) {
        return;
    }
    m_calls.push_back(std::move(call));
    const auto elapse = std::max<UINT>(USER_TIMER_MINIMUM, static_cast<UINT>(wait.count()));
    if (SetTimer(m_window, m_timerId, elapse, nullptr) == 0) {
        m_fallback.Post([this] { RunDue(); });
    }
}

void AfterPendingCalls::RunDue() {
    KillTimer(m_window, m_timerId);
    std::deque<std::function<void()>> due;
    due.swap(m_calls);
    for (std::function<void()>& call : due) {
        call();
    }
}

void AfterPendingCalls::Stop() {
    m_stopped = true;
    KillTimer(m_window, m_timerId);
    m_calls.clear();
}

}  // namespace kestrelink::win32
