#include "cli/doctor_findings.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kestrelink::cli {
namespace {

// Two adapters that a probe pair left by; nothing in the way.
DoctorFindings Clear() {
    DoctorFindings findings;
    findings.port.bindable = true;
    findings.receiveBufferBytes = 425984;
    findings.adapters = {{"Ethernet", {"10.98.0.1/24"}, true, 0x0A620001u, {0, 0}, 3},
                         {"Wi-Fi", {"192.168.1.100/24"}, true, 0xC0A80164u, {}, 0}};
    return findings;
}

struct ObstacleCase {
    const char* name;
    void (*change)(DoctorFindings&);
    std::vector<std::string> obstacles;
};

void PrintTo(const ObstacleCase& c, std::ostream* os) {
    *os << c.name;
}

class ObstaclesTest : public ::testing::TestWithParam<ObstacleCase> {};

TEST_P(ObstaclesTest, NamesWhatStandsInTheWay) {
    DoctorFindings findings = Clear();
    GetParam().change(findings);
    EXPECT_EQ(Obstacles(findings), GetParam().obstacles);
}

using Findings = DoctorFindings&;
INSTANTIATE_TEST_SUITE_P(
    Findings, ObstaclesTest,
    ::testing::Values(
        // No answer is no obstacle: there may be no device.
        ObstacleCase{"Clear", [](Findings) {}, {}},
        ObstacleCase{"PortHeld",
                     [](Findings f) {
                         f.port = {false, {BindRefusal::InUse, "in use"}};
                     },
                     {"UDP port 54320 cannot be bound: another program holds it (another copy "
                      "of Kestrelink?)"}},
        ObstacleCase{"PortReserved",
                     [](Findings f) {
                         f.port = {false, {BindRefusal::Reserved, "Winsock error 10013"}};
                     },
                     {"UDP port 54320 cannot be bound: Windows reserves it for Hyper-V, WSL or "
                      "Docker (netsh interface ipv4 show excludedportrange protocol=udp)"}},
        ObstacleCase{"PortDenied",
                     [](Findings f) {
                         f.port = {false, {BindRefusal::Denied, "Permission denied"}};
                     },
                     {"UDP port 54320 cannot be bound: the system denies it (Permission "
                      "denied)"}},
        ObstacleCase{"NoAdapter",
                     [](Findings f) { f.adapters.clear(); },
                     {"no adapter is up that a broadcast can leave by"}},
        ObstacleCase{"ProbeFailed",
                     [](Findings f) { f.adapters[1].probeSent = false; },
                     {"a probe could not be sent out of Wi-Fi"}},
        ObstacleCase{"NotTried", [](Findings f) { f.adapters[1].probeSent.reset(); }, {}},
        ObstacleCase{"StrictFilter",
                     [](Findings f) {
                         f.adapters[0].reversePath = {0, 1};
                     },
                     {"Ethernet drops announcements from devices outside its networks "
                      "(rp_filter 1): sysctl -w net.ipv4.conf.Ethernet.rp_filter=2"}},
        ObstacleCase{"NoFirewallRule",
                     [](Findings f) {
                         f.firewallApplies = true;
                         f.firewall = {{{"C:\\K\\kestrelink.exe", false},
                                        {"C:\\K\\kestrelink-cli.exe", true}}};
                     },
                     {"no Windows Defender Firewall rule lets C:\\K\\kestrelink.exe in (UDP "
                      "port 54320)"}},
        // A firewall that cannot be read is reported as such, not as closed.
        ObstacleCase{"FirewallUnread", [](Findings f) { f.firewallApplies = true; }, {}}));

TEST(DropsFactoryAddressesTest, TheStricterOfAllAndTheAdapterDecides) {
    const struct {
        ReversePathFilter filter;
        bool drops;
    } cases[] = {{{0, 0}, false}, {{1, 0}, true}, {{0, 1}, true}, {{1, 2}, false},
                 {{2, 1}, false}, {{}, false},    {{1, {}}, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(DropsFactoryAddresses(c.filter), c.drops)
            << c.filter.all.value_or(-1) << " " << c.filter.adapter.value_or(-1);
    }
}

TEST(AnswersHeldTest, AboutOneAndAQuarterKilobytesEach) {
    EXPECT_EQ(AnswersHeld(100663296), 78643);
    EXPECT_EQ(AnswersHeld(425984), 332);
    EXPECT_EQ(AnswersHeld(0), 0);
}

}  // namespace
}  // namespace kestrelink::cli
