#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "tools/devsim/reply_queue.h"

namespace kestrelink::devsim {

struct ReceivedFrom {
    std::size_t length = 0;  // the datagram's full length, also when the buffer cut it
    Destination source;
};

// One family's UDP port on every local address.
class DeviceSocket final {
public:
    DeviceSocket() = default;
    ~DeviceSocket();
    DeviceSocket(const DeviceSocket&) = delete;
    DeviceSocket& operator=(const DeviceSocket&) = delete;

    // Address reuse lets several simulators share a port: each hears every broadcast. False
    // with errno set when the port cannot be had.
    bool Open(std::uint16_t port);
    int Handle() const { return m_handle; }

    // The next queued datagram without waiting; nullopt when none is queued.
    std::optional<ReceivedFrom> Receive(std::span<std::uint8_t> buffer);
    // Waits for send buffer space rather than dropping, so that a burst arrives whole at the
    // prober's queue. True only when the whole datagram left.
    bool SendTo(std::span<const std::uint8_t> datagram, const Destination& destination);

private:
    int m_handle = -1;
};

}  // namespace kestrelink::devsim
