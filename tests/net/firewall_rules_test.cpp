#include "net/firewall_rules.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace kestrelink {
namespace {

constexpr std::uint32_t kPrivate = 0x2;
constexpr std::uint32_t kPublic = 0x4;
const std::string kWindow = "C:\\Program Files\\Kestrelink\\kestrelink.exe";

// What the installer adds: UDP 54320 inbound for the window, every profile.
const FirewallRule kAllowWindow{.enabled = true,
                                .inbound = true,
                                .allow = true,
                                .protocol = 17,
                                .application = "c:\\program files\\kestrelink\\KESTRELINK.EXE",
                                .localPorts = "54320",
                                .profiles = 0x7fffffff};

FirewallRule Changed(void (*change)(FirewallRule&)) {
    FirewallRule rule = kAllowWindow;
    change(rule);
    return rule;
}

struct LetInCase {
    const char* name;
    std::vector<FirewallRule> rules;
    bool letIn;
};

void PrintTo(const LetInCase& c, std::ostream* os) {
    *os << c.name;
}

class FirewallLetsInTest : public ::testing::TestWithParam<LetInCase> {};

// A laptop on a Public network, the firewall on and blocking what no rule names.
TEST_P(FirewallLetsInTest, OnAPublicNetwork) {
    const FirewallState state{kPublic, 0x7, 0x7, GetParam().rules};
    EXPECT_EQ(FirewallLetsIn(state, kWindow, 54320), GetParam().letIn);
}

using Rule = FirewallRule&;
INSTANTIATE_TEST_SUITE_P(
    Rules, FirewallLetsInTest,
    ::testing::Values(
        LetInCase{"NoRule", {}, false}, LetInCase{"ItsOwnRuleInAnotherCase", {kAllowWindow}, true},
        LetInCase{"Disabled", {Changed([](Rule r) { r.enabled = false; })}, false},
        LetInCase{"Outbound", {Changed([](Rule r) { r.inbound = false; })}, false},
        LetInCase{"TcpOnly", {Changed([](Rule r) { r.protocol = 6; })}, false},
        LetInCase{"AnyProtocol", {Changed([](Rule r) { r.protocol = 256; })}, true},
        LetInCase{"PrivateProfileOnly", {Changed([](Rule r) { r.profiles = kPrivate; })}, false},
        LetInCase{"AnotherProgram",
                  {Changed([](Rule r) { r.application = "C:\\Tools\\other.exe"; })},
                  false},
        LetInCase{"EveryProgramOnThePort", {Changed([](Rule r) { r.application.clear(); })}, true},
        LetInCase{"PortRange", {Changed([](Rule r) { r.localPorts = "54000-55000"; })}, true},
        LetInCase{"PortList", {Changed([](Rule r) { r.localPorts = "80, 54320"; })}, true},
        LetInCase{"RangeBelow", {Changed([](Rule r) { r.localPorts = "54000-54319"; })}, false},
        LetInCase{"AnyPort", {Changed([](Rule r) { r.localPorts = "*"; })}, true},
        // What dismissing the first prompt leaves: a block rule, which wins over any allow.
        LetInCase{
            "BlockBesideAllow", {kAllowWindow, Changed([](Rule r) { r.allow = false; })}, false}));

TEST(FirewallLetsInTest, OffOrAllowingByDefaultInTheProfileInForce) {
    // Off for Public, on for the others.
    EXPECT_TRUE(FirewallLetsIn({kPublic, 0x3, 0x7, {}}, kWindow, 54320));
    // On, but letting in what no rule names.
    EXPECT_TRUE(FirewallLetsIn({kPublic, 0x7, 0x3, {}}, kWindow, 54320));
    // Private and Public both in force: a rule for Private alone leaves Public closed.
    EXPECT_FALSE(FirewallLetsIn(
        {kPrivate | kPublic, 0x7, 0x7, {Changed([](Rule r) { r.profiles = kPrivate; })}}, kWindow,
        54320));
}

}  // namespace
}  // namespace kestrelink
