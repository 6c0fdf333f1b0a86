#include "tools/devsim/device_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace kestrelink::devsim {

DeviceSocket::~DeviceSocket() {
    if (m_handle >= 0) {
        ::close(m_handle);
    }
}

bool DeviceSocket::Open(std::uint16_t port) {
    m_handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_handle < 0) {
        return false;
    }
    const int on = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    return ::setsockopt(m_handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 &&
           ::bind(m_handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

std::optional<ReceivedFrom> DeviceSocket::Receive(std::span<std::uint8_t> buffer) {
    sockaddr_in source{};
    socklen_t sourceLength = sizeof source;
    ssize_t length = -1;
    do {
        length = ::recvfrom(m_handle, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC,
                            reinterpret_cast<sockaddr*>(&source), &sourceLength);
    } while (length < 0 && errno == EINTR);
    if (length < 0) {
        return std::nullopt;
    }
    return ReceivedFrom{static_cast<std::size_t>(length),
                        {ntohl(source.sin_addr.s_addr), ntohs(source.sin_port)}};
}

bool DeviceSocket::SendTo(std::span<const std::uint8_t> datagram, const Destination& destination) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(destination.address);
    address.sin_port = htons(destination.port);
    ssize_t sent = -1;
    do {
        sent = ::sendto(m_handle, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                        reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (sent < 0 && errno == EINTR);
    return sent >= 0 && static_cast<std::size_t>(sent) == datagram.size();
}

}  // namespace kestrelink::devsim
