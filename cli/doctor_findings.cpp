#include "cli/doctor_findings.h"

#include <algorithm>

#include "net/protocol.h"

namespace kestrelink::cli {
namespace {

// A queued answer costs the datagram and the system's bookkeeping for it: about 1.3 KB on Linux,
// which counts both against the buffer.
constexpr int kQueuedAnswerBytes = 1280;

std::string PortProblem(const BindFailure& failure) {
    const std::string port = "UDP port " + std::to_string(LOCAL_PORT) + " cannot be bound: ";
    switch (failure.refusal) {
        case BindRefusal::InUse:
            return port + "another program holds it (another copy of Kestrelink?)";
        case BindRefusal::Reserved:
            return port +
                   "Windows reserves it for Hyper-V, WSL or Docker (netsh interface ipv4 show "
                   "excludedportrange protocol=udp)";
        case BindRefusal::Denied:
            return port + "the system denies it (" + failure.systemText + ")";
        case BindRefusal::Other:
            break;
    }
    return port + failure.systemText;
}

}  // namespace

int AnswersHeld(int receiveBufferBytes) {
    return std::max(receiveBufferBytes, 0) / kQueuedAnswerBytes;
}

bool DropsFactoryAddresses(const ReversePathFilter& filter) {
    return std::max(filter.all.value_or(0), filter.adapter.value_or(0)) == 1;
}

std::vector<std::string> Obstacles(const DoctorFindings& findings) {
    std::vector<std::string> obstacles;
    if (!findings.port.bindable) {
        obstacles.push_back(PortProblem(findings.port.failure));
    }
    if (findings.adapters.empty()) {
        obstacles.push_back("no adapter is up that a broadcast can leave by");
    }
    for (const DoctorFindings::Adapter& adapter : findings.adapters) {
        if (adapter.probeSent == false) {
            obstacles.push_back("a probe could not be sent out of " + adapter.name);
        }
        if (DropsFactoryAddresses(adapter.reversePath)) {
            obstacles.push_back(adapter.name +
                                " drops announcements from devices outside its networks "
                                "(rp_filter 1): sysctl -w net.ipv4.conf." +
                                adapter.name + ".rp_filter=2");
        }
    }
    if (findings.firewallApplies && findings.firewall) {
        for (const DoctorFindings::Program& program : *findings.firewall) {
            if (!program.letIn) {
                obstacles.push_back("no Windows Defender Firewall rule lets " + program.path +
                                    " in (UDP port " + std::to_string(LOCAL_PORT) + ")");
            }
        }
    }
    return obstacles;
}

}  // namespace kestrelink::cli
