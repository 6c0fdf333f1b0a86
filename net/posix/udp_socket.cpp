#include "net/udp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace kestrelink {
namespace {

// Room for an interface named beside a datagram: the one it came in on, or the one to send it
// out of.
struct PacketInfoSpace {
    alignas(cmsghdr) std::array<std::uint8_t, CMSG_SPACE(sizeof(in_pktinfo))> bytes{};
};

unsigned ArrivalInterface(msghdr& message) {
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            in_pktinfo arrival{};
            std::memcpy(&arrival, CMSG_DATA(header), sizeof arrival);
            return static_cast<unsigned>(arrival.ipi_ifindex);
        }
    }
    return 0;
}

}  // namespace

void CloseSocket(SocketHandle handle) {
    ::close(handle);
}

void CloseEvent(EventHandle handle) {
    ::close(handle);
}

bool UdpSocket::IsOpen() const {
    return m_handle.IsOpen();
}

bool UdpSocket::Create() {
    m_handle.Reset(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    return m_handle.IsOpen();
}

bool UdpSocket::EnableBroadcast() {
    const int on = 1;
    return ::setsockopt(m_handle.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

bool UdpSocket::Bind(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    return ::bind(m_handle.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool UdpSocket::MakeNonBlocking() {
    const int flags = ::fcntl(m_handle.Get(), F_GETFL, 0);
    return flags >= 0 && ::fcntl(m_handle.Get(), F_SETFL, flags | O_NONBLOCK) == 0;
}

void UdpSocket::RequestReceiveBuffer(int bytes) {
    // The forced variant passes the system-wide ceiling where we are allowed to (root, or our
    // own network namespace); otherwise the plain request gets what the ceiling allows.
    if (::setsockopt(m_handle.Get(), SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0) {
        ::setsockopt(m_handle.Get(), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
    }
}

int UdpSocket::GrantedReceiveBuffer() const {
    int bytes = 0;
    socklen_t length = sizeof bytes;
    return ::getsockopt(m_handle.Get(), SOL_SOCKET, SO_RCVBUF, &bytes, &length) == 0 ? bytes : 0;
}

bool UdpSocket::ReportArrivalInterface() {
    const int on = 1;
    return ::setsockopt(m_handle.Get(), IPPROTO_IP, IP_PKTINFO, &on, sizeof on) == 0;
}

bool UdpSocket::SendTo(std::span<const std::uint8_t> datagram, std::uint32_t address,
                       std::uint16_t port, SendPath path) {
    if (!m_handle.IsOpen()) {
        return false;
    }
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = htonl(address);
    destination.sin_port = htons(port);
    iovec payload{const_cast<std::uint8_t*>(datagram.data()), datagram.size()};
    msghdr message{};
    message.msg_name = &destination;
    message.msg_namelen = sizeof destination;
    message.msg_iov = &payload;
    message.msg_iovlen = 1;
    // The limited broadcast otherwise leaves only by the default route; naming the interface
    // sends it out of that one, from the address named (the interface's own).
    PacketInfoSpace control{};
    if (path.interfaceIndex != 0) {
        message.msg_control = control.bytes.data();
        message.msg_controllen = control.bytes.size();
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo steering{};
        steering.ipi_ifindex = static_cast<int>(path.interfaceIndex);
        steering.ipi_spec_dst.s_addr = htonl(path.sourceAddress);
        std::memcpy(CMSG_DATA(header), &steering, sizeof steering);
    }
    const ssize_t sent = ::sendmsg(m_handle.Get(), &message, MSG_NOSIGNAL);
    return sent >= 0 && static_cast<std::size_t>(sent) == datagram.size();
}

std::optional<ReceivedDatagram> UdpSocket::Receive(std::span<std::uint8_t> buffer) {
    sockaddr_in source{};
    iovec payload{buffer.data(), buffer.size()};
    PacketInfoSpace control{};
    msghdr message{};
    message.msg_name = &source;
    message.msg_namelen = sizeof source;
    message.msg_iov = &payload;
    message.msg_iovlen = 1;
    message.msg_control = control.bytes.data();
    message.msg_controllen = control.bytes.size();
    ssize_t length = -1;
    do {
        length = ::recvmsg(m_handle.Get(), &message, MSG_TRUNC | MSG_DONTWAIT);
    } while (length < 0 && errno == EINTR);
    if (length < 0 || static_cast<std::size_t>(length) > buffer.size()) {
        return std::nullopt;
    }
    return ReceivedDatagram{static_cast<std::size_t>(length), ntohs(source.sin_port),
                            ArrivalInterface(message), ntohl(source.sin_addr.s_addr)};
}

std::size_t UdpSocket::ReceiveBatch(std::span<std::uint8_t> storage, std::size_t slotBytes,
                                    std::span<ReceivedDatagram> received) {
    const std::size_t count =
        slotBytes == 0 ? 0
                       : std::min({received.size(), storage.size() / slotBytes, kMaxReceiveBatch});
    if (!m_handle.IsOpen() || count == 0) {
        return 0;
    }
    std::array<mmsghdr, kMaxReceiveBatch> messages{};
    std::array<iovec, kMaxReceiveBatch> payloads{};
    std::array<sockaddr_in, kMaxReceiveBatch> sources{};
    std::array<PacketInfoSpace, kMaxReceiveBatch> controls{};
    for (std::size_t k = 0; k < count; ++k) {
        payloads[k] = {storage.data() + k * slotBytes, slotBytes};
        msghdr& message = messages[k].msg_hdr;
        message.msg_name = &sources[k];
        message.msg_namelen = sizeof sources[k];
        message.msg_iov = &payloads[k];
        message.msg_iovlen = 1;
        message.msg_control = controls[k].bytes.data();
        message.msg_controllen = controls[k].bytes.size();
    }
    int taken = -1;
    do {
        // MSG_TRUNC has each length come back whole, so a datagram too long for its slot shows.
        taken = ::recvmmsg(m_handle.Get(), messages.data(), static_cast<unsigned>(count),
                           MSG_TRUNC | MSG_DONTWAIT, nullptr);
    } while (taken < 0 && errno == EINTR);
    if (taken <= 0) {
        return 0;
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(taken); ++k) {
        received[k] = {messages[k].msg_len, ntohs(sources[k].sin_port),
                       ArrivalInterface(messages[k].msg_hdr), ntohl(sources[k].sin_addr.s_addr)};
    }
    return static_cast<std::size_t>(taken);
}

StopEvent::StopEvent() : m_handle(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

bool StopEvent::IsOpen() const {
    return m_handle.IsOpen();
}

void StopEvent::Signal() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_handle.Get(), &one, sizeof one);
}

WakeReason WaitForDatagramOrStop(UdpSocket& socket, StopEvent& stop) {
    pollfd watched[2] = {{stop.NativeHandle(), POLLIN, 0}, {socket.NativeHandle(), POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return WakeReason::Failed;
        }
        if (watched[0].revents != 0) {
            return WakeReason::Stop;
        }
        if (watched[1].revents & POLLIN) {
            return WakeReason::Readable;
        }
        if (watched[1].revents & POLLNVAL) {
            return WakeReason::Failed;
        }
        if (watched[1].revents & POLLERR) {
            // A pending socket error is reported until it is read; reading it lets the wait
            // sleep again instead of spinning.
            int error = 0;
            socklen_t length = sizeof error;
            ::getsockopt(socket.NativeHandle(), SOL_SOCKET, SO_ERROR, &error, &length);
        }
    }
}

}  // namespace kestrelink
