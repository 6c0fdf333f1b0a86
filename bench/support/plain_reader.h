#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrelink::bench {

struct ListedRun {
    int rows = 0;
    long long lastRowMs = 0;  // after the probe
    // Datagrams the kernel dropped for a full receive queue while the run went on.
    long long kernelDrops = 0;
};

// Datagrams the kernel has dropped for a full receive queue in this network namespace so far;
// -1 when the system does not say.
long long ReceiveBufferErrors();

// How far behind the kernel's pace the intake may list the last row of a burst.
inline constexpr double kPaceTarget = 1.15;

// The time to the last row listed over the plain reader's; infinite when either listed nothing.
double PaceRatio(const ListedRun& listed, const ListedRun& plain);

// One run of a burst says little: the simulator's own pace varies by half from run to run. So
// the intake and the plain reader take turns for this many rounds, and their medians are compared.
inline constexpr int kBurstRounds = 5;

struct BurstRounds {
    std::vector<ListedRun> listed;
    std::vector<ListedRun> plain;
};

// Runs listOnce and then plainOnce, kBurstRounds times over, noting the kernel's drops of each.
BurstRounds RunBurstRounds(const std::function<ListedRun()>& listOnce,
                           const std::function<ListedRun()>& plainOnce);

// The median time to the last row, with the fewest rows any round listed.
ListedRun Median(std::vector<ListedRun> runs);

// One line per round, then the medians and their ratio; returns whether the ratio meets
// kPaceTarget and no round lost a datagram to the kernel where the plain reader lost none.
bool ReportBurstRounds(const BurstRounds& rounds);

// Sends the probe pair from port (0: any free one) and only drains the socket: no hand-over, no
// list. What it counts is what the kernel delivers, the pace the intake is measured against. It
// stops once expected announcements have come, when none has come for quietEnd, or at patience.
ListedRun DiscoverWithPlainReader(std::uint16_t port, int expected,
                                  std::chrono::milliseconds patience,
                                  std::chrono::milliseconds quietEnd);

}  // namespace kestrelink::bench
