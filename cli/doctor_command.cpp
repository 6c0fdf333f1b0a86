#include "cli/doctor_command.h"

#include <thread>

#include "cli/discovered_device.h"
#include "cli/discovery_collector.h"
#include "cli/doctor_findings.h"
#include "cli/doctor_output.h"
#include "net/datagrams.h"
#include "net/endpoint.h"
#include "net/firewall_rules.h"
#include "net/intake.h"
#include "net/interfaces.h"
#include "net/listener_loop.h"
#include "net/protocol.h"
#include "net/udp_socket.h"

namespace kestrelink::cli {
namespace {

DoctorFindings::Adapter AdapterOf(const NetworkInterface& way) {
    DoctorFindings::Adapter adapter;
    adapter.name = way.name;
    adapter.addresses = {FormatNetwork(way.address, way.prefixLength)};
    adapter.reversePath = ReadReversePathFilter(way.name);
    for (const InterfaceNetwork& further : way.furtherNetworks) {
        adapter.addresses.push_back(FormatNetwork(further.address, further.prefixLength));
    }
    return adapter;
}

// Opens the socket as the programs do; false, with the reason, when the port is refused.
bool OpenSocket(UdpSocket& socket, DoctorFindings& findings) {
    if (!socket.Create() || !socket.EnableBroadcast()) {
        findings.port.failure = {BindRefusal::Other, "no datagram socket with broadcast"};
        return false;
    }
    if (!socket.Bind(LOCAL_PORT)) {
        findings.port.failure = ExplainBindFailure(LOCAL_PORT);
        return false;
    }
    findings.port.bindable = true;
    socket.MakeNonBlocking();
    socket.RequestReceiveBuffer(kReceiveBufferBytes);
    findings.receiveBufferBytes = socket.GrantedReceiveBuffer();
    socket.ReportArrivalInterface();
    return true;
}

// One probe pair out of each adapter, from its own address, then every answer for the wait.
void ProbeRound(UdpSocket& socket, const std::vector<NetworkInterface>& ways,
                std::chrono::milliseconds wait, DoctorFindings& findings) {
    for (std::size_t k = 0; k < ways.size(); ++k) {
        const SendPath path{ways[k].index, ways[k].address};
        const bool sent08 = socket.SendTo(BuildProbe08(), kBroadcastAddress, DEVICE_PORT_08, path);
        const bool sent32 = socket.SendTo(BuildProbe32(), kBroadcastAddress, DEVICE_PORT_32, path);
        findings.adapters[k].probeSent = sent08 && sent32;
        findings.adapters[k].source = path.sourceAddress;
    }
    DiscoveryCollector heard{InterfaceScope{}};
    IntakeBuffers buffers;
    StopEvent stop;
    std::thread timer([&stop, wait] {
        std::this_thread::sleep_for(wait);
        stop.Signal();
    });
    ListenUntilStopped([&] { return WaitForDatagramOrStop(socket, stop); },
                       [&] { ReceiveDatagrams(socket, heard, buffers, ways); });
    timer.join();
    for (const DiscoveredDevice& device : heard.Devices()) {
        for (DoctorFindings::Adapter& adapter : findings.adapters) {
            adapter.answered += adapter.name == device.interfaceName ? 1 : 0;
        }
    }
}

void AskFirewall(DoctorFindings& findings) {
    const std::vector<std::string> programs = {ProgramBesideThisOne("kestrelink.exe"),
                                               ProgramBesideThisOne("kestrelink-cli.exe")};
    findings.firewallApplies = !programs.front().empty();
    const std::optional<FirewallState> state =
        findings.firewallApplies ? ReadFirewall() : std::nullopt;
    if (!state) {
        return;
    }
    findings.firewall.emplace();
    for (const std::string& program : programs) {
        findings.firewall->push_back({program, FirewallLetsIn(*state, program, LOCAL_PORT)});
    }
}

}  // namespace

ExitStatus RunDoctor(const DoctorOptions& options, std::ostream& out) {
    DoctorFindings findings;
    const std::vector<NetworkInterface> ways = ListBroadcastInterfaces();
    for (const NetworkInterface& way : ways) {
        findings.adapters.push_back(AdapterOf(way));
    }
    UdpSocket socket;
    if (OpenSocket(socket, findings)) {
        ProbeRound(socket, ways, options.wait, findings);
    }
    AskFirewall(findings);
    WriteDoctorFindings(out, options.format, findings);
    return Obstacles(findings).empty() ? ExitStatus::Success : ExitStatus::Failure;
}

}  // namespace kestrelink::cli
