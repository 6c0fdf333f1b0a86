#include "net/endpoint.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "net/datagrams.h"
#include "net/intake.h"
#include "net/interfaces.h"
#include "net/listener_hand_over.h"
#include "net/listener_loop.h"
#include "net/protocol.h"
#include "net/udp_socket.h"

namespace kestrelink {

// Everything the listener touches; it outlives the listener, which is joined before it goes.
struct ListenerContext {
    explicit ListenerContext(std::shared_ptr<ListenerHandOver> handOver)
        : handOver(std::move(handOver)) {}

    std::shared_ptr<ListenerHandOver> handOver;
    UdpSocket udpSocket;
    StopEvent stopEvent;
    std::atomic<bool> probesSent{false};
    IntakeBuffers buffers;
    // Set before the listener starts and never after: the interfaces this endpoint may use, none
    // named meaning every one.
    std::vector<std::string> limitedTo;
    // Those of the latest probe pair: the listener names by them where each answer came in.
    // Behind a mutex: GCC 12's std::atomic<std::shared_ptr> ends a load with a relaxed unlock,
    // which races with a probe pair sent from another thread.
    std::shared_ptr<const std::vector<NetworkInterface>> ProbedInterfaces() {
        const std::lock_guard lock(probedMutex);
        return probedInterfaces;
    }
    void SetProbedInterfaces(std::shared_ptr<const std::vector<NetworkInterface>> interfaces) {
        const std::lock_guard lock(probedMutex);
        probedInterfaces = std::move(interfaces);
    }
    std::mutex probedMutex;
    std::shared_ptr<const std::vector<NetworkInterface>> probedInterfaces =
        std::make_shared<const std::vector<NetworkInterface>>();
};

namespace {

// Listed afresh for every send, so that an adapter plugged in since is used too.
std::vector<NetworkInterface> WaysOut(const ListenerContext& context) {
    std::vector<NetworkInterface> interfaces = ListBroadcastInterfaces();
    if (!context.limitedTo.empty()) {
        std::erase_if(interfaces, [&context](const NetworkInterface& way) {
            return std::find(context.limitedTo.begin(), context.limitedTo.end(), way.name) ==
                   context.limitedTo.end();
        });
    }
    return interfaces;
}

// Once out of each interface; with none (a host with loopback only), once wherever the routes
// send it, unless the endpoint is limited to interfaces that are all gone. True when it left
// through at least one.
bool SendOutOfEach(ListenerContext& context, std::span<const NetworkInterface> interfaces,
                   std::span<const std::uint8_t> datagram, std::uint16_t port) {
    if (interfaces.empty()) {
        return context.limitedTo.empty() &&
               context.udpSocket.SendTo(datagram, kBroadcastAddress, port);
    }
    bool left = false;
    for (const NetworkInterface& way : interfaces) {
        left =
            context.udpSocket.SendTo(datagram, kBroadcastAddress, port, {way.index, way.address}) ||
            left;
    }
    return left;
}

void SendProbePair(ListenerContext& context) {
    if (context.probesSent.exchange(true)) {
        return;
    }
    auto interfaces = std::make_shared<const std::vector<NetworkInterface>>(WaysOut(context));
    context.SetProbedInterfaces(interfaces);
    // A failed send is not retried; the user rediscovers.
    SendOutOfEach(context, *interfaces, BuildProbe08(), DEVICE_PORT_08);
    SendOutOfEach(context, *interfaces, BuildProbe32(), DEVICE_PORT_32);
}

void ListenerThread(ListenerContext& context) {
    // A datagram socket is writable from the start, so the start-up discovery goes out here
    // rather than on a writability report that would never stop coming.
    SendProbePair(context);
    ListenUntilStopped(
        [&context] { return WaitForDatagramOrStop(context.udpSocket, context.stopEvent); },
        [&context] {
            ReceiveDatagrams(context.udpSocket, *context.handOver, context.buffers,
                             *context.ProbedInterfaces());
        });
}

}  // namespace

std::thread StartSystemThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

Endpoint::Endpoint(std::shared_ptr<ListenerHandOver> handOver, FailureReport reportFailure,
                   ThreadStarter startThread)
    : m_context(std::make_unique<ListenerContext>(std::move(handOver))),
      m_reportFailure(std::move(reportFailure)),
      m_startThread(std::move(startThread)) {}

Endpoint::~Endpoint() {
    CloseEndpoint();
}

bool Endpoint::OpenEndpoint() {
    // What a failed opening created goes at once: the unbound socket would still send, from a
    // port that no listener reads, and a configuration request would be reported as sent.
    const auto fail = [this](std::string_view message) {
        m_context.reset();
        m_reportFailure(message);
        return false;
    };
    UdpSocket& socket = m_context->udpSocket;
    if (!socket.Create()) {
        return fail(kSocketFailedMessage);
    }
    if (!socket.EnableBroadcast()) {
        return fail(kBroadcastFailedMessage);
    }
    // No address reuse: a second copy of the program must fail here.
    if (!socket.Bind(LOCAL_PORT)) {
        return fail(kBindFailedMessage);
    }
    if (!socket.MakeNonBlocking()) {
        return fail(kNonBlockingFailedMessage);
    }
    socket.RequestReceiveBuffer(kReceiveBufferBytes);
    // Without it every device is listed all the same, only not where it was heard.
    socket.ReportArrivalInterface();
    StartListener();
    return true;
}

void Endpoint::StartListener() {
    // Without a stop event or a thread the window still opens and sends; it only never hears an
    // answer. Neither failure is shown.
    if (!m_context->stopEvent.IsOpen()) {
        return;
    }
    try {
        m_listener = m_startThread([context = m_context.get()] { ListenerThread(*context); });
    } catch (const std::system_error&) {
        // Without a listener, closing has nothing to join.
    }
}

void Endpoint::LimitToInterfaces(std::vector<std::string> names) {
    if (m_context && !m_listener.joinable()) {
        m_context->limitedTo = std::move(names);
    }
}

void Endpoint::SendProbes() {
    if (m_context) {
        SendProbePair(*m_context);
    }
}

void Endpoint::ClearProbesSent() {
    if (m_context) {
        m_context->probesSent = false;
    }
}

std::vector<NetworkInterface> Endpoint::ProbedInterfaces() const {
    return m_context ? *m_context->ProbedInterfaces() : std::vector<NetworkInterface>();
}

bool Endpoint::IsOpen() const {
    return m_context && m_context->udpSocket.IsOpen();
}

bool Endpoint::SendToDevices(std::span<const std::uint8_t> datagram, std::uint16_t port,
                             std::string_view heardOn) {
    if (!m_context) {
        return false;
    }
    const std::vector<NetworkInterface> interfaces = WaysOut(*m_context);
    const auto same =
        std::find_if(interfaces.begin(), interfaces.end(),
                     [heardOn](const NetworkInterface& i) { return i.name == heardOn; });
    // An interface that is gone, or was never known, leaves every way out open.
    const auto ways = same == interfaces.end() ? std::span<const NetworkInterface>(interfaces)
                                               : std::span<const NetworkInterface>(&*same, 1);
    return SendOutOfEach(*m_context, ways, datagram, port);
}

void Endpoint::CloseEndpoint() {
    if (!m_context) {
        return;
    }
    if (m_listener.joinable()) {
        m_context->stopEvent.Signal();
        m_listener.join();
    }
    m_context.reset();
}

}  // namespace kestrelink
