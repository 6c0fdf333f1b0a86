#pragma once

#include <chrono>
#include <cstddef>

namespace kestrelink::provisioning {

// How fast requests may leave: a short burst at once, then a steady rate. 2,000 requests a
// second is at most 3.2 Mbit/s of the longest request, a small share even of a 10 Mbit/s
// segment; a burst of 32 lets a slow system timer (15.6 ms on Windows) keep that rate.
struct PaceSettings {
    int requestsPerSecond = 2000;
    int burst = 32;
};

// A virtual schedule for requests: each may go once the one before it has had its share of
// time, less the burst's allowance.
class RequestPacer final {
public:
    using Clock = std::chrono::steady_clock;

    explicit RequestPacer(PaceSettings settings);

    // When the next request may go if it is ready at now; counts it as sent then.
    Clock::time_point NextSlot(Clock::time_point now);

private:
    Clock::duration m_interval;
    Clock::duration m_allowance;
    Clock::time_point m_scheduled{};
};

}  // namespace kestrelink::provisioning
