#include "tests/support/loopback_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kestrelink::testing {
namespace {

// Larger than any UDP payload, so that nothing a test sends is ever cut.
constexpr std::size_t kMaxDatagram = 65536;

}  // namespace

LoopbackPeer::LoopbackPeer(std::uint16_t port, PortUse use)
    : m_handle(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    if (m_handle < 0) {
        return;
    }
    const int on = 1;
    if (use == PortUse::Shared &&
        ::setsockopt(m_handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        ::close(m_handle);
        m_handle = -1;
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (::bind(m_handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(m_handle);
        m_handle = -1;
        return;
    }
    m_port = BoundPort(m_handle);
}

LoopbackPeer::~LoopbackPeer() {
    if (m_handle >= 0) {
        ::close(m_handle);
    }
}

bool LoopbackPeer::SendTo(std::span<const std::uint8_t> datagram, std::uint16_t port) {
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    destination.sin_port = htons(port);
    const ssize_t sent =
        ::sendto(m_handle, datagram.data(), datagram.size(), 0,
                 reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
    return sent >= 0 && static_cast<std::size_t>(sent) == datagram.size();
}

std::optional<PeerDatagram> LoopbackPeer::Receive(std::chrono::milliseconds timeout) {
    if (!WaitReadable(m_handle, timeout)) {
        return std::nullopt;
    }
    PeerDatagram datagram;
    datagram.bytes.resize(kMaxDatagram);
    sockaddr_in source{};
    socklen_t sourceLength = sizeof source;
    const ssize_t length =
        ::recvfrom(m_handle, datagram.bytes.data(), datagram.bytes.size(), MSG_DONTWAIT,
                   reinterpret_cast<sockaddr*>(&source), &sourceLength);
    if (length < 0) {
        return std::nullopt;
    }
    datagram.bytes.resize(static_cast<std::size_t>(length));
    datagram.sourcePort = ntohs(source.sin_port);
    return datagram;
}

std::uint16_t BoundPort(int handle) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

bool WaitReadable(int handle, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd watched{handle, POLLIN, 0};
        const int ready =
            ::poll(&watched, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
        if (ready > 0) {
            return (watched.revents & POLLIN) != 0;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

}  // namespace kestrelink::testing
