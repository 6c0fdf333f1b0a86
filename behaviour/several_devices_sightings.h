#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "net/listener_hand_over.h"
#include "provisioning/device_link.h"

namespace kestrelink {

// Stands between the listener and the window's hand-over: everything goes on to the window's
// list as before, and while a run of the dialog keeps them, announcements are copied for it too.
class SeveralDevicesSightings final : public ListenerHandOver {
public:
    using Clock = std::chrono::steady_clock;

    explicit SeveralDevicesSightings(std::shared_ptr<ListenerHandOver> next);

    // Listener thread.
    void TakeIn(std::span<const Arrival> arrivals) override;

    // Any thread: from Keep on, announcements are kept until Take; Drop forgets them and stops.
    void Keep();
    void Drop();
    // What was kept since the last call, in arrival order; waits until something has been kept,
    // Interrupt is called or wake comes, whichever is first.
    std::vector<provisioning::Sighting> Take(Clock::time_point wake);
    // Waits until Interrupt is called or wake comes, keeping what arrives meanwhile.
    void WaitUntil(Clock::time_point wake);
    void Interrupt();

private:
    std::shared_ptr<ListenerHandOver> m_next;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::condition_variable m_interruptedChanged;
    bool m_keeping = false;
    bool m_interrupted = false;
    std::vector<provisioning::Sighting> m_kept;
};

}  // namespace kestrelink
