#pragma once

#include <chrono>
#include <functional>

namespace kestrelink {

// What the listener's hand-over needs of a toolkit: a call queued to the user-interface thread,
// run there later, after the calls queued before it (Qt: a queued call; Win32: a posted window
// message).
class UiThread {
public:
    UiThread() = default;
    virtual ~UiThread() = default;
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // May be called from any thread. A face whose window is going may destroy call unrun, even
    // before Post returns; so whoever posts takes no lock in the call's destruction that it holds
    // while posting.
    virtual void Post(std::function<void()> call) = 0;
    // On the user-interface thread only: call runs there no sooner than wait from now, and once
    // the toolkit has caught up with what it has pending, repaints and due timers included, so
    // that work cut into slices leaves them their turn (Qt: a timer; Win32: a timer message,
    // which comes only once the queue is empty). Posted calls alone would starve the toolkit's
    // timers for as long as they come. One such call waits at a time.
    virtual void PostLater(std::chrono::milliseconds wait, std::function<void()> call) = 0;
};

}  // namespace kestrelink
