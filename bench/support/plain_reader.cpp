#include "bench/support/plain_reader.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <poll.h>
#endif

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

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

long long ReceiveBufferErrors() {
    std::ifstream snmp("/proc/net/snmp");
    std::string header;
    std::string values;
    while (std::getline(snmp, header) && std::getline(snmp, values)) {
        if (!header.starts_with("Udp:")) {
            continue;
        }
        std::istringstream names(header);
        std::istringstream numbers(values);
        std::string name;
        std::string number;
        while (names >> name && numbers >> number) {
            if (name == "RcvbufErrors") {
                return std::stoll(number);
            }
        }
    }
    return -1;
}

namespace {

bool WaitReadable(SocketHandle handle, std::chrono::milliseconds wait) {
#ifdef _WIN32
    WSAPOLLFD readable{static_cast<SOCKET>(handle), POLLRDNORM, 0};
    return ::WSAPoll(&readable, 1, static_cast<INT>(wait.count())) > 0;
#else
    pollfd readable{handle, POLLIN, 0};
    return ::poll(&readable, 1, static_cast<int>(wait.count())) > 0;
#endif
}

ListedRun CountingDrops(const std::function<ListedRun()>& runOnce) {
    const long long before = ReceiveBufferErrors();
    ListedRun run = runOnce();
    run.kernelDrops = ReceiveBufferErrors() - before;
    return run;
}

}  // namespace

BurstRounds RunBurstRounds(const std::function<ListedRun()>& listOnce,
                           const std::function<ListedRun()>& plainOnce) {
    BurstRounds rounds;
    for (int round = 0; round < kBurstRounds; ++round) {
        rounds.listed.push_back(CountingDrops(listOnce));
        rounds.plain.push_back(CountingDrops(plainOnce));
    }
    return rounds;
}

ListedRun Median(std::vector<ListedRun> runs) {
    if (runs.empty()) {
        return {};
    }
    const auto middle = runs.begin() + static_cast<std::ptrdiff_t>(runs.size() / 2);
    std::nth_element(runs.begin(), middle, runs.end(), [](const auto& first, const auto& second) {
        return first.lastRowMs < second.lastRowMs;
    });
    const auto fewest = std::min_element(
        runs.begin(), runs.end(),
        [](const auto& first, const auto& second) { return first.rows < second.rows; });
    return {fewest->rows, middle->lastRowMs};
}

bool ReportBurstRounds(const BurstRounds& rounds) {
    bool dropsMet = true;
    for (std::size_t round = 0; round < rounds.listed.size(); ++round) {
        const ListedRun& listed = rounds.listed[round];
        const ListedRun& plain = rounds.plain[round];
        std::printf(
            "burst round %zu: listed %d rows, last %lld ms, %lld dropped by the kernel; plain "
            "reader %d, last %lld ms, %lld dropped\n",
            round + 1, listed.rows, listed.lastRowMs, listed.kernelDrops, plain.rows,
            plain.lastRowMs, plain.kernelDrops);
        dropsMet = dropsMet && (plain.kernelDrops != 0 || listed.kernelDrops == 0);
    }
    std::printf("burst: no drops where the plain reader had none [target: %s]\n",
                dropsMet ? "met" : "MISSED");
    const ListedRun listed = Median(rounds.listed);
    const ListedRun plain = Median(rounds.plain);
    const double pace = PaceRatio(listed, plain);
    const bool paceMet = pace <= kPaceTarget;
    std::printf(
        "burst medians: last row %lld ms, plain reader %lld ms: %.2f times the plain reader's "
        "[target: at most %.2f: %s]\n",
        listed.lastRowMs, plain.lastRowMs, pace, kPaceTarget, paceMet ? "met" : "MISSED");
    return dropsMet && paceMet;
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
        if (!WaitReadable(socket.NativeHandle(), quietEnd)) {
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
