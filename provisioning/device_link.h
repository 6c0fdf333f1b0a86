#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "provisioning/confirmation.h"

namespace kestrelink::provisioning {

// One announcement as the run needs it.
struct Sighting {
    std::string mac;
    Appearance appearance;
};

// What a provisioning run needs of the network and of time; a face hands it the endpoint and
// the system clock, a test a script.
class DeviceLink {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~DeviceLink() = default;

    virtual Clock::time_point Now() = 0;
    virtual void SleepUntil(Clock::time_point wake) = 0;
    // Sends the request of step once; true only when the whole datagram left.
    virtual bool Send(std::size_t step) = 0;
    // Sends the probe pair.
    virtual void Probe() = 0;
    // The announcements heard since the last call, in arrival order; waits until at least one
    // has arrived or until wake, whichever comes first.
    virtual std::vector<Sighting> Listen(Clock::time_point wake) = 0;
    // From another thread: a Listen under way, or the next one, returns at once. A link whose
    // Listen never waits long may leave it as it is.
    virtual void Interrupt() {}
};

}  // namespace kestrelink::provisioning
