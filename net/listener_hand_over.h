#pragma once

#include <cstdint>
#include <span>

#include "net/datagrams.h"

namespace kestrelink {

// One datagram of a read that the intake kept.
struct Arrival {
    enum class Kind { Announcement, SetResponse };
    Kind kind = Kind::Announcement;
    Announcement announcement;  // for an announcement only
    // Who sent it, first octet most significant: a set response says nothing else of its
    // device.
    std::uint32_t sourceAddress = 0;
    std::uint16_t sourcePort = 0;
};

// The one way from the listener thread to the side that owns the device list. The call is made
// on the listener thread and returns only when the other side has finished the step, so that the
// arrivals' texts, which point into the listener's receive buffers, stay valid meanwhile; or at
// once, without effect, once shutdown has begun.
class ListenerHandOver {
public:
    virtual ~ListenerHandOver() = default;
    // Everything one read of the queue brought, in arrival order, as one step on the owner's
    // side: each announcement deletes by MAC, refuses a listed IP, inserts; a set response is
    // shown to the user without waiting for them.
    virtual void TakeIn(std::span<const Arrival> arrivals) = 0;
};

}  // namespace kestrelink
