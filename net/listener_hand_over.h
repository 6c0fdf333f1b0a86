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

// The one way from the listener thread to the side that owns the device list. TakeIn runs on the
// listener thread and must not wait for the other side: the endpoint's close joins the listener.
class ListenerHandOver {
public:
    virtual ~ListenerHandOver() = default;
    // Everything one read of the queue brought, in arrival order. The arrivals' texts point into
    // the listener's receive buffers and are valid only during the call: whatever is kept past
    // it is copied.
    virtual void TakeIn(std::span<const Arrival> arrivals) = 0;
};

}  // namespace kestrelink
