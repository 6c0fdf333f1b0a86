#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/cli_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr SimulatedDevices kDevices{2, 2};
constexpr int kTarget08 = 1;
constexpr int kTarget32 = 3;
constexpr const char* kDhcpPool = "10.213.9.9";

std::string MacOf(int number) {
    return kDevices.ExpectedRow(number)[kColumnMac];
}

std::vector<std::string> Arguments(int target, std::vector<std::string> settings) {
    std::vector<std::string> arguments = {"configure", MacOf(target)};
    arguments.insert(arguments.end(), settings.begin(), settings.end());
    return arguments;
}

struct ConfigureCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string said;     // the program's one line of output
    std::string applied;  // the simulator's report
};

void PrintTo(const ConfigureCase& c, std::ostream* os) {
    *os << c.name;
}

class CliConfigureTest : public CliTest, public ::testing::WithParamInterface<ConfigureCase> {};

TEST_P(CliConfigureTest, OneRequestThatTheDeviceApplies) {
    const ConfigureCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--dhcp-pool", kDhcpPool}));
    const CliRun run = RunCli(c.arguments);
    EXPECT_EQ(run.status, 0) << run.errorText;
    EXPECT_EQ(run.output, std::vector<std::string>{c.said});
    EXPECT_EQ(run.errorText, "");
    EXPECT_EQ(RequestsSeen(), std::vector<std::string>{c.applied});
}

INSTANTIATE_TEST_SUITE_P(
    Requests, CliConfigureTest,
    ::testing::Values(
        ConfigureCase{"Static32WithDnsVerified",
                      Arguments(kTarget32, {"--ip", "10.213.7.60", "--mask", "255.255.255.0",
                                            "--gateway", "10.213.7.1", "--dns", "10.213.7.2",
                                            "--name", "renamed-32", "--verify"}),
                      "configured " + MacOf(kTarget32) + ": answers at 10.213.7.60 as 'renamed-32'",
                      "applied 32bits " + MacOf(kTarget32) +
                          " ip=10.213.7.60 mask=255.255.255.0 gateway=10.213.7.1 dns=10.213.7.2 "
                          "dhcp=no name=renamed-32"},
        // An 08bits request carries no name: the device keeps its own.
        ConfigureCase{"Dhcp08Verified", Arguments(kTarget08, {"--dhcp", "--verify"}),
                      "configured " + MacOf(kTarget08) + ": answers at 10.213.9.9 as 'unit-2'",
                      "applied 08bits " + MacOf(kTarget08) +
                          " ip=10.213.9.9 mask=255.255.255.0 gateway=10.213.9.1 dns=10.213.9.1 "
                          "dhcp=yes name=unit-2"},
        // Without --name a 32bits device is sent its own given name.
        ConfigureCase{"Dhcp32KeepsItsName", Arguments(kTarget32, {"--dhcp"}),
                      "sent 32bits request to " + MacOf(kTarget32) + ": dhcp name=unit-4",
                      "applied 32bits " + MacOf(kTarget32) +
                          " ip=10.213.9.9 mask=255.255.255.0 gateway=10.213.9.1 dns=10.213.9.1 "
                          "dhcp=yes name=unit-4"}),
    [](const auto& info) { return info.param.name; });

class CliVerifyTest : public CliTest {};

TEST_F(CliVerifyTest, WrongPasswordFailsVerificationAndSaysWhatWasSeen) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--password", "s3cret"}));
    const CliRun run = RunCli(
        Arguments(kTarget32, {"--ip", "10.213.8.70", "--mask", "255.255.255.0", "--gateway",
                              "10.213.8.1", "--password", "secret", "--verify", "--wait", "1200"}));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.output.empty());
    EXPECT_EQ(run.errorText, "kestrelink-cli: " + MacOf(kTarget32) +
                                 ": not confirmed within 1200 ms; it answers at 10.213.1.4 as "
                                 "'unit-4'\n");
    EXPECT_EQ(RequestsSeen(),
              std::vector<std::string>{"refused 32bits " + MacOf(kTarget32) + " wrong password"});
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string complaint;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class CliConfigureRefusalTest : public CliTest,
                                public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(CliConfigureRefusalTest, NothingIsSentToTheDevice) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices));
    const CliRun run = RunCli(GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_TRUE(run.output.empty());
    EXPECT_EQ(run.errorText, "kestrelink-cli: " + GetParam().complaint + "\n");
    EXPECT_TRUE(RequestsSeen().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliConfigureRefusalTest,
    ::testing::Values(
        RefusalCase{
            "DnsFor08bits",
            Arguments(kTarget08, {"--ip", "10.213.7.50", "--mask", "255.255.255.0", "--gateway",
                                  "10.213.7.1", "--dns", "10.213.7.2"}),
            2, "--dns cannot go to " + MacOf(kTarget08) + ": an 08bits request has no DNS field"},
        RefusalCase{"MacThatDoesNotAnswer",
                    {"configure", "02:00:00:00:00:07", "--dhcp", "--wait", "300"},
                    1,
                    "no device with MAC 02:00:00:00:00:07 answered within 300 ms"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink::testing
