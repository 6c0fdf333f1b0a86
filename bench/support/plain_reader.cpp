#include "bench/support/plain_reader.h"

#include <poll.h>

#include <array>
#include <cstdio>
#include <limits>

#include "net/datagrams.h"
#include "net/endpoint.h"
#include "net/protocol.h"
#include "net/udp_socket.h"

namespace kestrelink::bench {

double PaceRatio(const ListedRun& listed, const ListedRun& plain) {
    if (listed.rows == 0 || plain.rows == 0 || plain.lastRowMs == 0) {
        return std::numeric_limits<double>::infinity();
    }
    return static_cast<double>(listed.lastRowMs) / static_cast<double>(plain.lastRowMs);
}

ListedRun DiscoverWithPlainReader(std::uint16_t port, int expected,
                                  std::chrono::milliseconds patience,
                                  std::chrono::milliseconds quietEnd) {
    using Clock = std::chrono::steady_clock;
    UdpSocket socket;
    if (!socket.Create() || !socket.EnableBroadcast() || !socket.Bind(port)) {
        std::fprintf(stderr, "plain reader: cannot bind port %u\n", unsigned{port});
        return {};
    }
    socket.RequestReceiveBuffer(kReceiveBufferBytes);
    const Clock::time_point probed = Clock::now();
    socket.SendTo(BuildProbe08(), kBroadcastAddress, DEVICE_PORT_08);
    socket.SendTo(BuildProbe32(), kBroadcastAddress, DEVICE_PORT_32);
    ListedRun run;
    std::array<std::uint8_t, 512> buffer{};
    const Clock::time_point deadline = probed + patience;
    while (run.rows < expected && Clock::now() < deadline) {
        pollfd readable{socket.NativeHandle(), POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(quietEnd.count())) <= 0) {
            break;
        }
        while (const auto received = socket.Receive(buffer)) {
            const auto kind = ClassifyDatagram(received->sourcePort, received->length);
            if (kind == DatagramKind::Announcement08 || kind == DatagramKind::Announcement32) {
                ++run.rows;
                run.lastRowMs =
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - probed)
                        .count();
            }
        }
    }
    return run;
}

}  // namespace kestrelink::bench
