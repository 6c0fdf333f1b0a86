#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <regex>
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

// The record's text with each time written as TIME, once it has the form of one.
std::string RecordWithoutTimes(const std::string& path) {
    std::ifstream file(path);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    return std::regex_replace(text, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)"),
                              "TIME");
}

TEST_F(CliPlanTest, ThreeDevicesConfiguredAndSeenByALaterDiscover) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--dhcp-pool", "10.213.9.9"}));
    const std::string plan = WriteFile(
        "three.csv", std::string(kHeader) + MacOf(0) +
                         ",10.213.7.50,255.255.255.0,10.213.7.1,,,,no\n" + MacOf(2) +
                         ",10.213.7.60,255.255.255.0,10.213.7.1,10.213.7.2,\"hall 3, east\",,\n" +
                         MacOf(3) + ",,,,,leased,,yes\n");
    const CliRun run = RunCli({"configure", "--plan", plan, "--verify", "--wait", kPatientWait});
    ASSERT_EQ(run.status, 0) << run.errorText;
    // A device's line comes when its answer does, so the devices may come in any order.
    std::vector<std::string> lines = run.output;
    ASSERT_FALSE(lines.empty());
    std::sort(lines.begin(), lines.end() - 1);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "configured " + MacOf(0) + ": answers at 10.213.7.50 as 'unit-1'",
                         "configured " + MacOf(2) + ": answers at 10.213.7.60 as 'hall 3, east'",
                         "configured " + MacOf(3) + ": answers at 10.213.9.9 as 'leased'",
                         "3 configured, 0 not confirmable, 0 failed"}));

    const CliRun discover = RunCli({"discover", "--wait", kPatientWait, "--format", "csv"});
    ASSERT_EQ(discover.status, 0) << discover.errorText;
    const std::vector<std::string> expected = {
        "ip,mac,product,name,version,serial,family,interface,conflict,outside",
        "10.213.1.2," + MacOf(1) + ",DevSim 08,unit-2,1.0,70001,08bits,,false,false",
        "10.213.7.50," + MacOf(0) + ",DevSim 08,unit-1,1.0,70000,08bits,,false,false",
        "10.213.7.60," + MacOf(2) + ",DevSim 32,\"hall 3, east\",1.0,70002,32bits,,false,false",
        "10.213.9.9," + MacOf(3) + ",DevSim 32,leased,1.0,70003,32bits,,false,false"};
    EXPECT_EQ(discover.output, expected);
}

// Device 3 takes the address that device 1 holds until it has taken its own new one; the
// simulator's devices take 300 ms to apply a request.
TEST_F(CliPlanTest, AMoveOntoAHeldAddressWaitsUntilTheHolderHasLeftIt) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices, {"--apply-delay", "300"}));
    const std::string plan =
        WriteFile("moves.csv", std::string(kHeader) + MacOf(2) +
                                   ",10.213.1.1,255.255.255.0,10.213.1.254,,,,\n" + MacOf(0) +
                                   ",10.213.7.1,255.255.255.0,10.213.7.254,,,,\n");
    const std::string record = WriteFile("record.csv", "an older record\n");
    const CliRun run = RunCli(
        {"configure", "--plan", plan, "--verify", "--wait", kPatientWait, "--record", record});
    ASSERT_EQ(run.status, 0) << run.errorText;
    EXPECT_EQ(RecordWithoutTimes(record),
              "mac,serial,product,family,old_ip,new_ip,old_name,new_name,mask,gateway,dns,dhcp,"
              "requests,outcome,reason,sent_at,confirmed_at\n" +
                  MacOf(2) +
                  ",70002,DevSim 32,32bits,10.213.1.3,10.213.1.1,unit-3,unit-3,255.255.255.0,"
                  "10.213.1.254,0.0.0.0,no,1,configured,answers at 10.213.1.1 as 'unit-3',TIME,"
                  "TIME\n" +
                  MacOf(0) +
                  ",70000,DevSim 08,08bits,10.213.1.1,10.213.7.1,unit-1,,255.255.255.0,"
                  "10.213.7.254,,no,1,configured,answers at 10.213.7.1 as 'unit-1',TIME,TIME\n");
    EXPECT_EQ(run.output, (std::vector<std::string>{
                              "configured " + MacOf(0) + ": answers at 10.213.7.1 as 'unit-1'",
                              "configured " + MacOf(2) + ": answers at 10.213.1.1 as 'unit-3'",
                              "2 configured, 0 not confirmable, 0 failed"}));
    EXPECT_EQ(run.errorText, "") << "no progress line where standard error is no terminal";
    const auto applied = m_simulator->WaitForLines("applied", 2, kE2eWait);
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_TRUE(applied[0].starts_with("applied 08bits " + MacOf(0))) << applied[0];
}

struct PlanThatSendsNothing {
    const char* name;
    std::string rows;
    std::vector<std::string> extraArguments;
    int status;
    std::vector<std::string> output;
    std::string complaint;  // after "kestrelink-cli: FILE:"
};

void PrintTo(const PlanThatSendsNothing& c, std::ostream* os) {
    *os << c.name;
}

class CliPlanCheckTest : public CliTest,
                         public ::testing::WithParamInterface<PlanThatSendsNothing> {};

// Refused plans are refused before anything is sent; a dry run only says what it would send.
TEST_P(CliPlanCheckTest, NothingReachesTheDevices) {
    const PlanThatSendsNothing& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kDevices));
    const std::string plan = WriteFile("checked.csv", kHeader + c.rows);
    std::vector<std::string> arguments = {"configure", "--plan", plan, "--wait", kPatientWait};
    arguments.insert(arguments.end(), c.extraArguments.begin(), c.extraArguments.end());
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.errorText,
              c.complaint.empty() ? "" : "kestrelink-cli: " + plan + ":" + c.complaint + "\n");
    EXPECT_TRUE(RequestsSeen().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Plans, CliPlanCheckTest,
    ::testing::Values(
        PlanThatSendsNothing{
            "DryRun",
            MacOf(1) + ",10.213.7.51,255.255.0.0,10.213.0.1,,,,\n" + MacOf(2) + ",,,,,,pw,yes\n",
            {"--dry-run"},
            0,
            {"would send 08bits request to " + MacOf(1) +
                 ": ip=10.213.7.51 mask=255.255.0.0 gateway=10.213.0.1",
             "would send 32bits request to " + MacOf(2) + ": dhcp name=unit-3"},
            ""},
        PlanThatSendsNothing{"DuplicateIp",
                             MacOf(0) + ",10.213.7.50,255.255.255.0,10.213.7.1,,,,\n" + MacOf(2) +
                                 ",10.213.7.50,255.255.255.0,10.213.7.1,,,,\n",
                             {},
                             2,
                             {},
                             "3: ip 10.213.7.50 is planned on line 2 already"},
        PlanThatSendsNothing{
            "IpOfADeviceLeftOut",
            MacOf(0) + ",10.213.1.2,255.255.255.0,10.213.1.1,,,,\n",
            {},
            2,
            {},
            "2: ip 10.213.1.2 is in use by " + MacOf(1) + " ('unit-2'), which the plan leaves out"},
        PlanThatSendsNothing{
            "NameFor08bits",
            MacOf(1) + ",,,,,hall-2,,yes\n",
            {},
            2,
            {},
            "2: name cannot go to " + MacOf(1) + ": an 08bits request has no name field"},
        PlanThatSendsNothing{"SwapRefusedEvenInADryRun",
                             MacOf(0) + ",10.213.1.2,255.255.255.0,10.213.1.254,,,,\n" + MacOf(1) +
                                 ",10.213.1.1,255.255.255.0,10.213.1.254,,,,\n",
                             {"--dry-run"},
                             2,
                             {},
                             " lines 2, 3 move their devices in a cycle, each onto the address "
                             "the next holds; send one to a free address first"},
        PlanThatSendsNothing{
            "MacThatDoesNotAnswer",
            MacOf(2) + ",,,,,,,yes\n02:00:00:00:00:07,,,,,,,yes\n",
            {},
            1,
            {},
            "3: no device with MAC 02:00:00:00:00:07 answered within " + kPatientWait + " ms"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kestrelink::testing
