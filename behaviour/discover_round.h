#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace kestrelink {

class UiThread;

// Calls ended on the user-interface thread once a round has lasted its length, unless a new round
// began since. The toolkit's timers are left to the hand-over's slices: a thread of its own waits.
class DiscoverRound final {
public:
    DiscoverRound(UiThread& uiThread, std::chrono::milliseconds length,
                  std::function<void()> ended);
    // Joins the waiting thread; an end already posted is dropped unrun.
    ~DiscoverRound();
    DiscoverRound(const DiscoverRound&) = delete;
    DiscoverRound& operator=(const DiscoverRound&) = delete;

    // On the user-interface thread: a round begins now, and an earlier one ends unannounced.
    void Begin();

private:
    void Wait();

    UiThread& m_uiThread;
    const std::chrono::milliseconds m_length;
    std::function<void()> m_ended;
    unsigned m_current = 0;                                        // user-interface thread only
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);  // user-interface thread only

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<std::chrono::steady_clock::time_point> m_deadline;
    unsigned m_waitedFor = 0;
    bool m_stopping = false;
    std::thread m_waiter;
};

}  // namespace kestrelink
