#include "faces/win32/after_pending_calls.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "behaviour/posted_calls.h"

namespace kestrelink::win32 {

AfterPendingCalls::AfterPendingCalls(const HWND& window, UINT_PTR timerId, PostedCalls& posted)
    : m_window(window), m_timerId(timerId), m_posted(posted) {}

void AfterPendingCalls::Add(std::chrono::milliseconds wait, std::function<void()> call) {
    if (m_stopped) {
        return;
    }
    if (wait.count() <= 0) {
        m_soon.push_back(std::move(call));
        if (!m_soonPosted) {
            m_soonPosted = true;
            m_posted.Post([this] { RunSoon(); });
        }
        return;
    }
    m_calls.push_back(std::move(call));
    SetTimerOrPost(static_cast<UINT>(wait.count()));
}

void AfterPendingCalls::SetTimerOrPost(UINT elapse) {
    if (SetTimer(m_window, m_timerId, std::max<UINT>(USER_TIMER_MINIMUM, elapse), nullptr) == 0) {
        m_posted.Post([this] { RunDue(); });
    }
}

void AfterPendingCalls::RunSoon() {
    m_soonPosted = false;
    if (m_stopped || m_soon.empty()) {
        return;
    }
    // Posted messages come before input, paints and timers: a call that posts the next after
    // it would keep them all out.
    if (HIWORD(GetQueueStatus(QS_INPUT)) != 0) {
        std::move(m_soon.begin(), m_soon.end(), std::back_inserter(m_calls));
        m_soon.clear();
        SetTimerOrPost(USER_TIMER_MINIMUM);
        return;
    }
    MSG message{};
    while (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD) != 0) {
        DispatchMessageW(&message);
    }
    RedrawWindow(m_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // A timer's call may have closed the window.
    if (m_stopped) {
        return;
    }
    std::deque<std::function<void()>> due;
    due.swap(m_soon);
    for (std::function<void()>& call : due) {
        call();
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
    m_soon.clear();
}

}  // namespace kestrelink::win32
