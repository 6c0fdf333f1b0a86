#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "net/udp_socket.h"

namespace kestrelink::testing {

struct PeerDatagram {
    std::vector<std::uint8_t> bytes;
    std::uint16_t sourcePort = 0;
};

// A UDP socket that stands in for a device, or for anything else the program talks to, inside a
// private network. It binds all local addresses, so that it also hears what is broadcast to
// 255.255.255.255 there, and it sends only to 127.0.0.1.
class LoopbackPeer final {
public:
    // Shared: the port may also be bound by sockets that allow it too, as the device simulator's
    // do, so that a test can speak for one more device beside the simulator.
    enum class PortUse { Exclusive, Shared };

    // port 0: any free port.
    explicit LoopbackPeer(std::uint16_t port = 0, PortUse use = PortUse::Exclusive);
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    // False when the port could not be bound.
    bool IsOpen() const;
    std::uint16_t Port() const { return m_port; }

    // True only when the whole datagram left.
    bool SendTo(std::span<const std::uint8_t> datagram, std::uint16_t port);
    // The next datagram, or nullopt when none arrives within timeout.
    std::optional<PeerDatagram> Receive(std::chrono::milliseconds timeout);

private:
    OwnedSocket m_handle;
    std::uint16_t m_port = 0;
};

// The local port a socket is bound to; 0 when it cannot be read.
std::uint16_t BoundPort(SocketHandle handle);
// True once a datagram is queued on the socket, false when none is within timeout.
bool WaitReadable(SocketHandle handle, std::chrono::milliseconds timeout);

}  // namespace kestrelink::testing
