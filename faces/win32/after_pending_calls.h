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
// pending, paints included. A call that waits is a timer's, whose message comes only once the
// queue holds nothing else, and no sooner than the system's next tick (about 15.6 ms): a rest
// shorter than that lasts a tick. A call that waits for nothing would lose that tick, so it is
// posted instead and runs once the window has painted and its due timers have run; while the
// user's input waits, it is left to the timer after all, which lets the input in first.
class AfterPendingCalls final {
public:
    // window: where the window keeps its handle; timerId: the window's timer kept for these
    // calls; posted: how calls that do not wait for a timer reach the window, and how they still
    // run, only without letting the window in first, when no timer can be set.
    AfterPendingCalls(const HWND& window, UINT_PTR timerId, PostedCalls& posted);
    AfterPendingCalls(const AfterPendingCalls&) = delete;
    AfterPendingCalls& operator=(const AfterPendingCalls&) = delete;

    void Add(std::chrono::milliseconds wait, std::function<void()> call);
    // At the timer's WM_TIMER: the calls added so far. One that adds another leaves it for the
    // next timer.
    void RunDue();
    // When the window goes: the timer stops, and waiting and later calls are dropped unrun.
    void Stop();

private:
    void SetTimerOrPost(UINT elapse);
    void RunSoon();

    const HWND& m_window;
    UINT_PTR m_timerId;
    PostedCalls& m_posted;
    std::deque<std::function<void()>> m_calls;
    // The calls that wait for no timer, and whether a posted call will run them.
    std::deque<std::function<void()>> m_soon;
    bool m_soonPosted = false;
    bool m_stopped = false;
};

}  // namespace kestrelink::win32
