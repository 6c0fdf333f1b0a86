#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>

namespace kestrelink {
class PostedCalls;
}

namespace kestrelink::win32 {

// The user-interface thread's own calls that wait until the window has caught up with what is
// pending, paints included: a timer message comes only once the queue holds nothing else.
class AfterPendingCalls final {
public:
    // window: where the window keeps its handle; timerId: the window's timer kept for these
    // calls; fallback: how they still run, only without letting the window in first, when no
    // timer can be set.
    AfterPendingCalls(const HWND& window, UINT_PTR timerId, PostedCalls& fallback);
    AfterPendingCalls(const AfterPendingCalls&) = delete;
    AfterPendingCalls& operator=(const AfterPendingCalls&) = delete;

    void Add(std::chrono::milliseconds wait, std::function<void()> call);
    // At the timer's WM_TIMER: the calls added so far. One that adds another leaves it for the
    // next timer.
    void RunDue();
    // When the window goes: the timer stops, and waiting and later calls are dropped unrun.
    void Stop();

private:
    const HWND& m_window;
    UINT_PTR m_timerId;
    PostedCalls& m_fallback;
    std::deque<std::function<void()>> m_calls;
    bool m_stopped = false;
};

}  // namespace kestrelink::win32
