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

TEST_F(CliOutputTest, DeviceNamesReachTheTerminalEscaped) {
    ASSERT_NO_FATAL_FAILURE(StartHostileDevices());
    const CliRun run = RunCli({"discover", "--expect", "3"});
    ASSERT_EQ(run.status, 0) << run.errorText;
    ASSERT_EQ(run.output.size(), 4u);
    EXPECT_NE(run.output[2].find(" \\x1b[31m\\x1b[2J2 "), std::string::npos) << run.output[2];
    for (const std::string& line : run.output) {
        EXPECT_EQ(line.find('\x1B'), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace kestrelink::testing
