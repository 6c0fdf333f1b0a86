// A plan of 1,000 simulated devices, 500 of each family, run by kestrelink-cli configure --plan
// --verify: (a) with the simulator's --apply-delay 2000, as devices that take two seconds to
// apply new settings, and (b) with none. For each: the time from the program's start to the
// summary line, listen before the plan included, the probe pairs sent in that time and the
// announcements the devices sent in answer.
//
// Targets: (a) every device confirmed within 4,000 ms of the program's start, at most one probe
// pair per 500 ms round, announcements at most rounds × 1,000; (b) every device confirmed, no
// slower than the 8.8 s that one device after another took before plans ran together.
// Exit status 0 when every target is met.
//
// Opens sockets, so it runs only in a private network:
//   scripts/in-private-network.sh build/bench/provision_bench
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/lab/child_process.h"
#include "tools/lab/private_network.h"

namespace {

using Clock = std::chrono::steady_clock;
using kestrelink::lab::ChildProcess;
using std::chrono::milliseconds;

constexpr int kDevicesPerFamily = 500;
constexpr int kDevices = 2 * kDevicesPerFamily;
constexpr milliseconds kApplyDelay{2000};
constexpr milliseconds kRound{500};
constexpr milliseconds kConfirmedWithin{4000};
constexpr milliseconds kBeforeOneByOne{8800};
// The program's discovery before the plan runs, and each device's time to confirm.
constexpr milliseconds kWait{4000};
constexpr milliseconds kSimulatorStart{5000};
constexpr milliseconds kRunLimit{120000};

// The simulator's MACs count up from 02:00:00:00:00:01, the 08bits devices first.
std::string MacOf(int number) {
    const unsigned value = 1u + static_cast<unsigned>(number);
    char text[18];
    std::snprintf(text, sizeof text, "02:00:00:00:%02x:%02x", value >> 8 & 0xFF, value & 0xFF);
    return text;
}

// Every device onto an address of its own in 10.214.0.0/16; the 32bits devices renamed.
std::string WritePlan() {
    const std::string path = "/tmp/provision_bench_" + std::to_string(::getpid()) + ".csv";
    std::ofstream plan(path);
    plan << "mac,ip,mask,gateway,dns,name,password,dhcp\n";
    for (int k = 0; k < kDevices; ++k) {
        plan << MacOf(k) << ",10.214." << k / 250 << '.' << k % 250 + 2
             << ",255.255.0.0,10.214.0.1,,"
             << (k < kDevicesPerFamily ? "" : "bench-" + std::to_string(k)) << ",,no\n";
    }
    return path;
}

struct Figures {
    bool allConfirmed = false;
    long long summaryMs = -1;  // from the program's start
    long long probePairs = 0;
    long long announcements = 0;
};

// The number after "announcements=" in a probe line of the simulator.
long long AnnouncementsIn(std::string_view line) {
    const std::size_t at = line.find("announcements=");
    return at == std::string_view::npos ? 0 : std::stoll(std::string(line.substr(at + 14)));
}

std::optional<Figures> RunPlan(const std::string& plan, milliseconds applyDelay) {
    ChildProcess simulator(
        KESTRELINK_DEVSIM_PATH,
        {"--devices08", std::to_string(kDevicesPerFamily), "--devices32",
         std::to_string(kDevicesPerFamily), "--apply-delay", std::to_string(applyDelay.count())});
    if (!simulator.WaitForLine("listening", kSimulatorStart)) {
        std::fprintf(stderr, "provision_bench: the simulator did not start\n");
        return std::nullopt;
    }
    const Clock::time_point start = Clock::now();
    ChildProcess cli(KESTRELINK_CLI_PATH, {"configure", "--plan", plan, "--verify", "--wait",
                                           std::to_string(kWait.count())});
    Figures figures;
    const auto summary = cli.WaitForLine(" not confirmable, ", kRunLimit);
    figures.summaryMs = std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
    figures.allConfirmed = cli.WaitForExit(kRunLimit) == 0 && summary &&
                           summary->starts_with(std::to_string(kDevices) + " configured");
    if (!figures.allConfirmed) {
        std::fprintf(stderr, "provision_bench: %s\n", cli.ErrorText().c_str());
    }
    for (const std::string& line : simulator.OutputLines()) {
        if (line.starts_with("probe 08bits")) {
            figures.announcements += AnnouncementsIn(line);
        } else if (line.starts_with("probe 32bits")) {
            figures.announcements += AnnouncementsIn(line);
            ++figures.probePairs;
        }
    }
    return figures;
}

}  // namespace

int main() {
    kestrelink::lab::RequirePrivateNetwork("provision_bench");
    const std::string plan = WritePlan();
    bool allMet = true;
    for (const milliseconds applyDelay : {kApplyDelay, milliseconds(0)}) {
        const auto figures = RunPlan(plan, applyDelay);
        if (!figures) {
            std::remove(plan.c_str());
            return 2;
        }
        const long long rounds = figures->summaryMs / kRound.count() + 1;
        const bool met = figures->allConfirmed &&
                         (applyDelay.count() > 0 ? figures->summaryMs <= kConfirmedWithin.count() &&
                                                       figures->probePairs <= rounds &&
                                                       figures->announcements <= rounds * kDevices
                                                 : figures->summaryMs <= kBeforeOneByOne.count());
        allMet = allMet && met;
        std::printf(
            "apply delay %lld ms: %s, summary %lld ms after the start, %lld probe pairs, "
            "%lld announcements [target: all confirmed, %s: %s]\n",
            static_cast<long long>(applyDelay.count()),
            figures->allConfirmed ? "all confirmed" : "NOT all confirmed", figures->summaryMs,
            figures->probePairs, figures->announcements,
            applyDelay.count() > 0 ? "within 4,000 ms, a probe pair per 500 ms round at most, "
                                     "announcements at most rounds x 1,000"
                                   : "within the 8,800 ms of one device after another",
            met ? "met" : "MISSED");
    }
    std::remove(plan.c_str());
    return allMet ? 0 : 1;
}
