#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "net/intake.h"
#include "net/listener_hand_over.h"

namespace kestrelink {

class DeviceList;

// One arrival as the backlog keeps it.
struct KeptArrival {
    Arrival::Kind kind = Arrival::Kind::Announcement;
    std::unique_ptr<PreparedRow> row;  // for an announcement only
};

// A whole flat /16 answering at once, twice over: beyond it the owner has fallen so far behind
// that a full kernel queue would have dropped the rest anyway.
inline constexpr std::size_t kArrivalBacklogCapacity = 2 * 65536;

// What the listener has read and the side that owns the list has not yet taken in, oldest first.
// The listener only copies into it and goes on reading, so that a burst waits here rather than in
// the kernel's receive queue, where whatever overflows is lost.
class ArrivalBacklog final {
public:
    explicit ArrivalBacklog(std::size_t capacity = kArrivalBacklogCapacity)
        : m_capacity(capacity) {}

    // Listener: keeps what fits, in order. True when the owner has to be woken: nothing was
    // waiting, and no wake-up is outstanding.
    bool Keep(std::span<const Arrival> arrivals);
    // Owner: moves up to most of the oldest arrivals to the end of into; true when more are left,
    // for which the owner must come back by itself. Once it leaves the backlog empty, the next
    // Keep asks for a wake-up again.
    bool TakeOldest(std::vector<KeptArrival>& into, std::size_t most);
    // Arrivals that did not fit, since the start.
    std::size_t Overflowed() const;

private:
    const std::size_t m_capacity;
    mutable std::mutex m_mutex;
    std::deque<KeptArrival> m_kept;
    bool m_wakeOutstanding = false;
    std::size_t m_overflowed = 0;
};

// On the side that owns the list: takes in the backlog's arrivals, oldest first, a few hundred at
// a time, until none are left or sliceEnd has passed; a set response goes to showSetResponse, and
// every announcement, taken in or not, to heard first, when there is one. True when arrivals are
// left, for which the owner must come back by itself.
bool TakeInBacklog(ArrivalBacklog& backlog, DeviceList& list,
                   const std::function<void()>& showSetResponse,
                   std::chrono::steady_clock::time_point sliceEnd,
                   const std::function<void(const DeviceRow&)>& heard = {});

}  // namespace kestrelink
