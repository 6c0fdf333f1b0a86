#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kestrelink {

class ListenerHandOver;
struct ListenerContext;

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

// Enough queue for a flat /16, 65,536 devices answering one broadcast within milliseconds, to
// wait out a listener that a busy machine leaves without a processor for a while: each datagram
// takes about 1.3 KB of it with the kernel's bookkeeping, and the kernel doubles what it accepts.
// Only what is queued takes memory.
inline constexpr int kReceiveBufferBytes = 48 * 1024 * 1024;
inline constexpr std::chrono::milliseconds kListenerStopWait{5000};

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
    // Rediscovery clears the latch, empties the list, then calls SendProbes.
    void ClearProbesSent();
    // Out of the interface named heardOn, or, when it is gone or not named, out of every
    // interface. True when the whole datagram left through at least one; false also when the
    // endpoint never opened.
    bool SendToDevices(std::span<const std::uint8_t> datagram, std::uint16_t port,
                       std::string_view heardOn = {});
    // Stops the listener, waiting at most stopWait for it, then lets go of the socket.
    void CloseEndpoint(std::chrono::milliseconds stopWait = kListenerStopWait);

    bool HasListener() const { return m_listener.joinable(); }
    // The socket is bound and can send: false before opening, after a failed one and once closed.
    bool IsOpen() const;

private:
    void StartListener();

    std::shared_ptr<ListenerContext> m_context;
    FailureReport m_reportFailure;
    ThreadStarter m_startThread;
    std::thread m_listener;
    std::future<void> m_listenerEnded;
};

}  // namespace kestrelink
