#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/cli_fixture.h"

namespace kestrelink::testing {
namespace {

// Given names that would turn the terminal's text red and clear its screen.
constexpr const char* kHostilePrefix = "\x1B[31m\x1B[2J";
constexpr SimulatedDevices kDevices{2, 1};

std::string MacOf(int number) {
    return kDevices.ExpectedRow(number)[kColumnMac];
}

class CliOutputTest : public CliTest {
protected:
    void StartHostileDevices() {
        std::vector<std::string> arguments = kDevices.Arguments();
        const auto prefix = std::find(arguments.begin(), arguments.end(), "--name-prefix");
        ASSERT_NE(prefix, arguments.end());
        *std::next(prefix) = kHostilePrefix;
        m_simulator = std::make_unique<ChildProcess>(KESTRELINK_DEVSIM_PATH, arguments);
        ASSERT_TRUE(m_simulator->WaitForLine("listening", kE2eWait)) << m_simulator->ErrorText();
    }

    // The program may end before the simulator has reported the probes that it answered, and
    // RequestsSeen counts on every earlier probe being in.
    void WaitForProbePairs(std::size_t count) {
        for (const char* probe : {"probe 08bits", "probe 32bits"}) {
            EXPECT_EQ(m_simulator->WaitForLines(probe, count, kE2eWait).size(), count) << probe;
        }
    }
};

TEST_F(CliOutputTest, AListThatCannotBeWrittenIsAFailure) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices));
    ChildProcess cli("/bin/sh",
                     {"-c", "exec \"$0\" discover --expect 3 >/dev/full", KESTRELINK_CLI_PATH});
    const auto status = cli.WaitForExit(kE2eWait * 2);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 1);
    EXPECT_EQ(cli.ErrorText(),
              "kestrelink-cli: cannot write to standard output: No space left on device\n");
}

// Two devices on one address both drop out of reach; --force is for the user who knows better,
// and then the request goes out as given.
TEST_F(CliOutputTest, AnAddressAnotherDeviceHoldsIsRefusedUnlessForced) {
    ASSERT_NO_FATAL_FAILURE(StartHostileDevices());
    const std::vector<std::string> arguments = {"configure",  MacOf(0),      "--ip",
                                                "10.213.1.2", "--mask",      "255.255.255.0",
                                                "--gateway",  "10.213.1.254"};
    const CliRun refused = RunCli(arguments);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.errorText, "kestrelink-cli: --ip 10.213.1.2 is in use by " + MacOf(1) +
                                     " ('\\x1b[31m\\x1b[2J2'); --force sends it anyway\n");
    WaitForProbePairs(1);
    EXPECT_EQ(RequestsSeen(), std::vector<std::string>{});

    std::vector<std::string> forced = arguments;
    forced.push_back("--force");
    const CliRun sent = RunCli(forced);
    EXPECT_EQ(sent.status, 0) << sent.errorText;
    WaitForProbePairs(3);  // the refused run's, the first RequestsSeen's and this run's
    EXPECT_EQ(RequestsSeen(),
              std::vector<std::string>{"applied 08bits " + MacOf(0) +
                                       " ip=10.213.1.2 mask=255.255.255.0 gateway=10.213.1.254 "
                                       "dns=10.213.1.1 dhcp=no name=\x1B[31m\x1B[2J1"});
}

}  // namespace
}  // namespace kestrelink::testing
