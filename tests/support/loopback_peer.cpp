#include "tests/support/loopback_peer.h"

#include <algorithm>
#include <cerrno>

#include "net/system_sockets.h"
#ifndef _WIN32
#include <poll.h>
#endif

namespace kestrelink::testing {
namespace {

// Larger than any UDP payload, so that nothing a test sends is ever cut.
constexpr std::size_t kMaxDatagram = 65536;

// The few calls that Winsock names differently; it also has to be started by each user.
#ifdef _WIN32
SocketHandle OpenSocket() {
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return kNoSocket;
    }
    const SocketHandle handle = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (handle == kNoSocket) {
        ::WSACleanup();
    }
    return handle;
}

int Poll(pollfd& watched, int timeoutMs) {
    return ::WSAPoll(&watched, 1, timeoutMs);
}
#else
SocketHandle OpenSocket() {
    return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

int Poll(pollfd& watched, int timeoutMs) {
    return ::poll(&watched, 1, timeoutMs);
}
#endif

}  // namespace

LoopbackPeer::LoopbackPeer(std::uint16_t port, PortUse use) : m_handle(OpenSocket()) {
    if (!m_handle.IsOpen()) {
        return;
    }
    const int on = 1;
    if (use == PortUse::Shared &&
        ::setsockopt(m_handle.Get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on),
                     sizeof on) != 0) {
        m_handle.Reset();
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (::bind(m_handle.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        m_handle.Reset();
        return;
    }
    m_port = BoundPort(m_handle.Get());
}

bool LoopbackPeer::IsOpen() const {
    return m_handle.IsOpen();
}

bool LoopbackPeer::SendTo(std::span<const std::uint8_t> datagram, std::uint16_t port) {
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    destination.sin_port = htons(port);
    const auto sent = ::sendto(m_handle.Get(), reinterpret_cast<const char*>(datagram.data()),
                               static_cast<int>(datagram.size()), 0,
                               reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
    return sent >= 0 && static_cast<std::size_t>(sent) == datagram.size();
}

std::optional<PeerDatagram> LoopbackPeer::Receive(std::chrono::milliseconds timeout) {
    if (!WaitReadable(m_handle.Get(), timeout)) {
        return std::nullopt;
    }
    PeerDatagram datagram;
    datagram.bytes.resize(kMaxDatagram);
    sockaddr_in source{};
    socklen_t sourceLength = sizeof source;
    // WaitReadable has seen a datagram queued, so this does not block.
    const auto length = ::recvfrom(m_handle.Get(), reinterpret_cast<char*>(datagram.bytes.data()),
                                   static_cast<int>(datagram.bytes.size()), 0,
                                   reinterpret_cast<sockaddr*>(&source), &sourceLength);
    if (length < 0) {
        return std::nullopt;
    }
    datagram.bytes.resize(static_cast<std::size_t>(length));
    datagram.sourcePort = ntohs(source.sin_port);
    return datagram;
}

std::uint16_t BoundPort(SocketHandle handle) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

bool WaitReadable(SocketHandle handle, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd watched{handle, POLLIN, 0};
        const int ready = Poll(watched, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
        if (ready > 0) {
            return (watched.revents & POLLIN) != 0;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

}  // namespace kestrelink::testing
