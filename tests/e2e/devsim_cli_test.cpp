#include <signal.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "kestrelink/version.h"
#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

struct BadOptionsCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* complaint;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const BadOptionsCase& c, std::ostream* os) {
    *os << c.name;
}

class DevsimBadOptionsTest : public PrivateNetworkTest,
                             public ::testing::WithParamInterface<BadOptionsCase> {};

// Refused before any socket opens: status 2, a message, and never "listening".
TEST_P(DevsimBadOptionsTest, ExitsWithStatusTwoAndSaysWhy) {
    ChildProcess simulator(KESTRELINK_DEVSIM_PATH, GetParam().arguments);
    ASSERT_TRUE(simulator.Started());
    EXPECT_EQ(simulator.WaitForExit(kE2eWait), 2);
    EXPECT_NE(simulator.ErrorText().find(GetParam().complaint), std::string::npos)
        << simulator.ErrorText();
    EXPECT_TRUE(simulator.OutputLines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Options, DevsimBadOptionsTest,
    ::testing::Values(
        BadOptionsCase{"UnknownOption", {"--frobnicate"}, "not expected: --frobnicate"},
        BadOptionsCase{"MissingValue", {"--devices08"}, "--devices08: 1 required"},
        BadOptionsCase{
            "NegativeCount", {"--devices32", "-1"}, "--devices32: Value -1 not in range"},
        BadOptionsCase{"CountWithJunk", {"--devices08=5x"}, "--devices08: Value 5x"},
        BadOptionsCase{"ValueForAFlag", {"--burst=yes"}, "burst was given a disallowed flag"},
        BadOptionsCase{"NegativeApplyDelay", {"--apply-delay", "-5"}, "--apply-delay: Value -5"},
        BadOptionsCase{"ShortMac", {"--first-mac", "02:00:00:00:00"}, "--first-mac: wants"},
        BadOptionsCase{"BadAddress", {"--first-ip", "10.213.1"}, "--first-ip: wants"},
        BadOptionsCase{"AddressesRunOut",
                       {"--first-ip", "255.255.255.250", "--devices08", "4", "--devices32", "4"},
                       "too few addresses for 8 devices"},
        BadOptionsCase{"BurstWithJitter", {"--burst", "--jitter", "10"}, "exclude each other"},
        BadOptionsCase{"UnknownMalformedKind", {"--malformed", "short,bogus"}, "'bogus'"},
        BadOptionsCase{"PasswordTooLong", {"--password", "sixteen-letters!"}, "at most 15"},
        BadOptionsCase{"ZeroExitAfter", {"--exit-after", "0"}, "--exit-after: wants"}),
    [](const auto& info) { return info.param.name; });

class DevsimRunTest : public PrivateNetworkTest {};

// Answered at once: options after them are not read.
TEST_F(DevsimRunTest, HelpAndVersionExitZeroWithTheirKeyLine) {
    const struct {
        const char* argument;
        std::string line;
    } cases[] = {{"--help", "Usage: kestrelink-devsim [OPTIONS]"},
                 {"--version", "kestrelink-devsim " + std::string(kVersion)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        ChildProcess simulator(KESTRELINK_DEVSIM_PATH, {c.argument, "--frobnicate"});
        EXPECT_EQ(simulator.WaitForExit(kE2eWait), 0);
        const auto lines = simulator.OutputLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end());
    }
}

TEST_F(DevsimRunTest, EndsByItselfAfterExitAfter) {
    ChildProcess simulator(KESTRELINK_DEVSIM_PATH, {"--exit-after", "0.2"});
    ASSERT_TRUE(simulator.WaitForLine("listening", kE2eWait));
    EXPECT_EQ(simulator.WaitForExit(kE2eWait), 0);
}

TEST_F(DevsimRunTest, StopSignalsEndItCleanly) {
    for (const int stopSignal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(stopSignal);
        ChildProcess simulator(KESTRELINK_DEVSIM_PATH, {"--jitter", "1000"});
        ASSERT_TRUE(simulator.WaitForLine("listening", kE2eWait));
        simulator.Signal(stopSignal);
        EXPECT_EQ(simulator.WaitForExit(kE2eWait), 0);
    }
}

struct GuardCase {
    const char* name;
    std::vector<std::string> extraArguments;
    bool runs;
};

void PrintTo(const GuardCase& c, std::ostream* os) {
    *os << c.name;
}

class DevsimGuardTest : public PrivateNetworkTest,
                        public ::testing::WithParamInterface<GuardCase> {};

constexpr int kNoNamespace = 97;

// A throwaway namespace whose only interface, down and without an address, is named like a real
// one: the simulator must take it for a real network.
TEST_P(DevsimGuardTest, ForeignInterfaceStopsTheSimulatorUnlessAllowed) {
    std::vector<std::string> arguments = {
        "--net",
        "sh",
        "-c",
        "ip link add eth7 type veth peer name kl7 2>/dev/null || exit " +
            std::to_string(kNoNamespace) + "; exec \"$0\" \"$@\"",
        KESTRELINK_DEVSIM_PATH,
        "--exit-after",
        "0.2"};
    arguments.insert(arguments.end(), GetParam().extraArguments.begin(),
                     GetParam().extraArguments.end());
    ChildProcess simulator("unshare", arguments);
    const auto status = simulator.WaitForExit(kE2eWait);
    ASSERT_TRUE(status);
    if (*status == kNoNamespace) {
        GTEST_SKIP() << "cannot make a network namespace here";
    }
    if (GetParam().runs) {
        EXPECT_EQ(*status, 0) << simulator.ErrorText();
        EXPECT_FALSE(simulator.OutputLines().empty());
    } else {
        EXPECT_EQ(*status, 3);
        EXPECT_NE(simulator.ErrorText().find("interface 'eth7'"), std::string::npos)
            << simulator.ErrorText();
        EXPECT_TRUE(simulator.OutputLines().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Guard, DevsimGuardTest,
    ::testing::Values(GuardCase{"Refuses", {}, false},
                      GuardCase{"AllowedExplicitly", {"--allow-real-network"}, true}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink::testing
