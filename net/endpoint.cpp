#include "net/endpoint.h"

#include <atomic>
#include <system_error>

#include "net/datagrams.h"
#include "net/intake.h"
#include "net/listener_hand_over.h"
#include "net/listener_loop.h"
#include "net/protocol.h"
#include "net/udp_socket.h"

namespace kestrelink {

// Everything the listener touches. The listener holds its own reference, so that a listener left
// behind after a timed-out stop never sees its socket or events closed under it.
struct ListenerContext {
    explicit ListenerContext(std::shared_ptr<ListenerHandOver> handOver)
        : handOver(std::move(handOver)) {}

    std::shared_ptr<ListenerHandOver> handOver;
    UdpSocket udpSocket;
    StopEvent stopEvent;
    std::atomic<bool> probesSent{false};
    IntakeBuffers buffers;
    std::promise<void> ended;  // the listener's last step
};

namespace {

void SendProbePair(ListenerContext& context) {
    if (context.probesSent.exchange(true)) {
        return;
    }
    // A failed send is not retried; the user rediscovers.
    context.udpSocket.SendTo(BuildProbe08(), kBroadcastAddress, DEVICE_PORT_08);
    context.udpSocket.SendTo(BuildProbe32(), kBroadcastAddress, DEVICE_PORT_32);
}

void ListenerThread(ListenerContext& context) {
    // A datagram socket is writable from the start, so the start-up discovery goes out here
    // rather than on a writability report that would never stop coming.
    SendProbePair(context);
    ListenUntilStopped(
        [&context] { return WaitForDatagramOrStop(context.udpSocket, context.stopEvent); },
        [&context] { ReceiveDatagram(context.udpSocket, *context.handOver, context.buffers); });
}

}  // namespace

std::thread StartSystemThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

Endpoint::Endpoint(std::shared_ptr<ListenerHandOver> handOver, FailureReport reportFailure,
                   ThreadStarter startThread)
    : m_context(std::make_shared<ListenerContext>(std::move(handOver))),
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
    StartListener();
    return true;
}

void Endpoint::StartListener() {
    // Without a stop event or a thread the window still opens and sends; it only never hears an
    // answer. Neither failure is shown.
    if (!m_context->stopEvent.IsOpen()) {
        return;
    }
    m_listenerEnded = m_context->ended.get_future();
    try {
        m_listener = m_startThread([context = m_context] {
            ListenerThread(*context);
            context->ended.set_value();
        });
    } catch (const std::system_error&) {
        // Nothing to do: without a listener, closing never waits for it.
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

bool Endpoint::IsOpen() const {
    return m_context && m_context->udpSocket.IsOpen();
}

bool Endpoint::SendToDevices(std::span<const std::uint8_t> datagram, std::uint16_t port) {
    return m_context && m_context->udpSocket.SendTo(datagram, kBroadcastAddress, port);
}

void Endpoint::CloseEndpoint(std::chrono::milliseconds stopWait) {
    if (!m_context) {
        return;
    }
    if (m_listener.joinable()) {
        m_context->stopEvent.Signal();
        if (m_listenerEnded.wait_for(stopWait) == std::future_status::ready) {
            m_listener.join();
        } else {
            // The process is about to end; the listener keeps its own reference to what it
            // uses, so the socket closes when the listener finally lets go of it.
            m_listener.detach();
        }
    }
    m_context.reset();
}

}  // namespace kestrelink
