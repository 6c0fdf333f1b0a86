#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/cli_fixture.h"

namespace kestrelink::testing {
namespace {

constexpr SimulatedDevices kDevices{2, 2};
constexpr const char* kHeader = "mac,ip,mask,gateway,dns,name,password,dhcp\n";

std::string MacOf(int number) {
    return kDevices.ExpectedRow(number)[kColumnMac];
}

class CliPlanTest : public CliTest {};

TEST_F(CliPlanTest, ThreeDevicesConfiguredAndSeenByALaterDiscover) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--dhcp-pool", "10.213.9.9"}));
    const std::string plan = WriteFile(
        "three.csv", std::string(kHeader) + MacOf(0) +
                         ",10.213.7.50,255.255.255.0,10.213.7.1,,,,no\n" + MacOf(2) +
                         ",10.213.7.60,255.255.255.0,10.213.7.1,10.213.7.2,\"hall 3, east\",,\n" +
                         MacOf(3) + ",,,,,leased,,yes\n");
    const CliRun run = RunCli({"configure", "--plan", plan, "--verify"});
    ASSERT_EQ(run.status, 0) << run.errorText;
    EXPECT_EQ(run.output,
              (std::vector<std::string>{
                  "configured " + MacOf(0) + ": answers at 10.213.7.50 as 'unit-1'",
                  "configured " + MacOf(2) + ": answers at 10.213.7.60 as 'hall 3, east'",
                  "configured " + MacOf(3) + ": answers at 10.213.9.9 as 'leased'",
                  "3 configured, 0 failed"}));

    const CliRun discover = RunCli({"discover", "--wait", "500", "--format", "csv"});
    ASSERT_EQ(discover.status, 0) << discover.errorText;
    const std::vector<std::string> expected = {
        "ip,mac,product,name,version,serial,family,interface,conflict",
        "10.213.1.2," + MacOf(1) + ",DevSim 08,unit-2,1.0,70001,08bits,,false",
        "10.213.7.50," + MacOf(0) + ",DevSim 08,unit-1,1.0,70000,08bits,,false",
        "10.213.7.60," + MacOf(2) + ",DevSim 32,\"hall 3, east\",1.0,70002,32bits,,false",
        "10.213.9.9," + MacOf(3) + ",DevSim 32,leased,1.0,70003,32bits,,false"};
    EXPECT_EQ(discover.output, expected);
}

TEST_F(CliPlanTest, DryRunSaysWhatWouldBeSentAndSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices));
    const std::string plan = WriteFile("dry.csv", std::string(kHeader) + MacOf(1) +
                                                      ",10.213.7.51,255.255.0.0,10.213.0.1,,x,,\n" +
                                                      MacOf(2) + ",,,,,,pw,yes\n");
    const CliRun run = RunCli({"configure", "--plan", plan, "--dry-run", "--wait", "500"});
    EXPECT_EQ(run.status, 0) << run.errorText;
    EXPECT_EQ(run.output, (std::vector<std::string>{
                              "would send 08bits request to " + MacOf(1) +
                                  ": ip=10.213.7.51 mask=255.255.0.0 gateway=10.213.0.1",
                              "would send 32bits request to " + MacOf(2) + ": dhcp name=unit-3"}));
    EXPECT_TRUE(RequestsSeen().empty());
}

struct RefusedPlan {
    const char* name;
    std::string rows;
    int status;
    std::string complaint;  // after "kestrelink-cli: FILE:"
};

void PrintTo(const RefusedPlan& c, std::ostream* os) {
    *os << c.name;
}

class CliPlanRefusalTest : public CliTest, public ::testing::WithParamInterface<RefusedPlan> {};

TEST_P(CliPlanRefusalTest, RefusedBeforeAnythingIsSent) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices));
    const std::string plan = WriteFile("refused.csv", kHeader + GetParam().rows);
    const CliRun run = RunCli({"configure", "--plan", plan, "--wait", "500"});
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_TRUE(run.output.empty());
    EXPECT_EQ(run.errorText, "kestrelink-cli: " + plan + ":" + GetParam().complaint + "\n");
    EXPECT_TRUE(RequestsSeen().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Plans, CliPlanRefusalTest,
    ::testing::Values(
        RefusedPlan{"DuplicateIp",
                    MacOf(0) + ",10.213.7.50,255.255.255.0,10.213.7.1,,,,\n" + MacOf(2) +
                        ",10.213.7.50,255.255.255.0,10.213.7.1,,,,\n",
                    2, "3: ip 10.213.7.50 is planned on line 2 already"},
        RefusedPlan{
            "IpOfADeviceLeftOut", MacOf(0) + ",10.213.1.2,255.255.255.0,10.213.1.1,,,,\n", 2,
            "2: ip 10.213.1.2 is in use by " + MacOf(1) + " ('unit-2'), which the plan leaves out"},
        RefusedPlan{"DnsFor08bits",
                    MacOf(2) + ",,,,,,,yes\n" + MacOf(1) +
                        ",10.213.7.51,255.255.255.0,10.213.7.1,10.213.7.2,,,\n",
                    2, "3: dns cannot go to " + MacOf(1) + ": an 08bits request has no DNS field"},
        RefusedPlan{"MacThatDoesNotAnswer", MacOf(2) + ",,,,,,,yes\n02:00:00:00:00:07,,,,,,,yes\n",
                    1, "3: no device with MAC 02:00:00:00:00:07 answered within 500 ms"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink::testing
