#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kestrelink {

class ListenerHandOver;
struct ListenerContext;
struct NetworkInterface;

inline constexpr std::string_view kSocketFailedMessage = "Failed to open datagram socket";
inline constexpr std::string_view kBroadcastFailedMessage =
    "Failed to set broadcast option on datagram socket.\n"
    "Check if another copy of the application is running.";
inline constexpr std::string_view kBindFailedMessage =
    "Failed to bind datagram socket to listening port.\n"
    "Check if another copy of the application is running.";
// Making the socket non-blocking failed; the text is the one users have always been shown.
inline constexpr std::string_view kNonBlockingFailedMessage =
    "Failed to set event select on datagram socket.\n"
    "Check if another copy of the application is running.";

// Room for a flat /16 answering one broadcast at once while a busy machine keeps the listener off
// the processor: about 1.3 KB a datagram with the kernel's bookkeeping, and the kernel doubles
// what it grants. Only what is queued takes memory.
inline constexpr int kReceiveBufferBytes = 48 * 1024 * 1024;

// Runs body on a thread of its own; throws std::system_error when the system has none to give.
using ThreadStarter = std::function<std::thread(std::function<void()> body)>;
std::thread StartSystemThread(std::function<void()> body);

// The program's one UDP socket on port 54320 and the listener thread that reads it.
class Endpoint final {
public:
    using FailureReport = std::function<void(std::string_view message)>;

    // reportFailure shows an opening failure to the user, on the calling thread.
    Endpoint(std::shared_ptr<ListenerHandOver> handOver, FailureReport reportFailure,
             ThreadStarter startThread = StartSystemThread);
    ~Endpoint();
    Endpoint(const Endpoint&) = delete;
    Endpoint& operator=(const Endpoint&) = delete;

    // Opens the socket and starts the listener, which sends the first probe pair by itself.
    // False after a reported failure; the endpoint then has no listener.
    bool OpenEndpoint();
    // Before opening: probes and requests go out only of the interfaces named, and devices heard
    // elsewhere are still handed over. None named, as at construction, means every interface.
    void LimitToInterfaces(std::vector<std::string> names);
    // Sends the probe pair unless it went out since the latch was last cleared.
    void SendProbes();
    // Rediscovery clears the latch and calls SendProbes, then empties the list.
    void ClearProbesSent();
    // Out of the interface named heardOn, or, when it is gone or not named, out of every
    // interface. True when the whole datagram left through at least one; false also when the
    // endpoint never opened.
    bool SendToDevices(std::span<const std::uint8_t> datagram, std::uint16_t port,
                       std::string_view heardOn = {});
    // Stops the listener and joins it, then lets go of the socket. The listener sees the stop at
    // its next wait, after at most one read, since no hand-over waits for its other side.
    void CloseEndpoint();

    // The interfaces the latest probe pair went out of; none before the first or once closed.
    std::vector<NetworkInterface> ProbedInterfaces() const;

    bool HasListener() const { return m_listener.joinable(); }
    // The socket is bound and can send: false before opening, after a failed one and once closed.
    bool IsOpen() const;

private:
    void StartListener();

    std::unique_ptr<ListenerContext> m_context;
    FailureReport m_reportFailure;
    ThreadStarter m_startThread;
    std::thread m_listener;
};

}  // namespace kestrelink
