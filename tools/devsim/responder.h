#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <random>
#include <span>

#include "tools/device_protocol/device_datagrams.h"
#include "tools/device_protocol/device_protocol.h"
#include "tools/devsim/device_socket.h"
#include "tools/devsim/reply_queue.h"

namespace kestrelink::devsim {

class DeviceSet;
class StopSignals;
struct SimulatorOptions;

// The simulator's loop: reads probes and configuration requests on both family ports and sends
// the answers when they fall due.
class Responder final {
public:
    // report receives one line per event worth seeing (see the usage text).
    Responder(const SimulatorOptions& options, DeviceSet& devices, std::FILE* report);
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    // Runs until a stop signal or the end of --exit-after; returns the process's exit status.
    int Run(const StopSignals& stop);

private:
    DeviceSocket& SocketOf(device::Family family);
    void Drain(device::Family family);
    void Handle(device::Family family, std::span<const std::uint8_t> datagram,
                const Destination& source);
    void AnswerProbe(device::Family family, const Destination& prober);
    void ApplyConfig(device::Family family, std::span<const std::uint8_t> datagram,
                     const Destination& requester);
    void Apply(device::Family family, const device::ReceivedConfig& request);
    void ApplyDueRequests();
    void SendDueReplies();
    std::chrono::microseconds NextDelay();

    const SimulatorOptions& m_options;
    DeviceSet& m_devices;
    std::FILE* m_report;
    DeviceSocket m_socket08;
    DeviceSocket m_socket32;
    ReplyQueue m_replies;
    // Accepted requests waiting for --apply-delay, earliest first: the delay is the same for all.
    struct HeldRequest {
        std::chrono::steady_clock::time_point due;
        device::Family family;
        device::ReceivedConfig request;
    };
    std::deque<HeldRequest> m_held;
    std::mt19937_64 m_random;
};

}  // namespace kestrelink::devsim
