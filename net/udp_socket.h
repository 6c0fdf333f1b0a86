#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#ifdef _WIN32
#include <mutex>
#endif

#include "net/owned_handle.h"

// The one seam between the endpoint and the operating system's sockets. Everything above it is
// portable; net/posix/ holds the implementation for Linux, net/win32/ the one for Windows.
namespace kestrelink {

#ifdef _WIN32
using SocketHandle = std::uintptr_t;                         // SOCKET
using EventHandle = void*;                                   // WSAEVENT
inline constexpr SocketHandle kNoSocket = ~SocketHandle{0};  // INVALID_SOCKET
inline constexpr EventHandle kNoEvent = nullptr;             // WSA_INVALID_EVENT
#else
using SocketHandle = int;
using EventHandle = int;
inline constexpr SocketHandle kNoSocket = -1;
inline constexpr EventHandle kNoEvent = -1;
#endif

// On Windows a socket also holds one reference to Winsock, which its closing gives back.
void CloseSocket(SocketHandle handle);
void CloseEvent(EventHandle handle);
using OwnedSocket = OwnedHandle<SocketHandle, kNoSocket, CloseSocket>;
using OwnedEvent = OwnedHandle<EventHandle, kNoEvent, CloseEvent>;

// The most datagrams ReceiveBatch takes in one call.
inline constexpr std::size_t kMaxReceiveBatch = 64;

// The adapter a datagram is steered out of, and the address it leaves from: a device that answers
// the prober by unicast must be able to reach that address.
struct SendPath {
    unsigned interfaceIndex = 0;      // 0 leaves the way out to the routes
    std::uint32_t sourceAddress = 0;  // first octet most significant; 0 lets the system choose
};

struct ReceivedDatagram {
    // Its whole length where the system tells it (Linux); at least more than its slot when it
    // did not fit.
    std::size_t length = 0;
    std::uint16_t sourcePort = 0;
    unsigned arrivalInterface = 0;    // the interface index it came in on; 0 when not known
    std::uint32_t sourceAddress = 0;  // first octet most significant
};

class UdpSocket final {
public:
    UdpSocket() = default;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Each step of opening; false when the system refuses it.
    bool Create();
    bool EnableBroadcast();
    bool Bind(std::uint16_t port);
    bool MakeNonBlocking();
    // Asks for at least bytes of receive queue; keeps what the system grants.
    void RequestReceiveBuffer(int bytes);
    // The receive queue the system granted, in bytes as it counts them; 0 when it does not say.
    int GrantedReceiveBuffer() const;
    // Has every received datagram report the interface it came in on.
    bool ReportArrivalInterface();

    bool IsOpen() const;

    // True only when the whole datagram left. address holds the first octet most significant.
    // A path with an interface steers the datagram out of it, whatever the routes say.
    bool SendTo(std::span<const std::uint8_t> datagram, std::uint32_t address, std::uint16_t port,
                SendPath path = {});
    // Takes the next datagram; one longer than the buffer is removed and reported as nullopt.
    std::optional<ReceivedDatagram> Receive(std::span<std::uint8_t> buffer);
    // Takes up to received.size() queued datagrams in one call, without waiting, the k-th into
    // the k-th slot of slotBytes in storage. Returns how many it took, 0 when none was queued or
    // the read failed. One longer than its slot is taken all the same, and its length says so.
    std::size_t ReceiveBatch(std::span<std::uint8_t> storage, std::size_t slotBytes,
                             std::span<ReceivedDatagram> received);

    SocketHandle NativeHandle() const { return m_handle.Get(); }

private:
    OwnedSocket m_handle;
#ifdef _WIN32
    // A steered send names its interface on the socket, sends, and clears it again: sends from
    // two threads at once must not interleave those steps.
    std::mutex m_steering;
#endif
};

// Wakes the listener out of its wait: the stop signal of the endpoint.
class StopEvent final {
public:
    StopEvent();
    StopEvent(const StopEvent&) = delete;
    StopEvent& operator=(const StopEvent&) = delete;

    bool IsOpen() const;
    void Signal();
    EventHandle NativeHandle() const { return m_handle.Get(); }

private:
    OwnedEvent m_handle;
};

enum class WakeReason { Stop, Readable, Failed };

// Sleeps without a time-out until the stop event is signalled or a datagram is queued.
WakeReason WaitForDatagramOrStop(UdpSocket& socket, StopEvent& stop);

}  // namespace kestrelink
