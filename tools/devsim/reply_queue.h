#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/device_protocol/device_protocol.h"

namespace kestrelink::devsim {

// Where a reply goes: the prober's address (first octet most significant) and port.
struct Destination {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
};

struct PendingReply {
    std::chrono::steady_clock::time_point due;
    std::uint64_t sequence = 0;  // keeps replies that fall due together in the order queued
    device::Family family = device::Family::Bits08;
    Destination destination;
    std::vector<std::uint8_t> datagram;
};

// Replies waiting for their moment, earliest first: one timer for every device instead of a
// thread per device.
class ReplyQueue final {
public:
    void Push(std::chrono::steady_clock::time_point due, device::Family family,
              const Destination& destination, std::vector<std::uint8_t> datagram);
    std::optional<std::chrono::steady_clock::time_point> NextDue() const;
    // The earliest reply if it is due at now; nullopt otherwise.
    std::optional<PendingReply> PopDue(std::chrono::steady_clock::time_point now);

private:
    std::vector<PendingReply> m_heap;
    std::uint64_t m_nextSequence = 0;
};

}  // namespace kestrelink::devsim
