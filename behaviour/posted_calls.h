#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace kestrelink {

// The calls that any thread posts to the user-interface thread, which runs them one at a time in
// the order posted: one wake of that thread for each call, one call for each wake.
class PostedCalls final {
public:
    // wake: tells the user-interface thread that one more call waits (Win32: a posted message);
    // false when it cannot, and the call is dropped. It runs with the queue locked, so that the
    // call dropped is its own and not one another thread queued meanwhile.
    explicit PostedCalls(std::function<bool()> wake);
    PostedCalls(const PostedCalls&) = delete;
    PostedCalls& operator=(const PostedCalls&) = delete;

    // From any thread. A call dropped, once closed or for want of a wake, is destroyed before
    // Post returns and outside the lock.
    void Post(std::function<void()> call);
    // On the user-interface thread: runs the oldest call, outside the lock; false when none waits.
    bool RunOldest();
    bool Empty() const;
    // When the window goes: every waiting call and every later one is dropped unrun.
    void Close();

private:
    std::function<bool()> m_wake;
    mutable std::mutex m_mutex;
    std::deque<std::function<void()>> m_calls;
    bool m_closed = false;
};

}  // namespace kestrelink
