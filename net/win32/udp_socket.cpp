#include "net/udp_socket.h"

// winsock2.h before anything that would pull in the older winsock.h.
#include <winsock2.h>

#include <mswsock.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace kestrelink {
namespace {

SOCKET Native(SocketHandle handle) {
    return static_cast<SOCKET>(handle);
}

// The interface the socket's datagrams leave by, whatever the routes say; 0 gives the way out
// back to the routes. A system without the option keeps its routes.
void SetOutgoingInterface(SocketHandle handle, unsigned index) {
    const DWORD networkOrder = htonl(index);
    ::setsockopt(Native(handle), IPPROTO_IP, IP_UNICAST_IF,
                 reinterpret_cast<const char*>(&networkOrder), sizeof networkOrder);
}

// Room for an interface named beside a datagram: the one it came in on, or the one to send it
// out of.
struct PacketInfoSpace {
    alignas(WSACMSGHDR) std::array<char, WSA_CMSG_SPACE(sizeof(IN_PKTINFO))> bytes{};
};

// WSARecvMsg is not exported by name; each socket hands out a pointer to it.
LPFN_WSARECVMSG ReceiveMessageFunction(SOCKET handle) {
    GUID id = WSAID_WSARECVMSG;
    LPFN_WSARECVMSG function = nullptr;
    DWORD length = 0;
    if (::WSAIoctl(handle, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &function,
                   sizeof function, &length, nullptr, nullptr) != 0) {
        return nullptr;
    }
    return function;
}

// Winsock has no per-call MSG_DONTWAIT, and the socket may still be blocking: reads ask first.
bool IsDatagramQueued(SOCKET handle) {
    WSAPOLLFD watched{handle, POLLRDNORM, 0};
    return ::WSAPoll(&watched, 1, 0) == 1 && (watched.revents & POLLRDNORM) != 0;
}

// Takes the next datagram into buffer, without waiting; nullopt when none is queued or the read
// failed. One longer than the buffer is gone from the queue all the same; Winsock does not tell
// its true length, so it is reported one byte longer than the buffer.
std::optional<ReceivedDatagram> ReceiveOne(LPFN_WSARECVMSG receiveMessage, SOCKET handle,
                                           std::span<std::uint8_t> buffer) {
    if (!IsDatagramQueued(handle)) {
        return std::nullopt;
    }
    sockaddr_in source{};
    WSABUF payload{static_cast<ULONG>(buffer.size()), reinterpret_cast<char*>(buffer.data())};
    PacketInfoSpace control{};
    WSAMSG message{};
    message.name = reinterpret_cast<sockaddr*>(&source);
    message.namelen = sizeof source;
    message.lpBuffers = &payload;
    message.dwBufferCount = 1;
    message.Control = {static_cast<ULONG>(control.bytes.size()), control.bytes.data()};
    DWORD length = 0;
    const bool failed = receiveMessage(handle, &message, &length, nullptr, nullptr) != 0;
    if (failed && ::WSAGetLastError() != WSAEMSGSIZE) {
        return std::nullopt;
    }
    const bool cut = failed || (message.dwFlags & MSG_TRUNC) != 0;
    ReceivedDatagram received{cut ? buffer.size() + 1 : static_cast<std::size_t>(length),
                              ntohs(source.sin_port)};
    received.sourceAddress = ntohl(source.sin_addr.s_addr);
    for (WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message); header != nullptr;
         header = WSA_CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            IN_PKTINFO arrival{};
            std::memcpy(&arrival, WSA_CMSG_DATA(header), sizeof arrival);
            received.arrivalInterface = arrival.ipi_ifindex;
        }
    }
    return received;
}

// The socket's arrivals signal this event for as long as it is alive; the association ends with
// it, and the socket stays non-blocking.
class ReadableEvent final {
public:
    explicit ReadableEvent(SOCKET socket) : m_socket(socket), m_event(::WSACreateEvent()) {
        m_selected = m_event.IsOpen() && ::WSAEventSelect(m_socket, m_event.Get(), FD_READ) == 0;
    }
    ~ReadableEvent() {
        if (m_selected) {
            ::WSAEventSelect(m_socket, nullptr, 0);
        }
    }
    ReadableEvent(const ReadableEvent&) = delete;
    ReadableEvent& operator=(const ReadableEvent&) = delete;

    bool IsSelected() const { return m_selected; }
    WSAEVENT Handle() const { return m_event.Get(); }

private:
    SOCKET m_socket;
    OwnedEvent m_event;
    bool m_selected = false;
};

}  // namespace

// Each socket holds its own reference to Winsock: WSAStartup and WSACleanup are counted, and
// Winsock stays up for as long as any socket is open.
void CloseSocket(SocketHandle handle) {
    ::closesocket(Native(handle));
    ::WSACleanup();
}

void CloseEvent(EventHandle handle) {
    ::WSACloseEvent(handle);
}

bool UdpSocket::IsOpen() const {
    return m_handle.IsOpen();
}

bool UdpSocket::Create() {
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return false;
    }
    const SOCKET handle =
        ::WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (handle == INVALID_SOCKET) {
        ::WSACleanup();
        return false;
    }
    m_handle.Reset(handle);
    // A port-unreachable answer to an earlier send would otherwise fail the next receive with
    // WSAECONNRESET and leave the datagram behind it unread. Best effort: without it, a failed
    // receive only costs that one read.
    BOOL report = FALSE;
    DWORD length = 0;
    ::WSAIoctl(handle, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &length, nullptr,
               nullptr);
    return true;
}

bool UdpSocket::EnableBroadcast() {
    const BOOL on = TRUE;
    return ::setsockopt(Native(m_handle.Get()), SOL_SOCKET, SO_BROADCAST,
                        reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

bool UdpSocket::Bind(std::uint16_t port) {
    // Without exclusive use, another program could bind the same port and take our answers.
    const BOOL exclusive = TRUE;
    ::setsockopt(Native(m_handle.Get()), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                 reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    return ::bind(Native(m_handle.Get()), reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) == 0;
}

bool UdpSocket::MakeNonBlocking() {
    u_long on = 1;
    return ::ioctlsocket(Native(m_handle.Get()), FIONBIO, &on) == 0;
}

void UdpSocket::RequestReceiveBuffer(int bytes) {
    // Windows documents no ceiling like Linux's rmem_max: the value is the socket's own budget
    // of queued bytes (AFD's receive window), taken as asked, so the 48 MB request stands.
    ::setsockopt(Native(m_handle.Get()), SOL_SOCKET, SO_RCVBUF,
                 reinterpret_cast<const char*>(&bytes), sizeof bytes);
}

int UdpSocket::GrantedReceiveBuffer() const {
    int bytes = 0;
    int length = sizeof bytes;
    return ::getsockopt(Native(m_handle.Get()), SOL_SOCKET, SO_RCVBUF,
                        reinterpret_cast<char*>(&bytes), &length) == 0
               ? bytes
               : 0;
}

bool UdpSocket::ReportArrivalInterface() {
    const DWORD on = 1;
    return ::setsockopt(Native(m_handle.Get()), IPPROTO_IP, IP_PKTINFO,
                        reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

bool UdpSocket::SendTo(std::span<const std::uint8_t> datagram, std::uint32_t address,
                       std::uint16_t port, SendPath path) {
    if (!IsOpen()) {
        return false;
    }
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = htonl(address);
    destination.sin_port = htons(port);
    WSABUF payload{static_cast<ULONG>(datagram.size()),
                   reinterpret_cast<char*>(const_cast<std::uint8_t*>(datagram.data()))};
    WSAMSG message{};
    message.name = reinterpret_cast<sockaddr*>(&destination);
    message.namelen = sizeof destination;
    message.lpBuffers = &payload;
    message.dwBufferCount = 1;
    // The limited broadcast otherwise leaves only by the default route. Windows steers it by the
    // interface named in IP_PKTINFO and writes its ipi_addr as the source: left 0.0.0.0, a probe
    // may leave from 0.0.0.0. Wine passes that over and steers by IP_UNICAST_IF alone, which
    // holds for the whole socket, so it is named for this send and cleared after it.
    PacketInfoSpace control{};
    std::unique_lock steering(m_steering, std::defer_lock);
    const unsigned outOf = path.interfaceIndex;
    if (outOf != 0) {
        message.Control = {static_cast<ULONG>(control.bytes.size()), control.bytes.data()};
        WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = WSA_CMSG_LEN(sizeof(IN_PKTINFO));
        IN_PKTINFO pktInfo{};
        pktInfo.ipi_ifindex = outOf;
        pktInfo.ipi_addr.s_addr = htonl(path.sourceAddress);
        std::memcpy(WSA_CMSG_DATA(header), &pktInfo, sizeof pktInfo);
        steering.lock();
        SetOutgoingInterface(m_handle.Get(), outOf);
    }
    DWORD sent = 0;
    const bool whole =
        ::WSASendMsg(Native(m_handle.Get()), &message, 0, &sent, nullptr, nullptr) == 0 &&
        sent == datagram.size();
    if (outOf != 0) {
        SetOutgoingInterface(m_handle.Get(), 0);
    }
    return whole;
}

std::optional<ReceivedDatagram> UdpSocket::Receive(std::span<std::uint8_t> buffer) {
    const LPFN_WSARECVMSG receiveMessage = ReceiveMessageFunction(Native(m_handle.Get()));
    if (receiveMessage == nullptr) {
        return std::nullopt;
    }
    const std::optional<ReceivedDatagram> received =
        ReceiveOne(receiveMessage, Native(m_handle.Get()), buffer);
    if (received && received->length > buffer.size()) {
        return std::nullopt;
    }
    return received;
}

std::size_t UdpSocket::ReceiveBatch(std::span<std::uint8_t> storage, std::size_t slotBytes,
                                    std::span<ReceivedDatagram> received) {
    const std::size_t count =
        slotBytes == 0 ? 0
                       : std::min({received.size(), storage.size() / slotBytes, kMaxReceiveBatch});
    const LPFN_WSARECVMSG receiveMessage =
        count == 0 ? nullptr : ReceiveMessageFunction(Native(m_handle.Get()));
    if (receiveMessage == nullptr) {
        return 0;
    }
    // Winsock has no call that takes several datagrams at once: one read each, until the queue
    // is empty or the slots are full.
    std::size_t taken = 0;
    while (taken < count) {
        const std::optional<ReceivedDatagram> next = ReceiveOne(
            receiveMessage, Native(m_handle.Get()), storage.subspan(taken * slotBytes, slotBytes));
        if (!next) {
            break;
        }
        received[taken++] = *next;
    }
    return taken;
}

StopEvent::StopEvent() : m_handle(::WSACreateEvent()) {}

bool StopEvent::IsOpen() const {
    return m_handle.IsOpen();
}

void StopEvent::Signal() {
    ::WSASetEvent(m_handle.Get());
}

WakeReason WaitForDatagramOrStop(UdpSocket& socket, StopEvent& stop) {
    const ReadableEvent readable(Native(socket.NativeHandle()));
    if (!readable.IsSelected()) {
        return WakeReason::Failed;
    }
    // Selecting signals at once when a datagram is already queued, so none is slept through.
    const std::array<WSAEVENT, 2> watched{stop.NativeHandle(), readable.Handle()};
    const DWORD woken = ::WSAWaitForMultipleEvents(static_cast<DWORD>(watched.size()),
                                                   watched.data(), FALSE, WSA_INFINITE, FALSE);
    switch (woken) {
        case WSA_WAIT_EVENT_0:
            return WakeReason::Stop;
        case WSA_WAIT_EVENT_0 + 1:
            return WakeReason::Readable;
        default:
            return WakeReason::Failed;
    }
}

}  // namespace kestrelink
